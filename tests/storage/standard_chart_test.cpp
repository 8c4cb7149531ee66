#include "storage/account_code.h"
#include "storage/chart_record.h"
#include "storage/chart_update.h"
#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "storage/dbase/text_case.h"
#include "support/chart_fixture.h"
#include "support/dbfread_reader.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace quendra::storage {
namespace {

using test::ChartRow;

std::string twoDigits(int n) { return std::string{char('0' + n / 10), char('0' + n % 10)}; }

// Sub-account codes prefix + from … prefix + to (" A07", 1, 5 gives " A0701" … " A0705").
std::vector<std::string> series(const std::string& prefix, int from, int to) {
    std::vector<std::string> codes;
    for (int n = from; n <= to; ++n) codes.push_back(prefix + twoDigits(n));
    return codes;
}

// The workbook export's Z codes: account (with its leading blank) -> code.
std::map<std::string, std::string> exportZCodes() {
    const std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>> table = {
        {"0E", {{" E0801", " E0105", " E0603"}, series(" E07", 1, 15), {" E0901"}}},
        {"4E", {{" E0601", " E0602"}}},
        {"0A", {{" A1401", " A1201", " A1202", " A1203", " A1205", " A1207"}, series(" A13", 1, 15), {" A1501"}}},
        {"4A", {{" A1204"}}},
        {"x",
         {{" A0101"}, series(" A02", 1, 6), series(" A03", 1, 4),
          {" A0405", " A0503", " A0602", " A0604", " A0606", " A0701", " A0705"}, series(" A08", 1, 7),
          series(" A09", 1, 9), {" A1002", " A1101", " A1102", " A1206"}}},
    };
    std::map<std::string, std::string> codes;
    for (const auto& [z, parts] : table) {
        for (const auto& part : parts) {
            for (const std::string& account : part) codes.emplace(account, z);
        }
    }
    return codes;
}

// Every account the program refers to by its code.
std::vector<std::string> namedCodes() {
    std::vector<std::string> codes = {" A0101", " A0105", " A0501", " A0503", " A0606", " A0607", " A0909",
                                      " A1002", " A1301", " A1401", " A1501", " C0101", " C0201", " E0101",
                                      " E0105", " E0201", " E0202", "HA0100", "HA0500", "HA1400", "HA1500",
                                      "HE0200", "HE0500", "HC0100", "HC0500"};
    for (const auto& part : {series(" A07", 1, 5), series(" A09", 1, 9), series(" E05", 1, 4)}) {
        codes.insert(codes.end(), part.begin(), part.end());
    }
    for (const auto& [account, z] : exportZCodes()) codes.push_back(account);
    return codes;
}

struct Language {
    std::string name;  // "it", "de"
    std::map<char, std::string> classTexts;
};

const std::vector<Language> kLanguages = {
    {"it", {{'A', "Uscite"}, {'E', "Entrate"}, {'C', "Attiva"}, {'P', "Passiva"}, {'V', "Conti d'ordine"}}},
    {"de", {{'A', "Ausgaben"}, {'E', "Einnahmen"}, {'C', "Aktiva"}, {'P', "Passiva"}, {'V', "Evidenzkonten"}}},
};

// What `quendra-db check` says about a table.
std::string checkReport(const std::filesystem::path& path) {
    const test::ProgramResult result = test::runProgram(QUENDRA_DB_TOOL, {"check", path.string()});
    return result.out + result.err;
}

std::size_t sourceLines(const std::filesystem::path& csv) {
    std::ifstream in(csv);
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line);) lines += !line.empty();
    return lines;
}

// Both standard charts, loaded once from their sources the way the build loads them.
class StandardChart : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        for (const Language& language : kLanguages) {
            const auto path = *dir_ / (language.name + ".dbf");
            test::loadStandardChart(language.name, path);
            rows_[language.name] = test::readChart(path);
            physical_[language.name] = physicalRows(path);
        }
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    static std::vector<ChartRow> physicalRows(const std::filesystem::path& path) {
        Cursor table(path, OpenMode::Shared);
        table.setPhysicalOrder();
        std::vector<ChartRow> rows;
        for (table.first(); !table.eof(); table.next()) {
            rows.push_back({table.asText(chart::kCod), table.asText(chart::kText), table.asText(chart::kTextH),
                            table.asText(chart::kTextA), table.asText(chart::kCodAlfa), table.asText(chart::kK),
                            table.asText(chart::kZ), table.asText(chart::kClose), table.asText(chart::kArt)});
        }
        return rows;
    }
    static std::map<std::string, ChartRow> byCode(const std::string& language) {
        std::map<std::string, ChartRow> rows;
        for (const ChartRow& row : rows_[language]) rows.emplace(row.cod, row);
        return rows;
    }

    static test::TempDir* dir_;
    static std::map<std::string, std::vector<ChartRow>> rows_;      // COD order
    static std::map<std::string, std::vector<ChartRow>> physical_;  // file order
};

test::TempDir* StandardChart::dir_ = nullptr;
std::map<std::string, std::vector<ChartRow>> StandardChart::rows_;
std::map<std::string, std::vector<ChartRow>> StandardChart::physical_;

TEST_F(StandardChart, EverySourceLineBecomesOneRowWithUniqueCodes) {
    for (const Language& language : kLanguages) {
        const auto& rows = rows_[language.name];
        EXPECT_EQ(rows.size() + 1, sourceLines(test::standardChartSource(language.name))) << language.name;
        EXPECT_GT(rows.size(), 150u);
        std::set<std::string> codes;
        for (const ChartRow& row : rows) EXPECT_TRUE(codes.insert(row.cod).second) << row.cod;
    }
}

TEST_F(StandardChart, BothLanguagesHaveTheSameRowsApartFromTheirTexts) {
    const auto& italian = physical_["it"];
    const auto& german = physical_["de"];
    ASSERT_EQ(italian.size(), german.size());
    std::set<std::string> sameText;
    for (std::size_t i = 0; i < italian.size(); ++i) {
        ChartRow it = italian[i], de = german[i];
        if (!it.text.empty() && it.text == de.text) sameText.insert(it.cod);
        it.text = it.texth = it.texta = de.text = de.texth = de.texta = "";
        EXPECT_EQ(it, de);
    }
    // Only the retired account and the name of the liabilities read alike.
    EXPECT_EQ(sameText, (std::set<std::string>{" A0909", "TP"}));
}

TEST_F(StandardChart, TheParishHeaderRowIsFirstInFileAndCodeOrderAndLeftToTheParish) {
    for (const Language& language : kLanguages) {
        for (const auto* rows : {&rows_[language.name], &physical_[language.name]}) {
            ASSERT_FALSE(rows->empty());
            EXPECT_EQ(rows->front(), (ChartRow{std::string(kParishHeaderCode)})) << language.name;
        }
    }
}

TEST_F(StandardChart, TheSecondRowInCodeOrderTellsTheLanguage) {
    for (const Language& language : kLanguages) {
        EXPECT_EQ(rows_[language.name].at(1).cod, " A0101");
        Cursor chart(*dir_ / (language.name + ".dbf"), OpenMode::Shared);
        chart.setOrder("cod");
        EXPECT_EQ(chartLanguage(chart), language.name == "it" ? ChartLanguage::Italian : ChartLanguage::German);
    }
    EXPECT_EQ(rows_["it"].at(1).texth, "Contributo sostentamento Clero");
}

TEST_F(StandardChart, TypeRowsOnePerClassInKOrderSortingAfterTheAccounts) {
    for (const Language& language : kLanguages) {
        std::vector<std::pair<std::string, char>> types;  // K, class letter
        for (const ChartRow& row : rows_[language.name]) {
            if (chartRowKind(row.cod, row.k) != ChartRowKind::Type) continue;
            EXPECT_GT(row.cod, "HZ") << row.cod;  // outside every account range and search
            EXPECT_EQ(row.texta, language.classTexts.at(row.cod[1])) << row.cod;
            types.emplace_back(row.k, row.cod.at(1));
        }
        std::sort(types.begin(), types.end());
        ASSERT_EQ(types.size(), 5u) << language.name;
        EXPECT_EQ(types.front().first, "10");
        EXPECT_EQ(types.back().first, "90");
        std::string order;
        for (const auto& type : types) order += type.second;
        EXPECT_EQ(order, "AECPV");
    }
}

TEST_F(StandardChart, AccountsFollowTheirMainAccountAndClass) {
    for (const Language& language : kLanguages) {
        const auto rows = byCode(language.name);
        std::set<std::string> mainsWithSubs;
        for (const auto& [code, row] : rows) {
            const ChartRowKind kind = chartRowKind(row.cod, row.k);
            if (kind != ChartRowKind::MainAccount && kind != ChartRowKind::SubAccount) continue;
            SCOPED_TRACE(language.name + " " + code);
            ASSERT_EQ(code.size(), kCodeLength);
            const char cls = classLetter(code);
            ASSERT_TRUE(language.classTexts.count(cls));
            EXPECT_FALSE(row.text.empty());
            EXPECT_EQ(row.texta, language.classTexts.at(cls));
            EXPECT_EQ(row.close, "1");
            EXPECT_EQ(row.art, std::string(1, cls));
            EXPECT_EQ(row.codalfa, std::string(1, cls) + code.substr(1));
            EXPECT_TRUE(row.k.empty());
            if (kind == ChartRowKind::MainAccount) {
                EXPECT_EQ(subAccountNumber(code), "00");
                EXPECT_EQ(row.texth, row.text);
                continue;
            }
            const std::string main = mainAccountCode(cls, groupNumber(code));
            ASSERT_TRUE(rows.count(main));
            EXPECT_EQ(row.texth, rows.at(main).text);
            EXPECT_NE(subAccountNumber(code), "00");
            mainsWithSubs.insert(main);
        }
        for (const auto& [code, row] : rows) {
            if (isMainAccount(code)) {
                EXPECT_TRUE(mainsWithSubs.count(code)) << code << " has no sub-account";
            }
        }
    }
}

TEST_F(StandardChart, EveryAccountTheProgramNamesExists) {
    for (const Language& language : kLanguages) {
        const auto rows = byCode(language.name);
        for (const std::string& code : namedCodes()) EXPECT_TRUE(rows.count(code)) << language.name << " " << code;
        for (const std::string prefix : {" C01", " C02", " C03", " C04", " C05", " C06", " C07", " C08", " C09",
                                         " C10", " P01", " P02"}) {
            EXPECT_TRUE(rows.count(prefix + "01")) << language.name << prefix;
        }
    }
}

TEST_F(StandardChart, ZCarriesTheExportCodesOfExactlyItsAccounts) {
    const auto expected = exportZCodes();
    EXPECT_EQ(expected.size(), 82u);
    for (const Language& language : kLanguages) {
        std::map<std::string, std::string> z;
        for (const ChartRow& row : rows_[language.name]) {
            if (!row.z.empty()) z.emplace(row.cod, row.z);
        }
        EXPECT_EQ(z, expected) << language.name;
    }
}

TEST_F(StandardChart, KeyAccountsHaveTheirStandardNames) {
    const std::vector<std::tuple<std::string, std::string, std::string>> names = {
        {"HA0100", "Contributo sostentamento Clero", "Beitrag Klerusunterhalt"},
        {"HA0200", "Spese per il culto", "Kultusausgaben"},
        {" E0101", "Offerte domenicali", "Sonntagskollekte"},
        {" C0101", "Cassa parrocchiale", "Pfarrkasse"},
        {" C0201", "Banca c/c", "Bank K/K"},
        {"HA1200", "Spese straordinarie", "Außerordentliche Ausgaben"},
        {" A0607", "Rimborso cauzioni", "Rückgabe Kautionen"},
        {" A1401", "Intenzioni SS Messe", "Messintentionen"},
        {"HE0800", "Conto compensazioni ENTRATE", "Verrechnungskonto EINNAHMEN"},
    };
    const auto italian = byCode("it");
    const auto german = byCode("de");
    for (const auto& [code, it, de] : names) {
        EXPECT_EQ(italian.at(code).text, it);
        EXPECT_EQ(german.at(code).text, de);
    }
    EXPECT_TRUE(isLiquid(" C0401"));
    EXPECT_FALSE(isLiquid(" C0501"));
}

// --- the generated templates ------------------------------------------------------------

std::filesystem::path runtimeFile(const std::string& name) { return std::filesystem::path(QUENDRA_RUNTIME_DIR) / name; }

// Tag names in lower case, sorted (dBase keeps them in upper case).
std::vector<std::string> tagsOf(const Cursor& table) {
    std::vector<std::string> tags = table.tagNames();
    for (std::string& tag : tags) std::transform(tag.begin(), tag.end(), tag.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    std::sort(tags.begin(), tags.end());
    return tags;
}

void expectFields(const std::filesystem::path& path, const FieldList& expected) {
    Cursor table(path, OpenMode::Shared);
    ASSERT_EQ(table.fieldCount(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(equalsIgnoreCaseAscii(table.fieldDef(i).name, expected[i].name)) << table.fieldDef(i).name;
        EXPECT_EQ(table.fieldDef(i).type, expected[i].type);
        EXPECT_EQ(table.fieldDef(i).length, expected[i].length);
        EXPECT_EQ(table.fieldDef(i).decimals, expected[i].decimals);
    }
}

TEST_F(StandardChart, TheBuildMakesBothChartTemplatesFromTheSources) {
    for (const auto& [file, language] : {std::pair{"krw/kw000000.dbf", "it"}, {"templates/de/kw000000.dbf", "de"}}) {
        const auto path = runtimeFile(file);
        ASSERT_TRUE(std::filesystem::exists(path)) << path << " (build the target \"templates\")";
        EXPECT_EQ(checkReport(path), "nessun problema\n");
        expectFields(path, chart::fields());
        EXPECT_EQ(test::readChart(path), rows_[language]) << file;
        EXPECT_EQ(physicalRows(path), physical_[language]) << file;
        EXPECT_EQ(tagsOf(Cursor(path, OpenMode::Shared)), (std::vector<std::string>{"cod", "k"}));
    }
}

TEST_F(StandardChart, TheBuildMakesAnEmptyJournalTemplate) {
    const auto path = runtimeFile("krw/kr000000.dbf");
    ASSERT_TRUE(std::filesystem::exists(path)) << path << " (build the target \"templates\")";
    EXPECT_EQ(checkReport(path), "nessun problema\n");
    expectFields(path, journal::fields());
    Cursor journal(path, OpenMode::Shared);
    EXPECT_EQ(journal.recordCount(), 0u);
    EXPECT_EQ(tagsOf(journal), (std::vector<std::string>{"cod", "codd", "datum", "nummer"}));
}

TEST_F(StandardChart, DbfreadReadsTheTemplatesInWindows1252) {
    ASSERT_TRUE(test::dbfreadAvailable());
    for (const auto& [file, language] : {std::pair{"krw/kw000000.dbf", "it"}, {"templates/de/kw000000.dbf", "de"}}) {
        const test::DbfreadTable table = test::readWithDbfread(runtimeFile(file));
        EXPECT_EQ(table.facts["language_driver"].number, 0x57);
        const auto& expected = physical_[language];
        ASSERT_EQ(table.records.size(), expected.size()) << file;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const test::JsonValue& r = table.records[i];
            EXPECT_EQ((ChartRow{r["COD"].text, r["TEXT"].text, r["TEXTH"].text, r["TEXTA"].text, r["CODALFA"].text,
                                r["K"].text, r["Z"].text, r["CLOSE"].text, r["ART"].text}),
                      expected[i]);
        }
    }
    const test::DbfreadTable journal = test::readWithDbfread(runtimeFile("krw/kr000000.dbf"));
    EXPECT_EQ(journal.facts["records"].number, 0);
    EXPECT_EQ(journal.facts["fields"].items.size(), journal::fields().size());
}

}  // namespace
}  // namespace quendra::storage
