#include "navigator/editor_lookup.h"

#include "navigator/globals.h"
#include "navigator/title_match.h"

void FindEditorWindow() {
    LPARAM scratch = 0; // passed on to the callback, which never reads it
    EnumWindows(MatchEditorWindow, reinterpret_cast<LPARAM>(&scratch));
}

BOOL CALLBACK MatchEditorWindow(HWND window, LPARAM) {
    // A fresh buffer of spaces for every window: a title the platform cannot
    // read leaves spaces, which never match the prefix.
    TextUnit title[EDITOR_TITLE_BUFFER + 1];
    for (int i = 0; i < EDITOR_TITLE_BUFFER; ++i) title[i] = L' ';
    title[EDITOR_TITLE_BUFFER] = 0;
    GetWindowTextW(window, title, EDITOR_TITLE_BUFFER);

    // Visibility is asked only of windows whose title matched.
    if (TitleHasPrefix(title, Navigator.TitlePrefix) && IsWindowVisible(window))
        Navigator.EditorHandle = window; // a later match replaces an earlier one
    return TRUE;
}

int64_t WindowRectValue(HWND window, int64_t side) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect); // leaves the rectangle untouched on failure
    switch (side) {
    case 0: return rect.left;
    case 1: return rect.top;
    case 2: return rect.right;
    case 3: return rect.bottom;
    default: return 0;
    }
}
