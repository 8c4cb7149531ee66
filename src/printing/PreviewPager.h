#pragma once

#include "printing/pager.h"

#include <QEventLoop>

class QPushButton;
class QWidget;

namespace quendra::printing {

// The preview's waits: the window keeps running its events in a nested loop until
// "&avanti", "&esci" or "&FINE LISTA" answers.
class PreviewPager : public Pager {
public:
    PreviewPager(QWidget* area, QPushButton* avanti, QPushButton* esci, QPushButton* fineLista);

    bool nextPage() override;
    void endOfReport() override;
    // A new preview: no stop from the last one.
    void begin() { stopped_ = false; }
    // The buttons' answer; a stop also ends every later wait at once.
    void answer(bool goOn);

private:
    QWidget* area_;
    QPushButton* avanti_;
    QPushButton* esci_;
    QPushButton* fineLista_;
    QEventLoop* loop_ = nullptr;
    bool stopped_ = false;

    bool wait();
};

}  // namespace quendra::printing
