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
        {3, {CTRL_DOWN, HOME_DOWN, HOME_UP, CTRL_UP, DOWN_DOWN, DOWN_UP, DOWN_DOWN, DOWN_UP, HOME_DOWN,
             HOME_UP}},
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

TEST(CaretPlan, DownPressLimit) {
    EXPECT_EQ(DownPressLimit(INT64_MIN), 0);
    EXPECT_EQ(DownPressLimit(1), 0);
    EXPECT_EQ(DownPressLimit(2), 1);
    EXPECT_EQ(DownPressLimit(INT64_MAX), MAX_DOWN_PRESSES);
}

} // namespace
