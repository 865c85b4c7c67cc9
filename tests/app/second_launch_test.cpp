#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/second_launch.h"

namespace quorvel {
namespace {

using Verdict = KnockListener::Verdict;

// What the running copy makes of a peer that sends these pieces and then
// hangs up.
Verdict HeardThenHungUp(const std::vector<std::string>& pieces) {
    KnockListener knock;
    for (const std::string& piece : pieces) {
        if (const Verdict verdict = knock.heard(piece); verdict != Verdict::Listening) {
            return verdict;
        }
    }
    return knock.peerHungUp();
}

TEST(KnockListener, OnlyTheKnockThenHangingUpShowsTheWindow) {
    struct Case {
        std::vector<std::string> pieces;
        Verdict verdict;
    };
    const Case cases[] = {
        {{"show\n"}, Verdict::Show},
        {{"sh", "ow", "\n"}, Verdict::Show},
        {{"s", "h", "o", "w", "\n", ""}, Verdict::Show},
        {{}, Verdict::Refuse},
        {{"show"}, Verdict::Refuse},
        {{"show\n", "x"}, Verdict::Refuse},
        {{"show\nshow\n"}, Verdict::Refuse},
        {{"hide\n"}, Verdict::Refuse},
        {{"Show\n"}, Verdict::Refuse},
        {{"\nshow"}, Verdict::Refuse},
    };
    for (const Case& c : cases) {
        std::string said;
        for (const std::string& piece : c.pieces) {
            said += "[" + piece + "]";
        }
        EXPECT_EQ(HeardThenHungUp(c.pieces), c.verdict) << said;
    }
}

TEST(KnockListener, NoMoreIsReadThanTheKnockAndOneByteAndNoneAfterTheVerdict) {
    KnockListener knock;
    EXPECT_EQ(knock.wanted(), kShowWindowKnock.size() + 1);
    EXPECT_EQ(knock.heard("sho"), Verdict::Listening);
    EXPECT_EQ(knock.wanted(), kShowWindowKnock.size() + 1 - 3);
    EXPECT_EQ(knock.heard("w?"), Verdict::Refuse);
    EXPECT_EQ(knock.wanted(), 0u);
    EXPECT_EQ(knock.heard("w\n"), Verdict::Refuse) << "a refused peer is not heard again";
    EXPECT_EQ(knock.peerHungUp(), Verdict::Refuse);

    KnockListener shown;
    EXPECT_EQ(shown.heard(kShowWindowKnock), Verdict::Listening);
    EXPECT_EQ(shown.peerHungUp(), Verdict::Show);
    EXPECT_EQ(shown.peerHungUp(), Verdict::Refuse) << "one knock shows the window once";
}

TEST(KnockListener, APeerOutOfPatienceIsRefusedEvenWithTheKnockSaid) {
    KnockListener silent;
    EXPECT_EQ(silent.outOfPatience(), Verdict::Refuse);
    EXPECT_EQ(silent.wanted(), 0u);
    KnockListener holding;
    EXPECT_EQ(holding.heard(kShowWindowKnock), Verdict::Listening);
    EXPECT_EQ(holding.outOfPatience(), Verdict::Refuse);
    EXPECT_EQ(holding.peerHungUp(), Verdict::Refuse);
}

} // namespace
} // namespace quorvel
