// The process's command line, split by the runtime's own rules, handed out by
// index or one after another.
//
// Splitting: only spaces separate tokens; a double quote groups (a token that
// begins with one runs to the next quote, and the next token may follow at
// once; inside an unquoted token a quote opens a section that runs to the next
// quote); quotes are removed from what is handed out; a backslash is never an
// escape. The program's own name is token -1, the first argument token 0.
#pragma once

#include "base/text/text_unit.h"

#include <cstdint>

// One token of a command line.
struct CommandToken {
    const TextUnit* start; // first code unit of the token, quotes included
    int32_t length;        // code units from start, quotes included
    int32_t quotes;        // double quotes within those units
};

// Finds the token with index `index` (-1 = the program name); false when the
// command line has no such token. Makes no Win32 call.
bool FindCommandToken(const TextUnit* commandLine, int64_t index, CommandToken& token);
// Number of tokens minus 1 (so -1 for an empty or all-space command line).
int64_t CountCommandTokens(const TextUnit* commandLine);

// The command line the operations below read, afresh on every call: the
// platform's GetCommandLineW on Windows; settable on the native build.
const TextUnit* ProcessCommandLine();

// Creates the zeroed argument state (its next-argument counter starts at 0).
void StartArguments();

// Text results, built at the end of the temporary text area; each returns the
// position where its result starts.
int32_t ProgramArgument(int32_t index); // index >= 0 sets the counter first
int32_t NextArgument();
int64_t ArgumentCount();
