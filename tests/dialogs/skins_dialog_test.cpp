#include "dialogs/dialog_fixture.h"
#include "dialogs/skins_dialog.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

const Point kOk = Inside(kDialogSkeleton.ok.rect);
const Point kCancel = Inside(kDialogSkeleton.cancel.rect);
const Point kClose = Inside(kDialogSkeleton.close.rect);
const Point kSample = Inside(kSkinsDialog.colourSample.rect);
const int kList = kSkinsDialog.skin.list.id;
const int kNameLabel = kSkinsDialog.skin.display.id;

// The dialog opens on the skin "Default" in /skin with the colour 10, 20, 30
// (the fixture's context); `skins` is what the skin roots hold, read anew at
// every look.
struct SkinsDialogTest : DialogTest {
    std::vector<SkinEntry> skins{{"Default", "/skin"}, {"Ember", "/user/Skins/Ember"}};
    int looks = 0;
    std::unique_ptr<CSkinsDialog> Open(FakeDialogWindow& on, Language language = Language::kEnglish) {
        on.picture.imageNames = window.picture.imageNames;
        auto dialog = std::make_unique<CSkinsDialog>(on, context(language), "Default", [this] {
            ++looks;
            return skins;
        });
        dialog->Initialise();
        dialog->Paint();
        return dialog;
    }
    const SkinChoice kCurrent{"/skin", "Default", Colour{10, 20, 30}};
};

TEST_F(SkinsDialogTest, OpensSizedToItsBackgroundWithNameLabelPromptAndSample) {
    for (const auto& [language, prompt, ok] :
         {std::tuple{Language::kEnglish, "Please click to set the UI text color", "OK"},
          std::tuple{Language::kSimplifiedChinese, "请点击设置UI文本颜色", "确定"},
          std::tuple{Language::kTraditionalChinese, "請點擊設置UI文本顏色", "確定"}}) {
        FakeDialogWindow on;
        const auto dialog = Open(on, language);
        EXPECT_EQ(on.width, widths[kSkinsBackground]);
        EXPECT_TRUE(on.picture.drew("image skins.png at 0,0"));
        EXPECT_TRUE(on.picture.drew(std::string("text ") + prompt + " in 12,64")) << prompt;
        EXPECT_TRUE(on.picture.drew(std::string("text ") + ok + " in 166,253"));
        EXPECT_TRUE(on.picture.drew("fill 10,20,30 in 42,94")) << "the sample shows the current colour";
        EXPECT_EQ(on.controls.at(kNameLabel).box, (Rect{42, 128, 136, 144}));
        EXPECT_EQ(on.controlText(kNameLabel), "Default");
    }
    EXPECT_EQ(looks, 0) << "the folders are read when the list opens, not before";
}

TEST_F(SkinsDialogTest, TheListOffersEverySkinAndTheChoiceIsTakenOnOk) {
    const auto dialog = Open(window);
    dialog->OnLeftButtonDown(Inside(kSkinsDialog.skin.clickArea));
    ASSERT_TRUE(window.controlExists(kList));
    EXPECT_EQ(window.controls.at(kList).box, (Rect{42, 146, 151, 266}));
    EXPECT_EQ(window.items(kList), (std::vector<std::string>{"Default", "Ember"}));
    dialog->OnListHover(kList, 1);
    EXPECT_EQ(window.controls.at(kList).highlighted, 1);
    dialog->OnListChosen(kList, 1);
    EXPECT_FALSE(window.controlExists(kList)) << "a choice closes the list";
    EXPECT_EQ(window.controlText(kNameLabel), "Ember");
    dialog->OnLeftButtonDown(kOk);
    EXPECT_EQ(window.ended, true);
    EXPECT_EQ(dialog->result(), (SkinChoice{"/user/Skins/Ember", "Ember", {10, 20, 30}}));
}

// The list is read again when a skin is chosen: the first folder whose name
// matches in any case gives the skin, so a folder renamed meanwhile in case
// only is still found, under its new name.
TEST_F(SkinsDialogTest, TheChosenNameFindsItsFolderIgnoringCase) {
    const struct {
        std::vector<SkinEntry> atChoice;
        SkinChoice expected;
    } cases[] = {
        {{{"Default", "/skin"}, {"Ember", "/user/Skins/Ember"}},
         {"/user/Skins/Ember", "Ember", {10, 20, 30}}},
        {{{"EMBER", "/user/Skins/EMBER"}, {"ember", "/usr/Skins/ember"}},
         {"/user/Skins/EMBER", "EMBER", {10, 20, 30}}},
        // Gone meanwhile: the dialog keeps the skin it had.
        {{{"Default", "/skin"}}, {"/skin", "Default", {10, 20, 30}}},
    };
    for (const auto& row : cases) {
        FakeDialogWindow on;
        skins = {{"Default", "/skin"}, {"Ember", "/user/Skins/Ember"}};
        const auto dialog = Open(on);
        dialog->OnLeftButtonDown(Inside(kSkinsDialog.skin.clickArea));
        skins = row.atChoice;
        dialog->OnListChosen(kList, 1);
        EXPECT_EQ(dialog->result(), row.expected);
        EXPECT_EQ(on.controlText(kNameLabel), row.expected.name);
    }
}

TEST_F(SkinsDialogTest, WithoutSkinFoldersTheListIsEmptyAndOkKeepsTheSkin) {
    skins.clear();
    const auto dialog = Open(window);
    dialog->OnLeftButtonDown(Inside(kSkinsDialog.skin.clickArea));
    ASSERT_TRUE(window.controlExists(kList));
    EXPECT_TRUE(window.items(kList).empty());
    dialog->OnListChosen(kList, 0); // nothing to choose
    dialog->OnLeftButtonDown(kOk);
    EXPECT_EQ(window.ended, true);
    EXPECT_EQ(dialog->result(), kCurrent);
}

TEST_F(SkinsDialogTest, TheListClosesOnItsAreaOrAClickElsewhere) {
    const auto dialog = Open(window);
    const Point area = Inside(kSkinsDialog.skin.clickArea);
    dialog->OnLeftButtonDown(area);
    dialog->OnLeftButtonDown(area);
    EXPECT_FALSE(window.controlExists(kList));
    dialog->OnLeftButtonDown(area);
    dialog->OnLeftButtonDown({300, 150});
    EXPECT_FALSE(window.controlExists(kList));
    EXPECT_FALSE(window.ended.has_value());
}

TEST_F(SkinsDialogTest, TheWheelScrollsAnOpenListThreeEntriesANotch) {
    const auto dialog = Open(window);
    dialog->OnWheel(120); // no list: nothing to scroll
    EXPECT_FALSE(window.controlExists(kList));
    dialog->OnLeftButtonDown(Inside(kSkinsDialog.skin.clickArea));
    dialog->OnWheel(-120);
    dialog->OnWheel(-240);
    EXPECT_EQ(window.controls.at(kList).scrolled, 6);
    dialog->OnWheel(120);
    EXPECT_EQ(window.controls.at(kList).scrolled, 3);
}

TEST_F(SkinsDialogTest, TheSampleOpensTheColourChooserAndShowsTheChosenColour) {
    const auto dialog = Open(window);
    window.picture.ops.clear();
    window.chosenColour = Colour{200, 100, 0};
    dialog->OnLeftButtonDown(kSample);
    EXPECT_EQ(window.colourChooserOpenedWith, (std::vector<Colour>{{10, 20, 30}}));
    EXPECT_EQ(window.picture.ops, (std::vector<std::string>{"fill 200,100,0 in 42,94"}));
    window.chosenColour.reset(); // the chooser cancelled: the colour stays
    dialog->OnLeftButtonDown(kSample);
    dialog->OnLeftButtonDown(kOk);
    EXPECT_EQ(dialog->result().textColour, (Colour{200, 100, 0}));
}

TEST_F(SkinsDialogTest, CancelAndCloseEndWithoutAChoice) {
    for (const Point button : {kCancel, kClose}) {
        FakeDialogWindow on;
        on.chosenColour = Colour{1, 2, 3};
        const auto dialog = Open(on);
        dialog->OnLeftButtonDown(kSample);
        dialog->OnLeftButtonDown(Inside(kSkinsDialog.skin.clickArea));
        dialog->OnListChosen(kList, 1);
        dialog->OnLeftButtonDown(button);
        EXPECT_EQ(on.ended, false);
    }
}

// A blank dialog (no skins.png) has taken no skin or colour: every button,
// OK too, ends it without a choice.
TEST_F(SkinsDialogTest, AMissingBackgroundIsToldAndEveryButtonCancels) {
    RemoveImage(kSkinsBackground);
    for (const Point button : {kOk, kCancel, kClose}) {
        messages.shown.clear();
        FakeDialogWindow blank;
        const auto dialog = Open(blank);
        EXPECT_EQ(messages.shown,
                  (std::vector<ShownMessage>{{"Skins Dialog Load background image failed!!!", "error"}}));
        EXPECT_TRUE(blank.controls.empty());
        EXPECT_TRUE(blank.picture.ops.empty());
        dialog->OnLeftButtonDown(Inside(kSkinsDialog.skin.clickArea));
        dialog->OnLeftButtonDown(kSample);
        EXPECT_TRUE(blank.controls.empty());
        EXPECT_TRUE(blank.colourChooserOpenedWith.empty());
        dialog->OnLeftButtonDown(button);
        EXPECT_EQ(blank.ended, false);
    }
}

} // namespace
} // namespace quorvel
