// The carry-forward on a year of 100,000 movements through 30 cash boxes and some other
// assets: what the balances cost, and what redoing the carry into a next year of the
// same size costs (the update of "&aggiornamento esercizio precedente").
//
// Targets: the balances under 0.5 s; a whole update under 1.5 s, the automatic backup of
// the year it overwrites included.

#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "years/carry_forward.h"
#include "years/year_backup.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace quendra;
namespace fs = std::filesystem;
namespace kr = storage::journal;

constexpr int kRows = 100'000;

std::string cashBox(int i) { return " C01" + std::string(i < 10 ? "0" : "") + std::to_string(i); }

void makeJournal(const fs::path& path, int firstNumber) {
    storage::createTable(path, kr::fields());
    storage::Cursor journal(path, storage::OpenMode::Exclusive);
    for (int i = 1; i <= kRows; ++i) {
        journal.append();
        journal.setNumber(kr::kNummer, firstNumber + i);
        journal.setDate(kr::kDatum, storage::Date::fromYmd(2024, 1 + i % 12, 1 + i % 28));
        journal.setText(kr::kCod, i % 7 != 0 ? " E0101" : " C05" + std::to_string(10 + i % 5));
        journal.setText(kr::kCodd, cashBox(1 + i % 30));
        journal.setNumber(kr::kEinnahme, double(i % 10'000) / 100.0);
        journal.setNumber(kr::kEA, 2);
        journal.post();
    }
    for (const storage::TagSpec& tag : kr::kTags) journal.addTag(tag.name, tag.field, tag.primary);
}

class Years {
public:
    Years() {
        makeJournal(dir_ / "kr202401.dbf", 0);
        makeJournal(dir_ / "kr202501.dbf", 40);
        storage::createTable(dir_ / "kw202401.dbf", storage::chart::fields());
        storage::Cursor chart(dir_ / "kw202401.dbf", storage::OpenMode::Exclusive);
        for (int i = 1; i <= 30; ++i) {
            chart.append();
            chart.setText(storage::chart::kCod, cashBox(i));
            chart.setText(storage::chart::kText, "Cassa " + std::to_string(i));
            chart.post();
        }
        for (const storage::TagSpec& tag : storage::chart::kTags) chart.addTag(tag.name, tag.field, tag.primary);
    }
    const fs::path& dir() const { return dir_; }

private:
    // First, so that the files go only after every cursor on them has closed.
    quendra::test::TempDir temp_;
    fs::path dir_ = temp_.path();
};

Years& years() {
    static Years y;
    return y;
}

void BM_Balances(benchmark::State& state) {
    const fs::path journal = years().dir() / "kr202401.dbf";
    for (auto _ : state) benchmark::DoNotOptimize(years::carriedBalances(journal));
}
BENCHMARK(BM_Balances)->Unit(benchmark::kMillisecond);

void BM_UpdateCarryForward(benchmark::State& state) {
    const fs::path& dir = years().dir();
    for (auto _ : state) benchmark::DoNotOptimize(years::carryForward(dir, "202401", "202501"));
}
BENCHMARK(BM_UpdateCarryForward)->Unit(benchmark::kMillisecond);

// The share of the update that is the automatic backup of the year it overwrites.
void BM_BackupBeforeUpdate(benchmark::State& state) {
    const fs::path& dir = years().dir();
    for (auto _ : state) benchmark::DoNotOptimize(years::backupYear(dir, "202501", "riporto"));
}
BENCHMARK(BM_BackupBeforeUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
