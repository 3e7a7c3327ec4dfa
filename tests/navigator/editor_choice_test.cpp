#include "navigator/editor_choice.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(EditorChoice, TheWindowInFrontThenItsProcessThenTheLastMatch) {
    using Offers = std::vector<std::pair<int, uint32_t>>; // window, process; in enumeration order
    struct Case {
        const char* what;
        int front, root; // the foreground window and its root owner; 0: none
        uint32_t process;
        Offers offers;
        int chosen;
    };
    const Case cases[] = {
        {"nothing matched", 5, 5, 7, {}, 0},
        {"the front editor, enumerated before the one behind", 0, 0, 7, {{1, 7}, {2, 9}}, 1},
        {"the last window of the front process", 0, 0, 7, {{1, 7}, {2, 9}, {3, 7}, {4, 9}}, 3},
        {"no match in the front process: the last of all", 5, 5, 7, {{1, 8}, {2, 9}}, 2},
        {"no foreground window: the last of all", 0, 0, 0, {{1, 0}, {2, 9}}, 2},
        {"one program, two windows: the one in front", 1, 1, 7, {{1, 7}, {2, 7}}, 1},
        {"one program, two windows, the other in front", 2, 2, 7, {{1, 7}, {2, 7}}, 2},
        {"a dialog of the editor in front: the editor that owns it", 6, 2, 7, {{1, 7}, {2, 7}, {3, 7}}, 2},
        {"an owned editor window in front: itself, not its owner", 3, 1, 7, {{3, 7}, {1, 7}}, 3},
    };
    for (const Case& c : cases) {
        EditorChoice<int> choice(c.front, c.root, c.process);
        for (auto [window, process] : c.offers) choice.Offer(window, process);
        EXPECT_EQ(choice.Chosen(), c.chosen) << c.what;
    }
}

} // namespace
