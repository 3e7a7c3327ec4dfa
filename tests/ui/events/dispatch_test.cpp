// The event queue, the handler table and dispatch, without any window: events
// are raised directly and their handlers log what they saw.
#include "ui/events/dispatch.h"

#include "support/handler_log.h"
#include "support/runtime_fixture.h"
#include "support/sequence.h"
#include "support/test_hooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The key written independently of the runtime's own formatting.
struct Key {
    int32_t code;
    int64_t window;
    int64_t object;
    int64_t type;
};

std::string KeyText(const Key& key) {
    char text[128];
    std::snprintf(text, sizeof text, "%" PRId32 ":%" PRId64 ":%" PRId64 ":%" PRId64, key.code, key.window, key.object,
                  key.type);
    return text;
}

// --- Events as the queue hands them out -----------------------------------------

struct Event {
    int32_t code;
    int64_t window;
    int64_t object;
    int64_t type;
    uint64_t data = 0;
    bool operator==(const Event&) const = default;
};

std::string EventText(const Event& e) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "(%" PRId32 ", window %" PRId64 ", object %" PRId64 ", type %" PRId64 ", data %" PRIu64 ")", e.code,
                  e.window, e.object, e.type, e.data);
    return text;
}

Event FromCurrent() {
    const AppEvent& e = CurrentEvent();
    return {e.code, e.window, e.object, e.type, e.data};
}

void Raise(const Event& e) { RaiseFullEvent(AppEvent{e.code, e.object, e.window, e.type, e.data}); }

// Empties the queue through TakeQueuedEvent, oldest first.
std::vector<Event> TakeAll() {
    std::vector<Event> taken;
    for (int guard = 0; guard < 1000 && TakeQueuedEvent() != 0; ++guard) taken.push_back(FromCurrent());
    return taken;
}

// Records the current event, reading type and object through the accessors
// handlers use.
std::vector<Event>& Seen() {
    static std::vector<Event> seen;
    return seen;
}

void RecordCurrent() {
    const AppEvent& e = CurrentEvent();
    Seen().push_back({e.code, e.window, CurrentEventGadget(), CurrentEventType(), e.data});
}

class DispatchTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        StartEventQueue();
        HandlerLog().clear();
        Seen().clear();
        ForgetLoggingHandlers();
    }
};

// --- Binding keys and their hash -------------------------------------------------

struct KeyCase {
    Key key;
    const char* text;
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.text; }

class DispatchKeyFormat : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DispatchKeyFormat, WritesSignedDecimalsJoinedByColons) {
    const KeyCase& c = GetParam();
    char out[BINDING_KEY_UNITS];
    std::memset(out, 'x', sizeof out);
    const int32_t length = FormatBindingKey(out, c.key.code, c.key.window, c.key.object, c.key.type);
    EXPECT_STREQ(out, c.text);
    EXPECT_EQ(length, static_cast<int32_t>(std::strlen(c.text)));
}

INSTANTIATE_TEST_SUITE_P(
    Dispatch, DispatchKeyFormat,
    ::testing::Values(KeyCase{{EVENT_GADGET, -1, -1, -1}, "13100:-1:-1:-1"},
                      KeyCase{{EVENT_MENU, 0, 10000, 0}, "13101:0:10000:0"},
                      KeyCase{{EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS}, "13100:0:2:14000"},
                      KeyCase{{-7, -10, -200, -3000}, "-7:-10:-200:-3000"},
                      KeyCase{{65536, 4294967296, 1, 0}, "65536:4294967296:1:0"},
                      KeyCase{{INT32_MAX, INT64_MAX, INT64_MAX, INT64_MAX},
                              "2147483647:9223372036854775807:9223372036854775807:9223372036854775807"},
                      // The longest key there is: 74 units.
                      KeyCase{{INT32_MIN, INT64_MIN, INT64_MIN, INT64_MIN},
                              "-2147483648:-9223372036854775808:-9223372036854775808:-9223372036854775808"}));

TEST(DispatchKeyLength, TheLongestKeyFitsWithItsTerminator) {
    char out[BINDING_KEY_UNITS + 8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(FormatBindingKey(out, INT32_MIN, INT64_MIN, INT64_MIN, INT64_MIN), 74);
    EXPECT_EQ(out[74], 0);
    EXPECT_EQ(out[75], 'x') << "nothing written past the terminator";
}

struct HashCase {
    const char* key;
    uint32_t hash;
};

void PrintTo(const HashCase& c, std::ostream* out) { *out << c.key; }

class DispatchKeyHash : public ::testing::TestWithParam<HashCase> {};

// Reference values of sdbm (h = h * 65599 + unit, 32 bits) computed apart.
TEST_P(DispatchKeyHash, IsSdbmOverTheUnits) { EXPECT_EQ(BindingKeyHash(GetParam().key), GetParam().hash); }

INSTANTIATE_TEST_SUITE_P(
    Dispatch, DispatchKeyHash,
    ::testing::Values(HashCase{"", 0u}, HashCase{"a", 97u}, HashCase{"ab", 6363201u},
                      HashCase{"13100:-1:-1:-1", 539279567u}, HashCase{"13101:0:10000:0", 3971294675u},
                      HashCase{"-2147483648:-9223372036854775808:-9223372036854775808:-9223372036854775808",
                               46678358u}));

// --- The five lookups ---------------------------------------------------------------

struct LookupCase {
    const char* name;
    Key event;
    std::vector<Key> bound;            // each under its own handler, in this order
    std::vector<std::string> expected; // keys of the handlers, in the order they ran
};

void PrintTo(const LookupCase& c, std::ostream* out) { *out << c.name; }

class DispatchLookups : public DispatchTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(DispatchLookups, RunHandlersKeyByKeyInLookupOrder) {
    const LookupCase& c = GetParam();
    int slot = 0;
    for (const Key& key : c.bound)
        ASSERT_EQ(BindEventHandler(key.code, LoggingHandler(slot++, KeyText(key)), key.window, key.object, key.type),
                  1);
    RaiseEvent(c.event.code, c.event.window, c.event.object, c.event.type);
    EXPECT_TRUE(SameSequence(c.expected, HandlerLog(), LogLine));
}

const LookupCase LOOKUP_CASES[] = {
    {"AllFiveInOrderAndNoOtherKey",
     {EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS},
     // Bound in reverse, and among keys that must not run: the order comes
     // from the lookups, not from the table.
     {{EVENT_GADGET, -1, 2, EVENT_TYPE_FOCUS},
      {EVENT_GADGET, -1, -1, -1},
      {EVENT_GADGET, 0, -1, -1},
      {EVENT_GADGET, 0, 2, -1},
      {EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS},
      {EVENT_MENU, -1, -1, -1},
      {EVENT_GADGET, 1, 2, EVENT_TYPE_FOCUS},
      {EVENT_GADGET, 0, 3, EVENT_TYPE_FOCUS},
      {EVENT_GADGET, 0, 2, 256},
      {EVENT_GADGET, -1, 2, -1},
      {EVENT_GADGET, -1, -1, EVENT_TYPE_FOCUS},
      {EVENT_GADGET, 0, -1, EVENT_TYPE_FOCUS}},
     {"13100:0:2:14000", "13100:0:2:-1", "13100:0:-1:-1", "13100:-1:-1:-1", "13100:-1:2:14000"}},
    {"MenuItemBeforeAllFields",
     {EVENT_MENU, 0, 10000, 0},
     {{EVENT_MENU, -1, -1, -1}, {EVENT_MENU, 0, 10000, 0}},
     {"13101:0:10000:0", "13101:-1:-1:-1"}},
    {"WindowNoneRunsTwoKeysTwice",
     {EVENT_GADGET, -1, 2, EVENT_TYPE_FOCUS},
     {{EVENT_GADGET, -1, -1, -1}, {EVENT_GADGET, -1, 2, EVENT_TYPE_FOCUS}, {EVENT_GADGET, -1, 2, -1}},
     {"13100:-1:2:14000", "13100:-1:2:-1", "13100:-1:-1:-1", "13100:-1:-1:-1", "13100:-1:2:14000"}},
    {"WindowAndObjectNoneRunAllFieldsThrice",
     {EVENT_GADGET, -1, -1, EVENT_TYPE_FOCUS},
     {{EVENT_GADGET, -1, -1, -1}, {EVENT_GADGET, -1, -1, EVENT_TYPE_FOCUS}},
     {"13100:-1:-1:14000", "13100:-1:-1:-1", "13100:-1:-1:-1", "13100:-1:-1:-1", "13100:-1:-1:14000"}},
    {"EveryFieldNoneRunsAllFieldsFiveTimes",
     {EVENT_GADGET, -1, -1, -1},
     {{EVENT_GADGET, -1, -1, -1}},
     {"13100:-1:-1:-1", "13100:-1:-1:-1", "13100:-1:-1:-1", "13100:-1:-1:-1", "13100:-1:-1:-1"}},
    {"NegativeNumbersAreNotTheirMagnitudes",
     {EVENT_TIMER, -2, -3, -4},
     {{EVENT_TIMER, 2, 3, 4}, {EVENT_TIMER, -2, 3, 4}, {EVENT_TIMER, -2, -3, -4}, {EVENT_TIMER, -2, -3, 4}},
     {"13110:-2:-3:-4"}},
    {"ExtremeNumbers",
     {EVENT_TIMER, INT64_MIN, INT64_MAX, INT64_MIN},
     {{EVENT_TIMER, INT64_MAX, INT64_MAX, INT64_MIN},
      {EVENT_TIMER, INT64_MIN, INT64_MAX, INT64_MIN},
      {EVENT_TIMER, -1, INT64_MAX, INT64_MIN}},
     {"13110:-9223372036854775808:9223372036854775807:-9223372036854775808",
      "13110:-1:9223372036854775807:-9223372036854775808"}},
    {"CodeAboveTheTable",
     {70000, 0, 0, 0},
     {{70000, -1, -1, -1}, {7000, -1, -1, -1}, {EVENT_GADGET, -1, -1, -1}},
     {"70000:-1:-1:-1"}},
    {"NothingBoundForTheCode",
     {EVENT_CLOSE_WINDOW, 0, 0, 0},
     {{EVENT_GADGET, -1, -1, -1}, {EVENT_REPAINT, 0, 0, 0}},
     {}},
};

INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchLookups, ::testing::ValuesIn(LOOKUP_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Handlers within one key, and binding twice --------------------------------------

using DispatchBindings = DispatchTest;

TEST_F(DispatchBindings, HandlersUnderOneKeyRunNewestFirst) {
    BindEventHandler(EVENT_GADGET, LoggingHandler(0, "first"));
    BindEventHandler(EVENT_GADGET, LoggingHandler(1, "second"));
    BindEventHandler(EVENT_GADGET, LoggingHandler(2, "third"));
    RaiseEvent(EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS);
    const std::vector<std::string> expected = {"third", "second", "first"};
    EXPECT_TRUE(SameSequence(expected, HandlerLog(), LogLine));
}

TEST_F(DispatchBindings, BindingTwiceUnderOneKeyReturnsZeroAndRunsOncePerLookup) {
    EventHandler handler = LoggingHandler(0, "handler");
    const std::vector<int32_t> results = {
        BindEventHandler(EVENT_MENU, handler),              // all fields
        BindEventHandler(EVENT_MENU, handler),              // again
        BindEventHandler(EVENT_MENU, handler, -1, -1, -1),  // the same key, written out
        BindEventHandler(EVENT_MENU, handler, 0, 10000, 0), // another key
        BindEventHandler(EVENT_MENU, handler, 0, 10000, 0), // again
    };
    EXPECT_EQ(results, (std::vector<int32_t>{1, 0, 0, 1, 0}));
    RaiseEvent(EVENT_MENU, 0, 10000, 0);
    const std::vector<std::string> expected = {"handler", "handler"}; // lookups 1 and 4
    EXPECT_TRUE(SameSequence(expected, HandlerLog(), LogLine));
}

TEST_F(DispatchBindings, AHandlerBoundDuringDispatchJoinsOnlyLookupsNotStarted) {
    const Key running = {EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS}; // lookup 1
    const Key later = {EVENT_GADGET, -1, -1, -1};               // lookup 4
    BindEventHandler(running.code, LoggingHandler(0, "older in 1"), running.window, running.object, running.type);
    BindEventHandler(later.code, LoggingHandler(1, "bound in 4"), later.window, later.object, later.type);
    BindEventHandler(running.code,
                     LoggingHandler(2, "binder in 1",
                                    [&] {
                                        BindEventHandler(running.code, LoggingHandler(3, "late in 1"), running.window,
                                                         running.object, running.type);
                                        BindEventHandler(later.code, LoggingHandler(4, "late in 4"), later.window,
                                                         later.object, later.type);
                                        BindEventHandler(EVENT_GADGET, LoggingHandler(5, "late in 3"), 0, -1, -1);
                                    }),
                     running.window, running.object, running.type);
    RaiseEvent(running.code, running.window, running.object, running.type);
    // The late handler of the running key goes in front of it, so that walk
    // never meets it; the other two keys had not been looked up yet.
    const std::vector<std::string> expected = {"binder in 1", "older in 1", "late in 3", "late in 4", "bound in 4"};
    EXPECT_TRUE(SameSequence(expected, HandlerLog(), LogLine));
}

TEST_F(DispatchBindings, AHandlerBoundUnderARepeatedKeyRunsFromTheNextLookup) {
    // Every lookup of an event with all fields -1 gives the same key.
    BindEventHandler(EVENT_GADGET, LoggingHandler(0, "binder", [] {
                         const int32_t bound = BindEventHandler(EVENT_GADGET, LoggingHandler(1, "late"));
                         HandlerLog().push_back("bound " + std::to_string(bound));
                     }));
    RaiseEvent(EVENT_GADGET, -1, -1, -1);
    const std::vector<std::string> expected = {"binder",  "bound 1", "late",    "binder", "bound 0",
                                               "late",    "binder",  "bound 0", "late",   "binder",
                                               "bound 0", "late",    "binder",  "bound 0"};
    EXPECT_TRUE(SameSequence(expected, HandlerLog(), LogLine));
}

// --- Queueing and the tail -------------------------------------------------------------

struct TailCase {
    const char* name;
    std::vector<Event> raised;
    std::vector<Event> queued;
};

void PrintTo(const TailCase& c, std::ostream* out) { *out << c.name; }

class DispatchTail : public DispatchTest, public ::testing::WithParamInterface<TailCase> {};

TEST_P(DispatchTail, AnEventIdenticalToTheTailIsNotQueuedAgainButItsHandlersRun) {
    const TailCase& c = GetParam();
    for (const Event& e : c.raised) BindEventHandler(e.code, RecordCurrent); // 0 for codes seen before
    for (const Event& e : c.raised) Raise(e);
    EXPECT_TRUE(SameSequence(c.raised, Seen(), EventText)) << "handlers run for every raise";
    EXPECT_EQ(QueuedEventCount(), static_cast<int32_t>(c.queued.size()));
    EXPECT_TRUE(SameSequence(c.queued, TakeAll(), EventText));
}

const Event FOCUS = {EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS};
const Event GOT_FOCUS = {EVENT_GADGET, 0, 2, 256};

const TailCase TAIL_CASES[] = {
    {"SameGadgetEventTwice", {FOCUS, FOCUS}, {FOCUS}},
    {"ThreeInARow", {FOCUS, FOCUS, FOCUS}, {FOCUS}},
    {"SameEventNotAtTheTail", {FOCUS, GOT_FOCUS, FOCUS}, {FOCUS, GOT_FOCUS, FOCUS}},
    {"OtherType", {FOCUS, GOT_FOCUS}, {FOCUS, GOT_FOCUS}},
    {"OtherObject", {FOCUS, {EVENT_GADGET, 0, 1, EVENT_TYPE_FOCUS}}, {FOCUS, {EVENT_GADGET, 0, 1, EVENT_TYPE_FOCUS}}},
    {"OtherWindow", {FOCUS, {EVENT_GADGET, 1, 2, EVENT_TYPE_FOCUS}}, {FOCUS, {EVENT_GADGET, 1, 2, EVENT_TYPE_FOCUS}}},
    {"OtherCode", {{EVENT_MENU, 0, 2, 0}, {EVENT_GADGET, 0, 2, 0}}, {{EVENT_MENU, 0, 2, 0}, {EVENT_GADGET, 0, 2, 0}}},
    // Data is not compared: the event that waits keeps its own.
    {"OnlyDataDiffers",
     {{EVENT_GADGET, 0, 2, 1281, 1}, {EVENT_GADGET, 0, 2, 1281, 2}},
     {{EVENT_GADGET, 0, 2, 1281, 1}}},
    {"LargestDeduplicatedCode", {{65535, 0, 0, 0}, {65535, 0, 0, 0}}, {{65535, 0, 0, 0}}},
    {"NegativeCode", {{-5, 0, 0, 0}, {-5, 0, 0, 0}}, {{-5, 0, 0, 0}}},
    {"SmallestCodeQueuedEveryTime", {{65536, 0, 0, 0}, {65536, 0, 0, 0}}, {{65536, 0, 0, 0}, {65536, 0, 0, 0}}},
    {"LargeCode",
     {{INT32_MAX, 0, 7, 7}, {INT32_MAX, 0, 7, 7}, {INT32_MAX, 0, 7, 7}},
     {{INT32_MAX, 0, 7, 7}, {INT32_MAX, 0, 7, 7}, {INT32_MAX, 0, 7, 7}}},
};

INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchTail, ::testing::ValuesIn(TAIL_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Dropping queued events -------------------------------------------------------------

const std::vector<Event> QUEUE = {
    {EVENT_GADGET, 0, 1, EVENT_TYPE_FOCUS}, // 0
    {EVENT_GADGET, 0, 2, 256},              // 1
    {EVENT_MENU, 0, 10000, 0},              // 2
    {EVENT_GADGET, 1, 2, EVENT_TYPE_FOCUS}, // 3
    {EVENT_SIZE_WINDOW, 0, 0, 0},           // 4
    {EVENT_GADGET, -1, 2, 512},             // 5
    {EVENT_SIZE_WINDOW, 1, 0, 0},           // 6
};

std::vector<Event> QueueWithout(std::initializer_list<int> dropped) {
    std::vector<Event> kept;
    for (int i = 0; i < static_cast<int>(QUEUE.size()); ++i)
        if (std::find(dropped.begin(), dropped.end(), i) == dropped.end()) kept.push_back(QUEUE[i]);
    return kept;
}

struct DropCase {
    const char* name;
    Key pattern;
    std::vector<Event> kept;
};

void PrintTo(const DropCase& c, std::ostream* out) { *out << c.name; }

class DispatchDropQueued : public DispatchTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DispatchDropQueued, RemovesEveryMatchAndKeepsTheOrderOfTheRest) {
    for (const Event& e : QUEUE) Raise(e);
    const Key& p = GetParam().pattern;
    DropQueuedEvents(p.code, p.window, p.object, p.type);
    EXPECT_EQ(QueuedEventCount(), static_cast<int32_t>(GetParam().kept.size()));
    EXPECT_TRUE(SameSequence(GetParam().kept, TakeAll(), EventText));
}

const DropCase DROP_CASES[] = {
    {"EveryEventOfACode", {EVENT_GADGET, -1, -1, -1}, QueueWithout({0, 1, 3, 5})},
    {"EveryEventOfAWindow", {-1, 0, -1, -1}, QueueWithout({0, 1, 2, 4})},
    {"EveryEventOfAnObject", {EVENT_GADGET, -1, 2, -1}, QueueWithout({1, 3, 5})},
    {"EveryEventOfAType", {-1, -1, -1, EVENT_TYPE_FOCUS}, QueueWithout({0, 3})},
    {"OneExactEvent", {EVENT_SIZE_WINDOW, 0, 0, 0}, QueueWithout({4})},
    {"TheHead", {EVENT_GADGET, 0, 1, EVENT_TYPE_FOCUS}, QueueWithout({0})},
    {"TheTail", {EVENT_SIZE_WINDOW, 1, 0, 0}, QueueWithout({6})},
    {"Everything", {-1, -1, -1, -1}, {}},
    {"NothingMatches", {EVENT_SYSTRAY, -1, -1, -1}, QUEUE},
    {"WindowNoneIsAWildcardHere", {EVENT_GADGET, -1, 2, 512}, QueueWithout({5})},
    {"NoWindowFive", {-1, 5, -1, -1}, QUEUE},
};

INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchDropQueued, ::testing::ValuesIn(DROP_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

struct WindowDropCase {
    const char* name;
    int64_t window;
    std::vector<Event> kept;
};

void PrintTo(const WindowDropCase& c, std::ostream* out) { *out << c.name; }

class DispatchDropWindow : public DispatchTest, public ::testing::WithParamInterface<WindowDropCase> {};

TEST_P(DispatchDropWindow, RemovesTheEventsOfExactlyThatWindow) {
    for (const Event& e : QUEUE) Raise(e);
    DropWindowEvents(GetParam().window);
    EXPECT_EQ(QueuedEventCount(), static_cast<int32_t>(GetParam().kept.size()));
    EXPECT_TRUE(SameSequence(GetParam().kept, TakeAll(), EventText));
}

const WindowDropCase WINDOW_DROP_CASES[] = {
    {"WindowZero", 0, QueueWithout({0, 1, 2, 4})},
    {"WindowOne", 1, QueueWithout({3, 6})},
    // -1 is a window value here, not a wildcard.
    {"WindowNone", -1, QueueWithout({5})},
    {"NoSuchWindow", 5, QUEUE},
};

INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchDropWindow, ::testing::ValuesIn(WINDOW_DROP_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

using DispatchQueue = DispatchTest;

TEST_F(DispatchQueue, AfterTheTailIsDroppedTheSameEventQueuesAgain) {
    Raise(FOCUS);
    Raise(GOT_FOCUS);
    DropQueuedEvents(GOT_FOCUS.code, GOT_FOCUS.window, GOT_FOCUS.object, GOT_FOCUS.type);
    Raise(GOT_FOCUS);
    Raise(FOCUS);
    const std::vector<Event> expected = {FOCUS, GOT_FOCUS, FOCUS};
    EXPECT_TRUE(SameSequence(expected, TakeAll(), EventText));
}

TEST_F(DispatchQueue, AfterEverythingIsDroppedTheQueueWorksAgain) {
    for (const Event& e : QUEUE) Raise(e);
    DropWindowEvents(0);
    DropQueuedEvents(-1, -1, -1, -1);
    Raise(FOCUS);
    Raise(FOCUS);
    Raise(GOT_FOCUS);
    const std::vector<Event> expected = {FOCUS, GOT_FOCUS};
    EXPECT_TRUE(SameSequence(expected, TakeAll(), EventText));
}

TEST_F(DispatchQueue, DroppingLeavesTheCurrentEventAlone) {
    const Event taken = {EVENT_GADGET, 3, 4, 1281, 77};
    Raise(taken);
    Raise(FOCUS);
    ASSERT_EQ(TakeQueuedEvent(), EVENT_GADGET);
    DropQueuedEvents(-1, -1, -1, -1);
    DropWindowEvents(3);
    EXPECT_EQ(FromCurrent(), taken);
    EXPECT_EQ(QueuedEventCount(), 0);
}

// --- The current event --------------------------------------------------------------------

using DispatchCurrentEvent = DispatchTest;

TEST_F(DispatchCurrentEvent, IsAllZeroBeforeAnythingIsTaken) {
    EXPECT_EQ(CurrentEventType(), 0);
    EXPECT_EQ(CurrentEventGadget(), 0);
    EXPECT_EQ(FromCurrent(), (Event{0, 0, 0, 0, 0}));
}

struct TakeCase {
    const char* name;
    std::vector<Event> raised;
    int takes;
    int64_t lastResult;
    Event current;
};

void PrintTo(const TakeCase& c, std::ostream* out) { *out << c.name; }

class DispatchTake : public DispatchTest, public ::testing::WithParamInterface<TakeCase> {};

TEST_P(DispatchTake, HandsOutTheOldestOrMarksTheQueueEmpty) {
    const TakeCase& c = GetParam();
    for (const Event& e : c.raised) Raise(e);
    BindEventHandler(EVENT_GADGET, LoggingHandler(0, "handler"));
    int64_t result = -99;
    for (int i = 0; i < c.takes; ++i) result = TakeQueuedEvent();
    EXPECT_EQ(result, c.lastResult);
    EXPECT_EQ(FromCurrent(), c.current);
    EXPECT_TRUE(HandlerLog().empty()) << "taking an event runs no handler";
}

const TakeCase TAKE_CASES[] = {
    {"EmptyFromTheStart", {}, 1, 0, {0, 0, 0, -1, 0}},
    {"OldestWithAllFields", {{EVENT_GADGET, 3, 4, 1281, 99}, FOCUS}, 1, EVENT_GADGET, {EVENT_GADGET, 3, 4, 1281, 99}},
    {"SecondInItsTurn", {{EVENT_GADGET, 3, 4, 1281, 99}, FOCUS}, 2, EVENT_GADGET, FOCUS},
    // Only code and type change: object, window and data stay from the last.
    {"EmptyAfterAnEvent", {{EVENT_GADGET, 3, 4, 1281, 99}}, 2, 0, {0, 3, 4, -1, 99}},
    {"EmptyTwice", {{EVENT_MENU, 6, 10000, 0, 1}}, 3, 0, {0, 6, 10000, -1, 1}},
};

INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchTake, ::testing::ValuesIn(TAKE_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DispatchCurrentEvent, NestedDispatchShowsTheInnerEventAndRestoresTheOuter) {
    const Event before = {EVENT_SIZE_WINDOW, 5, 6, 7, 8};
    Raise(before);
    ASSERT_EQ(TakeQueuedEvent(), EVENT_SIZE_WINDOW);

    BindEventHandler(EVENT_GADGET, LoggingHandler(0, "outer", [] {
                         RecordCurrent();
                         RaiseEvent(EVENT_MENU, 0, 10000, 0);
                         RecordCurrent();
                     }));
    BindEventHandler(EVENT_MENU, RecordCurrent);
    Raise({EVENT_GADGET, 0, 2, EVENT_TYPE_RETURN_KEY, 42});

    const std::vector<Event> expected = {
        {EVENT_GADGET, 0, 2, EVENT_TYPE_RETURN_KEY, 42},
        {EVENT_MENU, 0, 10000, 0, 0},
        {EVENT_GADGET, 0, 2, EVENT_TYPE_RETURN_KEY, 42},
    };
    EXPECT_TRUE(SameSequence(expected, Seen(), EventText));
    EXPECT_EQ(FromCurrent(), before) << "the raiser sees its own current event again";
}

TEST_F(DispatchCurrentEvent, AHandlerTakingFromTheQueueDoesNotChangeTheRaisersCurrentEvent) {
    const Event before = {EVENT_SIZE_WINDOW, 5, 6, 7, 8};
    Raise(before);
    ASSERT_EQ(TakeQueuedEvent(), EVENT_SIZE_WINDOW);
    BindEventHandler(EVENT_GADGET, LoggingHandler(0, "taker", [] {
                         HandlerLog().push_back("took " + std::to_string(TakeQueuedEvent()));
                         RecordCurrent();
                     }));
    Raise(FOCUS);
    const std::vector<std::string> log = {"taker", "took 13100"};
    EXPECT_TRUE(SameSequence(log, HandlerLog(), LogLine));
    EXPECT_TRUE(SameSequence(std::vector<Event>{FOCUS}, Seen(), EventText));
    EXPECT_EQ(FromCurrent(), before);
    EXPECT_EQ(QueuedEventCount(), 0);
}

// --- Unbinding a window ---------------------------------------------------------------------

struct UnbindCase {
    const char* name;
    Key event;
    std::vector<std::string> expected;
};

void PrintTo(const UnbindCase& c, std::ostream* out) { *out << c.name; }

class DispatchUnbindWindow : public DispatchTest, public ::testing::WithParamInterface<UnbindCase> {};

// Bound before window 0's handlers are unbound.
const Key UNBIND_BOUND[] = {
    {EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS},
    {EVENT_GADGET, 0, -1, -1},
    {EVENT_MENU, 0, 10000, 0},
    {EVENT_GADGET, 1, -1, -1},
    {EVENT_GADGET, -1, -1, -1},
    {EVENT_GADGET, -1, 2, EVENT_TYPE_FOCUS},
};

TEST_P(DispatchUnbindWindow, RemovesThatWindowsBindingsOnly) {
    int slot = 0;
    for (const Key& key : UNBIND_BOUND)
        BindEventHandler(key.code, LoggingHandler(slot++, KeyText(key)), key.window, key.object, key.type);
    UnbindWindowHandlers(0);
    const Key& e = GetParam().event;
    RaiseEvent(e.code, e.window, e.object, e.type);
    EXPECT_TRUE(SameSequence(GetParam().expected, HandlerLog(), LogLine));
}

const UnbindCase UNBIND_CASES[] = {
    {"ThatWindowKeepsTheAllWindowBindings",
     {EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS},
     {"13100:-1:-1:-1", "13100:-1:2:14000"}},
    {"ThatWindowsMenuItem", {EVENT_MENU, 0, 10000, 0}, {}},
    {"AnotherWindow", {EVENT_GADGET, 1, 2, EVENT_TYPE_FOCUS}, {"13100:1:-1:-1", "13100:-1:-1:-1", "13100:-1:2:14000"}},
};

INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchUnbindWindow, ::testing::ValuesIn(UNBIND_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DispatchBindings, AfterUnbindingTheSameHandlerBindsAgain) {
    EventHandler handler = LoggingHandler(0, "handler");
    ASSERT_EQ(BindEventHandler(EVENT_MENU, handler, 0, 10000, 0), 1);
    UnbindWindowHandlers(0);
    EXPECT_EQ(BindEventHandler(EVENT_MENU, handler, 0, 10000, 0), 1);
    RaiseEvent(EVENT_MENU, 0, 10000, 0);
    EXPECT_TRUE(SameSequence(std::vector<std::string>{"handler"}, HandlerLog(), LogLine));
}

// A handler that closes its own window while that window's handlers are being
// walked: the walk stops, nothing freed is touched (the sanitizers watch).
struct UnbindInsideCase {
    const char* name;
    bool nested; // unbind from the dispatch of a second event raised inside
    std::vector<std::string> expected;
};

void PrintTo(const UnbindInsideCase& c, std::ostream* out) { *out << c.name; }

class DispatchUnbindInside : public DispatchTest, public ::testing::WithParamInterface<UnbindInsideCase> {};

TEST_P(DispatchUnbindInside, StopsTheWalkOfTheUnboundHandlers) {
    auto unbind = [] {
        UnbindWindowHandlers(0);
        HandlerLog().push_back("unbound");
    };
    BindEventHandler(EVENT_GADGET, LoggingHandler(0, "all"));
    BindEventHandler(EVENT_GADGET, LoggingHandler(1, "any window, gadget 2"), -1, 2, EVENT_TYPE_FOCUS);
    BindEventHandler(EVENT_GADGET, LoggingHandler(2, "window 0, any type"), 0, 2, -1);
    BindEventHandler(EVENT_GADGET, LoggingHandler(3, "window 0, older"), 0, 2, EVENT_TYPE_FOCUS);
    if (GetParam().nested) {
        BindEventHandler(EVENT_MENU, LoggingHandler(4, "menu of window 0", unbind), 0, 10000, 0);
        BindEventHandler(EVENT_MENU, LoggingHandler(5, "menu, any window"));
        BindEventHandler(EVENT_GADGET,
                         LoggingHandler(6, "window 0, newest", [] { RaiseEvent(EVENT_MENU, 0, 10000, 0); }), 0, 2,
                         EVENT_TYPE_FOCUS);
    } else {
        BindEventHandler(EVENT_GADGET, LoggingHandler(6, "window 0, newest", unbind), 0, 2, EVENT_TYPE_FOCUS);
    }
    RaiseEvent(EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS);
    EXPECT_TRUE(SameSequence(GetParam().expected, HandlerLog(), LogLine));
}

const UnbindInsideCase UNBIND_INSIDE_CASES[] = {
    {"ByTheHandlerItself", false, {"window 0, newest", "unbound", "all", "any window, gadget 2"}},
    {"FromANestedDispatch",
     true,
     {"window 0, newest", "menu of window 0", "unbound", "menu, any window", "all", "any window, gadget 2"}},
};

INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchUnbindInside, ::testing::ValuesIn(UNBIND_INSIDE_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DispatchUnbindInside, TheNextDispatchFindsOnlyWhatIsStillBound) {
    BindEventHandler(EVENT_GADGET, LoggingHandler(0, "all"));
    BindEventHandler(EVENT_GADGET, LoggingHandler(1, "closer", [] { UnbindWindowHandlers(0); }), 0, -1, -1);
    RaiseEvent(EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS);
    HandlerLog().clear();
    EXPECT_EQ(BindEventHandler(EVENT_GADGET, LoggingHandler(2, "rebound"), 0, -1, -1), 1);
    RaiseEvent(EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS);
    EXPECT_TRUE(SameSequence(std::vector<std::string>{"rebound", "all"}, HandlerLog(), LogLine));
}

} // namespace
