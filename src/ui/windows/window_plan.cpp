#include "ui/windows/window_plan.h"

namespace {
constexpr uint32_t RUNTIME_CREATION_BITS = OPEN_CENTER_SCREEN | OPEN_CENTER_PARENT | OPEN_TOOL_WINDOW;
} // namespace

WindowPlan PlanWindow(uint32_t flags) {
    WindowPlan plan = {};
    plan.center = (flags & (OPEN_CENTER_SCREEN | OPEN_CENTER_PARENT)) != 0;
    plan.noContainer = (flags & OPEN_NO_CONTAINER) != 0;
    flags &= ~OPEN_NO_CONTAINER;
    // A window asked for with no style at all still gets a title bar.
    if ((flags & ~(OPEN_CENTER_SCREEN | OPEN_CENTER_PARENT | OPEN_HIDDEN)) == 0) flags |= STYLE_CAPTION;
    if (flags & OPEN_HIDDEN) {
        flags &= ~OPEN_HIDDEN;
        plan.hidden = true;
    }
    plan.noActivate = (flags & OPEN_NO_ACTIVATE) != 0;
    if (flags & OPEN_TOOL_WINDOW) {
        flags &= ~TOOL_WINDOW_CLEARS;
        flags |= STYLE_CAPTION;
        plan.exStyle = EXSTYLE_TOOLWINDOW;
    }
    plan.style = flags & ~RUNTIME_CREATION_BITS;
    plan.createStyle = plan.style & ~OPEN_NO_ACTIVATE;
    plan.minMax = (plan.style & (STYLE_MAXIMIZE | STYLE_MINIMIZE)) != 0;
    if (plan.style & STYLE_MAXIMIZE) plan.showCommand = plan.noActivate ? SHOW_NA : SHOW_MAXIMIZED;
    else if (plan.style & STYLE_MINIMIZE) plan.showCommand = plan.noActivate ? SHOW_MIN_NO_ACTIVE : SHOW_MINIMIZED;
    else plan.showCommand = plan.noActivate ? SHOW_NO_ACTIVATE : SHOW_NORMAL;
    return plan;
}

namespace {
bool DefaultPosition(int32_t x, int32_t y, const WindowPlan& plan) {
    return x == POSITION_DEFAULT || (y == POSITION_DEFAULT && !plan.center);
}
} // namespace

bool PositionAsksComposition(int32_t x, int32_t y, const WindowPlan& plan) {
    return !DefaultPosition(x, y, plan) &&
           (plan.style & (STYLE_CAPTION | STYLE_THICKFRAME)) == (STYLE_CAPTION | STYLE_THICKFRAME);
}

WindowPosition PlanPosition(int32_t x, int32_t y, const WindowPlan& plan, bool composition) {
    if (DefaultPosition(x, y, plan)) return {DEFAULT_COORDINATE, DEFAULT_COORDINATE};
    if (composition && PositionAsksComposition(x, y, plan))
        x = static_cast<int32_t>(static_cast<uint32_t>(x) - 5u); // wraps at the far left, never overflows
    return {x, y};
}

WindowPosition CenterOnScreen(int32_t width, int32_t height, int32_t screenWidth, int32_t screenHeight) {
    return {(screenWidth - (width < screenWidth ? width : screenWidth)) / 2,
            (screenHeight - (height < screenHeight ? height : screenHeight)) / 2};
}

WindowPosition CenterOnParent(int32_t width, int32_t height, int32_t parentLeft, int32_t parentTop, int32_t parentWidth,
                              int32_t parentHeight) {
    int32_t x = parentLeft + (parentWidth - width) / 2;
    int32_t y = parentTop + (parentHeight - height) / 2;
    return {x < 0 ? 0 : x, y < 0 ? 0 : y};
}
