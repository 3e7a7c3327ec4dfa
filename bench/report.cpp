#include "report.h"

#include "driver.h"

#include "text_helpers.h"
#include "whole_file.h"

#include <cstdio>
#include <windows.h>

namespace {

std::string Cell(const Summary& s, const char* format) {
    return Format(format, s.median) + " [" + Format(format, s.q1) + "-" + Format(format, s.q3) + "]";
}

std::string IntervalCell(const RatioInterval& r) {
    return r.valid ? Format("%.3f", r.center) + " [" + Format("%.3f", r.low) + "-" + Format("%.3f", r.high) + "]" : "-";
}

// What the interval shows, in words: against an older linenav a ratio wholly
// above 1 is a regression; against a floor it only says linenav is slower.
std::string ShiftWord(const RatioInterval& r, bool againstOld) {
    switch (ShiftOf(r)) {
    case Shift::NO_INTERVAL: return "no interval";
    case Shift::TOO_FEW_PAIRS: return "too few pairs";
    case Shift::SLOWER: return againstOld ? "regression" : "slower";
    case Shift::NONE_SHOWN: return againstOld ? "no change shown" : "no difference shown";
    case Shift::FASTER: return "faster";
    }
    return "";
}

std::string JsonInterval(const RatioInterval& r) {
    if (!r.valid) return "null";
    char text[160];
    std::snprintf(text, sizeof text, "{\"pairs\": %zu, \"geomean\": %.4f, \"low\": %.4f, \"high\": %.4f}", r.pairs,
                  r.center, r.low, r.high);
    return text;
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
        if (static_cast<unsigned char>(c) < 0x20) { // a control character: as its code
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
            continue;
        }
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string JsonText(const std::wstring& text) { return JsonString(Narrow(text)); }

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

double FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<double>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

// One figure on a line of its own, for the quick modes.
void PrintFigureLine(const Figure& f, bool againstOld) {
    const std::string goal = againstOld    ? ShiftWord(f.interval, true)
                             : f.limit > 0 ? "goal " + f.goal + (f.ratio <= f.limit ? " met" : " MISSED") + ", " +
                                                 ShiftWord(f.interval, false)
                                           : ShiftWord(f.interval, false);
    std::printf("\n%s, %s (n=%zu): %s %s, %s %s, ratio %.3f (paired %.3f, 95 %% interval %s), %s\n", f.label.c_str(),
                f.unit.c_str(), f.linenav.count, againstOld ? "new" : "linenav", Cell(f.linenav, "%.4g").c_str(),
                againstOld ? "old" : "floor", Cell(f.floor, "%.4g").c_str(), f.ratio, f.pairedRatio,
                IntervalCell(f.interval).c_str(), goal.c_str());
}

void PrintLookCost(const LookCost& cost) {
    std::printf(
        "long jump: pairs run linenav, floor; floor, linenav; ...; the caret is polled every %lu ms. linenav "
        "looks at the keyboard\n%d times a run (5 x GetAsyncKeyState and GetForegroundWindow each); one look takes "
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

} // namespace

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

void PrintTable(const Results& r) {
    const Sides& sides = r.sides;
    const Footprint& footprint = r.footprint;
    const bool againstOld = !r.options.old.empty();
    const size_t runsPerSide = sides.linenav.launchMs.size();
    std::vector<std::string> labels;
    int width = 40;
    for (const Figure& f : r.figures) {
        labels.push_back(f.label + ", " + f.unit + " (n=" + std::to_string(f.linenav.count) + ")");
        width = static_cast<int>(labels.back().size()) > width ? static_cast<int>(labels.back().size()) : width;
    }
    // Against an older linenav the floor's goals mean nothing: the columns
    // end with the interval's word.
    const auto row = [&](const std::string& label, const std::string& a, const std::string& b, const std::string& ratio,
                         const std::string& interval, const std::string& goal, const std::string& verdict,
                         const std::string& shift) {
        std::printf("%-*s  %-24s %-24s %-6s %-21s ", width, label.c_str(), a.c_str(), b.c_str(), ratio.c_str(),
                    interval.c_str());
        if (!againstOld) std::printf("%-9s %-6s ", goal.c_str(), verdict.c_str());
        std::printf("%s\n", shift.c_str());
    };
    std::printf("\n");
    row("figure", againstOld ? "new" : "linenav", againstOld ? "old " + Narrow(r.options.old) : "floor", "ratio",
        "pairs [95 % interval]", "goal", "", againstOld ? "change" : "difference");
    std::printf("%s\n", std::string(static_cast<size_t>(width) + (againstOld ? 92 : 105), '-').c_str());
    for (size_t i = 0; i < r.figures.size(); ++i) {
        const Figure& f = r.figures[i];
        const std::string verdict = f.limit > 0 ? (f.ratio <= f.limit ? "met" : "MISSED") : "";
        row(labels[i], Cell(f.linenav, "%.4g"), Cell(f.floor, "%.4g"), Format("%.3f", f.ratio),
            IntervalCell(f.interval), f.goal, verdict, ShiftWord(f.interval, againstOld));
    }
    const double sizeA = footprint.linenavBytes, sizeB = footprint.floorBytes;
    const std::string sizeVerdict = sizeA <= 65536 ? "met" : "MISSED";
    row("exe size, KiB", Format("%.1f", sizeA / 1024), Format("%.1f", sizeB / 1024),
        Format("%.3f", sizeB > 0 ? sizeA / sizeB : 0), "-", "<= 64 KiB", sizeVerdict,
        againstOld ? "<= 64 KiB " + sizeVerdict : "");
    const std::string importVerdict = footprint.systemOnly ? "met" : "MISSED: " + Joined(footprint.foreign);
    std::printf("%-*s  %-56s %-9s %s\n", width, "imported DLLs, linenav", Joined(footprint.linenav.dlls).c_str(),
                "system", importVerdict.c_str());
    if (!footprint.linenav.delayLoaded.empty())
        std::printf("%-*s  %s\n", width, "delay-loaded DLLs, linenav", Joined(footprint.linenav.delayLoaded).c_str());
    std::printf("%-*s  %s\n", width, againstOld ? "imported DLLs, old" : "imported DLLs, floor",
                Joined(footprint.floor.dlls).c_str());
    if (sides.withDlls)
        std::printf("%-*s  %s\n", width, "imported DLLs, floor with linenav's DLLs",
                    Joined(footprint.floorDlls.dlls).c_str());
    const char* a = againstOld ? "new" : "linenav";
    const char* b = againstOld ? "old" : "floor";
    const std::string dlls = sides.withDlls ? ", floor with linenav's DLLs" : "";
    std::printf("\nmedian [quartiles]; ratio = %s median / %s median\nruns interleaved %s, %s%s; %s%s, %s; ...: every "
                "other pair in reverse, so that what a run\nleaves to the next one falls on both sides alike\n",
                a, b, a, b, dlls.c_str(), sides.withDlls ? "floor with linenav's DLLs, " : "", b, a);
    std::printf("pairs [95 %% interval]: geometric mean of the ratios of the runs made next to each other, and the "
                "2.5-97.5 %%\nquantiles of that mean over %d resamplings of the pairs with replacement (fixed "
                "seed). %s only when the\ninterval lies wholly above 1, faster only when wholly below; no verdict on "
                "fewer than %zu "
                "pairs.\n",
                BOOTSTRAP_RESAMPLES, againstOld ? "A regression" : "Slower", MIN_VERDICT_PAIRS);
    if (againstOld)
        std::printf("old: linenav built from %s; \"floor\" in the notes below is that build. The line map is "
                    "left out:\nthe driver times it in its own process, with the new code only.\n",
                    Narrow(r.options.old).c_str());
    std::printf("pairs: %d per line up to the Down-press cap, %d above it, %d for the line map, %d for the long "
                "jump;\nlaunch and footprint pool all %zu runs per side outside the long jump.\n",
                r.options.runs, r.options.capRuns, r.options.mapRuns, r.options.jumpRuns, runsPerSide);
    if (sides.withDlls)
        std::printf("the floor with linenav's DLLs runs next to each floor run, always typing line 1; "
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
    const bool againstOld = !r.options.old.empty();
    std::string json = "{\n  \"compared_with\": " +
                       (againstOld ? "{\"kind\": \"old linenav\", \"name\": " + JsonText(r.options.old) + "}"
                                   : std::string("{\"kind\": \"floor\"}")) +
                       ",\n  \"interval\": {\"statistic\": \"geometric mean of the per-pair ratios\", \"level\": 0.95, "
                       "\"resamples\": " +
                       std::to_string(BOOTSTRAP_RESAMPLES) + ", \"seed\": " + std::to_string(BOOTSTRAP_SEED) +
                       "},\n  \"figures\": {\n";
    for (size_t i = 0; i < r.figures.size(); ++i) {
        const Figure& f = r.figures[i];
        json += "    " + JsonString(f.key) + ": {\"label\": " + JsonString(f.label) +
                ", \"unit\": " + JsonString(f.unit) + ", \"linenav\": " + JsonSummary(f.linenav) +
                ", \"floor\": " + JsonSummary(f.floor) + ", \"ratio\": " + Format("%.4f", f.ratio) +
                ", \"paired_ratio\": " + Format("%.4f", f.pairedRatio) + ", \"interval\": " + JsonInterval(f.interval) +
                ", \"verdict\": " + JsonString(ShiftWord(f.interval, againstOld));
        if (f.limit > 0 && !againstOld) {
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
    if (!WriteWholeFile(r.options.json, json.data(), json.size())) Fail("cannot write " + Narrow(r.options.json));
}

void PrintLaunchOnly(const Sides& sides, bool againstOld) {
    for (const Figure& f : LaunchOnlyFigures(sides)) PrintFigureLine(f, againstOld);
    std::printf("runs interleaved linenav, floor with linenav's DLLs; floor with linenav's DLLs, linenav; ...; line 1, "
                "no editor\n");
}

void PrintJumpOnly(const JumpSamples& jump, bool againstOld) {
    for (const Figure& f : JumpFigures(jump)) PrintFigureLine(f, againstOld);
    PrintLookCost(JumpLookCost(jump));
}

void WriteResults(const Options& options) {
    const RunFacts& f = options.facts;
    const std::vector<unsigned char> figures = ReadWholeFile(options.figures);
    if (figures.empty()) Fail("cannot read " + Narrow(options.figures));
    // The figures' object nested as "bench", every line after its first
    // indented once more.
    std::string bench;
    for (size_t i = 0; i < figures.size(); ++i) {
        bench += static_cast<char>(figures[i]);
        if (figures[i] == '\n' && i + 1 < figures.size()) bench += "  ";
    }
    const std::string json =
        "{\n  \"machine\": {\"cpu\": " + JsonText(f.cpu) + ", \"cores\": " + std::to_string(f.cores) +
        ", \"memory_mib\": " + std::to_string(f.memoryMib) + ",\n              \"system\": " + JsonText(f.system) +
        ", \"wine\": " + JsonText(f.wine) + ",\n              \"compiler\": " + JsonText(f.compiler) +
        "},\n  \"load_average\": {\"start\": " + JsonText(f.loadStart) + ", \"end\": " + JsonText(f.loadEnd) +
        "},\n  \"seconds\": " + std::to_string(f.seconds) + ",\n  \"date\": " + JsonText(f.date) +
        ",\n  \"bench\": " + bench + "}\n";
    if (!WriteWholeFile(options.results, json.data(), json.size())) Fail("cannot write " + Narrow(options.results));
}
