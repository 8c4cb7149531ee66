#include "printing/TJournalwahl.h"

#include "printing/TFilterauswahl.h"
#include "printing/selection_queries.h"
#include "widgets/HelpKey.h"
#include "widgets/QtHelpers.h"
#include "widgets/WindowScaling.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quendra::printing {

using widgets::button;
using widgets::qs;

TJournalwahl::TJournalwahl(int scaleSetting, QWidget* parent) : QDialog(parent) {
    setObjectName("Journalwahl");
    widgets::setHelpContext(this, kSelectionHelpContext);
    setWindowTitle("stampa giornale");
    setModal(true);

    auto* choice = new QGroupBox("Scelta", this);
    choice->setObjectName("RadioGroup1");
    byNumber_ = new QRadioButton("lista secondo numeri", choice);
    byNumber_->setObjectName("radioNumeri");
    byDate_ = new QRadioButton("lista secondo data", choice);
    byDate_->setObjectName("radioData");
    auto* choiceLayout = new QVBoxLayout(choice);
    choiceLayout->addWidget(byNumber_);
    choiceLayout->addWidget(byDate_);
    connect(byNumber_, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioGroup1Click(); });
    connect(byDate_, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioGroup1Click(); });

    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    label2_ = new QLabel(this);
    label2_->setObjectName("Label2");
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName("Edit1");
    edit2_ = new QLineEdit(this);
    edit2_->setObjectName("Edit2");
    edit1_->installEventFilter(this);

    auto* screen = button("Button1", "schermo", this);
    auto* printer = button("Button2", "stampante", this);
    auto* pdf = button("Button3", "pdf", this);
    connect(screen, &QPushButton::clicked, this, &TJournalwahl::Button1Click);
    connect(printer, &QPushButton::clicked, this, &TJournalwahl::Button2Click);
    connect(pdf, &QPushButton::clicked, this, &TJournalwahl::Button3Click);

    auto* grid = new QGridLayout(this);
    grid->addWidget(choice, 0, 0, 1, 2);
    grid->addWidget(label1_, 1, 0);
    grid->addWidget(edit1_, 1, 1);
    grid->addWidget(label2_, 2, 0);
    grid->addWidget(edit2_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(screen);
    buttons->addWidget(printer);
    buttons->addWidget(pdf);
    grid->addLayout(buttons, 3, 0, 1, 2);
    widgets::scaleWindow(this, scaleSetting);
}

TJournalwahl::Range TJournalwahl::choose(const std::filesystem::path& journalPath) {
    journalPath_ = journalPath;
    range_ = {};
    byNumber_->setChecked(true);
    RadioGroup1Click();
    exec();
    return range_;
}

void TJournalwahl::RadioGroup1Click() {
    const bool byDate = byDate_->isChecked();
    JournalRangeDefaults defaults;
    try {
        defaults = journalRangeDefaults(journalPath_, byDate);
    } catch (const std::exception&) {
        // An unreadable journal leaves the fields empty; the journal print reports it.
    }
    label1_->setText(byDate ? "data di inizio" : "da numero");
    label2_->setText(byDate ? "data di fine" : "a numero");
    edit1_->setText(!byDate && defaults.first.empty() ? QStringLiteral("1") : qs(defaults.first));
    edit2_->setText(qs(defaults.last));
    edit1_->setFocus();
}

bool TJournalwahl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit1_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edit2_->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TJournalwahl::finish(OutputTarget output) {
    range_.byDate = byDate_->isChecked();
    range_.first = edit1_->text().trimmed().toStdString();
    range_.last = edit2_->text().trimmed().toStdString();
    range_.output = output;
    accept();
}

void TJournalwahl::Button1Click() { finish(OutputTarget::Screen); }
void TJournalwahl::Button2Click() { finish(OutputTarget::Printer); }
void TJournalwahl::Button3Click() { finish(OutputTarget::Pdf); }

}  // namespace quendra::printing
