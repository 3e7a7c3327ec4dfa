#include "base/text/parse_integer.h"

namespace {

// Value of a code unit as a digit, or 16 (no digit of any base) when it is not
// one. Only the ASCII digits and letters count: no fullwidth or other digits.
uint64_t DigitValue(TextUnit unit) {
    if (unit >= TXT('0') && unit <= TXT('9')) return static_cast<uint64_t>(unit - TXT('0'));
    if (unit >= TXT('A') && unit <= TXT('F')) return static_cast<uint64_t>(unit - TXT('A')) + 10;
    if (unit >= TXT('a') && unit <= TXT('f')) return static_cast<uint64_t>(unit - TXT('a')) + 10;
    return 16;
}

} // namespace

// Typed numbers never fail: blanks before the sign are skipped, the digits run
// to the first unit that is not one, and the arithmetic wraps modulo 2^64.
// The accumulation is done unsigned so the wrap is defined behaviour; the
// final conversion to signed is two's complement.
int64_t ParseInteger(const TextUnit* text) {
    if (!text) return 0;

    while (*text == TXT(' ') || *text == TXT('\t')) ++text;

    bool negative = false;
    if (*text == TXT('-')) {
        negative = true;
        ++text;
    } else if (*text == TXT('+')) {
        ++text;
    }

    uint64_t base = 10;
    if (*text == TXT('$')) {
        base = 16;
        ++text;
    } else if (*text == TXT('%')) {
        base = 2;
        ++text;
    }

    uint64_t value = 0;
    for (;; ++text) {
        const uint64_t digit = DigitValue(*text);
        if (digit >= base) break; // the terminator included
        value = value * base + digit;
    }
    if (negative) value = 0 - value;
    return static_cast<int64_t>(value);
}
