// Waiting for a condition with a bounded timeout: the only way tests wait.
#pragma once

#include <windows.h>

constexpr DWORD DEFAULT_WAIT_MS = 20000;

// Polls `condition` until it holds or `timeoutMs` has passed; the result is
// the condition's last answer.
template <class Condition> bool WaitUntil(Condition condition, DWORD timeoutMs = DEFAULT_WAIT_MS) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return condition();
        Sleep(5);
    }
}
