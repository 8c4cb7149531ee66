// Before an operation deletes or replaces rows or files of a year, a copy of the year
// goes to krw/backup/, in the form the save copy writes, so that the import restores it.

#include "accounts/chart_import.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/open_table.h"
#include "storage/index_repair.h"
#include "support/file_contents.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include "years/carry_forward.h"
#include "years/delete_year.h"
#include "years/import_year.h"
#include "years/open_year.h"
#include "years/backup_restore.h"
#include "years/year_backup.h"
#include "year_test_data.h"

#include <gtest/gtest.h>

namespace quendra::years {
namespace {

using test::Movement;
using test::ymd;

std::vector<Movement> movements(int year, int count) {
    std::vector<Movement> rows;
    for (int n = 1; n <= count; ++n) {
        rows.push_back({n, ymd(year, 3, n % 28 + 1), " E0101", " C0101", "Offerte " + std::to_string(n), n * 1.5, 0, 2, 0});
    }
    return rows;
}

// What a row says, for comparing rows before and after.
std::vector<std::string> described(const std::vector<Movement>& rows) {
    std::vector<std::string> out;
    for (const Movement& r : rows) {
        out.push_back(std::to_string(r.nummer) + "|" + r.datum.toIso() + "|" + r.cod + "|" + r.codd + "|" + r.text + "|" +
                      std::to_string(r.einnahme) + "|" + std::to_string(r.ausgabe) + "|" + std::to_string(r.ea));
    }
    return out;
}

class YearBackup : public ::testing::Test {
protected:
    YearBackup() {
        test::makeTemplates(data());
        test::makeYear(data(), "201401", movements(2014, 12), test::smallChart("San Pietro"));
        test::makeYear(data(), "201501", movements(2015, 30), test::smallChart("San Pietro"));
    }
    const std::filesystem::path& data() const { return dir.path(); }
    std::filesystem::path backups() const { return dir / "backup"; }

    // The one backup folder whose name ends with the operation.
    std::filesystem::path onlyBackup(const std::string& operation) const {
        const auto names = test::namesIn(backups());
        EXPECT_EQ(names.size(), 1u);
        if (names.empty()) return {};
        EXPECT_TRUE(names[0].ends_with("-" + operation)) << names[0];
        return backups() / names[0];
    }

    std::filesystem::path onlyBackupEndingWith(const std::string& operation) const {
        for (const std::string& name : test::namesIn(backups())) {
            if (name.ends_with("-" + operation)) return backups() / name;
        }
        ADD_FAILURE() << "no backup " << operation;
        return {};
    }

    // The backup brought back through the year import: the same rows as before.
    void expectRestores(const std::filesystem::path& folder, const std::string& number,
                        const std::vector<Movement>& before) {
        EXPECT_EQ(test::namesIn(folder), (std::vector<std::string>{"kr" + number + ".dbf", "kw" + number + ".dbf"}));
        const ImportOutcome outcome = importYear(data(), folder / ("kr" + number + ".dbf"));
        EXPECT_EQ(described(test::readMovements(data() / outcome.journalName)), described(before));
    }

    test::TempDir dir;
};

TEST_F(YearBackup, DeletingAYearKeepsACopyThatTheImportRestores) {
    const auto before = test::readMovements(test::journalOf(data(), "201501"));
    deleteYear(data(), "201501");
    EXPECT_FALSE(std::filesystem::exists(test::journalOf(data(), "201501")));
    expectRestores(onlyBackup("cancella-esercizio"), "201501", before);
}

TEST_F(YearBackup, EveryCarryForwardKeepsACopyOfTheYearItWritesOrReadsFrom) {
    const auto target = test::readMovements(test::journalOf(data(), "201501"));
    carryForward(data(), "201401", "201501");
    expectRestores(onlyBackup("riporto"), "201501", target);

    std::filesystem::remove_all(backups());
    carryIntoNewYear(data(), "201401");
    EXPECT_EQ(test::namesIn(onlyBackup("riporto")), (std::vector<std::string>{"kr201401.dbf", "kw201401.dbf"}));
}

TEST_F(YearBackup, ChartImportAndPackKeepACopyFirst) {
    accounts::importChart(data(), "kr201501.dbf", "201401");
    EXPECT_EQ(test::namesIn(onlyBackup("importa-piano")), (std::vector<std::string>{"kr201501.dbf", "kw201501.dbf"}));

    std::filesystem::remove_all(backups());
    openChosenYear(data(), "201501");
    EXPECT_FALSE(std::filesystem::exists(backups())) << "nothing to pack, nothing to keep";
    {
        storage::Cursor journal(test::journalOf(data(), "201501"), storage::OpenMode::Shared);
        ASSERT_TRUE(journal.gotoRecord(3));
        journal.deleteRecord();
    }
    const auto before = test::readMovements(test::journalOf(data(), "201501"));
    openChosenYear(data(), "201501");
    expectRestores(onlyBackup("riorganizza"), "201501", before);
}

TEST_F(YearBackup, OnlyTheNewestThirtyAreKept) {
    std::filesystem::create_directories(backups());
    for (int day = 1; day <= 31; ++day) {
        std::filesystem::create_directory(backups() / ("2020-01-" + std::string(day < 10 ? "0" : "") +
                                                        std::to_string(day) + "_120000-riporto"));
    }
    backupYear(data(), "201501", "cancella-esercizio");
    const auto names = test::namesIn(backups());
    ASSERT_EQ(names.size(), kBackupsKept);
    EXPECT_EQ(names.front(), "2020-01-03_120000-riporto") << "the two oldest went";
    EXPECT_TRUE(names.back().ends_with("-cancella-esercizio"));
}

TEST_F(YearBackup, ABackupThatCannotBeWrittenStopsTheOperation) {
    test::writeFile(backups(), "un file dove dovrebbe stare la cartella");
    try {
        deleteYear(data(), "201501");
        FAIL() << "the year was deleted without its backup";
    } catch (const BackupFailed& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with(
            "Non è stato possibile salvare una copia di sicurezza dell'esercizio 2015-01"))
            << e.what();
        EXPECT_NE(std::string(e.what()).find("L'operazione non è stata eseguita."), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::exists(test::journalOf(data(), "201501")));
    EXPECT_THROW(carryForward(data(), "201401", "201501"), BackupFailed);
    EXPECT_EQ(described(test::readMovements(test::journalOf(data(), "201501"))), described(movements(2015, 30)));
}

TEST_F(YearBackup, ADamagedYearIsRestoredFromItsNewestBackupAfterACopyOfTheDamage) {
    const std::filesystem::path journal = test::journalOf(data(), "201501");
    test::ScriptedPrompt prompt;
    EXPECT_FALSE(offerBackupRestore(data(), "201501", "danno", prompt)) << "no backup, nothing to offer";
    EXPECT_TRUE(prompt.shown.empty());

    backupYear(data(), "201401", "riporto");
    const std::filesystem::path saved = backupYear(data(), "201501", "riporto");
    std::string bytes = test::readFile(journal);
    bytes.replace(bytes.size() - 1025, 1024, 1024, '\0');  // a block of the rows zeroed
    test::writeFile(journal, bytes);
    EXPECT_EQ(newestBackupOf(data(), "201501"), saved);

    prompt.answer(false);
    EXPECT_FALSE(offerBackupRestore(data(), "201501", "danno", prompt));
    EXPECT_EQ(test::readFile(journal), bytes) << "declined: nothing changes";
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].noByDefault);
    EXPECT_TRUE(prompt.shown[0].text.starts_with("danno\n\nL'ultima copia di sicurezza")) << prompt.shown[0].text;

    prompt.answer(true);
    EXPECT_TRUE(offerBackupRestore(data(), "201501", "danno", prompt));
    EXPECT_EQ(described(test::readMovements(journal)), described(movements(2015, 30)));
    EXPECT_TRUE(storage::yearTableSound(storage::YearTable::Journal, journal));
    EXPECT_EQ(test::readFile(onlyBackupEndingWith("prima-del-ripristino") / "kr201501.dbf"), bytes)
        << "the damaged file is kept as it was";
}

}  // namespace
}  // namespace quendra::years
