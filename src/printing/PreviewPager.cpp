#include "printing/PreviewPager.h"

#include <QPushButton>
#include <QWidget>

namespace quendra::printing {

PreviewPager::PreviewPager(QWidget* area, QPushButton* avanti, QPushButton* esci, QPushButton* fineLista)
    : area_(area), avanti_(avanti), esci_(esci), fineLista_(fineLista) {}

bool PreviewPager::wait() {
    if (stopped_) {
        return false;
    }
    area_->update();
    QEventLoop loop;
    loop_ = &loop;
    const bool goOn = loop.exec() == 1;
    loop_ = nullptr;
    return goOn;
}

bool PreviewPager::nextPage() {
    avanti_->setFocus();
    return wait();
}

void PreviewPager::endOfReport() {
    avanti_->hide();
    esci_->hide();
    fineLista_->show();
    fineLista_->setFocus();
    wait();
}

void PreviewPager::answer(bool goOn) {
    stopped_ = stopped_ || !goOn;
    if (loop_ != nullptr) {
        loop_->exit(goOn ? 1 : 0);
    }
}

}  // namespace quendra::printing
