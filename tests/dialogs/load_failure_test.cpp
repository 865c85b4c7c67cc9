#include "dialogs/combo_dialog.h"
#include "dialogs/consumer_key_dialogs.h"
#include "dialogs/delay_time_dialog.h"
#include "dialogs/dialog_fixture.h"
#include "dialogs/fire_key_dialog.h"
#include "dialogs/macro_dialog.h"
#include "dialogs/single_dialog.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

// Every dialog whose background does not load says so, opens blank with room
// for its three buttons, and still answers them.
TEST_F(DialogTest, AMissingBackgroundIsReportedAndTheDialogStillAnswers) {
    using Make = std::function<std::unique_ptr<SubDialog>(FakeDialogWindow&)>;
    const struct {
        std::string_view background;
        const char* message;
        Make make;
    } cases[] = {
        {kSingleKeyBackground, "Single Key Dialog Load background image failed!!!",
         [&](FakeDialogWindow& w) { return std::make_unique<CSingleDialog>(w, context()); }},
        {kComboKeyBackground, "Combo Dialog Load background image failed!!!",
         [&](FakeDialogWindow& w) { return std::make_unique<CComboDialog>(w, context()); }},
        {kFireKeyBackground, "FireKey Dialog Load background image failed!!!",
         [&](FakeDialogWindow& w) { return std::make_unique<CFireKeyDialog>(w, context()); }},
        {kMediaKeyBackground, "Media Dialog Load background image failed!!!",
         [&](FakeDialogWindow& w) { return std::make_unique<CMediaDialog>(w, context()); }},
        {kWindowsKeyBackground, "Windows Dialog Load background image failed!!!",
         [&](FakeDialogWindow& w) { return std::make_unique<CWindowsDialog>(w, context()); }},
        {kMacroKeyBackground, "Macro Key Dialog Load background image failed!!!",
         [&](FakeDialogWindow& w) {
             return std::make_unique<CMacroDialog>(w, context(), IniFile(files, "/data/record.ini"));
         }},
        {kDelayTimeBackground, "DelayTime Dialog Load background image failed!!!",
         [&](FakeDialogWindow& w) { return std::make_unique<CDelayTimeDialog>(w, context()); }},
    };
    for (const auto& row : cases) {
        RemoveImage(row.background);
        for (const Rect button :
             {kDialogSkeleton.ok.rect, kDialogSkeleton.cancel.rect, kDialogSkeleton.close.rect}) {
            messages.shown.clear();
            FakeDialogWindow blank;
            const std::unique_ptr<SubDialog> dialog = row.make(blank);
            dialog->Initialise();
            EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{row.message, "error"}}));
            EXPECT_EQ(blank.width, 387);
            EXPECT_EQ(blank.height, 286);
            EXPECT_TRUE(button.right <= blank.width && button.bottom <= blank.height);
            dialog->Paint();
            dialog->OnKey("A");
            dialog->OnLeftButtonDown(Inside(kComboKeyDialog.modifier.clickArea));
            EXPECT_TRUE(blank.controls.empty()) << row.message;
            EXPECT_TRUE(blank.picture.ops.empty());
            dialog->OnLeftButtonDown(Inside(button));
            EXPECT_EQ(blank.ended, button == kDialogSkeleton.ok.rect) << row.message;
        }
        AddImage(row.background, 1000);
    }
}

} // namespace
} // namespace quorvel
