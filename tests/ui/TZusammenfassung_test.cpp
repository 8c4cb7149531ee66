#include "statements/TZusammenfassung.h"

#include "state/main_state.h"
#include "platform/services.h"
#include "statements/balance_summary.h"
#include "storage/dbase/error.h"

#include "support/recording_shell.h"
#include "support/chart_fixture.h"
#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quendra::statements {
namespace {

using test::ChartRow;
using test::Movement;

Movement row(const std::string& cod, const std::string& codd, double einnahme, double ausgabe, int eroeffnung = 0) {
    return {0, test::ymd(2015, 5, 4), cod, codd, "", einnahme, ausgabe, einnahme > 0 ? 2 : 1, eroeffnung};
}

std::string groupCode(char classLetter, int group) {
    return std::string(" ") + classLetter + (group < 10 ? "0" : "") + std::to_string(group) + "01";
}

// Sub-accounts 01 of groups 1..groups of the asset and liability classes.
std::vector<ChartRow> chartOfGroups(int groups) {
    std::vector<ChartRow> rows = {{"  PFAR", "Parrocchia", "Luogo", "Decanato"}};
    for (const char classLetter : {'C', 'P'}) {
        for (int g = 1; g <= groups; ++g) {
            const std::string code = groupCode(classLetter, g);
            rows.push_back({code, "Conto " + code.substr(1), "Gruppo " + code.substr(1, 3), "Attiva"});
        }
    }
    return rows;
}

class SummaryWindow : public ::testing::Test {
protected:
    SummaryWindow() {
        state_.dataDir = dir_.path();
        state_.settings.hauptdatei = "kr201501.dbf";
        state_.settings.konto = "kw201501.dbf";
        test::makeChart(state_.chartPath(), chartOfGroups(20));
    }

    void makeJournal(const std::vector<Movement>& rows) { test::makeJournal(state_.journalPath(), rows); }

    static QLabel* label(const QWidget& window, const QString& name) {
        auto* found = window.findChild<QLabel*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    // The window as it shows each line, compared with what the core computes.
    static void expectShows(const QWidget& window, const std::vector<SummaryLine>& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const QString n = QString::number(i + 1);
            const std::pair<QString, std::string> cells[] = {
                {"LineText" + n, lines[i].text}, {"LineOpening" + n, lines[i].opening}, {"LineClosing" + n, lines[i].closing}};
            for (const auto& [name, text] : cells) {
                QLabel* cell = label(window, name);
                ASSERT_NE(cell, nullptr);
                EXPECT_EQ(cell->isHidden(), text.empty()) << name.toStdString();
                if (!text.empty()) {
                    EXPECT_EQ(cell->text().toStdString(), text) << name.toStdString();
                }
            }
        }
    }

    test::TempDir dir_;
    state::MainState state_;
    test::ScriptedPrompt prompt_;
    test::FixedClock clock_{storage::Date::fromYmd(2015, 6, 1)};
    test::RecordingShell shell_;
    platform::Services services_{prompt_, clock_, shell_};
};

TEST_F(SummaryWindow, ShowingComputesTheLinesWithTotaleBancheInRedBold) {
    makeJournal({row(" C0101", " C0101", 1000, 0, 2), row(" C0501", " C0101", 0, 250),
                 row(" P0201", " C0201", 5000, 0), row(" P0101", " C0201", 0, 300)});
    const auto lines = balanceSummary(state_.journalPath(), state_.chartPath());
    ASSERT_EQ(lines.size(), 17u);

    TZusammenfassung window(state_, services_);
    EXPECT_EQ(window.windowTitle(), "Riepilogo");
    EXPECT_EQ(label(window, "Title")->text(), "Riepilogo");
    EXPECT_EQ(label(window, "OpeningHeading")->text(), " Apertura  1 gennaio");
    EXPECT_EQ(label(window, "ClosingHeading")->text(), " Chiusura   31 dicembre");
    for (int i = 1; i <= 26; ++i) EXPECT_TRUE(label(window, "LineText" + QString::number(i))->isHidden());

    window.show();
    for (int i = 0; i < 10 && label(window, "LineText1")->isHidden(); ++i) QCoreApplication::processEvents();
    expectShows(window, lines);
    EXPECT_EQ(label(window, "LineText2")->text(), "Gruppo C01 -  C01");
    EXPECT_TRUE(label(window, "LineText18")->isHidden());

    QLabel* banks = label(window, "LineText17");
    EXPECT_EQ(banks->text(), "TOTALE Banche");
    EXPECT_TRUE(banks->font().bold());
    EXPECT_EQ(banks->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(label(window, "LineOpening17")->font().bold());
    EXPECT_TRUE(label(window, "LineClosing17")->font().bold());
    EXPECT_FALSE(label(window, "LineText15")->font().bold());
    EXPECT_NE(label(window, "LineText15")->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // Computing again refills the same lines.
    window.FormActivate();
    expectShows(window, lines);
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(SummaryWindow, StandsFiftyPixelsFromTheTopWithUscitaBelowTotaleBanche) {
    makeJournal({row(" C0101", " C0101", 10, 0, 2)});
    TZusammenfassung window(state_, services_);
    window.FormActivate();

    const QRect screen = window.screen()->geometry();
    EXPECT_EQ(window.y(), screen.y() + 50);
    EXPECT_EQ(window.height(), screen.height() - (screen.height() + 5) / 10);
    auto* uscita = window.findChild<QPushButton*>("ButtonUscita");
    ASSERT_NE(uscita, nullptr);
    EXPECT_EQ(uscita->text(), "uscita");
    EXPECT_EQ(uscita->y(), label(window, "LineText13")->y() + 40);
}

TEST_F(SummaryWindow, MoreGroupsThanTheGridHoldsScrollInsteadOfGettingLost) {
    std::vector<Movement> rows = {row(" C0101", " C0101", 9000, 0, 2)};
    for (int g = 5; g <= 20; ++g) rows.push_back(row(groupCode('C', g), " C0101", 0, 10 * g));
    makeJournal(rows);
    const auto lines = balanceSummary(state_.journalPath(), state_.chartPath());
    ASSERT_EQ(lines.size(), 29u);

    TZusammenfassung window(state_, services_);
    window.resize(window.width(), 400);
    window.show();
    window.FormActivate();
    QCoreApplication::processEvents();
    expectShows(window, lines);

    auto* scroll = window.findChild<QScrollArea*>("Lines");
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    auto* uscita = window.findChild<QPushButton*>("ButtonUscita");
    EXPECT_EQ(uscita->y(), label(window, "LineText29")->y() + 40);
    EXPECT_GE(scroll->widget()->height(), uscita->geometry().bottom());
}

TEST_F(SummaryWindow, UscitaClosesAndTheWindowIsGoneAfterwards) {
    makeJournal({row(" C0101", " C0101", 10, 0, 2)});
    QPointer<TZusammenfassung> opened;
    std::string firstLine;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* summary = qobject_cast<TZusammenfassung*>(w)) opened = summary;
        }
        ASSERT_FALSE(opened.isNull());
        // The computation was queued by the showing; look once it ran.
        QTimer::singleShot(0, [&] {
            firstLine = label(*opened, "LineText2")->text().toStdString();
            opened->findChild<QPushButton*>("ButtonUscita")->click();
        });
    });

    TZusammenfassung::showSummary(state_, services_, nullptr);

    EXPECT_EQ(firstLine, "Gruppo C01 -  C01");
    EXPECT_TRUE(opened.isNull());
}

TEST_F(SummaryWindow, AFailingChartIsReportedAndTheFilledLinesStay) {
    makeJournal({row(" C0101", " C0101", 10, 0, 2)});
    std::filesystem::remove(state_.chartPath());
    std::string expected;
    try {
        balanceSummary(state_.journalPath(), state_.chartPath());
    } catch (const storage::DbError& e) {
        expected = e.what();
    }
    ASSERT_FALSE(expected.empty());

    TZusammenfassung window(state_, services_);
    window.FormActivate();

    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].kind, platform::PromptKind::Error);
    EXPECT_EQ(prompt_.shown[0].text, expected);
    EXPECT_EQ(label(window, "LineText1")->text(), "A T T I V A");
    EXPECT_FALSE(label(window, "LineText1")->isHidden());
    EXPECT_TRUE(label(window, "LineText2")->isHidden());
    EXPECT_FALSE(window.findChild<QPushButton*>("ButtonUscita")->isHidden());
}

}  // namespace
}  // namespace quendra::statements
