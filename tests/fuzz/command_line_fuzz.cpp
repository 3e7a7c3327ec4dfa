// Command-line splitting on arbitrary UTF-16 text: every token must lie inside
// the text, after the one before it, and hand out its units minus the quotes.
#include "base/runtime/memory.h"
#include "base/system/command_line.h"
#include "base/text/text.h"
#include "support/test_hooks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, int64_t index) {
    std::fprintf(stderr, "command line invariant broken: %s (token %lld)\n", what, static_cast<long long>(index));
    std::abort();
}

void Check(bool condition, const char* what, int64_t index) {
    if (!condition) Fail(what, index);
}

void StartOnce() {
    static bool started = false;
    if (started) return;
    started = true;
    GeneralHeap = CreatePrivateHeap();
    StartTextArea();
    StartArguments();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartOnce();

    // Two bytes per code unit, little-endian; the text ends at the first 0
    // unit, so a terminated copy is all the splitter ever sees.
    std::vector<TextUnit> units(size / 2 + 1, 0);
    for (size_t i = 0; i + 1 < size; i += 2) {
        units[i / 2] = static_cast<TextUnit>(data[i] | (data[i + 1] << 8));
    }
    const TextUnit* text = units.data();
    int64_t length = 0;
    while (text[length] != 0) ++length;

    const int64_t count = CountCommandTokens(text);
    Check(count >= -1 && count <= length, "count out of range", count);

    CommandToken token{};
    Check(!FindCommandToken(text, -2, token), "token below -1 found", -2);

    const TextUnit* previousEnd = text;
    for (int64_t index = -1; index <= count + 2; ++index) {
        const bool found = FindCommandToken(text, index, token);
        Check(found == (index < count), "found disagrees with count", index);
        if (!found) continue;

        const int64_t offset = token.start - text;
        Check(offset >= 0 && token.length >= 1 && offset + token.length <= length, "token outside the text", index);
        Check(token.start >= previousEnd, "tokens out of order or overlapping", index);
        for (const TextUnit* p = previousEnd; p < token.start; ++p) {
            // Only spaces separate; a closed quoted token may also be
            // followed directly by the next one.
            Check(*p == TXT(' '), "non-space skipped between tokens", index);
        }
        Check(token.start[0] != TXT(' '), "token starts with a space", index);
        int32_t quotes = 0;
        for (int32_t i = 0; i < token.length; ++i) {
            if (token.start[i] == TXT('"')) ++quotes;
        }
        Check(quotes == token.quotes, "quote count wrong", index);
        if (token.start[0] == TXT('"')) {
            Check(quotes <= 2, "quoted token holds an inner quote", index);
            Check(quotes == 2 || offset + token.length == length, "unclosed quoted token ends early", index);
        }
        previousEnd = token.start + token.length;
    }
    // Only spaces after the last token.
    for (const TextUnit* p = previousEnd; *p != 0; ++p) {
        Check(*p == TXT(' '), "text left after the last token", count);
    }

    // The handed-out texts: token minus quotes, the counter stepping past each
    // found one and staying on a missing one.
    SetProcessCommandLine(text);
    const int32_t start = TextAreaEnd();
    Check(ArgumentCount() == count, "ArgumentCount disagrees", count);
    for (int64_t step = 0; step <= count + 1 && step < INT32_MAX; ++step) {
        // Even steps ask by index, odd steps take whatever the counter says.
        const bool byIndex = step % 2 == 0;
        const int32_t argument = byIndex ? static_cast<int32_t>(step) : NextArgumentIndex();
        const int64_t index = argument;
        const int32_t at = byIndex ? ProgramArgument(argument) : NextArgument();
        Check(at == start, "result not at the end of the area", index);
        const TextUnit* result = TextAt(at);
        const int32_t resultLength = TextLength(result);
        Check(TextAreaEnd() == at + resultLength * static_cast<int32_t>(sizeof(TextUnit)),
              "area end not after the result", index);
        if (FindCommandToken(text, index, token)) {
            Check(resultLength == token.length - token.quotes, "result length wrong", index);
            int32_t r = 0;
            for (int32_t i = 0; i < token.length; ++i) {
                if (token.start[i] == TXT('"')) continue;
                Check(result[r++] == token.start[i], "result text wrong", index);
            }
            Check(NextArgumentIndex() == argument + 1, "counter not stepped", index);
        } else {
            Check(resultLength == 0, "missing argument not empty", index);
            Check(NextArgumentIndex() == argument, "counter moved on a miss", index);
        }
        ResetTextArea(start);
    }
    SetProcessCommandLine(nullptr);
    return 0;
}
