#include "storage/query/like.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

bool like(std::string_view value, const std::string& pattern) { return LikePattern({{pattern, true}}).matches(value); }

TEST(LikePattern, PercentStandsForAnyRunAnywhere) {
    EXPECT_TRUE(like(" C0101", " C01%"));
    EXPECT_FALSE(like(" C0201", " C01%"));
    EXPECT_FALSE(like("C0101", " C01%"));  // the leading blank counts
    EXPECT_TRUE(like("OFFERTE LUCE", "%LUCE%"));
    EXPECT_TRUE(like("LUCE", "%LUCE%"));
    EXPECT_TRUE(like("LUCE E GAS", "%LUCE"  "%"));
    EXPECT_FALSE(like("LUC", "%LUCE%"));
    EXPECT_TRUE(like("abc", "%c"));
    EXPECT_FALSE(like("abcd", "%c"));
    EXPECT_TRUE(like("", "%"));
    EXPECT_TRUE(like("x", "%%"));
    EXPECT_TRUE(like("aXbYc", "a%b%c"));
    EXPECT_FALSE(like("aXcYb", "a%b%c"));
    // Greedy leftmost runs still find the later ones.
    EXPECT_TRUE(like("abab", "%ab%ab"));
    EXPECT_TRUE(like("aab", "a%ab"));
    EXPECT_FALSE(like("ab", "a%ab"));  // the two ends may not share the "a"
}

TEST(LikePattern, UnderscoreIsExactlyOneCharacter) {
    EXPECT_TRUE(like(" C0101", " C0_01"));
    EXPECT_FALSE(like(" C001", " C0_01"));
    EXPECT_TRUE(like("xAyBz", "%A_B%"));
    EXPECT_FALSE(like("xAyyBz", "%A_B%"));
    EXPECT_TRUE(like("ab", "__"));
    EXPECT_FALSE(like("a", "__"));
}

TEST(LikePattern, TrailingBlanksOfValueAndPatternDoNotCount) {
    EXPECT_TRUE(like(" C0101     ", " C0101"));
    EXPECT_TRUE(like(" C01", " C01   "));
    EXPECT_TRUE(like("ROSSI MARIO   ", "%MARIO"));
    EXPECT_TRUE(like("A B", "A %"));
    EXPECT_FALSE(like("A    ", "A %"));  // the blank must be inside the value
    EXPECT_TRUE(like("      ", ""));
}

TEST(LikePattern, ParameterPartsAreLiteral) {
    const LikePattern contains({{"%", true}, {"50%_", false}, {"%", true}});
    EXPECT_TRUE(contains.matches("SCONTO 50%_ OGGI"));
    EXPECT_FALSE(contains.matches("SCONTO 500 OGGI"));
    EXPECT_FALSE(contains.matches("SCONTO 50%X OGGI"));
    const LikePattern prefix({{"A%", false}, {"%", true}});
    EXPECT_TRUE(prefix.matches("A%B"));
    EXPECT_FALSE(prefix.matches("AB"));
    EXPECT_EQ(prefix.literalPrefix(), "A%");
}

TEST(LikePattern, LiteralPrefixStopsAtTheFirstWildcard) {
    EXPECT_EQ(LikePattern({{" C01%", true}}).literalPrefix(), " C01");
    EXPECT_EQ(LikePattern({{" C_1%", true}}).literalPrefix(), " C");
    EXPECT_EQ(LikePattern({{"%X", true}}).literalPrefix(), "");
    EXPECT_EQ(LikePattern({{"ABC  ", true}}).literalPrefix(), "ABC");
}

}  // namespace
}  // namespace quendra::storage
