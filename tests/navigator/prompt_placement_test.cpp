#include "navigator/prompt_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(PromptPlacement, BesideTheEditorAndWhollyInTheWorkArea) {
    const ScreenArea desk{0, 0, 1024, 738};        // a 1024 x 768 screen with a 30-pixel taskbar below
    const ScreenArea right{1024, -200, 2944, 880}; // a second monitor, right of it and higher
    struct Case {
        const char* what;
        int64_t editorLeft, editorTop;
        ScreenArea work;
        int32_t width, height, x, y;
    };
    const Case cases[] = {
        {"inside: unchanged", 40, 40, desk, 126, 86, 320, 120},
        {"left of the screen, prompt still inside", -150, 30, desk, 126, 86, 130, 110},
        {"exactly touching the right and bottom edges", 618, 572, desk, 126, 86, 898, 652},
        {"past the right edge", 700, 40, desk, 126, 86, 898, 120},
        {"past the bottom edge (the taskbar)", 40, 660, desk, 126, 86, 320, 652},
        {"past both", 2000, 2000, desk, 126, 86, 898, 652},
        {"far left and above", -2000, -500, desk, 126, 86, 0, 0},
        {"on a monitor with negative coordinates", 2800, -900, right, 126, 86, 2818, -200},
        {"larger than the work area: its corner stays inside", 500, 500, {0, 0, 100, 50}, 126, 86, 0, 0},
        {"a minimized window parked at -32000", -32000, -32000, desk, 126, 86, 0, 0},
    };
    for (const Case& c : cases) {
        const PromptPlace at = PlacePrompt(c.editorLeft, c.editorTop, c.work, c.width, c.height);
        EXPECT_EQ(at.x, c.x) << c.what;
        EXPECT_EQ(at.y, c.y) << c.what;
    }
}

} // namespace
