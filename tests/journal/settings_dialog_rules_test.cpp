#include "journal/settings_dialog_rules.h"

#include <gtest/gtest.h>

namespace quendra::journal {
namespace {

TEST(SettingsDialogRules, MarginsShowInCentimetresFromThePapersEdge) {
    EXPECT_EQ(marginText(-150), "2,5");
    EXPECT_EQ(marginText(-2700), "28");
    EXPECT_EQ(marginText(-2755), "28,55");
}

TEST(SettingsDialogRules, TypedCentimetresGiveTheHeldValues) {
    EXPECT_EQ(heldMargin("2,5"), -150);
    EXPECT_EQ(heldMargin("28"), -2700);
    EXPECT_EQ(heldMargin(" 2.5 "), -150);
    EXPECT_EQ(heldMargin("1"), 0);
}

TEST(SettingsDialogRules, ATextThatIsNoNumberGivesNoMargin) {
    EXPECT_EQ(heldMargin(""), std::nullopt);
    EXPECT_EQ(heldMargin("abc"), std::nullopt);
    EXPECT_EQ(heldMargin("2,5cm"), std::nullopt);
    EXPECT_EQ(heldMargin("1,2,3"), std::nullopt);
    EXPECT_EQ(heldMargin("1e300"), std::nullopt);
}

TEST(SettingsDialogRules, PageLayoutNeedsMoreThanTenCentimetresAndAtMostTwentyNine) {
    EXPECT_TRUE(pageLayoutAccepted(*heldMargin("2,5"), *heldMargin("28")));
    // 2,5 to 12,5 is exactly 10 cm: refused.
    EXPECT_FALSE(pageLayoutAccepted(*heldMargin("2,5"), *heldMargin("12,5")));
    EXPECT_TRUE(pageLayoutAccepted(*heldMargin("2,5"), *heldMargin("12,51")));
    EXPECT_TRUE(pageLayoutAccepted(*heldMargin("2,5"), *heldMargin("29")));
    EXPECT_FALSE(pageLayoutAccepted(*heldMargin("2,5"), *heldMargin("29,5")));
}

TEST(SettingsDialogRules, Scale) {
    EXPECT_EQ(decideScale("150", 100).outcome, ScaleOutcome::Changed);
    EXPECT_EQ(decideScale("150", 100).value, 150);
    EXPECT_EQ(decideScale("50", 100).value, 50);
    EXPECT_EQ(decideScale("151", 100).outcome, ScaleOutcome::OutOfRange);
    EXPECT_EQ(decideScale("49", 100).outcome, ScaleOutcome::OutOfRange);
    EXPECT_EQ(decideScale("100", 100).outcome, ScaleOutcome::Unchanged);
    EXPECT_EQ(decideScale("1,5", 100).outcome, ScaleOutcome::NotANumber);
    EXPECT_EQ(decideScale("", 100).outcome, ScaleOutcome::NotANumber);
}

TEST(SettingsDialogRules, CharacterCountsLoseTheirSeparators) {
    EXPECT_EQ(characterCount("1.5"), "15");
    EXPECT_EQ(characterCount("2,0"), "20");
    EXPECT_EQ(characterCount(" 30 "), "30");
    EXPECT_EQ(characterCount("abc"), std::nullopt);
    EXPECT_EQ(characterCount("0"), std::nullopt);
    EXPECT_EQ(characterCount(".,"), std::nullopt);
}

}  // namespace
}  // namespace quendra::journal
