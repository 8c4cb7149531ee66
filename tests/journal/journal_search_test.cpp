#include "journal/journal_search.h"

#include "storage/journal_record.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::journal {
namespace {

using test::ymd;

class JournalSearchTest : public ::testing::Test {
protected:
    JournalSearchTest() {
        test::makeJournal(path_, {
                                     {1, ymd(2015, 1, 1), " E0101", " C0101", "Offerta domenicale"},
                                     {2, ymd(2015, 1, 5), " A0701", " C0201", "Bolletta luce"},
                                     {3, ymd(2015, 2, 10), " A0202", " C0101", "OFFERTA per i fiori"},
                                     {4, ymd(2015, 3, 15), " A0201", " C0101", "Candele"},
                                     {5, ymd(2015, 3, 20), " E0101", " C0101", "offerta natalizia"},
                                     {6, ymd(2015, 1, 2), " E0101", " C0101", "Offerta tardiva"},
                                 });
        journal_.open(path_, storage::OpenMode::Shared);
        journal_.setOrder(storage::journal::kNummer);
        journal_.first();
    }

    long long number() const { return journal_.asInteger(storage::journal::kNummer); }
    void goTo(long long n) {
        for (journal_.first(); !journal_.eof() && number() != n;) journal_.next();
    }

    test::TempDir dir_;
    std::filesystem::path path_ = dir_ / "kr201501.dbf";
    storage::Cursor journal_;
    JournalSearch search_;
};

TEST_F(JournalSearchTest, OggettoInAnyCaseFromTheCurrentRowThenOnwardsThenNotFound) {
    goTo(2);
    EXPECT_EQ(search_.next(journal_, SearchKind::Oggetto, "offerta"), SearchOutcome::Found);
    EXPECT_EQ(number(), 3);
    EXPECT_EQ(search_.next(journal_, SearchKind::Oggetto, "offerta"), SearchOutcome::Found);
    EXPECT_EQ(number(), 5);
    EXPECT_EQ(search_.next(journal_, SearchKind::Oggetto, "offerta"), SearchOutcome::Found);
    EXPECT_EQ(number(), 6);
    // Row 1, above where the search began, was not looked at yet.
    EXPECT_EQ(search_.next(journal_, SearchKind::Oggetto, "offerta"), SearchOutcome::ReachedEnd);
    EXPECT_EQ(number(), 1);
    EXPECT_FALSE(search_.underWay());
    // Going on from the start looks at the first row itself.
    EXPECT_EQ(search_.next(journal_, SearchKind::Oggetto, "OFFERTA"), SearchOutcome::Found);
    EXPECT_EQ(number(), 1);
}

TEST_F(JournalSearchTest, TheCurrentRowItselfCanBeTheHit) {
    goTo(4);
    EXPECT_EQ(search_.next(journal_, SearchKind::Oggetto, "candele"), SearchOutcome::Found);
    EXPECT_EQ(number(), 4);
}

TEST_F(JournalSearchTest, FollowsTheJournalsCurrentOrder) {
    journal_.setOrder(storage::journal::kDatum);
    journal_.first();
    std::vector<long long> found;
    while (search_.next(journal_, SearchKind::Oggetto, "offerta") == SearchOutcome::Found) found.push_back(number());
    EXPECT_EQ(found, (std::vector<long long>{1, 6, 3, 5}));
}

TEST_F(JournalSearchTest, DataFindsTheFirstRowOnOrAfterTheDate) {
    EXPECT_EQ(search_.next(journal_, SearchKind::Data, "01.03.2015"), SearchOutcome::Found);
    EXPECT_EQ(number(), 4);
    EXPECT_EQ(search_.next(journal_, SearchKind::Data, "15.03.2015"), SearchOutcome::Found);
    EXPECT_EQ(number(), 5);
}

TEST_F(JournalSearchTest, DataAfterEveryDateIsNotFound) {
    goTo(3);
    EXPECT_EQ(search_.next(journal_, SearchKind::Data, "01.01.2016"), SearchOutcome::ReachedEnd);
    EXPECT_EQ(number(), 1);
    EXPECT_EQ(searchMessage(SearchOutcome::ReachedEnd, "01.01.2016"),
              "Raggiunta la fine dell'elenco senza trovare \"01.01.2016\". Continuare la ricerca dall'inizio?");
    EXPECT_EQ(search_.next(journal_, SearchKind::Data, "01.01.2016"), SearchOutcome::NotFound);
    EXPECT_EQ(number(), 1);
    EXPECT_EQ(searchMessage(SearchOutcome::NotFound, "01.01.2016"), "non trovato il termine della ricerca");
}

TEST_F(JournalSearchTest, Numero) {
    EXPECT_EQ(search_.next(journal_, SearchKind::Numero, " 4 "), SearchOutcome::Found);
    EXPECT_EQ(number(), 4);
    EXPECT_EQ(search_.next(journal_, SearchKind::Numero, "4"), SearchOutcome::NotFound);
}

TEST_F(JournalSearchTest, UnreadableTextsLeaveTheJournalWhereItWas) {
    goTo(3);
    EXPECT_EQ(search_.next(journal_, SearchKind::Numero, "tre"), SearchOutcome::NotANumber);
    EXPECT_EQ(search_.next(journal_, SearchKind::Data, "31.02.2015"), SearchOutcome::NotADate);
    EXPECT_EQ(number(), 3);
    EXPECT_NE(searchMessage(SearchOutcome::NotADate, "31.02.2015").find("\"31.02.2015\""), std::string::npos);
}

TEST_F(JournalSearchTest, RestartGoesBackToTheFirstRow) {
    goTo(3);
    EXPECT_EQ(search_.next(journal_, SearchKind::Oggetto, "offerta"), SearchOutcome::Found);
    search_.restart(journal_);
    EXPECT_EQ(number(), 1);
    EXPECT_FALSE(search_.underWay());
}

}  // namespace
}  // namespace quendra::journal
