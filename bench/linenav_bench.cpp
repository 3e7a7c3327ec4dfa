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
// linenav (A) and the floor (B) always run in pairs next to each other, so
// that whatever else loads the machine hits both sides alike, and every other
// pair in reverse, A, B; B, A; A, B; ..., so that what a run leaves to the
// next one does too; with a same-DLL floor (C) it is A, B, C; C, B, A; ...,
// C always typing line 1 (only its launch counts). --only-launch N runs just
// A, C; C, A; ... N pairs for the launch figure, --only-jump N just the long
// jump, N pairs. Prints one table
// and writes the figures as JSON. After a run, --results FILE --figures FILE
// with the facts only the script knows (the machine, the load at the end, the
// time taken) writes the whole results file.
//
// The parts: options.h (the command line), launch_runs.h (the rounds of whole
// runs), keystroke_runs.h (the editor window that takes the keys),
// long_jump.h, line_map_runs.h, figures.h and report.h (the table and its
// JSON).
#include "driver.h"
#include "launch_runs.h"
#include "line_map_runs.h"
#include "long_jump.h"
#include "options.h"
#include "report.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    const Options options = ParseOptions(argc, argv);
    if (!options.results.empty()) {
        WriteResults(options);
        return 0;
    }
    Sides sides(options);
    const std::wstring programFolder = MakeProgramFolder(options.scratch);

    if (options.onlyJump > 0) {
        PrintJumpOnly(
            RunLongJumps(sides.linenav.program, sides.floor.program, programFolder, options.scratch, options.onlyJump),
            !options.old.empty());
        std::fflush(stdout);
        return 0;
    }

    // 1, 2 and 4: whole runs, interleaved.
    const std::vector<Case> cases = MakeCases(options);
    EditorSink editor;
    const RoundCounts counts = RunRounds(cases, sides, programFolder, editor);
    if (sides.onlyLaunch) {
        PrintLaunchOnly(sides, !options.old.empty());
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
