// What the tests look at inside the runtime, beyond what the tool itself
// uses. Each is defined beside the state it reads; none is part of a
// component's interface, so none is declared in the product's headers.
#pragma once

#include "base/text/text_unit.h"

#include <cstdint>

struct Registry;

// The event queue: events waiting in it.
int32_t QueuedEventCount();
// The registered message that carries posted events (Windows only).
unsigned PostMessageNumber();
// The temporary text area's capacity in bytes.
int32_t TextAreaCapacity();
// The next-argument counter of the command line.
int32_t NextArgumentIndex();
// The native build's stand-in for GetCommandLineW.
void SetProcessCommandLine(const TextUnit* commandLine);
// The profile folder's ending (Windows only): ends the path in `path` in
// place with exactly one backslash added when its last unit is not one (an
// empty path stays empty) and returns its length. Reads at most `room` - 1
// units; `path` holds `room` + 1 units.
int32_t EndFolderPath(TextUnit* path, int32_t room);
// The profile folder's lookup loads `name` from the system folder instead of
// shell32.dll, from its next call on (Windows only).
void UseShellLibrary(const TextUnit* name);
// Loads `name` as SystemLibrary does, but trying the search `searchFlags`
// first in place of the system-folder search (Windows only): the module, or
// null. The caller frees it.
void* LoadSystemLibraryWith(const TextUnit* name, uint32_t searchFlags);
// The open files by number.
extern Registry* FileRegistry;
