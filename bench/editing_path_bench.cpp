// The journal window's editing path at a year's full size: each movement is added with
// "&nuovo record", then its date, text, account, cash box and amount are typed one after
// another, six posts per movement, every tag kept up to date on disk. The year lies in
// /dev/shm where there is one, so that the figure is the engine's CPU and not the disk's
// flush (BM_PostTextField beside BM_DiskFdatasync in table_bench measures that).
//
// Goal: 100,000 movements in under 10 s of CPU, 100 µs per movement (cpu_us_per_movement).

#include "journal/journal_entry.h"
#include "demo_session.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

namespace {

using namespace quendra;
namespace fs = std::filesystem;

constexpr int kMovements = 100'000;

double cpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void BM_EditingPath100kMovements(benchmark::State& state) {
    if (fs::is_directory("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 1);
    const char* texts[] = {"Offerta S. Messa domenicale", "Bolletta luce canonica", "Elemosine per i poveri"};
    const char* accounts[] = {"E0101", "A0201", "E0301", "A0101"};
    for (auto _ : state) {
        state.PauseTiming();
        test::TempDir dir;
        bench::makeDemoYear(dir.path(), 1);
        state::MainState main;
        bench::YesPrompt prompt;
        bench::FixedClock clock;
        bench::NoShell shell;
        platform::Services services{prompt, clock, shell};
        journal::YearCursors year;
        year.openJournal(dir.path() / "kr202601.dbf");
        year.openCharts(dir.path() / "kw202601.dbf");
        journal::EntryContext context{main, services, year};
        state.ResumeTiming();
        const double cpuBefore = cpuSeconds();
        for (int i = 0; i < kMovements; ++i) {
            journal::newMovement(context);
            journal::storeDate(context, "15.06.2026");
            journal::storeText(context, texts[i % 3]);
            journal::storeAccount(context, accounts[i % 4]);
            journal::storeCashBox(context, "C0101");
            journal::storeAmount(context, std::to_string(1 + i % 500) + ",50");
        }
        const double cpu = cpuSeconds() - cpuBefore;
        state.counters["cpu_s"] = cpu;
        state.counters["cpu_us_per_movement"] = cpu * 1e6 / kMovements;
        state.counters["goal_cpu_s"] = 10;
        state.PauseTiming();
        year.closeAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditingPath100kMovements)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
