#include "navigator/prompt.h"

#include "base/text/parse_integer.h"
#include "base/text/text.h"
#include "base/text/text_fold.h"
#include "navigator/editor_lookup.h"
#include "navigator/editor_window.h"
#include "navigator/globals.h"
#include "navigator/prompt_mark.h"
#include "ui/events/event_wait.h"
#include "ui/gadgets/gadgets.h"
#include "ui/menus/menus.h"
#include "ui/windows/app_windows.h"
#include "ui/windows/shortcuts.h"

static_assert(KEY_VALUE_RETURN == VK_RETURN);

namespace {

// The work area of the monitor nearest the editor, or of the primary monitor
// when there is no editor; without one, nothing limits the place.
ScreenArea WorkArea(HWND editor) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    HMONITOR nearest = editor ? MonitorFromWindow(editor, MONITOR_DEFAULTTONEAREST)
                              : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    // Not reached under Wine: with either MONITOR_DEFAULTTO flag its
    // MonitorFromWindow and MonitorFromPoint always name a monitor, also for
    // a window that is gone, and GetMonitorInfoW knows every monitor they
    // name. Windows may name none for an editor closed meanwhile, and a
    // monitor unplugged between the two calls has no information.
    if (!nearest || !GetMonitorInfoW(nearest, &monitor)) return {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    return {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
}

// The prompt's place beside the editor, moved onto the screen where needed.
PromptPlace PromptPlaceFor(HWND editor) {
    // A minimized window sits where nobody looks (Windows parks it at -32000,
    // -32000; Wine at the bottom edge), and the platform cannot always tell
    // another program's restored place (Wine cannot): the editor comes back
    // first, as the taskbar would bring it back, and is measured there.
    RestoreEditor(editor);
    const int64_t top = WindowRectValue(editor, 1);
    const int64_t left = WindowRectValue(editor, 0);
    const WindowPlan plan = PlanWindow(DEFAULT_WINDOW_FLAGS);
    RECT outer = {0, 0, PROMPT_WIDTH, PROMPT_HEIGHT};
    AdjustWindowRectEx(&outer, plan.style, FALSE, plan.exStyle);
    return PlacePrompt(left, top, WorkArea(editor), outer.right - outer.left, outer.bottom - outer.top);
}

// Whether the Return shortcut is in the prompt's table: put there each time
// the field takes the focus, taken out each time it loses it.
bool returnShortcutReady;
// Whether Return was pressed but its event could not be posted (the post
// window's queue full or gone): the wait ends on it all the same, or the
// person's Return would do nothing.
bool returnUnposted;

// The prompt's window goes without the mark that a later start for the same
// editor window looks for.
void ClosePrompt() {
    UnmarkPrompt(WindowHandle(PROMPT_WINDOW));
    CloseAppWindow(PROMPT_WINDOW);
}

} // namespace

bool AskLineNumber() {
    const PromptPlace at = PromptPlaceFor(Navigator.EditorHandle);
    // Opened hidden and marked before it shows: it takes the foreground as it
    // shows, and a second start that looks up its editor then must already
    // see whose prompt it is.
    if (!OpenAppWindow(PROMPT_WINDOW, at.x, at.y, PROMPT_WIDTH, PROMPT_HEIGHT, TXT("Window"),
                       DEFAULT_WINDOW_FLAGS | OPEN_HIDDEN))
        return false;
    MarkPrompt(WindowHandle(PROMPT_WINDOW), Navigator.EditorHandle);
    ShowWindow(WindowHandle(PROMPT_WINDOW), SW_SHOWNORMAL);
    returnShortcutReady = false;
    returnUnposted = false;
    CreateLabel(PROMPT_LABEL, 10, 10, 100, 20, TXT("Enter line no."), 0);
    CreateTextField(PROMPT_FIELD, 10, 30, 100, 20, TXT(""), 0);
    // The menu is never shown; it gives the Return item a window to belong to.
    // Never released: menus have no end step, and are left to the process's exit.
    const bool menu = CreateMenuBar(PROMPT_MENU, WindowHandle(PROMPT_WINDOW)) != 0;
    BindEventHandler(EVENT_GADGET, TrackFieldFocus);
    const bool returnItem = menu && BindMenuItemHandler(PROMPT_MENU, RETURN_SHORTCUT_ITEM, PostReturnKey);
    // The focus event installs the Return shortcut before the wait begins; a
    // field that was not made takes no focus.
    FocusGadget(PROMPT_FIELD);
    // Out of window handles or desktop heap, the window may open while its
    // field or its Return shortcut cannot be made: a prompt with nothing to
    // type into, whose only way out would send the caret to line 1. That is
    // no prompt at all. Only the field's focus event installs the shortcut,
    // so a ready shortcut also tells that the field was made and took the
    // focus.
    if (!returnItem || !returnShortcutReady) {
        ClosePrompt();
        return false;
    }

    // The type test looks at the event the previous WaitEvent made current.
    for (;;) {
        if (CurrentEventType() == EVENT_TYPE_RETURN_KEY || returnUnposted) break;
        if (WaitEvent() == EVENT_CLOSE_WINDOW) break;
    }
    {
        TextMark mark; // the field's text goes back to the text area
        // Digits typed on another script's keyboard or through an input
        // method reach the field as they were typed; the reader knows ASCII.
        TextUnit* typed = TextAt(GadgetText(PROMPT_FIELD));
        FoldTypedText(typed);
        Navigator.LineNumber = ParseInteger(typed);
    }
    // An editor minimized while the prompt was open comes back while the
    // prompt still has the keyboard, so the prompt's closing activates it as
    // a normal window. Wine activates a minimized window with the focus on
    // its frame (a child cannot take the focus inside a minimized window), and
    // its restore then sets the focus to that frame again: a window that
    // already has the focus is sent no WM_SETFOCUS, so the editor never moves
    // it to its text and no key reaches the text.
    RestoreEditor(Navigator.EditorHandle);
    ClosePrompt();
    return true;
}

void TrackFieldFocus() {
    const int64_t gadget = CurrentEventGadget();
    if (!GadgetExists(gadget) || GadgetKind(gadget) != GADGET_KIND_STRING) return;
    const int64_t type = CurrentEventType();
    if (type == EVENT_TYPE_FOCUS) {
        returnShortcutReady = AddShortcut(PROMPT_WINDOW, KEY_VALUE_RETURN, RETURN_SHORTCUT_ITEM) != nullptr;
    } else if (type == EVENT_TYPE_LOST_FOCUS) {
        RemoveShortcut(PROMPT_WINDOW, KEY_VALUE_RETURN);
        returnShortcutReady = false;
    }
}

void PostReturnKey() {
    const int64_t field = FocusedGadget();
    const int64_t window = ForegroundAppWindow();
    if (!PostAppEvent(EVENT_GADGET, window, field, EVENT_TYPE_RETURN_KEY, 0)) returnUnposted = true;
}
