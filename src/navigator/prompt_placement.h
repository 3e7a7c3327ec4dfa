// Where the prompt goes: beside the editor, and always wholly on the screen.
// Kept free of Win32 so the rule can be checked without a window.
#pragma once

#include <cstdint>

constexpr int32_t PROMPT_OFFSET_X = 280; // from the editor window's left edge
constexpr int32_t PROMPT_OFFSET_Y = 80;  // from its top edge

struct ScreenArea {
    int64_t left, top, right, bottom; // right and bottom exclusive, as in a RECT
};

struct PromptPlace {
    int32_t x, y; // the prompt's outer top-left corner, in screen coordinates
};

// The prompt's outer top-left corner for an editor whose outer top-left corner
// is (editorLeft, editorTop): PROMPT_OFFSET_X right and PROMPT_OFFSET_Y below
// it, then moved by the least distance that puts the prompt's outer rectangle
// (width x height) wholly inside `work`. A place already inside is kept as it
// is. A prompt larger than the work area keeps its top-left corner, where the
// caption is, inside.
constexpr PromptPlace PlacePrompt(int64_t editorLeft, int64_t editorTop, const ScreenArea& work, int32_t width,
                                  int32_t height) {
    auto fit = [](int64_t at, int64_t low, int64_t high, int64_t size) {
        if (at > high - size) at = high - size;
        if (at < low) at = low;
        return at;
    };
    // The editor's sides come from a 32-bit RECT, so the sums cannot overflow.
    return {static_cast<int32_t>(fit(editorLeft + PROMPT_OFFSET_X, work.left, work.right, width)),
            static_cast<int32_t>(fit(editorTop + PROMPT_OFFSET_Y, work.top, work.bottom, height))};
}
