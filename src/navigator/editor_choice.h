// Which of the matching editor windows linenav serves: the one the person
// works in. The editor starts linenav from its hotkey, so that window, or a
// window it owns (a dialog or tool window of the editor), is the foreground
// window when linenav starts. Kept free of Win32 so the rule can be checked
// without windows.
#pragma once

#include <cstdint>

// Owners followed from the foreground window, itself included. Real chains
// are a few windows long; the bound keeps a chain that loops from looping
// here.
constexpr int EDITOR_OWNER_DEPTH = 16;

template <class Window> class EditorChoice {
public:
    // What was in front when the lookup began: the foreground window (null
    // when there was none) and its process (0 when none); ownerOf(window)
    // gives the window that owns `window`, null for none.
    template <class OwnerOf>
    EditorChoice(Window front, uint32_t frontProcess, OwnerOf&& ownerOf) : frontProcess_(frontProcess) {
        for (Window window = front; window && owners_ < EDITOR_OWNER_DEPTH; window = ownerOf(window))
            inFront_[owners_++] = window;
    }

    // One visible window whose title matched, in enumeration order (the
    // desktop's window order, nearest the front first).
    void Offer(Window window, uint32_t process) {
        ++offers_;
        last_ = window;
        if (frontProcess_ && process == frontProcess_ && !firstInFront_) firstInFront_ = window;
        for (int i = 0; i < nearestOwner_; ++i)
            if (window == inFront_[i]) {
                nearestOwner_ = i;
                ownerMatch_ = window;
            }
    }

    // The foreground window when it matched, else its nearest owner that
    // matched: a program with several editor windows keeps them all in one
    // process, and the one in front, or the one that owns the window in
    // front, is the one the person works in. Otherwise the match of the front
    // process nearest the front (the one last active), else the last match of
    // any process; null when nothing matched.
    Window Chosen() const {
        if (ownerMatch_) return ownerMatch_;
        return firstInFront_ ? firstInFront_ : last_;
    }

    // How many windows were offered.
    int Offers() const { return offers_; }

private:
    uint32_t frontProcess_;
    int offers_ = 0;
    Window inFront_[EDITOR_OWNER_DEPTH] = {};
    int owners_ = 0;
    int nearestOwner_ = EDITOR_OWNER_DEPTH;
    Window last_{};
    Window firstInFront_{};
    Window ownerMatch_{};
};
