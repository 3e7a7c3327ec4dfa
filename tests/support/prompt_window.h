// Window 0 opened as the tool opens its prompt, for the window, gadget, menu
// and event tests.
#pragma once

#include <cstdint>
#include <windows.h>

// Where the prompt's window stands and the size of its client area.
constexpr int32_t PROMPT_LEFT = 100, PROMPT_TOP = 50, PROMPT_WIDTH = 120, PROMPT_HEIGHT = 60;

// What the prompt's window holds. The tool's prompt has label 1 and text
// field 2 with the focus; a test asks for what it looks at.
struct PromptGadgets {
    bool label = false;  // label 1, "Enter line no.", above the field
    bool field = true;   // text field 2
    bool focused = true; // the field focused, its focus events still queued
    bool keySpy = false; // a KeySpy (key_spy.h) on the field
};

// Window 0, titled "Window", in front and active, holding what `gadgets` asks
// for. Each step that fails is reported as a test failure; the result is the
// window, or null when a step failed. What opening raised stays queued.
HWND OpenPrompt(PromptGadgets gadgets = {});
