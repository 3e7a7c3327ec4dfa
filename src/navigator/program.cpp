#include "navigator/program.h"

#include "base/runtime/memory.h"
#include "base/runtime/process.h"
#include "base/system/command_line.h"
#include "base/system/system_library.h"
#include "base/text/text.h"
#include "navigator/caret_keys.h"
#include "navigator/editor_lookup.h"
#include "navigator/globals.h"
#include "navigator/line_map.h"
#include "navigator/prompt.h"
#include "navigator/prompt_claim.h"
#include "startup/runtime_order.h"

#include <cstring>

static_assert(PROMPT_FAILED_EXIT_CODE == START_FAILED_EXIT_CODE);

void RunLineNavigator() {
    // 0. Before anything can load a DLL by name: from the system folder only.
    LoadDllsFromSystemFolderOnly();

    // 1. Process set-up, before any runtime component.
    std::memset(&Navigator, 0, sizeof Navigator);
    ProcessInstance = GetModuleHandleW(nullptr);
    GeneralHeap = CreatePrivateHeap();

    // 2. Runtime start-up: the text area first, then the other components.
    StartTextArea();
    StartRuntime();
    AssignText(Navigator.TitlePrefix, EDITOR_TITLE_PREFIX);

    // 3. The program folder: the first argument after the program's name.
    {
        TextMark argument;
        ProgramArgument(0);
        argument.AssignTo(Navigator.ProgramFolder);
    }

    // 4-7. The tool's steps, each run once. A prompt that could not open
    // asked nobody for a line: no key goes out, and the exit code says so.
    // Another start's prompt for the same editor window, brought forward,
    // is that start's to answer: this one sends nothing and ends with 0.
    FindEditorWindow();
    switch (AskLineNumberOnce()) {
    case PromptOutcome::ANSWERED:
        ChooseDataFolder();
        TranslateLineNumber();
        SendCaretKeys();
        break;
    case PromptOutcome::NOT_OPENED: Navigator.ExitCode = PROMPT_FAILED_EXIT_CODE; break;
    case PromptOutcome::OPEN_ELSEWHERE: break;
    }

    // 8-9. Shutdown and exit.
    EndRuntime();
    EndTextArea(); // releases every text variable with the text heap
    DestroyPrivateHeap(GeneralHeap);
    ExitProcess(static_cast<UINT>(Navigator.ExitCode));
}
