// The mark on an open prompt: which editor window it serves. The prompt puts
// it on as it opens and takes it off as it closes (prompt.h); a later start
// for the same editor looks for it (prompt_claim.h), and the lookup counts a
// marked prompt in front as the editor it serves (editor_lookup.h).
#pragma once

#include <windows.h>

// Marks the open prompt as serving `editor` (null: no editor), so that a
// later start for the same editor window finds it, and takes the mark off
// again. The mark must be gone before the window is destroyed. The mark is
// a window property, named like the runtime's own (window_numbers.h).
constexpr const wchar_t* PROMPT_EDITOR_PROPERTY = L"LinenavPromptEditor";
void MarkPrompt(HWND prompt, HWND editor);
void UnmarkPrompt(HWND prompt);

// The editor window the linenav prompt `window` serves; null for a window that
// is no prompt, and for a prompt that serves no editor.
HWND EditorOfPrompt(HWND window);
