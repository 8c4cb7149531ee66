#include "printing/AnnualReportOutput.h"

#include "platform/services.h"
#include "printing/PaperPrint.h"
#include "printing/PreviewPager.h"
#include "printing/TFDrucken.h"

#include <QApplication>

namespace quendra::printing {

struct AnnualReportOutput::PaperJob {
    QPrinter printer{QPrinter::HighResolution};
    QPainter painter;
    std::optional<QtCanvas> canvas;
    NoWaitPager pager;
    std::optional<PageEngine> engine;
    std::filesystem::path pdf;
};

AnnualReportOutput::AnnualReportOutput(TFDrucken& window, AnnualItem chosen)
    : window_(window), chosen_(chosen), target_(window.state_.target), year_(window.reportYear()) {}

AnnualReportOutput::~AnnualReportOutput() {
    if (job_ && job_->painter.isActive()) {
        job_->painter.end();
        QApplication::restoreOverrideCursor();
    }
}

PageEngine* AnnualReportOutput::startOutput() {
    window_.state_.target = target_;
    return target_ == OutputTarget::Screen ? startPreview() : startPaper();
}

PageEngine* AnnualReportOutput::startPreview() {
    window_.showPreview(&recording_);
    window_.pager_->begin();
    if (!preview_) preview_.emplace(window_.state_, recording_, *window_.pager_, year_, window_.services_.clock);
    const QSize page = window_.screenPage();
    preview_->setUpScreen(page.width(), page.height());
    return &*preview_;
}

PageEngine* AnnualReportOutput::startPaper() {
    job_ = std::make_unique<PaperJob>();
    if (!window_.preparePrinter(job_->printer, annualItemReport(chosen_), job_->pdf)) {
        window_.state_.target = OutputTarget::Cancelled;
        job_.reset();
        return nullptr;
    }
    if (!job_->painter.begin(&job_->printer)) {
        window_.services_.prompt.message(platform::PromptKind::Error, kCannotPrint);
        window_.state_.target = OutputTarget::Cancelled;
        job_.reset();
        return nullptr;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    job_->canvas.emplace(job_->painter, CanvasGeometry::paper(job_->printer.resolution()), &job_->printer);
    job_->engine.emplace(window_.state_, *job_->canvas, job_->pager, year_, window_.services_.clock);
    job_->engine->setUpPaper();
    return &*job_->engine;
}

void AnnualReportOutput::itemDone() { window_.showStartPanel(); }

void AnnualReportOutput::endDocument() {
    job_->painter.end();
    QApplication::restoreOverrideCursor();
    if (!job_->pdf.empty()) window_.offerPdf(job_->pdf);
}

void AnnualReportOutput::transmission() {
    window_.showStartPanel();
    if (window_.transmission_) window_.transmission_();
}

}  // namespace quendra::printing
