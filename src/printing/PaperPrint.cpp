#include "printing/PaperPrint.h"

#include "printing/QtCanvas.h"
#include "printing/chart_texts.h"
#include "printing/pdf_author.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace quendra::printing {

void configurePrinter(QPrinter& printer, const QString& title, const QString& pdfFile) {
    if (!pdfFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile);
        // The archivable kind an office keeps for years.
        printer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    }
    printer.setDocName(title);
    printer.setCreator(QStringLiteral("Quendra"));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                      QPageLayout::Millimeter));
}

bool printReport(const ReportEntry& entry, const ReportOptions& options, const ReportYear& year, PrintState& state,
                 QPrinter& printer, const platform::Clock& clock) {
    state.target = printer.outputFormat() == QPrinter::PdfFormat ? OutputTarget::Pdf : OutputTarget::Printer;
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    QtCanvas canvas(painter, CanvasGeometry::paper(printer.resolution()), &printer);
    NoWaitPager pager;
    PageEngine engine(state, canvas, pager, year, clock);
    try {
        runReport(entry, engine, options);
    } catch (...) {
        painter.end();
        throw;
    }
    if (!painter.end()) return false;
    if (state.target == OutputTarget::Pdf) {
        // The parish signs what it files; without its name the PDF is still the report.
        addPdfAuthor(printer.outputFileName().toStdString(), ChartTexts(year.chartPath).parish().text);
    }
    return true;
}

}  // namespace quendra::printing
