#include "launch_runs.h"

#include "driver.h"
#include "ratio_interval.h"

#include "input.h"
#include "processes.h"
#include "text_helpers.h"
#include "whole_file.h"

#include "base/system/system_wait.h"
#include "navigator/caret_plan.h"

#include <cstdio>
#include <psapi.h>

namespace {

// Thread `threadId` has the keyboard focus in the Edit field of its prompt
// window (of class `windowClass`), whether or not that is the foreground
// window yet. Observable from outside.
bool FocusInField(DWORD threadId, const wchar_t* windowClass, GUITHREADINFO& info) {
    info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId, &info) || !info.hwndFocus || !info.hwndActive) return false;
    if (GetParent(info.hwndFocus) != info.hwndActive) return false;
    wchar_t name[64];
    return GetClassNameW(info.hwndFocus, name, 64) && lstrcmpiW(name, L"Edit") == 0 &&
           GetClassNameW(info.hwndActive, name, 64) && lstrcmpW(name, windowClass) == 0;
}

// The prompt of thread `threadId` is ready: besides the focus in its field,
// its window is visible and the foreground window.
bool PromptReady(DWORD threadId, const wchar_t* windowClass, HWND* field) {
    GUITHREADINFO info;
    if (!FocusInField(threadId, windowClass, info)) return false;
    if (GetForegroundWindow() != info.hwndActive || !IsWindowVisible(info.hwndActive)) return false;
    *field = info.hwndFocus;
    return true;
}

// Whether `process` has a module of that base name loaded.
bool ModuleLoaded(HANDLE process, const wchar_t* baseName) {
    HMODULE modules[512];
    DWORD needed = 0;
    if (!EnumProcessModulesEx(process, modules, sizeof modules, &needed, LIST_MODULES_ALL)) return false;
    const DWORD count = needed / sizeof(HMODULE) < 512 ? needed / sizeof(HMODULE) : 512;
    for (DWORD i = 0; i < count; ++i) {
        wchar_t name[MAX_PATH];
        if (GetModuleBaseNameW(process, modules[i], name, MAX_PATH) && lstrcmpiW(name, baseName) == 0) return true;
    }
    return false;
}

double PeakWorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    return GetProcessMemoryInfo(process, &memory, sizeof memory) ? static_cast<double>(memory.PeakWorkingSetSize) : 0;
}

// Committed private memory, summed over the process's address space. The
// counters' PrivateUsage would say the same on Windows, but Wine reports 0
// there; walking the regions gives the same figure on both.
double PrivateBytes(HANDLE process) {
    double total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += static_cast<double>(region.RegionSize);
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total;
}

// One turn of a case: each program of `order` runs it once, in that order.
void RunTurn(const Case& c, size_t caseIndex, const std::vector<Side*>& order, const std::wstring& programFolder,
             EditorSink& editor, RoundCounts& counts) {
    for (Side* side : order) {
        const LONG keysBefore = editor.keys();
        if (c.intoEditor) editor.Show();
        const Run run = RunOnce(side->program, programFolder, side->launchOnly ? 1 : c.line);
        if (c.intoEditor) {
            editor.DrainAndHide();
            ++counts.editorRuns;
            counts.editorKeys += editor.keys() - keysBefore;
        } else {
            counts.keysTaken += run.keysTaken;
        }
        side->Take(run, caseIndex, c.line);
    }
}

} // namespace

Run RunOnce(const Program& program, const std::wstring& programFolder, long long line,
            const std::function<void()>& whileSending) {
    Run run;
    ChildProcess child;
    const auto stop = [&](const std::string& what) {
        child.Kill();
        Fail(std::string(program.name) + ": " + what);
    };
    const std::wstring commandLine = Quoted(program.path) + L" " + Quoted(programFolder);
    // The clock starts just before the attempt that starts the program: one
    // that Wine's loader refused (and StartProcess repeats) does not count.
    double started = 0;
    if (!StartProcess(commandLine, child, [&] { started = Now(); })) stop("cannot start");
    HWND field = nullptr;
    GUITHREADINFO info;
    const bool ready = WaitWithin(30000, LOOK_PAUSE_MS, [&] {
        if (run.focusMs == 0 && FocusInField(child.threadId, program.windowClass, info)) run.focusMs = Now() - started;
        return PromptReady(child.threadId, program.windowClass, &field);
    });
    if (!ready) stop("no ready prompt within 30 s");
    run.launchMs = Now() - started;
    if (run.focusMs == 0) run.focusMs = run.launchMs;

    const std::wstring typed = std::to_wstring(line);
    SendText(typed);
    if (!WaitWithin(10000, LOOK_PAUSE_MS, [&] { return FieldText(field) == typed; }))
        stop("the typed line never reached the field");

    run.peakWorkingSet = PeakWorkingSet(child.process.get());
    run.privateBytes = PrivateBytes(child.process.get());
    run.shellLoaded = ModuleLoaded(child.process.get(), L"shell32.dll");

    const double pressed = run.returnPressedAt = Now();
    SendKey(VK_RETURN);
    const DWORD timeout = static_cast<DWORD>(60000 + KeyEvents(line) / 5); // ~5 events/ms at worst
    if (whileSending) {
        // The wait on the process paces the calls and ends at the exit, so
        // the wait's own pause is none.
        const bool exited = WaitWithin(timeout, 0, [&] {
            if (WaitForSingleObject(child.process.get(), 5) != WAIT_TIMEOUT) return true;
            whileSending();
            return false;
        });
        if (!exited) stop("no exit after Return");
    } else if (WaitForSingleObject(child.process.get(), timeout) != WAIT_OBJECT_0) {
        stop("no exit after Return");
    }
    run.returnToExitMs = Now() - pressed;
    DWORD code = 1;
    GetExitCodeProcess(child.process.get(), &code);
    if (code != 0) stop("exit code " + std::to_string(code));
    // Nothing changes the foreground while the keys go out: a window in front
    // now was in front then, and took them.
    run.keysTaken = GetForegroundWindow() != nullptr;
    return run;
}

std::vector<Case> MakeCases(const Options& options) {
    if (options.onlyLaunch > 0) return {{1, options.onlyLaunch, false}};
    std::vector<Case> cases;
    for (long long line : options.lines) {
        const int pairs = line - 1 > MAX_DOWN_PRESSES ? options.capRuns : options.runs;
        if (pairs > 0) cases.push_back({line, pairs, false});
    }
    for (long long line : options.editorLines)
        if (line - 1 <= MAX_DOWN_PRESSES) cases.push_back({line, options.runs, true});
    return cases;
}

void Side::Take(const Run& run, size_t caseIndex, long long line) {
    shellLoaded += run.shellLoaded;
    launchMs.push_back(run.launchMs);
    focusMs.push_back(run.focusMs);
    if (launchOnly) return;
    peakWorkingSetMiB.push_back(run.peakWorkingSet / 1048576.0);
    privateMiB.push_back(run.privateBytes / 1048576.0);
    usPerKey[caseIndex].push_back(run.returnToExitMs * 1000.0 / static_cast<double>(KeyEvents(line)));
}

std::vector<Side*> Sides::Rotation() {
    std::vector<Side*> order = {&linenav};
    if (!onlyLaunch) order.push_back(&floor);
    if (withDlls) order.push_back(&floorDlls);
    return order;
}

std::wstring MakeProgramFolder(const std::wstring& scratch) {
    const std::wstring programFolder = scratch + L"Quillo\\";
    CreateDirectoryW(scratch.c_str(), nullptr);
    CreateDirectoryW(programFolder.c_str(), nullptr);
    CreateDirectoryW((programFolder + L"DATA\\").c_str(), nullptr);
    DeleteFileW((programFolder + L"DATA\\lineno.txt").c_str());
    if (!WriteWholeFile(programFolder + L"portable.inf", nullptr, 0)) Fail("cannot create the program folder");
    return programFolder;
}

RoundCounts RunRounds(const std::vector<Case>& cases, Sides& sides, const std::wstring& programFolder,
                      EditorSink& editor) {
    RoundCounts counts;
    const std::vector<Side*> rotation = sides.Rotation();
    for (Side* side : rotation) side->usPerKey.assign(cases.size(), {});
    std::fprintf(stderr, "bench: warming up\n");
    for (const Side* side : rotation) RunOnce(side->program, programFolder, 1);
    int rounds = 0;
    for (const Case& c : cases) rounds = c.pairs > rounds ? c.pairs : rounds;
    // A case's pairs are its rounds: round r is pair r of every case it has.
    const std::vector<Side*> reversed(rotation.rbegin(), rotation.rend());
    for (int round = 0; round < rounds; ++round) {
        const std::vector<Side*>& order = PairReversed(round) ? reversed : rotation;
        std::string names;
        for (const Side* side : order) names += (names.empty() ? "" : ", ") + std::string(side->program.name);
        std::fprintf(stderr, "bench: round %d of %d: %s\n", round + 1, rounds, names.c_str());
        std::fflush(stderr);
        for (size_t i = 0; i < cases.size(); ++i)
            if (round < cases[i].pairs) RunTurn(cases[i], i, order, programFolder, editor, counts);
    }
    return counts;
}
