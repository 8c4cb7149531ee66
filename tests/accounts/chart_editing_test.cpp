#include "accounts/chart_editing.h"

#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/table_ops.h"
#include "storage/year_table_tags.h"
#include "support/chart_fixture.h"
#include "support/journal_fixture.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace quendra::accounts {
namespace {

namespace fs = std::filesystem;
using test::ChartRow;

std::vector<std::string> shownCodes(const ChartEditor& editor) {
    std::vector<std::string> codes;
    for (const ChartEditorRow& row : editor.rows()) codes.push_back(row.code);
    return codes;
}

std::string currentCod(const ChartEditor& editor) {
    const ChartEditorRow* row = editor.currentRow();
    return row ? row->cod : "<none>";
}

void moveToCod(ChartEditor& editor, const std::string& cod) {
    const auto& rows = editor.rows();
    const auto it = std::find_if(rows.begin(), rows.end(), [&](const ChartEditorRow& r) { return r.cod == cod; });
    ASSERT_NE(it, rows.end()) << cod;
    editor.moveTo(std::size_t(it - rows.begin()));
}

// Opens the sub-account view of a main account of the given class.
void showSubAccountsOf(ChartEditor& editor, const std::string& mainCod) {
    editor.chooseClass(mainCod[1]);
    moveToCod(editor, mainCod);
    ASSERT_TRUE(editor.chooseView(ChartView::SubAccounts));
}

void deleteRows(const fs::path& chart, const std::vector<std::string>& codes) {
    storage::Cursor cursor(chart, storage::OpenMode::Shared);
    cursor.setOrder(storage::chart::kCod);
    for (const std::string& cod : codes) {
        ASSERT_TRUE(cursor.findKey(cod)) << cod;
        cursor.deleteRecord();
    }
}

void setField(const fs::path& chart, const std::string& cod, std::string_view field, const std::string& value) {
    storage::Cursor cursor(chart, storage::OpenMode::Shared);
    cursor.setOrder(storage::chart::kCod);
    ASSERT_TRUE(cursor.findKey(cod)) << cod;
    cursor.edit();
    cursor.setText(field, value);
    cursor.post();
}

class ChartEditing : public ::testing::Test {
protected:
    fs::path chart() const { return dir_ / "kw201501.dbf"; }

    // The diocese's standard chart as the build generates it, as a year's chart.
    void useStandardChart() {
        storage::copyTable(fs::path(QUENDRA_RUNTIME_DIR) / "krw" / "kw000000.dbf", chart());
        storage::Cursor table(chart(), storage::OpenMode::Exclusive);
        for (const storage::TagSpec& tag : storage::yearTableTags(storage::YearTable::Chart)) {
            table.addTag(tag.name, tag.field, tag.primary);
        }
    }

    ChartRow row(const std::string& cod, const std::string& text) const {
        return {cod, text, cod[0] == 'H' ? text : "Spese varie", "Uscite"};
    }

    std::map<std::string, ChartRow> stored() const { return test::readChartByCode(chart()); }

    test::TempDir dir_;
    test::ScriptedPrompt prompt_;
};

TEST_F(ChartEditing, OpensOnTheExpenseMainAccountsWithTheClassTextAsTitle) {
    useStandardChart();
    ChartEditor editor(chart(), prompt_);
    EXPECT_EQ(editor.currentClass(), 'A');
    EXPECT_EQ(editor.view(), ChartView::MainAccounts);
    EXPECT_EQ(shownCodes(editor), (std::vector<std::string>{"A01", "A02", "A03", "A04", "A05", "A06", "A07", "A08",
                                                            "A09", "A10", "A11", "A12", "A13", "A14", "A15"}));
    EXPECT_EQ(currentCod(editor), "HA0100");
    EXPECT_EQ(editor.textColumnTitle(), "Uscite");

    editor.chooseClass('C');
    EXPECT_EQ(editor.rows().front().code, "C01");
    EXPECT_EQ(editor.textColumnTitle(), "Attiva");

    moveToCod(editor, "HC0200");
    ASSERT_TRUE(editor.chooseView(ChartView::SubAccounts));
    EXPECT_EQ(shownCodes(editor), (std::vector<std::string>{"C0201", "C0202", "C0203"}));
    EXPECT_EQ(editor.textColumnTitle(), "Banca");
    // Back to the main accounts, on the one whose sub-accounts were shown.
    ASSERT_TRUE(editor.chooseView(ChartView::MainAccounts));
    EXPECT_EQ(currentCod(editor), "HC0200");
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(ChartEditing, ANewMainAccountAfterHA1400IsHA1500AndItsNameReachesItsFirstSubAccount) {
    useStandardChart();
    deleteRows(chart(), {"HA1500", " A1501"});
    ChartEditor editor(chart(), prompt_);

    editor.addRow();
    ASSERT_TRUE(editor.editing());
    EXPECT_EQ(editor.editing()->cod, "HA1500");
    EXPECT_EQ(editor.editing()->text, "immettere conto");
    EXPECT_TRUE(editor.firstSubAccountPending());
    EXPECT_EQ(currentCod(editor), "HA1500");
    EXPECT_EQ(stored().at("HA1500").text, "immettere conto");

    editor.finishText("Spese per la radio");
    const auto afterMain = stored();
    EXPECT_EQ(afterMain.at("HA1500"), (ChartRow{"HA1500", "Spese per la radio", "Spese per la radio", "Uscite"}));
    EXPECT_EQ(afterMain.at(" A1501"), (ChartRow{" A1501", "Oggetto sottoconto", "Spese per la radio", "Uscite"}));
    EXPECT_FALSE(editor.firstSubAccountPending());
    EXPECT_EQ(editor.view(), ChartView::SubAccounts);
    EXPECT_EQ(shownCodes(editor), (std::vector<std::string>{"A1501"}));
    EXPECT_EQ(editor.textColumnTitle(), "Spese per la radio");
    // The field stays open: the first sub-account is named next.
    ASSERT_TRUE(editor.editing());
    EXPECT_EQ(editor.editing()->cod, " A1501");
    EXPECT_EQ(editor.editing()->text, "Oggetto sottoconto");

    editor.finishText("Antenna");
    EXPECT_FALSE(editor.editing());
    EXPECT_EQ(stored().at(" A1501"), (ChartRow{" A1501", "Antenna", "Spese per la radio", "Uscite"}));
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(ChartEditing, SubAccountNumbersHaveTwoDigitsAndStartAt01) {
    std::vector<ChartRow> rows = {{"  PFAR", "Parrocchia", "Luogo", "Decanato"}, row("HA0500", "Spese varie"),
                                  row("HA0600", "Senza sottoconti")};
    for (int n = 1; n <= 9; ++n) rows.push_back(row(" A050" + std::to_string(n), "Voce " + std::to_string(n)));
    test::makeChart(chart(), rows);
    ChartEditor editor(chart(), prompt_);

    showSubAccountsOf(editor, "HA0500");
    editor.addRow();
    ASSERT_TRUE(editor.editing());
    EXPECT_EQ(editor.editing()->cod, " A0510");
    EXPECT_EQ(editor.editing()->text, "immettere sottoconto");
    EXPECT_FALSE(editor.firstSubAccountPending());
    EXPECT_EQ(stored().at(" A0510"), (ChartRow{" A0510", "immettere sottoconto", "Spese varie", "Uscite"}));
    editor.finishText("Voce 10");
    EXPECT_EQ(editor.rows().back().code, "A0510");
    EXPECT_EQ(currentCod(editor), " A0510");

    ASSERT_TRUE(editor.chooseView(ChartView::MainAccounts));
    showSubAccountsOf(editor, "HA0600");
    EXPECT_TRUE(editor.rows().empty());
    EXPECT_EQ(editor.textColumnTitle(), "Senza sottoconti");
    editor.addRow();
    ASSERT_TRUE(editor.editing());
    EXPECT_EQ(editor.editing()->cod, " A0601");
    EXPECT_EQ(stored().at(" A0601").texth, "Senza sottoconti");
}

TEST_F(ChartEditing, NumbersFrom90AreOutsideTheViewAndA90thAccountIsRefused) {
    test::makeChart(chart(), {{"  PFAR", "Parrocchia", "Luogo", "Decanato"},
                              row("HA0100", "Primo"),
                              row("HA8900", "Ultimo"),
                              row("HA9500", "Fuori"),
                              row(" A0101", "Voce"),
                              row(" A0189", "Voce 89"),
                              row(" A0195", "Voce 95")});
    ChartEditor editor(chart(), prompt_);
    EXPECT_EQ(shownCodes(editor), (std::vector<std::string>{"A01", "A89"}));

    const std::size_t before = stored().size();
    editor.addRow();
    EXPECT_FALSE(editor.editing());
    EXPECT_FALSE(editor.firstSubAccountPending());
    EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{std::string(kNoMoreMainAccounts)}));
    EXPECT_EQ(stored().size(), before);

    showSubAccountsOf(editor, "HA0100");
    EXPECT_EQ(shownCodes(editor), (std::vector<std::string>{"A0101", "A0189"}));
    editor.addRow();
    EXPECT_FALSE(editor.editing());
    EXPECT_EQ(prompt_.texts().back(), kNoMoreSubAccounts);
    EXPECT_EQ(stored().size(), before);
}

TEST_F(ChartEditing, ANewNameForHE0500ReachesEverySubAccountWithTheIncomeClassText) {
    useStandardChart();
    // A parish's own main account (not a standard one), whose sub-accounts went stale.
    setField(chart(), "HE0500", storage::chart::kClose, "");
    setField(chart(), " E0502", storage::chart::kTextA, "vecchio");
    setField(chart(), " E0503", storage::chart::kTextH, "vecchio");
    {
        storage::Cursor cursor(chart(), storage::OpenMode::Shared);
        cursor.setOrder(storage::chart::kCod);
        cursor.append();
        cursor.setText(storage::chart::kCod, " E0595");
        cursor.setText(storage::chart::kText, "Oltre il novanta");
        cursor.post();
    }
    ChartEditor editor(chart(), prompt_);
    editor.chooseClass('E');
    moveToCod(editor, "HE0500");
    editor.startRename();
    ASSERT_TRUE(editor.editing());
    EXPECT_EQ(editor.editing()->text, "Entrate ordinarie varie");

    editor.finishText("Entrate diverse");
    EXPECT_FALSE(editor.editing());
    EXPECT_EQ(editor.view(), ChartView::MainAccounts);
    EXPECT_EQ(currentCod(editor), "HE0500");
    const auto rows = stored();
    EXPECT_EQ(rows.at("HE0500").text, "Entrate diverse");
    EXPECT_EQ(rows.at("HE0500").texth, "Entrate diverse");
    for (const std::string cod : {" E0501", " E0502", " E0503", " E0504", " E0595"}) {
        EXPECT_EQ(rows.at(cod).texth, "Entrate diverse") << cod;
        EXPECT_EQ(rows.at(cod).texta, "Entrate") << cod;
    }
    EXPECT_EQ(rows.at(" E0501").text, "Contributi ordinarii dal comune ecc.");
    // Other main accounts keep their sub-accounts' names.
    EXPECT_EQ(rows.at(" E0601").texth, "Redditi patrimoniali");
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(ChartEditing, AssetAndLiabilitySubAccountsReadEntrateWhileTypedAndTheirClassAfter) {
    useStandardChart();
    ChartEditor editor(chart(), prompt_);
    for (const auto& [main, added, classText] :
         {std::tuple{"HC0500", " C0504", "Attiva"}, std::tuple{"HP0100", " P0103", "Passiva"}}) {
        showSubAccountsOf(editor, main);
        editor.addRow();
        ASSERT_TRUE(editor.editing());
        EXPECT_EQ(editor.editing()->cod, added);
        EXPECT_EQ(stored().at(added).texta, "Entrate") << added;
        editor.finishText("Nuova voce");
        EXPECT_EQ(stored().at(added).texta, classText) << added;
        EXPECT_EQ(stored().at(added).text, "Nuova voce");
    }

    // A new asset main account and its first sub-account get the class text at once.
    editor.chooseClass('C');
    editor.addRow();
    ASSERT_TRUE(editor.editing());
    EXPECT_EQ(editor.editing()->cod, "HC1100");
    editor.finishText("Opere d'arte");
    EXPECT_EQ(stored().at("HC1100").texta, "Attiva");
    EXPECT_EQ(stored().at(" C1101"), (ChartRow{" C1101", "Oggetto sottoconto", "Opere d'arte", "Attiva"}));
}

TEST_F(ChartEditing, StandardAccountsCannotBeDeletedNorRenamedExceptCashBoxes) {
    useStandardChart();
    ChartEditor editor(chart(), prompt_);

    showSubAccountsOf(editor, "HC0100");
    moveToCod(editor, " C0101");
    editor.startRename();
    ASSERT_TRUE(editor.editing());
    editor.finishText("Cassa della canonica");
    EXPECT_EQ(stored().at(" C0101").text, "Cassa della canonica");
    EXPECT_EQ(stored().at(" C0101").close, "1");
    editor.deleteCurrent();
    EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{std::string(kCannotDeleteStandard)}));

    for (const std::string cod : {"HC0100", " C0501", " A0101"}) {
        prompt_.shown.clear();
        if (cod[0] == 'H') {
            editor.chooseClass('C');
            moveToCod(editor, cod);
        } else {
            showSubAccountsOf(editor, "H" + cod.substr(1, 3) + "00");
            moveToCod(editor, cod);
        }
        editor.startRename();
        EXPECT_FALSE(editor.editing()) << cod;
        editor.deleteCurrent();
        EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{std::string(kCannotRenameStandard),
                                                             std::string(kCannotDeleteStandard)}))
            << cod;
        EXPECT_EQ(stored().count(cod), 1u) << cod;
    }
}

TEST_F(ChartEditing, TheLastRowOfAViewStays) {
    test::makeChart(chart(), {{"  PFAR", "Parrocchia", "Luogo", "Decanato"},
                              row("HA0100", "Unico"),
                              row(" A0101", "Voce"),
                              row(" A0195", "Oltre la vista")});
    ChartEditor editor(chart(), prompt_);
    editor.deleteCurrent();
    showSubAccountsOf(editor, "HA0100");
    editor.deleteCurrent();
    EXPECT_EQ(prompt_.texts(),
              (std::vector<std::string>{std::string(kCannotDeleteLast), std::string(kCannotDeleteLast)}));
    EXPECT_EQ(stored().size(), 4u);

    editor.chooseClass('P');
    EXPECT_TRUE(editor.rows().empty());
    EXPECT_EQ(editor.textColumnTitle(), "Passiva");
    EXPECT_FALSE(editor.chooseView(ChartView::SubAccounts));
    EXPECT_EQ(editor.view(), ChartView::MainAccounts);
    editor.deleteCurrent();
    EXPECT_EQ(prompt_.texts().back(), kCannotDeleteLast);
}

TEST_F(ChartEditing, DeletingAMainAccountAsksAndTakesAllItsSubAccountsAlong) {
    test::makeChart(chart(), {{"  PFAR", "Parrocchia", "Luogo", "Decanato"},
                              {"HE0100", "Offerte", "Offerte", "Entrate", "", "", "", "1"},
                              {" E0101", "Domenicali", "Offerte", "Entrate", "", "", "", "1"},
                              {"HE0200", "Spese varie", "Spese varie", "Entrate"},
                              {" E0201", "Tombola", "Spese varie", "Entrate"},
                              {" E0202", "Pesca", "Spese varie", "Entrate"},
                              {" E0295", "Fuori vista", "Spese varie", "Entrate"},
                              row("HA0100", "Uscite varie")});
    test::makeJournal(dir_ / "kr201501.dbf", {{1, test::ymd(2015, 3, 1), " E0201", " C0101", "Tombola", 50, 0, 2, 0}});
    ChartEditor editor(chart(), prompt_);
    editor.chooseClass('E');
    moveToCod(editor, "HE0200");

    editor.deleteCurrent();
    EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{
                                   "Vuoi veramente cancellare il conto SPESE VARIE insieme con i sottoconti? "}));
    EXPECT_EQ(prompt_.shown.back().kind, platform::PromptKind::Confirmation);
    EXPECT_TRUE(prompt_.shown.back().noByDefault) << "Enter keeps the account";
    EXPECT_EQ(stored().size(), 8u);
    EXPECT_EQ(currentCod(editor), "HE0200");

    prompt_.answer(true);
    editor.deleteCurrent();
    const auto rows = stored();
    for (const std::string cod : {"HE0200", " E0201", " E0202", " E0295"}) EXPECT_EQ(rows.count(cod), 0u) << cod;
    EXPECT_EQ(rows.size(), 4u);
    // Back where the editor opens.
    EXPECT_EQ(editor.currentClass(), 'A');
    EXPECT_EQ(editor.view(), ChartView::MainAccounts);
    EXPECT_EQ(currentCod(editor), "HA0100");

    // The journal is not looked at: the movement keeps its code.
    storage::Cursor journal(dir_ / "kr201501.dbf", storage::OpenMode::Shared);
    journal.first();
    EXPECT_EQ(journal.asText("cod"), " E0201");
}

TEST_F(ChartEditing, ASubAccountGoesWithoutAQuestionAndTheListStaysInPlace) {
    test::makeChart(chart(), {{"  PFAR", "Parrocchia", "Luogo", "Decanato"}, row("HA0100", "Spese varie"),
                              row(" A0101", "Uno"), row(" A0102", "Due"), row(" A0103", "Tre")});
    ChartEditor editor(chart(), prompt_);
    showSubAccountsOf(editor, "HA0100");
    moveToCod(editor, " A0102");
    editor.deleteCurrent();
    EXPECT_EQ(shownCodes(editor), (std::vector<std::string>{"A0101", "A0103"}));
    EXPECT_EQ(currentCod(editor), " A0103");
    editor.deleteCurrent();
    EXPECT_EQ(currentCod(editor), " A0101");
    EXPECT_TRUE(prompt_.shown.empty());
    EXPECT_EQ(stored().count(" A0102"), 0u);
}

TEST_F(ChartEditing, ATextTheFieldCannotHoldIsRefusedAndTheFieldStaysOpen) {
    test::makeChart(chart(), {{"  PFAR", "Parrocchia", "Luogo", "Decanato"}, row("HA0100", "Spese varie"),
                              row(" A0101", "Uno")});
    ChartEditor editor(chart(), prompt_);
    editor.addRow();
    ASSERT_TRUE(editor.editing());
    EXPECT_THROW(editor.finishText("Spese \u2713"), storage::DbError);
    EXPECT_THROW(editor.finishText(std::string(61, 'x')), storage::DbError);
    ASSERT_TRUE(editor.editing());
    EXPECT_EQ(editor.editing()->cod, "HA0200");
    EXPECT_TRUE(editor.firstSubAccountPending());
    EXPECT_EQ(stored().at("HA0200").text, "immettere conto");
    EXPECT_EQ(stored().count(" A0201"), 0u);

    // While the field is open, nothing else happens.
    editor.chooseClass('E');
    editor.addRow();
    editor.deleteCurrent();
    EXPECT_EQ(editor.currentClass(), 'A');
    EXPECT_EQ(stored().size(), 4u);

    editor.finishText("Spese giuste");
    EXPECT_EQ(stored().at(" A0201").texth, "Spese giuste");
}

}  // namespace
}  // namespace quendra::accounts
