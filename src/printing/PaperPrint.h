#pragma once

#include "platform/clock.h"
#include "printing/print_state.h"
#include "printing/report_catalog.h"

#include <QString>

class QPrinter;

namespace quendra::printing {

// When the printer (or the PDF file) cannot begin a document.
inline constexpr const char* kCannotPrint = "Impossibile avviare la stampa.";

// A4 portrait, 5-mm margins (the printable area's origin), the report's document title;
// PDF/A-1b, fonts embedded, when a file is given.
void configurePrinter(QPrinter& printer, const QString& title, const QString& pdfFile = {});

// Runs the report onto the printer (paper or PDF) with the paper geometry. The state's
// kind and modes are the caller's (prepareState); the target becomes printer or PDF.
// Throws what the report throws (the engine's DbError with an Italian message); false
// when the printer cannot begin a document. A PDF names the parish as its author.
bool printReport(const ReportEntry& entry, const ReportOptions& options, const ReportYear& year, PrintState& state,
                 QPrinter& printer, const platform::Clock& clock);

}  // namespace quendra::printing
