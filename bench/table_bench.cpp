// The table engine on a journal of 100,000 rows with its four tags, and the same file
// read by shapelib as a yardstick.
//
// Goals: a tagged-field post (BM_PostIndexedField) within 1.2 times the disk's own
// in-place fdatasync (BM_DiskFdatasync), medians of the same run; an exact find under
// 20 µs; open plus full scan read beside shapelib's. The window's editing path at
// 100,000 movements is editing_path_bench.

#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_ops.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>
#include <shapefil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace quendra::storage;
namespace fs = std::filesystem;

constexpr int kRows = 100'000;
constexpr std::uint32_t kSeed = 2024;

const std::vector<std::string>& accountCodes() {
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> out;
        for (const char cls : {'A', 'E', 'P', 'V'}) {
            for (int group = 1; group <= 6; ++group) {
                for (int sub = 1; sub <= 5; ++sub) {
                    char code[8];
                    std::snprintf(code, sizeof code, " %c%02d%02d", cls, group, sub);
                    out.emplace_back(code);
                }
            }
        }
        return out;
    }();
    return codes;
}

const std::vector<std::string> kCashBoxes = {" C0101", " C0102", " C0201", " C0301", " C0401"};
const std::vector<std::string> kTexts = {
    "Offerta S. Messa domenicale", "Spese per fiori e candele – altare", "Caffè e città: rimborso viaggio",
    "Bolletta luce canonica", "Elemosine per i poveri", "Quota diocesana €", "Manutenzione organo",
    "Stampa del bollettino parrocchiale n. ",
};

Date firstDay() { return Date::fromYmd(2024, 1, 1); }

// Appends movements numbered 1 … rows through an open cursor; always the same rows.
void appendMovements(Cursor& journal, int rows) {
    std::mt19937 rng(kSeed);
    const auto pick = [&rng](std::size_t n) { return std::size_t(rng() % n); };
    for (int i = 1; i <= rows; ++i) {
        const bool income = rng() % 3 != 0;
        const double amount = double(rng() % 10'000'000) / 100.0;
        journal.append();
        journal.setNumber(journal::kNummer, i);
        journal.setDate(journal::kDatum, firstDay().addDays(int(pick(366))));
        journal.setText(journal::kCod, accountCodes()[pick(accountCodes().size())]);
        journal.setText(journal::kCodd, kCashBoxes[pick(kCashBoxes.size())]);
        journal.setText(journal::kText, kTexts[pick(kTexts.size())] + std::to_string(i));
        journal.setNumber(journal::kEinnahme, income ? amount : 0);
        journal.setNumber(journal::kAusgabe, income ? 0 : amount);
        journal.setNumber(journal::kEA, income ? 2 : 1);
        journal.setNumber(journal::kEroeffnung, i <= 20 ? 2 : 0);
        journal.post();
    }
}

std::vector<TagField> journalTags() {
    std::vector<TagField> tags;
    for (const TagSpec& tag : journal::kTags) tags.push_back({std::string(tag.name), std::string(tag.field)});
    return tags;
}

void copyTableFiles(const fs::path& from, const fs::path& to) {
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    fs::copy_file(indexPathFor(from), indexPathFor(to), fs::copy_options::overwrite_existing);
}

// The files every benchmark works on, in a directory of their own that goes at the end.
class Workspace {
public:
    Workspace() {
        journal_ = dir_ / "kr202401.dbf";
        createTable(journal_, journal::fields());
        {
            Cursor table(journal_, OpenMode::Exclusive);
            appendMovements(table, kRows);
        }
        reindexTable(journal_, journalTags());
    }

    ~Workspace() {
        editor_.reset();
    }

    const fs::path& dir() const { return dir_; }
    // The 100,000-row journal with its four tags; benchmarks read it and leave it as it is.
    const fs::path& journal() const { return journal_; }

    // A cursor on a copy of the journal that the edit benchmarks change; it stays open
    // across their repetitions, so each repetition times one post.
    Cursor& editor() {
        if (!editor_) {
            const fs::path copy = dir_ / "kr202402.dbf";
            copyTableFiles(journal_, copy);
            editor_ = std::make_unique<Cursor>(copy, OpenMode::Exclusive);
        }
        return *editor_;
    }

private:
    // First, so that the files go only after every cursor on them has closed.
    quendra::test::TempDir temp_;
    fs::path dir_ = temp_.path();
    fs::path journal_;
    std::unique_ptr<Cursor> editor_;
};

std::unique_ptr<Workspace> gWorkspace;

Workspace& workspace() {
    if (!gWorkspace) gWorkspace = std::make_unique<Workspace>();
    return *gWorkspace;
}

void BM_AppendWithFourTags(benchmark::State& state) {
    const fs::path path = workspace().dir() / "append.dbf";
    for (auto _ : state) {
        state.PauseTiming();
        createTable(path, journal::fields(), true);
        Cursor table(path, OpenMode::Exclusive);
        for (const TagSpec& tag : journal::kTags) table.addTag(tag.name, tag.field, tag.primary);
        state.ResumeTiming();
        appendMovements(table, kRows);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_AppendWithFourTags)->Unit(benchmark::kMillisecond)->Iterations(1);

// Reads every field of every row, as a report does.
double scanAll(Cursor& table) {
    const FieldList& fields = table.fields();
    double sum = 0;
    for (table.first(); !table.eof(); table.next()) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            switch (fields[i].type) {
            case FieldType::Character: sum += double(table.asText(i).size()); break;
            case FieldType::Date: sum += table.asDate(i).julianDay(); break;
            default: sum += table.asNumber(i);
            }
        }
    }
    return sum;
}

void BM_OpenAndFullScan(benchmark::State& state) {
    const fs::path& path = workspace().journal();
    for (auto _ : state) {
        Cursor table(path, OpenMode::Shared);
        benchmark::DoNotOptimize(scanAll(table));
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_OpenAndFullScan)->Unit(benchmark::kMillisecond);

void BM_ShapelibOpenAndFullScan(benchmark::State& state) {
    const std::string path = workspace().journal().string();
    for (auto _ : state) {
        DBFHandle dbf = DBFOpen(path.c_str(), "rb");
        if (!dbf) return state.SkipWithError("shapelib cannot open the journal");
        const int fields = DBFGetFieldCount(dbf);
        std::vector<DBFFieldType> types;
        for (int f = 0; f < fields; ++f) types.push_back(DBFGetFieldInfo(dbf, f, nullptr, nullptr, nullptr));
        double sum = 0;
        const int records = DBFGetRecordCount(dbf);
        for (int r = 0; r < records; ++r) {
            if (DBFIsRecordDeleted(dbf, r)) continue;
            for (int f = 0; f < fields; ++f) {
                if (types[std::size_t(f)] == FTDouble || types[std::size_t(f)] == FTInteger) {
                    sum += DBFReadDoubleAttribute(dbf, r, f);
                } else {
                    sum += double(std::string(DBFReadStringAttribute(dbf, r, f)).size());
                }
            }
        }
        benchmark::DoNotOptimize(sum);
        DBFClose(dbf);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ShapelibOpenAndFullScan)->Unit(benchmark::kMillisecond);

// The two halves of open plus scan, to see where the time goes.
void BM_OpenOnly(benchmark::State& state) {
    const fs::path& path = workspace().journal();
    for (auto _ : state) {
        Cursor table(path, OpenMode::Shared);
        benchmark::DoNotOptimize(table.recordCount());
    }
}
BENCHMARK(BM_OpenOnly)->Unit(benchmark::kMillisecond);

void BM_FullScanOnly(benchmark::State& state) {
    Cursor table(workspace().journal(), OpenMode::Shared);
    for (auto _ : state) benchmark::DoNotOptimize(scanAll(table));
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FullScanOnly)->Unit(benchmark::kMillisecond);

void BM_WalkTag(benchmark::State& state) {
    const TagSpec& tag = journal::kTags[std::size_t(state.range(0))];
    state.SetLabel(std::string(tag.name));
    Cursor table(workspace().journal(), OpenMode::Shared);
    table.setOrder(tag.name);
    const std::size_t field = table.fieldIndex(tag.field);
    for (auto _ : state) {
        std::size_t rows = 0;
        for (table.first(); !table.eof(); table.next()) {
            benchmark::DoNotOptimize(table.isBlank(field));
            ++rows;
        }
        if (rows != std::size_t(kRows)) return state.SkipWithError("the tag does not cover every row");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_WalkTag)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// One exact find per iteration, 10,000 of them, on random keys that exist.
void BM_FindExact(benchmark::State& state) {
    const TagSpec& tag = journal::kTags[std::size_t(state.range(0))];
    state.SetLabel(std::string(tag.name));
    Cursor table(workspace().journal(), OpenMode::Shared);
    std::mt19937 rng(kSeed + 1);
    std::vector<KeyValue> keys;
    for (int i = 0; i < 10'000; ++i) {
        if (tag.field == journal::kNummer) keys.emplace_back(double(1 + rng() % kRows));
        if (tag.field == journal::kCod) keys.emplace_back(accountCodes()[rng() % accountCodes().size()]);
        if (tag.field == journal::kDatum) keys.emplace_back(firstDay().addDays(int(rng() % 366)));
        if (tag.field == journal::kCodd) keys.emplace_back(kCashBoxes[rng() % kCashBoxes.size()]);
    }
    table.setOrder(tag.name);
    std::size_t next = 0;
    for (auto _ : state) {
        if (!table.findKey(keys[next++ % keys.size()])) return state.SkipWithError("a key was not found");
    }
}
BENCHMARK(BM_FindExact)->DenseRange(0, 3)->Iterations(10'000)->Unit(benchmark::kMicrosecond);

// One range per iteration, 1,000 of them: a week of movements by date, every row read.
void BM_RangeScanWeek(benchmark::State& state) {
    Cursor table(workspace().journal(), OpenMode::Shared);
    table.setOrder("datum");
    std::mt19937 rng(kSeed + 2);
    const std::size_t einnahme = table.fieldIndex(journal::kEinnahme);
    std::size_t rows = 0;
    for (auto _ : state) {
        const Date from = firstDay().addDays(int(rng() % 360));
        table.setRange(from, from.addDays(6));
        double sum = 0;
        for (; !table.eof(); table.next()) {
            sum += table.asNumber(einnahme);
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows_per_range"] = double(rows) / double(state.iterations());
}
BENCHMARK(BM_RangeScanWeek)->Iterations(1'000)->Unit(benchmark::kMicrosecond);

struct Edit {
    std::uint32_t recno;
    std::string value;
};

// Random rows and values, drawn before the clock runs.
std::vector<Edit> drawEdits(const std::vector<std::string>& values, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<Edit> edits;
    for (int i = 0; i < 4'096; ++i) {
        const std::uint32_t recno = 1 + rng() % kRows;
        edits.push_back({recno, values[rng() % values.size()]});
    }
    return edits;
}

// One post per repetition; the aggregates over the repetitions give the median post.
void postOneField(benchmark::State& state, std::string_view field, const std::vector<Edit>& edits,
                  std::size_t& next) {
    Cursor& table = workspace().editor();
    for (auto _ : state) {
        const Edit& edit = edits[next++ % edits.size()];
        table.gotoRecord(edit.recno);
        table.edit();
        table.setText(field, edit.value);
        table.post();
    }
}

double maxOf(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

double p90Of(const std::vector<double>& v) {
    std::vector<double> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() * 9 / 10];
}

// One timed run per repetition; median, p90 and maximum over 1,000 of them.
void onePerRepetition(benchmark::internal::Benchmark* b) {
    b->Iterations(1)
        ->Repetitions(1'000)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("p90", p90Of)
        ->ComputeStatistics("max", maxOf)
        ->Unit(benchmark::kMicrosecond);
}

void BM_PostIndexedField(benchmark::State& state) {
    static const std::vector<Edit> edits = drawEdits(accountCodes(), kSeed + 3);
    static std::size_t next = 0;
    postOneField(state, journal::kCod, edits, next);
}
BENCHMARK(BM_PostIndexedField)->Apply(onePerRepetition);

void BM_PostTextField(benchmark::State& state) {
    static const std::vector<Edit> edits = drawEdits(kTexts, kSeed + 4);
    static std::size_t next = 0;
    postOneField(state, journal::kText, edits, next);
}
BENCHMARK(BM_PostTextField)->Apply(onePerRepetition);

// The yardstick of the durable posts: a row overwritten in place in a file of the
// journal's size and its fdatasync, as the disk does it without any engine around (an
// append would also commit the file's new length, which a post does not).
void BM_DiskFdatasync(benchmark::State& state) {
    const fs::path path = workspace().dir() / "fdatasync.probe";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("probe file");
    const std::string row(106, ' ');
    const std::string whole(std::size_t(kRows) * row.size(), ' ');
    if (::pwrite(fd, whole.data(), whole.size(), 0) != ssize_t(whole.size()) || ::fsync(fd) != 0) {
        throw std::runtime_error("probe file");
    }
    std::mt19937 random(kSeed);
    for (auto _ : state) {
        const off_t offset = off_t(random() % kRows) * off_t(row.size());
        if (::pwrite(fd, row.data(), row.size(), offset) != ssize_t(row.size()) || ::fdatasync(fd) != 0) {
            throw std::runtime_error("probe write");
        }
    }
    ::close(fd);
    fs::remove(path);
}
BENCHMARK(BM_DiskFdatasync)->Apply(onePerRepetition);

// Pack of a journal where every tenth row is deleted.
void BM_Pack(benchmark::State& state) {
    const fs::path source = workspace().dir() / "kr202403.dbf";
    const fs::path path = workspace().dir() / "kr202404.dbf";
    copyTableFiles(workspace().journal(), source);
    {
        Cursor table(source, OpenMode::Exclusive);
        for (std::uint32_t recno = 10; recno <= kRows; recno += 10) {
            table.gotoRecord(recno);
            table.deleteRecord();
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        copyTableFiles(source, path);
        state.ResumeTiming();
        packTable(path);
    }
}
BENCHMARK(BM_Pack)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ReindexFourTags(benchmark::State& state) {
    const fs::path path = workspace().dir() / "kr202405.dbf";
    copyTableFiles(workspace().journal(), path);
    const std::vector<TagField> tags = journalTags();
    for (auto _ : state) reindexTable(path, tags);
}
BENCHMARK(BM_ReindexFourTags)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gWorkspace.reset();  // closes the cursors before the table registry goes
    return 0;
}
