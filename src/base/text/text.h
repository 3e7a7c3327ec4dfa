// Text values and the temporary text area.
//
// A text is a run of UTF-16 code units ended by a 0 unit; a null text behaves
// as the empty text. A text variable (TextVar) is null or owns its storage on
// the text heap. Text results of runtime operations are built at the end of
// the temporary text area, one after another, and consumed with AssignResult
// or read in place and discarded by resetting the end (TextMark does both).
//
// A pointer into the temporary area is valid only until the next reservation:
// reserving may move the whole area.
#pragma once

#include "base/text/text_unit.h"

#include <cstdint>

using TextVar = TextUnit*;

// --- Lifetime -------------------------------------------------------------

// Creates the text heap and an empty temporary area (capacity 16 bytes, end 0).
void StartTextArea();
// Releases the temporary area and destroys the text heap, and with it every
// text variable still held.
void EndTextArea();

// --- The temporary area -----------------------------------------------------

// Current end of the temporary area, in bytes from its start.
int32_t TextAreaEnd();
// Address of a position of the temporary area (valid until the next reservation).
TextUnit* TextAt(int32_t position);
// Reserves `count` code units for a result at `position`, which must be the
// current end; moves the end past them and returns where the result goes.
// Room for a terminator after the reserved units is always there.
TextUnit* ReserveResult(int32_t count, int32_t position);
// Moves the end back by `count` code units.
void GiveBackResult(int32_t count);
// Moves the end back (or forward) to `position`.
void ResetTextArea(int32_t position);
// Steps the end one unit past the terminator of the text just built, so that
// further results cannot overwrite it while it is still needed.
void HoldResult();
// Copies the units from `saved` to the current end into `variable`, adds a
// terminator, and resets the end to `saved`.
void AssignResult(TextVar& variable, int32_t saved);

// --- Text-returning operations -----------------------------------------------
// Each builds its result, terminated, at the current end of the temporary area
// and returns the position where the result starts.

int32_t MakeSpaces(int32_t count);                     // count spaces; empty for count <= 0
int32_t LeftPart(const TextUnit* text, int32_t count); // first min(count, length) units
int32_t AppendText(const TextUnit* text);              // the text itself (null: nothing)

// --- Other operations ----------------------------------------------------------

int32_t TextLength(const TextUnit* text);                 // 0 for null
int32_t TextEquals(const TextUnit* a, const TextUnit* b); // 1 or 0; null equals empty
void AssignText(TextVar& variable, const TextUnit* text); // copy; null frees
void FreeText(TextVar& variable);                         // nothing for null

// Remembers the end of the temporary area and puts it back when the scope
// ends, so a statement's temporaries never outlive it.
class TextMark {
public:
    TextMark() : position_(TextAreaEnd()) {}
    ~TextMark() { ResetTextArea(position_); }
    TextMark(const TextMark&) = delete;
    TextMark& operator=(const TextMark&) = delete;

    int32_t position() const { return position_; }
    // The text built since the mark (valid until the next reservation).
    const TextUnit* text() const { return TextAt(position_); }
    void AssignTo(TextVar& variable) { AssignResult(variable, position_); }

private:
    int32_t position_;
};

// A text variable local to a scope, released when the scope ends.
class LocalText {
public:
    LocalText() = default;
    ~LocalText() { FreeText(text_); }
    LocalText(const LocalText&) = delete;
    LocalText& operator=(const LocalText&) = delete;

    TextVar& var() { return text_; }
    TextUnit* get() const { return text_; }

private:
    TextVar text_ = nullptr;
};
