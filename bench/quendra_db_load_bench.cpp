// `quendra-db load` of a 100,000-row journal with its four tags, as the maintainer runs it:
// a new table, and the same rows replacing an existing one. Process start and the final
// sync are part of the time, because the user waits for both.

#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kRows = 100'000;

const char* kFields =
    "NUMMER:N:6:0,DATUM:D,COD:C:6,CODD:C:6,TEXT:C:63,EINNAHME:N:12:2,AUSGABE:N:12:2,EA:N:1:0,EROEFFNUNG:N:1:0";
const char* kTags = "--tag NUMMER=NUMMER --tag COD=COD --tag DATUM=DATUM --tag CODD=CODD";

class Workspace {
public:
    Workspace() {
        std::ofstream csv(rows());
        csv << "NUMMER,DATUM,COD,CODD,TEXT,EINNAHME,AUSGABE,EA,EROEFFNUNG\n";
        for (int i = 1; i <= kRows; ++i) {
            const int month = 1 + i % 12;
            const int day = 1 + i % 28;
            csv << i << ",2024-" << (month < 10 ? "0" : "") << month << '-' << (day < 10 ? "0" : "") << day
                << ", E01" << 10 + i % 80 << ", C01" << 10 + i % 30 << ",Offerta domenicale " << i << ','
                << i % 10'000 / 100 << '.' << (i % 100 < 10 ? "0" : "") << i % 100 << ",0.00,1,0\n";
        }
    }

    fs::path rows() const { return dir_ / "rows.csv"; }
    fs::path table() const { return dir_ / "kr202401.dbf"; }

    void load(bool replace) const {
        const std::string command = std::string("\"") + QUENDRA_RUNTIME_DIR + "/quendra-db\" load \"" +
                                    table().string() + "\" --fields " + kFields + ' ' + kTags +
                                    (replace ? " --replace" : "") + " < \"" + rows().string() + '"';
        if (std::system(command.c_str()) != 0) throw std::runtime_error("quendra-db load failed");
    }

    void removeTable() const {
        fs::remove(table());
        fs::remove(dir_ / "kr202401.mdx");
    }

private:
    quendra::test::TempDir dir_;
};

const Workspace& workspace() {
    static const Workspace instance;
    return instance;
}

void BM_LoadNewTable(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        workspace().removeTable();
        state.ResumeTiming();
        workspace().load(false);
    }
}
BENCHMARK(BM_LoadNewTable)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_LoadReplacingTable(benchmark::State& state) {
    workspace().load(true);
    for (auto _ : state) workspace().load(true);
}
BENCHMARK(BM_LoadReplacingTable)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
