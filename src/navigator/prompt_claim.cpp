#include "navigator/prompt_claim.h"

#include "base/platform/handles.h"
#include "base/system/system_wait.h"
#include "base/system/trace.h"
#include "navigator/globals.h"
#include "navigator/prompt.h"
#include "navigator/prompt_claim_name.h"
#include "navigator/prompt_mark.h"

#include <cstdint>

namespace {

uint64_t HandleValue(HWND window) { return reinterpret_cast<uintptr_t>(window); }

struct Claim {
    HeldMutex held;     // this start's: given back when it goes out of scope
    bool heldElsewhere; // another start's prompt for the editor is open, or opening
};

// The claim is taken before any window exists: two starts a moment apart
// may both be before their first window, so neither a window search nor a
// look at the prompt's mark alone could tell the second that a prompt is
// coming. A mutex that cannot be made (the handle quota, or another object
// under the name) waits as WAIT_FAILED and is taken as this start's, which
// then shows its prompt as linenav always did. WAIT_ABANDONED says the start
// that held it ended without giving it back (it crashed, or was ended with
// its prompt open): no prompt is left, and the claim is this start's now.
Claim ClaimPrompt(HWND editor) {
    const PromptClaimName name = ClaimNameFor(HandleValue(editor));
    KernelHandle mutex(CreateMutexW(nullptr, FALSE, name.text));
    CALL_FAILED(mutex, "CreateMutexW");
    if (WaitForSingleObject(mutex.get(), 0) == WAIT_TIMEOUT) return {HeldMutex(), true};
    return {HeldMutex(mutex.release()), false};
}

struct PromptSearch {
    uint64_t mark;
    HWND found;
};

BOOL CALLBACK MatchMarkedPrompt(HWND window, LPARAM value) {
    auto* search = reinterpret_cast<PromptSearch*>(value);
    if (reinterpret_cast<uintptr_t>(GetPropW(window, PROMPT_EDITOR_PROPERTY)) != search->mark) return TRUE;
    search->found = window;
    return FALSE;
}

// The start that holds the claim may still be on its way to its window: the
// prompt is looked for until it shows, for PROMPT_SEARCH_MS at most. This
// start was just started from the foreground program by the person's hotkey,
// so Windows lets it give the foreground away; the prompt's activation puts
// the focus back into its field, where the text typed so far still stands.
// A prompt not found in time leaves a null handle, which both calls refuse.
void BringPromptForward(HWND editor) {
    PromptSearch search = {PromptMarkFor(HandleValue(editor)), nullptr};
    WaitWithin(PROMPT_SEARCH_MS, PROMPT_SEARCH_PAUSE_MS, [&] {
        EnumWindows(MatchMarkedPrompt, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    // Minimized with the rest of the desktop (Win+D, Win+M), it would take
    // the foreground where nobody sees it. Asynchronously: a start that hangs
    // must not hold this one.
    if (IsIconic(search.found)) ShowWindowAsync(search.found, SW_RESTORE);
    SetForegroundWindow(search.found);
}

} // namespace

PromptOutcome AskLineNumberOnce() {
    // Given back on return, with the prompt closed and before any key: a
    // start while this one still types a long jump shows its own prompt, and
    // this one stops once the keyboard leaves its editor, as ever.
    const Claim claim = ClaimPrompt(Navigator.EditorHandle);
    if (claim.heldElsewhere) {
        BringPromptForward(Navigator.EditorHandle);
        return PromptOutcome::OPEN_ELSEWHERE;
    }
    return AskLineNumber() ? PromptOutcome::ANSWERED : PromptOutcome::NOT_OPENED;
}
