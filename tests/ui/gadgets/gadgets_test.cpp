// Gadgets under Wine: the controls labels and text fields become, the queries
// by number, focus and its events, and Tab navigation through real key presses.
#include "ui/gadgets/gadgets.h"
#include "ui/windows/app_windows.h"

#include "base/runtime/registry.h"
#include "base/text/text.h"
#include "support/key_spy.h"
#include "support/prompt_window.h"
#include "support/sequence.h"
#include "support/test_windows.h"
#include "text_helpers.h"
#include "support/ui_runtime.h"
#include "input.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// The prompt's window, empty: each test creates the gadgets it looks at.
constexpr PromptGadgets NO_GADGETS = {.field = false};

Events FocusMoves(int64_t from, int64_t to) {
    return {Gadget(from, EVENT_TYPE_LOST_FOCUS), Gadget(from, EN_KILLFOCUS_), Gadget(to, EVENT_TYPE_FOCUS),
            Gadget(to, EN_SETFOCUS_)};
}
Events Typed(int64_t gadget) { return {Gadget(gadget, EN_UPDATE_), Gadget(gadget, EN_CHANGE_)}; }
// Erasing the window's background as controls come and go is the platform's
// painting, not part of what a test looks at.
Events WithoutRepaints(const Events& events) {
    Events kept;
    for (const EventRecord& r : events)
        if (r.code != EVENT_REPAINT) kept.push_back(r);
    return kept;
}

Events operator+(Events a, const Events& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class GadgetsTest : public UiRuntimeTest {
protected:
    // Types one character as a marker behind earlier input and waits until
    // the field shows it: everything typed before has been processed then.
    bool TypeMarker(HWND field) {
        const std::wstring before = FieldText(field);
        SendText(L"x");
        return PumpUntil([&] { return FieldText(field) == before + L"x"; });
    }
};

using Gadgets = GadgetsTest;

// --- Creating ----------------------------------------------------------------

struct StyleCase {
    const char* name;
    bool field;
    uint32_t flags;
    LONG_PTR style;
    LONG_PTR exStyle;
};

TEST_F(Gadgets, LabelsAndFieldsGetTheirStylesClassesAndNumbers) {
    const StyleCase cases[] = {
        {"label", false, 0, 0x50020080, 0},
        {"label with border flag", false, 0x20000, 0x50020080, WS_EX_CLIENTEDGE},
        {"label centred", false, SS_CENTER, 0x50020081, 0},
        {"field", true, 0, 0x50030080, WS_EX_CLIENTEDGE},
        {"field with border flag: no edge", true, 0x20000, 0x50030080, 0},
        {"field with password flag", true, ES_PASSWORD, 0x500300A0, WS_EX_CLIENTEDGE},
    };
    HWND window = OpenPrompt(NO_GADGETS);
    int64_t number = 1;
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int64_t created = c.field ? CreateTextField(number, 10, 30, 100, 20, L"Text", c.flags)
                                        : CreateLabel(number, 10, 10, 100, 20, L"Enter line no.", c.flags);
        ASSERT_NE(created, 0);
        HWND control = reinterpret_cast<HWND>(created);
        EXPECT_EQ(Control(number), control);
        EXPECT_EQ(ClassOf(control), c.field ? L"Edit" : L"Static");
        EXPECT_EQ(GetWindowLongPtrW(control, GWL_STYLE), c.style);
        EXPECT_EQ(GetWindowLongPtrW(control, GWL_EXSTYLE), c.exStyle);
        EXPECT_EQ(GetWindowLongPtrW(control, GWLP_ID), number);
        EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropW(control, GADGET_NUMBER_PROPERTY)), number);
        EXPECT_EQ(GetParent(control), window);
        EXPECT_EQ(FieldText(control), c.field ? L"Text" : L"Enter line no.");
        RECT place = {};
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(place.left, 10);
        EXPECT_EQ(place.right - place.left, 100);
        EXPECT_EQ(place.bottom - place.top, 20);
        EXPECT_EQ(GadgetKind(number), c.field ? GADGET_KIND_STRING : GADGET_KIND_TEXT);
        ++number;
    }
}

TEST_F(Gadgets, NullTextIsTheEmptyText) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, nullptr), 0);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, nullptr), 0);
    EXPECT_EQ(FieldText(Control(1)), L"");
    EXPECT_EQ(FieldText(Control(2)), L"");
}

TEST_F(Gadgets, EveryGadgetUsesTheMessageFont) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    ASSERT_NE(GadgetFont(), nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Control(1), WM_GETFONT, 0, 0)), GadgetFont());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Control(2), WM_GETFONT, 0, 0)), GadgetFont());

    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    LOGFONTW font = {};
    ASSERT_EQ(GetObjectW(GadgetFont(), sizeof font, &font), static_cast<int>(sizeof font));
    const LOGFONTW& message = metrics.lfMessageFont;
    EXPECT_EQ(font.lfHeight, message.lfHeight);
    EXPECT_EQ(font.lfWidth, message.lfWidth);
    EXPECT_EQ(font.lfWeight, message.lfWeight);
    EXPECT_EQ(font.lfItalic, message.lfItalic);
    EXPECT_EQ(font.lfCharSet, message.lfCharSet);
    EXPECT_EQ(font.lfQuality, message.lfQuality);
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(message.lfFaceName));
    EXPECT_NE(GadgetFont(), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(Gadgets, GeneratedNumberIsTheControlsId) {
    OpenPrompt(NO_GADGETS);
    const int64_t number = CreateTextField(NEW_OBJECT, 10, 30, 100, 20, L"");
    ASSERT_NE(number, 0);
    HWND control = Control(number);
    EXPECT_EQ(GetWindowLongPtrW(control, GWLP_ID), number);
    EXPECT_EQ(GadgetExists(number), 1);
    EXPECT_EQ(GadgetKind(number), GADGET_KIND_STRING);
    StartRecording();

    FocusGadget(number);

    // Even the edit control's own notification, whose word-sized id cannot
    // hold the number, is reported under the full number.
    const Events expected = {Gadget(number, EVENT_TYPE_FOCUS), Gadget(number, EN_SETFOCUS_)};
    EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
    EXPECT_EQ(FocusedGadget(), number);
}

TEST_F(Gadgets, NumberAboveSixteenBitsIsReportedInFull) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateTextField(70000, 10, 30, 100, 20, L""), 0);
    EXPECT_EQ(GetWindowLongPtrW(Control(70000), GWLP_ID), 70000);
    StartRecording();

    FocusGadget(70000);

    const Events expected = {Gadget(70000, EVENT_TYPE_FOCUS), Gadget(70000, EN_SETFOCUS_)};
    EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
    EXPECT_EQ(FocusedGadget(), 70000);
    EXPECT_EQ(GadgetKind(70000), GADGET_KIND_STRING);
    EXPECT_EQ(GadgetKind(70000 & 0xFFFF), 0);
}

TEST_F(Gadgets, CreationWithoutAContainerFailsAndTakesNoNumber) {
    // Nothing opened yet: there is no container.
    EXPECT_EQ(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    EXPECT_EQ(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
    EXPECT_EQ(CreateTextField(NEW_OBJECT, 10, 30, 100, 20, L""), 0);
    EXPECT_EQ(GadgetExists(2), 0);
    EXPECT_EQ(GadgetExists(1), 0);
    EXPECT_EQ(LookupObject(GadgetRegistry, 2), nullptr);
    EXPECT_EQ(GadgetKind(2), 0);
}

TEST_F(Gadgets, FailedCreationLeavesAnOlderGadgetOfTheNumberAlone) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L"old"), 0);
    HWND old = Control(2);
    // A second window becomes the container and closes: none is left.
    ASSERT_NE(OpenAppWindow(1, 600, 400, 120, 60, L"Other", DEFAULT_WINDOW_FLAGS), 0);
    CloseAppWindow(1);
    ASSERT_EQ(CurrentGadgetContainer(), nullptr);

    EXPECT_EQ(CreateTextField(2, 10, 30, 100, 20, L"new"), 0);

    EXPECT_TRUE(IsWindow(old));
    EXPECT_EQ(Control(2), old);
    EXPECT_EQ(FieldText(old), L"old");
    EXPECT_EQ(GadgetKind(2), GADGET_KIND_STRING);
}

TEST_F(Gadgets, RecreatingANumberDestroysTheOldControlAndItsQueuedEvents) {
    HWND window = OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L"old"), 0);
    HWND old = Control(2);
    DrainEvents();
    EventRecorder::Bind();
    FocusGadget(2);                             // its focus events wait in the queue
    RaiseEvent(EVENT_GADGET, 0, 1, EN_CHANGE_); // an event of another gadget, which stays
    EventRecorder::Clear();

    const int64_t created = CreateTextField(2, 10, 30, 100, 20, L"new");

    ASSERT_NE(created, 0);
    HWND control = reinterpret_cast<HWND>(created);
    EXPECT_NE(control, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(Control(2), control);
    EXPECT_EQ(GetDlgItem(window, 2), control);
    EXPECT_EQ(FieldText(control), L"new");
    // The old field lost the focus on its way out; those events went too.
    EXPECT_TRUE(SameSequence(Events{Gadget(2, EVENT_TYPE_LOST_FOCUS), Gadget(2, EN_KILLFOCUS_)},
                             WithoutRepaints(EventRecorder::Raised()), EventName));
    EXPECT_TRUE(SameSequence(Events{Gadget(1, EN_CHANGE_)}, WithoutRepaints(DrainEvents()), EventName));
}

TEST_F(Gadgets, ReleasingDestroysTheControlAndFreesTheNumber) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    HWND label = Control(1), field = Control(2);

    ReleaseGadget(2);
    EXPECT_FALSE(IsWindow(field));
    EXPECT_EQ(GadgetExists(2), 0);
    EXPECT_EQ(GadgetExists(1), 1);

    ReleaseGadget(ALL_OBJECTS);
    EXPECT_FALSE(IsWindow(label));
    EXPECT_EQ(GadgetExists(1), 0);
}

TEST_F(Gadgets, ClosingTheWindowFreesItsGadgetNumbers) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    CloseAppWindow(0);
    EXPECT_EQ(GadgetExists(1), 0);
    EXPECT_EQ(GadgetExists(2), 0);
    EXPECT_EQ(GadgetKind(2), 0);
}

// --- Queries -------------------------------------------------------------------

TEST_F(Gadgets, KindAndExistenceByNumber) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    struct Case {
        int64_t number;
        int32_t kind;
        int32_t exists;
    };
    const Case cases[] = {
        {1, GADGET_KIND_TEXT, 1},
        {2, GADGET_KIND_STRING, 1},
        {0, 0, 0},
        {5, 0, 0},
        {49, 0, 0},
        {50, 0, 0},
        {1000, 0, 0},
        {-1, 0, 0},
        {-2, 0, 0},
        {INT64_MAX, 0, 0},
        {reinterpret_cast<int64_t>(Control(2)), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(GadgetKind(c.number), c.kind);
        EXPECT_EQ(GadgetExists(c.number) != 0, c.exists != 0);
    }
}

TEST_F(Gadgets, TextOfGadgetsAndOfUnknownNumbers) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    ASSERT_NE(CreateTextField(3, 10, 30, 100, 20, L"12"), 0);
    struct Case {
        int64_t number;
        std::wstring text;
    };
    const Case cases[] = {{1, L"Enter line no."}, {2, L""}, {3, L"12"}, {5, L""}, {-1, L""}, {INT64_MAX, L""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        const int32_t before = TextAreaEnd();
        const int32_t at = GadgetText(c.number);
        EXPECT_EQ(at, before);
        EXPECT_EQ(std::wstring(TextAt(at)), c.text);
        // The result ends the area: its units, without the terminator.
        EXPECT_EQ(TextAreaEnd(), at + static_cast<int32_t>(c.text.size() * sizeof(TextUnit)));
        ResetTextArea(before);
    }
}

TEST_F(Gadgets, TypingRaisesUpdateAndChange) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    FocusGadget(2);
    StartRecording();

    SendText(L"7");

    ASSERT_TRUE(PumpUntil([] { return FieldText(Control(2)) == L"7"; }));
    EXPECT_TRUE(SameSequence(Typed(2), EventRecorder::Raised(), EventName));
}

TEST_F(Gadgets, TypedTextIsTheGadgetText) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    FocusGadget(2);
    StartRecording();

    SendText(L"1234");

    ASSERT_TRUE(PumpUntil([] { return GetWindowTextLengthW(Control(2)) == 4; }));
    const int32_t before = TextAreaEnd();
    const int32_t at = GadgetText(2);
    EXPECT_EQ(at, before);
    EXPECT_EQ(std::wstring(TextAt(at)), L"1234");
    EXPECT_EQ(TextAreaEnd(), at + 4 * static_cast<int32_t>(sizeof(TextUnit)));
    EXPECT_TRUE(SameSequence(Typed(2) + Typed(2) + Typed(2) + Typed(2), EventRecorder::Raised(), EventName));
}

// --- Focus -----------------------------------------------------------------------

TEST_F(Gadgets, FocusedGadgetNamesTheGadgetWithTheFocus) {
    HWND window = OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    ASSERT_NE(CreateTextField(0, 10, 5, 100, 20, L""), 0);
    HWND foreign = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window,
                                   reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    struct Case {
        const char* name;
        HWND focus;
        int64_t gadget;
    };
    const Case cases[] = {
        {"text field 2", Control(2), 2},   {"gadget numbered 0", Control(0), 0},         {"label", Control(1), 1},
        {"the window itself", window, -1}, {"a control that is no gadget", foreign, -1}, {"nowhere", nullptr, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetFocus(c.focus);
        ASSERT_EQ(GetFocus(), c.focus);
        EXPECT_EQ(FocusedGadget(), c.gadget);
    }
}

TEST_F(Gadgets, FocusingNowhereRaisesLostFocus) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    FocusGadget(2);
    StartRecording();

    FocusGadget(ALL_OBJECTS);

    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(FocusedGadget(), -1);
    const Events expected = {Gadget(2, EVENT_TYPE_LOST_FOCUS), Gadget(2, EN_KILLFOCUS_)};
    EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(SameSequence(expected, DrainEvents(), EventName));
}

TEST_F(Gadgets, FocusingAnUnknownNumberChangesNothing) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
    FocusGadget(2);
    StartRecording();

    FocusGadget(5);

    EXPECT_EQ(FocusedGadget(), 2);
    EXPECT_TRUE(SameSequence(Events{}, EventRecorder::Raised(), EventName));
}

TEST_F(Gadgets, FocusingALabelRaisesNoFocusEvent) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
    StartRecording();

    FocusGadget(1);

    EXPECT_EQ(FocusedGadget(), 1);
    EXPECT_TRUE(SameSequence(Events{}, EventRecorder::Raised(), EventName));
}

// --- Tab navigation -------------------------------------------------------------

TEST_F(Gadgets, TabWithOneTabStopKeepsTheFocusInTheField) {
    struct Case {
        const char* name;
        bool shift;
    };
    const Case cases[] = {{"Tab", false}, {"Shift+Tab", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPrompt(NO_GADGETS);
        ASSERT_NE(CreateLabel(1, 10, 10, 100, 20, L"Enter line no."), 0);
        ASSERT_NE(CreateTextField(2, 10, 30, 100, 20, L""), 0);
        FocusGadget(2);
        KeySpy::Attach(Control(2));
        StartRecording();

        SendKey(VK_TAB, c.shift);

        ASSERT_TRUE(TypeMarker(Control(2)));
        EXPECT_EQ(FocusedGadget(), 2);
        // The field got the marker, and of the Tab only its release: the
        // press went to the window's shortcut list.
        EXPECT_TRUE(SameSequence(Typed(2), EventRecorder::Raised(), EventName));
        EXPECT_TRUE(
            SameSequence(std::vector<KeyMessage>{{WM_KEYUP, VK_TAB}}, KeySpy::About(VK_TAB, L'\t'), KeyMessageName));
        CloseAppWindow(0);
        DrainEvents();
    }
}

struct TabCase {
    const char* name;
    int64_t from; // -1: the window itself has the focus
    bool shift;
    int64_t to;
};

TEST_F(Gadgets, TabMovesBetweenTwoFieldsAndWrapsAround) {
    const TabCase cases[] = {
        {"Tab 2 to 3", 2, false, 3},
        {"Tab 3 wraps to 2", 3, false, 2},
        {"Shift+Tab 3 to 2", 3, true, 2},
        {"Shift+Tab 2 wraps to 3", 2, true, 3},
        {"Tab from the window: first", -1, false, 2},
        {"Shift+Tab from the window: last", -1, true, 3},
    };
    for (const TabCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = OpenPrompt(NO_GADGETS);
        ASSERT_NE(CreateLabel(1, 10, 0, 100, 10, L"Enter line no."), 0);
        ASSERT_NE(CreateTextField(2, 10, 10, 100, 20, L""), 0);
        ASSERT_NE(CreateTextField(3, 10, 35, 100, 20, L""), 0);
        if (c.from >= 0) FocusGadget(c.from);
        else SetFocus(window);
        StartRecording();

        SendKey(VK_TAB, c.shift);

        ASSERT_TRUE(PumpUntil([&] { return FocusedGadget() == c.to; }));
        const Events moved =
            c.from >= 0 ? FocusMoves(c.from, c.to) : Events{Gadget(c.to, EVENT_TYPE_FOCUS), Gadget(c.to, EN_SETFOCUS_)};
        EXPECT_TRUE(SameSequence(moved, EventRecorder::Raised(), EventName));
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Gadgets, TabSkipsDisabledAndHiddenFields) {
    struct Case {
        const char* name;
        bool disable; // else hide
    };
    const Case cases[] = {{"disabled", true}, {"hidden", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPrompt(NO_GADGETS);
        ASSERT_NE(CreateTextField(2, 10, 5, 100, 20, L""), 0);
        ASSERT_NE(CreateTextField(3, 10, 30, 100, 20, L""), 0);
        ASSERT_NE(CreateTextField(4, 10, 30, 100, 20, L""), 0);
        if (c.disable) EnableWindow(Control(3), FALSE);
        else ShowWindow(Control(3), SW_HIDE);
        FocusGadget(2);
        StartRecording();

        SendKey(VK_TAB);

        ASSERT_TRUE(PumpUntil([] { return FocusedGadget() == 4; }));
        EXPECT_TRUE(SameSequence(FocusMoves(2, 4), EventRecorder::Raised(), EventName));
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Gadgets, TabFromAControlThatIsNoTabStopDoesNothing) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateTextField(2, 10, 5, 100, 20, L""), 0);
    ASSERT_NE(CreateTextField(3, 10, 30, 100, 20, L""), 0);
    SetWindowLongPtrW(Control(3), GWL_STYLE, GetWindowLongPtrW(Control(3), GWL_STYLE) & ~WS_TABSTOP);
    FocusGadget(3);
    KeySpy::Attach(Control(3));
    StartRecording();

    SendKey(VK_TAB);

    // Backwards it would go to the last tab stop; forwards nothing happens.
    ASSERT_TRUE(PumpUntil([] { return KeySpy::SawRelease(VK_TAB); }));
    EXPECT_EQ(FocusedGadget(), 3);
    EXPECT_TRUE(SameSequence(Events{}, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(
        SameSequence(std::vector<KeyMessage>{{WM_KEYUP, VK_TAB}}, KeySpy::About(VK_TAB, L'\t'), KeyMessageName));
}

TEST_F(Gadgets, ShiftTabFromAControlThatIsNoTabStopGoesToTheLast) {
    OpenPrompt(NO_GADGETS);
    ASSERT_NE(CreateTextField(2, 10, 5, 100, 20, L""), 0);
    ASSERT_NE(CreateTextField(3, 10, 30, 100, 20, L""), 0);
    ASSERT_NE(CreateLabel(1, 10, 30, 100, 20, L"label"), 0);
    FocusGadget(1);
    StartRecording();

    SendKey(VK_TAB, true);

    ASSERT_TRUE(PumpUntil([] { return FocusedGadget() == 3; }));
    EXPECT_TRUE(
        SameSequence(Events{Gadget(3, EVENT_TYPE_FOCUS), Gadget(3, EN_SETFOCUS_)}, EventRecorder::Raised(), EventName));
}

// The message font is the gadget component's own: deleted at shutdown, while
// the stock font it may stand in for is never touched.
TEST_F(Gadgets, ShutdownDeletesTheMessageFontOnly) {
    const HFONT font = GadgetFont();
    ASSERT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    ASSERT_NE(font, GetStockObject(DEFAULT_GUI_FONT));
    EndGadgets();
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), static_cast<DWORD>(OBJ_FONT));
}

} // namespace
