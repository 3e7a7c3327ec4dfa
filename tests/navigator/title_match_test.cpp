#include "navigator/title_match.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TitleMatch, PrefixRules) {
    const TextUnit* prefix = TXT("Quillo V5.");
    struct Case {
        const TextUnit* title;
        bool matches;
        const char* why;
    };
    const Case cases[] = {
        {TXT("Quillo V5."), true, "equal to the prefix"},
        {TXT("Quillo V5. main.c"), true, "prefix then more"},
        {TXT("Quillo V5.x"), true, "no space needed after the prefix"},
        {TXT("quillo v5. main.c"), false, "letter case differs"},
        {TXT("Quillo v5. main.c"), false, "one letter's case differs"},
        {TXT("Quillo V5"), false, "shorter than the prefix"},
        {TXT(""), false, "empty title"},
        {TXT(" Quillo V5."), false, "leading space"},
        {TXT("Quillo V5,"), false, "last unit differs"},
        {nullptr, false, "null title"},
    };
    for (const Case& c : cases) EXPECT_EQ(TitleHasPrefix(c.title, prefix), c.matches) << c.why;
}

TEST(TitleMatch, SpacesOfAnUnreadableTitleNeverMatch) {
    std::basic_string<TextUnit> spaces(1024, TXT(' '));
    EXPECT_FALSE(TitleHasPrefix(spaces.c_str(), TXT("Quillo V5.")));
}

} // namespace
