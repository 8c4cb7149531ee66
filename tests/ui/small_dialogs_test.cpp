#include "journal/TDatumform.h"
#include "journal/TInfo.h"
#include "widgets/TProgress.h"

#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/date.h"

#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace quendra::journal {
namespace {

using test::ymd;

class SmallDialogs : public ::testing::Test {
protected:
    state::MainState state_;
    test::ScriptedPrompt prompt_;
    test::FixedClock clock_{ymd(2015, 6, 1)};
    test::RecordingShell shell_;
    platform::Services services_{prompt_, clock_, shell_};
};

TEST_F(SmallDialogs, DatePickerTitlesItsMonthInItalianAndReturnsTheChosenDay) {
    TDatumform picker(state_, services_);
    storage::Date date = ymd(2015, 3, 12);
    QTimer::singleShot(0, &picker, [&] {
        auto* calendar = picker.findChild<QCalendarWidget*>("Calendar1");
        auto* title = picker.findChild<QLabel*>("MonthTitle");
        EXPECT_EQ(calendar->firstDayOfWeek(), Qt::Sunday);
        EXPECT_EQ(title->text().toStdString(), "marzo, 2015");
        QTest::mouseClick(picker.findChild<QPushButton*>("ButtonNext"), Qt::LeftButton);
        EXPECT_EQ(title->text().toStdString(), "aprile, 2015");
        calendar->setSelectedDate(QDate(2015, 4, 20));
        QTest::mouseClick(picker.findChild<QPushButton*>("ButtonOK"), Qt::LeftButton);
    });
    ASSERT_TRUE(picker.pickDate(date));
    EXPECT_EQ(date, ymd(2015, 4, 20));
}

TEST_F(SmallDialogs, DatePickerAnnullaKeepsTheDateAndAnEmptyDateShowsToday) {
    TDatumform picker(state_, services_);
    storage::Date date;
    QTimer::singleShot(0, &picker, [&] {
        EXPECT_EQ(picker.findChild<QLabel*>("MonthTitle")->text().toStdString(), "giugno, 2015");
        QTest::mouseClick(picker.findChild<QPushButton*>("ButtonAnnulla"), Qt::LeftButton);
    });
    EXPECT_FALSE(picker.pickDate(date));
    EXPECT_TRUE(date.isEmpty());
}

TEST_F(SmallDialogs, AboutBoxTexts) {
    TInfo info(state_, services_);
    EXPECT_EQ(info.windowTitle().toStdString(), "Info - Quendra parrocchiale");
    EXPECT_EQ(info.findChild<QLabel*>("LabelName")->text().toStdString(), "Quendra");
    EXPECT_EQ(info.findChild<QLabel*>("LabelDiocese")->text().toStdString(), "della Diocesi Varnelia");
    auto* text = info.findChild<QPlainTextEdit*>("Memo1");
    EXPECT_TRUE(text->isReadOnly());
    const std::string shown = text->toPlainText().toStdString();
    EXPECT_NE(shown.find("Versione 4.72 per Windows XP, Vista, Windows 7, Windows 8 e Windows 10\n"
                         "                     32-Bit e 64-Bit"),
              std::string::npos);
    EXPECT_NE(shown.find("Proprietario: Diocesi Varnelia"), std::string::npos);
}

TEST_F(SmallDialogs, ProgressAdvancesByItsStepAndStopsAtTheEnd) {
    widgets::TProgress progress(state_, services_);
    progress.show();
    EXPECT_FALSE(progress.isModal());
    EXPECT_EQ(progress.windowTitle().toStdString(), "Progress");
    progress.advance();
    EXPECT_EQ(progress.position(), 10);
    progress.setRange(0, 5);
    progress.setStep(2);
    progress.advance();
    progress.advance();
    progress.advance();
    EXPECT_EQ(progress.position(), 5);
    EXPECT_EQ(progress.findChild<QProgressBar*>("ProgressBar1")->value(), 5);
}

}  // namespace
}  // namespace quendra::journal
