// How OpenAppWindow's flag word becomes styles and a show command, and where
// the window goes: the plain rules, without a window.
#include "ui/windows/window_plan.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

// Window styles the cases are written with (values of winuser.h).
constexpr uint32_t SYSMENU = 0x80000, MINIMIZEBOX = 0x20000, MAXIMIZEBOX = 0x10000, BORDER = 0x800000,
                   DLGFRAME = 0x400000, POPUP = 0x80000000;
// ShowWindow commands.
constexpr int SW_NORMAL_ = 1, SW_MINIMIZED_ = 2, SW_MAXIMIZED_ = 3, SW_NOACTIVATE_ = 4, SW_MINNOACTIVE_ = 7, SW_NA_ = 8;

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

struct PlanCase {
    const char* name;
    uint32_t flags;
    uint32_t style;       // for AdjustWindowRectEx
    uint32_t createStyle; // for CreateWindowExW
    uint32_t exStyle;
    bool hidden, noActivate, noContainer, center, minMax;
    int showCommand;
};

// Columns: style, createStyle, exStyle, hidden, noActivate, noContainer, center, minMax, show.
const PlanCase PLAN_CASES[] = {
    {"default flags", DEFAULT_WINDOW_FLAGS, 0xC80000, 0xC80000, 0, false, false, false, false, false, SW_NORMAL_},
    {"no flags: caption added", 0, 0xC00000, 0xC00000, 0, false, false, false, false, false, SW_NORMAL_},
    {"hidden alone: caption added", OPEN_HIDDEN, 0xC00000, 0xC00000, 0, true, false, false, false, false, SW_NORMAL_},
    {"hidden with default flags", OPEN_HIDDEN | DEFAULT_WINDOW_FLAGS, 0xC80000, 0xC80000, 0, true, false, false, false,
     false, SW_NORMAL_},
    {"centre on screen alone: caption added", OPEN_CENTER_SCREEN, 0xC00000, 0xC00000, 0, false, false, false, true,
     false, SW_NORMAL_},
    {"centre on parent alone: caption added", OPEN_CENTER_PARENT, 0xC00000, 0xC00000, 0, false, false, false, true,
     false, SW_NORMAL_},
    {"hidden, centred: caption added", OPEN_HIDDEN | OPEN_CENTER_SCREEN | OPEN_CENTER_PARENT, 0xC00000, 0xC00000, 0,
     true, false, false, true, false, SW_NORMAL_},
    // Bit 3 goes before the caption rule looks at the flags.
    {"no container alone: caption added", OPEN_NO_CONTAINER, 0xC00000, 0xC00000, 0, false, false, true, false, false,
     SW_NORMAL_},
    {"no container with default flags", OPEN_NO_CONTAINER | DEFAULT_WINDOW_FLAGS, 0xC80000, 0xC80000, 0, false, false,
     true, false, false, SW_NORMAL_},
    // Any real style bit, even one that draws no caption, keeps the caption off.
    {"system menu alone: no caption", SYSMENU, SYSMENU, SYSMENU, 0, false, false, false, false, false, SW_NORMAL_},
    {"popup alone: no caption", POPUP, POPUP, POPUP, 0, false, false, false, false, false, SW_NORMAL_},
    {"tool window alone", OPEN_TOOL_WINDOW, 0xC00000, 0xC00000, 0x80, false, false, false, false, false, SW_NORMAL_},
    {"tool window clears boxes, minimize, maximize",
     OPEN_TOOL_WINDOW | SYSMENU | MINIMIZEBOX | MAXIMIZEBOX | STYLE_MINIMIZE | STYLE_MAXIMIZE, 0xC80000, 0xC80000, 0x80,
     false, false, false, false, false, SW_NORMAL_},
    {"tool window keeps a thick frame", OPEN_TOOL_WINDOW | STYLE_THICKFRAME, 0xC40000, 0xC40000, 0x80, false, false,
     false, false, false, SW_NORMAL_},
    // Bit 25 is WS_CLIPCHILDREN: kept for the size computation, never created.
    {"no activation alone: no caption", OPEN_NO_ACTIVATE, OPEN_NO_ACTIVATE, 0, 0, false, true, false, false, false,
     SW_NOACTIVATE_},
    {"no activation", OPEN_NO_ACTIVATE | DEFAULT_WINDOW_FLAGS, 0x2C80000, 0xC80000, 0, false, true, false, false, false,
     SW_NOACTIVATE_},
    {"maximized", STYLE_MAXIMIZE | DEFAULT_WINDOW_FLAGS, 0x1C80000, 0x1C80000, 0, false, false, false, false, true,
     SW_MAXIMIZED_},
    {"minimized", STYLE_MINIMIZE | DEFAULT_WINDOW_FLAGS, 0x20C80000, 0x20C80000, 0, false, false, false, false, true,
     SW_MINIMIZED_},
    {"maximized wins over minimized", STYLE_MAXIMIZE | STYLE_MINIMIZE | DEFAULT_WINDOW_FLAGS, 0x21C80000, 0x21C80000, 0,
     false, false, false, false, true, SW_MAXIMIZED_},
    {"maximized, no activation", OPEN_NO_ACTIVATE | STYLE_MAXIMIZE | DEFAULT_WINDOW_FLAGS, 0x3C80000, 0x1C80000, 0,
     false, true, false, false, true, SW_NA_},
    {"minimized, no activation", OPEN_NO_ACTIVATE | STYLE_MINIMIZE | DEFAULT_WINDOW_FLAGS, 0x22C80000, 0x20C80000, 0,
     false, true, false, false, true, SW_MINNOACTIVE_},
    {"hidden, maximized: still marked", OPEN_HIDDEN | STYLE_MAXIMIZE | DEFAULT_WINDOW_FLAGS, 0x1C80000, 0x1C80000, 0,
     true, false, false, false, true, SW_MAXIMIZED_},
    {"every runtime bit",
     OPEN_CENTER_SCREEN | OPEN_CENTER_PARENT | OPEN_TOOL_WINDOW | OPEN_NO_CONTAINER | OPEN_NO_ACTIVATE | OPEN_HIDDEN,
     0x2C00000, 0xC00000, 0x80, true, true, true, true, false, SW_NOACTIVATE_},
};

TEST(WindowPlan, FlagWordBecomesStylesAndShowCommand) {
    for (const PlanCase& c : PLAN_CASES) {
        SCOPED_TRACE(c.name);
        const WindowPlan plan = PlanWindow(c.flags);
        EXPECT_EQ(Hex(plan.style), Hex(c.style));
        EXPECT_EQ(Hex(plan.createStyle), Hex(c.createStyle));
        EXPECT_EQ(Hex(plan.exStyle), Hex(c.exStyle));
        EXPECT_EQ(plan.hidden, c.hidden);
        EXPECT_EQ(plan.noActivate, c.noActivate);
        EXPECT_EQ(plan.noContainer, c.noContainer);
        EXPECT_EQ(plan.center, c.center);
        EXPECT_EQ(plan.minMax, c.minMax);
        if (!c.hidden) {
            EXPECT_EQ(plan.showCommand, c.showCommand);
        }
    }
}

TEST(WindowPlan, NoStyleForCreationCarriesARuntimeBitOrVisibility) {
    // Whatever the caller passes, the window is created hidden and the
    // runtime's own bits never reach CreateWindowExW.
    const uint32_t samples[] = {0u, 0xFFFFFFFFu, DEFAULT_WINDOW_FLAGS | OPEN_HIDDEN, 0x7FFFFFFFu, 0x12345678u};
    for (uint32_t flags : samples) {
        SCOPED_TRACE(Hex(flags));
        const WindowPlan plan = PlanWindow(flags);
        EXPECT_EQ(plan.createStyle & (0x7u | OPEN_NO_CONTAINER | OPEN_NO_ACTIVATE | OPEN_HIDDEN), 0u);
        EXPECT_EQ(plan.style & (0x7u | OPEN_NO_CONTAINER | OPEN_HIDDEN), 0u);
    }
}

struct PositionCase {
    const char* name;
    int32_t x, y;
    uint32_t flags;
    bool composition;
    int32_t expectedX, expectedY;
};

constexpr uint32_t THICK_CAPTION = STYLE_CAPTION | STYLE_THICKFRAME;

const PositionCase POSITION_CASES[] = {
    {"plain", 100, 50, DEFAULT_WINDOW_FLAGS, true, 100, 50},
    {"default x", POSITION_DEFAULT, 50, DEFAULT_WINDOW_FLAGS, false, DEFAULT_COORDINATE, DEFAULT_COORDINATE},
    {"default x while centring", POSITION_DEFAULT, 50, DEFAULT_WINDOW_FLAGS | OPEN_CENTER_SCREEN, false,
     DEFAULT_COORDINATE, DEFAULT_COORDINATE},
    {"default x beats the shift", POSITION_DEFAULT, 50, THICK_CAPTION, true, DEFAULT_COORDINATE, DEFAULT_COORDINATE},
    {"default y", 100, POSITION_DEFAULT, DEFAULT_WINDOW_FLAGS, false, DEFAULT_COORDINATE, DEFAULT_COORDINATE},
    {"default y centred on screen", 100, POSITION_DEFAULT, DEFAULT_WINDOW_FLAGS | OPEN_CENTER_SCREEN, false, 100,
     POSITION_DEFAULT},
    {"default y centred on parent", 100, POSITION_DEFAULT, DEFAULT_WINDOW_FLAGS | OPEN_CENTER_PARENT, false, 100,
     POSITION_DEFAULT},
    {"one off default is a position", POSITION_DEFAULT + 1, POSITION_DEFAULT - 1, DEFAULT_WINDOW_FLAGS, false,
     POSITION_DEFAULT + 1, POSITION_DEFAULT - 1},
    {"thick caption, composition: x shifted", 100, 50, THICK_CAPTION, true, 95, 50},
    {"thick caption, no composition", 100, 50, THICK_CAPTION, false, 100, 50},
    {"caption only", 100, 50, STYLE_CAPTION, true, 100, 50},
    {"thick frame only", 100, 50, STYLE_THICKFRAME, true, 100, 50},
    {"border and thick frame: half a caption", 100, 50, BORDER | STYLE_THICKFRAME, true, 100, 50},
    {"dialog frame and thick frame: half a caption", 100, 50, DLGFRAME | STYLE_THICKFRAME, true, 100, 50},
    {"no style: the added caption has no thick frame", 100, 50, 0, true, 100, 50},
    {"shift into negative x", 3, -7, THICK_CAPTION | SYSMENU, true, -2, -7},
    {"centred y default with the shift", 100, POSITION_DEFAULT, THICK_CAPTION | OPEN_CENTER_SCREEN, true, 95,
     POSITION_DEFAULT},
    // The leftmost coordinate wraps as the 32-bit arithmetic of the platform does.
    {"shift at the smallest x wraps", INT32_MIN, 0, THICK_CAPTION, true, INT32_MAX - 4, 0},
};

TEST(WindowPlan, PositionDefaultsAndCompositionShift) {
    for (const PositionCase& c : POSITION_CASES) {
        SCOPED_TRACE(c.name);
        const WindowPosition at = PlanPosition(c.x, c.y, PlanWindow(c.flags), c.composition);
        EXPECT_EQ(at.x, c.expectedX);
        EXPECT_EQ(at.y, c.expectedY);
    }
}

struct CenterCase {
    const char* name;
    int32_t width, height, screenWidth, screenHeight;
    int32_t x, y;
};

const CenterCase SCREEN_CASES[] = {
    {"even", 200, 100, 1024, 768, 412, 334},
    {"odd: the half is dropped", 201, 101, 1024, 768, 411, 333},
    {"exactly the screen", 1024, 768, 1024, 768, 0, 0},
    {"larger than the screen", 3000, 2000, 1024, 768, 0, 0},
    {"empty window", 0, 0, 1025, 767, 512, 383},
};

TEST(WindowPlan, CentringOnTheScreen) {
    for (const CenterCase& c : SCREEN_CASES) {
        SCOPED_TRACE(c.name);
        const WindowPosition at = CenterOnScreen(c.width, c.height, c.screenWidth, c.screenHeight);
        EXPECT_EQ(at.x, c.x);
        EXPECT_EQ(at.y, c.y);
    }
}

struct ParentCase {
    const char* name;
    int32_t width, height, parentLeft, parentTop, parentWidth, parentHeight;
    int32_t x, y;
};

const ParentCase PARENT_CASES[] = {
    {"even", 100, 50, 200, 100, 400, 300, 350, 225},
    {"odd: the half is dropped", 101, 51, 200, 100, 400, 300, 349, 224},
    {"same size", 400, 300, 200, 100, 400, 300, 200, 100},
    {"larger, still on screen", 500, 400, 200, 100, 400, 300, 150, 50},
    {"larger, off the left and top: 0", 600, 500, 50, 40, 300, 200, 0, 0},
    {"off the left only", 600, 100, 50, 40, 300, 200, 0, 90},
    {"off the top only", 100, 500, 50, 40, 300, 200, 150, 0},
    {"parent at negative coordinates", 100, 100, -500, -400, 200, 200, 0, 0},
};

TEST(WindowPlan, CentringOnTheParent) {
    for (const ParentCase& c : PARENT_CASES) {
        SCOPED_TRACE(c.name);
        const WindowPosition at =
            CenterOnParent(c.width, c.height, c.parentLeft, c.parentTop, c.parentWidth, c.parentHeight);
        EXPECT_EQ(at.x, c.x);
        EXPECT_EQ(at.y, c.y);
    }
}

} // namespace
