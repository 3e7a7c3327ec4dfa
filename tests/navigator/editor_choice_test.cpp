#include "navigator/editor_choice.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(EditorChoice, TheFrontProcessFirstThenTheLastMatch) {
    using Offers = std::vector<std::pair<int, uint32_t>>; // window, process; in enumeration order
    struct Case {
        const char* what;
        uint32_t front;
        Offers offers;
        int chosen;
    };
    const Case cases[] = {
        {"nothing matched", 7, {}, 0},
        {"the front editor, enumerated before the one behind", 7, {{1, 7}, {2, 9}}, 1},
        {"the last window of the front process", 7, {{1, 7}, {2, 9}, {3, 7}, {4, 9}}, 3},
        {"no match in the front process: the last of all", 7, {{1, 8}, {2, 9}}, 2},
        {"no foreground window: the last of all", 0, {{1, 0}, {2, 9}}, 2},
    };
    for (const Case& c : cases) {
        EditorChoice<int> choice(c.front);
        for (auto [window, process] : c.offers) choice.Offer(window, process);
        EXPECT_EQ(choice.Chosen(), c.chosen) << c.what;
    }
}

} // namespace
