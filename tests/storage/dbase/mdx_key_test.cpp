#include "storage/dbase/mdx_key.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace quendra::storage;

namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s += char(b);
    s.resize(kNumericKeyLength, '\0');
    return s;
}

std::string numeric(const std::string& text) {
    const auto key = encodeNumericKey(text);
    EXPECT_TRUE(key.has_value()) << text;
    return key.value_or(std::string());
}

}  // namespace

TEST(MdxNumericKey, BytesFollowThePackedDecimalLayout) {
    EXPECT_EQ(numeric("123.45"), bytes({0x37, 0x15, 0x12, 0x34, 0x50}));
    EXPECT_EQ(numeric("-123.45"), bytes({0x37, 0x95, 0x12, 0x34, 0x50}));
    EXPECT_EQ(numeric("20.50"), bytes({0x36, 0x0D, 0x20, 0x50}));  // trailing fraction zero dropped
    EXPECT_EQ(numeric("0.01"), bytes({0x33, 0x05, 0x10}));
    EXPECT_EQ(numeric("0.001"), bytes({0x32, 0x05, 0x10}));
    EXPECT_EQ(numeric("-0.5"), bytes({0x34, 0x85, 0x50}));
    EXPECT_EQ(numeric("1000000000"), bytes({0x3E, 0x29, 0x10}));  // ten digits, zeros of the whole part kept
    EXPECT_EQ(numeric("   -12.50"), bytes({0x36, 0x8D, 0x12, 0x50}));
    EXPECT_EQ(numeric("+7"), bytes({0x35, 0x05, 0x70}));
    EXPECT_EQ(numeric("007.0"), numeric("7"));
}

TEST(MdxNumericKey, ZeroHasOneEncodingWhateverItsText) {
    const std::string zero = bytes({0x34, 0x01});
    for (const char* text : {"0", "", "        ", "0.00", "-0.00", "+0", ".0", "000"}) {
        EXPECT_EQ(numeric(text), zero) << '"' << text << '"';
    }
    EXPECT_EQ(decodeNumericKey(zero), 0.0);
    // Another writer's zero with a digit count or sign still reads and sorts as zero.
    EXPECT_EQ(decodeNumericKey(bytes({0x35, 0x85})), 0.0);
    EXPECT_EQ(compareKeys('N', bytes({0x35, 0x85}), zero), 0);
}

TEST(MdxNumericKey, TwentyDigitsFitAndMoreAreRefused) {
    EXPECT_EQ(numeric("12345678901234567890"),
              bytes({0x48, 0x51, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34, 0x56, 0x78, 0x90}));
    EXPECT_FALSE(encodeNumericKey("123456789012345678901"));
    EXPECT_FALSE(encodeNumericKey("0.123456789012345678901"));
    EXPECT_TRUE(encodeNumericKey("0.00000000000000000001"));  // many zeros, one digit
}

TEST(MdxNumericKey, TextThatIsNoNumberIsRefused) {
    for (const char* text : {"abc", "1.2.3", "-", ".", "1e5", "12-", "1 000", "1,5", "--1", "*****"}) {
        EXPECT_FALSE(encodeNumericKey(text)) << '"' << text << '"';
    }
}

TEST(MdxNumericKey, DecodesWhatItEncodes) {
    const std::vector<std::pair<std::string, double>> cases = {
        {"0.01", 0.01},     {"0.001", 0.001},       {"-0.5", -0.5},
        {"123.45", 123.45}, {"-123.45", -123.45},   {"1000000000", 1e9},
        {"99999999999999.99", 99999999999999.99},   {"-0.000000001", -1e-9},
        {"12345678901234567890", 12345678901234567890.0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(decodeNumericKey(numeric(text)), value) << text;
}

TEST(MdxNumericKey, MalformedKeysDoNotDecode) {
    EXPECT_FALSE(decodeNumericKey(std::string(11, '\0')));
    EXPECT_FALSE(decodeNumericKey(bytes({0x35, 0x05, 0xA0})));  // nibble above 9
    EXPECT_FALSE(decodeNumericKey(bytes({0x35, 0x55, 0x10})));  // 21 digits
}

TEST(MdxNumericKey, KeyOrderIsNumericOrder) {
    std::vector<std::string> texts = {"0",   "0.01",   "0.001", "-0.5",  "123.45", "-123.45", "1000000000",
                                      "0.1", "1",      "10",    "9.99",  "-10",    "-9.99",   "100",
                                      "-1",  "-0.001", "0.5",   "-0.01", "99.5",   "-1000000000",
                                      "12345678901234567890", "-12345678901234567890", "0.00000000000000000001"};
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        const int cents = int(random() % 200000) - 100000;
        const int magnitude = std::abs(cents);
        texts.push_back((cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." +
                        std::to_string(magnitude % 100 / 10) + std::to_string(magnitude % 10));
    }
    std::vector<std::string> byKey = texts;
    std::sort(byKey.begin(), byKey.end(), [](const std::string& a, const std::string& b) {
        return compareKeys('N', numeric(a), numeric(b)) < 0;
    });
    std::vector<std::string> byValue = texts;
    std::sort(byValue.begin(), byValue.end(),
              [](const std::string& a, const std::string& b) { return std::stold(a) < std::stold(b); });
    ASSERT_EQ(byKey.size(), byValue.size());
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        EXPECT_EQ(std::stold(byKey[i]), std::stold(byValue[i])) << "at " << i << ": " << byKey[i];
    }
    EXPECT_EQ(compareKeys('N', numeric("100"), numeric("100.000")), 0);
    EXPECT_EQ(compareKeys('N', numeric("-0.5"), numeric("-0.50")), 0);
}

TEST(MdxDateKey, IsTheLittleEndianDoubleOfTheJulianDay) {
    const Date newYear2000 = Date::fromYmd(2000, 1, 1);
    EXPECT_EQ(encodeDateKey(newYear2000), std::string("\x00\x00\x00\x80\x2c\xb4\x42\x41", 8));
    EXPECT_EQ(encodeDateKey(Date()), std::string(8, '\0'));
    EXPECT_EQ(decodeDateKey(encodeDateKey(newYear2000)), newYear2000);
    EXPECT_EQ(decodeDateKey(std::string(8, '\0')), Date());
}

TEST(MdxDateKey, OrderIsDateOrderWithTheEmptyDateFirst) {
    const std::vector<Date> dates = {Date(), Date::fromYmd(1999, 12, 31), Date::fromYmd(2000, 1, 1),
                                     Date::fromYmd(2000, 1, 2), Date::fromYmd(2024, 2, 29), Date::fromYmd(2100, 1, 1)};
    for (std::size_t i = 0; i < dates.size(); ++i) {
        for (std::size_t j = 0; j < dates.size(); ++j) {
            const int c = compareKeys('D', encodeDateKey(dates[i]), encodeDateKey(dates[j]));
            EXPECT_EQ(c, i < j ? -1 : i > j ? 1 : 0) << i << " " << j;
        }
    }
}

TEST(MdxDateKey, KeysThatAreNoDayDoNotDecode) {
    EXPECT_FALSE(decodeDateKey(std::string(7, '\0')));
    EXPECT_FALSE(decodeDateKey(std::string("\x00\x00\x00\x00\x00\x00\xe0\x3f", 8)));  // 0.5
    EXPECT_FALSE(decodeDateKey(std::string("\x00\x00\x00\x00\x00\x00\xf0\xbf", 8)));  // -1
    EXPECT_FALSE(decodeDateKey(std::string("\x00\x00\x00\x00\x00\x00\xf8\x7f", 8)));  // NaN
}

TEST(MdxCharKey, ComparesBytesUnsigned) {
    EXPECT_LT(compareKeys('C', "ABC", "ABD"), 0);
    EXPECT_GT(compareKeys('C', "\xe0", "z"), 0);  // à after z, as in the file's byte order
    EXPECT_EQ(compareKeys('C', "A01   ", "A01   "), 0);
    EXPECT_LT(compareKeys('C', "A01   ", "A010  "), 0);
}
