#include "navigator/editor_lookup.h"

#include "base/text/text.h"
#include "navigator/editor_choice.h"
#include "navigator/editor_window.h"
#include "navigator/globals.h"
#include "navigator/prompt_mark.h"

namespace {

// How many visible windows match: with none or one, the window in front
// cannot change the choice.
int MatchingWindows() {
    EditorChoice<HWND> count(nullptr, 0, [](HWND) { return HWND{}; });
    EnumWindows(MatchEditorWindow, reinterpret_cast<LPARAM>(&count));
    return count.Offers();
}

} // namespace

void FindEditorWindow() {
    // While the activation that came with the editor's hotkey is still being
    // settled, or another start's prompt is taking the foreground, the
    // platform names no foreground window for a moment; choosing then could
    // take the wrong one of several editors. With one editor or none there
    // is nothing to choose, and the prompt is not held up.
    HWND foreground = GetForegroundWindow();
    if (!foreground && MatchingWindows() > 1) foreground = WaitForForegroundWindow();
    // Another start's prompt in front stands for the editor window it serves:
    // a second start from a hotkey pressed twice may look after the first
    // one's prompt has taken the foreground, and must find the same editor.
    if (HWND served = EditorOfPrompt(foreground)) foreground = served;
    DWORD front = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &front);
    // GW_OWNER, not GetAncestor(GA_ROOTOWNER): that follows GetParent, which
    // names the owner of a popup only, never of an owned overlapped window
    // such as an editor's tool window.
    EditorChoice<HWND> choice(foreground, front, [](HWND window) { return GetWindow(window, GW_OWNER); });
    EnumWindows(MatchEditorWindow, reinterpret_cast<LPARAM>(&choice));
    if (HWND chosen = choice.Chosen()) Navigator.EditorHandle = chosen;
}

BOOL CALLBACK MatchEditorWindow(HWND window, LPARAM value) {
    // A fresh buffer of spaces for every window: a title the platform cannot
    // read leaves spaces, which never match the prefix.
    LocalText title;
    {
        TextMark spaces;
        MakeSpaces(EDITOR_TITLE_BUFFER);
        spaces.AssignTo(title.var());
    }
    GetWindowTextW(window, title.get(), TextLength(title.get()));

    bool matches;
    {
        TextMark head;
        LeftPart(title.get(), TextLength(Navigator.TitlePrefix));
        matches = TextEquals(Navigator.TitlePrefix, head.text());
    }
    // Visibility is asked only of windows whose title matched.
    if (matches && IsWindowVisible(window)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        reinterpret_cast<EditorChoice<HWND>*>(value)->Offer(window, process);
    }
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
