#include "navigator/prompt_claim_name.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(PromptClaimName, OneNameAndMarkForEachEditorWindowAndOneWithout) {
    const std::pair<uint64_t, std::basic_string<TextUnit>> cases[] = {
        {0, TXT("Local\\linenav-prompt-0")},
        {0x1a2b0, TXT("Local\\linenav-prompt-1a2b0")},
        {0xffffffff8001002cULL, TXT("Local\\linenav-prompt-ffffffff8001002c")}, // sign-extended: 16 digits
    };
    for (const auto& [editor, name] : cases) {
        EXPECT_EQ(ClaimNameFor(editor).text, name) << std::hex << editor;
        EXPECT_NE(PromptMarkFor(editor), 0u) << "every prompt is marked, one with no editor too";
        EXPECT_EQ(EditorOfMark(PromptMarkFor(editor)), editor);
    }
    EXPECT_EQ(EditorOfMark(0), 0u) << "a window with no mark serves no editor";
}

} // namespace
