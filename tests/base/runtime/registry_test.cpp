#include "base/runtime/registry.h"

#include "support/runtime_fixture.h"

#include <string>
#include <vector>

namespace {

// A kind whose object is a fake handle and a tag; its release operation
// records the numbers it was asked to release, like a real kind's close.
struct Thing {
    void* handle;
    int tag;
};

Registry* things;
std::vector<std::string> log;

void ReleaseThing(int64_t number) {
    log.push_back("release " + std::to_string(number));
    if (number == ALL_OBJECTS) {
        ReleaseAllObjects(things);
        return;
    }
    if (!LookupObject(things, number)) return;
    ReleaseObject(things, number);
}

Thing* Make(int64_t number, int tag = 1, int64_t* generated = nullptr) {
    auto* thing = static_cast<Thing*>(ObtainObject(things, number, generated));
    if (thing) {
        thing->handle = reinterpret_cast<void*>(0x1000 + tag);
        thing->tag = tag;
    }
    return thing;
}

class Registries : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        things = CreateRegistry(16, sizeof(Thing), ReleaseThing);
        log.clear();
    }
};

TEST_F(Registries, FreshRegistryHasGrowthSlotsAndGrowsPastARequest) {
    EXPECT_EQ(things->capacity, 16);
    ASSERT_TRUE(Make(20));
    EXPECT_EQ(things->capacity, 36);
    for (int64_t number = 0; number < 36; ++number) ASSERT_TRUE(Make(number, 2));
    EXPECT_EQ(things->capacity, 36) << "numbers 0 to 35 resolve without growing";
}

TEST_F(Registries, ReuseReleasesTheOldObjectFirstAndHandsBackTheSameMemoryZeroed) {
    Thing* first = Make(3, 7);
    log.clear();
    auto* again = static_cast<Thing*>(ObtainObject(things, 3));
    EXPECT_EQ(log, (std::vector<std::string>{"release 3"}));
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->handle, nullptr);
    EXPECT_EQ(again->tag, 0);
    // The new creation "fails": nothing is stored, and the number is free.
    EXPECT_EQ(LookupObject(things, 3), nullptr);
}

TEST_F(Registries, ReleaseObjectFreesTheNumberAndKeepsItsMemory) {
    Thing* thing = Make(5);
    ReleaseObject(things, 5);
    EXPECT_EQ(LookupObject(things, 5), nullptr);
    EXPECT_EQ(ObjectExists(things, 5), nullptr);
    log.clear();
    EXPECT_EQ(ObtainObject(things, 5), thing);
    EXPECT_EQ(log, (std::vector<std::string>{"release 5"})) << "the release op runs, and does nothing";
}

TEST_F(Registries, ZeroedFirstFieldCountsAsFree) {
    Thing* thing = Make(4);
    thing->handle = nullptr;
    EXPECT_EQ(LookupObject(things, 4), nullptr);
    EXPECT_EQ(ObjectExists(things, 4), nullptr);
    ReleaseAllObjects(things);
    EXPECT_TRUE(log.empty());
}

TEST_F(Registries, GeneratedNumbersAreNoSlotNumbersAndWorkWithEveryOperation) {
    int64_t a = 0, b = 0;
    Thing* thingA = Make(NEW_OBJECT, 1, &a);
    Thing* thingB = Make(NEW_OBJECT, 2, &b);
    ASSERT_TRUE(thingA && thingB);
    EXPECT_NE(a, b);
    EXPECT_GE(a, things->capacity);
    EXPECT_EQ(things->capacity, 16) << "generated objects live outside the slots";
    EXPECT_EQ(LookupObject(things, a), thingA);
    EXPECT_EQ(ObjectExists(things, b), thingB);
    ReleaseObject(things, a);
    EXPECT_EQ(LookupObject(things, a), nullptr);
    EXPECT_EQ(LookupObject(things, b), thingB);
}

TEST_F(Registries, ArbitraryNumbersNameNothingAndAreNeverReadAsAddresses) {
    int64_t generated = 0;
    Make(NEW_OBJECT, 1, &generated);
    for (int64_t number : {int64_t{16}, int64_t{1} << 40, generated + 8, INT64_MAX, int64_t{-2}, INT64_MIN}) {
        EXPECT_EQ(LookupObject(things, number), nullptr) << number;
        EXPECT_EQ(ObjectExists(things, number), nullptr) << number;
        ReleaseObject(things, number); // must not touch anything
    }
    EXPECT_EQ(ObtainObject(things, -2), nullptr) << "negative numbers other than -1 are refused";
    for (int64_t number : {INT64_MAX - 1, INT64_MAX - 16, INT64_MAX / 8}) // slots out of reach
        EXPECT_EQ(ObtainObject(things, number), nullptr) << number;
    EXPECT_EQ(things->capacity, 16);
    EXPECT_TRUE(Make(20)) << "a refused number leaves the registry working";
    EXPECT_EQ(LookupObject(things, generated), LookupObject(things, generated));
}

TEST_F(Registries, ReleaseAllRunsAscendingThenNewestGeneratedFirst) {
    int64_t older = 0, newer = 0;
    Make(9);
    Make(NEW_OBJECT, 1, &older);
    Make(2);
    Make(NEW_OBJECT, 2, &newer);
    Make(30);
    Make(7)->handle = nullptr; // allocated but not in use
    log.clear();
    ReleaseAllObjects(things);
    EXPECT_EQ(log, (std::vector<std::string>{"release 2", "release 9", "release 30", "release " + std::to_string(newer),
                                             "release " + std::to_string(older)}));
    EXPECT_EQ(things->generated, nullptr);
    EXPECT_EQ(LookupObject(things, 9), nullptr);
}

TEST_F(Registries, ReleaseAllRemovesGeneratedObjectsEvenWhenTheKindDoesNot) {
    Registry* stubborn = CreateRegistry(4, sizeof(Thing), [](int64_t) {});
    int64_t number = 0;
    auto* thing = static_cast<Thing*>(ObtainObject(stubborn, NEW_OBJECT, &number));
    thing->handle = thing;
    ReleaseAllObjects(stubborn); // would loop for ever if it trusted the kind
    EXPECT_EQ(stubborn->generated, nullptr);
}

TEST_F(Registries, WithoutReleaseOperationReleaseAllDoesNothing) {
    Registry* plain = CreateRegistry(4, sizeof(Thing), nullptr);
    auto* thing = static_cast<Thing*>(ObtainObject(plain, 1));
    thing->handle = thing;
    ReleaseAllObjects(plain);
    EXPECT_EQ(LookupObject(plain, 1), thing);
}

TEST_F(Registries, WalkGivesSlotsAscendingThenGeneratedOldestFirst) {
    int64_t older = 0, newer = 0;
    Make(12);
    Make(NEW_OBJECT, 1, &older);
    Make(1);
    Make(NEW_OBJECT, 2, &newer);
    Make(3)->handle = nullptr;
    std::vector<int64_t> seen;
    WalkObjects(things);
    int64_t number = 0;
    while (NextWalkObject(things, &number)) seen.push_back(number);
    EXPECT_EQ(seen, (std::vector<int64_t>{1, 12, older, newer}));
    EXPECT_EQ(NextWalkObject(things, &number), nullptr);
    WalkObjects(things); // restarts
    ASSERT_TRUE(NextWalkObject(things, &number));
    EXPECT_EQ(number, 1);
}

} // namespace
