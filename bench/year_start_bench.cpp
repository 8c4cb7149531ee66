// A year of 100,000 movements as its users meet it: the program opening it (the checks
// and repairs of its tables, the counts and the cursors the journal window starts from)
// and `quendra-report bilancio` writing the annual report, a process from start to PDF.
// Each runs cold in its process: what an open kept in memory is not carried over.
//
// Goals: the year open in under 0.2 s; bilancio in under 0.5 s.

#include "journal/activation.h"
#include "demo_session.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace quendra;
namespace fs = std::filesystem;

constexpr int kMovements = 100'000;

const fs::path& demoYear() {
    static const test::TempDir dir;
    static const bool made = (bench::makeDemoYear(dir.path(), kMovements), true);
    (void)made;
    return dir.path();
}

void BM_OpenYear(benchmark::State& state) {
    const fs::path& dir = demoYear();
    for (auto _ : state) {
        state::MainState main;
        main.dataDir = dir;
        main.programDir = dir;
        main.settings.hauptdatei = "kr202601.dbf";
        main.settings.konto = "kw202601.dbf";
        bench::YesPrompt prompt;
        bench::FixedClock clock;
        bench::NoShell shell;
        platform::Services services{prompt, clock, shell};
        journal::YearCursors year;
        journal::EntryContext context{main, services, year};
        if (journal::activate(context, {}) != journal::ActivationResult::Ready) throw std::runtime_error("no year");
        state.PauseTiming();
        year.closeAll();
        state.ResumeTiming();
    }
    state.counters["goal_s"] = 0.2;
}
// Once: a second open in the same process would find the tables it kept.
BENCHMARK(BM_OpenYear)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_BilancioProcess(benchmark::State& state) {
    const fs::path& dir = demoYear();
    const std::string command = std::string("\"") + QUENDRA_RUNTIME_DIR + "/quendra-report\" --data \"" + dir.string() +
                                "\" --year 202601 bilancio --pdf \"" + (dir / "bilancio.pdf").string() + "\"";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) throw std::runtime_error("quendra-report failed");
    }
    state.counters["goal_s"] = 0.5;
}
BENCHMARK(BM_BilancioProcess)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
