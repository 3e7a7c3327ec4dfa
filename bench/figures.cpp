#include "figures.h"

#include "navigator/caret_plan.h"

#include <cstdio>
#include <optional>

namespace {

constexpr char LAUNCH_DLLS_LABEL[] = "launch to ready prompt, floor with linenav's DLLs";
constexpr char FOCUS_DLLS_LABEL[] = "launch to focus in the field, floor with linenav's DLLs";

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
    f.interval = BootstrapRatioInterval(a, b);
    f.limit = limit;
    if (limit > 0) f.goal = Format("<= %.2f", limit);
    return f;
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

} // namespace

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string WithThousands(long long value) {
    std::string digits = std::to_string(value), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::vector<Figure> LaunchOnlyFigures(const Sides& sides) {
    const Side &a = sides.linenav, &c = sides.floorDlls;
    return {MakeFigure("launch_to_ready_prompt_same_dlls_ms", LAUNCH_DLLS_LABEL, "ms", a.launchMs, c.launchMs, 1.05),
            MakeFigure("launch_to_focus_same_dlls_ms", FOCUS_DLLS_LABEL, "ms", a.focusMs, c.focusMs, 1.05)};
}

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
