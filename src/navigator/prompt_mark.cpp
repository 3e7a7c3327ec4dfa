#include "navigator/prompt_mark.h"

#include "navigator/prompt_claim_name.h"

#include <cstdint>

void MarkPrompt(HWND prompt, HWND editor) {
    SetPropW(prompt, PROMPT_EDITOR_PROPERTY,
             reinterpret_cast<HANDLE>(PromptMarkFor(reinterpret_cast<uintptr_t>(editor))));
}

void UnmarkPrompt(HWND prompt) { RemovePropW(prompt, PROMPT_EDITOR_PROPERTY); }

HWND EditorOfPrompt(HWND window) {
    return reinterpret_cast<HWND>(EditorOfMark(reinterpret_cast<uintptr_t>(GetPropW(window, PROMPT_EDITOR_PROPERTY))));
}
