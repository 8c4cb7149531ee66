#include "journal/journal_entry.h"

#include "storage/dbase/error.h"
#include "storage/index_repair.h"
#include "storage/opening_mark.h"
#include "storage/year_creation.h"
#include "storage/year_files.h"
#include "support/dbfread_reader.h"
#include "support/year_fixture.h"

#include <gtest/gtest.h>

namespace quendra::journal {
namespace {

using storage::journal::Side;
using storage::journal::writeOpeningMark;
using test::Movement;
using test::ymd;
using test::YearFixture;

// Rows 1..3 of a small year: an expense through the cash box, an income through the
// bank, and a row whose side is still open.
std::vector<Movement> smallYear() {
    return {
        {1, ymd(2015, 1, 10), " A0101", " C0101", "Quota clero", 0, 120, 1, 0},
        {2, ymd(2015, 2, 3), " E0101", " C0201", "Offerte", 300, 0, 2, 0},
        {3, ymd(2015, 3, 12), " E0201", " C0101", "Battesimo", 0, 0, 0, 0},
    };
}

// Makes the row with that number current.
void goToNumber(YearCursors& year, int number) {
    for (year.journal.first(); !year.journal.eof(); year.journal.next()) {
        if (year.journal.asInteger("Nummer") == number) return;
    }
    FAIL() << "no row " << number;
}

class JournalEntry : public ::testing::Test {
protected:
    void SetUp() override { fixture.openYear(); }
    Movement row(int number) const {
        for (const Movement& m : fixture.rows()) {
            if (m.nummer == number) return m;
        }
        ADD_FAILURE() << "no row " << number;
        return {};
    }
    YearFixture fixture{smallYear()};
    EntryContext& context = fixture.context;
};

TEST_F(JournalEntry, NewMovementTakesNextNumberLastDateAndTheCurrentRowsCodes) {
    goToNumber(fixture.year, 2);
    fixture.prompt.answer(true);
    ASSERT_TRUE(newMovement(context));

    EXPECT_EQ(fixture.prompt.texts(), std::vector<std::string>{"vuol aggiungere un nuovo record?"});
    const Movement added = row(4);
    EXPECT_EQ(added.datum, ymd(2015, 3, 12));
    EXPECT_EQ(added.cod, " E0101");
    EXPECT_EQ(added.codd, " C0201");
    EXPECT_EQ(added.ea, 0);
    EXPECT_EQ(fixture.year.journal.asInteger("Nummer"), 4);
    EXPECT_TRUE(fixture.state.addingMode);
    EXPECT_EQ(fixture.state.proposedDate, ymd(2015, 3, 12));
    EXPECT_EQ(fixture.state.movementCount, "4");
    EXPECT_EQ(fixture.state.titleLine, fixture.state.titlePrefix + " - record: 4");
}

TEST_F(JournalEntry, NewMovementAfterTheLastByNumberEvenInAnotherOrder) {
    setListOrder(context, ListOrder::ByCode);
    fixture.year.journal.first();
    fixture.prompt.answer(true);
    newMovement(context);
    EXPECT_EQ(fixture.year.journal.currentOrder(), "NUMMER");
    EXPECT_EQ(fixture.rows().back().nummer, 4);
}

TEST_F(JournalEntry, DecliningANewMovementEndsAddingMode) {
    fixture.state.addingMode = true;
    fixture.prompt.answer(false);
    EXPECT_FALSE(newMovement(context));
    EXPECT_FALSE(fixture.state.addingMode);
    EXPECT_EQ(fixture.rows().size(), 3u);
}

TEST(JournalEntryEmpty, FirstMovementOfAnEmptyJournalIsNumberOneOfToday) {
    YearFixture fixture;
    fixture.openYear();
    fixture.prompt.answer(true);
    ASSERT_TRUE(newMovement(fixture.context));
    const std::vector<Movement> rows = fixture.rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].nummer, 1);
    EXPECT_EQ(rows[0].datum, ymd(2015, 6, 15));
    EXPECT_EQ(rows[0].cod, "");
    EXPECT_EQ(fixture.state.titleLine, fixture.state.titlePrefix + " - record: 1");
}

TEST_F(JournalEntry, DeleteNeedsTwoYesAnswersAndAlwaysRecounts) {
    goToNumber(fixture.year, 2);
    fixture.prompt.answers({true, false});
    EXPECT_FALSE(deleteMovement(context));
    EXPECT_EQ(fixture.prompt.texts(), (std::vector<std::string>{"Vuol cancellare questo record? ", "Sicuro? "}));
    EXPECT_EQ(fixture.rows().size(), 3u);
    EXPECT_EQ(fixture.state.titleLine, fixture.state.titlePrefix + " - movimenti: 3");

    fixture.prompt.shown.clear();
    fixture.prompt.answer(false);
    EXPECT_FALSE(deleteMovement(context));
    EXPECT_EQ(fixture.prompt.texts().size(), 1u) << "a no to the first question ends it";

    fixture.prompt.answers({true, true});
    EXPECT_TRUE(deleteMovement(context));
    EXPECT_EQ(fixture.rows().size(), 2u);
    EXPECT_EQ(fixture.state.movementCount, "2");
    EXPECT_EQ(fixture.state.titleLine, fixture.state.titlePrefix + " - movimenti: 2");
}

TEST_F(JournalEntry, DeletingTheHighestNumberFreesItAndAnyOtherLeavesAGap) {
    goToNumber(fixture.year, 3);
    fixture.prompt.answers({true, true, true});
    deleteMovement(context);
    newMovement(context);
    EXPECT_EQ(fixture.rows().back().nummer, 3);

    goToNumber(fixture.year, 1);
    fixture.prompt.answers({true, true, true});
    deleteMovement(context);
    newMovement(context);
    std::vector<int> numbers;
    for (const Movement& m : fixture.rows()) numbers.push_back(m.nummer);
    EXPECT_EQ(numbers, (std::vector<int>{2, 3, 4}));
}

TEST_F(JournalEntry, ListDeleteAsksOnceAndKeepsTheTitleCount) {
    fixture.state.titleLine = "unchanged";
    fixture.prompt.answer(false);
    EXPECT_FALSE(deleteMovementFromList(context));
    fixture.prompt.answer(true);
    EXPECT_TRUE(deleteMovementFromList(context));
    EXPECT_EQ(fixture.prompt.texts(), (std::vector<std::string>{"Delete record?", "Delete record?"}));
    EXPECT_EQ(fixture.prompt.shown[0].kind, platform::PromptKind::Confirmation);
    EXPECT_EQ(fixture.rows().size(), 2u);
    EXPECT_EQ(fixture.state.titleLine, "unchanged");
}

TEST_F(JournalEntry, DateIsStoredOrRefusedInItalian) {
    goToNumber(fixture.year, 2);
    EXPECT_EQ(storeDate(context, "28.02.2015"), StepResult::Stored);
    EXPECT_EQ(row(2).datum, ymd(2015, 2, 28));
    EXPECT_TRUE(fixture.prompt.shown.empty());

    fixture.state.proposedDate = ymd(2015, 1, 1);
    for (const char* bad : {"29.02.2015", "..", "1.2.2015", "ab.cd.efgh"}) {
        EXPECT_EQ(storeDate(context, bad), StepResult::Invalid) << bad;
    }
    EXPECT_EQ(row(2).datum, ymd(2015, 2, 28));
    EXPECT_EQ(fixture.state.proposedDate, ymd(2015, 6, 15));
    ASSERT_EQ(fixture.prompt.shown.size(), 4u);
    EXPECT_EQ(fixture.prompt.shown[0].kind, platform::PromptKind::Error);
    EXPECT_EQ(fixture.prompt.shown[0].text,
              "\"29.02.2015\" non è una data valida: scriva giorno, mese e anno come gg.mm.aaaa.");
}

TEST_F(JournalEntry, AccountInTheChartIsStoredAndGetsThePlaceholderCashBox) {
    goToNumber(fixture.year, 3);
    fixture.year.journal.edit();
    fixture.year.journal.setText("codd", "");
    fixture.year.journal.post();

    EXPECT_EQ(storeAccount(context, "a0102"), StepResult::Stored);
    EXPECT_EQ(row(3).cod, " A0102");
    EXPECT_EQ(row(3).codd, "CC0101");

    goToNumber(fixture.year, 2);
    EXPECT_EQ(storeAccount(context, "E0102"), StepResult::Stored);
    EXPECT_EQ(row(2).codd, " C0201") << "a cash box that is set stays";
    EXPECT_EQ(fixture.year.account.asText("TEXT"), "Offerte feriali") << "the chart cursor follows again";
}

TEST_F(JournalEntry, AccountTheChartLacksIsStoredAndOpensThePicker) {
    goToNumber(fixture.year, 1);
    EXPECT_EQ(storeAccount(context, "A0199"), StepResult::OpenPicker);
    EXPECT_EQ(row(1).cod, " A0199");
    EXPECT_EQ(storeAccount(context, "A0000"), StepResult::OpenPicker);
    EXPECT_EQ(row(1).cod, " A0101");
    EXPECT_TRUE(fixture.prompt.shown.empty());
}

TEST_F(JournalEntry, CashBoxMustBeALiquidAccountOfTheChart) {
    goToNumber(fixture.year, 1);
    EXPECT_EQ(storeCashBox(context, "C0201"), StepResult::Stored);
    EXPECT_EQ(row(1).codd, " C0201");
    EXPECT_EQ(fixture.year.cashBox.asText("TEXT"), "Banca c/c");
    EXPECT_EQ(storeCashBox(context, "C0401"), StepResult::Stored);

    for (const char* other : {"C0299", "C0501", "A0101", "P0101"}) {
        EXPECT_EQ(storeCashBox(context, other), StepResult::OpenPicker) << other;
        EXPECT_EQ(row(1).codd, std::string(" ") + other) << "stored all the same";
    }
    EXPECT_EQ(storeCashBox(context, ""), StepResult::OpenPicker);
    EXPECT_EQ(row(1).codd, "");
}

struct SideCase {
    const char* cod;
    Side amountRule;  // the side an open row gets from its amount
    Side pickerRule;  // the side an open row gets after the picker
};

class SideRules : public JournalEntry, public ::testing::WithParamInterface<SideCase> {};

TEST_P(SideRules, AmountDecidesAnOpenSideFromTheAccountClass) {
    goToNumber(fixture.year, 3);
    fixture.year.journal.edit();
    fixture.year.journal.setText("cod", GetParam().cod);
    fixture.year.journal.post();

    EXPECT_EQ(storeAmount(context, "1.250,00"), StepResult::Stored);
    const Movement stored = row(3);
    EXPECT_EQ(stored.ea, int(GetParam().amountRule));
    EXPECT_EQ(GetParam().amountRule == Side::Uscita ? stored.ausgabe : stored.einnahme, 1250.0);
    EXPECT_EQ(GetParam().amountRule == Side::Uscita ? stored.einnahme : stored.ausgabe, 0.0);
}

TEST_P(SideRules, PickerDecidesAnOpenSideFromTheAccountClass) {
    goToNumber(fixture.year, 3);
    fixture.year.journal.edit();
    fixture.year.journal.setText("cod", GetParam().cod);
    fixture.year.journal.post();

    decideSideAfterPicker(context);
    EXPECT_EQ(row(3).ea, int(GetParam().pickerRule));
}

INSTANTIATE_TEST_SUITE_P(Classes, SideRules,
                         ::testing::Values(SideCase{" A0101", Side::Uscita, Side::Uscita},
                                           SideCase{" E0101", Side::Entrata, Side::Entrata},
                                           SideCase{" C0501", Side::Entrata, Side::Uscita},
                                           SideCase{" P0101", Side::Uscita, Side::Entrata}));

TEST_F(JournalEntry, DecidedSideStaysWithAmountAndPicker) {
    goToNumber(fixture.year, 2);  // an income row
    fixture.year.journal.edit();
    fixture.year.journal.setText("cod", " A0101");
    fixture.year.journal.post();
    decideSideAfterPicker(context);
    EXPECT_EQ(storeAmount(context, "12.345,6"), StepResult::Stored);
    const Movement stored = row(2);
    EXPECT_EQ(stored.ea, 2);
    EXPECT_EQ(stored.einnahme, 12345.6);
    EXPECT_EQ(stored.ausgabe, 0);
}

TEST_F(JournalEntry, AmountThatIsNoNumberLeavesTheRowAndSaysSoInItalian) {
    goToNumber(fixture.year, 1);
    for (const char* bad : {"", "12,3,4", "dieci", "1.2a"}) {
        EXPECT_EQ(storeAmount(context, bad), StepResult::Invalid) << bad;
    }
    EXPECT_EQ(row(1).ausgabe, 120);
    ASSERT_EQ(fixture.prompt.shown.size(), 4u);
    EXPECT_EQ(fixture.prompt.shown[2].text, "\"dieci\" non è un importo valido: scriva per esempio 1.250,00.");
}

TEST_F(JournalEntry, AmountTooLargeForTheFieldIsRefusedInTheUsersWords) {
    goToNumber(fixture.year, 1);
    EXPECT_EQ(storeAmount(context, "9999999999"), StepResult::Invalid);
    EXPECT_EQ(storeAmount(context, "-100.000.000"), StepResult::Invalid);
    EXPECT_EQ(storeAmount(context, "999.999.999,999"), StepResult::Invalid) << "rounds to 1.000.000.000,00";
    EXPECT_EQ(fixture.prompt.texts(),
              (std::vector<std::string>{
                  "\"9999999999\" è troppo grande per il campo uscita: l'importo più grande è 999.999.999,99.",
                  "\"-100.000.000\" è troppo piccolo per il campo uscita: l'importo più piccolo è -99.999.999,99.",
                  "\"999.999.999,999\" è troppo grande per il campo uscita: l'importo più grande è 999.999.999,99."}));
    EXPECT_EQ(row(1).ausgabe, 120);

    goToNumber(fixture.year, 2);
    EXPECT_EQ(storeAmount(context, "999.999.999,99"), StepResult::Stored);
    EXPECT_EQ(row(2).einnahme, 999999999.99);
    EXPECT_EQ(storeAmount(context, "-99.999.999,99"), StepResult::Stored);
    EXPECT_EQ(row(2).einnahme, -99999999.99);
}

TEST_F(JournalEntry, OpeningMarkClickWritesTwoOrClearsAHandMarkedOne) {
    goToNumber(fixture.year, 1);
    EXPECT_TRUE(writeOpeningMark(fixture.year.journal, true));
    EXPECT_EQ(row(1).eroeffnung, 2);
    EXPECT_TRUE(writeOpeningMark(fixture.year.journal, true));
    EXPECT_FALSE(writeOpeningMark(fixture.year.journal, false));
    EXPECT_EQ(row(1).eroeffnung, 0);

    fixture.year.journal.edit();
    fixture.year.journal.setInteger("eroeffnung", 1);
    fixture.year.journal.post();
    EXPECT_FALSE(writeOpeningMark(fixture.year.journal, false));
    EXPECT_EQ(row(1).eroeffnung, 0);
}

TEST_F(JournalEntry, SwitchingAStoredUscitaToEntrataMovesTheAmount) {
    goToNumber(fixture.year, 1);
    fixture.year.journal.edit();
    fixture.year.journal.setNumber("Ausgabe", 80);
    fixture.year.journal.post();

    switchSide(context, Side::Entrata);
    Movement stored = row(1);
    EXPECT_EQ(stored.einnahme, 80);
    EXPECT_EQ(stored.ausgabe, 0);
    EXPECT_EQ(stored.ea, 2);

    switchSide(context, Side::Uscita);
    stored = row(1);
    EXPECT_EQ(stored.ausgabe, 80);
    EXPECT_EQ(stored.einnahme, 0);
    EXPECT_EQ(stored.ea, 1);
}

TEST_F(JournalEntry, ListOrdersWalkByNumberCodeAndDateAndKeepTheCurrentRow) {
    goToNumber(fixture.year, 1);
    fixture.year.journal.edit();
    fixture.year.journal.setDate("Datum", ymd(2015, 4, 1));
    fixture.year.journal.post();
    const auto walk = [this] {
        std::vector<int> numbers;
        storage::Cursor& listing = fixture.year.listing;
        for (listing.first(); !listing.eof(); listing.next()) numbers.push_back(int(listing.asInteger("Nummer")));
        return numbers;
    };

    setListOrder(context, ListOrder::ByCode);
    EXPECT_EQ(walk(), (std::vector<int>{1, 2, 3}));  // A0101, E0101, E0201
    EXPECT_EQ(fixture.year.journal.asInteger("Nummer"), 1);
    setListOrder(context, ListOrder::ByDate);
    EXPECT_EQ(walk(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(fixture.year.journal.currentOrder(), "DATUM");
    setListOrder(context, ListOrder::ByNumber);
    EXPECT_EQ(walk(), (std::vector<int>{1, 2, 3}));
}

TEST_F(JournalEntry, ReorganisationRebuildsBothIndexesAndKeepsPlaceAndOrder) {
    setListOrder(context, ListOrder::ByDate);
    goToNumber(fixture.year, 2);
    reorganize(context);

    EXPECT_EQ(fixture.prompt.texts(), std::vector<std::string>{"l'esercizio è stato riorganizzato!"});
    EXPECT_TRUE(std::filesystem::exists(fixture.dataDir / "kr201501.mdx"));
    EXPECT_TRUE(std::filesystem::exists(fixture.dataDir / "kw201501.mdx"));
    EXPECT_EQ(fixture.year.journal.currentOrder(), "DATUM");
    EXPECT_EQ(fixture.year.journal.asInteger("Nummer"), 2);
    EXPECT_EQ(fixture.year.account.asText("TEXT"), "Offerte domenicali") << "the chart cursors follow again";
    EXPECT_EQ(fixture.year.cashBox.asText("TEXT"), "Banca c/c");
    EXPECT_FALSE(std::filesystem::exists(fixture.dataDir / "kv201501.dbf")) << "a year without budget stays without";
}

TEST_F(JournalEntry, ReorganisationRebuildsTheBudgetsIndexWhenTheYearHasOne) {
    storage::createBudget(fixture.dataDir, "KV201501.DBF");
    int removed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fixture.dataDir)) {
        std::string name = entry.path().filename().string();
        for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (name == "kv201501.mdx") removed += int(std::filesystem::remove(entry.path()));
    }
    ASSERT_EQ(removed, 1);
    ASSERT_FALSE(storage::yearTableSound(storage::YearTable::Budget, fixture.dataDir / "KV201501.DBF"));
    reorganize(context);
    EXPECT_TRUE(storage::yearTableSound(storage::YearTable::Budget, fixture.dataDir / "KV201501.DBF"));
}

TEST_F(JournalEntry, ReorganisationOfAMissingChartIsFatal) {
    fixture.year.closeCharts();
    std::filesystem::remove(fixture.chartPath());
    EXPECT_THROW(reorganize(context), storage::MissingYearFile);
}

TEST_F(JournalEntry, EveryStepIsInTheFileAtOnce) {
    if (!test::dbfreadAvailable()) GTEST_SKIP() << "dbfread is not installed";
    goToNumber(fixture.year, 3);
    storeDate(context, "20.03.2015");
    storeText(context, "Offerta battesimo Rossi");
    storeAccount(context, "E0201");
    storeCashBox(context, "C0102");
    storeAmount(context, "75,50");

    const test::DbfreadTable table = test::readWithDbfread(fixture.journalPath());
    ASSERT_EQ(table.records.size(), 3u);
    const test::JsonValue& third = table.records[2];
    EXPECT_EQ(third["DATUM"].text, "2015-03-20");
    EXPECT_EQ(third["TEXT"].text, "Offerta battesimo Rossi");
    EXPECT_EQ(third["COD"].text, " E0201");
    EXPECT_EQ(third["CODD"].text, " C0102");
    EXPECT_EQ(third["EINNAHME"].number, 75.5);
    EXPECT_EQ(third["EA"].number, 2);
}

}  // namespace
}  // namespace quendra::journal
