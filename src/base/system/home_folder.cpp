// The user's profile folder, as a folder text ending in a backslash.
#include "base/system/home_folder.h"

#include "base/system/handles.h"
#include "base/system/trace.h"
#include "base/text/text.h"

#include <windows.h>
#include <shlobj.h>

int32_t EndFolderPath(TextUnit* path, int32_t room) {
    int32_t length = 0;
    // Bounded: a shell that leaves the buffer unterminated must not walk us
    // past it.
    while (length < room - 1 && path[length] != 0) ++length;
    if (length > 0 && path[length - 1] != L'\\') path[length++] = L'\\';
    path[length] = 0;
    return length;
}

int32_t HomeFolder() {
    // SHGetPathFromIDListW takes no buffer size and assumes MAX_PATH units, so
    // that much is reserved; it writes at most MAX_PATH - 1 units and a
    // terminator, which leaves room for the backslash, and the area always
    // holds a terminator beyond a reservation.
    const int32_t at = TextAreaEnd();
    TextUnit* out = ReserveResult(MAX_PATH, at);
    int32_t length = 0;

    PIDLIST_ABSOLUTE found = nullptr;
    const HRESULT result = SHGetFolderLocation(nullptr, CSIDL_PROFILE, nullptr, 0, &found);
    ItemList list(found); // whatever the result, a list handed out is ours to free
    if (result == S_OK && list) {
        if (SHGetPathFromIDListW(list.get(), out)) length = EndFolderPath(out, MAX_PATH);
        else TRACE_FAILURE("SHGetPathFromIDListW");
    } else {
        TRACE_FAILURE("SHGetFolderLocation");
    }

    out[length] = 0;
    GiveBackResult(MAX_PATH - length);
    return at;
}
