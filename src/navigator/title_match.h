// Whether a window title begins with the editor's title prefix: an exact,
// case-sensitive comparison of UTF-16 code units.
#pragma once

#include "base/text/text_unit.h"

bool TitleHasPrefix(const TextUnit* title, const TextUnit* prefix);
