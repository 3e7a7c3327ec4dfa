// Which of the matching editor windows linenav serves: the one the person
// works in. The editor starts linenav from its hotkey, so that window, or a
// window it owns (a dialog of the editor), is the foreground window when
// linenav starts. Kept free of Win32 so the rule can be checked without
// windows.
#pragma once

#include <cstdint>

template <class Window> class EditorChoice {
public:
    // What was in front when the lookup began: the foreground window, its
    // root owner (itself when it has no owner) and their process; null and 0
    // when there was no foreground window.
    EditorChoice(Window front, Window frontRoot, uint32_t frontProcess)
        : front_(front), frontRoot_(frontRoot), frontProcess_(frontProcess) {}

    // One visible window whose title matched, in enumeration order.
    void Offer(Window window, uint32_t process) {
        last_ = window;
        if (frontProcess_ && process == frontProcess_) lastInFront_ = window;
        if (front_ && window == front_) frontMatch_ = window;
        if (frontRoot_ && window == frontRoot_) rootMatch_ = window;
    }

    // The foreground window, else its root owner, when it matched: a program
    // with several editor windows keeps them all in one process, and the one
    // in front is the one the person works in. Otherwise the last match of
    // the front process (its main window lies behind the windows it shows),
    // else the last match of any process; null when nothing matched.
    Window Chosen() const {
        if (frontMatch_) return frontMatch_;
        if (rootMatch_) return rootMatch_;
        return lastInFront_ ? lastInFront_ : last_;
    }

private:
    Window front_;
    Window frontRoot_;
    uint32_t frontProcess_;
    Window last_{};
    Window lastInFront_{};
    Window frontMatch_{};
    Window rootMatch_{};
};
