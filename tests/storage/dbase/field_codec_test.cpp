#include "storage/dbase/error.h"
#include "storage/dbase/field_codec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quendra::storage;

namespace {

const FieldDef kText{"TEXT", FieldType::Character, 63};
const FieldDef kCod{"COD", FieldType::Character, 6};
const FieldDef kNummer{"NUMMER", FieldType::Numeric, 5, 0};
const FieldDef kAmount{"EINNAHME", FieldType::Numeric, 12, 2};
const FieldDef kQuota{"QUOTA", FieldType::Float, 10, 4};
const FieldDef kDatum{"DATUM", FieldType::Date, 8};
const FieldDef kFatto{"FATTO", FieldType::Logical, 1};
constexpr CodePage kAnsi = CodePage::Windows1252;

// The message of the BadValue that f throws, or "" when it throws nothing.
template <typename F>
std::string badValue(F f) {
    try {
        f();
        return "";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::BadValue);
        return e.what();
    }
}

std::string roundTrip(const std::string& utf8, CodePage page = kAnsi) {
    return decodeText(kText, encodeText(kText, utf8, page), page);
}

}  // namespace

TEST(CharacterField, RoundTripsAccentsAndSpecialBlanks) {
    EXPECT_EQ(roundTrip("àèéìòù ÀÈÉÌÒÙ"), "àèéìòù ÀÈÉÌÒÙ");
    EXPECT_EQ(roundTrip("äöüß ÄÖÜ"), "äöüß ÄÖÜ");
    EXPECT_EQ(roundTrip("Offerta 5 €"), "Offerta 5 €");
    EXPECT_EQ(roundTrip("10\u00A0000\u00A0"), "10\u00A0000\u00A0");  // a non-breaking space is text
    EXPECT_EQ(roundTrip("perché", CodePage::Dos850), "perché");
    EXPECT_EQ(roundTrip(""), "");
    EXPECT_EQ(encodeText(kCod, " A0101", kAnsi), " A0101");
    EXPECT_EQ(encodeText(kCod, " A", kAnsi), " A    ");
    EXPECT_EQ(decodeText(kCod, " A    ", kAnsi), " A");
    EXPECT_EQ(decodeText(kCod, std::string("AB\0\0\0\0", 6), kAnsi), "AB");
    EXPECT_EQ(encodeText(kText, "Caffè €", kAnsi), "Caff\xE8 \x80" + std::string(56, ' '));
    EXPECT_EQ(encodeText(kText, "ø", CodePage::Dos850), "\x9B" + std::string(62, ' '));
    EXPECT_TRUE(isBlank(kCod, "      "));
    EXPECT_FALSE(isBlank(kCod, "     A"));
}

TEST(CharacterField, WidthCountsCodePageCharacters) {
    const std::string accents = std::string(21, 'a') + [] {
        std::string s;
        for (int i = 0; i < 21; ++i) s += "èé";
        return s;
    }();  // 63 characters, 105 UTF-8 bytes
    EXPECT_EQ(roundTrip(accents), accents);
    EXPECT_EQ(encodeText(kCod, "ABCDEF   ", kAnsi), "ABCDEF");  // blanks past the width do no harm
    EXPECT_EQ(badValue([&] { encodeText(kText, accents + "x", kAnsi); }),
              "Il testo è troppo lungo per il campo TEXT (massimo 63 caratteri)");
    EXPECT_EQ(badValue([] { encodeText(kCod, "ABCDEF x", kAnsi); }),
              "Il testo è troppo lungo per il campo COD (massimo 6 caratteri)");
}

TEST(CharacterField, RefusesCharactersTheCodePageLacks) {
    EXPECT_EQ(badValue([] { encodeText(kText, "Łódź", kAnsi); }),
              "Il carattere \"Ł\" non può essere salvato nel campo TEXT");
    EXPECT_EQ(badValue([] { encodeText(kText, "grazie 😀", kAnsi); }),
              "Il carattere \"😀\" non può essere salvato nel campo TEXT");
    EXPECT_EQ(badValue([] { encodeText(kText, "5 €", CodePage::Dos437); }),
              "Il carattere \"€\" non può essere salvato nel campo TEXT");
    EXPECT_NE(badValue([] { encodeText(kText, "bad \xC3", kAnsi); }), "");
}

TEST(NumericField, RoundsHalvesToEvenOnTheBinaryValue) {
    const FieldDef two{"N", FieldType::Numeric, 10, 2};
    EXPECT_EQ(encodeNumber(two, 0.125), "      0.12");
    EXPECT_EQ(encodeNumber(two, 0.375), "      0.38");
    EXPECT_EQ(encodeNumber(two, 2.675), "      2.67");  // just below the half in binary
    EXPECT_EQ(encodeNumber(two, 1.005), "      1.00");
    EXPECT_EQ(encodeNumber(kNummer, 2.5), "    2");
    EXPECT_EQ(encodeNumber(kNummer, 3.5), "    4");
    EXPECT_EQ(encodeNumber(kNummer, -12.5), "  -12");
}

TEST(NumericField, FormatsRightAlignedWithTheFieldsDecimals) {
    EXPECT_EQ(encodeNumber(kAmount, 1234.5), "     1234.50");
    EXPECT_EQ(encodeNumber(kAmount, 0), "        0.00");
    EXPECT_EQ(encodeNumber(kAmount, -0.0), "        0.00");
    EXPECT_EQ(encodeNumber(kAmount, -0.001), "        0.00");
    EXPECT_EQ(encodeNumber(kAmount, -7.25), "       -7.25");
    EXPECT_EQ(encodeNumber(kQuota, 1.0 / 3), "    0.3333");
    EXPECT_EQ(encodeNumber(kNummer, 99999), "99999");
    EXPECT_EQ(encodeNumber(kNummer, -9999), "-9999");
    EXPECT_EQ(encodeNumber(kCod, 12.5), "12.5  ");
    EXPECT_EQ(encodeNumber(kCod, -0.0), "0     ");
}

TEST(NumericField, RefusesWhatDoesNotFit) {
    EXPECT_EQ(badValue([] { encodeNumber(kNummer, 123456); }),
              "Il valore 123456 non entra nel campo NUMMER (larghezza 5)");
    EXPECT_NE(badValue([] { encodeNumber(kNummer, -99999); }), "");
    EXPECT_NE(badValue([] { encodeNumber(kNummer, 99999.5); }), "");  // rounds up to six digits
    EXPECT_NE(badValue([] { encodeNumber(kAmount, 1e300); }), "");
    EXPECT_NE(badValue([] { encodeNumber(kAmount, std::nan("")); }), "");
    EXPECT_NE(badValue([] { encodeNumber(kAmount, std::numeric_limits<double>::infinity()); }), "");
    EXPECT_NE(badValue([] { encodeNumber(kCod, -std::numeric_limits<double>::infinity()); }), "");
    EXPECT_NE(badValue([] { encodeNumber(kCod, 1234567); }), "");
    EXPECT_NE(badValue([] { encodeNumber(kDatum, 1); }), "");
    EXPECT_NE(badValue([] { encodeNumber(kFatto, 1); }), "");
}

TEST(NumericField, DecodesOnlyPlainDecimalText) {
    EXPECT_EQ(decodeNumber(kAmount, "     1234.50"), 1234.5);
    EXPECT_EQ(decodeNumber(kAmount, "       -7.25"), -7.25);
    EXPECT_EQ(decodeNumber(kAmount, "-12345678.90"), -12345678.9);
    EXPECT_EQ(decodeNumber(kNummer, "   12"), 12);
    EXPECT_EQ(decodeNumber(FieldDef{"N", FieldType::Numeric, 3, 2}, ".50"), 0.5);  // no room for the zero
    EXPECT_EQ(decodeNumber(kAmount, "            "), 0);
    // Garbage is never a silent zero: the reader is told which field holds what. Only
    // what the width and decimals allow is a number.
    for (const char* unreadable : {"       *****", "      1,50", "         inf", "         nan", "        0x1A",
                                   "       12 34", "        --1", "       1.2.3", "           -", "      291n74",
                                   "         1e3", "     +100.00", "     100.500", "         .50", "          1.",
                                   "100.00      ", "  1.5E+03   ", "   -  100.00"})
        EXPECT_NE(badValue([&] { decodeNumber(kAmount, unreadable); }), "") << unreadable;
    EXPECT_NE(badValue([] { decodeNumber(kAmount, std::string(12, '\0')); }), "");
    EXPECT_NE(badValue([] { decodeNumber(kNummer, "  1.0"); }), "");
    EXPECT_EQ(badValue([] { decodeNumber(kAmount, std::string("   \0\0\xb2\0 0.00", 12)); }),
              "il campo EINNAHME contiene \"\\x00\\x00\\xb2\\x00 0.00\", che non è un numero");
    EXPECT_EQ(badValue([] { decodeNumber(kAmount, "      291n74"); }),
              "il campo EINNAHME contiene \"291n74\", che non è un numero");
    EXPECT_NE(badValue([] { decodeText(kAmount, "      291n74", kAnsi); }), "");
    EXPECT_EQ(decodeNumber(kCod, "  42  "), 42);
    EXPECT_EQ(decodeNumber(kCod, " A0101"), 0);
    EXPECT_EQ(decodeText(kAmount, "     1234.50", kAnsi), "1234.50");
    EXPECT_EQ(decodeText(kAmount, "            ", kAnsi), "");
    EXPECT_TRUE(isBlank(kAmount, "            "));
    EXPECT_FALSE(isBlank(kAmount, "        0.00"));
}

TEST(NumericField, EncodesTypedText) {
    EXPECT_EQ(encodeText(kAmount, " 1234.5 ", kAnsi), "     1234.50");
    EXPECT_EQ(encodeText(kAmount, "+3", kAnsi), "        3.00");
    EXPECT_EQ(encodeText(kAmount, "", kAnsi), std::string(12, ' '));
    EXPECT_EQ(badValue([] { encodeText(kAmount, "1,5", kAnsi); }),
              "\"1,5\" non è un numero valido per il campo EINNAHME");
    EXPECT_NE(badValue([] { encodeText(kAmount, "abc", kAnsi); }), "");
    EXPECT_NE(badValue([] { encodeText(kNummer, "123456", kAnsi); }), "");
}

TEST(DateField, EncodesAndDecodes) {
    const Date d = Date::fromYmd(2015, 1, 31);
    EXPECT_EQ(encodeDate(kDatum, d), "20150131");
    EXPECT_EQ(encodeDate(kDatum, Date{}), "        ");
    EXPECT_EQ(decodeDate(kDatum, "20150131"), d);
    EXPECT_TRUE(decodeDate(kDatum, "        ").isEmpty());
    EXPECT_EQ(badValue([] { decodeDate(kDatum, "20150231"); }),
              "il campo DATUM contiene \"20150231\", che non è una data");
    EXPECT_NE(badValue([] { decodeDate(kDatum, std::string(8, '\0')); }), "") << "NULs are no empty date";
    EXPECT_FALSE(isBlank(kDatum, std::string(8, '\0')));
    EXPECT_NE(badValue([] { decodeText(kText, std::string("Ri\0ga", 5), kAnsi); }), "");
    EXPECT_NE(badValue([] { decodeText(kFatto, std::string(1, '\0'), kAnsi); }), "");
    EXPECT_EQ(decodeText(kDatum, "20150131", kAnsi), "31.01.2015");
    EXPECT_EQ(decodeText(kDatum, "        ", kAnsi), "");
    EXPECT_TRUE(isBlank(kDatum, "        "));
    EXPECT_FALSE(isBlank(kDatum, "20150131"));
    EXPECT_EQ(encodeText(kDatum, "31.01.2015", kAnsi), "20150131");
    EXPECT_EQ(encodeText(kDatum, "2015-01-31", kAnsi), "20150131");
    EXPECT_EQ(encodeText(kDatum, "", kAnsi), "        ");
    EXPECT_EQ(badValue([] { encodeText(kDatum, "31.02.2015", kAnsi); }),
              "\"31.02.2015\" non è una data valida per il campo DATUM");
    EXPECT_NE(badValue([] { encodeText(kDatum, "1.1.2015", kAnsi); }), "");
    EXPECT_NE(badValue([] { encodeDate(kDatum, Date::fromYmd(9999, 12, 31).addDays(1)); }), "");
    EXPECT_NE(badValue([&] { encodeDate(kCod, d); }), "");
}

TEST(LogicalField, EncodesAndDecodes) {
    EXPECT_EQ(encodeLogical(kFatto, true), "T");
    EXPECT_EQ(encodeLogical(kFatto, false), "F");
    for (const char* yes : {"T", "t", "Y", "y"}) {
        EXPECT_TRUE(decodeLogical(yes));
        EXPECT_EQ(decodeText(kFatto, yes, kAnsi), "T");
        EXPECT_EQ(encodeText(kFatto, yes, kAnsi), "T");
    }
    for (const char* no : {"F", "f", "N", "n"}) {
        EXPECT_FALSE(decodeLogical(no));
        EXPECT_EQ(decodeText(kFatto, no, kAnsi), "F");
        EXPECT_EQ(encodeText(kFatto, no, kAnsi), "F");
    }
    EXPECT_EQ(decodeText(kFatto, "?", kAnsi), "");
    EXPECT_EQ(decodeText(kFatto, " ", kAnsi), "");
    EXPECT_FALSE(decodeLogical("?"));
    EXPECT_TRUE(isBlank(kFatto, "?"));
    EXPECT_TRUE(isBlank(kFatto, " "));
    EXPECT_FALSE(isBlank(kFatto, "F"));
    EXPECT_EQ(encodeText(kFatto, "", kAnsi), "?");
    EXPECT_EQ(blankValue(kFatto), "?");
    EXPECT_NE(badValue([] { encodeText(kFatto, "si", kAnsi); }), "");
    EXPECT_NE(badValue([] { encodeLogical(kCod, true); }), "");
}

TEST(BlankValue, FillsTheFieldWithBlanks) {
    EXPECT_EQ(blankValue(kText), std::string(63, ' '));
    EXPECT_EQ(blankValue(kAmount), std::string(12, ' '));
    EXPECT_EQ(blankValue(kDatum), std::string(8, ' '));
}
