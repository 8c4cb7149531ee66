#include "budget/budget_table.h"
#include "curia/archive.h"
#include "curia/check.h"
#include "curia/check_page.h"
#include "curia/consolidation.h"
#include "curia/office_page.h"
#include "curia/parish_register.h"
#include "curia/received_info.h"
#include "storage/dbase/table_ops.h"
#include "transfer/parish_info.h"

#include "support/file_contents.h"
#include "support/openpyxl_reader.h"
#include "support/parish_year.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quendra::curia {
namespace {

namespace fs = std::filesystem;
using test::expense;
using test::income;
using test::opening;

struct Parish {
    std::string name, place, deanery;
    std::vector<test::Movement> rows;
};

// A parish's year as its transmission leaves it in the inbox: table copies without an
// index and info.txt, under names that begin with the code.
class Curia : public ::testing::Test {
protected:
    void send(const std::string& code, const Parish& parish, const std::string& infoYear = "2026") {
        const fs::path data = home / code;
        fs::create_directories(data);
        std::vector<test::ChartRow> chart = {{"  PFAR", parish.name, parish.place, parish.deanery}};
        chart.insert(chart.end(), test::parishAccounts().begin(), test::parishAccounts().end());
        test::makeChart(data / "KW202601.dbf", chart);
        test::makeNumberedJournal(data / "KR202601.dbf", parish.rows);
        storage::copyTable(data / "KR202601.dbf", inbox / (code + "KR202601.dbf"));
        storage::copyTable(data / "KW202601.dbf", inbox / (code + "KW202601.dbf"));
        transfer::writeParishInfo(inbox / (code + "info.txt"),
                                  {infoYear, {parish.name, parish.place, parish.deanery}, "p@x.it", {"nota"}});
    }

    CheckResult check(const std::string& code, const std::string& stamp = "20270110-090000") {
        return checkTransmission(inbox, archive, code, "KR202601.dbf", "KW202601.dbf", stamp);
    }

    test::TempDir home;
    fs::path inbox = home / "inbox";
    fs::path archive = home / "archivio";
    const Parish santaMaria{"Santa Maria", "Valle", "Centro",
                            {opening(" C0101", 500), income(" E0101", " C0101", 1200.5),
                             expense(" A0101", " C0101", 300.25), expense(" A0201", " C0201", 80)}};

    void SetUp() override {
        fs::create_directories(inbox);
        fs::create_directories(archive);
    }
};

TEST(TransmissionName, OnlyTheShapesATransmissionSends) {
    struct Case {
        const char *code, *kr, *kw;
        bool accepted;
    };
    for (const Case& c : std::vector<Case>{
             {"12345", "KR202601.dbf", "KW202601.dbf", true},
             {"98765", "kr201503.DBF", "Kw201503.dbf", true},
             {"12045", "KR202601.dbf", "KW202601.dbf", false},
             {"1234", "KR202601.dbf", "KW202601.dbf", false},
             {"12345", "KR202601.dbf", "KW202501.dbf", false},
             {"12345", "KW202601.dbf", "KW202601.dbf", false},
             {"12345", "KR202600.dbf", "KW202600.dbf", false},
             {"12345", "../KR202601.dbf", "KW202601.dbf", false},
             {"12345", "KR202601.dbf/", "KW202601.dbf", false},
             {"12345", "KR2026011.dbf", "KW2026011.dbf", false},
         }) {
        EXPECT_EQ(parseTransmissionName(c.code, c.kr, c.kw).has_value(), c.accepted) << c.code << " " << c.kr;
    }
}

TEST(ParishKey, LettersAndDigitsOnly) {
    EXPECT_EQ(parishKey("Santa Maria", "Valle"), "santa-maria-valle");
    EXPECT_EQ(parishKey("San Nicolò", "Città di Sopra"), "san-nicolo-citta-di-sopra");
    EXPECT_EQ(parishKey("../../etc", "/passwd"), "etc-passwd");
    EXPECT_EQ(parishKey("", "…"), "senza-nome");
    EXPECT_TRUE(isParishKey(parishKey(std::string(300, 'a'), "b")));
    EXPECT_FALSE(isParishKey("_scartate"));
    EXPECT_FALSE(isParishKey(".."));
}

TEST(ReceivedInfoText, ReadsWhatTheParishWrites) {
    const transfer::ParishInfo sent{"2026", {"Sant'Antonio", "Cortaccia", "Egna – Neumarkt"}, " a@b.it ", {"x", "y"}};
    const ReceivedInfo info = parseReceivedInfo(transfer::parishInfoBytes(sent));
    EXPECT_EQ(info.year, "2026");
    EXPECT_EQ(info.name, "Sant'Antonio");
    EXPECT_EQ(info.deanery, "Egna – Neumarkt");
    EXPECT_EQ(info.email, "a@b.it");
    EXPECT_EQ(info.notes, "x y");
    EXPECT_EQ(parseReceivedInfo("Anno dell'esercizio: 2026|\r\nsomething else\r\n").name, "");
}

TEST_F(Curia, AWholeTransmissionIsFiledWithItsFiguresAndFoundAgain) {
    send("12345", santaMaria);
    const std::string sentJournal = test::readFile(inbox / "12345KR202601.dbf");
    const CheckResult result = check("12345");
    ASSERT_EQ(result.state, CheckState::Filed) << (result.review.damage.empty() ? "" : result.review.damage[0]);
    EXPECT_EQ(result.parishKey, "santa-maria-valle");
    EXPECT_TRUE(fs::is_empty(inbox)) << "the files were moved";
    const fs::path folder = archive / "santa-maria-valle" / "2026" / "20270110-090000-12345";
    EXPECT_EQ(test::readFile(folder / "KR202601.dbf"), sentJournal) << "moved, never changed";

    const KeyFigures& f = result.review.figures;
    EXPECT_EQ(f.movements, 4u);
    EXPECT_DOUBLE_EQ(f.income, 1200.5);
    EXPECT_DOUBLE_EQ(f.expense, -380.25);
    EXPECT_DOUBLE_EQ(f.saldo, 820.25);
    EXPECT_DOUBLE_EQ(f.liquidityOpening, 500);
    EXPECT_DOUBLE_EQ(f.liquidityYearEnd, 1320.25);
    EXPECT_DOUBLE_EQ(f.net, 1320.25);
    EXPECT_EQ(result.review.warnings, std::vector<std::string>{
                                          "La cassa o banca C0201 (Banca c/c) chiude l'anno sotto zero: -80,00"});

    const CheckResult again = check("12345", "20270110-100000");
    EXPECT_EQ(again.state, CheckState::Filed);
    EXPECT_TRUE(again.earlier);
    EXPECT_DOUBLE_EQ(again.review.figures.saldo, 820.25);
    EXPECT_NE(checkPageHtml(again).find("820,25"), std::string::npos);
}

TEST_F(Curia, ASentBudgetIsFiledAndShownBesideTheActuals) {
    send("12121", santaMaria);
    const fs::path budget = home / "12121" / "KV202601.dbf";
    budget::writeAll(budget, {{" E0101", {1000, "offerte"}}, {" A0101", {400, ""}}, {" A0201", {100, ""}}});
    storage::copyTable(budget, inbox / "12121KV202601.dbf");

    const CheckResult result = check("12121");
    ASSERT_EQ(result.state, CheckState::Filed) << (result.review.damage.empty() ? "" : result.review.damage[0]);
    EXPECT_TRUE(fs::is_empty(inbox));
    const fs::path folder = archive / "santa-maria-valle" / "2026" / "20270110-090000-12121";
    EXPECT_TRUE(fs::exists(folder / "KV202601.dbf"));
    ASSERT_TRUE(result.review.planned);
    const PlannedFigures& p = *result.review.planned;
    EXPECT_DOUBLE_EQ(p.income, 1000);
    EXPECT_DOUBLE_EQ(p.expense, 500);
    EXPECT_DOUBLE_EQ(p.actualIncome, 1200.5);
    EXPECT_DOUBLE_EQ(p.actualExpense, 380.25);
    // SALDO: actual, planned, difference.
    const std::string row = "<tr><th>SALDO</th><td class=\"num\">820,25</td><td class=\"num\">500,00</td>"
                            "<td class=\"num\">320,25</td></tr>";
    EXPECT_NE(checkPageHtml(result).find(row), std::string::npos) << checkPageHtml(result);
    const auto year = archivedYear(archive, "santa-maria-valle", "2026");
    ASSERT_TRUE(year);
    const auto files = filedFiles(year->current);
    ASSERT_TRUE(files);
    EXPECT_NE(parishYearPageHtml(*year, reviewYear(*files, "202601")).find(row), std::string::npos);
    const CheckResult again = check("12121", "20270110-100000");
    ASSERT_TRUE(again.earlier && again.review.planned) << "found again with its budget";
    EXPECT_DOUBLE_EQ(again.review.planned->income, 1000);

    // A year without budget shows none; a damaged budget keeps the whole transmission aside.
    send("13131", santaMaria);
    EXPECT_FALSE(check("13131").review.planned);
    send("14141", santaMaria);
    std::string bytes = test::readFile(budget);
    bytes.replace(bytes.find("400.00"), 6, "4x0.00");
    std::ofstream(inbox / "14141KV202601.dbf", std::ios::binary) << bytes;
    EXPECT_EQ(check("14141").state, CheckState::Damaged);
    EXPECT_TRUE(fs::exists(archive / "_scartate" / "20270110-090000-14141" / "KV202601.dbf"));
}

TEST_F(Curia, ALaterTransmissionBecomesCurrentAndTheEarlierIsKept) {
    send("11111", santaMaria);
    ASSERT_EQ(check("11111", "20270110-090000").state, CheckState::Filed);
    Parish corrected = santaMaria;
    corrected.rows.push_back(income(" E0201", " C0201", 100));
    send("22222", corrected);
    ASSERT_EQ(check("22222", "20270111-090000").state, CheckState::Filed);
    const auto year = archivedYear(archive, "santa-maria-valle", "2026");
    ASSERT_TRUE(year);
    EXPECT_EQ(year->transmissions, 2u);
    EXPECT_EQ(year->current.filename(), "20270111-090000-22222");
    EXPECT_TRUE(year->warnings.empty());
}

TEST_F(Curia, WhatIsNotWholeIsNeverFiled) {
    // Not all there yet: nothing moves.
    send("33333", santaMaria);
    fs::remove(inbox / "33333info.txt");
    EXPECT_EQ(check("33333").state, CheckState::NotArrived);
    EXPECT_TRUE(fs::exists(inbox / "33333KR202601.dbf"));
    EXPECT_EQ(check("44444").state, CheckState::NotArrived);

    // A damaged amount: set aside with the reason, nothing in the parish's years.
    send("55555", santaMaria);
    std::string bytes = test::readFile(inbox / "55555KR202601.dbf");
    const std::size_t at = bytes.find("1200.50");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 7, "12x0.50");
    std::ofstream(inbox / "55555KR202601.dbf", std::ios::binary) << bytes;
    const CheckResult damaged = check("55555");
    ASSERT_EQ(damaged.state, CheckState::Damaged);
    ASSERT_FALSE(damaged.review.damage.empty());
    EXPECT_NE(damaged.review.damage[0].find("riga 2"), std::string::npos) << damaged.review.damage[0];
    EXPECT_TRUE(fs::exists(archive / "_scartate" / "20270110-090000-55555" / "KR202601.dbf"));
    EXPECT_FALSE(fs::exists(archive / "santa-maria-valle"));
    EXPECT_EQ(check("55555", "20270110-100000").state, CheckState::Damaged) << "asked again, still not filed";

    // Too large to read: set aside before a byte is read.
    send("66666", santaMaria);
    fs::resize_file(inbox / "66666KR202601.dbf", kMaxJournalBytes + 1);
    EXPECT_EQ(check("66666").state, CheckState::Damaged);
    EXPECT_TRUE(archivedYears(archive).empty());
}

TEST_F(Curia, WarningsATreasurerLooksFor) {
    Parish odd = santaMaria;
    odd.rows.push_back(income(" E0999", " C0101", 10));
    odd.rows.push_back(expense(" A0101", " C0102", 5));
    send("77777", odd, "2025");
    const CheckResult result = check("77777");
    ASSERT_EQ(result.state, CheckState::Filed);
    EXPECT_EQ(result.review.warnings,
              (std::vector<std::string>{
                  "L'anno dei file (2026) è diverso da quello indicato in info.txt (2025)",
                  "La cassa o banca C0102 (Cassa oratorio) chiude l'anno sotto zero: -5,00",
                  "La cassa o banca C0201 (Banca c/c) chiude l'anno sotto zero: -80,00",
                  "Il conto E0999 non è nel piano dei conti: 1 riga (la prima è il movimento n. 5)"}));
}

TEST_F(Curia, HostileTextsComeOutAsText) {
    const Parish hostile{"<script>alert(1)</script>", "\"Valle\" & 'Monte'", "../../etc",
                         {income(" E0101", " C0101", 1)}};
    send("88888", hostile);
    const CheckResult result = check("88888");
    ASSERT_EQ(result.state, CheckState::Filed);
    EXPECT_TRUE(isParishKey(result.parishKey));
    for (const std::string& html :
         {checkPageHtml(result), officePageHtml(officeRows(archivedYears(archive), {}), "stato")}) {
        EXPECT_EQ(html.find("<script"), std::string::npos);
        EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
        EXPECT_NE(html.find("&quot;Valle&quot; &amp; &#39;Monte&#39;"), std::string::npos);
    }
    const CheckResult bad = checkTransmission(inbox, archive, "<b>", "KR202601.dbf", "KW202601.dbf", "x");
    EXPECT_EQ(bad.state, CheckState::BadRequest);
    EXPECT_EQ(checkPageHtml(bad).find("<b>"), std::string::npos);
}

TEST_F(Curia, TheConsolidationAddsUpEveryParishAndNamesTheMissing) {
    const Parish other{"San Rocco", "Monte", "Centro", {opening(" C0201", 1000), income(" E0102", " C0201", 50.1),
                                                        opening(" P0101", -200), expense(" A0102", " C0101", 0.2)}};
    const Parish third{"Santo Stefano", "Lago", "Nord", {income(" E0101", " C0102", 0.1), income(" E0101", " C0102", 0.2)}};
    send("12121", santaMaria);
    send("13131", other);
    send("14141", third);
    std::map<std::string, KeyFigures> own;
    for (const char* code : {"12121", "13131", "14141"}) {
        const CheckResult r = check(code);
        ASSERT_EQ(r.state, CheckState::Filed);
        own[r.parishKey] = r.review.figures;
    }
    const auto parishes = parseParishRegister("nome;luogo;decanato\nSan Rocco;Monte;Centro\n\"Sant'Anna\";Piano;Nord\n");
    const Consolidation c = consolidate(archive, "2026", parishes);
    ASSERT_EQ(c.parishes.size(), 3u);
    EXPECT_EQ(c.parishes[0].name, "San Rocco");
    EXPECT_EQ(c.parishes[2].deanery, "Nord");
    for (const ConsolidatedParish& p : c.parishes) {
        EXPECT_DOUBLE_EQ(p.figures.net, own[p.key].net) << p.key;
        EXPECT_DOUBLE_EQ(p.figures.saldo, own[p.key].saldo) << p.key;
        EXPECT_EQ(p.figures.movements, own[p.key].movements) << p.key;
    }
    ASSERT_EQ(c.missing.size(), 1u);
    EXPECT_EQ(c.missing[0].name, "Sant'Anna");

    const fs::path xlsx = home / "consolidato.xlsx";
    saveConsolidationWorkbook(c, xlsx);
    if (!test::openpyxlAvailable()) GTEST_SKIP() << "python3-openpyxl missing";
    const auto sheets = test::readWithOpenpyxl(xlsx);
    ASSERT_EQ(sheets.size(), 3u);
    const test::XlsxSheet& rows = sheets[0];
    // Centro: two parishes and their subtotal; Nord: one and its subtotal; the diocese.
    EXPECT_EQ(rows.at("B4").text, "Totale decanato");
    EXPECT_EQ(rows.at("B7").text, "TOTALE DIOCESI 2026");
    for (const char column : std::string("DEFGHIJKLM")) {
        const auto at = [&](int row) { return rows.at(column + std::to_string(row)).number; };
        EXPECT_DOUBLE_EQ(at(4), at(2) + at(3)) << column;
        EXPECT_DOUBLE_EQ(at(6), at(5)) << column;
        EXPECT_DOUBLE_EQ(at(7), at(2) + at(3) + at(5)) << column;
    }
    EXPECT_DOUBLE_EQ(rows.at("L2").number, own["san-rocco-monte"].net);
    EXPECT_EQ(sheets[1].at("D2").text, "La cassa o banca C0101 (Cassa parrocchiale) chiude l'anno sotto zero: -0,20");
    EXPECT_EQ(sheets[2].at("B2").text, "Sant'Anna");
}

}  // namespace
}  // namespace quendra::curia
