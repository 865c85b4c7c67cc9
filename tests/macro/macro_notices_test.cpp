#include <gtest/gtest.h>

#include "macro/macro_notices.h"

namespace quorvel {
namespace {

TEST(ConfirmNotice, TellsOnceWhatDidNotFitOrNothing) {
    const struct {
        RebuildResult rebuild;
        Language language;
        std::optional<std::string> notice;
    } cases[] = {
        {{.slotsFilled = 12}, Language::kEnglish, std::nullopt},
        {{.sectionsIgnored = 3}, Language::kEnglish, "Only 12 macros fit in the mouse: 3 more were ignored"},
        {{.slotsCut = {0, 4}, .namesCut = {"Copy", "Paste, all"}},
         Language::kEnglish,
         "Too long for the mouse, cut to fit its slot: “Copy”, “Paste, all”"},
        {{.sectionsIgnored = 1, .slotsCut = {2}, .namesCut = {"复制"}},
         Language::kSimplifiedChinese,
         "宏过长，已截断以适合鼠标的存储空间：“复制”\n鼠标只能存放12个宏：其余1个已被忽略"},
        {{.sectionsIgnored = 2}, Language::kTraditionalChinese, "滑鼠只能存放12個巨集：其餘2個已被忽略"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(ConfirmNotice(row.rebuild, row.language), row.notice);
    }
}

} // namespace
} // namespace quorvel
