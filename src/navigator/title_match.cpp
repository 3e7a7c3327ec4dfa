#include "navigator/title_match.h"

bool TitleHasPrefix(const TextUnit* title, const TextUnit* prefix) {
    if (!prefix) return true;
    if (!title) return *prefix == 0;
    for (; *prefix; ++prefix, ++title)
        if (*title != *prefix) return false; // also stops at the title's end
    return true;
}
