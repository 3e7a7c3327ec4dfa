#include "fixture_client.h"

#include "names.h"
#include "sequence.h"
#include "text_helpers.h"
#include "wait.h"

#include <utility>

std::string KeyRecordName(const KeyRecord& record) {
    std::string text = MessageName(record.message) + " " + VirtualKeyName(record.key);
    if (record.modifiers & FIXTURE_CTRL) text += " +Ctrl";
    if (record.modifiers & FIXTURE_SHIFT) text += " +Shift";
    if (record.modifiers & FIXTURE_ALT) text += " +Alt";
    return text;
}

bool FixtureEditor::Start(const FixtureOptions& options) {
    std::wstring command = Quoted(ProgramBeside(L"fixture_editor.exe")) + L" --title " + Quoted(options.title) +
                           L" --lines " + std::to_wstring(options.lines) + L" --caret " +
                           std::to_wstring(options.caret) + L" --x " + std::to_wstring(options.x) + L" --y " +
                           std::to_wstring(options.y);
    if (options.hidden) command += L" --hidden";
    if (options.windows != 1) command += L" --windows " + std::to_wstring(options.windows);
    if (options.outline >= 0) command += L" --outline " + std::to_wstring(options.outline);
    if (!StartProcess(command, process_)) return false;
    if (!WaitUntil([&] { return (window_ = FindProcessWindow(process_.id, FIXTURE_EDITOR_CLASS)) != nullptr; }))
        return false;
    if (!Adopt(reinterpret_cast<HWND>(Ask(FIXTURE_WINDOW_AT, 0)))) return false;
    if (options.hidden) return true;
    return WaitUntil([&] { return IsForegroundWithFocus(window_, edit_); });
}

bool FixtureWindow::Adopt(HWND window) {
    window_ = window;
    edit_ = window ? reinterpret_cast<HWND>(Ask(FIXTURE_EDIT_HANDLE)) : nullptr;
    return edit_ != nullptr;
}

FixtureWindow FixtureEditor::WindowAt(int k) const {
    return FixtureWindow(reinterpret_cast<HWND>(Ask(FIXTURE_WINDOW_AT, static_cast<WPARAM>(k))));
}

bool FixtureWindow::MakeForeground() const {
    SetForegroundWindow(window_);
    return WaitUntil([&] { return IsForegroundWithFocus(window_, edit_); });
}

bool FixtureWindow::HasKeyboardFocus() const { return IsForegroundWithFocus(window_, edit_); }

void FixtureEditor::Close() {
    if (!process_.process) return;
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (!process_.WaitForExit(10000)) process_.Kill();
    process_ = ChildProcess();
    window_ = edit_ = nullptr;
}

bool FixtureEditor::Resume() const {
    const KernelHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, FixtureResumeEventName(process_.id).c_str()));
    return event && SetEvent(event.get());
}

LRESULT FixtureWindow::Ask(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window_, message, wParam, lParam, SMTO_BLOCK, 5000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

long FixtureWindow::KeyCount() const { return static_cast<long>(Ask(FIXTURE_KEY_COUNT)); }

KeyRecord FixtureWindow::KeyAt(long index) const {
    const LRESULT packed = Ask(FIXTURE_KEY_AT, static_cast<WPARAM>(index));
    static constexpr unsigned MESSAGES[] = {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP};
    return {MESSAGES[(packed >> 16) & 3], static_cast<unsigned>(packed & 0xFFFF),
            static_cast<unsigned>(packed & (FIXTURE_CTRL | FIXTURE_SHIFT | FIXTURE_ALT))};
}

std::vector<KeyRecord> FixtureWindow::Keys() const {
    std::vector<KeyRecord> keys;
    const long count = KeyCount();
    for (long i = 0; i < count; ++i) keys.push_back(KeyAt(i));
    return keys;
}

bool WaitForLastKey(const FixtureWindow& editor, const KeyRecord& last, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            const long count = editor.KeyCount();
            return count > 0 && editor.KeyAt(count - 1) == last;
        },
        timeoutMs);
}

std::string OnLine(long line) { return "caret on line " + std::to_string(line); }

namespace {

// The final Home of a run of caret keys is a plain Home press whose last press
// before it is not Ctrl: the Home of Ctrl+Home follows Ctrl's press. Releases
// tell nothing: on a busy machine the release of the Return that ended the
// prompt can come after linenav's keys, and under Wine the release of
// Ctrl+Home's Home can come up plain when the editor's Ctrl state is set from
// the X server's between Home's press and release. Fed the key messages in
// order; true at the final Home's press.
class FinalHome {
public:
    bool Seen(const KeyRecord& key) {
        if (key.message != WM_KEYDOWN) return false;
        if (key.key == VK_HOME && !(key.modifiers & FIXTURE_CTRL) && lastPress_ != VK_CONTROL) return true;
        lastPress_ = key.key;
        return false;
    }

private:
    unsigned lastPress_ = 0;
};

} // namespace

long CountOf(const std::vector<KeyRecord>& keys, const KeyRecord& which) {
    long count = 0;
    for (const KeyRecord& key : keys) count += key == which;
    return count;
}

std::vector<KeyRecord> WaitForCaretKeys(const FixtureWindow& editor, DWORD timeoutMs) {
    std::vector<KeyRecord> keys;
    WaitUntil(
        [&] {
            keys = editor.Keys();
            FinalHome final;
            for (size_t i = 0; i < keys.size(); ++i)
                if (final.Seen(keys[i])) return i + 1 < keys.size();
            return false;
        },
        timeoutMs);
    return keys;
}

std::vector<KeyRecord> WithoutReturnRelease(std::vector<KeyRecord> keys) {
    if (!keys.empty() && keys.front() == KeyRecord{WM_KEYUP, VK_RETURN, 0}) keys.erase(keys.begin());
    return keys;
}

::testing::AssertionResult SameCaretKeys(const std::vector<KeyRecord>& afterCtrlHome, std::vector<KeyRecord> keys) {
    const KeyRecord ctrlDown{WM_KEYDOWN, VK_CONTROL, FIXTURE_CTRL}, ctrlUp{WM_KEYUP, VK_CONTROL, 0};
    keys = WithoutReturnRelease(std::move(keys));
    long tries = CountOf(keys, ctrlDown);
    if (tries < 1 || tries > 3) tries = 1;
    std::vector<KeyRecord> expected;
    for (long i = 0; i < tries; ++i) {
        const size_t home = static_cast<size_t>(4 * i + 1);
        const unsigned modifiers =
            i + 1 < tries && home < keys.size() && keys[home].key == VK_HOME ? keys[home].modifiers : FIXTURE_CTRL;
        expected.insert(expected.end(),
                        {ctrlDown, {WM_KEYDOWN, VK_HOME, modifiers}, {WM_KEYUP, VK_HOME, modifiers}, ctrlUp});
        if (home + 1 < keys.size() && keys[home + 1].key == VK_HOME) keys[home + 1].modifiers = modifiers;
    }
    expected.insert(expected.end(), afterCtrlHome.begin(), afterCtrlHome.end());
    return SameSequence(expected, keys, KeyRecordName);
}

std::string CaretLanding(const FixtureWindow& editor, DWORD timeoutMs) {
    // The fixture answers between two key messages, so once the final Home is
    // in its log every key before it has moved the caret.
    long seen = 0;
    FinalHome final;
    const bool whole = WaitUntil(
        [&] {
            for (const long count = editor.KeyCount(); seen < count; ++seen)
                if (final.Seen(editor.KeyAt(seen))) return true;
            return false;
        },
        timeoutMs);
    const std::vector<KeyRecord> keys = editor.Keys();
    if (!whole)
        return "the keys never all arrived: " + std::to_string(keys.size()) + " key messages, the last " +
               (keys.empty() ? std::string("none") : KeyRecordName(keys.back()));
    long downs = 0;
    for (const KeyRecord& key : keys) downs += key == KeyRecord{WM_KEYDOWN, VK_DOWN, 0};
    const long caret = editor.CaretLine() + 1;
    if (caret == downs + 1) return OnLine(caret);
    // The opening keys tell a Ctrl+Home that lost its Ctrl (its Home comes
    // up plain and reads as the final one) from keys that went astray.
    std::string opening;
    for (size_t i = 0; i < keys.size() && i < 6; ++i) opening += (i ? ", " : "") + KeyRecordName(keys[i]);
    return OnLine(caret) + ", though the keys asked for line " + std::to_string(downs + 1) +
           " (opening keys: " + opening + ")";
}

void FixtureWindow::ClearKeys() const { Ask(FIXTURE_CLEAR_KEYS); }

long FixtureWindow::CaretLine() const { return static_cast<long>(Ask(FIXTURE_CARET_LINE)); }

void FixtureWindow::SetCaretLine(long line) const { Ask(FIXTURE_SET_CARET, static_cast<WPARAM>(line)); }
