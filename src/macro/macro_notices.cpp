#include "macro/macro_notices.h"

#include "lang/texts.h"

namespace quorvel {

std::optional<std::string> ConfirmNotice(const RebuildResult& rebuild, Language language) {
    std::string notice;
    if (!rebuild.namesCut.empty()) {
        std::string names;
        for (const std::string& name : rebuild.namesCut) {
            names += (names.empty() ? "“" : ", “") + name + "”";
        }
        notice = Filled(Text(language, TextId::kMacrosCutToFitTheirSlots), {names});
    }
    if (rebuild.sectionsIgnored > 0) {
        notice += notice.empty() ? "" : "\n";
        notice += Filled(Text(language, TextId::kMacrosBeyondTwelfthIgnored),
                         {std::to_string(rebuild.sectionsIgnored)});
    }
    if (notice.empty()) {
        return std::nullopt;
    }
    return notice;
}

} // namespace quorvel
