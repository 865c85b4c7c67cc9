#include <gtest/gtest.h>

#include "app/dialog_faults.h"
#include "support/recording_ui.h"

namespace quorvel {
namespace {

using Kind = DialogFault::Kind;

TEST(DialogFaults, AMissingBackgroundNamesItsDialogAnyOtherImageTheLoader) {
    const struct {
        DialogFault fault;
        UserMessage message;
    } cases[] = {
        {{Kind::BackgroundNotLoaded, DialogId::Skins, "/skins.png"},
         {"Skins Dialog Load background image failed!!!", "error"}},
        {{Kind::BackgroundNotLoaded, DialogId::MacroKey, "/macro-key.png"},
         {"Macro Key Dialog Load background image failed!!!", "error"}},
        {{Kind::ImageNotLoaded, DialogId::Skins, "/button-over.png"},
         {"LoadPng---Load image failed.", kApplicationTitle}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(DialogFaultMessage(row.fault), row.message) << row.message.text;
    }
    testing::RecordingMessages messages;
    ShowDialogFaultsIn(messages)(cases[2].fault);
    EXPECT_EQ(messages.shown, (std::vector<testing::ShownMessage>{
                                  {"LoadPng---Load image failed.", std::string(kApplicationTitle)}}));
}

} // namespace
} // namespace quorvel
