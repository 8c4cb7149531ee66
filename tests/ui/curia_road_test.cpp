// The whole road of a year to the diocese: the parish's own transmission sends a demo year
// by FTP into the inbox of quendra-curia, whose check page files it and shows the same
// figures as quendra-report's annual report; the office page then offers its PDF.

#include "budget/budget_table.h"
#include "transfer/curl_net.h"
#include "transfer/transmission.h"

#include "storage/dbase/table_ops.h"
#include "transfer/parish_info.h"

#include "support/demo_report_year.h"
#include "support/parish_year.h"
#include "support/file_contents.h"
#include "support/local_server.h"
#include "support/run_program.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

#include <csignal>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

using namespace quendra;

namespace {

// quendra-curia serve on a port the system picks; the constructor returns once it listens.
class CuriaService {
public:
    CuriaService(const std::filesystem::path& inbox, const std::filesystem::path& archive) {
        int out[2];
        if (::pipe(out) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::execl(QUENDRA_CURIA_TOOL, QUENDRA_CURIA_TOOL, "serve", "--inbox", inbox.c_str(), "--archive",
                    archive.c_str(), "--listen", "127.0.0.1:0", "--report", QUENDRA_REPORT_TOOL, nullptr);
            ::_exit(127);
        }
        ::close(out[1]);
        std::string line;
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
        ::close(out[0]);
        std::smatch match;
        if (std::regex_search(line, match, std::regex(":([0-9]+)$"))) address_ = "http://127.0.0.1:" + match[1].str();
    }
    ~CuriaService() {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    const std::string& address() const { return address_; }

private:
    pid_t pid_ = -1;
    std::string address_;
};

// The year-end amount of a line of the annual report (its last amount).
std::string reportAmount(const std::string& report, const std::string& label) {
    std::smatch match;
    const std::regex line(label + "[ .]*(?:[-0-9.,]+ +)*(-?[0-9.]+,[0-9]{2})\\s*\n");
    return std::regex_search(report, match, line) ? match[1].str() : "(manca " + label + ")";
}

std::string pageAmount(const std::string& page, const std::string& label) {
    std::smatch match;
    const std::regex cell("<th>" + label + "</th><td class=\"num\">([^<]*)</td>");
    return std::regex_search(page, match, cell) ? match[1].str() : "(manca " + label + ")";
}

std::string get(transfer::Net& net, const std::string& url) {
    const transfer::TextResult got = net.httpGetText({url, {}}, {});
    EXPECT_TRUE(got.ok()) << url << ": " << got.error;
    return got.body;
}

}  // namespace

TEST(CuriaRoad, ATransmittedYearIsCheckedFiledAndAgreesWithItsAnnualReport) {
    test::DemoReportYear year(60);
    test::TempDir ftpRoot, archive, scratch;
    const std::filesystem::path inbox = ftpRoot / "tovald";
    std::filesystem::create_directories(inbox);
    const auto ftp = test::ftpServer(ftpRoot.path(), "administrator", "31-prova-58");
    const CuriaService service(inbox, archive.path());
    ASSERT_FALSE(service.address().empty());

    transfer::CurlNet net;
    test::ScriptedServices parish(&net, storage::Date::fromYmd(2027, 1, 15));
    storage::ServerSettings server;
    server.ftpHost = "127.0.0.1";
    server.ftpPort = std::to_string(ftp.port());
    server.ftpUser = "administrator";
    server.ftpPassword = "31-prova-58";
    server.webAddress = service.address();
    // The year keeps a budget, which travels as a fourth file.
    budget::writeAll(year.data / "KV202601.dbf", {{" E0101", {2500, ""}}, {" A0101", {700.5, ""}}});
    const transfer::TransmissionRequest request{year.data, "KR202601.dbf", "KW202601.dbf", "parroco@example.it",
                                                {"<script>alert('x')</script>"}, server, scratch.path()};
    ASSERT_EQ(transfer::transmit(request, parish.services, {}), transfer::TransmissionResult::Sent);
    ASSERT_EQ(parish.shell.urls.size(), 1u);

    const std::string page = get(net, parish.shell.urls[0]);
    EXPECT_NE(page.find("è arrivata completa ed è stata archiviata"), std::string::npos) << page;
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(inbox));

    const auto pdf = year.dir / "bilancio.pdf";
    const auto printed = test::runProgram(QUENDRA_REPORT_TOOL, {"--data", year.data.string(), "bilancio", "--pdf", pdf.string()});
    ASSERT_EQ(printed.exitCode, 0) << printed.err;
    const std::string report = test::pdfText(pdf);
    for (const char* label : {"SALDO entrate/uscite", "TOTALE liquidità", "SOMMA ATTIVA", "SOMMA PASSIVA", "ATTIVA - PASSIVA"}) {
        EXPECT_EQ(pageAmount(page, label), reportAmount(report, label)) << label;
    }

    // The budget beside the actuals, as the parish's own comparison prints them.
    const auto comparisonPdf = year.dir / "confronto.pdf";
    ASSERT_EQ(test::runProgram(QUENDRA_REPORT_TOOL, {"--data", year.data.string(), "confronto", "--pdf",
                                                     comparisonPdf.string()}).exitCode, 0);
    std::smatch saldo;
    const std::string comparison = test::pdfText(comparisonPdf);
    ASSERT_TRUE(std::regex_search(comparison, saldo, std::regex(R"(SALDO \(entrate - uscite\) +(\S+) +(\S+))"))) << comparison;
    EXPECT_EQ(saldo[2].str(), "1.799,50");
    EXPECT_NE(page.find("<tr><th>SALDO</th><td class=\"num\">" + saldo[1].str() + "</td><td class=\"num\">1.799,50</td>"),
              std::string::npos) << page;

    // The office sees the parish and gets its annual report made from the archive.
    const std::string office = get(net, service.address() + "/");
    std::smatch link;
    ASSERT_TRUE(std::regex_search(office, link, std::regex("href=\"(/parrocchia\\?chiave=[a-z0-9-]+&amp;anno=2026)\"")))
        << office;
    const std::string parishPage = get(net, service.address() + std::regex_replace(link[1].str(), std::regex("&amp;"), "&"));
    EXPECT_EQ(pageAmount(parishPage, "ATTIVA - PASSIVA"), pageAmount(page, "ATTIVA - PASSIVA"));
    std::smatch documentLink;
    ASSERT_TRUE(std::regex_search(parishPage, documentLink, std::regex("href=\"(/documento[^\"]*tipo=bilancio)\"")));
    const auto fetched = year.dir / "dall-archivio.pdf";
    const auto got = net.download({service.address() + std::regex_replace(documentLink[1].str(), std::regex("&amp;"), "&"), {}},
                                  fetched, transfer::FileKind::Document, {}, {});
    ASSERT_TRUE(got.ok()) << got.error;
    EXPECT_EQ(reportAmount(test::pdfText(fetched), "ATTIVA - PASSIVA"), reportAmount(report, "ATTIVA - PASSIVA"));

    // Paths of a request are never taken as they stand.
    for (const char* wrong : {"/documento?chiave=..%2F..&anno=2026&tipo=bilancio", "/parrocchia?chiave=x&anno=../2026",
                              "/documento?chiave=x&anno=2026&tipo=..%2Fetc"}) {
        const transfer::TextResult refused = net.httpGetText({service.address() + wrong, {}}, {});
        EXPECT_EQ(refused.answer, 404) << wrong;
    }

    // The diocese's year, printed: one parish sent, one of the register did not.
    const auto registry = year.dir / "parrocchie.csv";
    test::writeFile(registry, "nome;luogo;decanato\nSan Rocco;Monte;Nord\n");
    const auto summary = year.dir / "consolidato.pdf";
    const auto consolidated = test::runProgram(
        QUENDRA_CURIA_TOOL, {"consolida", "--archive", archive.path().string(), "--year", "2026", "--xlsx",
                             (year.dir / "consolidato.xlsx").string(), "--pdf", summary.string(), "--registro",
                             registry.string()});
    ASSERT_EQ(consolidated.exitCode, 0) << consolidated.err;
    EXPECT_TRUE(consolidated.out.starts_with("1 parrocchie, ")) << consolidated.out;
    EXPECT_TRUE(consolidated.out.ends_with(", 1 mancanti\n")) << consolidated.out;
    const std::string printedTotal = test::pdfText(summary);
    EXPECT_NE(printedTotal.find("TOTALE DIOCESI"), std::string::npos) << printedTotal;
    EXPECT_NE(printedTotal.find(reportAmount(report, "ATTIVA - PASSIVA")), std::string::npos) << printedTotal;
}

namespace {

// The page as headless Chromium builds it, serialised back from its DOM.
std::string browserDom(const std::string& url, const std::filesystem::path& profile) {
    const auto shown = test::runProgram("/usr/bin/chromium",
                                        {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                                         "--disable-background-networking", "--disable-component-update",
                                         "--disable-sync", "--user-data-dir=" + profile.string(), "--dump-dom", url});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    return shown.out;
}

}  // namespace

TEST(CuriaRoad, TheOfficePageInABrowserShowsHostileTextsAsText) {
    if (!std::filesystem::exists("/usr/bin/chromium")) GTEST_SKIP() << "chromium missing";
    test::TempDir home, inbox, archive;
    std::vector<test::ChartRow> chart = {{"  PFAR", "<script>document.title='x'</script>", "\"Valle\" & ../..", "<b>Nord</b>"}};
    chart.insert(chart.end(), test::parishAccounts().begin(), test::parishAccounts().end());
    test::makeChart(home / "KW202601.dbf", chart);
    test::makeNumberedJournal(home / "KR202601.dbf", {test::income(" E0101", " C0101", 12.5),
                                                      test::expense(" A0101", " C0101", 2.5)});
    storage::copyTable(home / "KR202601.dbf", inbox / "24681KR202601.dbf");
    storage::copyTable(home / "KW202601.dbf", inbox / "24681KW202601.dbf");
    transfer::writeParishInfo(inbox / "24681info.txt",
                              {"2026", {chart[0].text, chart[0].texth, chart[0].texta}, "a@b.it", {"<img src=x>"}});
    const CuriaService service(inbox.path(), archive.path());
    ASSERT_FALSE(service.address().empty());
    const std::string check = browserDom(
        service.address() + "/upload/tovald/checktovald.php?cod=24681&kr=KR202601.dbf&kw=KW202601.dbf&spr=i", home / "p1");
    EXPECT_NE(check.find("stata archiviata"), std::string::npos) << check;

    const std::string office = browserDom(service.address() + "/", home / "p2");
    EXPECT_NE(office.find("Decanato: &lt;b&gt;Nord&lt;/b&gt;"), std::string::npos) << office;
    EXPECT_NE(office.find("&lt;script&gt;document.title='x'&lt;/script&gt;"), std::string::npos) << office;
    EXPECT_EQ(office.find("<script"), std::string::npos);
    EXPECT_EQ(office.find("<title>x</title>"), std::string::npos);

    std::smatch link;
    ASSERT_TRUE(std::regex_search(office, link, std::regex("href=\"(/parrocchia[^\"]*)\"")));
    const std::string parishPage =
        browserDom(service.address() + std::regex_replace(link[1].str(), std::regex("&amp;"), "&"), home / "p3");
    EXPECT_NE(parishPage.find("&lt;img src=x&gt;"), std::string::npos) << parishPage;
    EXPECT_NE(parishPage.find("Rendiconto (PDF)"), std::string::npos);
    EXPECT_EQ(parishPage.find("<img"), std::string::npos);
}
