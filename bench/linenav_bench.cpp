// linenav against its floors, side by side in one run:
//
//   1. launch to ready prompt: from CreateProcessW until the prompt is the
//      visible foreground window with the focus in its field; against the
//      floor, and against the same floor importing linenav's DLLs (C); and
//      launch to focus: until the program's thread has the focus in the
//      field, without the foreground condition, whose hand-over through the
//      X server costs every program the same under Wine;
//   2. Return to exit, per key event, for lines 1, 10,000 and one above the
//      Down-press cap, with no window taking the keys; and for lines 1 and
//      10,000 again with an editor window in front that takes them;
//   3. the line map: TranslateLineNumber for record 1,000,000 of a 4 MB map
//      against one sequential pass over the same file in 4096-byte reads;
//   4. footprint: file size, imported DLLs, peak working set and private
//      bytes while the prompt is open, and whether shell32 is loaded then;
//   5. a long jump: Return to the caret on line 2,990 of a 3,000-line
//      document in Wine's own notepad, a real editor.
//
// linenav (A) and the floor (B) always run in turn, A, B, A, B, ..., so that
// whatever else loads the machine hits both sides alike; with a same-DLL
// floor (C) it is A, B, C, A, B, C, ..., C always typing line 1 (only its
// launch counts). --only-launch N runs just A, C, A, C, ... N times for the
// launch figure, --only-jump N just the long jump, N pairs. Prints one table
// and writes the figures as JSON.
#include "pe_imports.h"
#include "stats.h"

#include "edit_control.h"
#include "input.h"
#include "map_records_bytes.h"
#include "notepad.h"
#include "processes.h"
#include "text_helpers.h"

#include "base/files/files.h"
#include "base/runtime/memory.h"
#include "base/system/system_wait.h"
#include "base/text/text.h"
#include "navigator/caret_plan.h"
#include "navigator/globals.h"
#include "navigator/line_map.h"
#include "navigator/modifier_wait.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// --- Time and waiting ---------------------------------------------------------

double Now() { // milliseconds
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// The pause between two looks of every wait for a window's state. The launch
// figures are read off the first look that finds the prompt ready, so this
// pause bounds their resolution: 1 ms on launches of 100 ms and more. The
// other waits pause alike, so the time between runs stays as it was.
constexpr DWORD LOOK_PAUSE_MS = 1;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    std::fflush(stderr);
    ExitProcess(2);
}

// --- Programs under measurement -------------------------------------------------

struct Program {
    const char* name;
    std::wstring path;
    const wchar_t* windowClass; // class of the prompt window
};

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

// The key events a run to `line` sends, on either side: Ctrl+Home and Home,
// and a press and a release per Down, capped as linenav caps them (the floor
// keeps a copy of the cap).
long long KeyEvents(long long line) { return 6 + 2 * DownPressLimit(line); }

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

struct Run {
    double launchMs = 0;
    double focusMs = 0; // launch to the focus in the field, without the foreground condition
    double returnToExitMs = 0;
    double returnPressedAt = 0; // Now() just before Return was sent
    double peakWorkingSet = 0;  // bytes
    double privateBytes = 0;    // bytes
    bool keysTaken = false;     // a window was in front, so something took the keys
    bool shellLoaded = false;   // shell32.dll was loaded while the prompt was open
};

// A window titled like the editor, on a thread of the driver, that takes the
// keys: with it in front, linenav hands the keyboard over to it and looks
// where the keyboard goes while it sends, as in a real run.
class EditorSink {
public:
    EditorSink() {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Main, this, 0, &threadId_);
        if (!thread_ || WaitForSingleObject(ready_, 10000) != WAIT_OBJECT_0 || !window_)
            Fail("cannot create the editor window");
    }
    ~EditorSink() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    // Shows it in front, with nothing queued from an earlier run.
    void Show() {
        ShowWindow(window_, SW_SHOWNORMAL);
        SetForegroundWindow(window_);
        if (!WaitWithin(10000, LOOK_PAUSE_MS, [&] { return GetForegroundWindow() == window_; }))
            Fail("the editor window never came in front");
    }
    // Waits until it has handled every key queued for it so far, so that none
    // is left to load the next run; then hides it.
    void DrainAndHide() {
        const LONG request = ++requests_;
        PostThreadMessageW(threadId_, DRAIN, static_cast<WPARAM>(request), 0);
        if (!WaitWithin(120000, LOOK_PAUSE_MS, [&] { return InterlockedCompareExchange(&drained_, 0, 0) == request; }))
            Fail("the editor window never handled its keys");
        ShowWindow(window_, SW_HIDE);
    }
    LONG keys() const { return InterlockedCompareExchange(const_cast<LONG*>(&keys_), 0, 0); }

private:
    static constexpr UINT DRAIN = WM_APP + 1;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static DWORD WINAPI Main(void* self) {
        static_cast<EditorSink*>(self)->Loop();
        return 0;
    }
    void Loop() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LinenavBenchEditor";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, L"LinenavBenchEditor", L"Quillo V5. bench editor", WS_OVERLAPPEDWINDOW, 40, 40,
                                  400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetEvent(ready_);
        LONG request = 0;
        MSG message;
        for (;;) {
            // Posted messages come before input, so the drain request is
            // answered only once the input queued before it is handled too.
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    DestroyWindow(window_);
                    return;
                }
                if (message.message == DRAIN) {
                    request = static_cast<LONG>(message.wParam);
                    continue;
                }
                if (message.message == WM_KEYDOWN || message.message == WM_KEYUP) InterlockedIncrement(&keys_);
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            InterlockedExchange(&drained_, request);
            WaitMessage();
        }
    }

    HANDLE thread_ = nullptr, ready_ = nullptr;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    LONG requests_ = 0, drained_ = 0, keys_ = 0;
};

// One run: start the program as the editor would, wait for its prompt, type
// the line, press Return, wait for the exit; with `whileSending`, it is called
// about every 5 ms until then.
Run RunOnce(const Program& program, const std::wstring& programFolder, long long line,
            const std::function<void()>& whileSending = {}) {
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
        const double end = pressed + timeout;
        while (WaitForSingleObject(child.process.get(), 5) == WAIT_TIMEOUT) {
            if (Now() >= end) stop("no exit after Return");
            whileSending();
        }
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

// --- Long jump into a real editor ------------------------------------------------

// Wine's own notepad on a document of JUMP_DOCUMENT_LINES lines, the caret
// sent to line JUMP_LINE near its end. Notepad takes a Down press in about
// 9 ms on an idle machine, far slower than either program sends them, so the
// time is mostly notepad's; what the sender adds on top shows in the ratio.
constexpr int JUMP_DOCUMENT_LINES = 3000;
constexpr long long JUMP_LINE = 2990;
constexpr long long JUMP_WARMUP_LINE = 200;
constexpr wchar_t JUMP_DOCUMENT[] = L"Quillo V5. jump.txt"; // notepad's title starts with it
// How long notepad may take to open, or to come in front.
constexpr DWORD NOTEPAD_WAIT_MS = 30000;
// Notepad works through 110-120 Downs a second on an idle machine and far
// fewer under load: the caret is waited for as long as it keeps moving, and
// given up for lost only once it has stood still this long.
constexpr double CARET_STILL_LIMIT_MS = 20000;
constexpr uint64_t CARET_WAIT_LIMIT_MS = 600000;
// Every look at the caret is a message notepad answers between two keys, for
// both sides alike; a look every 5 ms resolves the landing to 0.02 % of 25 s
// and the caret's first move to a few milliseconds.
constexpr DWORD CARET_POLL_MS = 5;

// The jump document: "jump line 1" to "jump line 3000", with no empty line
// after the last.
std::string JumpDocument() {
    std::string text;
    for (int i = 1; i <= JUMP_DOCUMENT_LINES; ++i)
        text += "jump line " + std::to_string(i) + (i < JUMP_DOCUMENT_LINES ? "\r\n" : "");
    return text;
}

// The caret on the last line and notepad in front with the focus in its text,
// as when the person presses the hotkey: a run that sends nothing leaves the
// caret there.
void ResetCaret(const Notepad& notepad) {
    if (!notepad.CaretToEnd() || notepad.CaretLine() != JUMP_DOCUMENT_LINES - 1)
        Fail("notepad's caret did not go to the last line");
    if (!notepad.ToFront()) Fail("notepad never came in front with the focus in its text");
}

// Follows notepad's caret from where ResetCaret left it: when it first moved (the
// first key notepad took, Ctrl+Home) and when it first stood on `line`
// (0-based).
class CaretWatch {
public:
    CaretWatch(const Notepad& notepad, long line)
        : notepad_(notepad), line_(line), seen_(notepad.CaretLine()), movedAt_(Now()) {}
    // One look; true once the caret has been on the line.
    bool Look() {
        if (landedAt_ > 0) return true;
        const long now = notepad_.CaretLine();
        const double at = Now();
        if (now != seen_) {
            seen_ = now;
            movedAt_ = at;
            if (firstMoveAt_ == 0) firstMoveAt_ = at;
        }
        if (seen_ == line_) landedAt_ = at;
        return landedAt_ > 0;
    }
    // Looks until the caret is on the line; false once it has stood still
    // elsewhere for CARET_STILL_LIMIT_MS, or after CARET_WAIT_LIMIT_MS in all.
    bool Wait() {
        WaitWithin(CARET_WAIT_LIMIT_MS, CARET_POLL_MS,
                   [&] { return Look() || Now() - movedAt_ >= CARET_STILL_LIMIT_MS; });
        return landedAt_ > 0;
    }
    long seen() const { return seen_; }
    double firstMoveAt() const { return firstMoveAt_; }
    double landedAt() const { return landedAt_; }

private:
    const Notepad& notepad_;
    long line_, seen_;
    double movedAt_, firstMoveAt_ = 0, landedAt_ = 0;
};

struct JumpSide {
    std::vector<double> landS;       // Return to the caret on the line
    std::vector<double> firstMoveMs; // Return to the caret's first move: notepad took Ctrl+Home
    std::vector<double> exitMs;      // Return to the sender's exit
};

struct JumpSamples {
    JumpSide a, b;       // linenav, floor
    double answerUs = 0; // one message notepad answers, as linenav sends it before and during Ctrl+Home
};

// One jump: the caret reset, the program started as the editor starts it,
// the line typed, Return; the caret is watched from then on until it lands
// on the line, long after the sender has exited (it sends in about a second,
// notepad takes 25 or more).
void JumpOnce(const Program& program, const std::wstring& programFolder, const Notepad& notepad, long long line,
              JumpSide* samples) {
    ResetCaret(notepad);
    CaretWatch caret(notepad, static_cast<long>(line - 1));
    const Run run = RunOnce(program, programFolder, line, [&] { caret.Look(); });
    if (!caret.Wait())
        Fail(std::string(program.name) + ": notepad's caret stopped on line " + std::to_string(caret.seen() + 1) +
             ", not " + std::to_string(line));
    if (!samples) return;
    samples->landS.push_back((caret.landedAt() - run.returnPressedAt) / 1000.0);
    samples->firstMoveMs.push_back(caret.firstMoveAt() - run.returnPressedAt);
    samples->exitMs.push_back(run.returnToExitMs);
}

// What one message sent to `window` and answered costs, in microseconds: the
// WM_NULL that linenav sends the editor once it has the foreground and again
// while Ctrl and Home are down, here to an idle notepad; the median of a few
// batches.
double TimeAnsweredMessage(HWND window) {
    constexpr int MESSAGES_PER_BATCH = 200;
    std::vector<double> batches;
    for (int batch = 0; batch < 9; ++batch) {
        const double started = Now();
        for (int i = 0; i < MESSAGES_PER_BATCH; ++i) {
            DWORD_PTR ignored = 0;
            if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored))
                Fail("notepad did not answer WM_NULL");
        }
        batches.push_back((Now() - started) * 1000.0 / MESSAGES_PER_BATCH);
    }
    return Summarize(batches).median;
}

// linenav and the floor in turn, `pairs` times, into one notepad.
JumpSamples RunLongJumps(const Program& linenav, const Program& floor, const std::wstring& programFolder,
                         const std::wstring& scratch, int pairs) {
    JumpSamples samples;
    {
        Notepad notepad(NOTEPAD_WAIT_MS, LOOK_PAUSE_MS);
        const std::string failed = notepad.Open(scratch + JUMP_DOCUMENT, JumpDocument());
        if (!failed.empty()) Fail("notepad on the jump document: " + failed);
        std::fprintf(stderr, "bench: long jump, warming up\n");
        for (const Program* program : {&linenav, &floor})
            JumpOnce(*program, programFolder, notepad, JUMP_WARMUP_LINE, nullptr);
        for (int pair = 0; pair < pairs; ++pair) {
            std::fprintf(stderr, "bench: long jump, pair %d of %d\n", pair + 1, pairs);
            std::fflush(stderr);
            JumpOnce(linenav, programFolder, notepad, JUMP_LINE, &samples.a);
            JumpOnce(floor, programFolder, notepad, JUMP_LINE, &samples.b);
        }
        samples.answerUs = TimeAnsweredMessage(notepad.window());
    }
    return samples;
}

// How many such messages linenav sends on a run whose Ctrl+Home lands at
// once: one before the first key, and one for each Ctrl+Home, counted from
// the key plan it runs.
int AnsweredMessages(long long line) {
    int64_t counter = 0;
    const int64_t target = line;
    int messages = 1;
    PlanCaretKeys(
        counter, target, [](KeyEvent, KeyEvent) {}, [] { return true; },
        [&] {
            ++messages;
            return true;
        });
    return messages;
}

// How often linenav looks at the keyboard on a run to `line`: counted from
// the key plan it runs.
int KeyboardLooks(long long line) {
    int64_t counter = 0;
    const int64_t target = line;
    int looks = 0;
    PlanCaretKeys(
        counter, target, [](KeyEvent, KeyEvent) {},
        [&] {
            ++looks;
            return true;
        });
    return looks;
}

// What one look costs, in microseconds: the five modifier keys through
// GetAsyncKeyState and the foreground window, as caret_keys.cpp asks them with
// nobody holding a key; the median of a few batches, in this process.
double TimeKeyboardLook() {
    constexpr int LOOKS_PER_BATCH = 500;
    std::vector<double> batches;
    volatile int held = 0;
    for (int batch = 0; batch < 9; ++batch) {
        const double started = Now();
        for (int i = 0; i < LOOKS_PER_BATCH; ++i) {
            for (uint8_t key : MODIFIER_KEYS) held = held + (GetAsyncKeyState(key) < 0);
            held = held + (GetForegroundWindow() != nullptr) + (GetTickCount64() == 0);
        }
        batches.push_back((Now() - started) * 1000.0 / LOOKS_PER_BATCH);
    }
    return Summarize(batches).median;
}

// --- Line map -------------------------------------------------------------------

constexpr int64_t MAP_RECORDS = 1000000; // 4,000,000 bytes
constexpr int64_t MAP_TARGET = 1000000;
constexpr int32_t TARGET_VALUE = 123457;

bool WriteMap(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(MAP_RECORDS) * 4);
    for (int64_t k = 1; k <= MAP_RECORDS; ++k)
        AppendInt32Record(bytes, k == MAP_TARGET ? TARGET_VALUE : static_cast<int32_t>(k % 7 ? k * 3 : 0));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

double TimeTranslate(const std::wstring& dataFolder) {
    AssignText(Navigator.DataFolder, dataFolder.c_str());
    Navigator.LineNumber = MAP_TARGET;
    Navigator.MapValue = 0;
    const double started = Now();
    TranslateLineNumber();
    const double elapsed = Now() - started;
    if (Navigator.LineNumber != TARGET_VALUE)
        Fail("TranslateLineNumber gave " + std::to_string(Navigator.LineNumber) + ", expected " +
             std::to_string(TARGET_VALUE));
    return elapsed;
}

// The floor: the same file, opened as linenav opens it (read-only, shared with
// readers), read once from start to end.
double TimeSequentialPass(const std::wstring& path) {
    static unsigned char buffer[4096];
    const double started = Now();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("cannot open the line map");
    DWORD read = 0;
    uint64_t total = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        total += read;
        if (read < sizeof buffer) break;
    }
    CloseHandle(file);
    const double elapsed = Now() - started;
    if (total != MAP_RECORDS * 4) Fail("the sequential pass read " + std::to_string(total) + " bytes");
    return elapsed;
}

struct MapSamples {
    std::vector<double> linenav, floor; // ms
};

// TranslateLineNumber and the sequential pass in turn, `pairs` times, in this
// process, after three of each to warm the file cache and the heap.
MapSamples RunLineMap(const std::wstring& scratch, int pairs) {
    MapSamples samples;
    std::fprintf(stderr, "bench: line map\n");
    GeneralHeap = CreatePrivateHeap();
    StartTextArea();
    StartFiles();
    Navigator = {};
    const std::wstring mapFolder = scratch + L"map\\";
    CreateDirectoryW(mapFolder.c_str(), nullptr);
    const std::wstring mapPath = mapFolder + L"lineno.txt";
    if (!WriteMap(mapPath)) Fail("cannot write the line map");
    for (int i = 0; i < 3; ++i) {
        TimeTranslate(mapFolder);
        TimeSequentialPass(mapPath);
    }
    for (int i = 0; i < pairs; ++i) {
        samples.linenav.push_back(TimeTranslate(mapFolder));
        samples.floor.push_back(TimeSequentialPass(mapPath));
    }
    EndFiles();
    EndTextArea();
    DestroyPrivateHeap(GeneralHeap);
    GeneralHeap = nullptr;
    DeleteFileW(mapPath.c_str());
    return samples;
}

// --- Options --------------------------------------------------------------------

struct Options {
    std::wstring linenav, floor, scratch, json;
    std::wstring floorDlls;                   // the floor importing linenav's DLLs; none: no such figure
    std::wstring floorClass = L"FloorPrompt"; // another linenav build: WindowClass_0
    std::vector<long long> lines = {1, 10000, 2 * MAX_DOWN_PRESSES};
    std::vector<long long> editorLines = {1, 10000}; // with the editor window in front
    int runs = 20;                                   // pairs per line up to the cap
    int capRuns = 5;                                 // pairs per line above the cap
    int mapRuns = 51;
    int onlyLaunch = 0; // > 0: only the launch against the same-DLL floor, this many pairs
    int jumpRuns = 3;   // pairs for the long jump into notepad (~25 s per run)
    int onlyJump = 0;   // > 0: only the long jump, this many pairs
};

std::vector<long long> ParseLines(const std::wstring& text) {
    std::vector<long long> lines;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find(L',', at);
        if (end == std::wstring::npos) end = text.size();
        const long long line = _wtoi64(text.substr(at, end - at).c_str());
        if (line >= 1) lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

Options ParseOptions(int argc, wchar_t** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring name = argv[i], value = argv[i + 1];
        if (name == L"--linenav") o.linenav = value;
        else if (name == L"--floor") o.floor = value;
        else if (name == L"--floor-dlls") o.floorDlls = value;
        else if (name == L"--only-launch") o.onlyLaunch = _wtoi(value.c_str());
        else if (name == L"--scratch") o.scratch = value;
        else if (name == L"--json") o.json = value;
        else if (name == L"--floor-class") o.floorClass = value;
        else if (name == L"--lines") o.lines = ParseLines(value);
        else if (name == L"--editor-lines") o.editorLines = ParseLines(value);
        else if (name == L"--runs") o.runs = _wtoi(value.c_str());
        else if (name == L"--cap-runs") o.capRuns = _wtoi(value.c_str());
        else if (name == L"--map-runs") o.mapRuns = _wtoi(value.c_str());
        else if (name == L"--jump-runs") o.jumpRuns = _wtoi(value.c_str());
        else if (name == L"--only-jump") o.onlyJump = _wtoi(value.c_str());
        else Fail("unknown option " + Narrow(name));
    }
    if (o.linenav.empty() || o.floor.empty() || o.scratch.empty())
        Fail("usage: linenav_bench --linenav EXE --floor EXE [--floor-dlls EXE] --scratch FOLDER "
             "[--json FILE] [--lines L,L,...] [--editor-lines L,L,...] "
             "[--runs N] [--cap-runs N] [--map-runs N] [--jump-runs N] [--only-launch N | --only-jump N]");
    if (o.onlyLaunch > 0 && o.floorDlls.empty()) Fail("--only-launch needs --floor-dlls");
    if (o.scratch.back() != L'\\') o.scratch += L'\\';
    if (o.onlyLaunch > 0 && o.onlyJump > 0) Fail("--only-launch and --only-jump exclude each other");
    if (o.runs < 1 || o.capRuns < 0 || o.mapRuns < 0 || o.jumpRuns < 0)
        Fail("--runs must be at least 1, the others at least 0");
    return o;
}

// --- Rounds of whole runs: launch, keys and footprint ---------------------------

// One line typed into each program of the rotation, `pairs` times.
struct Case {
    long long line;
    int pairs;
    bool intoEditor; // the editor window in front takes the keys
};

// With --only-launch, line 1 alone; else every line (the one above the
// Down-press cap with its own number of pairs, left out at 0) and then the
// lines into the editor.
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

// One program of the rotation and what its runs gave, a list per figure.
struct Side {
    explicit Side(Program program, bool launchOnly = false) : program(std::move(program)), launchOnly(launchOnly) {}

    Program program;
    bool launchOnly; // types line 1 whatever the case; only its launch counts
    std::vector<double> launchMs, focusMs;
    std::vector<double> peakWorkingSetMiB, privateMiB;
    std::vector<std::vector<double>> usPerKey; // Return to exit over the key events; a list per case
    int shellLoaded = 0;                       // runs with shell32.dll loaded while the prompt was open

    void Take(const Run& run, size_t caseIndex, long long line) {
        shellLoaded += run.shellLoaded;
        launchMs.push_back(run.launchMs);
        focusMs.push_back(run.focusMs);
        if (launchOnly) return;
        peakWorkingSetMiB.push_back(run.peakWorkingSet / 1048576.0);
        privateMiB.push_back(run.privateBytes / 1048576.0);
        usPerKey[caseIndex].push_back(run.returnToExitMs * 1000.0 / static_cast<double>(KeyEvents(line)));
    }
};

// linenav (A), the floor (B) and the floor with linenav's DLLs (C).
struct Sides {
    Side linenav, floor, floorDlls;
    bool withDlls, onlyLaunch;

    explicit Sides(const Options& options)
        : linenav(Program{"linenav", options.linenav, L"WindowClass_0"}),
          floor(Program{"floor", options.floor, options.floorClass.c_str()}),
          floorDlls(Program{"floor with linenav's DLLs", options.floorDlls, options.floorClass.c_str()}, true),
          withDlls(!options.floorDlls.empty()), onlyLaunch(options.onlyLaunch > 0) {}

    // The programs of a turn, in the order they run: A, B (, C); A, C with
    // --only-launch.
    std::vector<Side*> Rotation() {
        std::vector<Side*> order = {&linenav};
        if (!onlyLaunch) order.push_back(&floor);
        if (withDlls) order.push_back(&floorDlls);
        return order;
    }
};

// What the rounds saw besides the figures.
struct RoundCounts {
    int keysTaken = 0;        // runs without an editor in which a window was in front when the keys went out
    int editorRuns = 0;       // runs into the editor window
    long long editorKeys = 0; // key messages it took
};

// The editor's program folder, in portable mode with no line map: the data
// folder is looked up as in every run, and no record is read.
std::wstring MakeProgramFolder(const std::wstring& scratch) {
    const std::wstring programFolder = scratch + L"Quillo\\";
    CreateDirectoryW(scratch.c_str(), nullptr);
    CreateDirectoryW(programFolder.c_str(), nullptr);
    CreateDirectoryW((programFolder + L"DATA\\").c_str(), nullptr);
    DeleteFileW((programFolder + L"DATA\\lineno.txt").c_str());
    HANDLE marker = CreateFileW((programFolder + L"portable.inf").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker == INVALID_HANDLE_VALUE) Fail("cannot create the program folder");
    CloseHandle(marker);
    return programFolder;
}

// One turn of a case: each program of the rotation runs it once, in order.
void RunTurn(const Case& c, size_t caseIndex, const std::vector<Side*>& rotation, const std::wstring& programFolder,
             EditorSink& editor, RoundCounts& counts) {
    for (Side* side : rotation) {
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

// The launch, per-key and footprint runs. A first run of each program warms
// the file cache and leaves no window in front (a fresh desktop starts with
// its own window in front, which would take the keys). Then, round after
// round, every case with pairs left has a turn; the case above the cap, with
// fewer pairs, runs in the first rounds only.
RoundCounts RunRounds(const std::vector<Case>& cases, Sides& sides, const std::wstring& programFolder,
                      EditorSink& editor) {
    RoundCounts counts;
    const std::vector<Side*> rotation = sides.Rotation();
    for (Side* side : rotation) side->usPerKey.assign(cases.size(), {});
    std::fprintf(stderr, "bench: warming up\n");
    for (const Side* side : rotation) RunOnce(side->program, programFolder, 1);
    int rounds = 0;
    for (const Case& c : cases) rounds = c.pairs > rounds ? c.pairs : rounds;
    for (int round = 0; round < rounds; ++round) {
        std::fprintf(stderr, "bench: round %d of %d\n", round + 1, rounds);
        std::fflush(stderr);
        for (size_t i = 0; i < cases.size(); ++i)
            if (round < cases[i].pairs) RunTurn(cases[i], i, rotation, programFolder, editor, counts);
    }
    return counts;
}

// --- Output -----------------------------------------------------------------------

struct Figure {
    std::string key;   // JSON name
    std::string label; // table text
    std::string unit;
    Summary linenav, floor;
    double ratio = 0;       // median over median
    double pairedRatio = 0; // median of the per-pair ratios
    std::string goal;       // e.g. "<= 1.10"
    double limit = 0;       // ratio limit; 0: no ratio goal
};

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Cell(const Summary& s, const char* format) {
    return Format(format, s.median) + " [" + Format(format, s.q1) + "-" + Format(format, s.q3) + "]";
}

std::string JsonSummary(const Summary& s) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "{\"n\": %zu, \"median\": %.6g, \"q1\": %.6g, \"q3\": %.6g, \"min\": %.6g, \"max\": %.6g}", s.count,
                  s.median, s.q1, s.q3, s.min, s.max);
    return text;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string JsonList(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + JsonString(items[i]);
    return out + "]";
}

std::string Joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : " ") + item;
    return out.empty() ? "-" : out;
}

Figure MakeFigure(std::string key, std::string label, std::string unit, const std::vector<double>& a,
                  const std::vector<double>& b, double limit) {
    Figure f;
    f.key = std::move(key);
    f.label = std::move(label);
    f.unit = std::move(unit);
    f.linenav = Summarize(a);
    f.floor = Summarize(b);
    f.ratio = f.floor.median > 0 ? f.linenav.median / f.floor.median : 0;
    f.pairedRatio = PairedRatio(a, b);
    f.limit = limit;
    if (limit > 0) f.goal = Format("<= %.2f", limit);
    return f;
}

double FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<double>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::string WithThousands(long long value) {
    std::string digits = std::to_string(value), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// One figure on a line of its own, for the quick modes.
void PrintFigureLine(const Figure& f) {
    const std::string goal = f.limit > 0 ? "goal " + f.goal + (f.ratio <= f.limit ? " met" : " MISSED") : "no goal";
    std::printf("\n%s, %s (n=%zu): linenav %s, floor %s, ratio %.3f (paired %.3f), %s\n", f.label.c_str(),
                f.unit.c_str(), f.linenav.count, Cell(f.linenav, "%.4g").c_str(), Cell(f.floor, "%.4g").c_str(),
                f.ratio, f.pairedRatio, goal.c_str());
}

// The long jump's figure, and beside it, without goals, where its time goes:
// until notepad has taken Ctrl+Home (the sender's work before its first key)
// and until the sender has sent every key and exited.
std::vector<Figure> JumpFigures(const JumpSamples& jump) {
    const std::string key = "long_jump_line_" + std::to_string(JUMP_LINE);
    return {
        MakeFigure(key + "_s",
                   "long jump: Return to caret on line " + WithThousands(JUMP_LINE) + " of " +
                       WithThousands(JUMP_DOCUMENT_LINES) + " in notepad",
                   "s", jump.a.landS, jump.b.landS, 1.05),
        MakeFigure(key + "_first_move_ms", "long jump: Return to the caret's first move", "ms", jump.a.firstMoveMs,
                   jump.b.firstMoveMs, 0),
        MakeFigure(key + "_exit_ms", "long jump: Return to the sender's exit", "ms", jump.a.exitMs, jump.b.exitMs, 0)};
}

struct LookCost {
    int looks;              // per run to JUMP_LINE
    double lookUs;          // one look, measured here
    int answers;            // answered messages per run
    double answerUs;        // one of them, measured here into notepad
    double share = 0;       // all looks of a run over the floor's median landing time
    double answerShare = 0; // all answered messages of a run, likewise
};

LookCost JumpLookCost(const JumpSamples& jump) {
    LookCost cost{KeyboardLooks(JUMP_LINE), TimeKeyboardLook(), AnsweredMessages(JUMP_LINE), jump.answerUs};
    const double floorS = Summarize(jump.b.landS).median;
    if (floorS > 0) cost.share = cost.looks * cost.lookUs / 1e6 / floorS;
    if (floorS > 0) cost.answerShare = cost.answers * cost.answerUs / 1e6 / floorS;
    return cost;
}

void PrintLookCost(const LookCost& cost) {
    std::printf("long jump: runs alternated linenav, floor, ...; the caret is polled every %lu ms. linenav looks at "
                "the keyboard\n%d times a run (5 x GetAsyncKeyState and GetForegroundWindow each); one look takes "
                "%.2f us in this process,\nall of them %.3f ms, %.4f %% of the floor's median. From the first key "
                "on, the time is notepad's: it takes\nCtrl+Home, %s Down presses and Home from both alike.\n",
                CARET_POLL_MS, cost.looks, cost.lookUs, cost.looks * cost.lookUs / 1000, cost.share * 100,
                WithThousands(JUMP_LINE - 1).c_str());
    std::printf("Ctrl+Home known to have landed: linenav sends the editor %d answered messages (WM_NULL) a run; one "
                "takes\n%.2f us into an idle notepad, all of them %.3f ms, %.4f %% of the floor's median.\n",
                cost.answers, cost.answerUs, cost.answers * cost.answerUs / 1000, cost.answerShare * 100);
}

std::string JsonLookCost(const LookCost& cost) {
    return "{\"line\": " + std::to_string(JUMP_LINE) + ", \"document_lines\": " + std::to_string(JUMP_DOCUMENT_LINES) +
           ", \"keyboard_looks\": " + std::to_string(cost.looks) + ", \"look_us\": " + Format("%.4g", cost.lookUs) +
           ", \"looks_share_of_floor\": " + Format("%.6f", cost.share) +
           ", \"answered_messages\": " + std::to_string(cost.answers) +
           ", \"answer_us\": " + Format("%.4g", cost.answerUs) +
           ", \"answers_share_of_floor\": " + Format("%.6f", cost.answerShare) + "}";
}

constexpr char LAUNCH_DLLS_LABEL[] = "launch to ready prompt, floor with linenav's DLLs";
constexpr char FOCUS_DLLS_LABEL[] = "launch to focus in the field, floor with linenav's DLLs";

// --only-launch: the launch against the floor with linenav's DLLs alone.
void PrintLaunchOnly(const Sides& sides) {
    const Side &a = sides.linenav, &c = sides.floorDlls;
    for (const Figure& f :
         {MakeFigure("launch_to_ready_prompt_same_dlls_ms", LAUNCH_DLLS_LABEL, "ms", a.launchMs, c.launchMs, 1.05),
          MakeFigure("launch_to_focus_same_dlls_ms", FOCUS_DLLS_LABEL, "ms", a.focusMs, c.focusMs, 1.05)})
        PrintFigureLine(f);
    std::printf("runs interleaved linenav, floor with linenav's DLLs, ...; line 1, no editor\n");
}

// --only-jump: the long jump alone.
void PrintJumpOnly(const JumpSamples& jump) {
    for (const Figure& f : JumpFigures(jump)) PrintFigureLine(f);
    PrintLookCost(JumpLookCost(jump));
}

std::string CaseLabel(const Case& c) {
    return "Return to exit per key, line " + WithThousands(c.line) + " (" + WithThousands(KeyEvents(c.line)) + " keys" +
           (c.line - 1 > MAX_DOWN_PRESSES ? ", capped)" : ")") + (c.intoEditor ? " into an editor" : "");
}

// The cost of one more key event: the difference between the line-1 runs and
// the longest uncapped runs of the same round, over the difference in key
// events. What the process does once per run drops out. None without both.
std::optional<Figure> OneMoreKey(const std::vector<Case>& cases, const Sides& sides, bool intoEditor) {
    std::optional<size_t> shortest, longest;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        if (c.intoEditor != intoEditor) continue;
        if (c.line == 1) shortest = i;
        if (c.line > 1 && c.line - 1 <= MAX_DOWN_PRESSES && (!longest || c.line > cases[*longest].line)) longest = i;
    }
    if (!shortest || !longest) return std::nullopt;
    const long long line = cases[*longest].line;
    const double extra = static_cast<double>(KeyEvents(line) - KeyEvents(1));
    const auto slopes = [&](const Side& side) {
        const std::vector<double>& few = side.usPerKey[*shortest];
        const std::vector<double>& many = side.usPerKey[*longest];
        std::vector<double> out;
        for (size_t i = 0; i < few.size() && i < many.size(); ++i)
            out.push_back(
                (many[i] * static_cast<double>(KeyEvents(line)) - few[i] * static_cast<double>(KeyEvents(1))) / extra);
        return out;
    };
    return MakeFigure(intoEditor ? "keystroke_cost_into_editor_us_per_key" : "keystroke_cost_us_per_key",
                      "one more key (line 1 to " + WithThousands(line) + ")" + (intoEditor ? " into an editor" : ""),
                      "us/key", slopes(sides.linenav), slopes(sides.floor), 1.05);
}

// The table's figures, in its order; the long jump's and the line map's only
// when they ran.
std::vector<Figure> TableFigures(const Sides& sides, const std::vector<Case>& cases, const JumpSamples& jump,
                                 const MapSamples& map) {
    const Side &a = sides.linenav, &b = sides.floor, &c = sides.floorDlls;
    std::vector<Figure> figures;
    figures.push_back(
        MakeFigure("launch_to_ready_prompt_ms", "launch to ready prompt", "ms", a.launchMs, b.launchMs, 1.10));
    if (sides.withDlls)
        figures.push_back(
            MakeFigure("launch_to_ready_prompt_same_dlls_ms", LAUNCH_DLLS_LABEL, "ms", a.launchMs, c.launchMs, 1.05));
    figures.push_back(
        MakeFigure("launch_to_focus_ms", "launch to focus in the field", "ms", a.focusMs, b.focusMs, 1.10));
    if (sides.withDlls)
        figures.push_back(
            MakeFigure("launch_to_focus_same_dlls_ms", FOCUS_DLLS_LABEL, "ms", a.focusMs, c.focusMs, 1.05));
    for (size_t i = 0; i < cases.size(); ++i)
        figures.push_back(MakeFigure("return_to_exit_line_" + std::to_string(cases[i].line) +
                                         (cases[i].intoEditor ? "_into_editor" : "") + "_us_per_key",
                                     CaseLabel(cases[i]), "us/key", a.usPerKey[i], b.usPerKey[i], 1.05));
    for (bool intoEditor : {false, true})
        if (std::optional<Figure> f = OneMoreKey(cases, sides, intoEditor)) figures.push_back(std::move(*f));
    if (!jump.a.landS.empty())
        for (Figure& f : JumpFigures(jump)) figures.push_back(std::move(f));
    if (!map.linenav.empty())
        figures.push_back(MakeFigure("line_map_record_1000000_ms", "line map: record 1,000,000 of 4 MB", "ms",
                                     map.linenav, map.floor, 1.2));
    figures.push_back(MakeFigure("peak_working_set_mib", "peak working set, prompt open", "MiB", a.peakWorkingSetMiB,
                                 b.peakWorkingSetMiB, 1.1));
    figures.push_back(
        MakeFigure("private_bytes_mib", "private bytes, prompt open", "MiB", a.privateMiB, b.privateMiB, 0));
    return figures;
}

// The programs' files: their sizes and the DLLs they import.
struct Footprint {
    double linenavBytes = 0, floorBytes = 0;
    ImportList linenav, floor, floorDlls; // floorDlls: read only when that floor runs
    std::vector<std::string> foreign;     // linenav's imports that are not in the system folder
    bool systemOnly = false;
};

Footprint ReadFootprint(const Options& options, bool withDlls) {
    Footprint f;
    f.linenav = ReadImports(options.linenav);
    f.floor = ReadImports(options.floor);
    if (withDlls) f.floorDlls = ReadImports(options.floorDlls);
    f.linenavBytes = FileSize(options.linenav);
    f.floorBytes = FileSize(options.floor);
    f.systemOnly = f.linenav.valid;
    for (const auto* list : {&f.linenav.dlls, &f.linenav.delayLoaded})
        for (const std::string& dll : *list)
            if (!ShipsWithSystem(dll)) {
                f.systemOnly = false;
                f.foreign.push_back(dll);
            }
    return f;
}

// Everything the table and the JSON report.
struct Results {
    const Options& options;
    const Sides& sides;
    RoundCounts counts;
    std::vector<Figure> figures;
    std::optional<LookCost> lookCost; // when the long jump ran
    Footprint footprint;
};

void PrintTable(const Results& r) {
    const Sides& sides = r.sides;
    const Footprint& footprint = r.footprint;
    const size_t runsPerSide = sides.linenav.launchMs.size();
    std::vector<std::string> labels;
    int width = 40;
    for (const Figure& f : r.figures) {
        labels.push_back(f.label + ", " + f.unit + " (n=" + std::to_string(f.linenav.count) + ")");
        width = static_cast<int>(labels.back().size()) > width ? static_cast<int>(labels.back().size()) : width;
    }
    const auto row = [&](const std::string& label, const std::string& a, const std::string& b, const std::string& ratio,
                         const std::string& goal, const std::string& verdict) {
        std::printf("%-*s  %-24s %-24s %-6s %-9s %s\n", width, label.c_str(), a.c_str(), b.c_str(), ratio.c_str(),
                    goal.c_str(), verdict.c_str());
    };
    std::printf("\n");
    row("figure", "linenav", "floor", "ratio", "goal", "");
    std::printf("%s\n", std::string(static_cast<size_t>(width) + 76, '-').c_str());
    for (size_t i = 0; i < r.figures.size(); ++i) {
        const Figure& f = r.figures[i];
        const std::string verdict = f.limit > 0 ? (f.ratio <= f.limit ? "met" : "MISSED") : "";
        row(labels[i], Cell(f.linenav, "%.4g"), Cell(f.floor, "%.4g"), Format("%.3f", f.ratio), f.goal, verdict);
    }
    const double sizeA = footprint.linenavBytes, sizeB = footprint.floorBytes;
    row("exe size, KiB", Format("%.1f", sizeA / 1024), Format("%.1f", sizeB / 1024),
        Format("%.3f", sizeB > 0 ? sizeA / sizeB : 0), "<= 64 KiB", sizeA <= 65536 ? "met" : "MISSED");
    const std::string importVerdict = footprint.systemOnly ? "met" : "MISSED: " + Joined(footprint.foreign);
    std::printf("%-*s  %-56s %-9s %s\n", width, "imported DLLs, linenav", Joined(footprint.linenav.dlls).c_str(),
                "system", importVerdict.c_str());
    if (!footprint.linenav.delayLoaded.empty())
        std::printf("%-*s  %s\n", width, "delay-loaded DLLs, linenav", Joined(footprint.linenav.delayLoaded).c_str());
    std::printf("%-*s  %s\n", width, "imported DLLs, floor", Joined(footprint.floor.dlls).c_str());
    if (sides.withDlls)
        std::printf("%-*s  %s\n", width, "imported DLLs, floor with linenav's DLLs",
                    Joined(footprint.floorDlls.dlls).c_str());
    std::printf("\nmedian [quartiles]; ratio = linenav median / floor median; runs interleaved "
                "linenav, floor, %slinenav, floor, ...\n",
                sides.withDlls ? "floor with linenav's DLLs, " : "");
    std::printf("pairs: %d per line up to the Down-press cap, %d above it, %d for the line map, %d for the long "
                "jump;\nlaunch and footprint pool all %zu runs per side outside the long jump.\n",
                r.options.runs, r.options.capRuns, r.options.mapRuns, r.options.jumpRuns, runsPerSide);
    if (sides.withDlls)
        std::printf("the floor with linenav's DLLs runs after each floor run, always typing line 1; "
                    "only its launch counts.\n");
    std::printf("per-key figures: Return to exit over the key events sent; at line 1 that is "
                "mostly what a run does "
                "once\n(Return handling, data folder, shutdown, exit); \"one more key\" is the "
                "keystroke cost alone. "
                "The prompt is\npolled about once a millisecond.\n");
    const size_t runs = sides.linenav.launchMs.size() + sides.floor.launchMs.size() + sides.floorDlls.launchMs.size();
    std::printf("runs without an editor in which a window was in front when the keys went out: "
                "%d of %zu\n",
                r.counts.keysTaken, runs - static_cast<size_t>(r.counts.editorRuns));
    std::printf("runs into an editor: %d; key messages the editor window took: %lld\n", r.counts.editorRuns,
                r.counts.editorKeys);
    std::printf("runs with shell32.dll loaded while the prompt was open: linenav %d of %zu, floor %d of %zu%s\n",
                sides.linenav.shellLoaded, runsPerSide, sides.floor.shellLoaded, sides.floor.launchMs.size(),
                sides.withDlls ? (", floor with linenav's DLLs " + std::to_string(sides.floorDlls.shellLoaded) +
                                  " of " + std::to_string(sides.floorDlls.launchMs.size()))
                                     .c_str()
                               : "");
    if (r.lookCost) PrintLookCost(*r.lookCost);
}

void WriteJson(const Results& r) {
    const Sides& sides = r.sides;
    const Footprint& footprint = r.footprint;
    std::string json = "{\n  \"figures\": {\n";
    for (size_t i = 0; i < r.figures.size(); ++i) {
        const Figure& f = r.figures[i];
        json += "    " + JsonString(f.key) + ": {\"label\": " + JsonString(f.label) +
                ", \"unit\": " + JsonString(f.unit) + ", \"linenav\": " + JsonSummary(f.linenav) +
                ", \"floor\": " + JsonSummary(f.floor) + ", \"ratio\": " + Format("%.4f", f.ratio) +
                ", \"paired_ratio\": " + Format("%.4f", f.pairedRatio);
        if (f.limit > 0) {
            json += ", \"goal_ratio\": " + Format("%.2f", f.limit);
            json += std::string(", \"met\": ") + (f.ratio <= f.limit ? "true" : "false");
        }
        json += std::string("}") + (i + 1 < r.figures.size() ? "," : "") + "\n";
    }
    json += "  },\n";
    json += "  \"exe_size_bytes\": {\"linenav\": " + Format("%.0f", footprint.linenavBytes) +
            ", \"floor\": " + Format("%.0f", footprint.floorBytes) +
            ", \"goal_max\": 65536, \"met\": " + (footprint.linenavBytes <= 65536 ? "true" : "false") + "},\n";
    json += "  \"imports\": {\"linenav\": " + JsonList(footprint.linenav.dlls) +
            ", \"linenav_delay_loaded\": " + JsonList(footprint.linenav.delayLoaded) +
            ", \"floor\": " + JsonList(footprint.floor.dlls) +
            (sides.withDlls ? ", \"floor_same_dlls\": " + JsonList(footprint.floorDlls.dlls) : std::string()) +
            ", \"not_in_system_folder\": " + JsonList(footprint.foreign) +
            ", \"met\": " + (footprint.systemOnly ? "true" : "false") + "},\n";
    json += "  \"pairs\": {\"per_line_up_to_cap\": " + std::to_string(r.options.runs) +
            ", \"per_line_above_cap\": " + std::to_string(r.options.capRuns) +
            ", \"line_map\": " + std::to_string(r.options.mapRuns) +
            ", \"long_jump\": " + std::to_string(r.lookCost ? r.options.jumpRuns : 0) +
            "},\n  \"keys_taken_by_a_window\": " + std::to_string(r.counts.keysTaken) +
            ",\n  \"shell32_loaded_with_prompt_open\": {\"linenav\": " + std::to_string(sides.linenav.shellLoaded) +
            ", \"floor\": " + std::to_string(sides.floor.shellLoaded) +
            ", \"floor_same_dlls\": " + std::to_string(sides.floorDlls.shellLoaded) +
            ", \"runs_per_side\": " + std::to_string(sides.linenav.launchMs.size()) + "}";
    if (r.lookCost) json += ",\n  \"long_jump\": " + JsonLookCost(*r.lookCost);
    json += "\n}\n";
    HANDLE file =
        CreateFileW(r.options.json.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE ||
        !WriteFile(file, json.data(), static_cast<DWORD>(json.size()), &written, nullptr))
        Fail("cannot write " + Narrow(r.options.json));
    CloseHandle(file);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const Options options = ParseOptions(argc, argv);
    Sides sides(options);
    const std::wstring programFolder = MakeProgramFolder(options.scratch);

    if (options.onlyJump > 0) {
        PrintJumpOnly(
            RunLongJumps(sides.linenav.program, sides.floor.program, programFolder, options.scratch, options.onlyJump));
        std::fflush(stdout);
        return 0;
    }

    // 1, 2 and 4: whole runs, interleaved.
    const std::vector<Case> cases = MakeCases(options);
    EditorSink editor;
    const RoundCounts counts = RunRounds(cases, sides, programFolder, editor);
    if (sides.onlyLaunch) {
        PrintLaunchOnly(sides);
        std::fflush(stdout);
        return 0;
    }

    // 5: the long jump into notepad, on its own: its window would be found by
    // linenav and take the keys in every other case.
    const JumpSamples jump = options.jumpRuns > 0 ? RunLongJumps(sides.linenav.program, sides.floor.program,
                                                                 programFolder, options.scratch, options.jumpRuns)
                                                  : JumpSamples{};
    // 3: the line map, in this process.
    const MapSamples map = options.mapRuns > 0 ? RunLineMap(options.scratch, options.mapRuns) : MapSamples{};

    std::vector<Figure> figures = TableFigures(sides, cases, jump, map);
    std::optional<LookCost> lookCost;
    if (!jump.a.landS.empty()) lookCost = JumpLookCost(jump);
    const Results results{options, sides, counts, std::move(figures), lookCost, ReadFootprint(options, sides.withDlls)};
    PrintTable(results);
    if (!options.json.empty()) WriteJson(results);
    std::fflush(stdout);
    return 0;
}
