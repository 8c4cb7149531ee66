#include "statements/balance_summary.h"

#include "storage/amount_format.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/demo_data.h"
#include "storage/year_files.h"

#include "support/chart_fixture.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace quendra::statements {
namespace {

namespace fs = std::filesystem;
using test::ChartRow;
using test::Movement;
using test::TempDir;

const std::vector<ChartRow> kChart = {
    {"  PFAR", "Parrocchia", "Luogo", "Decanato"},
    {" A0101", "Quota parrocchiale", "Spese generali", "Uscite"},
    {" C0101", "Cassa parrocchiale", "Cassa", "Attiva"},
    {" C0102", "Cassa oratorio", "Cassa", "Attiva"},
    {" C0201", "Banca c/c", "Banca", "Attiva"},
    {" C0501", "Titoli di Stato", "Titoli", "Attiva"},
    {" C0601", "Altri crediti", "Crediti", "Attiva"},
    {" E0101", "Offerte", "Offerte e collette", "Entrate"},
    {" P0101", "Mutuo per lavori", "Mutui bancari", "Passiva"},
    {" P0201", "Prestito bancario", "Prestiti e scoperti bancari", "Passiva"},
    {" P0202", "Scoperto di conto corrente", "Prestiti e scoperti bancari", "Passiva"},
    {"HC0100", "Cassa", "Cassa", "Attiva"},
};

Movement in(const std::string& cod, const std::string& codd, double amount, int eroeffnung = 0) {
    return {0, test::ymd(2015, 3, 1), cod, codd, "", amount, 0, 2, eroeffnung};
}

Movement out(const std::string& cod, const std::string& codd, double amount, int eroeffnung = 0) {
    return {0, test::ymd(2015, 3, 1), cod, codd, "", 0, amount, 1, eroeffnung};
}

using Amounts = std::pair<std::string, std::string>;

std::vector<std::string> texts(const std::vector<SummaryLine>& lines) {
    std::vector<std::string> out;
    for (const SummaryLine& line : lines) out.push_back(line.text);
    return out;
}

const SummaryLine& lineOf(const std::vector<SummaryLine>& lines, const std::string& text) {
    for (const SummaryLine& line : lines) {
        if (line.text == text) return line;
    }
    throw std::runtime_error("no line \"" + text + "\"");
}

Amounts amountsOf(const std::vector<SummaryLine>& lines, const std::string& text) {
    const SummaryLine& line = lineOf(lines, text);
    return {line.opening, line.closing};
}

class BalanceSummary : public ::testing::Test {
protected:
    BalanceSummary() { test::makeChart(chart_, kChart); }

    std::vector<SummaryLine> summary(const std::vector<Movement>& rows) {
        test::makeJournal(journal_, rows);
        return balanceSummary(journal_, chart_);
    }

    TempDir dir_;
    fs::path journal_ = dir_ / "kr201501.dbf";
    fs::path chart_ = dir_ / "kw201501.dbf";
};

const std::vector<std::string> kFixedTexts = {
    "A T T I V A", "SOMMA LIQUIDITÀ DISPONIBILE", "SOMMA ALTRO", "SOMMA ATTIVA", "", "P A S S I V A",
    "SOMMA PASSIVA", "", "ATTIVA - PASSIVA", "CAMBIAMENTO ANNO PRECEDENTE", "", "TOTALE Banche"};

TEST_F(BalanceSummary, EmptyJournalGivesTheFixedLinesAllZeroWithoutTouchingTheChart) {
    test::makeJournal(journal_, {});
    const auto lines = balanceSummary(journal_, dir_ / "missing.dbf");

    const std::string zero = "0,00";
    const std::vector<SummaryLine> expected = {
        {"A T T I V A", "", "", LineStyle::Heading, Rule::UnderAmounts},
        {"SOMMA LIQUIDITÀ DISPONIBILE", zero, zero, LineStyle::Total, Rule::UnderAmounts},
        {"SOMMA ALTRO", zero, zero, LineStyle::Total, Rule::FullWidth},
        {"SOMMA ATTIVA", zero, zero, LineStyle::Total, Rule::None},
        {"", "", "", LineStyle::Blank, Rule::None},
        {"P A S S I V A", "", "", LineStyle::Heading, Rule::FullWidth},
        {"SOMMA PASSIVA", zero, zero, LineStyle::Total, Rule::None},
        {"", "", "", LineStyle::Blank, Rule::None},
        {"ATTIVA - PASSIVA", zero, zero, LineStyle::Total, Rule::FullWidth},
        {"CAMBIAMENTO ANNO PRECEDENTE", "", zero, LineStyle::Total, Rule::None},
        {"", "", "", LineStyle::Blank, Rule::None},
        {"TOTALE Banche", zero, zero, LineStyle::Banks, Rule::None},
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(BalanceSummary, CashBoxGroupThatNetsToZeroWithoutOpeningIsHidden) {
    const auto lines = summary({in(" E0101", " C0101", 50), out(" A0101", " C0102", 50)});
    EXPECT_EQ(texts(lines), kFixedTexts);
    EXPECT_EQ(amountsOf(lines, "SOMMA LIQUIDITÀ DISPONIBILE"), Amounts("0,00", "0,00"));
}

TEST_F(BalanceSummary, CashBoxGroupWithOpeningKeepsItsLineWhenItNetsToZero) {
    // Marker 1 counts as an opening row just as the 2 the program writes.
    const auto lines = summary({in(" C0101", " C0101", 60, 2), in(" C0102", " C0102", 40, 1),
                                out(" A0101", " C0101", 100)});
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[1], (SummaryLine{"Cassa -  C01", "100,00", "0,00", LineStyle::Group, Rule::UnderAmounts}));
    EXPECT_EQ(amountsOf(lines, "SOMMA LIQUIDITÀ DISPONIBILE"), Amounts("100,00", "0,00"));
    EXPECT_EQ(amountsOf(lines, "CAMBIAMENTO ANNO PRECEDENTE"), Amounts("", "-100,00"));
    EXPECT_EQ(lineOf(lines, "A T T I V A").ruleAfter, Rule::None);
}

TEST_F(BalanceSummary, NegativeAmountsKeepTheirSign) {
    const auto lines = summary({out(" A0101", " C0101", 20)});
    EXPECT_EQ(amountsOf(lines, "Cassa -  C01"), Amounts("0,00", "-20,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA LIQUIDITÀ DISPONIBILE"), Amounts("0,00", "-20,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA ATTIVA"), Amounts("0,00", "-20,00"));
    EXPECT_EQ(amountsOf(lines, "TOTALE Banche"), Amounts("0,00", "-20,00"));
}

TEST_F(BalanceSummary, OtherAssetsShowAbsoluteValuesWhileTheAssetsUseTheSignedSum) {
    // 50 paid into securities, 30 of a credit given back.
    const auto lines = summary({in(" C0101", " C0101", 1000, 2), out(" C0501", " C0101", 50),
                                in(" C0601", " C0101", 30)});
    EXPECT_EQ(texts(lines),
              (std::vector<std::string>{"A T T I V A", "Cassa -  C01", "SOMMA LIQUIDITÀ DISPONIBILE", "Titoli -  C05",
                                        "Crediti -  C06", "SOMMA ALTRO", "SOMMA ATTIVA", "", "P A S S I V A",
                                        "SOMMA PASSIVA", "", "ATTIVA - PASSIVA", "CAMBIAMENTO ANNO PRECEDENTE", "",
                                        "TOTALE Banche"}));
    EXPECT_EQ(amountsOf(lines, "Cassa -  C01"), Amounts("1.000,00", "980,00"));
    EXPECT_EQ(amountsOf(lines, "Titoli -  C05"), Amounts("0,00", "50,00"));
    EXPECT_EQ(amountsOf(lines, "Crediti -  C06"), Amounts("0,00", "30,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA ALTRO"), Amounts("0,00", "20,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA ATTIVA"), Amounts("1.000,00", "1.000,00"));
    EXPECT_EQ(amountsOf(lines, "CAMBIAMENTO ANNO PRECEDENTE"), Amounts("", "0,00"));
    // The short rules close the last line of each asset section.
    EXPECT_EQ(lineOf(lines, "Cassa -  C01").ruleAfter, Rule::UnderAmounts);
    EXPECT_EQ(lineOf(lines, "SOMMA LIQUIDITÀ DISPONIBILE").ruleAfter, Rule::None);
    EXPECT_EQ(lineOf(lines, "Titoli -  C05").ruleAfter, Rule::None);
    EXPECT_EQ(lineOf(lines, "Crediti -  C06").ruleAfter, Rule::UnderAmounts);
}

TEST_F(BalanceSummary, TransfersBetweenCashBoxesCountOnlyThroughTheirCashBox) {
    const auto lines = summary({in(" C0101", " C0101", 500, 2), out(" C0201", " C0101", 200),
                                in(" C0101", " C0201", 200)});
    EXPECT_EQ(texts(lines),
              (std::vector<std::string>{"A T T I V A", "Cassa -  C01", "Banca -  C02", "SOMMA LIQUIDITÀ DISPONIBILE",
                                        "SOMMA ALTRO", "SOMMA ATTIVA", "", "P A S S I V A", "SOMMA PASSIVA", "",
                                        "ATTIVA - PASSIVA", "CAMBIAMENTO ANNO PRECEDENTE", "", "TOTALE Banche"}));
    EXPECT_EQ(amountsOf(lines, "Cassa -  C01"), Amounts("500,00", "300,00"));
    EXPECT_EQ(amountsOf(lines, "Banca -  C02"), Amounts("0,00", "200,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA LIQUIDITÀ DISPONIBILE"), Amounts("500,00", "500,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA ALTRO"), Amounts("0,00", "0,00"));
}

TEST_F(BalanceSummary, WithoutBankDebtsTotaleBancheIsTheLiquidity) {
    const auto lines = summary({in(" C0101", " C0101", 1000, 2), in(" P0101", " C0201", 5000)});
    EXPECT_EQ(amountsOf(lines, "Mutui bancari -  P01"), Amounts("0,00", "5.000,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA LIQUIDITÀ DISPONIBILE"), Amounts("1.000,00", "6.000,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA PASSIVA"), Amounts("0,00", "5.000,00"));
    EXPECT_EQ(amountsOf(lines, "ATTIVA - PASSIVA"), Amounts("1.000,00", "1.000,00"));
    EXPECT_EQ(amountsOf(lines, "TOTALE Banche"), Amounts("1.000,00", "6.000,00"));
    EXPECT_EQ(lineOf(lines, "Mutui bancari -  P01").ruleAfter, Rule::FullWidth);
    EXPECT_EQ(lineOf(lines, "P A S S I V A").ruleAfter, Rule::None);
}

TEST_F(BalanceSummary, BankDebtsAreTakenOffTheLiquidity) {
    // The loan stood at 3000 at the opening; 1000 of it was paid back from the bank.
    const auto lines = summary({in(" C0101", " C0101", 1000, 2), in(" C0201", " C0201", 3000, 2),
                                in(" P0201", " P0201", 3000, 2), out(" P0202", " C0201", 1000),
                                in(" P0101", " C0101", 400)});
    EXPECT_EQ(amountsOf(lines, "Prestiti e scoperti bancari -  P02"), Amounts("3.000,00", "2.000,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA LIQUIDITÀ DISPONIBILE"), Amounts("4.000,00", "3.400,00"));
    EXPECT_EQ(amountsOf(lines, "SOMMA PASSIVA"), Amounts("3.000,00", "2.400,00"));
    EXPECT_EQ(amountsOf(lines, "TOTALE Banche"), Amounts("1.000,00", "1.400,00"));
}

TEST_F(BalanceSummary, BankDebtGroupThatNetsToZeroHasNoLineAndLeavesTheLiquidity) {
    const auto lines = summary({in(" C0201", " C0201", 800, 2), in(" P0201", " C0201", 700),
                                out(" P0202", " C0201", 700)});
    EXPECT_EQ(texts(lines).size(), 13u);
    EXPECT_EQ(amountsOf(lines, "SOMMA PASSIVA"), Amounts("0,00", "0,00"));
    EXPECT_EQ(amountsOf(lines, "TOTALE Banche"), Amounts("800,00", "800,00"));
}

TEST_F(BalanceSummary, ReportsEveryLineAsItIsAdded) {
    test::makeJournal(journal_, {in(" C0101", " C0101", 10, 2)});
    std::vector<std::vector<SummaryLine>> seen;
    const auto lines = balanceSummary(journal_, chart_, [&](const std::vector<SummaryLine>& soFar) {
        seen.push_back(soFar);
    });
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(texts(seen[0]), std::vector<std::string>{"A T T I V A"});
    EXPECT_EQ(texts(seen[1]), (std::vector<std::string>{"A T T I V A", "Cassa -  C01"}));
    EXPECT_EQ(seen.back(), lines);
}

TEST_F(BalanceSummary, AFailingTableLeavesTheLinesReportedSoFar) {
    test::makeJournal(journal_, {in(" C0101", " C0101", 10, 2)});
    std::vector<SummaryLine> last;
    const auto remember = [&](const std::vector<SummaryLine>& soFar) { last = soFar; };

    EXPECT_THROW(balanceSummary(dir_ / "kr209901.dbf", chart_, remember), storage::DbError);
    EXPECT_EQ(texts(last), std::vector<std::string>{"A T T I V A"});

    last.clear();
    EXPECT_THROW(balanceSummary(journal_, dir_ / "kw209901.dbf", remember), storage::DbError);
    EXPECT_EQ(texts(last), std::vector<std::string>{"A T T I V A"});
}

TEST_F(BalanceSummary, CodtextTakesTheNearestCodeOfTheChart) {
    storage::Cursor chart(chart_, storage::OpenMode::Shared);
    chart.setOrder("cod");
    EXPECT_EQ(codtext(chart, " C0102"), "Cassa");
    EXPECT_EQ(codtext(chart, " C0103"), "Banca");
    EXPECT_EQ(codtext(chart, " P02"), "Prestiti e scoperti bancari");
    EXPECT_EQ(codtext(chart, "ZZZZZZ"), "");
}

// The demo year against sums taken straight from its rows in stored order.
TEST(BalanceSummaryOfDemoYear, AgreesWithTheRowsOfTheJournal) {
    TempDir dir;
    storage::DemoOptions options;
    options.movements = 900;
    options.seed = 11;
    const std::string journalName =
        storage::makeDemoDataDirectory(dir.path(), fs::path(QUENDRA_RUNTIME_DIR) / "krw", options);
    const fs::path journal = dir / journalName;
    const fs::path chart = dir / storage::chartNameOfJournal(journalName);

    struct Sums {
        std::string firstCode;
        double openingBalance = 0;
        double balance = 0;
    };
    using Groups = std::map<std::string, Sums>;
    Groups liquid, other, liabilities;
    const auto count = [](Groups& groups, const std::string& code, double delta, bool opening) {
        Sums& s = groups[code.substr(0, 4)];
        if (s.firstCode.empty() || code < s.firstCode) s.firstCode = code;
        s.balance += delta;
        if (opening) s.openingBalance += delta;
    };
    {
        storage::Cursor rows(journal, storage::OpenMode::Shared);
        for (rows.first(); !rows.eof(); rows.next()) {
            const std::string cod = rows.asText("cod");
            const std::string codd = rows.asText("codd");
            const double delta = rows.asNumber("Einnahme") - rows.asNumber("Ausgabe");
            const bool opening = rows.asNumber("eroeffnung") > 0;
            const auto cashGroup = [](const std::string& code) {
                return code.size() == 6 && code.compare(0, 3, " C0") == 0 && code[3] >= '1' && code[3] <= '4';
            };
            if (cashGroup(codd)) count(liquid, codd, delta, opening);
            if (cod.compare(0, 2, " C") == 0 && !cashGroup(cod)) count(other, cod, delta, opening);
            if (cod.compare(0, 2, " P") == 0) count(liabilities, cod, delta, opening);
        }
    }
    ASSERT_FALSE(other.empty());
    ASSERT_TRUE(liabilities.count(" P02"));

    const auto names = test::readChartByCode(chart);
    const auto fmt = [](double v) { return storage::formatNumber(v, storage::Picture::Amount); };
    const auto abs = [](double v) { return v < 0 ? -v : v; };
    std::vector<std::pair<std::string, Amounts>> expected;
    // Returns the section's signed (opening, closing) balance over its shown groups.
    const auto section = [&](const Groups& groups, bool absolute) {
        std::pair<double, double> total;
        for (const auto& [prefix, s] : groups) {
            if (s.openingBalance == 0 && s.balance == 0) continue;
            expected.push_back({names.at(s.firstCode).texth + " - " + prefix,
                                absolute ? Amounts(fmt(abs(s.openingBalance)), fmt(abs(s.balance)))
                                         : Amounts(fmt(s.openingBalance), fmt(s.balance))});
            total.first += s.openingBalance;
            total.second += s.balance;
        }
        return total;
    };
    const auto [lo, l] = section(liquid, false);
    expected.push_back({"SOMMA LIQUIDITÀ DISPONIBILE", {fmt(lo), fmt(l)}});
    const auto [oo, o] = section(other, true);
    expected.push_back({"SOMMA ALTRO", {fmt(abs(oo)), fmt(abs(o))}});
    expected.push_back({"SOMMA ATTIVA", {fmt(lo - oo), fmt(l - o)}});
    const auto [qo, q] = section(liabilities, true);
    expected.push_back({"SOMMA PASSIVA", {fmt(abs(qo)), fmt(abs(q))}});
    expected.push_back({"ATTIVA - PASSIVA", {fmt(lo - oo - qo), fmt(l - o - q)}});
    expected.push_back({"CAMBIAMENTO ANNO PRECEDENTE", {"", fmt((l - o - q) - (lo - oo - qo))}});
    const Sums& bankDebts = liabilities.at(" P02");
    expected.push_back({"TOTALE Banche", {fmt(lo - bankDebts.openingBalance), fmt(l - bankDebts.balance)}});

    std::vector<std::pair<std::string, Amounts>> actual;
    for (const SummaryLine& line : balanceSummary(journal, chart)) {
        if (line.style == LineStyle::Group || line.style == LineStyle::Total || line.style == LineStyle::Banks) {
            actual.push_back({line.text, {line.opening, line.closing}});
        }
    }
    EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace quendra::statements
