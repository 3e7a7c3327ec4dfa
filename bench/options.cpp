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
