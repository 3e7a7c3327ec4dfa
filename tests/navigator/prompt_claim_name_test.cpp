#include "navigator/prompt_claim_name.h"

#include <gtest/gtest.h>

#include <string>

TEST(PromptClaimName, OneNameAndMarkForEachEditorWindowAndOneWithout) {
    using Name = std::basic_string<TextUnit>;
    EXPECT_EQ(Name(ClaimNameFor(0).text), TXT("Local\\linenav-prompt-0"));
    EXPECT_EQ(Name(ClaimNameFor(0xffffffff8001002cULL).text), TXT("Local\\linenav-prompt-ffffffff8001002c"));
    for (uint64_t editor : {0ULL, 0xffffffff8001002cULL}) EXPECT_EQ(EditorOfMark(PromptMarkFor(editor)), editor);
    EXPECT_EQ(EditorOfMark(0), 0u) << "a window with no mark serves no editor";
}
