#include "base/text/text_fold.h"

#include <cstdint>

namespace {

// The zero of every run of decimal digits (general category Nd) in Unicode
// 14.0.0; each run is the ten code points zero..nine. Taken from Python's
// unicodedata:
//   [c for c in range(0x110000) if unicodedata.category(chr(c)) == 'Nd'
//    and unicodedata.decimal(chr(c)) == 0]
// Windows' own digit folding (FoldStringW MAP_FOLDDIGITS) is not used: it also
// folds superscripts and circled digits, knows only the digits of its own
// version, none beyond the BMP, and Wine's differs from it.
constexpr uint32_t DIGIT_ZEROS[] = {
    0x0030,  0x0660,  0x06F0,  0x07C0,  0x0966,  0x09E6,  0x0A66,  0x0AE6,  0x0B66,  0x0BE6,  0x0C66,
    0x0CE6,  0x0D66,  0x0DE6,  0x0E50,  0x0ED0,  0x0F20,  0x1040,  0x1090,  0x17E0,  0x1810,  0x1946,
    0x19D0,  0x1A80,  0x1A90,  0x1B50,  0x1BB0,  0x1C40,  0x1C50,  0xA620,  0xA8D0,  0xA900,  0xA9D0,
    0xA9F0,  0xAA50,  0xABF0,  0xFF10,  0x104A0, 0x10D30, 0x11066, 0x110F0, 0x11136, 0x111D0, 0x112F0,
    0x11450, 0x114D0, 0x11650, 0x116C0, 0x11730, 0x118E0, 0x11950, 0x11C50, 0x11D50, 0x11DA0, 0x16A60,
    0x16AC0, 0x16B50, 0x1D7CE, 0x1D7D8, 0x1D7E2, 0x1D7EC, 0x1D7F6, 0x1E140, 0x1E2F0, 0x1E950, 0x1FBF0,
};
constexpr uint32_t DIGITS_IN_RUN = 10;

constexpr uint32_t FULL_WIDTH_FIRST = 0xFF01;  // full-width "!"
constexpr uint32_t FULL_WIDTH_LAST = 0xFF5E;   // full-width "~"
constexpr uint32_t FULL_WIDTH_OFFSET = 0xFEE0; // from each to its ASCII character
constexpr uint32_t IDEOGRAPHIC_SPACE = 0x3000;
constexpr uint32_t MINUS_SIGN = 0x2212;
constexpr uint32_t LEFT_TO_RIGHT_MARK = 0x200E;
constexpr uint32_t RIGHT_TO_LEFT_MARK = 0x200F;
constexpr uint32_t ARABIC_LETTER_MARK = 0x061C;

constexpr uint32_t HIGH_SURROGATE_FIRST = 0xD800;
constexpr uint32_t LOW_SURROGATE_FIRST = 0xDC00;
constexpr uint32_t SURROGATE_BITS = 10; // the code point bits each surrogate carries
constexpr uint32_t SURROGATE_SPAN = 1u << SURROGATE_BITS;
constexpr uint32_t SUPPLEMENTARY_FIRST = 0x10000;

bool IsHighSurrogate(uint32_t unit) { return unit - HIGH_SURROGATE_FIRST < SURROGATE_SPAN; }
bool IsLowSurrogate(uint32_t unit) { return unit - LOW_SURROGATE_FIRST < SURROGATE_SPAN; }

bool IsDroppedMark(uint32_t point) {
    return point == LEFT_TO_RIGHT_MARK || point == RIGHT_TO_LEFT_MARK || point == ARABIC_LETTER_MARK;
}

// The ASCII character `point` folds to, or `point` itself.
uint32_t Folded(uint32_t point) {
    if (point >= FULL_WIDTH_FIRST && point <= FULL_WIDTH_LAST) return point - FULL_WIDTH_OFFSET;
    if (point == IDEOGRAPHIC_SPACE) return ' ';
    if (point == MINUS_SIGN) return '-';
    for (const uint32_t zero : DIGIT_ZEROS)
        if (point - zero < DIGITS_IN_RUN) return '0' + (point - zero);
    return point;
}

} // namespace

void FoldTypedText(TextUnit* text) {
    if (!text) return;
    TextUnit* out = text;
    for (const TextUnit* in = text; *in != 0;) {
        // A surrogate pair is one code point; a lone surrogate stands alone.
        uint32_t point = static_cast<uint16_t>(in[0]);
        int units = 1;
        if (IsHighSurrogate(point) && IsLowSurrogate(static_cast<uint16_t>(in[1]))) {
            point = SUPPLEMENTARY_FIRST + ((point - HIGH_SURROGATE_FIRST) << SURROGATE_BITS) +
                    (static_cast<uint16_t>(in[1]) - LOW_SURROGATE_FIRST);
            units = 2;
        }
        const TextUnit* next = in + units;
        if (!IsDroppedMark(point)) {
            const uint32_t folded = Folded(point);
            if (folded != point) {
                *out++ = static_cast<TextUnit>(folded);
            } else {
                while (in < next) *out++ = *in++; // `out` never passes `in`
            }
        }
        in = next;
    }
    *out = 0;
}
