#include <gtest/gtest.h>

#include "support/memory_file_system.h"
#include "support/recording_ui.h"
#include "ui/sub_dialog.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

constexpr DialogBackground kBackground{"/single-key.png", DialogId::SingleKey};
constexpr Point kOk{170, 260};
constexpr Point kCancel{300, 260};
constexpr Point kClose{360, 10};
constexpr Point kElsewhere{20, 20};

struct SkeletonTest : ::testing::Test {
    MemoryFileSystem files;
    FakeDecoder decoder{files};
    ImageCache images{files, decoder};
    std::vector<DialogFault> faults;
    FakeDialogWindow window;

    void SetUp() override {
        // Narrower than their rectangles, so that a part of the background
        // (as wide as a rectangle) is told from a button.
        const std::pair<const char*, int> skin[] = {{"single-key.png", 400},
                                                    {"button-normal.png", 95},
                                                    {"button-over.png", 96},
                                                    {"button-close-normal.png", 16},
                                                    {"button-close-over.png", 17}};
        for (const auto& [name, width] : skin) {
            files.files[std::string("/skin/") + name] = std::to_string(width) + " 290 1";
            window.picture.imageNames[width] = name;
        }
    }
    DialogContext context(Language language = Language::kEnglish) {
        return {images,        [this](const DialogFault& fault) { faults.push_back(fault); },
                {"/skin", {}}, Colour{10, 20, 30},
                language,      FontSpec{"Arial", 14, 400}};
    }
};

TEST_F(SkeletonTest, SizedToItsBackgroundWithLanguageCaptions) {
    const struct {
        Language language;
        const char* ok;
        const char* cancel;
    } cases[] = {{Language::kEnglish, "OK", "Cancel"},
                 {Language::kSimplifiedChinese, "确定", "取消"},
                 {Language::kTraditionalChinese, "確定", "取消"}};
    for (const auto& row : cases) {
        SubDialog dialog(window, context(row.language), kBackground);
        dialog.Initialise();
        EXPECT_TRUE(dialog.loaded());
        EXPECT_EQ(window.width, 400);
        EXPECT_EQ(window.height, 290);
        EXPECT_EQ(window.font.face, "Arial");
        EXPECT_EQ(dialog.okText(), row.ok);
        EXPECT_EQ(dialog.cancelText(), row.cancel);
    }
}

TEST_F(SkeletonTest, PaintsBackgroundButtonsAndCaptionsInOneCopy) {
    SubDialog dialog(window, context(), kBackground);
    dialog.Initialise();
    dialog.Paint();
    EXPECT_EQ(window.picture.ops,
              (std::vector<std::string>{"image single-key.png at 0,0", "image button-normal.png at 166,253",
                                        "text OK in 166,253", "image button-normal.png at 270,253",
                                        "text Cancel in 270,253", "image button-close-normal.png at 352,6"}));
    EXPECT_EQ(window.picture.presents, 1);
}

TEST_F(SkeletonTest, HoverMovesFromOkToCancelAndOffAll) {
    SubDialog dialog(window, context(), kBackground);
    dialog.Initialise();
    dialog.OnMouseMove(kOk);
    window.picture.ops.clear();
    dialog.OnMouseMove(kCancel);
    EXPECT_TRUE(window.picture.drew("image button-over.png at 270,253"));
    EXPECT_TRUE(window.picture.drew("image button-normal.png at 166,253"));
    dialog.OnMouseMove(kClose);
    window.picture.ops.clear();
    dialog.OnMouseMove(kElsewhere);
    // OK and Cancel share a pixel column: both are drawn again, in order, on
    // their parts of the background.
    EXPECT_EQ(window.picture.ops,
              (std::vector<std::string>{"image 105 at 166,253", "image 105 at 270,253",
                                        "image button-normal.png at 166,253", "text OK in 166,253",
                                        "image button-normal.png at 270,253", "text Cancel in 270,253",
                                        "image 18 at 352,6", "image button-close-normal.png at 352,6"}));
}

TEST_F(SkeletonTest, OkCancelAndCloseEndTheDialog) {
    const struct {
        Point at;
        std::optional<bool> ended;
    } cases[] = {{kOk, true}, {kCancel, false}, {kClose, false}, {kElsewhere, std::nullopt}};
    for (const auto& row : cases) {
        FakeDialogWindow fresh;
        SubDialog dialog(fresh, context(), kBackground);
        dialog.Initialise();
        dialog.OnLeftButtonDown(row.at);
        EXPECT_EQ(fresh.ended, row.ended);
    }
}

TEST_F(SkeletonTest, AMissingBackgroundIsReportedAndTheDialogStillAnswers) {
    files.files.erase("/skin/single-key.png");
    SubDialog dialog(window, context(), kBackground);
    dialog.Initialise();
    EXPECT_FALSE(dialog.loaded());
    EXPECT_EQ(faults, (std::vector<DialogFault>{
                          {DialogFault::Kind::BackgroundNotLoaded, DialogId::SingleKey, "/single-key.png"}}));
    dialog.Paint();
    dialog.OnMouseMove(kOk);
    EXPECT_TRUE(window.picture.ops.empty()) << "nothing is drawn";
    dialog.OnLeftButtonDown(kClose);
    EXPECT_EQ(window.ended, false);
    dialog.OnLeftButtonDown(kOk);
    EXPECT_EQ(window.ended, true);
}

TEST_F(SkeletonTest, AMissingButtonImageIsReportedAtEveryDraw) {
    files.files.erase("/skin/button-over.png");
    SubDialog dialog(window, context(), kBackground);
    dialog.Initialise();
    dialog.OnMouseMove(kOk);
    dialog.OnMouseMove(kCancel);
    const DialogFault missing{DialogFault::Kind::ImageNotLoaded, DialogId::SingleKey, "/button-over.png"};
    EXPECT_EQ(faults, (std::vector<DialogFault>{missing, missing}));
}

} // namespace
} // namespace quorvel
