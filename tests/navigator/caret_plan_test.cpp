#include "navigator/caret_plan.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The plan's groups, one event at a time, each going in whole.
template <class Each> auto Events(Each&& each) {
    return [&each](const KeyEvent* events, int count) {
        for (int i = 0; i < count; ++i) each(events[i]);
        return count;
    };
}

// Marks where the plan asked: not key events.
constexpr KeyEvent LOOK_KEYBOARD{0, 100}, LOOK_CTRL_HOME{0, 101};

std::string Name(const KeyEvent& e) {
    if (e == LOOK_KEYBOARD) return "look: keyboard";
    if (e == LOOK_CTRL_HOME) return "look: Ctrl+Home landed";
    const char* key = e.key == KEY_LEFT_CONTROL ? "VK_LCONTROL"
                      : e.key == KEY_HOME       ? "VK_HOME"
                      : e.key == KEY_DOWN       ? "VK_DOWN"
                                                : "?";
    return std::string(key) + (e.flags == KEY_RELEASE ? " up" : e.flags == KEY_PRESS ? " down" : " ?");
}

std::vector<KeyEvent> Plan(int64_t line) {
    std::vector<KeyEvent> events;
    int64_t counter = 0;
    PlanCaretKeys(counter, line, Events([&](KeyEvent e) { events.push_back(e); }));
    return events;
}

std::string Show(const std::vector<KeyEvent>& events) {
    std::string text;
    for (const KeyEvent& e : events) text += Name(e) + "\n";
    return text;
}

constexpr KeyEvent CTRL_DOWN{KEY_LEFT_CONTROL, KEY_PRESS}, CTRL_UP{KEY_LEFT_CONTROL, KEY_RELEASE},
    HOME_DOWN{KEY_HOME, KEY_PRESS}, HOME_UP{KEY_HOME, KEY_RELEASE}, DOWN_DOWN{KEY_DOWN, KEY_PRESS},
    DOWN_UP{KEY_DOWN, KEY_RELEASE};

TEST(CaretPlan, ExactSequences) {
    const std::vector<KeyEvent> top = {CTRL_DOWN, HOME_DOWN, HOME_UP, CTRL_UP, HOME_DOWN, HOME_UP};
    struct Case {
        int64_t line;
        std::vector<KeyEvent> keys;
    };
    const Case cases[] = {
        {1, top},
        {0, top},
        {-5, top},
        {INT64_MIN, top},
        {2, {CTRL_DOWN, HOME_DOWN, HOME_UP, CTRL_UP, DOWN_DOWN, DOWN_UP, HOME_DOWN, HOME_UP}},
        {3, {CTRL_DOWN, HOME_DOWN, HOME_UP, CTRL_UP, DOWN_DOWN, DOWN_UP, DOWN_DOWN, DOWN_UP, HOME_DOWN, HOME_UP}},
    };
    for (const Case& c : cases) {
        const auto actual = Plan(c.line);
        EXPECT_EQ(actual, c.keys) << "line " << c.line << "\nexpected:\n"
                                  << Show(c.keys) << "actual:\n"
                                  << Show(actual);
    }
}

TEST(CaretPlan, EventCountIsSixPlusTwoPerDownUpToTheCap) {
    struct Case {
        int64_t line, events;
    };
    const Case cases[] = {
        {500, 6 + 2 * 499},
        {MAX_DOWN_PRESSES, 6 + 2 * (MAX_DOWN_PRESSES - 1)},
        {MAX_DOWN_PRESSES + 1, 6 + 2 * MAX_DOWN_PRESSES},
        {MAX_DOWN_PRESSES + 2, 6 + 2 * MAX_DOWN_PRESSES},
        {99999999999, 6 + 2 * MAX_DOWN_PRESSES},
        {INT64_MAX, 6 + 2 * MAX_DOWN_PRESSES},
    };
    for (const Case& c : cases) {
        int64_t counter = 0, events = 0, downs = 0;
        PlanCaretKeys(counter, c.line, Events([&](KeyEvent e) {
                          ++events;
                          if (e == DOWN_DOWN) ++downs;
                      }));
        EXPECT_EQ(events, c.events) << "line " << c.line;
        EXPECT_EQ(downs, (c.events - 6) / 2) << "line " << c.line;
    }
}

TEST(CaretPlan, CtrlIsReleasedBeforeTheFirstDown) {
    const auto events = Plan(10);
    size_t ctrlUp = 0, firstDown = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i] == CTRL_UP && !ctrlUp) ctrlUp = i;
        if (events[i] == DOWN_DOWN && !firstDown) firstDown = i;
    }
    EXPECT_LT(ctrlUp, firstDown);
}

TEST(CaretPlan, StopsWhenTheKeyboardIsNotReady) {
    struct Case {
        int64_t line;
        int noAtCheck; // the look that first says no; 0 = never
        int64_t checks, downs;
        bool ctrlHome, finalHome;
    };
    const Case cases[] = {
        {200, 0, 6, 199, true, true},  // looks before the first key, Down 1, 64, 128, 192 and the final Home
        {200, 1, 1, 0, false, false},  // a modifier held past the bound, or the keyboard elsewhere: nothing
        {200, 2, 2, 0, true, false},   // the keyboard gone while Ctrl+Home landed: no Down
        {200, 3, 3, 63, true, false},  // at most 63 Downs between two looks
        {200, 5, 5, 191, true, false}, // stopped before Down 192
        {200, 6, 6, 199, true, false}, // stopped before the final Home
        {65, 0, 4, 64, true, true},    {64, 0, 3, 63, true, true}, // 63 Downs: no look between them
        {1, 2, 2, 0, true, false},                                 // Ctrl+Home goes out whole, then nothing
    };
    for (const Case& c : cases) {
        int64_t counter = 0, checks = 0, downs = 0;
        std::vector<KeyEvent> events;
        PlanCaretKeys(counter, c.line, Events([&](KeyEvent e) {
                          events.push_back(e);
                          if (e == DOWN_DOWN) ++downs;
                      }),
                      [&] { return ++checks != c.noAtCheck; });
        SCOPED_TRACE("line " + std::to_string(c.line) + ", no at look " + std::to_string(c.noAtCheck));
        EXPECT_EQ(checks, c.checks);
        EXPECT_EQ(downs, c.downs);
        EXPECT_EQ(events.size(), static_cast<size_t>((c.ctrlHome ? 4 : 0) + 2 * c.downs + (c.finalHome ? 2 : 0)));
        // Every press is followed at once by its release: no key is left down.
        for (size_t i = 4; i + 1 < events.size(); i += 2) {
            EXPECT_EQ(events[i + 1], (KeyEvent{events[i].key, KEY_RELEASE})) << "event " << i + 1;
        }
        if (!events.empty()) {
            EXPECT_EQ(events.back().flags, KEY_RELEASE);
        }
    }
}

// The look at Ctrl+Home comes while Ctrl and Home are both down: after their
// releases it could no longer tell a Home the editor took plain.
TEST(CaretPlan, CtrlHomeAgainUntilItIsKnownToHaveLanded) {
    const std::vector<KeyEvent> once = {CTRL_DOWN, HOME_DOWN, LOOK_CTRL_HOME, HOME_UP, CTRL_UP},
                                again = {LOOK_KEYBOARD},
                                tail = {LOOK_KEYBOARD, DOWN_DOWN, DOWN_UP, LOOK_KEYBOARD, HOME_DOWN, HOME_UP};
    struct Case {
        const char* what;
        int missed;         // looks at Ctrl+Home that find it has not landed
        CtrlHome miss;      // what those looks find
        int keyboardGoneAt; // the keyboard look that first says no; 0 = never
        int tries;          // Ctrl+Home groups sent
        bool rest;          // the Down and the final Home follow
    };
    const Case cases[] = {
        {"landed at once", 0, CtrlHome::LOST, 0, 1, true},
        {"landed at the second try", 1, CtrlHome::LOST, 0, 2, true},
        {"landed at the third try", 2, CtrlHome::LOST, 0, 3, true},
        {"never landed: three tries, then no Down and no Home", 99, CtrlHome::LOST, 0, 3, false},
        {"not landed, and the keyboard gone before the second try", 1, CtrlHome::LOST, 2, 1, false},
        {"no answer: no second try into a hung editor", 1, CtrlHome::UNANSWERED, 0, 1, false},
    };
    for (const Case& c : cases) {
        std::vector<KeyEvent> actual, expected = {LOOK_KEYBOARD};
        for (int i = 0; i < c.tries; ++i) {
            if (i > 0) expected.insert(expected.end(), again.begin(), again.end());
            expected.insert(expected.end(), once.begin(), once.end());
        }
        if (c.keyboardGoneAt) expected.push_back(LOOK_KEYBOARD);
        if (c.rest) expected.insert(expected.end(), tail.begin(), tail.end());
        int64_t counter = 0, line = 2;
        int ctrlLooks = 0, keyboardLooks = 0;
        PlanCaretKeys(
            counter, line, Events([&](KeyEvent e) { actual.push_back(e); }),
            [&] {
                actual.push_back(LOOK_KEYBOARD);
                return ++keyboardLooks != c.keyboardGoneAt;
            },
            [&] {
                actual.push_back(LOOK_CTRL_HOME);
                return ctrlLooks++ >= c.missed ? CtrlHome::LANDED : c.miss;
            });
        EXPECT_EQ(actual, expected) << c.what << "\nexpected:\n" << Show(expected) << "actual:\n" << Show(actual);
    }
}

// Another program's input can block injected keys (BlockInput, a secure
// desktop): SendInput then inserts fewer events than it was given. Whatever
// went down goes up again, and nothing else follows.
TEST(CaretPlan, AGroupNotInsertedWholeEndsTheRunWithEveryKeyUp) {
    struct Case {
        const char* what;
        int group, inserted; // the group (from 1) that is cut short, and how much of it went in
        std::vector<KeyEvent> expected;
    };
    const Case cases[] = {
        {"nothing of Ctrl+Home", 1, 0, {}},
        {"Ctrl without Home", 1, 1, {CTRL_DOWN, CTRL_UP}},
        {"neither release", 2, 0, {CTRL_DOWN, HOME_DOWN, HOME_UP, CTRL_UP}},
        {"Home's release without Ctrl's", 2, 1, {CTRL_DOWN, HOME_DOWN, HOME_UP, CTRL_UP}},
        {"a Down without its release", 3, 1, {CTRL_DOWN, HOME_DOWN, HOME_UP, CTRL_UP, DOWN_DOWN, DOWN_UP}},
        {"the final Home without its release",
         5,
         1,
         {CTRL_DOWN, HOME_DOWN, HOME_UP, CTRL_UP, DOWN_DOWN, DOWN_UP, DOWN_DOWN, DOWN_UP, HOME_DOWN, HOME_UP}},
    };
    for (const Case& c : cases) {
        std::vector<KeyEvent> actual;
        int groups = 0;
        int64_t counter = 0, line = 3;
        PlanCaretKeys(counter, line, [&](const KeyEvent* events, int count) {
            const int in = ++groups == c.group ? c.inserted : count;
            actual.insert(actual.end(), events, events + in);
            return in;
        });
        EXPECT_EQ(actual, c.expected) << c.what << "\nexpected:\n" << Show(c.expected) << "actual:\n" << Show(actual);
    }
}

TEST(CaretPlan, DownPressLimit) {
    EXPECT_EQ(DownPressLimit(INT64_MIN), 0);
    EXPECT_EQ(DownPressLimit(1), 0);
    EXPECT_EQ(DownPressLimit(2), 1);
    EXPECT_EQ(DownPressLimit(INT64_MAX), MAX_DOWN_PRESSES);
}

} // namespace
