#include "journal/TDatumform.h"

#include "journal/month_title.h"
#include "platform/services.h"
#include "storage/dbase/date.h"
#include "widgets/QtHelpers.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quendra::journal {

namespace {

using widgets::button;


}  // namespace

TDatumform::TDatumform(state::MainState&, platform::Services& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName("TDatumform");

    title_ = new QLabel(this);
    title_->setObjectName("MonthTitle");
    title_->setAlignment(Qt::AlignCenter);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    auto* prior = button("ButtonPrior", "<", this);
    auto* next = button("ButtonNext", ">", this);

    calendar_ = new QCalendarWidget(this);
    calendar_->setObjectName("Calendar1");
    calendar_->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setNavigationBarVisible(false);
    calendar_->setGridVisible(true);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);

    auto* ok = button("ButtonOK", "&OK", this);
    ok->setDefault(true);
    auto* annulla = button("ButtonAnnulla", "annulla", this);

    auto* heading = new QHBoxLayout;
    heading->addWidget(prior);
    heading->addWidget(title_, 1);
    heading->addWidget(next);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(annulla);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(calendar_);
    layout->addLayout(buttons);

    connect(prior, &QPushButton::clicked, calendar_, &QCalendarWidget::showPreviousMonth);
    connect(next, &QPushButton::clicked, calendar_, &QCalendarWidget::showNextMonth);
    connect(calendar_, &QCalendarWidget::currentPageChanged, this, &TDatumform::Calendar1PageChanged);
    connect(calendar_, &QCalendarWidget::activated, this, &QDialog::accept);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
}

bool TDatumform::pickDate(storage::Date& date) {
    const storage::Date shown = date.isEmpty() ? services_.clock.today() : date;
    calendar_->setSelectedDate(QDate(shown.year(), shown.month(), shown.day()));
    calendar_->setCurrentPage(shown.year(), shown.month());
    Calendar1PageChanged(shown.year(), shown.month());
    calendar_->setFocus();
    if (exec() != QDialog::Accepted) return false;
    const QDate chosen = calendar_->selectedDate();
    date = storage::Date::fromYmd(chosen.year(), chosen.month(), chosen.day());
    return true;
}

void TDatumform::Calendar1PageChanged(int year, int month) {
    title_->setText(QString::fromStdString(monthTitle(year, month)));
}

}  // namespace quendra::journal
