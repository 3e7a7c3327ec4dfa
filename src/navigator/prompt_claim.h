// One prompt for each editor window. A hotkey pressed twice (a key bounce, or
// a second press because the first prompt seemed slow) starts two linenav
// processes for one editor. Two prompts would stack in one place; the person
// types into the top one, and closing the one left over, which is no cancel,
// would send the caret to line 1. So the first start claims the editor
// window's prompt before it has any window, and a later start for the same
// editor window brings that prompt to the front instead of showing its own.
#pragma once

#include "navigator/prompt_mark.h"

#include <windows.h>

enum class PromptOutcome {
    ANSWERED,       // this start's prompt was answered (Return or closed)
    NOT_OPENED,     // this start's prompt could not be opened
    OPEN_ELSEWHERE, // another start's prompt for the editor is open: brought forward
};

// The prompt step for Navigator.EditorHandle, once for each editor window:
// takes the claim (a session mutex named after the editor window, with no
// wait) and asks for the line (AskLineNumber), giving the claim back once the
// prompt has closed, before the line map and the keys. A start that finds the
// claim held looks, for PROMPT_SEARCH_MS at most, for the prompt of the start
// that holds it, brings it to the front with its field's focus and text as
// they were, and asks nothing: it sends no key, whether it found the prompt
// or not.
PromptOutcome AskLineNumberOnce();

// How long a start that found the claim held looks for the prompt of the
// start that holds it: that start may have no window yet, and under load a
// process needs a while to show its first.
constexpr DWORD PROMPT_SEARCH_MS = 2000;
constexpr DWORD PROMPT_SEARCH_PAUSE_MS = 10;
