#include "navigator/prompt_claim_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PromptClaimName, OneNameAndMarkForEachEditorWindowAndOneWithout) {
    struct Case {
        uint64_t editor;
        const TextUnit* name;
    };
    const Case cases[] = {
        {0, TXT("Local\\linenav-prompt-0")},
        {0x1a2b0, TXT("Local\\linenav-prompt-1a2b0")},
        {0xffffffff8001002cULL, TXT("Local\\linenav-prompt-ffffffff8001002c")}, // sign-extended, all 16 digits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::basic_string<TextUnit>(ClaimNameFor(c.editor).text), c.name) << std::hex << c.editor;
        EXPECT_NE(PromptMarkFor(c.editor), 0u) << "every prompt is marked, one with no editor too";
        EXPECT_EQ(EditorOfMark(PromptMarkFor(c.editor)), c.editor);
    }
    EXPECT_EQ(EditorOfMark(0), 0u) << "a window with no mark serves no editor";
}

} // namespace
