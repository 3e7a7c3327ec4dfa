// One-time initialisation that is safe when two threads need it at once:
// InitOnceExecuteOnce where the platform has it, else a three-state word
// (0 not started, 1 running, 2 done) driven by compare-and-swap.
#pragma once

#include <cstdint>

// Room for the platform's INIT_ONCE (one pointer); the fallback uses only the
// first 32 bits, as its state word.
struct alignas(8) OnceRecord {
    uint32_t state;
    uint32_t rest;
};

using OnceCallback = void (*)(void* context);

// Runs `initialise(context)` exactly once for `once`; every caller returns
// only after it has run.
void RunOnce(OnceRecord* once, OnceCallback initialise, void* context);

// The fallback path alone (platforms without InitOnceExecuteOnce).
void RunOnceFallback(OnceRecord* once, OnceCallback initialise, void* context);
