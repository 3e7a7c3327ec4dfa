// The editor lookup against real top-level windows made by this test program.
#include "navigator/editor_lookup.h"
#include "navigator/globals.h"

#include "base/platform/handles.h"
#include "support/runtime_fixture.h"
#include "../support/fixture_client.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* TEST_CLASS = L"LinenavLookupTestWindow";

void RegisterTestClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = TEST_CLASS;
    RegisterClassW(&wc);
    done = true;
}

OwnedWindow MakeWindow(const std::wstring& title, bool visible, int x = 10, int y = 10, int w = 200, int h = 100) {
    RegisterTestClass();
    HWND window = CreateWindowExW(0, TEST_CLASS, title.c_str(), WS_OVERLAPPEDWINDOW, x, y, w, h, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (visible) ShowWindow(window, SW_SHOWNOACTIVATE);
    return OwnedWindow(window);
}

// Another program's window is in front, as when a person starts linenav by
// hand: then neither the window in front nor its program chooses, and the
// lookup does not wait for a foreground window that is still settling. The
// test's own windows show without taking the activation; each lookup checks
// that the other program is still in front, where the result would otherwise
// depend on which of this program's windows is.
class EditorLookup : public RuntimeTest {
protected:
    static void SetUpTestSuite() {
        front = std::make_unique<FixtureEditor>();
        ASSERT_TRUE(front->Start({.title = L"Another program"}));
    }
    static void TearDownTestSuite() { front.reset(); }
    void SetUp() override {
        RuntimeTest::SetUp();
        Navigator = {};
        ASSERT_EQ(GetForegroundWindow(), front->window());
    }

    static void Lookup() {
        EXPECT_EQ(GetForegroundWindow(), front->window()) << "the other program left the front";
        AssignText(Navigator.TitlePrefix, EDITOR_TITLE_PREFIX);
        Navigator.EditorHandle = nullptr;
        FindEditorWindow();
    }

    static std::unique_ptr<FixtureEditor> front;
};
std::unique_ptr<FixtureEditor> EditorLookup::front;

std::vector<HWND> EnumerationOrder() {
    std::vector<HWND> order;
    EnumWindows(
        [](HWND window, LPARAM value) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(value)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&order));
    return order;
}

TEST_F(EditorLookup, TitleAndVisibilityRules) {
    struct Case {
        std::wstring title;
        bool visible;
        bool found;
    };
    const Case cases[] = {
        {L"Quillo V5.", true, true},
        {L"Quillo V5. main.c", true, true},
        {L"quillo v5. main.c", true, false},
        {L"QUILLO V5. main.c", true, false},
        {L"Quillo V5", true, false},
        {L"Quillo V5. hidden", false, false},
        {L"", true, false},
        {L"Quillo V5." + std::wstring(3000, L'x'), true, true}, // read cut to 1023 units
        {L"Quillo V5,", true, false},
        {L" Quillo V5.", true, false},
    };
    for (const Case& c : cases) {
        OwnedWindow window = MakeWindow(c.title, c.visible);
        ASSERT_TRUE(window);
        const int32_t end = TextAreaEnd();
        Lookup();
        EXPECT_EQ(TextAreaEnd(), end) << "the lookup leaves no temporaries behind";
        EXPECT_EQ(Navigator.EditorHandle, c.found ? window.get() : nullptr)
            << "title \"" << std::string(c.title.begin(), c.title.begin() + std::min<size_t>(c.title.size(), 40))
            << "\" visible " << c.visible;
    }
}

TEST_F(EditorLookup, LastEnumeratedVisibleMatchWins) {
    OwnedWindow first = MakeWindow(L"Quillo V5. first", true);
    OwnedWindow second = MakeWindow(L"Quillo V5. second", true); // created later: above `first`
    OwnedWindow hidden = MakeWindow(L"Quillo V5. hidden", false);
    const auto order = EnumerationOrder();
    const auto at = [&](HWND w) { return std::find(order.begin(), order.end(), w) - order.begin(); };
    ASSERT_LT(at(second.get()), at(first.get())) << "z-order: the newer window is visited first";

    Lookup();
    EXPECT_EQ(Navigator.EditorHandle, first.get());

    // Raise `first` to the top: now `second` is visited last and wins.
    SetWindowPos(first.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Lookup();
    EXPECT_EQ(Navigator.EditorHandle, second.get());
}

TEST_F(EditorLookup, NoMatchLeavesTheHandleAsItWas) {
    OwnedWindow other = MakeWindow(L"Some other program", true);
    AssignText(Navigator.TitlePrefix, EDITOR_TITLE_PREFIX);
    Navigator.EditorHandle = other.get();
    FindEditorWindow();
    EXPECT_EQ(Navigator.EditorHandle, other.get());
}

TEST(WindowRectValue, SidesKeepTheirSign) {
    OwnedWindow window = MakeWindow(L"rect", true, -300, -200, 250, 120);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window.get(), &rect));
    ASSERT_LT(rect.left, 0);
    ASSERT_LT(rect.top, 0);
    struct Case {
        int64_t side, value;
    };
    const Case cases[] = {{0, rect.left}, {1, rect.top}, {2, rect.right}, {3, rect.bottom},
                          {4, 0},         {-1, 0},       {5, 0},          {INT64_MIN, 0}};
    for (const Case& c : cases) EXPECT_EQ(WindowRectValue(window.get(), c.side), c.value) << "side " << c.side;
    EXPECT_EQ(rect.left, -300);
    EXPECT_EQ(rect.top, -200);
}

TEST(WindowRectValue, NullAndDestroyedWindowsReadZero) {
    HWND gone = MakeWindow(L"gone", true).get(); // destroyed at the end of the statement
    for (int64_t side = 0; side < 4; ++side) {
        EXPECT_EQ(WindowRectValue(nullptr, side), 0) << "null, side " << side;
        EXPECT_EQ(WindowRectValue(gone, side), 0) << "destroyed, side " << side;
    }
}

} // namespace
