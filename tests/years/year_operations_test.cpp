#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/dbf_header.h"
#include "storage/index_repair.h"
#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "storage/year_files.h"
#include "support/temp_dir.h"
#include "years/delete_year.h"
#include "years/import_year.h"
#include "years/new_year.h"
#include "years/open_year.h"
#include "years/parish_data.h"
#include "years/save_copy.h"
#include "years/year_list.h"
#include "years/year_messages.h"
#include "years/year_test_data.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quendra::years {
namespace {

using storage::Cursor;
using storage::OpenMode;
using test::chartOf;
using test::journalOf;
using test::Movement;
using test::ymd;

Movement row(int nummer) { return {nummer, ymd(2015, 2, 1), " E0101", " C0101", "Offerte", 10, 0, 2, 0}; }

std::vector<Movement> rows(int count) {
    std::vector<Movement> out;
    for (int n = 1; n <= count; ++n) out.push_back(row(n));
    return out;
}

std::vector<std::string> texts(const YearList& list) {
    std::vector<std::string> out;
    for (const YearEntry& entry : list.entries) out.push_back(entry.text);
    return out;
}

class YearFiles : public ::testing::Test {
protected:
    void year(const std::string& number, int rowCount, const std::string& parish = "Santa Maria") {
        test::makeYear(data(), number, rows(rowCount), test::smallChart(parish));
    }
    const std::filesystem::path& data() const { return dir.path(); }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir / name); }

    test::TempDir dir;
};

// --- The list ------------------------------------------------------------------------------

TEST_F(YearFiles, ListsNewestFirstWithParishAndRowCount) {
    test::makeTemplates(data());
    year("201501", 3);
    year("201601", 0, "San Vigilio");
    year("201502", 254, "Santa Maria Ausiliatrice");
    test::makeJournal(journalOf(data(), "201701"), rows(1));  // no chart: not a year
    EXPECT_EQ(texts(listYears(data())),
              (std::vector<std::string>{"2016-01 | SAN VIGILIO (Valle) Centro (0 voci)",
                                        "2015-02 | SANTA MARIA AUSILIATRICE (Valle) Centro (254 voci)",
                                        "2015-01 | SANTA MARIA (Valle) Centro (3 voci)"}));
}

TEST_F(YearFiles, EntryTextUpperCasesOnlyTheParishName) {
    EXPECT_EQ(yearEntryText("201501", {"Santa Lucìa", "Valle di Sòle", "Decanato Nord"}, 12),
              "2015-01 | SANTA LUCÌA (Valle di Sòle) Decanato Nord (12 voci)");
}

TEST_F(YearFiles, ListingRebuildsTheIndexesOfEveryChartAndOfABrokenJournal) {
    year("201501", 2);
    std::filesystem::remove(dir / "kw201501.mdx");
    std::filesystem::remove(dir / "kr201501.mdx");  // byte 28 still announces it
    ASSERT_EQ(listYears(data()).entries.size(), 1u);
    EXPECT_NO_THROW(Cursor(chartOf(data(), "201501"), OpenMode::Exclusive));
    EXPECT_NO_THROW(Cursor(journalOf(data(), "201501"), OpenMode::Exclusive));
}

TEST_F(YearFiles, AnUnreadableYearIsReportedAndTheOthersStillListed) {
    year("201501", 2);
    std::ofstream(dir / "kr201601.dbf") << "no table here";
    test::makeChart(chartOf(data(), "201601"), test::smallChart("Rotta"));
    const YearList list = listYears(data());
    ASSERT_EQ(list.entries.size(), 1u);
    ASSERT_EQ(list.unreadable.size(), 1u);
    EXPECT_EQ(list.unreadable[0].fileName, "kr201601.dbf");
    EXPECT_FALSE(list.unreadable[0].message.empty());
}

TEST_F(YearFiles, ListingAYearWhoseChartIsInUseLeavesTheChartAlone) {
    year("201501", 2);
    const Cursor held(chartOf(data(), "201501"), OpenMode::Shared);
    EXPECT_EQ(listYears(data()).entries.size(), 1u);
}

// --- A new year ------------------------------------------------------------------------------

TEST_F(YearFiles, ANewYearTakesTheNextRunningNumberAndOneRowDatedToday) {
    test::makeTemplates(data());
    year("201501", 1);
    year("201502", 1);
    EXPECT_EQ(createYear(data(), 2015, ymd(2015, 6, 30)), "201503");
    const auto journal = test::readMovements(journalOf(data(), "201503"));
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].nummer, 1);
    EXPECT_EQ(journal[0].datum, ymd(2015, 6, 30));
    EXPECT_EQ(readParishData(chartOf(data(), "201503")), ParishData{});
    EXPECT_EQ(createYear(data(), 2016, ymd(2016, 1, 2)), "201601");
}

TEST_F(YearFiles, TheRunningNumberAfterNineIsTenAndAHundredthFileIsRefused) {
    test::makeTemplates(data());
    year("201509", 1);
    EXPECT_EQ(createYear(data(), 2015, ymd(2015, 1, 1)), "201510");
    year("201599", 1);
    EXPECT_THROW(createYear(data(), 2015, ymd(2015, 1, 1)), storage::YearFileError);
    EXPECT_THROW(createFollowingYear(data(), "201499"), storage::YearFileError);
}

TEST_F(YearFiles, AMissingTemplateStopsTheCreationBeforeAnyFileIsMade) {
    test::makeJournal(dir / "kr000000.dbf", {});
    EXPECT_THROW(createYear(data(), 2015, ymd(2015, 1, 1)), storage::MissingYearFile);
    EXPECT_FALSE(exists("kr201501.dbf"));
}

// --- Parish data ------------------------------------------------------------------------------

TEST_F(YearFiles, ParishDataIsStoredInTheHeaderRow) {
    year("201501", 1);
    writeParishData(chartOf(data(), "201501"), {"San Giorgio", "Monte", "Sud"});
    EXPECT_EQ(readParishData(chartOf(data(), "201501")), (ParishData{"San Giorgio", "Monte", "Sud"}));
    EXPECT_EQ(test::readChart(chartOf(data(), "201501")).size(), test::smallChart("").size());
}

TEST_F(YearFiles, AChartWithoutHeaderRowGetsOneInsteadOfLosingItsFirstAccount) {
    auto chart = test::smallChart("x");
    chart.erase(chart.begin());
    test::makeYear(data(), "201501", {}, chart);
    writeParishData(chartOf(data(), "201501"), {"San Giorgio", "Monte", "Sud"});
    const auto byCode = test::readChartByCode(chartOf(data(), "201501"));
    EXPECT_EQ(byCode.at(" A0101").text, "Quota parrocchiale");
    EXPECT_EQ(byCode.at("  PFAR").text, "San Giorgio");
}

TEST_F(YearFiles, AParishNameTooLongIsRefusedWithoutChangingTheRow) {
    year("201501", 1);
    EXPECT_THROW(writeParishData(chartOf(data(), "201501"), {std::string(61, 'x'), "", ""}), storage::DbError);
    EXPECT_EQ(readParishData(chartOf(data(), "201501")).name, "Santa Maria");
}

// --- Opening, saving, importing, deleting --------------------------------------------------

TEST_F(YearFiles, OpeningPacksTheJournalAndNamesTheFilesAsOnDisk) {
    test::makeYear(data(), "201501", rows(3), test::smallChart("x"));
    {
        Cursor journal(journalOf(data(), "201501"), OpenMode::Exclusive);
        journal.first();
        journal.deleteRecord();
    }
    std::filesystem::rename(journalOf(data(), "201501"), dir / "KR201501.DBF");
    const CurrentYearNames names = openChosenYear(data(), "201501");
    EXPECT_EQ(names.journal, "KR201501.DBF");
    EXPECT_EQ(names.chart, "kw201501.dbf");
    // Packed: the deleted row is gone from the file, not only hidden.
    const auto header = storage::DbfHeader::forFields(storage::journal::fields());
    EXPECT_EQ(std::filesystem::file_size(dir / "KR201501.DBF"), header.headerLength + 2u * header.recordLength + 1u);
}

TEST_F(YearFiles, SavingCopiesBothFilesUnderTheirNamesAndReplacesOldCopies) {
    year("201501", 4);
    test::TempDir backup;
    test::makeJournal(backup / "kr201501.dbf", rows(1));
    EXPECT_EQ(saveYearCopy(data(), "kr201501.dbf", "kw201501.dbf", backup.path()), SaveOutcome::Saved);
    EXPECT_EQ(test::readMovements(backup / "kr201501.dbf").size(), 4u);
    EXPECT_EQ(test::readChart(backup / "kw201501.dbf"), test::readChart(chartOf(data(), "201501")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(backup.path()), {}), 2);
}

TEST_F(YearFiles, SavingIntoTheDataDirectoryCopiesNothing) {
    year("201501", 4);
    const auto before = std::filesystem::last_write_time(journalOf(data(), "201501"));
    EXPECT_EQ(saveYearCopy(data(), "kr201501.dbf", "kw201501.dbf", dir / "." / ""), SaveOutcome::IntoDataDirectory);
    EXPECT_EQ(std::filesystem::last_write_time(journalOf(data(), "201501")), before);
}

class Import : public YearFiles {
protected:
    void saved(const std::string& journalName, int rowCount) {
        test::makeJournal(saveDir / journalName, rows(rowCount));
        test::makeChart(saveDir / ("KW" + journalName.substr(2)), test::smallChart("Salvata"));
    }
    test::TempDir saveDir;
};

TEST_F(Import, ATakenNameGetsTheNextRunningNumber) {
    year("201501", 1);
    year("201502", 1);
    saved("KR201501.DBF", 6);
    const ImportOutcome outcome = importYear(data(), saveDir / "KR201501.DBF");
    EXPECT_TRUE(outcome.renamed);
    EXPECT_EQ(outcome.journalName, "kr201503.dbf");
    EXPECT_EQ(messages::renamedOnImport(outcome.journalName),
              "Il file esiste già. Il nome del nuovo file è: KR201503.DBF");
    EXPECT_EQ(test::readMovements(journalOf(data(), "201503")).size(), 6u);
    EXPECT_EQ(readParishData(chartOf(data(), "201503")).name, "Salvata");
    // Both with their tags, so they open exclusively at once.
    EXPECT_NO_THROW(Cursor(journalOf(data(), "201503"), OpenMode::Exclusive));
    Cursor chart(chartOf(data(), "201503"), OpenMode::Exclusive);
    EXPECT_NO_THROW(chart.setOrder("k"));
}

TEST_F(Import, AFreeNameIsKept) {
    saved("KR201401.DBF", 2);
    const ImportOutcome outcome = importYear(data(), saveDir / "KR201401.DBF");
    EXPECT_FALSE(outcome.renamed);
    EXPECT_EQ(outcome.journalName, "kr201401.dbf");
    EXPECT_TRUE(exists("kw201401.dbf"));
}

TEST_F(Import, AJournalWithoutItsChartIsRefusedAndNothingCopied) {
    test::makeJournal(saveDir / "KR201401.DBF", rows(2));
    try {
        importYear(data(), saveDir / "KR201401.DBF");
        FAIL() << "imported without a chart";
    } catch (const storage::YearFileError& error) {
        EXPECT_EQ(std::string(error.what()), messages::chartMissingBesideJournal("KW201401.DBF", "KR201401.DBF"));
    }
    EXPECT_TRUE(std::filesystem::is_empty(data()));
}

TEST_F(Import, AJournalOfAnOldVersionIsNotCopied) {
    storage::FieldList old = storage::journal::fields();
    old.erase(old.begin() + 7);  // EA
    storage::createTable(saveDir / "kr201001.dbf", old);
    test::makeChart(saveDir / "kw201001.dbf", test::smallChart("Antica"));
    EXPECT_EQ(importYear(data(), saveDir / "kr201001.dbf").kind, ImportOutcome::Kind::OldVersion);
    EXPECT_TRUE(std::filesystem::is_empty(data()));
}

TEST_F(Import, AFileNotNamedLikeAYearIsRefused) {
    test::makeJournal(saveDir / "KRcopia.dbf", rows(1));
    test::makeJournal(saveDir / "kr000000.dbf", {});
    EXPECT_THROW(importYear(data(), saveDir / "KRcopia.dbf"), storage::YearFileError);
    EXPECT_THROW(importYear(data(), saveDir / "kr000000.dbf"), storage::YearFileError);
    EXPECT_TRUE(std::filesystem::is_empty(data()));
}

TEST_F(YearFiles, DeletingRemovesBothTablesWithTheirIndexes) {
    year("201501", 1);
    year("201502", 1);
    deleteYear(data(), "201501");
    for (const char* name : {"kr201501.dbf", "kr201501.mdx", "kw201501.dbf", "kw201501.mdx"})
        EXPECT_FALSE(exists(name));
    EXPECT_TRUE(exists("kr201502.dbf"));
}

TEST_F(YearFiles, AYearInUseIsNotDeletedByHalves) {
    year("201501", 1);
    {
        const Cursor held(chartOf(data(), "201501"), OpenMode::Shared);
        EXPECT_THROW(deleteYear(data(), "201501"), storage::DbError);
    }
    EXPECT_TRUE(exists("kr201501.dbf"));
    EXPECT_TRUE(exists("kw201501.dbf"));
}

}  // namespace
}  // namespace quendra::years
