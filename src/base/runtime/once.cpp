#include "base/runtime/once.h"

#include <atomic>
#include <cstring>

#ifdef _WIN32
#include "base/platform/system_function.h"

#include <windows.h>
#else
#include <sched.h>
#endif

namespace {

enum : uint32_t { ONCE_NOT_STARTED = 0, ONCE_RUNNING = 1, ONCE_DONE = 2 };

void YieldProcessorTime() {
#ifdef _WIN32
    Sleep(0);
#else
    sched_yield();
#endif
}

} // namespace

void RunOnceFallback(OnceRecord* once, OnceCallback initialise, void* context) {
    std::atomic_ref<uint32_t> state(once->state);
    uint32_t expected = ONCE_NOT_STARTED;
    if (state.compare_exchange_strong(expected, ONCE_RUNNING, std::memory_order_acq_rel)) {
        initialise(context);
        state.store(ONCE_DONE, std::memory_order_release);
        return;
    }
    while (state.load(std::memory_order_acquire) != ONCE_DONE) YieldProcessorTime();
}

#ifdef _WIN32

namespace {

struct OnceCall {
    OnceCallback initialise;
    void* context;
};

BOOL CALLBACK RunOnceCall(PINIT_ONCE, PVOID parameter, PVOID*) {
    auto* call = static_cast<OnceCall*>(parameter);
    call->initialise(call->context);
    return TRUE;
}

} // namespace

void RunOnce(OnceRecord* once, OnceCallback initialise, void* context) {
    // Looked up in the kernel32 the process already has loaded: never a
    // library search that a DLL planted beside the program could answer.
    const auto execute = SYSTEM_FUNCTION(GetModuleHandleW(L"kernel32.dll"), InitOnceExecuteOnce);
    if (!execute) {
        RunOnceFallback(once, initialise, context);
        return;
    }
    static_assert(sizeof(INIT_ONCE) == sizeof(OnceRecord), "OnceRecord holds an INIT_ONCE");
    OnceCall call = {initialise, context};
    execute(reinterpret_cast<PINIT_ONCE>(once), RunOnceCall, &call, nullptr);
}

#else

void RunOnce(OnceRecord* once, OnceCallback initialise, void* context) { RunOnceFallback(once, initialise, context); }

#endif
