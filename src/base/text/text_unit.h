// One UTF-16 code unit, and the literal form for it. On Windows this is
// wchar_t so texts pass straight to the W functions; the native build of the
// portable modules uses char16_t, because wchar_t is 4 bytes on Linux.
#pragma once

#include <cstdint>

#ifdef _WIN32
using TextUnit = wchar_t;
#define TXT(s) L##s
#else
using TextUnit = char16_t;
#define TXT(s) u##s
#endif

static_assert(sizeof(TextUnit) == 2, "texts are UTF-16");
