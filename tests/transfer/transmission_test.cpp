#include "transfer/transmission.h"

#include "budget/budget_table.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "transfer/curl_net.h"
#include "transfer/net_messages.h"
#include "transfer/parish_info.h"
#include "transfer/transfer_error.h"
#include "transfer/transmission_code.h"

#include "support/chart_fixture.h"
#include "support/dbfread_reader.h"
#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/local_server.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include "support/file_contents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace quendra::transfer {
namespace {

using test::readFile;
using test::namesIn;

using test::ymd;

// The year 2015/01 of a parish in a data directory, an FTP server with the central
// office's "/tovald", and the platform doubles.
class Transmission : public ::testing::Test {
protected:
    Transmission() {
        std::filesystem::create_directories(dataDir);
        std::filesystem::create_directories(ftpRoot / "tovald");
        test::makeJournal(dataDir / "KR201501.dbf",
                          {{1, ymd(2015, 1, 3), " A0101", " C0101", "Candele", 0, 12.5, 1, 0},
                           {2, ymd(2015, 1, 4), " E0201", " C0101", "Offerte, festa patronale", 230, 0, 2, 0}});
        // The header row is the first row stored, though another row comes first by code.
        test::makeChart(dataDir / "KW201501.dbf",
                        {{.cod = "~PARR", .text = "Sant'Antonio Abate", .texth = "Cortaccia",
                          .texta = "Decanato di Egna – Neumarkt"},
                         {.cod = " A0101", .text = "Candele e ceri", .texth = "Culto", .texta = "USCITE"}});
        server.ftpHost = "127.0.0.1";
        server.ftpUser = "administrator";
        server.ftpPassword = "31-prova-58";
        server.webAddress = "http://velmora.example/";
    }

    TransmissionRequest request(std::string email = "parroco@example.it",
                                std::vector<std::string> notes = {}) const {
        return {dataDir, "KR201501.dbf", "KW201501.dbf", std::move(email), std::move(notes), server, scratchRoot.path()};
    }

    TransmissionResult send(const TransmissionRequest& what) {
        return transmit(what, services, [this](const std::string& text) { status.push_back(text); });
    }

    // The code of the one transmission the server holds, from its info file's name.
    std::string receivedCode() const {
        for (const std::string& name : namesIn(ftpRoot / "tovald")) {
            if (name.size() == 13 && name.ends_with("info.txt")) return name.substr(0, 5);
        }
        return {};
    }

    test::TempDir home;
    test::TempDir ftpRoot;
    test::TempDir scratchRoot;
    std::filesystem::path dataDir = home / "krw";
    storage::ServerSettings server;
    test::ScriptedPrompt prompt;
    test::FixedClock clock{storage::Date::fromYmd(2015, 6, 15)};
    test::RecordingShell shell;
    CurlNet net;
    platform::Services services{prompt, clock, shell, &net};
    std::vector<std::string> status;
};

TEST_F(Transmission, SendsJournalChartAndInfoUnderOneCodeAndOpensTheCheckPage) {
    const auto ftp = test::ftpServer(ftpRoot.path(), "administrator", "31-prova-58");
    server.ftpPort = std::to_string(ftp.port());
    ASSERT_EQ(send(request("  parroco@example.it ", {"x", "y"})), TransmissionResult::Sent);

    const std::string code = receivedCode();
    ASSERT_EQ(code.size(), 5u);
    EXPECT_EQ(code.find_first_not_of("123456789"), std::string::npos) << code;
    EXPECT_EQ(namesIn(ftpRoot / "tovald"),
              (std::vector<std::string>{code + "KR201501.dbf", code + "KW201501.dbf", code + "info.txt"}));
    EXPECT_EQ(readFile(ftpRoot / "tovald" / (code + "info.txt")),
              "Anno dell'esercizio: 2015|\r\n"
              "Nome parrocchia: Sant'Antonio Abate|\r\n"
              "Luogo: Cortaccia|\r\n"
              "Decanato: Decanato di Egna \x96 Neumarkt|\r\n"
              "Email:   parroco@example.it |\r\n"
              "Annotazioni:  x y\r\n");
    EXPECT_EQ(shell.urls, std::vector<std::string>{"http://velmora.example/upload/tovald/checktovald.php?cod=" + code +
                                                   "&kr=KR201501.dbf&kw=KW201501.dbf&spr=i"});
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(std::filesystem::is_empty(scratchRoot.path())) << "the copies do not stay behind";
    EXPECT_FALSE(status.empty());
}

TEST_F(Transmission, TheSentTablesAreWholeDbaseCopiesOfTheYear) {
    const auto ftp = test::ftpServer(ftpRoot.path(), "administrator", "31-prova-58");
    server.ftpPort = std::to_string(ftp.port());
    ASSERT_EQ(send(request()), TransmissionResult::Sent);
    const std::string code = receivedCode();

    const auto journalCopy = ftpRoot / "tovald" / (code + "KR201501.dbf");
    storage::Cursor journal(journalCopy, storage::OpenMode::Shared);
    std::vector<std::string> texts;
    for (journal.first(); !journal.eof(); journal.next()) texts.push_back(journal.asText("text"));
    EXPECT_EQ(texts, (std::vector<std::string>{"Candele", "Offerte, festa patronale"}));
    const auto chart = test::readChart(ftpRoot / "tovald" / (code + "KW201501.dbf"));
    ASSERT_EQ(chart.size(), 2u);
    EXPECT_EQ(chart[0].texta, "Decanato di Egna – Neumarkt") << "the copy keeps the stored order";
    EXPECT_EQ(chart[1].cod, " A0101");
    EXPECT_EQ(namesIn(ftpRoot / "tovald").size(), 3u) << "no index files are sent";

    if (!test::dbfreadAvailable()) GTEST_SKIP() << "python3-dbfread missing";
    const test::DbfreadTable read = test::readWithDbfread(journalCopy);
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[1]["TEXT"].text, "Offerte, festa patronale");
}

TEST_F(Transmission, AYearWithABudgetSendsItAsAFourthFile) {
    budget::writePlanned(dataDir / "KV201501.dbf", " E0201", {500, "festa"});
    const auto ftp = test::ftpServer(ftpRoot.path(), "administrator", "31-prova-58");
    server.ftpPort = std::to_string(ftp.port());
    ASSERT_EQ(send(request()), TransmissionResult::Sent);
    const std::string code = receivedCode();
    EXPECT_EQ(namesIn(ftpRoot / "tovald"), (std::vector<std::string>{code + "KR201501.dbf", code + "KV201501.dbf",
                                                                     code + "KW201501.dbf", code + "info.txt"}));
    EXPECT_EQ(budget::readBudget(ftpRoot / "tovald" / (code + "KV201501.dbf")).at(" E0201").amount, 500);
}

TEST_F(Transmission, WithoutNotesTheLastLineKeepsItsOneBlank) {
    const auto ftp = test::ftpServer(ftpRoot.path(), "administrator", "31-prova-58");
    server.ftpPort = std::to_string(ftp.port());
    ASSERT_EQ(send(request("a@b")), TransmissionResult::Sent);
    const std::string info = readFile(ftpRoot / "tovald" / (receivedCode() + "info.txt"));
    EXPECT_TRUE(info.ends_with("|\r\nEmail: a@b|\r\nAnnotazioni: \r\n")) << info;
}

TEST_F(Transmission, ARefusedLoginIsReportedAndTheCheckPageStillOpens) {
    const auto ftp = test::ftpServer(ftpRoot.path(), "administrator", "un'altra");
    server.ftpPort = std::to_string(ftp.port());
    ASSERT_EQ(send(request()), TransmissionResult::NotSent);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{transmissionFailedText(
                                  "Il server 127.0.0.1 ha rifiutato l'accesso (nome utente o password).")});
    ASSERT_EQ(shell.urls.size(), 1u);
    EXPECT_TRUE(shell.urls[0].starts_with("http://velmora.example/upload/tovald/checktovald.php?cod="));
    EXPECT_TRUE(namesIn(ftpRoot / "tovald").empty());
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back(), "Il server 127.0.0.1 ha rifiutato l'accesso (nome utente o password).");
    for (const std::string& text : status) EXPECT_EQ(text.find("31-prova-58"), std::string::npos) << text;
}

TEST_F(Transmission, RequiredTlsWithoutAnEncryptingServerSendsNothing) {
    const auto log = home / "comandi.log";
    const auto ftp = test::ftpServer(ftpRoot.path(), "administrator", "31-prova-58", {.commandLog = log});
    server.ftpPort = std::to_string(ftp.port());
    server.ftpTls = "richiesto";
    ASSERT_EQ(send(request()), TransmissionResult::NotSent);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{transmissionFailedText(
                                  "Il server 127.0.0.1 non offre la connessione cifrata (TLS) richiesta dalle "
                                  "impostazioni: non è stato inviato nulla.")});
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back(), "Il server 127.0.0.1 non offre la connessione cifrata (TLS) richiesta dalle impostazioni: "
                             "non è stato inviato nulla.");
    EXPECT_TRUE(namesIn(ftpRoot / "tovald").empty());
    EXPECT_EQ(readFile(log).find("PASS"), std::string::npos) << "the password never left";
    EXPECT_EQ(shell.urls.size(), 1u) << "the check page opens as after any failed transfer";
}

TEST_F(Transmission, RequiredTlsWithTheCentralOfficesCertificateSends) {
    const test::TestCertificate certificate = test::makeCertificate(home.path());
    const auto ftp = test::ftpServer(ftpRoot.path(), "administrator", "31-prova-58", {.tls = &certificate});
    server.ftpPort = std::to_string(ftp.port());
    server.ftpTls = "richiesto";
    server.caFile = certificate.certificate.string();
    ASSERT_EQ(send(request()), TransmissionResult::Sent);
    EXPECT_EQ(namesIn(ftpRoot / "tovald").size(), 3u);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Transmission, WithNoServerListeningTheUserIsToldAndTheCheckPageOpens) {
    server.ftpPort = std::to_string(test::unusedPort());
    ASSERT_EQ(send(request()), TransmissionResult::NotSent);
    EXPECT_EQ(prompt.texts(),
              std::vector<std::string>{transmissionFailedText("Il server 127.0.0.1 non accetta la connessione.")});
    EXPECT_EQ(shell.urls.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(scratchRoot.path()));
}

TEST_F(Transmission, AnUnsetServerMeansNoConnectionAndNothingIsWritten) {
    for (const auto unset : {&storage::ServerSettings::ftpHost, &storage::ServerSettings::webAddress}) {
        prompt.shown.clear();
        storage::ServerSettings partial = server;
        partial.*unset = "";
        TransmissionRequest what = request();
        what.server = partial;
        EXPECT_EQ(send(what), TransmissionResult::NoServer);
        EXPECT_EQ(prompt.texts(), std::vector<std::string>{noServerText()});
    }
    platform::Services offline{prompt, clock, shell, nullptr};
    EXPECT_EQ(transmit(request(), offline, {}), TransmissionResult::NoServer);
    EXPECT_TRUE(shell.urls.empty());
    EXPECT_TRUE(std::filesystem::is_empty(scratchRoot.path()));
}

TEST_F(Transmission, LocalFailuresStopBeforeAnythingIsSent) {
    const auto ftp = test::ftpServer(ftpRoot.path(), "administrator", "31-prova-58");
    server.ftpPort = std::to_string(ftp.port());
    EXPECT_THROW(send(request("a@b", {"un sorriso 🙂"})), TransferError);
    TransmissionRequest missing = request();
    missing.journalName = "KR201601.dbf";
    EXPECT_THROW(send(missing), storage::DbError);
    EXPECT_TRUE(namesIn(ftpRoot / "tovald").empty());
    EXPECT_TRUE(shell.urls.empty());
    EXPECT_TRUE(std::filesystem::is_empty(scratchRoot.path()));
}

TEST(TransmissionEmail, NeedsAnAtSignAndMoreThanBlanks) {
    test::ScriptedPrompt prompt;
    for (const std::string refused : {"", "    ", "parroco.example.it", " \t "}) {
        EXPECT_FALSE(acceptEmail(refused, prompt)) << '"' << refused << '"';
    }
    EXPECT_EQ(prompt.texts(), std::vector<std::string>(4, std::string(kEmailRefusedMessage)));
    prompt.shown.clear();
    for (const std::string accepted : {"a@b", "  parroco@example.it  ", "@"}) EXPECT_TRUE(acceptEmail(accepted, prompt));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(TransmissionCode, IsFiveDigitsWithoutZeroAndUsesAllNine) {
    std::set<char> seen;
    for (std::uint64_t seed = 0; seed < 3000; ++seed) {
        const std::string code = drawTransmissionCode(seed);
        ASSERT_EQ(code.size(), 5u);
        ASSERT_EQ(code.find_first_not_of("123456789"), std::string::npos) << code;
        seen.insert(code.begin(), code.end());
    }
    EXPECT_EQ(seen.size(), 9u);
    EXPECT_EQ(drawTransmissionCode(42), drawTransmissionCode(42));
    const auto now = std::chrono::system_clock::now();
    EXPECT_NE(transmissionSeed(now), transmissionSeed(now)) << "one instant does not fix the code";
}

TEST(ParishInfo, NotesAreTheLinesTheUserSees) {
    EXPECT_TRUE(textLines("").empty());
    EXPECT_EQ(textLines("x"), std::vector<std::string>{"x"});
    EXPECT_EQ(textLines("x\ny\n"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(textLines("x\r\n\r\ny"), (std::vector<std::string>{"x", "", "y"}));
    EXPECT_EQ(textLines("\n"), std::vector<std::string>{""});
}

TEST(ParishInfo, TheYearIsTakenFromTheJournalName) {
    EXPECT_EQ(yearOfJournalName("KR201501.dbf"), "2015");
    EXPECT_EQ(yearOfJournalName("kr199902.DBF"), "1999");
    EXPECT_EQ(yearOfJournalName("kr"), "");
}

TEST(ParishInfo, AnEmptyChartGivesEmptyParishTexts) {
    test::TempDir dir;
    test::makeChart(dir / "kw201501.dbf", {});
    const ParishHeader header = readParishHeader(dir / "kw201501.dbf");
    EXPECT_EQ(header.name + header.place + header.deanery, "");
}

TEST(CheckPage, CarriesTheFourKeysEncoded) {
    EXPECT_EQ(checkPageUrl("https://velmora.example", "12345", "KR201501.dbf", "KW201501.dbf"),
              "https://velmora.example/upload/tovald/checktovald.php?cod=12345&kr=KR201501.dbf&kw=KW201501.dbf&spr=i");
    EXPECT_EQ(checkPageUrl("https://velmora.example/", "1", "kr 2015&.dbf", "kw"),
              "https://velmora.example/upload/tovald/checktovald.php?cod=1&kr=kr%202015%26.dbf&kw=kw&spr=i");
}

TEST(CheckPage, TheFtpSideOfTheSettings) {
    storage::ServerSettings settings;
    settings.ftpHost = "ftp.velmora.example";
    const FtpServer anonymous = transmissionServer(settings);
    EXPECT_EQ(anonymous.port, 21);
    EXPECT_EQ(anonymous.user, "");
    EXPECT_EQ(anonymous.directory, "/tovald");
    settings.ftpPort = "2121";
    settings.ftpUser = "parrocchie";
    settings.ftpPassword = "pw";
    const FtpServer named = transmissionServer(settings);
    EXPECT_EQ(named.port, 2121);
    EXPECT_EQ(named.user + "/" + named.password, "parrocchie/pw");
}

}  // namespace
}  // namespace quendra::transfer
