#include "long_jump.h"

#include "driver.h"
#include "ratio_interval.h"
#include "stats.h"

#include "notepad.h"

#include "base/system/system_wait.h"
#include "navigator/caret_plan.h"
#include "navigator/modifier_wait.h"

#include <cstdio>

namespace {

constexpr long long JUMP_WARMUP_LINE = 200;
constexpr wchar_t JUMP_DOCUMENT[] = L"Quillo V5. jump.txt"; // notepad's title starts with it
// How long notepad may take to open, or to come in front.
constexpr DWORD NOTEPAD_WAIT_MS = 30000;
// Notepad works through 110-120 Downs a second on an idle machine and far
// fewer under load: the caret is waited for as long as it keeps moving, and
// given up for lost only once it has stood still for this many looks in a row
// (20 s at a look every 5 ms, longer while notepad is slow to answer), or
// after CARET_WAIT_LIMIT_MS in all.
constexpr int CARET_STILL_LOOKS = 4000;
constexpr uint64_t CARET_WAIT_LIMIT_MS = 600000;

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

// Follows notepad's caret from where ResetCaret left it: when it first moved
// (the first key notepad took, Ctrl+Home) and when it first stood on `line`
// (0-based). The time of a look is what is measured; when the watch ends is
// counted in looks, never read off a clock of its own.
class CaretWatch {
public:
    CaretWatch(const Notepad& notepad, long line) : notepad_(notepad), line_(line), seen_(notepad.CaretLine()) {}
    // One look; true once the caret has been on the line.
    bool Look() {
        if (landedAt_ > 0) return true;
        const long now = notepad_.CaretLine();
        const double at = Now();
        stillLooks_ = now == seen_ ? stillLooks_ + 1 : 0;
        if (now != seen_) {
            seen_ = now;
            if (firstMoveAt_ == 0) firstMoveAt_ = at;
        }
        if (seen_ == line_) landedAt_ = at;
        return landedAt_ > 0;
    }
    // Looks until the caret is on the line; false once it has stood still
    // elsewhere for CARET_STILL_LOOKS looks in a row, or after
    // CARET_WAIT_LIMIT_MS in all. Waiting for the caret to stand still
    // (StillWithin) would not do: the watch ends at the first look that finds
    // it on the line, the landing it times.
    bool Wait() {
        WaitWithin(CARET_WAIT_LIMIT_MS, CARET_POLL_MS, [&] { return Look() || stillLooks_ >= CARET_STILL_LOOKS; });
        return landedAt_ > 0;
    }
    long seen() const { return seen_; }
    double firstMoveAt() const { return firstMoveAt_; }
    double landedAt() const { return landedAt_; }

private:
    const Notepad& notepad_;
    long line_, seen_;
    int stillLooks_ = 0; // looks in a row that found the caret where the last one did
    double firstMoveAt_ = 0, landedAt_ = 0;
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

// What linenav asks on a run to `line` whose Ctrl+Home lands at once, counted
// from the key plan it runs: how often it looks at the keyboard, and how many
// answered messages it sends (one before the first key, and one for each
// Ctrl+Home).
struct PlanAsks {
    int looks = 0;
    int answers = 1;
};

PlanAsks CountPlanAsks(long long line) {
    int64_t counter = 0;
    const int64_t target = line;
    PlanAsks asks;
    PlanCaretKeys(
        counter, target, [](const KeyEvent*, int count) { return count; },
        [&] {
            ++asks.looks;
            return true;
        },
        [&] {
            ++asks.answers;
            return CtrlHome::LANDED;
        });
    return asks;
}

// What one look costs, in microseconds: the five modifier keys through
// GetAsyncKeyState and the foreground window, as caret_keys.cpp asks them with
// nobody holding a key (no clock then); the median of a few batches, in this
// process.
double TimeKeyboardLook() {
    constexpr int LOOKS_PER_BATCH = 500;
    std::vector<double> batches;
    volatile int held = 0;
    for (int batch = 0; batch < 9; ++batch) {
        const double started = Now();
        for (int i = 0; i < LOOKS_PER_BATCH; ++i) {
            for (uint8_t key : MODIFIER_KEYS) held = held + (GetAsyncKeyState(key) < 0);
            held = held + (GetForegroundWindow() != nullptr);
        }
        batches.push_back((Now() - started) * 1000.0 / LOOKS_PER_BATCH);
    }
    return Summarize(batches).median;
}

} // namespace

JumpSamples RunLongJumps(const Program& linenav, const Program& floor, const std::wstring& programFolder,
                         const std::wstring& scratch, int pairs) {
    JumpSamples samples;
    Notepad notepad(NOTEPAD_WAIT_MS, LOOK_PAUSE_MS);
    const std::string failed = notepad.Open(scratch + JUMP_DOCUMENT, JumpDocument());
    if (!failed.empty()) Fail("notepad on the jump document: " + failed);
    std::fprintf(stderr, "bench: long jump, warming up\n");
    for (const Program* program : {&linenav, &floor})
        JumpOnce(*program, programFolder, notepad, JUMP_WARMUP_LINE, nullptr);
    for (int pair = 0; pair < pairs; ++pair) {
        const bool reversed = PairReversed(pair);
        std::fprintf(stderr, "bench: long jump, pair %d of %d: %s first\n", pair + 1, pairs,
                     (reversed ? floor : linenav).name);
        std::fflush(stderr);
        if (reversed) JumpOnce(floor, programFolder, notepad, JUMP_LINE, &samples.b);
        JumpOnce(linenav, programFolder, notepad, JUMP_LINE, &samples.a);
        if (!reversed) JumpOnce(floor, programFolder, notepad, JUMP_LINE, &samples.b);
    }
    samples.answerUs = TimeAnsweredMessage(notepad.window());
    return samples;
}

LookCost JumpLookCost(const JumpSamples& jump) {
    const PlanAsks asks = CountPlanAsks(JUMP_LINE);
    LookCost cost{asks.looks, TimeKeyboardLook(), asks.answers, jump.answerUs};
    const double floorS = Summarize(jump.b.landS).median;
    if (floorS > 0) cost.share = cost.looks * cost.lookUs / 1e6 / floorS;
    if (floorS > 0) cost.answerShare = cost.answers * cost.answerUs / 1e6 / floorS;
    return cost;
}
