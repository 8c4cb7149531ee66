#pragma once

// Every report, by the name quendra-report knows it by.
//
// A report is one function in a file of its own: it gets the page engine (already set up
// for screen or paper by runReport(), with the year, the canvas and the pager inside it)
// and the options, walks its rows and draws through the engine's primitives. To add a
// report, write that function and put it into its line of the table in
// report_catalog.cpp. The print window and quendra-report find it with findReport() and
// run it with runReport().

#include "printing/page_engine.h"
#include "printing/report_options.h"

#include <span>
#include <string>
#include <string_view>

namespace quendra::printing {

using ReportFunction = void (*)(PageEngine& engine, const ReportOptions& options);

struct ReportEntry {
    std::string_view name;      // "piano"
    std::string_view fileStem;  // "piano-conti": the proposed PDF is fileStem-2026-01.pdf
    ReportKind kind = ReportKind::AllMovements;
    bool cashBoxMode = false;        // "situazione &liquidita", "estratto &conto a scelta"
    bool accountChoiceMode = false;  // "estratto &conto a scelta"
    ReportFunction run = nullptr;    // nullptr: not built yet
};

// All reports, built or not, in the order --help lists them.
std::span<const ReportEntry> reportCatalog();

// The entry of a name; nullptr for a name no report has.
const ReportEntry* findReport(std::string_view name);

// "piano-conti-2026-01.pdf".
std::string proposedPdfName(const ReportEntry& entry, std::string_view yearNumber);

// "Situazione liquidita - esercizio 2026/01 - Parrocchia San Vigilio (Lavis)": the
// title of the report's document, naming the report, the year and the parish of the
// chart's header row. Throws the engine's DbError when the chart cannot be read.
std::string documentTitle(const ReportEntry& entry, const ReportYear& year);

// Puts the report's kind and modes and the options' selection into the state.
void prepareState(const ReportEntry& entry, const ReportOptions& options, PrintState& state);

// Set-up, report, closing, on the target the engine's state says (paper when its target
// is the printer or a PDF, else the preview of the given screen size).
void runReport(const ReportEntry& entry, PageEngine& engine, const ReportOptions& options, int screenWidth = 0,
               int screenHeight = 0);

}  // namespace quendra::printing
