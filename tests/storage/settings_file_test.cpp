#include "storage/dbase/error.h"
#include "storage/settings_file.h"

#include "support/temp_dir.h"
#include "support/file_contents.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace quendra::storage {
namespace {

using test::writeFile;
using test::readFile;

using test::TempDir;

constexpr std::string_view kDefaultsText =
    "[Datei]\r\nHauptdatei=\r\nKonto=\r\n\r\n"
    "[Drucker]\r\nSeite-oben=150\r\nSeite-unten=2700\r\nGr_linie=1\r\n\r\n"
    "[Graphik]\r\nSkala=100\r\n\r\n"
    "[Font]\r\nBildschirmfont=15\r\nDruckfont=15\r\n\r\n"
    "[Server]\r\nFtpHost=\r\nFtpPort=\r\nFtpUser=\r\nFtpPassword=\r\nWebAddress=\r\nFtpTls=richiesto\r\nCaFile=\r\n"
    "UpdateKey=\r\n";

TEST(SettingsFile, MissingFileGivesTheDefaults) {
    TempDir dir;
    const Settings s = readSettings(dir / "tovald.INI");
    EXPECT_EQ(s.hauptdatei, "");
    EXPECT_EQ(s.konto, "");
    EXPECT_EQ(s.topMargin, -150);
    EXPECT_EQ(s.bottomMargin, -2700);
    EXPECT_EQ(s.frameLines, "1");
    EXPECT_EQ(s.screenFont, "15");
    EXPECT_EQ(s.printerFont, "15");
    EXPECT_EQ(s.scale, "100");
    EXPECT_EQ(s.server.ftpTls, "richiesto") << "a new file asks for an encrypted transmission";
    EXPECT_FALSE(s.server.hasFtp() || s.server.hasWeb());
    EXPECT_TRUE(s.others.empty());
}

TEST(SettingsFile, DefaultsAreWrittenInTheFixedOrder) {
    TempDir dir;
    const auto file = dir / "tovald.INI";
    writeSettings(file, readSettings(file));
    EXPECT_EQ(readFile(file), kDefaultsText);
}

TEST(SettingsFile, MarginsAreHeldNegatedAndWrittenBack) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI", "[Drucker]\nSeite-oben=150\nSeite-unten=2700\n");
    Settings s = readSettings(file);
    EXPECT_EQ(s.topMargin, -150);
    EXPECT_EQ(s.bottomMargin, -2700);
    writeSettings(file, s);
    const Settings again = readSettings(file);
    EXPECT_EQ(again.topMargin, -150);
    EXPECT_NE(readFile(file).find("Seite-oben=150\r\nSeite-unten=2700\r\n"), std::string::npos);

    s.topMargin = -200;
    s.bottomMargin = -2800;
    writeSettings(file, s);
    EXPECT_NE(readFile(file).find("Seite-oben=200\r\nSeite-unten=2800\r\n"), std::string::npos);
}

TEST(SettingsFile, MissingSectionAndEmptyOrBrokenValuesGiveDefaults) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI",
                                "[Datei]\nHauptdatei=KR201501.dbf\nKonto=\n"
                                "[Drucker]\nSeite-oben=\nSeite-unten=viel\n");
    const Settings s = readSettings(file);
    EXPECT_EQ(s.hauptdatei, "KR201501.dbf");
    EXPECT_EQ(s.konto, "");
    EXPECT_EQ(s.topMargin, -150);
    EXPECT_EQ(s.bottomMargin, -2700);
    EXPECT_EQ(s.scale, "100");
    EXPECT_EQ(s.scalePercent(), 100);
}

// A hand-edited file gets no further than the settings dialog would let it.
TEST(SettingsFile, ValuesTheDialogRefusesGiveTheDefaults) {
    struct Case {
        std::string text;
        int top, bottom;
        std::string font, frames;
    } cases[] = {
        {"[Drucker]\nSeite-oben=2600\nSeite-unten=2700\n", -150, -2700, "15", "1"},
        {"[Drucker]\nSeite-oben=150\nSeite-unten=3000\n", -150, -2700, "15", "1"},
        {"[Drucker]\nSeite-oben=200\nSeite-unten=2800\nGr_linie=0\n", -200, -2800, "15", "0"},
        {"[Drucker]\nSeite-oben=1700\nSeite-unten=2701\nGr_linie=2\n", -1700, -2701, "15", "1"},
        {"[Font]\nDruckfont=0\n", -150, -2700, "15", "1"},
        {"[Font]\nDruckfont=1000\n", -150, -2700, "15", "1"},
        {"[Font]\nDruckfont=999\n", -150, -2700, "999", "1"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const Settings s = readSettings(writeFile(dir / "tovald.INI", c.text));
        EXPECT_EQ(s.topMargin, c.top) << c.text;
        EXPECT_EQ(s.bottomMargin, c.bottom) << c.text;
        EXPECT_EQ(s.printerFont, c.font) << c.text;
        EXPECT_EQ(s.frameLines, c.frames) << c.text;
    }
}

TEST(SettingsFile, ScaleOutsideItsRangeIsUsedAsHundredButKeptAsText) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI", "[Graphik]\nSkala=900\n");
    Settings s = readSettings(file);
    EXPECT_EQ(s.scale, "900");
    EXPECT_EQ(s.scalePercent(), 100);
    s.scale = "150";
    EXPECT_EQ(s.scalePercent(), 150);
    s.scale = "49";
    EXPECT_EQ(s.scalePercent(), 100);
}

TEST(SettingsFile, NamesCompareCaseBlindAndBlanksAroundAreIgnored) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI",
                                "[datei]\r\n  HAUPTDATEI = Kr201502.dbf \r\nkonto=Kw201502.dbf\r\n"
                                "[FONT]\r\ndruckfont=20\r\n[graphik]\r\nskala=120\r\n");
    const Settings s = readSettings(file);
    EXPECT_EQ(s.hauptdatei, "Kr201502.dbf");
    EXPECT_EQ(s.konto, "Kw201502.dbf");
    EXPECT_EQ(s.printerFont, "20");
    EXPECT_EQ(s.scale, "120");
    // Rewritten under our spelling, once.
    writeSettings(file, s);
    const std::string text = readFile(file);
    EXPECT_EQ(text.find("[datei]"), std::string::npos);
    EXPECT_NE(text.find("[Datei]\r\nHauptdatei=Kr201502.dbf\r\nKonto=Kw201502.dbf\r\n"), std::string::npos);
}

TEST(SettingsFile, FirstOfDuplicateKeysWinsAndSameSectionsMerge) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI", "[Font]\nDruckfont=20\n[Datei]\nKonto=a\n[font]\nDruckfont=30\nBildschirmfont=9\n");
    const Settings s = readSettings(file);
    EXPECT_EQ(s.printerFont, "20");
    EXPECT_EQ(s.screenFont, "9");
}

TEST(SettingsFile, UnknownSectionsKeysAndCommentsSurviveAfterOurs) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI",
                                "; Quendra\n"
                                "[Extra]\nA=1\nB=zwei\n"
                                "[Drucker]\nModell=Laser\nSeite-oben=100\n; nota\n"
                                "[Leer]\n"
                                "[Zweite]\nC=3\n");
    Settings s = readSettings(file);
    s.hauptdatei = "kr201601.dbf";
    writeSettings(file, s);
    EXPECT_EQ(readFile(file),
              "; Quendra\r\n\r\n"
              "[Datei]\r\nHauptdatei=kr201601.dbf\r\nKonto=\r\n\r\n"
              "[Drucker]\r\nSeite-oben=100\r\nSeite-unten=2700\r\nGr_linie=1\r\nModell=Laser\r\n; nota\r\n\r\n"
              "[Graphik]\r\nSkala=100\r\n\r\n"
              "[Font]\r\nBildschirmfont=15\r\nDruckfont=15\r\n\r\n"
              "[Extra]\r\nA=1\r\nB=zwei\r\n\r\n"
              "[Leer]\r\n\r\n"
              "[Zweite]\r\nC=3\r\n");
    // And a second round changes nothing.
    writeSettings(file, readSettings(file));
    EXPECT_EQ(readSettings(file).others.size(), s.others.size());
}

TEST(SettingsFile, ServerSectionOnlyWhenPresentOrSet) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI", "[Datei]\nHauptdatei=kr201501.dbf\n");
    Settings s = readSettings(file);
    writeSettings(file, s);
    EXPECT_EQ(readFile(file).find("[Server]"), std::string::npos);

    s.server.webAddress = "https://www.velmora.example/";
    writeSettings(file, s);
    const Settings withServer = readSettings(file);
    EXPECT_TRUE(withServer.hadServerSection);
    EXPECT_EQ(withServer.server.webAddress, "https://www.velmora.example/");
    EXPECT_FALSE(withServer.server.hasFtp());
    EXPECT_EQ(withServer.server.downloadAddress("vwi.htm"), "https://www.velmora.example/upload/amministrazione/vwi.htm");

    // Emptied again, the section stays, so whoever configures the server finds the keys.
    Settings cleared = withServer;
    cleared.server = {};
    writeSettings(file, cleared);
    EXPECT_NE(readFile(file).find("[Server]\r\nFtpHost=\r\nFtpPort=\r\n"), std::string::npos);
}

TEST(SettingsFile, ServerValuesAndPort) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI",
                                "[server]\nftphost=ftp.velmora.example\nFtpUser=parrocchia\nFtpPassword=a=b\nWebAddress=\n"
                                "Proxy=none\n");
    const Settings s = readSettings(file);
    EXPECT_EQ(s.server.ftpHost, "ftp.velmora.example");
    EXPECT_EQ(s.server.ftpUser, "parrocchia");
    EXPECT_EQ(s.server.ftpPassword, "a=b");
    EXPECT_EQ(s.server.ftpPortNumber(), 21);
    EXPECT_FALSE(s.server.hasWeb());
    EXPECT_EQ(s.server.downloadAddress("ver.txt"), "");
    ServerSettings port;
    port.ftpPort = "2121";
    EXPECT_EQ(port.ftpPortNumber(), 2121);
    port.ftpPort = "70000";
    EXPECT_EQ(port.ftpPortNumber(), 21);

    writeSettings(file, s);
    EXPECT_NE(readFile(file).find("FtpPassword=a=b\r\nWebAddress=\r\nFtpTls=se-possibile\r\nCaFile=\r\nUpdateKey=\r\n"
                                  "Proxy=none\r\n"),
              std::string::npos);
}

TEST(SettingsFile, TextIsWindows1252OnDisk) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI", "[Datei]\nHauptdatei=kr201501.dbf\n[Note]\nLuogo=Citt\xE0\n");
    Settings s = readSettings(file);
    ASSERT_EQ(s.others.size(), 1u);
    EXPECT_EQ(s.others[0].lines.at(0).value, "Città");
    s.server.ftpUser = "però";
    writeSettings(file, s);
    const std::string bytes = readFile(file);
    EXPECT_NE(bytes.find("FtpUser=per\xF2\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Luogo=Citt\xE0\r\n"), std::string::npos);
}

TEST(SettingsFile, Utf8FileWithByteOrderMarkIsReadAsUtf8) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI", "\xEF\xBB\xBF[Datei]\nHauptdatei=kr201501.dbf\n[Note]\nLuogo=Citt\xC3\xA0\n");
    const Settings s = readSettings(file);
    EXPECT_EQ(s.hauptdatei, "kr201501.dbf");
    EXPECT_EQ(s.others.at(0).lines.at(0).value, "Città");
}

TEST(SettingsFile, CharacterOutsideWindows1252IsRefusedAndTheOldFileStays) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI", "[Datei]\nHauptdatei=kr201501.dbf\n");
    Settings s = readSettings(file);
    s.server.ftpUser = "\xE2\x82\xAC\xE2\x9C\x93";  // "€✓": the check mark has no Windows-1252 byte
    EXPECT_THROW(writeSettings(file, s), DbError);
    EXPECT_EQ(readFile(file), "[Datei]\nHauptdatei=kr201501.dbf\n");
}

TEST(SettingsFile, UnwritableDirectoryIsReported) {
    TempDir dir;
    EXPECT_THROW(writeSettings(dir / "missing" / "tovald.INI", Settings()), DbError);
}

TEST(SettingsFile, FtpTlsIsRequiredUnlessSaidOtherwise) {
    TempDir dir;
    const auto file = writeFile(dir / "tovald.INI", "[Server]\nFtpHost=ftp.velmora.example\n");
    EXPECT_EQ(readSettings(file).server.ftpTlsMode(), FtpTls::IfOffered) << "files older than the key keep working";
    ServerSettings server;
    const std::pair<std::string, FtpTls> cases[] = {
        {"richiesto", FtpTls::Required}, {" Se-Possibile ", FtpTls::IfOffered}, {"no", FtpTls::Off},
        {"NO", FtpTls::Off},             {"si", FtpTls::Required},              {"nessuno", FtpTls::Required},
    };
    for (const auto& [text, mode] : cases) {
        server.ftpTls = text;
        EXPECT_EQ(server.ftpTlsMode(), mode) << text;
    }
    Settings s = readSettings(file);
    s.server.ftpTls = "si";
    s.server.caFile = "/etc/quendra/velmora.pem";
    s.server.updateKey = "RWSfGu7OjGT3vWSwWmAM3FNL6K+byDy9wX7g389FLRDRm0O1By15S0bP";
    writeSettings(file, s);
    const Settings again = readSettings(file);
    EXPECT_EQ(again.server.ftpTls, "richiesto") << "a typing error is written as what it means";
    EXPECT_EQ(again.server.caFile, s.server.caFile);
    EXPECT_EQ(again.server.updateKey, s.server.updateKey) << "base64 with '=' and '+' survives";
}

unsigned modeOf(const std::filesystem::path& file) {
    return static_cast<unsigned>(std::filesystem::status(file).permissions() & std::filesystem::perms::mask);
}

TEST(SettingsFile, TheFileIsPrivateAndNeverMadeMoreOpen) {
    TempDir dir;
    const auto file = dir / "tovald.INI";
    Settings s = readSettings(file);
    s.server.ftpPassword = "31-prova-58";
    writeSettings(file, s);
    EXPECT_EQ(modeOf(file), 0600u) << "a new file";
    writeSettings(file, s);
    EXPECT_EQ(modeOf(file), 0600u);

    std::filesystem::permissions(file, std::filesystem::perms(0644));
    writeSettings(file, s);
    EXPECT_EQ(modeOf(file), 0600u) << "readable by others while it holds the password";
    std::filesystem::permissions(file, std::filesystem::perms(0644));
    EXPECT_EQ(readSettings(file).server.ftpPassword, "31-prova-58");
    EXPECT_EQ(modeOf(file), 0600u) << "narrowed as soon as it is read";

    std::filesystem::permissions(file, std::filesystem::perms(0400));
    writeSettings(file, s);
    EXPECT_EQ(modeOf(file), 0400u) << "never widened";

    s.server.ftpPassword.clear();
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    writeSettings(file, s);
    EXPECT_EQ(modeOf(file), 0640u) << "without a password a shared file stays shared";
    readSettings(file);
    EXPECT_EQ(modeOf(file), 0640u);

    writeFile(dir / "tovald.INI.tmp~", "rimasto da un arresto");
    std::filesystem::permissions(dir / "tovald.INI.tmp~", std::filesystem::perms(0666));
    s.server.ftpPassword = "31-prova-58";
    writeSettings(file, s);
    EXPECT_EQ(modeOf(file), 0600u) << "a leftover temporary file lends its mode to nothing";
    EXPECT_EQ(readSettings(file).server.ftpPassword, "31-prova-58");
}

}  // namespace
}  // namespace quendra::storage
