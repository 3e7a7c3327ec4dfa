// Folding what other keyboards and input methods type into the ASCII forms
// the number reader knows.
#pragma once

#include "base/text/text_unit.h"

// Folds `text` in place (null: nothing): every decimal digit of any script
// (Unicode category Nd, supplementary planes included) becomes its ASCII
// digit, the full-width forms U+FF01..U+FF5E their ASCII characters, the
// ideographic space U+3000 a space and the minus sign U+2212 "-"; the
// direction marks U+200E, U+200F and U+061C are dropped. Nothing else changes,
// a lone surrogate included. Each fold gives one unit for one or two, so the
// text never grows.
void FoldTypedText(TextUnit* text);
