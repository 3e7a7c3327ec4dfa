// How OpenAppWindow's flag word and position become platform styles, a show
// command and a place on the screen. No Win32 call here, so every rule can be
// checked without a window.
#pragma once

#include <cstdint>

// The runtime's own bits of the flag word; all other bits are window styles.
constexpr uint32_t OPEN_CENTER_SCREEN = 0x1;
constexpr uint32_t OPEN_CENTER_PARENT = 0x2;
constexpr uint32_t OPEN_TOOL_WINDOW = 0x4;
constexpr uint32_t OPEN_NO_CONTAINER = 0x8;
constexpr uint32_t OPEN_NO_ACTIVATE = 0x2000000; // the bit of WS_CLIPCHILDREN
constexpr uint32_t OPEN_HIDDEN = 0x10000000;     // the bit of WS_VISIBLE, inverted
// WS_CAPTION | WS_SYSMENU: title bar, system menu and close box; fixed size.
constexpr uint32_t DEFAULT_WINDOW_FLAGS = 0xC80000;
// A coordinate that asks the platform to choose the position.
constexpr int32_t POSITION_DEFAULT = -65535;

// Win32 values used by the rules (named here so this file needs no windows.h).
constexpr uint32_t STYLE_CAPTION = 0xC00000;
constexpr uint32_t STYLE_THICKFRAME = 0x40000;
constexpr uint32_t STYLE_MAXIMIZE = 0x1000000;
constexpr uint32_t STYLE_MINIMIZE = 0x20000000;
constexpr uint32_t TOOL_WINDOW_CLEARS = 0x21030000; // minimize/maximize boxes, minimized, maximized
constexpr uint32_t EXSTYLE_TOOLWINDOW = 0x80;
constexpr int32_t DEFAULT_COORDINATE = static_cast<int32_t>(0x80000000); // CW_USEDEFAULT
// ShowWindow commands.
constexpr int SHOW_NORMAL = 1, SHOW_MINIMIZED = 2, SHOW_MAXIMIZED = 3, SHOW_NO_ACTIVATE = 4, SHOW_MIN_NO_ACTIVE = 7,
              SHOW_NA = 8;

struct WindowPlan {
    uint32_t style;       // for AdjustWindowRectEx (runtime bits 0 to 2 cleared)
    uint32_t createStyle; // for CreateWindowExW (also bit 25 cleared; never WS_VISIBLE)
    uint32_t exStyle;
    bool hidden;
    bool noActivate;
    bool noContainer;
    bool center;     // either centring bit of the caller's flags
    int showCommand; // ShowWindow command, unless hidden
    bool minMax;     // shown minimized or maximized
};

WindowPlan PlanWindow(uint32_t flags);

struct WindowPosition {
    int32_t x, y;
};

// Where CreateWindowExW puts the window: both coordinates default when x asks
// for it, or y does without centring; otherwise a window with a thick caption
// frame moves 5 pixels left when desktop composition is on.
WindowPosition PlanPosition(int32_t x, int32_t y, const WindowPlan& plan, bool composition);
// Whether PlanPosition's answer depends on desktop composition: only then is
// the platform asked (which loads a library).
bool PositionAsksComposition(int32_t x, int32_t y, const WindowPlan& plan);

// Top-left corner that centres an outer size on the screen, or on a parent's
// outer rectangle (negative results become 0). Halves are dropped.
WindowPosition CenterOnScreen(int32_t width, int32_t height, int32_t screenWidth, int32_t screenHeight);
WindowPosition CenterOnParent(int32_t width, int32_t height, int32_t parentLeft, int32_t parentTop, int32_t parentWidth,
                              int32_t parentHeight);
