#include "startup/runtime_order.h"

#include "base/files/files.h"
#include "base/system/command_line.h"
#include "base/system/home_folder.h"
#include "ui/events/event_wait.h"
#include "ui/gadgets/gadgets.h"
#include "ui/menus/menus.h"
#include "ui/windows/app_windows.h"

// Components that nothing on the tool's road uses (imaging, display fonts,
// a second heap, display scaling) are left out; the order of the rest stands.
void StartRuntime() {
    StartEvents();
    StartFiles();
    StartWindows();
    StartGadgets();
    StartMenus();
    StartArguments();
}

// Windows close before the post window goes, so their last events still find
// the queue.
void EndRuntime() {
    EndGadgets();
    EndWindows();
    EndFiles();
    EndEvents();
    EndHomeFolder();
}
