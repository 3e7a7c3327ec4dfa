#include "navigator/caret_plan.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct KeyEvent {
    uint8_t key;
    uint32_t flags;
    bool operator==(const KeyEvent&) const = default;
};

std::string Name(const KeyEvent& e) {
    const char* key = e.key == KEY_LEFT_CONTROL ? "VK_LCONTROL"
                      : e.key == KEY_HOME       ? "VK_HOME"
                      : e.key == KEY_DOWN       ? "VK_DOWN"
                                                : "?";
    return std::string(key) + (e.flags == KEY_RELEASE ? " up" : e.flags == KEY_PRESS ? " down" : " ?");
}

std::vector<KeyEvent> Plan(int64_t line) {
    std::vector<KeyEvent> events;
    int64_t counter = 0;
    PlanCaretKeys(counter, line, [&](uint8_t key, uint32_t flags) { events.push_back({key, flags}); });
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
        PlanCaretKeys(counter, c.line, [&](uint8_t key, uint32_t flags) {
            ++events;
            if (key == KEY_DOWN && flags == KEY_PRESS) ++downs;
        });
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
        {200, 0, 5, 199, true, true},  // looks before the first key, Down 64, 128, 192 and the final Home
        {200, 1, 1, 0, false, false},  // a modifier held past the bound, or the keyboard elsewhere: nothing
        {200, 2, 2, 63, true, false},  // at most 63 Downs before the first look after Ctrl+Home
        {200, 4, 4, 191, true, false}, // stopped before Down 192
        {200, 5, 5, 199, true, false}, // stopped before the final Home
        {65, 0, 3, 64, true, true},    {64, 0, 2, 63, true, true}, // 63 Downs: no look between them
        {1, 2, 2, 0, true, false},                                 // Ctrl+Home goes out whole, then nothing
    };
    for (const Case& c : cases) {
        int64_t counter = 0, checks = 0, downs = 0;
        std::vector<KeyEvent> events;
        PlanCaretKeys(
            counter, c.line,
            [&](uint8_t key, uint32_t flags) {
                events.push_back({key, flags});
                if (key == KEY_DOWN && flags == KEY_PRESS) ++downs;
            },
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

TEST(CaretPlan, CtrlHomeAgainWhenItsCtrlWasLetGo) {
    const std::vector<KeyEvent> group = {CTRL_DOWN, HOME_DOWN, HOME_UP, CTRL_UP},
                                tail = {DOWN_DOWN, DOWN_UP, HOME_DOWN, HOME_UP};
    struct Case {
        const char* what;
        int lostTimes; // looks at Ctrl that find it let go
        int groups;    // Ctrl+Home groups sent
    };
    const Case cases[] = {{"held", 0, 1}, {"let go once", 1, 2}, {"never held: at most three", 99, 3}};
    for (const Case& c : cases) {
        std::vector<KeyEvent> actual, expected;
        for (int i = 0; i < c.groups; ++i) expected.insert(expected.end(), group.begin(), group.end());
        expected.insert(expected.end(), tail.begin(), tail.end());
        int64_t counter = 0, line = 2;
        int looks = 0;
        PlanCaretKeys(
            counter, line,
            [&](uint8_t key, uint32_t flags) {
                actual.push_back({key, flags});
            },
            [] { return true; }, [&] { return looks++ >= c.lostTimes; });
        EXPECT_EQ(actual, expected) << c.what << "\nexpected:\n" << Show(expected) << "actual:\n" << Show(actual);
    }
}

TEST(CaretPlan, DownPressLimit) {
    EXPECT_EQ(DownPressLimit(INT64_MIN), 0);
    EXPECT_EQ(DownPressLimit(1), 0);
    EXPECT_EQ(DownPressLimit(2), 1);
    EXPECT_EQ(DownPressLimit(INT64_MAX), MAX_DOWN_PRESSES);
}

} // namespace
