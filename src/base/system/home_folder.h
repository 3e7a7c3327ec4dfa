// The user's profile folder, where the editor keeps its data by default.
#pragma once

#include <cstdint>

// The user's profile folder with a trailing backslash, or the empty text when
// the platform cannot tell it, shell32 or ole32 included. A text result: built
// at the end of the temporary text area; returns the position where it starts.
// The first call loads shell32 and ole32 from the system folder.
int32_t HomeFolder();

// Shutdown step: frees the libraries the lookup loaded.
void EndHomeFolder();
