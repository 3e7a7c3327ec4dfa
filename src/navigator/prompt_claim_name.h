// What one editor window's prompt is known by between linenav processes: the
// name of the mutex that the start showing it holds, and the value of the
// mark its window carries. Both come from the editor window's handle, which
// is the same number in every process of the session. Kept free of Win32 so
// they can be checked without a window.
#pragma once

#include "base/text/text_unit.h"

#include <cstdint>

// In the session's own namespace: another person's linenav on the same
// machine serves other windows.
constexpr TextUnit PROMPT_CLAIM_PREFIX[] = TXT("Local\\linenav-prompt-");
constexpr int PROMPT_CLAIM_PREFIX_UNITS = sizeof PROMPT_CLAIM_PREFIX / sizeof(TextUnit) - 1;
constexpr int HANDLE_HEX_DIGITS = 16; // a 64-bit handle in hexadecimal, at most

struct PromptClaimName {
    TextUnit text[PROMPT_CLAIM_PREFIX_UNITS + HANDLE_HEX_DIGITS + 1];
};

// PROMPT_CLAIM_PREFIX followed by the editor window's handle in lower-case
// hexadecimal without leading zeros. Every start that found no editor (0)
// shares the one name ending in "-0": no window has that handle.
constexpr PromptClaimName ClaimNameFor(uint64_t editor) {
    constexpr const char* HEX = "0123456789abcdef";
    PromptClaimName name{};
    int length = 0;
    for (const TextUnit* unit = PROMPT_CLAIM_PREFIX; *unit; ++unit) name.text[length++] = *unit;
    int digits = 1;
    while (digits < HANDLE_HEX_DIGITS && (editor >> (4 * digits)) != 0) ++digits;
    while (digits-- > 0) name.text[length++] = static_cast<TextUnit>(HEX[(editor >> (4 * digits)) & 0xF]);
    name.text[length] = 0;
    return name;
}

// The mark on a prompt names the editor it serves, as the handle plus one: a
// window property reads 0 where there is none, and a prompt opened with no
// editor is marked too.
constexpr uint64_t PromptMarkFor(uint64_t editor) { return editor + 1; }
// The editor a mark names; 0 for no mark, and for a prompt with no editor.
constexpr uint64_t EditorOfMark(uint64_t mark) { return mark != 0 ? mark - 1 : 0; }
