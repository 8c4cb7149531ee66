#include "accounts/TKWN.h"
#include "journal/TCalculator.h"
#include "journal/TDatumform.h"
#include "journal/TEinstellungen.h"
#include "journal/TInfo.h"
#include "journal/TProgress.h"
#include "journal/TSuchen.h"
#include "journal/main_state.h"
#include "journal/services.h"
#include "storage/cursor.h"
#include "storage/date.h"
#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/picker_chart.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include <QApplication>
#include <QScreen>
#include <QPushButton>
#include <QTimer>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace quendra;

TEST(Grab, All) {
    const char* scaleEnv = getenv("GRAB_SCALE");
    std::string scale = scaleEnv ? scaleEnv : "100";
    printf("screen %d x %d\n", QApplication::primaryScreen()->geometry().width(), QApplication::primaryScreen()->geometry().height());
    test::TempDir dir;
    journal::MainState state;
    state.dataDir = dir.path();
    state.settings.hauptdatei = "kr201501.dbf";
    state.settings.konto = "kw201501.dbf";
    state.settings.scale = scale;
    test::makeChart(state.chartPath(), test::pickerChartRows());
    test::makeJournal(state.journalPath(), {{1, test::ymd(2015, 3, 2), " A0102", " C0101", "x", 0, 0, 0, 0}});
    storage::Cursor journal(state.journalPath(), storage::OpenMode::Shared);
    journal.first();
    test::ScriptedPrompt prompt;
    test::FixedClock clock(test::ymd(2015, 6, 1));
    test::RecordingShell shell;
    journal::Services services{prompt, clock, shell};
    const std::string out = "/tmp/grabs/" + scale + "_";
    {
        accounts::TKWN kwn(state, services);
        QTimer::singleShot(0, &kwn, [&] {
            kwn.grab().save(QString::fromStdString(out + "TKWN.png"));
            kwn.findChild<QPushButton*>("Button5")->click();
            kwn.findChild<QLineEdit*>("SearchText")->setText("cauzioni");
            kwn.findChild<QPushButton*>("Button3")->click();
            kwn.grab().save(QString::fromStdString(out + "TKWN_search.png"));
            kwn.findChild<QPushButton*>("Button6")->click();
        });
        kwn.showFor(journal, false);
    }
    {
        journal::TSuchen w(state, services);
        QTimer::singleShot(0, &w, [&] { w.grab().save(QString::fromStdString(out + "TSuchen.png")); w.reject(); });
        w.showFor(journal);
    }
    {
        journal::TCalculator w(state, services);
        w.show();
        QTest::keyClicks(&w, "1234,5+3=");
        w.grab().save(QString::fromStdString(out + "TCalculator.png"));
    }
    {
        journal::TDatumform w(state, services);
        storage::Date d = test::ymd(2015, 3, 12);
        QTimer::singleShot(0, &w, [&] { w.grab().save(QString::fromStdString(out + "TDatumform.png")); w.reject(); });
        w.pickDate(d);
    }
    {
        journal::TInfo w(state, services);
        w.show();
        w.grab().save(QString::fromStdString(out + "TInfo.png"));
    }
    {
        journal::TProgress w(state, services);
        w.show();
        w.setStep(40);
        w.advance();
        w.grab().save(QString::fromStdString(out + "TProgress.png"));
    }
    {
        journal::TEinstellungen w(state, services);
        w.show();
        w.grab().save(QString::fromStdString(out + "TEinstellungen.png"));
    }
}
