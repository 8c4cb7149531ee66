#include "storage/chart_update.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/text_case.h"
#include "support/chart_fixture.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sstream>

namespace quendra::storage {
namespace {

using test::ChartRow;

const std::string kItalianA01 = "Contributo sostentamento Clero";
const std::string kGermanA01 = "Beitrag Klerusunterhalt";
const std::string kNbsp = "\u00A0";

std::string twoDigits(int n) { return std::string{char('0' + n / 10), char('0' + n % 10)}; }

// A chart as an older release made it: no deposit refund, no clearing accounts, the
// maintenance accounts still in A07 and the restoration in A10. Only the main text of
// A01 tells its language; the other texts are neutral.
std::vector<ChartRow> oldChart(const std::string& a01Name) {
    std::vector<ChartRow> rows = {{"  PFAR", "San Vigilio", "Velmora", "Velmora centro"}};
    const std::string classes = "AECPV";
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const std::string type = std::string("Tipo ") + classes[i];
        rows.push_back({std::string("T") + classes[i], type, type, type, "", twoDigits(int(i) * 20 + 10), "", "",
                        std::string(1, classes[i])});
    }
    auto group = [&rows](char cls, const std::string& number, const std::string& name, int subs) {
        const std::string letter(1, cls);
        rows.push_back({"H" + letter + number + "00", name, name, "Classe " + letter, letter + letter + number + "00",
                        "", "", "1", letter});
        for (int n = 1; n <= subs; ++n) {
            const std::string code = " " + letter + number + twoDigits(n);
            rows.push_back({code, "Conto" + code, name, "Classe " + letter, letter + code.substr(1), "", "", "1", letter});
        }
    };
    group('A', "01", a01Name, 5);
    group('A', "06", "Spese generali", 6);
    group('A', "07", "Spese correnti", 5);
    group('A', "09", "Manutenzione", 9);
    group('A', "10", "Lavori", 2);
    group('A', "12", "Spese straordinarie", 7);
    group('A', "13", "Collette inoltrate", 15);
    group('C', "01", "Cassa", 1);
    group('C', "02", "Banca", 1);
    group('E', "02", "Offerte", 2);
    group('E', "05", "Entrate varie", 4);
    group('E', "07", "Collette", 15);
    group('P', "01", "Mutui", 1);
    group('V', "01", "Legati", 1);
    return rows;
}

std::vector<ChartRow> without(std::vector<ChartRow> rows, const std::set<std::string>& codes) {
    std::erase_if(rows, [&codes](const ChartRow& row) { return codes.count(row.cod) > 0; });
    return rows;
}

ChartRow& rowOf(std::vector<ChartRow>& rows, const std::string& code) {
    const auto found = std::find_if(rows.begin(), rows.end(), [&code](const ChartRow& r) { return r.cod == code; });
    if (found == rows.end()) throw std::logic_error("no row " + code);
    return *found;
}

std::set<std::string> codesOf(const std::map<std::string, ChartRow>& rows) {
    std::set<std::string> codes;
    for (const auto& [code, row] : rows) codes.insert(code);
    return codes;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class ChartUpdate : public ::testing::Test {
protected:
    std::map<std::string, ChartRow> update(const std::vector<ChartRow>& rows) {
        test::makeChart(path, rows);
        runUpdate();
        return test::readChartByCode(path);
    }
    // Runs the update and tells how many writes it made to the table.
    std::uint64_t runUpdate() { return writesOfUpdate(path); }
    static std::uint64_t writesOfUpdate(const std::filesystem::path& table) {
        Cursor chart(table, OpenMode::Exclusive);
        const std::uint64_t before = chart.table()->version();
        kontrollekonto(chart);
        return chart.table()->version() - before;
    }
    // New codes an update of rows adds.
    std::set<std::string> addedBy(const std::vector<ChartRow>& rows) {
        std::set<std::string> before;
        for (const ChartRow& row : rows) before.insert(row.cod);
        std::set<std::string> added;
        std::ranges::set_difference(codesOf(update(rows)), before, std::inserter(added, added.end()));
        return added;
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "kw201501.dbf";
};

// --- language ---------------------------------------------------------------------------

TEST_F(ChartUpdate, ItalianOnlyWhenTheSecondRowNamesTheClergyContributionExactly) {
    for (const auto& [name, italian] : std::vector<std::pair<std::string, bool>>{
             {kItalianA01, true},
             {"contributo sostentamento clero", false},
             {"Contributo sostentamento clero", false},
             {" Contributo sostentamento Clero", false},
             {"Contributo sostentamento Clero (vecchio)", false},
             {kGermanA01, false}}) {
        test::makeChart(path, oldChart(name));
        Cursor chart(path, OpenMode::Exclusive);
        EXPECT_EQ(chartLanguage(chart), italian ? ChartLanguage::Italian : ChartLanguage::German) << name;
    }
}

TEST_F(ChartUpdate, LanguageComesFromTheSecondRowInCodeOrderNotInFileOrder) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    std::reverse(rows.begin(), rows.end());
    test::makeChart(path, rows);
    Cursor chart(path, OpenMode::Exclusive);
    EXPECT_EQ(chartLanguage(chart), ChartLanguage::Italian);
}

TEST_F(ChartUpdate, EmptyAndOneRowChartsAreGermanAndGetNothing) {
    EXPECT_TRUE(update({}).empty());
    test::makeChart(path, {{"  PFAR", kItalianA01, kItalianA01, ""}});
    Cursor chart(path, OpenMode::Exclusive);
    EXPECT_EQ(chartLanguage(chart), ChartLanguage::German);
    kontrollekonto(chart);
    EXPECT_EQ(chart.recordCount(), 1u);
}

TEST_F(ChartUpdate, AnItalianChartGetsOnlyItalianTexts) {
    const auto rows = update(oldChart(kItalianA01));
    EXPECT_EQ(rows.at(" A0607").text, "Rimborso cauzioni");
    EXPECT_EQ(rows.at("HA1400").text, "Conto compensazioni USCITE");
    EXPECT_EQ(rows.at(" A1401").text, "Intenzioni SS Messe");
    EXPECT_EQ(rows.at(" A1401").texta, "USCITE");
    EXPECT_EQ(rows.at("HE0800").text, "Conto compensazioni ENTRATE");
    EXPECT_EQ(rows.at(" E0801").texta, "ENTRATE");
    EXPECT_EQ(rows.at(" A0705").text, "spese manutenzioni -> A09");
    EXPECT_EQ(rows.at(" A0905").text, "spese manutenzioni impianti, attrezzature ecc.");
    EXPECT_EQ(rows.at(" A1002").text, "Restauro -> A12");
    EXPECT_EQ(rows.at(" A1208").text, "Restauro attrezzature, paramenti, quadri ecc.");
    EXPECT_EQ(rows.at(" A1208").texth, "Spese straordinarie");
    EXPECT_EQ(rows.at(" E0501").texth, "Entrate ordinarie varie");
    EXPECT_EQ(rows.at("HE0200").text, "Offerte celebrazioni liturgiche");
}

TEST_F(ChartUpdate, AGermanChartGetsOnlyGermanTexts) {
    const auto rows = update(oldChart(kGermanA01));
    EXPECT_EQ(rows.at(" A0607").text, "Rückgabe Kautionen");
    EXPECT_EQ(rows.at("HA1400").text, "Verrechnungskonto AUSGABEN");
    EXPECT_EQ(rows.at(" A1401").text, "Messintentionen");
    EXPECT_EQ(rows.at(" A1401").texta, "AUSGABEN");
    EXPECT_EQ(rows.at("HE0800").text, "Verrechnungskonto EINNAHMEN");
    EXPECT_EQ(rows.at(" E0801").texta, "EINNAHMEN");
    EXPECT_EQ(rows.at(" A0705").text, "Wartungsspesen -> A09");
    EXPECT_EQ(rows.at(" A0905").text, "Wartungsspesen für Anlagen, Geräte");
    EXPECT_EQ(rows.at(" A1002").text, "Restaurierung bei -> A12");
    EXPECT_EQ(rows.at(" A1208").text, "Restaurierung von Geräten, Paramenten, Bildern usw.");
    EXPECT_EQ(rows.at(" A1208").texth, "Außerordentliche Ausgaben");
    EXPECT_EQ(rows.at(" E0501").text, "Regelmäßige Beiträge von Gemeinde usw");
    EXPECT_EQ(rows.at("HE0200").texth, "Spenden bei liturgischen Feiern");
}

// --- added accounts ---------------------------------------------------------------------

TEST_F(ChartUpdate, AnOldChartGetsExactlyTheMissingStandardAccounts) {
    EXPECT_EQ(addedBy(oldChart(kItalianA01)),
              (std::set<std::string>{" A0607", "HA1400", " A1401", "HE0800", " E0801", " A1208"}));
}

TEST_F(ChartUpdate, AppendedAccountsCarryKindCodalfaAndStandardMark) {
    const auto rows = update(oldChart(kItalianA01));
    EXPECT_EQ(rows.at(" A0607"), (ChartRow{" A0607", "Rimborso cauzioni", "Spese generali", "USCITE", "AA0607", "", "",
                                           "1", "A"}));
    EXPECT_EQ(rows.at("HA1400"), (ChartRow{"HA1400", "Conto compensazioni USCITE", "Conto compensazioni USCITE",
                                           "USCITE", "AA1400", "", "", "1", "A"}));
    EXPECT_EQ(rows.at(" A1401"), (ChartRow{" A1401", "Intenzioni SS Messe", "Conto compensazioni USCITE", "USCITE",
                                           "AA1401", "", "", "1", "A"}));
    EXPECT_EQ(rows.at("HE0800"), (ChartRow{"HE0800", "Conto compensazioni ENTRATE", "Conto compensazioni ENTRATE",
                                           "ENTRATE", "EE0800", "", "", "1", "E"}));
    EXPECT_EQ(rows.at(" E0801"), (ChartRow{" E0801", "Intenzioni SS Messe", "Conto compensazioni ENTRATE", "ENTRATE",
                                           "EE0801", "", "", "1", "E"}));
    EXPECT_EQ(rows.at(" A1208"), (ChartRow{" A1208", "Restauro attrezzature, paramenti, quadri ecc.",
                                           "Spese straordinarie", "USCITE", "AA1208", "", "", "1", "A"}));
}

TEST_F(ChartUpdate, NumbersFollowTheLastSubAccountAndKeepTwoDigits) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    rows.push_back({" A0609", "Conto A0609", "Spese generali"});  // a gap before it stays
    rows.push_back({" A1299", "Conto A1299", "Spese straordinarie"});
    rows.push_back({" A1401", "Conto A1401", "Altro"});
    rows.push_back({" A1901", "Conto A1901", "Altro"});
    const auto added = addedBy(rows);
    EXPECT_TRUE(added.count(" A0610"));
    EXPECT_TRUE(added.count("HA2000"));
    EXPECT_TRUE(added.count(" A2001"));
    // A12 is full: no " A12100" and nothing else under A12.
    EXPECT_EQ(std::ranges::count_if(added, [](const std::string& c) { return c.starts_with(" A12"); }), 0);
}

TEST_F(ChartUpdate, AnExistingTextInAnyCaseAnywherePreventsTheAddition) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    rows.push_back({" A0501", "RIMBORSO CAUZIONI", "Spese amministrative"});
    rows.push_back({" C0202", "conto compensazioni uscite", "Banca"});
    rows.push_back({" P0102", "Conto Compensazioni Entrate", "Mutui"});
    rowOf(rows, " A1207").text = "restauro attrezzature, PARAMENTI, quadri ecc.";
    EXPECT_TRUE(addedBy(rows).empty());
}

TEST_F(ChartUpdate, MissingAnchorsAddNothing) {
    std::vector<ChartRow> rows = without(oldChart(kItalianA01), {" A0701", " A0702", " A0703", " A0704", " A0705",
                                                                 " C0101", " P0101", " A1301"});
    for (int n = 2; n <= 15; ++n) rows = without(rows, {" A13" + twoDigits(n)});
    EXPECT_TRUE(addedBy(rows).empty());
}

TEST_F(ChartUpdate, AnchorRowsOutsideTheirGroupAddNothing) {
    // A06 without sub-accounts: the row before " A07" is the last sub-account of A01.
    const auto added = addedBy(without(oldChart(kItalianA01), {" A0601", " A0602", " A0603", " A0604", " A0605",
                                                               " A0606"}));
    EXPECT_EQ(std::ranges::count_if(added, [](const std::string& c) { return c.starts_with(" A06"); }), 0);
    EXPECT_TRUE(added.count("HA1400"));
}

TEST_F(ChartUpdate, TheHeaderRowAsAnchorAddsNothing) {
    // Nothing but the header before the first A07 account and the first C01 account.
    const std::vector<ChartRow> rows = {
        {"  PFAR", "San Vigilio", "Velmora", "Velmora centro"},
        {" A0701", "Spese", "Spese correnti"},
        {" A1301", "Colletta", "Collette inoltrate"},
    };
    test::makeChart(path, rows);
    EXPECT_NO_THROW(runUpdate());
    EXPECT_EQ(test::readChart(path).size(), 3u);
}

TEST_F(ChartUpdate, ATakenClearingCodeIsNotDuplicated) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    rows.push_back({"HA1400", "Conto della parrocchia", "Conto della parrocchia"});  // main account, no sub yet
    const auto added = addedBy(rows);
    EXPECT_FALSE(added.count(" A1401"));
    EXPECT_EQ(test::readChartByCode(path).at("HA1400").text, "Conto della parrocchia");
    EXPECT_TRUE(added.count("HE0800"));
}

// --- regrouping -------------------------------------------------------------------------

TEST_F(ChartUpdate, TheRegroupingRunsOnceAndLeavesLaterChangesAlone) {
    update(oldChart(kItalianA01));
    {
        Cursor chart(path, OpenMode::Exclusive);
        chart.setOrder("cod");
        for (const auto& [code, text] : {std::pair{" A0905", "Impianti"}, {" A1002", "Restauri nostri"}}) {
            ASSERT_TRUE(chart.findKey(std::string(code)));
            chart.edit();
            chart.setText("TEXT", text);
            chart.post();
        }
        ASSERT_TRUE(chart.findKey(std::string(" A1208")));
        chart.edit();
        chart.setText("TEXT", "Quadri");  // the restoration text is gone now
        chart.post();
    }
    runUpdate();
    const auto rows = test::readChartByCode(path);
    EXPECT_EQ(rows.at(" A0705").text, "spese manutenzioni -> A09");
    EXPECT_EQ(rows.at(" A0905").text, "Impianti");
    EXPECT_EQ(rows.at(" A1002").text, "Restauri nostri");
    EXPECT_EQ(rows.at(" A1208").text, "Quadri");
    EXPECT_FALSE(rows.count(" A1209"));
}

TEST_F(ChartUpdate, TheRegroupingNeedsA0705AndSkipsWhatIsMissing) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    auto noA0705 = update(without(rows, {" A0705"}));
    EXPECT_EQ(noA0705.at(" A0905").text, "Conto A0905");
    EXPECT_EQ(noA0705.at(" A1002").text, "Conto A1002");
    EXPECT_FALSE(noA0705.count(" A1208"));

    auto partial = update(without(rows, {" A0905", " A1002"}));
    EXPECT_EQ(partial.at(" A0705").text, "spese manutenzioni -> A09");
    EXPECT_TRUE(partial.count(" A1208"));
}

TEST_F(ChartUpdate, TheMarkerTextIsComparedExactly) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    rowOf(rows, " A0705").text = "Spese manutenzioni -> A09";
    const auto updated = update(rows);
    EXPECT_EQ(updated.at(" A0705").text, "spese manutenzioni -> A09");
    EXPECT_EQ(updated.at(" A0905").text, "spese manutenzioni impianti, attrezzature ecc.");
}

// --- text corrections -------------------------------------------------------------------

TEST_F(ChartUpdate, TextCorrectionsReplaceUserTextsOnEveryRun) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    rowOf(rows, " A0909").text = "Campanile";
    const auto updated = update(rows);
    EXPECT_EQ(updated.at(" A0909").text, "- - -");
    EXPECT_EQ(updated.at(" E0501").text, "Contributi ordinarii dal comune ecc.");
    EXPECT_EQ(updated.at(" E0502").text, "Contributi ordinarii da istituti bancari ecc.");
    EXPECT_EQ(updated.at(" E0503").text, "Conto E0503");
    for (const char* code : {" E0501", " E0502", " E0503", " E0504", "HE0500"}) {
        EXPECT_EQ(updated.at(code).texth, "Entrate ordinarie varie") << code;
    }
    EXPECT_EQ(updated.at("HE0500").text, "Entrate ordinarie varie");
    EXPECT_EQ(updated.at(" A0606").text, "Mezzi di comunicazione (radio parrocchiale, bollettino ecc.)");
    EXPECT_EQ(updated.at(" A0701").text, "Spese canonica: telefono, energia, riscaldamento, acqua ecc.");
    EXPECT_EQ(updated.at(" A0702").text, "Conto A0702");
    EXPECT_EQ(updated.at(" A0703").text, "Spese chiesa: energia elettrica, riscaldamento, acqua ecc.");
    EXPECT_EQ(updated.at(" A0704").text, "Spese oratorio: telefono, energia, riscaldamento, acqua ecc.");
    EXPECT_EQ(updated.at(" E0201").texth, "Offerte celebrazioni liturgiche");
    EXPECT_EQ(updated.at(" E0202").texth, "Offerte celebrazioni liturgiche");
    EXPECT_EQ(updated.at(" E0201").text, "Conto E0201");
    EXPECT_EQ(updated.at("HE0200").texth, "Offerte celebrazioni liturgiche");

    {
        Cursor chart(path, OpenMode::Exclusive);
        chart.setOrder("cod");
        ASSERT_TRUE(chart.findKey(std::string(" A0606")));
        chart.edit();
        chart.setText("TEXT", "Bollettino");
        chart.post();
    }
    runUpdate();
    EXPECT_EQ(test::readChartByCode(path).at(" A0606").text,
              "Mezzi di comunicazione (radio parrocchiale, bollettino ecc.)");
}

TEST_F(ChartUpdate, AMissingCorrectedRowDoesNotStopTheLaterCorrections) {
    const auto updated = update(without(oldChart(kGermanA01), {" E0503", " A0909", "HE0500"}));
    EXPECT_EQ(updated.at(" E0504").texth, "Verschiedene regelmäßige Einnahmen");
    EXPECT_EQ(updated.at(" A0606").text, "Kommunikationsmittel (Pfarrsender, Pfarrblatt)");
    EXPECT_EQ(updated.at(" A0704").text, "Für Pfarrheim: Telefon, Strom, Wasser, Heizung");
    EXPECT_EQ(updated.at("HE0200").text, "Spenden bei liturgischen Feiern");
    EXPECT_FALSE(updated.count(" E0503"));
}

TEST_F(ChartUpdate, CodesAreFoundWhateverTheirLetterCase) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    rowOf(rows, " A0909").cod = " a0909";
    EXPECT_EQ(update(rows).at(" a0909").text, "- - -");
}

// --- non-breaking spaces ----------------------------------------------------------------

TEST_F(ChartUpdate, NonBreakingSpacesBecomeBlanksExceptInTheParishHeaderRow) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    rows[0] = {"  PFAR", "San" + kNbsp + "Vigilio", "Velmora" + kNbsp, kNbsp + "centro"};
    rowOf(rows, " A0102").text = "Messe" + kNbsp + "e" + kNbsp + kNbsp + "offerte";
    rowOf(rows, " A0102").texth = kItalianA01 + kNbsp + "x";
    rowOf(rows, " A0102").texta = kNbsp + "Uscite";
    rowOf(rows, " A0103").cod = kNbsp + "A0103";
    const auto updated = update(rows);
    EXPECT_EQ(updated.at("  PFAR").text, "San" + kNbsp + "Vigilio");
    EXPECT_EQ(updated.at("  PFAR").texth, "Velmora" + kNbsp);
    EXPECT_EQ(updated.at("  PFAR").texta, kNbsp + "centro");
    EXPECT_EQ(updated.at(" A0102").text, "Messe e  offerte");
    EXPECT_EQ(updated.at(" A0102").texth, kItalianA01 + " x");
    EXPECT_EQ(updated.at(" A0102").texta, " Uscite");
    ASSERT_TRUE(updated.count(" A0103"));
    EXPECT_EQ(updated.at(" A0103").text, "Conto A0103");
    EXPECT_FALSE(updated.count(kNbsp + "A0103"));
}

// --- idempotence and the cursor ---------------------------------------------------------

TEST_F(ChartUpdate, ASecondRunWritesNothing) {
    std::vector<ChartRow> rows = oldChart(kItalianA01);
    rowOf(rows, " A0102").text = "Messe" + kNbsp + "feriali";
    update(rows);
    const auto first = test::readChart(path);
    const std::string table = fileBytes(path), index = fileBytes(dir / "kw201501.mdx");
    EXPECT_EQ(runUpdate(), 0u);
    EXPECT_EQ(test::readChart(path), first);
    EXPECT_EQ(fileBytes(path), table);
    EXPECT_EQ(fileBytes(dir / "kw201501.mdx"), index);
}

TEST_F(ChartUpdate, StandardChartsAreAlreadyUpToDate) {
    for (const std::string language : {"it", "de"}) {
        const auto standard = dir / ("standard_" + language + ".dbf");
        test::loadStandardChart(language, standard);
        const auto before = test::readChart(standard);
        const std::string table = fileBytes(standard);
        EXPECT_EQ(writesOfUpdate(standard), 0u) << language;
        EXPECT_EQ(test::readChart(standard), before) << language;
        EXPECT_EQ(fileBytes(standard), table) << language;
    }
}

TEST_F(ChartUpdate, WorksOnAnyOrderAndRangeAndEndsOnTheFirstRowInCodeOrder) {
    test::makeChart(path, oldChart(kItalianA01));
    Cursor chart(path, OpenMode::Exclusive);
    chart.setOrder("k");
    chart.setRange(std::string("10"), std::string("30"));
    kontrollekonto(chart);
    EXPECT_TRUE(equalsIgnoreCaseAscii(chart.currentOrder(), "cod")) << chart.currentOrder();
    EXPECT_EQ(chart.asText("COD"), "  PFAR");
    chart.close();
    EXPECT_TRUE(test::readChartByCode(path).count(" A0607"));
}

}  // namespace
}  // namespace quendra::storage
