// BoundedWait on the system's millisecond clock, sleeping between two asks.
#pragma once

#include "base/runtime/bounded_wait.h"

#include <windows.h>

// True once `condition()` holds, asked every `pauseMs`; false when it still
// does not after `limitMs`.
template <class Condition> bool WaitWithin(uint64_t limitMs, DWORD pauseMs, Condition&& condition) {
    return BoundedWait(
        condition, limitMs, [] { return static_cast<uint64_t>(GetTickCount64()); }, [pauseMs] { Sleep(pauseMs); });
}
