// The workbook export of a demo year of 100,000 movements, against a bare libxlsxwriter
// loop that writes the same cells with the same options and nothing else.
//
// Target: the whole export (reading the year, building the sheets, writing the file)
// within 1.3 times the bare loop, with the year open as the main window holds it while
// the export runs. The cold export also opens the journal and reads its index.

#include "export/workbook.h"
#include "export/workbook_file.h"
#include "export/year_export.h"
#include "storage/dbase/cursor.h"
#include "storage/demo_data.h"
#include "storage/year_files.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace {

using namespace quendra;
namespace fs = std::filesystem;

constexpr int kMovements = 100'000;

struct Cell {
    lxw_row_t row;
    lxw_col_t column;
    spreadsheet::CellValue value;
};

class Year {
public:
    Year() {
        journal_ = dir_ / storage::makeDemoDataDirectory(dir_, fs::path(QUENDRA_RUNTIME_DIR) / "krw",
                                                         {2015, kMovements, 7});
        chart_ = dir_ / storage::chartNameOfJournal(journal_.filename().string());
        const spreadsheet::Workbook book = spreadsheet::buildWorkbook(journal_, chart_, "201501");
        for (const spreadsheet::Sheet* sheet : book.sheets()) {
            names_.push_back(sheet->name());
            std::vector<Cell>& cells = cells_.emplace_back();
            for (std::size_t row = 1; row <= sheet->lastRow(); ++row) {
                const auto& values = sheet->row(row);
                for (std::size_t column = 0; column < values.size(); ++column) {
                    if (std::holds_alternative<std::monostate>(values[column])) continue;
                    cells.push_back({lxw_row_t(row - 1), lxw_col_t(column), values[column]});
                }
            }
            cellCount_ += cells.size();
        }
    }

    const fs::path& journal() const { return journal_; }
    const fs::path& chart() const { return chart_; }
    fs::path target() const { return dir_ / "out" / "tovald.mappe.xlsx"; }
    std::size_t cellCount() const { return cellCount_; }

    // The main window's cursors on the open year.
    void holdOpen() {
        if (!journalCursor_.isOpen()) journalCursor_.open(journal_, storage::OpenMode::Shared);
    }
    void release() { journalCursor_.close(); }

    // The yardstick: the same cells, straight into the library.
    void writeBare(const fs::path& file) const {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        lxw_workbook* workbook = workbook_new_opt(file.c_str(), &options);
        for (std::size_t s = 0; s < names_.size(); ++s) {
            lxw_worksheet* sheet = workbook_add_worksheet(workbook, names_[s].c_str());
            for (const Cell& cell : cells_[s]) {
                if (const auto* text = std::get_if<std::string>(&cell.value)) {
                    worksheet_write_string(sheet, cell.row, cell.column, text->c_str(), nullptr);
                } else {
                    worksheet_write_number(sheet, cell.row, cell.column, std::get<double>(cell.value), nullptr);
                }
            }
        }
        if (workbook_close(workbook) != LXW_NO_ERROR) throw std::runtime_error("libxlsxwriter failed");
    }

private:
    quendra::test::TempDir temp_;
    fs::path dir_ = temp_.path();
    fs::path journal_, chart_;
    storage::Cursor journalCursor_;
    std::vector<std::string> names_;
    std::vector<std::vector<Cell>> cells_;
    std::size_t cellCount_ = 0;
};

Year& year() {
    static Year y;
    return y;
}

// Each benchmark makes sure the year exists before its timed loop.
void BM_ExportYear(benchmark::State& state) {
    Year& y = year();
    y.holdOpen();
    for (auto _ : state) spreadsheet::exportYear(y.journal(), y.chart(), "201501", y.target());
    state.counters["cells"] = double(y.cellCount());
}
BENCHMARK(BM_ExportYear)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BuildSheetsOnly(benchmark::State& state) {
    Year& y = year();
    y.holdOpen();
    for (auto _ : state) benchmark::DoNotOptimize(spreadsheet::buildWorkbook(y.journal(), y.chart(), "201501"));
}
BENCHMARK(BM_BuildSheetsOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExportYearCold(benchmark::State& state) {
    Year& y = year();
    y.release();
    for (auto _ : state) spreadsheet::exportYear(y.journal(), y.chart(), "201501", y.target());
}
BENCHMARK(BM_ExportYearCold)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BareLibxlsxwriterLoop(benchmark::State& state) {
    const Year& y = year();
    fs::create_directories(y.target().parent_path());
    for (auto _ : state) y.writeBare(y.target().parent_path() / "bare.xlsx");
    state.counters["cells"] = double(y.cellCount());
}
BENCHMARK(BM_BareLibxlsxwriterLoop)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
