// The main window's journal list on a year of 100,000 movements: what it costs to list
// the rows again after a change (the record numbers in the list's order) and to read one
// screenful of rows for drawing.
//
// Targets: a reload under 20 ms in number order and in date order; a screenful of 40
// rows under 1 ms.

#include "journal/journal_listing.h"
#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

namespace {

using namespace quendra;
namespace fs = std::filesystem;
namespace kr = storage::journal;

constexpr int kRows = 100'000;

class Year {
public:
    Year() {
        const fs::path path = dir_ / "kr202401.dbf";
        storage::createTable(path, kr::fields());
        {
            storage::Cursor journal(path, storage::OpenMode::Exclusive);
            std::mt19937 rng(7);
            const storage::Date first = storage::Date::fromYmd(2024, 1, 1);
            for (int i = 1; i <= kRows; ++i) {
                journal.append();
                journal.setNumber(kr::kNummer, i);
                journal.setDate(kr::kDatum, first.addDays(int(rng() % 366)));
                journal.setText(kr::kCod, " A0" + std::to_string(101 + rng() % 8));
                journal.setText(kr::kCodd, " C0101");
                journal.setText(kr::kText, "Movimento " + std::to_string(i));
                journal.setNumber(kr::kAusgabe, double(rng() % 1'000'000) / 100.0);
                journal.setNumber(kr::kEA, 1);
                journal.post();
            }
            for (const storage::TagSpec& tag : kr::kTags) journal.addTag(tag.name, tag.field);
        }
        reader_.open(path, storage::OpenMode::Shared);
    }
    ~Year() {
        reader_.close();
    }
    storage::Cursor& reader() { return reader_; }

private:
    // First, so that the files go only after every cursor on them has closed.
    quendra::test::TempDir temp_;
    fs::path dir_ = temp_.path();
    storage::Cursor reader_;
};

Year& year() {
    static Year y;
    return y;
}

void BM_ReloadByNumber(benchmark::State& state) {
    year().reader().setOrder(kr::kNummer);
    journal::JournalListing listing(year().reader());
    for (auto _ : state) {
        listing.reload();
        benchmark::DoNotOptimize(listing.rowCount());
    }
}
BENCHMARK(BM_ReloadByNumber)->Unit(benchmark::kMillisecond);

void BM_ReloadByDate(benchmark::State& state) {
    year().reader().setOrder("Datum");
    journal::JournalListing listing(year().reader());
    for (auto _ : state) {
        listing.reload();
        benchmark::DoNotOptimize(listing.rowCount());
    }
}
BENCHMARK(BM_ReloadByDate)->Unit(benchmark::kMillisecond);

void BM_ScreenfulOfRows(benchmark::State& state) {
    year().reader().setOrder("Datum");
    journal::JournalListing listing(year().reader());
    listing.reload();
    std::size_t top = 0;
    for (auto _ : state) {
        for (std::size_t row = top; row < top + 40; ++row) {
            for (const std::string& text : listing.cells(row)) benchmark::DoNotOptimize(text.data());
        }
        top = (top + 7919) % (listing.rowCount() - 40);
    }
}
BENCHMARK(BM_ScreenfulOfRows)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
