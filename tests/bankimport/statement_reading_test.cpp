#include "bankimport/bank_values.h"
#include "bankimport/statement_file.h"
#include "storage/settings_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::bankimport {
namespace {

using storage::Date;

std::filesystem::path statementFile(const std::string& name) {
    return std::filesystem::path(QUENDRA_SOURCE_DIR) / "tests/bankimport/statements" / name;
}

TEST(BankValues, AmountsAndDatesAsBanksWriteThem) {
    const std::vector<std::pair<std::string, std::optional<double>>> amounts = {
        {"1.234,56", 1234.56}, {"-1.234,56", -1234.56}, {"12,50-", -12.5}, {"+3,00", 3.0},
        {"1234.56", 1234.56},  {"1.234", 1234.0},       {"45,00 EUR", 45.0}, {"€ 7,3", 7.3},
        {"abc", std::nullopt}, {"", std::nullopt},      {"1,2,3", std::nullopt}};
    for (const auto& [text, expected] : amounts) EXPECT_EQ(parseBankAmount(text), expected) << text;
    const std::vector<std::pair<std::string, std::optional<Date>>> dates = {
        {"02/03/2015", Date::fromYmd(2015, 3, 2)}, {"02.03.2015", Date::fromYmd(2015, 3, 2)},
        {"2015-03-02", Date::fromYmd(2015, 3, 2)}, {"02-03-15", Date::fromYmd(2015, 3, 2)},
        {"02/03/2015 10:15", Date::fromYmd(2015, 3, 2)}, {"31/13/2015", std::nullopt}, {"Saldo", std::nullopt}};
    for (const auto& [text, expected] : dates) EXPECT_EQ(parseBankDate(text), expected) << text;
}

struct FileCase {
    std::string file;
    StatementKind kind;
    std::size_t entries;
    std::vector<std::pair<int, std::string>> errors;  // line, part of the message
};

TEST(StatementFile, EachFileGivesItsEntriesAndNamesItsBadLines) {
    const std::vector<FileCase> cases = {
        {"camt053_v02.xml", StatementKind::Camt053, 3, {}},
        {"camt053_v08.xml", StatementKind::Camt053, 1,
         {{20, "non ancora contabilizzato"}, {27, "importo in CHF"}, {34, "fuori dell'esercizio 2015"}}},
        {"csv_trentino_1252.csv", StatementKind::Csv, 3, {}},
        {"csv_cassa_rurale_utf8.csv", StatementKind::Csv, 2,
         {{5, "importo \"abc\" non leggibile"}, {6, "troppo grande per il giornale"}}},
        {"csv_bancoposta.csv", StatementKind::Csv, 2, {{6, "importo in USD"}, {7, "data \"31/13/2015\""}}},
        {"camt052_report.xml", StatementKind::NotAStatement, 0, {{0, "non è un estratto conto camt.053"}}},
        {"camt053_cut.xml", StatementKind::NotAStatement, 0, {{0, "interrotto o malformato"}}},
        {"not_a_statement.pdf", StatementKind::NotAStatement, 0, {{0, "né camt.053 né CSV"}}},
        {"csv_unknown_headings.csv", StatementKind::Csv, 0, {{0, "colonne del file CSV non sono riconosciute"}}},
        {"missing.csv", StatementKind::NotAStatement, 0, {{0, "non si può leggere"}}},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.file);
        const StatementFile read = readStatementFile(statementFile(c.file), 2015, std::nullopt);
        EXPECT_EQ(read.kind, c.kind);
        EXPECT_EQ(read.statement.entries.size(), c.entries);
        ASSERT_EQ(read.statement.errors.size(), c.errors.size());
        for (std::size_t i = 0; i < c.errors.size(); ++i) {
            EXPECT_EQ(read.statement.errors[i].line, c.errors[i].first);
            EXPECT_NE(read.statement.errors[i].message.find(c.errors[i].second), std::string::npos)
                << read.statement.errors[i].message;
        }
    }
}

struct EntryCase {
    std::string file;
    std::size_t index;
    StatementEntry expected;
};

TEST(StatementFile, EntriesCarryDatesAmountSideTextAndReference) {
    const std::vector<EntryCase> cases = {
        {"camt053_v02.xml", 0, {8, Date::fromYmd(2015, 3, 2), Date::fromYmd(2015, 3, 3), 150.0, true, "EUR",
                                "Rossi Mario Offerta battesimo di Luca", "BPV-20150302-0001"}},
        {"camt053_v02.xml", 1, {22, Date::fromYmd(2015, 3, 5), Date::fromYmd(2015, 3, 5), 1234.56, false, "EUR",
                                "Dolomiti Energia SpA Bolletta energia elettrica chiesa marzo 2015", "BPV-20150305-0002"}},
        {"camt053_v02.xml", 2, {34, Date::fromYmd(2015, 3, 31), Date(), 2.5, false, "EUR", "Commissioni tenuta conto",
                                "BPV-20150331-0003"}},
        {"camt053_v08.xml", 0, {8, Date::fromYmd(2015, 4, 7), Date::fromYmd(2015, 4, 7), 80.0, true, "EUR",
                                "Famiglia Degasperi Offerta per la festa patronale, più fiori", "20150407-77"}},
        {"csv_trentino_1252.csv", 0, {6, Date::fromYmd(2015, 2, 2), Date::fromYmd(2015, 2, 2), 250.0, true, "EUR",
                                      "Bonifico a vostro favore Offerte per la carità - Caritas", ""}},
        {"csv_trentino_1252.csv", 1, {7, Date::fromYmd(2015, 2, 10), Date::fromYmd(2015, 2, 9), 1234.56, false, "EUR",
                                      "Pagamento utenza Dolomiti Energia bolletta energia elettrica chiesa", ""}},
        {"csv_cassa_rurale_utf8.csv", 1, {3, Date::fromYmd(2015, 3, 4), Date::fromYmd(2015, 3, 5), 1200.0, true,
                                          "EUR", "Offerta per la Quaresima famiglia Müller", "CRO 0002"}},
        {"csv_bancoposta.csv", 1, {5, Date::fromYmd(2015, 4, 16), Date::fromYmd(2015, 4, 16), 12.5, false, "EUR",
                                   "ADDEBITO Spese postali", ""}},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.file + " " + std::to_string(c.index));
        const StatementFile read = readStatementFile(statementFile(c.file), 2015, std::nullopt);
        ASSERT_GT(read.statement.entries.size(), c.index);
        const StatementEntry& e = read.statement.entries[c.index];
        EXPECT_EQ(e.line, c.expected.line);
        EXPECT_EQ(e.booking, c.expected.booking);
        EXPECT_EQ(e.value, c.expected.value);
        EXPECT_EQ(e.amount, c.expected.amount);
        EXPECT_EQ(e.credit, c.expected.credit);
        EXPECT_EQ(e.text, c.expected.text);
        // Files without the bank's reference get one of their own.
        if (c.expected.reference.empty()) EXPECT_EQ(e.reference.size(), 17u);
        else EXPECT_EQ(e.reference, c.expected.reference);
    }
}

TEST(StatementFile, ColumnsChosenForABankAreRememberedInTheSettingsFile) {
    test::TempDir dir;
    const auto ini = dir / "tovald.INI";
    storage::Settings settings;
    CsvColumns chosen;
    chosen.headingRows = 1;
    chosen.date = 0;
    chosen.text = {1};
    chosen.amount = 2;
    rememberColumns(settings, " C0202", chosen);
    storage::writeSettings(ini, settings);

    const storage::Settings reread = storage::readSettings(ini);
    EXPECT_EQ(rememberedColumns(reread, " C0202"), chosen);
    EXPECT_EQ(rememberedColumns(reread, " C0201"), std::nullopt);
    const StatementFile read =
        readStatementFile(statementFile("csv_unknown_headings.csv"), 2015, rememberedColumns(reread, " C0202"));
    ASSERT_EQ(read.statement.entries.size(), 1u);
    EXPECT_EQ(read.statement.entries[0].text, "Offerta");
    EXPECT_EQ(read.statement.entries[0].amount, 10.0);
}

}  // namespace
}  // namespace quendra::bankimport
