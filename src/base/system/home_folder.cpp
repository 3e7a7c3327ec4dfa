// The user's profile folder, as a folder text ending in a backslash.
//
// shell32 and ole32 serve only this lookup, which runs after the prompt has
// closed: loading them here, not at start-up, takes their loading and
// initialisation out of the time before the prompt is ready for the first
// digit.
#include "base/system/home_folder.h"

#include "base/platform/handles.h"
#include "base/system/system_library.h"
#include "base/system/trace.h"
#include "base/text/text.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// The shell's functions, loaded on the first lookup and kept for the run.
struct ShellFunctions {
    SystemLibrary shell, ole;
    decltype(&SHGetFolderLocation) getFolderLocation = nullptr;
    decltype(&SHGetPathFromIDListW) getPathFromItemList = nullptr;
    decltype(&CoTaskMemFree) taskMemoryFree = nullptr;
    bool tried = false;
};
ShellFunctions shellFunctions;
const TextUnit* shellLibrary = L"shell32.dll";

// Only from the system folder (SystemLibrary): a shell32.dll or ole32.dll
// planted beside the program, or in the editor's current folder, must never
// be loaded. False when a library or one of its functions cannot be had.
bool LoadShellFunctions() {
    ShellFunctions& shell = shellFunctions;
    if (!shell.tried) {
        shell.tried = true;
        shell.shell = SystemLibrary(shellLibrary);
        shell.ole = SystemLibrary(L"ole32.dll");
        CALL_FAILED(shell.shell && shell.ole, "LoadLibraryExW(shell32.dll, ole32.dll)");
        shell.getFolderLocation = SYSTEM_FUNCTION(shell.shell.get(), SHGetFolderLocation);
        shell.getPathFromItemList = SYSTEM_FUNCTION(shell.shell.get(), SHGetPathFromIDListW);
        shell.taskMemoryFree = SYSTEM_FUNCTION(shell.ole.get(), CoTaskMemFree);
    }
    return shell.getFolderLocation && shell.getPathFromItemList && shell.taskMemoryFree;
}

// Shell item lists are the caller's to free with the task allocator.
void FreeItemList(PIDLIST_ABSOLUTE list) { shellFunctions.taskMemoryFree(list); }
using ItemList = UniqueHandle<NullHandleTraits<PIDLIST_ABSOLUTE, FreeItemList>>;

} // namespace

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

    if (LoadShellFunctions()) {
        PIDLIST_ABSOLUTE found = nullptr;
        const HRESULT result = shellFunctions.getFolderLocation(nullptr, CSIDL_PROFILE, nullptr, 0, &found);
        ItemList list(found); // whatever the result, a list handed out is ours to free
        if (!CALL_FAILED(result == S_OK && list, "SHGetFolderLocation") &&
            !CALL_FAILED(shellFunctions.getPathFromItemList(list.get(), out), "SHGetPathFromIDListW"))
            length = EndFolderPath(out, MAX_PATH);
    }

    out[length] = 0;
    GiveBackResult(MAX_PATH - length);
    return at;
}

void EndHomeFolder() { shellFunctions = ShellFunctions(); }

void UseShellLibrary(const TextUnit* name) {
    EndHomeFolder();
    shellLibrary = name;
}
