// The user's profile folder, where the editor keeps its data by default.
#pragma once

#include <cstdint>

// The user's profile folder with a trailing backslash, or the empty text when
// the platform cannot tell it. A text result: built at the end of the
// temporary text area; returns the position where it starts.
int32_t HomeFolder();
