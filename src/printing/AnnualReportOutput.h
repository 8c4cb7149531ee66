#pragma once

#include "printing/QtCanvas.h"
#include "printing/annual_report.h"
#include "printing/pager.h"
#include "printing/recording_canvas.h"

#include <QPainter>
#include <QPrinter>

#include <filesystem>
#include <memory>
#include <optional>

namespace quendra::printing {

class TFDrucken;

// The print window's side of an annual-report run: the preview in its list area, or one
// print job (paper or PDF) at a time. A job still open when the run fails is ended.
class AnnualReportOutput : public AnnualReportHost {
public:
    AnnualReportOutput(TFDrucken& window, AnnualItem chosen);
    ~AnnualReportOutput() override;

    PageEngine* startOutput() override;
    void itemDone() override;
    void endDocument() override;
    void transmission() override;

private:
    PageEngine* startPreview();
    PageEngine* startPaper();

    TFDrucken& window_;
    AnnualItem chosen_;
    OutputTarget target_;  // as the user chose it; a cancelled dialog does not change it
    ReportYear year_;

    QtTextMetric metric_;
    RecordingCanvas recording_{metric_};
    std::optional<PageEngine> preview_;

    struct PaperJob;
    std::unique_ptr<PaperJob> job_;
};

}  // namespace quendra::printing
