// The driver's side of the fixture editor: start it, wait until it is ready
// for keys, read what its Edit control received, close it.
#pragma once

#include "edit_control.h"
#include "fixture_protocol.h"
#include "processes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// One key message as the editor's Edit control saw it.
struct KeyRecord {
    unsigned message;   // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
    unsigned key;       // virtual key in wParam
    unsigned modifiers; // FIXTURE_CTRL | FIXTURE_SHIFT | FIXTURE_ALT
    bool operator==(const KeyRecord&) const = default;
};

std::string KeyRecordName(const KeyRecord& record);

struct FixtureOptions {
    std::wstring title = L"Quillo V5. fixture";
    int lines = 100;
    int caret = 0; // 0-based line the caret starts on
    int x = 40, y = 40;
    bool hidden = false;
    int windows = 1;  // top-level windows of the one program, each with its Edit
    int outline = -1; // the window that owns an overlapped "Outline" tool window; -1: none
};

// One window of the fixture editor and its Edit control.
class FixtureWindow {
public:
    FixtureWindow() = default;
    // A window of a running fixture; its Edit is asked of it.
    explicit FixtureWindow(HWND window) { Adopt(window); }

    HWND window() const { return window_; }
    HWND edit() const { return edit_; }

    // Brings the window to the front and waits until its Edit has the focus.
    bool MakeForeground() const;
    bool HasKeyboardFocus() const;

    long KeyCount() const;
    KeyRecord KeyAt(long index) const;
    std::vector<KeyRecord> Keys() const;
    void ClearKeys() const;
    long CaretLine() const; // 0-based
    // Puts the caret on a 0-based line, so a navigation that does nothing
    // cannot pass for one that lands where the caret already was.
    void SetCaretLine(long line) const;

protected:
    LRESULT Ask(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool Adopt(HWND window);

    HWND window_ = nullptr;
    HWND edit_ = nullptr;
};

class FixtureEditor : public FixtureWindow {
public:
    FixtureEditor() = default;
    FixtureEditor(const FixtureEditor&) = delete;
    FixtureEditor& operator=(const FixtureEditor&) = delete;
    ~FixtureEditor() { Close(); }

    // Starts the fixture and waits (bounded) until its window exists and, for
    // a visible one, is the foreground window with the focus in its Edit.
    // The editor itself is its window 0.
    bool Start(const FixtureOptions& options);
    void Close();

    DWORD processId() const { return process_.id; }
    // Window k of the same program; a window with null handles if none.
    FixtureWindow WindowAt(int k) const;
    // The "Outline" tool window, null if none.
    HWND Outline() const { return reinterpret_cast<HWND>(Ask(FIXTURE_OUTLINE)); }
    // Window 1 in front for FIXTURE_BLIP_MS, once the keys queued before are
    // handled; returns while it is.
    bool Blip() const { return Ask(FIXTURE_BLIP) == 1; }
    // The next time the program gets where `where` says (FIXTURE_STALL_TAKING
    // and the others: fixture_protocol.h), its thread takes no message for
    // `limitMs`, or until Resume().
    bool Stall(WPARAM where, DWORD limitMs) const {
        return Ask(FIXTURE_STALL, where, static_cast<LPARAM>(limitMs)) == 1;
    }
    bool Resume() const;

private:
    ChildProcess process_;
};

// Waits (bounded) until `last` is the newest key message in the fixture's log.
bool WaitForLastKey(const FixtureWindow& editor, const KeyRecord& last, DWORD timeoutMs);

std::string OnLine(long line); // "caret on line <line>", 1-based

// Waits (bounded) until the fixture has received a whole run of caret keys,
// ending with the final plain Home press, then tells where its caret is, as
// OnLine does; or what went wrong: keys that never all arrived, or a caret
// elsewhere than on the line the keys asked for.
std::string CaretLanding(const FixtureWindow& editor, DWORD timeoutMs);

// How long a caret run may take to land: Wine's Edit digests a few hundred
// Downs a second.
constexpr DWORD CARET_WAIT_MS = 60000;

// How many of `keys` are `which`.
long CountOf(const std::vector<KeyRecord>& keys, const KeyRecord& which);

// Waits (bounded) until the fixture has received a short run of caret keys
// whole, up to the release of the final Home, and gives its key messages (what
// it has, when the time runs out first).
std::vector<KeyRecord> WaitForCaretKeys(const FixtureWindow& editor, DWORD timeoutMs);

// The key messages without the release of the Return that ended the prompt,
// when it came first: the system hands a release to the window that has the
// focus when it is taken, the editor when the prompt closed between press
// and release. A press never reaches it.
std::vector<KeyRecord> WithoutReturnRelease(std::vector<KeyRecord> keys);

// Compares the key messages of one run with `afterCtrlHome` (the Downs and the
// final Home) after Ctrl+Home, typed once, or up to three times in all when
// the system let go of Ctrl under it. The Home press of a try that did not
// land may come with Ctrl or plain; the last try's comes with Ctrl. A Home's
// release tells nothing: Ctrl can be let go between press and release. The
// prompt's Return, let go late, is left out (WithoutReturnRelease).
::testing::AssertionResult SameCaretKeys(const std::vector<KeyRecord>& afterCtrlHome, std::vector<KeyRecord> keys);
