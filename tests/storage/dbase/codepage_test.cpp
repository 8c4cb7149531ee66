#include "storage/dbase/codepage.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace quendra::storage;

namespace {

std::string allBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += char(b);
    return bytes;
}

std::string hex(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(c));
        out += digits;
    }
    return out;
}

// Python's own tables: the UTF-8 of every byte, one line each in hex. Windows-1252's five
// unassigned bytes, which Python refuses, stand for themselves as on Windows.
std::string pythonTable(const char* codec) {
    const std::string script = std::string("for b in range(256):\n") +
                               "    try: c = bytes([b]).decode('" + codec + "')\n"
                               "    except UnicodeDecodeError: c = chr(b)\n"
                               "    print(c.encode().hex())\n";
    return quendra::test::runProgram("/usr/bin/python3", {"-c", script}).out;
}

std::string ourTable(CodePage page) {
    std::string out;
    for (int b = 0; b < 256; ++b) out += hex(decodeToUtf8(std::string(1, char(b)), page)) + "\n";
    return out;
}

}  // namespace

TEST(CodePage, Windows1252DecodesItalianAndGermanLetters) {
    EXPECT_EQ(decodeToUtf8("\xE0\xE8\xE9\xEC\xF2\xF9", CodePage::Windows1252), "àèéìòù");
    EXPECT_EQ(decodeToUtf8("\xE4\xF6\xFC\xDF\xC4\xD6\xDC", CodePage::Windows1252), "äöüßÄÖÜ");
    EXPECT_EQ(decodeToUtf8("\x80 5", CodePage::Windows1252), "€ 5");
    EXPECT_EQ(decodeToUtf8("a\xA0" "b", CodePage::Windows1252), "a\u00A0b");
    EXPECT_EQ(decodeToUtf8("\x8A\x9A\x8C\x9C\x8E\x9E\x9F", CodePage::Windows1252), "ŠšŒœŽžŸ");
}

TEST(CodePage, UnassignedWindows1252BytesSurviveAsC1Controls) {
    for (const char b : std::string("\x81\x8D\x8F\x90\x9D")) {
        const std::string utf8 = decodeToUtf8(std::string(1, b), CodePage::Windows1252);
        EXPECT_EQ(utf8, std::string({char(0xC2), b}));
        EXPECT_EQ(encodeFromUtf8(utf8, CodePage::Windows1252), std::string(1, b));
    }
}

TEST(CodePage, DosPagesShareAccentsAndDifferWhere437HasSymbols) {
    for (const CodePage page : {CodePage::Dos437, CodePage::Dos850}) {
        EXPECT_EQ(decodeToUtf8("\x82", page), "é");
        EXPECT_EQ(decodeToUtf8("\x85\x8A\x95\x97\x81\x84\x94\xE1", page), "àèòùüäöß");
        EXPECT_EQ(decodeToUtf8("\xFF", page), "\u00A0");
    }
    EXPECT_EQ(decodeToUtf8("\x9B", CodePage::Dos437), "¢");
    EXPECT_EQ(decodeToUtf8("\x9B", CodePage::Dos850), "ø");
    EXPECT_EQ(decodeToUtf8("\xD5", CodePage::Dos437), "╒");
    EXPECT_EQ(decodeToUtf8("\xD5", CodePage::Dos850), "ı");
    EXPECT_EQ(encodeFromUtf8("ø", CodePage::Dos850), "\x9B");
    EXPECT_EQ(encodeFromUtf8("\u00A0", CodePage::Dos437), "\xFF");
    EXPECT_EQ(encodeFromUtf8("\u00A0", CodePage::Windows1252), "\xA0");
}

TEST(CodePage, EveryByteMatchesPythonsCodecs) {
    EXPECT_EQ(ourTable(CodePage::Windows1252), pythonTable("cp1252"));
    EXPECT_EQ(ourTable(CodePage::Dos437), pythonTable("cp437"));
    EXPECT_EQ(ourTable(CodePage::Dos850), pythonTable("cp850"));
}

TEST(CodePage, EveryByteRoundTrips) {
    for (const CodePage page : {CodePage::Windows1252, CodePage::Dos437, CodePage::Dos850})
        EXPECT_EQ(encodeFromUtf8(decodeToUtf8(allBytes(), page), page), allBytes());
}

TEST(CodePage, EncodeRefusesCharactersThePageLacks) {
    EXPECT_EQ(encodeFromUtf8("Caffè 3 €", CodePage::Windows1252), "Caff\xE8 3 \x80");
    EXPECT_EQ(encodeFromUtf8("", CodePage::Windows1252), "");
    EXPECT_FALSE(encodeFromUtf8("Łódź", CodePage::Windows1252));
    EXPECT_FALSE(encodeFromUtf8("ok 😀", CodePage::Windows1252));
    EXPECT_FALSE(encodeFromUtf8("€", CodePage::Dos437));
    EXPECT_FALSE(encodeFromUtf8("╒", CodePage::Dos850));
}

TEST(CodePage, EncodeRefusesMalformedUtf8) {
    for (const std::string bad : {"\xC3", "a\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                  "\xC3(", "\xFF"}) {
        EXPECT_FALSE(encodeFromUtf8(bad, CodePage::Windows1252)) << bad;
        EXPECT_EQ(firstUnencodable(bad, CodePage::Windows1252), "\uFFFD") << bad;
    }
}

TEST(CodePage, FirstUnencodableNamesTheCulprit) {
    EXPECT_EQ(firstUnencodable("perché Łukasz 😀", CodePage::Windows1252), "Ł");
    EXPECT_EQ(firstUnencodable("nota 😀", CodePage::Windows1252), "😀");
    EXPECT_EQ(firstUnencodable("àèéìòù äöüß €", CodePage::Windows1252), "");
    EXPECT_EQ(firstUnencodable("€", CodePage::Dos850), "€");
}

TEST(CodePage, Utf8LengthCountsCharacters) {
    EXPECT_EQ(utf8Length(""), 0u);
    EXPECT_EQ(utf8Length("perché"), 6u);
    EXPECT_EQ(utf8Length("€ 😀"), 3u);
}

TEST(CodePage, DriverByteSelectsThePage) {
    EXPECT_EQ(codePageFromDriver(0x57), CodePage::Windows1252);
    EXPECT_EQ(codePageFromDriver(0x03), CodePage::Windows1252);
    EXPECT_EQ(codePageFromDriver(0x00), CodePage::Windows1252);
    EXPECT_EQ(codePageFromDriver(0x01), CodePage::Dos437);
    EXPECT_EQ(codePageFromDriver(0x02), CodePage::Dos850);
    EXPECT_EQ(codePageFromDriver(0x64), CodePage::Windows1252);
}
