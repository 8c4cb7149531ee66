#include "widgets/TProgress.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace quendra::widgets {

TProgress::TProgress(state::MainState&, platform::Services&, QWidget* parent) : QDialog(parent) {
    setObjectName("TProgress");
    setWindowTitle("Progress");
    setModal(false);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar1");
    bar_->setRange(0, 100);
    bar_->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    resize(360, 70);
}

void TProgress::setRange(int minimum, int maximum) {
    bar_->setRange(minimum, maximum);
    bar_->setValue(minimum);
}

void TProgress::setStep(int step) { step_ = step; }

void TProgress::advance() {
    bar_->setValue(std::clamp(bar_->value() + step_, bar_->minimum(), bar_->maximum()));
    // Paint now; the task that advances the bar holds the thread until it ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int TProgress::position() const { return bar_->value(); }

}  // namespace quendra::widgets
