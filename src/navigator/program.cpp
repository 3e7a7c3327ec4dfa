#include "navigator/program.h"

#include "base/runtime/process.h"
#include "base/runtime/startup.h"
#include "navigator/caret_keys.h"
#include "navigator/editor_lookup.h"
#include "navigator/globals.h"
#include "navigator/line_map.h"
#include "navigator/prompt.h"

#include <cstring>

void RunLineNavigator() {
    // 1. Process set-up, before any runtime component.
    std::memset(&Navigator, 0, sizeof Navigator);
    ProcessInstance = GetModuleHandleW(nullptr);
    GeneralHeap = HeapCreate(0, 4096, 0);

    // 2. Runtime start-up.
    StartRuntime();
    Navigator.TitlePrefix = EDITOR_TITLE_PREFIX;

    // 3. The program folder argument arrives with the command-line runtime.

    // 4-7. The tool's steps, each run once and in every case.
    FindEditorWindow();
    AskLineNumber();
    ChooseDataFolder();
    TranslateLineNumber();
    SendCaretKeys();

    // 8-9. Shutdown and exit.
    EndRuntime();
    HeapDestroy(GeneralHeap);
    ExitProcess(static_cast<UINT>(Navigator.ExitCode));
}
