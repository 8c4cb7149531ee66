#include "storage/dbase/codepage.h"
#include "storage/dbase/text_case.h"

#include <gtest/gtest.h>

using namespace quendra::storage;

TEST(TextCase, UpperCasesItalianAndGermanLetters) {
    EXPECT_EQ(toUpperUtf8("perché"), "PERCHÉ");
    EXPECT_EQ(toUpperUtf8("über"), "ÜBER");
    EXPECT_EQ(toUpperUtf8("àèéìòù äöü"), "ÀÈÉÌÒÙ ÄÖÜ");
    EXPECT_EQ(toUpperUtf8("œ š ž ÿ æ ø þ ñ ç"), "Œ Š Ž Ÿ Æ Ø Þ Ñ Ç");
}

TEST(TextCase, LeavesWhatHasNoUpperCaseHere) {
    EXPECT_EQ(toUpperUtf8("straße"), "STRAßE");
    EXPECT_EQ(toUpperUtf8("3 ÷ 4 = 0,75 € ¿µ?"), "3 ÷ 4 = 0,75 € ¿µ?");
    EXPECT_EQ(toUpperUtf8("ÀÉ Ÿ"), "ÀÉ Ÿ");
    EXPECT_EQ(toUpperUtf8("αβ łę ǆ"), "αβ łę ǆ");
    EXPECT_EQ(toUpperUtf8("a\u00A0b"), "A\u00A0B");
    EXPECT_EQ(toUpperUtf8(""), "");
}

TEST(TextCase, MalformedBytesPassUntouched) {
    EXPECT_EQ(toUpperUtf8("ab\xC3"), "AB\xC3");
    EXPECT_EQ(toUpperUtf8("\xC3(x"), "\xC3(X");
    EXPECT_EQ(toUpperUtf8("\xA0x\xC5"), "\xA0X\xC5");
}

// Case-blind searches upper-case text read from a table and compare it with upper-cased
// input: the upper case of a Windows-1252 character must again be one.
TEST(TextCase, UpperCaseOfWindows1252StaysInWindows1252) {
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = decodeToUtf8(std::string(1, char(b)), CodePage::Windows1252);
        EXPECT_TRUE(encodeFromUtf8(toUpperUtf8(utf8), CodePage::Windows1252)) << b;
    }
}

TEST(TextCase, NamesCompareCaseBlindInAsciiOnly) {
    EXPECT_TRUE(equalsIgnoreCaseAscii("cod", "COD"));
    EXPECT_TRUE(equalsIgnoreCaseAscii("Nummer", "nUMMER"));
    EXPECT_TRUE(equalsIgnoreCaseAscii("", ""));
    EXPECT_FALSE(equalsIgnoreCaseAscii("cod", "codd"));
    EXPECT_FALSE(equalsIgnoreCaseAscii("codd", "cod"));
    EXPECT_FALSE(equalsIgnoreCaseAscii("A_1", "A-1"));
    EXPECT_FALSE(equalsIgnoreCaseAscii("é", "É"));
}
