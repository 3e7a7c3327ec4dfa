#include "options.h"

#include "driver.h"

#include "text_helpers.h"

#include <cstdlib>

namespace {

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

} // namespace

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
        else if (name == L"--old") o.old = value;
        else if (name == L"--lines") o.lines = ParseLines(value);
        else if (name == L"--editor-lines") o.editorLines = ParseLines(value);
        else if (name == L"--runs") o.runs = _wtoi(value.c_str());
        else if (name == L"--cap-runs") o.capRuns = _wtoi(value.c_str());
        else if (name == L"--map-runs") o.mapRuns = _wtoi(value.c_str());
        else if (name == L"--jump-runs") o.jumpRuns = _wtoi(value.c_str());
        else if (name == L"--only-jump") o.onlyJump = _wtoi(value.c_str());
        else if (name == L"--results") o.results = value;
        else if (name == L"--figures") o.figures = value;
        else if (name == L"--cpu") o.facts.cpu = value;
        else if (name == L"--cores") o.facts.cores = _wtoi64(value.c_str());
        else if (name == L"--memory-mib") o.facts.memoryMib = _wtoi64(value.c_str());
        else if (name == L"--system") o.facts.system = value;
        else if (name == L"--wine") o.facts.wine = value;
        else if (name == L"--compiler") o.facts.compiler = value;
        else if (name == L"--load-start") o.facts.loadStart = value;
        else if (name == L"--load-end") o.facts.loadEnd = value;
        else if (name == L"--seconds") o.facts.seconds = _wtoi64(value.c_str());
        else if (name == L"--date") o.facts.date = value;
        else Fail("unknown option " + Narrow(name));
    }
    if (!o.results.empty()) {
        if (o.figures.empty()) Fail("--results needs --figures");
        return o;
    }
    if (o.linenav.empty() || o.floor.empty() || o.scratch.empty())
        Fail("usage: linenav_bench --linenav EXE --floor EXE [--floor-dlls EXE] --scratch FOLDER "
             "[--floor-class CLASS] [--old NAME] [--json FILE] [--lines L,L,...] [--editor-lines L,L,...] "
             "[--runs N] [--cap-runs N] [--map-runs N] [--jump-runs N] [--only-launch N | --only-jump N]\n"
             "   or: linenav_bench --results FILE --figures FILE [--cpu TEXT] [--cores N] [--memory-mib N] "
             "[--system TEXT] [--wine TEXT] [--compiler TEXT] [--load-start TEXT] [--load-end TEXT] "
             "[--seconds N] [--date TEXT]");
    if (o.onlyLaunch > 0 && o.floorDlls.empty()) Fail("--only-launch needs --floor-dlls");
    if (o.scratch.back() != L'\\') o.scratch += L'\\';
    if (o.onlyLaunch > 0 && o.onlyJump > 0) Fail("--only-launch and --only-jump exclude each other");
    // The line map is timed in this process, with this tree's code on one
    // side and a sequential pass on the other: no older linenav takes part.
    if (!o.old.empty()) o.mapRuns = 0;
    if (o.runs < 1 || o.capRuns < 0 || o.mapRuns < 0 || o.jumpRuns < 0)
        Fail("--runs must be at least 1, the others at least 0");
    return o;
}
