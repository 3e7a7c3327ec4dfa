// Which of the matching editor windows linenav serves. The editor starts
// linenav from its hotkey, so the person's editor owns the foreground window
// when linenav starts: with two editors open, the window enumerated last is
// the one behind. Kept free of Win32 so the rule can be checked without
// windows.
#pragma once

#include <cstdint>

template <class Window> class EditorChoice {
public:
    // `frontProcess`: the process that owned the foreground window when the
    // lookup began; 0 when there was none.
    explicit EditorChoice(uint32_t frontProcess) : frontProcess_(frontProcess) {}

    // One visible window whose title matched, in enumeration order.
    void Offer(Window window, uint32_t process) {
        last_ = window;
        if (frontProcess_ && process == frontProcess_) lastInFront_ = window;
    }

    // The last match of the front process: a program's own top-level windows
    // lie in front of its main window, so that is the main one. Without one,
    // the last match of any process; null when nothing matched.
    Window Chosen() const { return lastInFront_ ? lastInFront_ : last_; }

private:
    uint32_t frontProcess_;
    Window last_{};
    Window lastInFront_{};
};
