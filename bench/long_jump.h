// The long jump into a real editor: Return to the caret on line 2,990 of a
// 3,000-line document in Wine's own notepad, linenav and the floor in turn;
// and what linenav's keyboard looks and answered messages cost on that road.
#pragma once

#include "launch_runs.h"

#include <cstdint>
#include <string>
#include <vector>

// Wine's own notepad on a document of JUMP_DOCUMENT_LINES lines, the caret
// sent to line JUMP_LINE near its end. Notepad takes a Down press in about
// 9 ms on an idle machine, far slower than either program sends them, so the
// time is mostly notepad's; what the sender adds on top shows in the ratio.
constexpr int JUMP_DOCUMENT_LINES = 3000;
constexpr long long JUMP_LINE = 2990;
// Every look at the caret is a message notepad answers between two keys, for
// both sides alike; a look every 5 ms resolves the landing to 0.02 % of 25 s
// and the caret's first move to a few milliseconds.
constexpr DWORD CARET_POLL_MS = 5;

struct JumpSide {
    std::vector<double> landS;       // Return to the caret on the line
    std::vector<double> firstMoveMs; // Return to the caret's first move: notepad took Ctrl+Home
    std::vector<double> exitMs;      // Return to the sender's exit
};

struct JumpSamples {
    JumpSide a, b;       // linenav, floor
    double answerUs = 0; // one message notepad answers, as linenav sends it before and during Ctrl+Home
};

// linenav and the floor in turn, `pairs` times, into one notepad; every other
// pair the floor goes first.
JumpSamples RunLongJumps(const Program& linenav, const Program& floor, const std::wstring& programFolder,
                         const std::wstring& scratch, int pairs);

struct LookCost {
    int looks;              // per run to JUMP_LINE
    double lookUs;          // one look, measured here
    int answers;            // answered messages per run
    double answerUs;        // one of them, measured here into notepad
    double share = 0;       // all looks of a run over the floor's median landing time
    double answerShare = 0; // all answered messages of a run, likewise
};

// The keyboard looks and answered messages of a run to JUMP_LINE, and their
// cost against the floor's median jump.
LookCost JumpLookCost(const JumpSamples& jump);
