// The diocese's consolidation over an archive of many parishes: the time of consolidate()
// and its workbook beside the time to read the same rows bare, and the peak memory.
//
// usage: consolida_bench [PARISHES MOVEMENTS]   (default 50 500; the target: 1000 5000
// under 60 s and 1 GB on a 2-core machine)

#include "curia/archive.h"
#include "curia/consolidation.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/table_ops.h"
#include "storage/journal_record.h"
#include "transfer/parish_info.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <charconv>
#include <chrono>
#include <cstring>
#include <iostream>
#include <sys/resource.h>

namespace {

using namespace quendra;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int argument(char** argv, int index, int fallback) {
    int value = fallback;
    const char* text = argv[index];
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

// One parish's year: opening balances, then income and expense through three cash boxes.
void makeYear(const fs::path& dir, int movements) {
    std::vector<test::Movement> rows;
    const char* boxes[] = {" C0101", " C0102", " C0201"};
    for (int i = 0; i < movements; ++i) {
        const bool in = i % 3 != 0;
        const double amount = 10 + (i * 37 % 1000) / 4.0;
        rows.push_back({i + 1, test::ymd(2026, 1 + i % 12, 1 + i % 28), in ? " E0101" : " A0201", boxes[i % 3],
                        "movimento", in ? amount : 0, in ? 0 : amount, in ? 2 : 1, 0});
    }
    test::makeJournal(dir / "KR202601.dbf", rows, false);
    storage::Cursor chart;
    storage::createTable(dir / "KW202601.dbf", storage::chart::fields());
    chart.open(dir / "KW202601.dbf", storage::OpenMode::Exclusive);
    for (const char* code : {"  PFAR", " A0201", " C0101", " C0102", " C0201", " E0101"}) {
        chart.append();
        chart.setText(storage::chart::kCod, code);
        chart.setText(storage::chart::kText, "Conto");
        chart.post();
    }
}

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string text(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2).ptr;
    return std::string(buffer, end);
}

}  // namespace

int main(int argc, char** argv) {
    const int parishes = argc > 2 ? argument(argv, 1, 50) : 50;
    const int movements = argc > 2 ? argument(argv, 2, 500) : 500;
    test::TempDir home;
    const fs::path model = home / "modello";
    fs::create_directories(model);
    makeYear(model, movements);
    for (int p = 0; p < parishes; ++p) {
        const std::string key = "parrocchia-" + std::to_string(p);
        const fs::path folder = home / "archivio" / key / "2026" / "20270110-090000-12345";
        fs::create_directories(folder);
        fs::copy_file(model / "KR202601.dbf", folder / "KR202601.dbf");
        fs::copy_file(model / "KW202601.dbf", folder / "KW202601.dbf");
        transfer::writeParishInfo(folder / "info.txt", {"2026", {"Parrocchia " + std::to_string(p), "Luogo",
                                                                 "Decanato " + std::to_string(p % 25)}, "a@b", {}});
    }

    const auto bareStart = Clock::now();
    double bare = 0;
    for (const curia::ArchivedYear& year : curia::archivedYears(home / "archivio")) {
        storage::Cursor rows(year.current / "KR202601.dbf", storage::OpenMode::Shared);
        rows.setPhysicalOrder();
        for (rows.first(); !rows.eof(); rows.next()) {
            bare += rows.asNumber(storage::journal::kEinnahme) - rows.asNumber(storage::journal::kAusgabe);
        }
    }
    const double bareSeconds = seconds(bareStart);

    const auto start = Clock::now();
    const curia::Consolidation result = curia::consolidate(home / "archivio", "2026", {});
    curia::saveConsolidationWorkbook(result, home / "consolidato.xlsx");
    const double consolidateSeconds = seconds(start);

    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::cout << std::to_string(parishes) << " parrocchie x " << std::to_string(movements) << " movimenti: consolida " << text(consolidateSeconds)
              << " s, lettura semplice delle stesse righe " << text(bareSeconds) << " s, memoria massima "
              << std::to_string(usage.ru_maxrss / 1024) << " MB (" << std::to_string(result.parishes.size())
              << " righe, controllo " << text(bare) << ")\n";
    return result.parishes.size() == std::size_t(parishes) ? 0 : 1;
}
