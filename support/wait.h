// Waiting for a condition with a bounded timeout: the only way tests wait.
#pragma once

#include "base/system/system_wait.h"

#include <windows.h>

constexpr DWORD DEFAULT_WAIT_MS = 20000;
constexpr DWORD WAIT_POLL_MS = 5;

// Polls `condition` until it holds or `timeoutMs` has passed; the result is
// the condition's last answer.
template <class Condition> bool WaitUntil(Condition condition, DWORD timeoutMs = DEFAULT_WAIT_MS) {
    return WaitWithin(timeoutMs, WAIT_POLL_MS, condition);
}
