// Splitting the process's command line into arguments, and handing them out by
// index or one after another.
//
// The rules are the runtime's own, not those of the C runtime's argv parser:
// only spaces separate, double quotes group and are dropped, and a backslash is
// never an escape. The last point matters for folder arguments: the editor
// passes "C:\Prog Dir\" and expects the backslash kept and the quote to end
// the argument, where CommandLineToArgvW would swallow the quote.
#include "base/system/command_line.h"

#include "base/runtime/memory.h"
#include "base/text/text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr TextUnit SPACE = TXT(' ');
constexpr TextUnit QUOTE = TXT('"');

// The argument state: one record for the process, zeroed at start-up.
struct ArgumentState {
    int32_t nextArgument; // index the next NextArgument hands out
};

ArgumentState* State = nullptr;

#ifndef _WIN32
const TextUnit* HostCommandLine = nullptr;
#endif

// Finds the token that begins at or after `cursor` and moves `cursor` past it;
// false when only spaces (or nothing) remain.
bool ScanToken(const TextUnit*& cursor, CommandToken& token) {
    const TextUnit* p = cursor;
    while (*p == SPACE) ++p;
    if (*p == 0) {
        cursor = p;
        return false;
    }
    const TextUnit* start = p;
    int32_t quotes = 0;
    if (*p == QUOTE) {
        // A quoted token ends at its closing quote; whatever follows, space or
        // not, starts the next token. No closing quote: it runs to the end.
        ++quotes;
        ++p;
        while (*p != 0 && *p != QUOTE) ++p;
        if (*p == QUOTE) {
            ++quotes;
            ++p;
        }
    } else {
        // An unquoted token ends at the first space outside a quoted section;
        // a section left open runs to the end of the text.
        bool quoted = false;
        while (*p != 0 && (quoted || *p != SPACE)) {
            if (*p == QUOTE) {
                quoted = !quoted;
                ++quotes;
            }
            ++p;
        }
    }
    // The platform caps a command line at 32767 units, far inside 32 bits.
    token.start = start;
    token.length = static_cast<int32_t>(p - start);
    token.quotes = quotes;
    cursor = p;
    return true;
}

int32_t Counter() { return State ? State->nextArgument : 0; }

// Without a started argument state there is nothing to remember the counter
// in; the operations then behave as on a fresh state and forget.
void SetCounter(int32_t value) {
    if (State) State->nextArgument = value;
}

// Builds argument `index` as a text result at the current end of the
// temporary area, and steps the counter past it when it exists.
int32_t ArgumentAt(int32_t index) {
    const int32_t at = TextAreaEnd();
    CommandToken token;
    if (!FindCommandToken(ProcessCommandLine(), index, token)) {
        TextUnit* out = ReserveResult(0, at);
        out[0] = 0;
        return at;
    }
    // A token found at `index` means more than `index` tokens exist, so the
    // step cannot overflow.
    SetCounter(index + 1);
    TextUnit* out = ReserveResult(token.length, at);
    int32_t written = 0;
    for (int32_t i = 0; i < token.length; ++i) {
        if (token.start[i] != QUOTE) out[written++] = token.start[i];
    }
    out[written] = 0;
    GiveBackResult(token.quotes);
    return at;
}

} // namespace

bool FindCommandToken(const TextUnit* commandLine, int64_t index, CommandToken& token) {
    if (!commandLine || index < -1) return false;
    const TextUnit* cursor = commandLine;
    for (int64_t current = -1;; ++current) {
        if (!ScanToken(cursor, token)) return false;
        if (current == index) return true;
    }
}

int64_t CountCommandTokens(const TextUnit* commandLine) {
    int64_t count = -1;
    if (!commandLine) return count;
    const TextUnit* cursor = commandLine;
    CommandToken token;
    while (ScanToken(cursor, token)) ++count;
    return count;
}

#ifdef _WIN32
const TextUnit* ProcessCommandLine() { return GetCommandLineW(); }
#else
const TextUnit* ProcessCommandLine() { return HostCommandLine; }
void SetProcessCommandLine(const TextUnit* commandLine) { HostCommandLine = commandLine; }
#endif

void StartArguments() { State = static_cast<ArgumentState*>(RuntimeRecord(sizeof(ArgumentState))); }

// A negative index leaves the counter alone and hands out the argument at it.
int32_t ProgramArgument(int32_t index) {
    if (index < 0) return ArgumentAt(Counter());
    SetCounter(index);
    return ArgumentAt(index);
}

int32_t NextArgument() { return ArgumentAt(Counter()); }

int64_t ArgumentCount() { return CountCommandTokens(ProcessCommandLine()); }

int32_t NextArgumentIndex() { return Counter(); }
