#include "navigator/prompt.h"

#include "base/text/text.h"
#include "navigator/editor_lookup.h"
#include "navigator/globals.h"
#include "ui/events/events.h"
#include "ui/gadgets/gadgets.h"
#include "ui/menus/menus.h"
#include "ui/windows/app_windows.h"

void AskLineNumber() {
    const int64_t y = WindowRectValue(Navigator.EditorHandle, 1) + PROMPT_OFFSET_Y;
    const int64_t x = WindowRectValue(Navigator.EditorHandle, 0) + PROMPT_OFFSET_X;
    if (!OpenAppWindow(PROMPT_WINDOW, static_cast<int32_t>(x), static_cast<int32_t>(y), PROMPT_WIDTH,
                       PROMPT_HEIGHT, TXT("Window"), DEFAULT_WINDOW_FLAGS))
        return;
    CreateLabel(PROMPT_LABEL, 10, 10, 100, 20, TXT("Enter line no."), 0);
    CreateTextField(PROMPT_FIELD, 10, 30, 100, 20, TXT(""), 0);
    // The menu is never shown; it gives the Return item a window to belong to.
    CreateMenuBar(PROMPT_MENU, WindowHandle(PROMPT_WINDOW));
    BindEventHandler(EVENT_GADGET, TrackFieldFocus);
    BindMenuItemHandler(PROMPT_MENU, RETURN_SHORTCUT_ITEM, PostReturnKey);
    // The focus event installs the Return shortcut before the wait begins.
    FocusGadget(PROMPT_FIELD);

    // The type test looks at the event the previous WaitEvent made current.
    for (;;) {
        if (CurrentEventType() == EVENT_TYPE_RETURN_KEY) break;
        if (WaitEvent() == EVENT_CLOSE_WINDOW) break;
    }
    {
        TextMark text;
        GadgetText(PROMPT_FIELD);
        Navigator.LineNumber = ParseInteger(text.text());
    }
    CloseAppWindow(PROMPT_WINDOW);
}

void TrackFieldFocus() {
    const int64_t gadget = CurrentEventGadget();
    if (!GadgetExists(gadget) || GadgetKind(gadget) != GADGET_KIND_STRING) return;
    const int64_t type = CurrentEventType();
    if (type == EVENT_TYPE_FOCUS) AddShortcut(PROMPT_WINDOW, KEY_VALUE_RETURN, RETURN_SHORTCUT_ITEM);
    else if (type == EVENT_TYPE_LOST_FOCUS) RemoveShortcut(PROMPT_WINDOW, KEY_VALUE_RETURN);
}

void PostReturnKey() {
    const int64_t field = FocusedGadget();
    const int64_t window = ForegroundAppWindow();
    PostAppEvent(EVENT_GADGET, window, field, EVENT_TYPE_RETURN_KEY, 0);
}
