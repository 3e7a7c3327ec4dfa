// Input: little-endian UTF-16 code units (a last odd byte is dropped, zero
// units are left out). Checks ParseInteger against a reference written another
// way, the fold of typed text, and the temporary area's building operations
// against plain strings.
#include "base/text/parse_integer.h"
#include "base/text/text.h"
#include "base/text/text_fold.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using Text = std::basic_string<TextUnit>;

void Check(bool condition) {
    if (!condition) std::abort();
}

// Reference parse: find the pieces with string searches, then accumulate in
// 128 bits and keep the low 64.
int64_t ReferenceParse(const Text& text) {
    static const Text blanks = {TXT(' '), TXT('\t')};
    size_t at = text.find_first_not_of(blanks);
    if (at == Text::npos) return 0;
    Text rest = text.substr(at);

    bool negative = false;
    if (!rest.empty() && (rest[0] == TXT('-') || rest[0] == TXT('+'))) {
        negative = rest[0] == TXT('-');
        rest.erase(0, 1);
    }
    unsigned base = 10;
    if (!rest.empty() && rest[0] == TXT('$')) base = 16;
    if (!rest.empty() && rest[0] == TXT('%')) base = 2;
    if (base != 10) rest.erase(0, 1);

    static const char digits[] = "0123456789abcdef";
    unsigned __int128 value = 0;
    for (TextUnit unit : rest) {
        if (unit >= 0x80) break;
        char c = static_cast<char>(unit);
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        const char* found = nullptr;
        for (unsigned d = 0; d < base; ++d)
            if (digits[d] == c) found = &digits[d];
        if (!found) break;
        value = (value * base + static_cast<unsigned>(found - digits)) & UINT64_MAX;
    }
    if (negative) value = ((static_cast<unsigned __int128>(1) << 64) - value) & UINT64_MAX;
    const auto low = static_cast<uint64_t>(value);
    return low <= INT64_MAX ? static_cast<int64_t>(low) : -static_cast<int64_t>(UINT64_MAX - low) - 1;
}

Text At(int32_t position) { return Text(TextAt(position)); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Text text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const auto unit = static_cast<TextUnit>(data[i] | (data[i + 1] << 8));
        if (unit != 0) text.push_back(unit);
    }

    Check(ParseInteger(text.c_str()) == ReferenceParse(text));

    // Folding never grows a text, and what it gives folds no further.
    Text folded = text;
    FoldTypedText(folded.data());
    folded = folded.c_str();
    Text refolded = folded;
    FoldTypedText(refolded.data());
    Check(folded.size() <= text.size() && Text(refolded.c_str()) == folded);

    StartTextArea();
    const int32_t length = static_cast<int32_t>(text.size());

    // Padding chosen by the input puts the text at varying offsets, so the
    // reservations below grow the area. A first unit of 0xFFFF (the second
    // unit picks the size) takes the area past 1 MiB, where every reservation
    // grows or trims it. That costs megabytes of copying per input, so only
    // the first hundred such inputs of a run take it (a crash input replayed
    // on its own always does).
    static int largeRuns = 0;
    const int32_t first = text.empty() ? 0 : static_cast<int32_t>(text[0]);
    const int32_t second = text.size() < 2 ? 0 : static_cast<int32_t>(text[1]);
    const bool large = first == 0xFFFF && largeRuns < 100;
    if (large) ++largeRuns;
    const int32_t padding = large ? 524000 + (second & 0xFF) * 64 : (first & 0xFF) * 33;
    const int32_t start = MakeSpaces(padding);
    Check(start == 0 && TextAreaEnd() == 2 * padding);

    const int32_t copy = AppendText(text.c_str());
    Check(copy == 2 * padding && TextAreaEnd() == copy + 2 * length);
    Check(At(copy) == text);
    Check(ParseInteger(TextAt(copy)) == ParseInteger(text.c_str()));

    // LeftPart of a text lying in the area, with a count taken from the text.
    const auto count = static_cast<int32_t>(static_cast<uint32_t>(ParseInteger(text.c_str())));
    const int32_t left = LeftPart(TextAt(copy), count);
    const size_t kept = count <= 0 ? 0 : (count < length ? count : length);
    Check(left == copy + 2 * length && At(left) == text.substr(0, kept));

    // The two results concatenate; appending that concatenation, which lies
    // in the area and ends at its end, doubles it.
    const Text joined = text + text.substr(0, kept);
    const int32_t again = AppendText(TextAt(copy));
    Check(again == left + 2 * static_cast<int32_t>(kept) && At(again) == joined);
    const Text built = joined + joined;
    Check(At(copy) == built);
    const TextUnit* spaces = TextAt(start);
    for (int32_t i = 0; i < padding; ++i) Check(spaces[i] == TXT(' '));

    TextVar variable = nullptr;
    AssignResult(variable, copy);
    Check(TextAreaEnd() == copy && Text(variable) == built);
    Check(TextEquals(variable, built.c_str()) == 1);

    // A tail of the variable assigned to itself.
    const size_t tail = kept < text.size() ? kept : 0;
    AssignText(variable, variable + tail);
    Check(Text(variable) == built.substr(tail));

    AssignResult(variable, start); // the padding
    Check(TextAreaEnd() == 0 && TextLength(variable) == padding);

    FreeText(variable);
    EndTextArea();
    return 0;
}
