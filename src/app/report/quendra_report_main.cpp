// quendra-report: runs a report without a display and writes it as PDF.

#include "export/year_export.h"
#include "platform/clock.h"
#include "printing/PaperPrint.h"
#include "printing/report_catalog.h"
#include "printing/report_command.h"
#include "storage/dbase/cursor.h"
#include "storage/year_files.h"

#include <QApplication>
#include <QPrinter>

#include <clocale>
#include <filesystem>
#include <iostream>
#include <vector>

using namespace quendra;

namespace {

int fail(const std::string& message) {
    std::cerr << message << "\n";
    return 1;
}

// Held for the whole run, so that the report's many queries read the year from memory
// instead of opening and checking its files again each time. A file that cannot be held
// is left to the report, which says why in its own words.
std::vector<storage::Cursor> holdYear(const printing::ReportYear& year) {
    std::vector<storage::Cursor> held;
    for (const std::filesystem::path& table : {year.journalPath, year.chartPath}) {
        try {
            held.emplace_back(table, storage::OpenMode::Shared);
        } catch (const std::exception&) {
        }
    }
    return held;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    printing::ReportCommand command;
    try {
        command = printing::parseReportCommand(args, storage::dataDirectory(storage::programDirectory()));
    } catch (const std::exception& error) {
        return fail(error.what());
    }
    if (command.help) {
        std::cout << printing::reportCommandHelp();
        return 0;
    }

    const std::vector<storage::Cursor> held = holdYear(command.year);
    if (command.workbook()) {
        try {
            spreadsheet::exportYear(command.year.journalPath, command.year.chartPath, command.year.yearNumber, command.xlsx);
        } catch (const std::exception& error) {
            return fail(error.what());
        }
        return 0;
    }

    // No display, and none of Qt's English chatter on stderr: that belongs to our errors.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    // QApplication adopts the desktop's locale for the C library too; under it_IT a
    // library that prints numbers with printf would write decimal commas into files.
    std::setlocale(LC_NUMERIC, "C");

    // Written aside and renamed into place: a failed run never leaves half a PDF.
    const std::filesystem::path partial = command.pdf.string() + ".part";
    const printing::ReportEntry& entry = *printing::findReport(command.report);
    platform::SystemClock clock;
    printing::PrintState state;
    printing::prepareState(entry, command.options, state);
    try {
        QPrinter printer(QPrinter::HighResolution);
        printing::configurePrinter(printer, QString::fromStdString(printing::documentTitle(entry, command.year)),
                                   QString::fromStdString(partial.string()));
        if (!printing::printReport(entry, command.options, command.year, state, printer, clock)) {
            std::filesystem::remove(partial);
            return fail("Impossibile scrivere il file " + command.pdf.string());
        }
    } catch (const std::exception& error) {
        std::filesystem::remove(partial);
        return fail(error.what());
    }
    std::error_code renameError;
    std::filesystem::rename(partial, command.pdf, renameError);
    if (renameError) {
        std::filesystem::remove(partial);
        return fail("Impossibile scrivere il file " + command.pdf.string());
    }
    return 0;
}
