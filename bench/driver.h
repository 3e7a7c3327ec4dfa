// What every part of the bench driver shares: its clock, the pause between two
// looks of a wait, and how it gives up.
#pragma once

#include <string>
#include <windows.h>

// Milliseconds of the performance counter, from an arbitrary start.
double Now();

// The pause between two looks of every wait for a window's state. The launch
// figures are read off the first look that finds the prompt ready, so this
// pause bounds their resolution: 1 ms on launches of 100 ms and more. The
// other waits pause alike, so the time between runs stays as it was.
constexpr DWORD LOOK_PAUSE_MS = 1;

// Says what failed on standard error and ends the driver with code 2.
[[noreturn]] void Fail(const std::string& what);
