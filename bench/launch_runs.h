// The rounds of whole runs: each program started as the editor starts it,
// timed to its ready prompt, typed into, timed from Return to its exit, its
// footprint read while the prompt is open. Launch, keys and footprint.
#pragma once

#include "keystroke_runs.h"
#include "options.h"

#include <functional>
#include <string>
#include <vector>

struct Program {
    const char* name;
    std::wstring path;
    const wchar_t* windowClass; // class of the prompt window
};

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

// One run: start the program as the editor would, wait for its prompt, type
// the line, press Return, wait for the exit; with `whileSending`, it is called
// about every 5 ms until then.
Run RunOnce(const Program& program, const std::wstring& programFolder, long long line,
            const std::function<void()>& whileSending = {});

// One line typed into each program of the rotation, `pairs` times.
struct Case {
    long long line;
    int pairs;
    bool intoEditor; // the editor window in front takes the keys
};

// With --only-launch, line 1 alone; else every line (the one above the
// Down-press cap with its own number of pairs, left out at 0) and then the
// lines into the editor.
std::vector<Case> MakeCases(const Options& options);

// One program of the rotation and what its runs gave, a list per figure.
struct Side {
    explicit Side(Program program, bool launchOnly = false) : program(std::move(program)), launchOnly(launchOnly) {}

    Program program;
    bool launchOnly; // types line 1 whatever the case; only its launch counts
    std::vector<double> launchMs, focusMs;
    std::vector<double> peakWorkingSetMiB, privateMiB;
    std::vector<std::vector<double>> usPerKey; // Return to exit over the key events; a list per case
    int shellLoaded = 0;                       // runs with shell32.dll loaded while the prompt was open

    // Keeps what `run`, this program's run of case `caseIndex` to `line`, gave.
    void Take(const Run& run, size_t caseIndex, long long line);
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

    // The programs of a turn, in the order they run in the first round: A, B
    // (, C); A, C with --only-launch. Every other round runs them in reverse.
    std::vector<Side*> Rotation();
};

// What the rounds saw besides the figures.
struct RoundCounts {
    int keysTaken = 0;        // runs without an editor in which a window was in front when the keys went out
    int editorRuns = 0;       // runs into the editor window
    long long editorKeys = 0; // key messages it took
};

// The editor's program folder, in portable mode with no line map: the data
// folder is looked up as in every run, and no record is read.
std::wstring MakeProgramFolder(const std::wstring& scratch);

// The launch, per-key and footprint runs. A first run of each program warms
// the file cache and leaves no window in front (a fresh desktop starts with
// its own window in front, which would take the keys). Then, round after
// round, every case with pairs left has a turn, the programs in the rotation's
// order or, every other round, the reverse; the case above the cap, with
// fewer pairs, runs in the first rounds only.
RoundCounts RunRounds(const std::vector<Case>& cases, Sides& sides, const std::wstring& programFolder,
                      EditorSink& editor);
