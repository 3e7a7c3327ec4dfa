#include "navigator/editor_choice.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

TEST(EditorChoice, TheWindowInFrontOrItsNearestOwnerThenItsProcessThenTheLastMatch) {
    using Offers = std::vector<std::pair<int, uint32_t>>; // window, process; in enumeration order
    using Owners = std::map<int, int>;                    // window -> its owner
    struct Case {
        const char* what;
        int front; // the foreground window; 0: none
        Owners owners;
        uint32_t process;
        Offers offers;
        int chosen;
    };
    const Case cases[] = {
        {"nothing matched", 5, {}, 7, {}, 0},
        {"the front process's match nearest the front", 0, {}, 7, {{1, 7}, {2, 9}, {3, 7}, {4, 9}}, 1},
        {"no match in the front process: the last of all", 5, {}, 7, {{1, 8}, {2, 9}}, 2},
        {"no foreground window: the last of all", 0, {}, 0, {{1, 0}, {2, 9}}, 2},
        {"one program, two windows: the one in front", 1, {}, 7, {{1, 7}, {2, 7}}, 1},
        {"one program, two windows, the other in front", 2, {}, 7, {{1, 7}, {2, 7}}, 2},
        {"a tool window of the window behind in front: its owner", 6, {{6, 2}}, 7, {{1, 7}, {2, 7}}, 2},
        {"an owned window whose owner's owner matches", 6, {{6, 5}, {5, 2}}, 7, {{1, 7}, {2, 7}, {3, 7}}, 2},
        {"the nearest owner that matches, not the farthest", 6, {{6, 3}, {3, 1}}, 7, {{1, 7}, {3, 7}}, 3},
        {"an owned editor window in front: itself, not its owner", 3, {{3, 1}}, 7, {{3, 7}, {1, 7}}, 3},
        {"owners that loop end the walk", 6, {{6, 5}, {5, 6}}, 7, {{1, 7}, {2, 7}}, 1},
    };
    for (const Case& c : cases) {
        const auto ownerOf = [&](int window) {
            auto owner = c.owners.find(window);
            return owner == c.owners.end() ? 0 : owner->second;
        };
        EditorChoice<int> choice(c.front, c.process, ownerOf);
        for (auto [window, process] : c.offers) choice.Offer(window, process);
        EXPECT_EQ(choice.Chosen(), c.chosen) << c.what;
    }
}

} // namespace
