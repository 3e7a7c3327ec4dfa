// Gadgets: labels and text fields inside the current gadget container (the
// window opened last), named by numbers the program chooses. Each control is
// subclassed so the runtime sees its messages; text fields raise focus events.
#pragma once

#include "base/text/text_unit.h"

#include <cstdint>
#include <windows.h>

struct Registry;
extern Registry* GadgetRegistry;

constexpr int32_t GADGET_KIND_STRING = 2; // text field ("Edit")
constexpr int32_t GADGET_KIND_TEXT = 3;   // label ("Static")

constexpr uint32_t LABEL_STYLE = 0x50020080;      // WS_CHILD|WS_VISIBLE|WS_GROUP|SS_NOPREFIX
constexpr uint32_t TEXT_FIELD_STYLE = 0x50030080; // ... |WS_TABSTOP|ES_AUTOHSCROLL
constexpr uint32_t GADGET_FLAG_BORDER = 0x20000;  // label: sunken edge; text field: none

constexpr const wchar_t* GADGET_NUMBER_PROPERTY = L"LinenavGadgetNumber";
constexpr const wchar_t* CONTAINER_PROPERTY = L"LinenavGadgetContainer";

struct GadgetRecord;

// Operations of one kind of gadget, shared by all gadgets of that kind.
struct GadgetKindTable {
    int32_t number;
    // Answers a notification the parent received for the gadget; false when
    // the kind does not handle it.
    bool (*notify)(GadgetRecord* gadget, HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void (*release)(GadgetRecord* gadget);
    int32_t (*text)(GadgetRecord* gadget); // absent for both kinds here
    void (*focus)(GadgetRecord* gadget);   // absent for both kinds here
};

// The gadget registry's object.
struct GadgetRecord {
    HWND handle; // raw: ReleaseGadget, the registry's release, owns it; null while free
    const GadgetKindTable* kind;
    WNDPROC previous;
};

// Native handle, generated number for NEW_OBJECT, or 0 on failure.
int64_t CreateLabel(int64_t number, int32_t x, int32_t y, int32_t width, int32_t height, const TextUnit* text,
                    uint32_t flags = 0);
int64_t CreateTextField(int64_t number, int32_t x, int32_t y, int32_t width, int32_t height, const TextUnit* text,
                        uint32_t flags = 0);

void FocusGadget(int64_t number);   // ALL_OBJECTS: focus to no window
int64_t FocusedGadget();            // -1 when no gadget has the focus
int32_t GadgetText(int64_t number); // text result; returns its position in the text area
int32_t GadgetKind(int64_t number); // 0 when the number names no gadget
int32_t GadgetExists(int64_t number);
void ReleaseGadget(int64_t number); // destroys the control; ALL_OBJECTS: every gadget

// Tab and Shift+Tab.
void MoveFocus(bool backward);

// Makes `window` the current gadget container; returns the previous one.
HWND UseGadgetContainer(HWND window);
HWND CurrentGadgetContainer();

// Offers a parent's notification to the kind of the gadget whose control is
// `control`; false when no kind handled it.
bool OfferToGadgetKind(HWND control, HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// The font every gadget gets.
HFONT GadgetFont();

void StartGadgets();
void EndGadgets();
