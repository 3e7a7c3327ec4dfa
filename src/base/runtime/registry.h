// Registries of numbered objects: how the program names its windows, gadgets,
// menus and files with small numbers of its own choosing.
//
// A number from 0 up indexes a slot directly. NEW_OBJECT (-1) asks for an
// object with a generated number instead, kept outside the slot array; the
// generated number is the object's address, which is never a slot number.
// Every object starts zero-filled and its first field is the kind's platform
// handle: the object is in use exactly while that field is not zero.
#pragma once

#include <cstdint>

constexpr int64_t NEW_OBJECT = -1;  // in a creating operation: generate a number
constexpr int64_t ALL_OBJECTS = -1; // in a release operation: every object of the kind

using ReleaseOperation = void (*)(int64_t number);

struct GeneratedObject; // list node in front of each object with a generated number

struct Registry {
    int32_t growth;             // slots added beyond a requested number; also the first size
    int32_t objectSize;         // bytes of the kind's object record
    int64_t capacity;           // slots; only grows
    void** slots;               // each null or the object of that number
    GeneratedObject* generated; // objects with generated numbers, newest first
    ReleaseOperation release;   // the kind's close or free operation
    int64_t walkPosition;       // next slot of a walk; capacity and above: generated part
    GeneratedObject* walkCursor;
};

// A registry with `growth` empty slots.
Registry* CreateRegistry(int32_t growth, int32_t objectSize, ReleaseOperation release);

// The zeroed object for `number`. A number used before is first released with
// the registry's release operation, and its object is handed back zeroed.
// NEW_OBJECT makes a new object and stores its number in *generated. Null when
// the number is negative (other than NEW_OBJECT) or too large for a slot array
// the heap can give; running out of memory for the object itself ends the
// process.
void* ObtainObject(Registry* registry, int64_t number, int64_t* generated = nullptr);

// The object if `number` names one in use, else null. Numbers outside the slot
// range are honoured only when they are generated numbers of this registry, so
// an arbitrary value is never read as an address.
void* LookupObject(const Registry* registry, int64_t number);

// Like LookupObject: a slot number gives its object in use; any other number
// gives an object only when it is one of the registry's generated numbers.
void* ObjectExists(const Registry* registry, int64_t number);

// Frees the number: a slot's object is zeroed and kept for the next use; an
// object with a generated number is unlinked and freed. Does not call the
// release operation (it is the release operation that calls this).
void ReleaseObject(Registry* registry, int64_t number);

// Runs the release operation on every object in use: slot numbers ascending,
// then generated numbers newest first.
void ReleaseAllObjects(Registry* registry);

// A walk over the objects in use: slot numbers ascending, then generated
// numbers oldest first. NextWalkObject gives null at the end.
void WalkObjects(Registry* registry);
void* NextWalkObject(Registry* registry, int64_t* number);
