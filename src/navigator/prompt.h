// The line prompt: a 120 x 60 window titled "Window" beside the editor, with
// the label "Enter line no." and one text field. Return in the field, or
// closing the window, ends it; closing is no cancel: whatever was typed is
// used.
#pragma once

#include "navigator/prompt_placement.h"

#include <cstdint>

constexpr int32_t RETURN_SHORTCUT_ITEM = 10000; // menu item the Return shortcut raises

constexpr int64_t PROMPT_WINDOW = 0;
constexpr int64_t PROMPT_LABEL = 1;
constexpr int64_t PROMPT_FIELD = 2;
constexpr int64_t PROMPT_MENU = 0;
constexpr int32_t PROMPT_WIDTH = 120; // client area
constexpr int32_t PROMPT_HEIGHT = 60;
constexpr int64_t KEY_VALUE_RETURN = 13; // Return, no modifier

// Shows the prompt and sets Navigator.LineNumber to the number typed. False
// when the window cannot be opened, or opens without its field or its Return
// shortcut (it is then closed at once): nothing was typed, and LineNumber
// keeps its value.
bool AskLineNumber();

// Handler for every gadget event: the Return shortcut exists exactly while a
// text field has the focus.
void TrackFieldFocus();
// Handler of the Return shortcut's menu item: posts the return-key event that
// ends the prompt's wait.
void PostReturnKey();
