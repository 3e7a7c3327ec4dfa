#include "navigator/caret_keys.h"

#include "navigator/caret_plan.h"
#include "navigator/globals.h"

#include <windows.h>

void SendCaretKeys() {
    // Neither result is examined: a refused foreground change still sends the
    // keys, to whichever window has the keyboard then.
    SetForegroundWindow(Navigator.EditorHandle);
    PlanCaretKeys(Navigator.LoopCounter, Navigator.LineNumber, [](uint8_t key, uint32_t flags) {
        keybd_event(key, 0, flags, 0);
    });
}
