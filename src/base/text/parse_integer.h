// Reading a typed number: the integer a text begins with.
#pragma once

#include "base/text/text_unit.h"

#include <cstdint>

// Leading spaces and tabs skipped, an optional sign, an optional base mark
// ("$" hexadecimal, "%" binary), then digits up to the first unit that is not
// one; 0 when there are none. Wraps modulo 2^64: no text is ever an error.
int64_t ParseInteger(const TextUnit* text);
