#include "printing/TFDrucken.h"

#include "printing/TFilterauswahl.h"
#include "printing/TJournalwahl.h"
#include "printing/report_catalog.h"
#include "support/demo_year_state.h"
#include "support/file_contents.h"
#include "support/run_program.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace quendra::printing {
namespace {

class PrintWindow : public ::testing::Test {
protected:
    PrintWindow() {
        window_.setJournalwahl(journalwahl_);
        window_.resize(1000, 700);
        window_.show();
    }
    template <class T>
    T* child(const char* name) {
        T* found = window_.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QRadioButton* radio(const char* name) { return child<QRadioButton>(name); }
    bool shown(const char* name) { return child<QWidget>(name)->isVisible(); }
    void expectDefaults() {
        EXPECT_TRUE(radio("radioalle")->isChecked());
        EXPECT_TRUE(radio("radiokeine")->isChecked());
        EXPECT_TRUE(radio("radiobildschirm")->isChecked());
        EXPECT_TRUE(shown("Panel1"));
        EXPECT_FALSE(shown("GroupBox1"));
        EXPECT_FALSE(shown("GroupBox2"));
        EXPECT_FALSE(shown("GroupBox7"));
        EXPECT_EQ(window_.printState().kind, ReportKind::AllMovements);
    }
    // Starts the chosen report; `whileWaiting` runs at every wait of the preview and
    // presses its buttons.
    void start(const std::function<void()>& whileWaiting = {}) {
        std::function<void()> poll;
        poll = [&] {
            if (!child<QWidget>("GroupBox1")->isHidden() && whileWaiting) {
                whileWaiting();
            }
            if (!finished_) QTimer::singleShot(10, &window_, poll);
        };
        finished_ = false;
        QTimer::singleShot(0, &window_, poll);
        child<QPushButton>("Startauswahl")->click();
        finished_ = true;
    }

    test::DemoYearState year_;
    TFilterauswahl filterauswahl_{year_.services, 100};
    TJournalwahl journalwahl_{100};
    TFDrucken window_{year_.state, year_.services, filterauswahl_};
    bool finished_ = false;
};

TEST_F(PrintWindow, ControlsCaptionsAndTheResetPanel) {
    EXPECT_EQ(window_.windowTitle(), "Tovald: Bildschirm - Drucken");
    const std::vector<std::pair<const char*, const char*>> radios = {
        {"Radiojournal", "&giornale"}, {"radioalle", "&tutti movimenti"}, {"radiounter", "conti - sottoconti"},
        {"radiohaupt", "solo conti"}, {"radiobilancio", "&bilancio - invio a. Velmora"},
        {"radiokonto", "&piano dei conti"}, {"Radiohwahl", "estratto &conto a scelta"},
        {"Radiokassa", "situazione &liquidita"}, {"radiokeine", "nessuna opzione"}, {"radiotext", "causale"},
        {"radiodatum", "data"}, {"radiobildschirm", "&schermo"}, {"radiodrucker", "s&tampante"}, {"radiopdf", "&pdf"}};
    for (const auto& [name, caption] : radios) {
        EXPECT_EQ(radio(name)->text(), QString::fromUtf8(caption)) << name;
    }
    EXPECT_EQ(child<QGroupBox>("GroupBox3")->title(), "stampe contabili");
    EXPECT_EQ(child<QGroupBox>("GroupBox5")->title(), "schermo - stampa");
    EXPECT_EQ(child<QPushButton>("Startauswahl")->text(), "&visualizza - stampa");
    EXPECT_EQ(child<QPushButton>("Button8")->text(), "&esci");
    QPushButton* workbook = child<QPushButton>("Button2");
    EXPECT_EQ(workbook->height(), 4);
    EXPECT_FALSE(workbook->isEnabled());
    EXPECT_EQ(workbook->parentWidget()->objectName(), "GroupBox5");
    // Its place stays; the mouse finds what it does.
    EXPECT_NE(workbook->toolTip().indexOf("cartella di lavoro"), -1);
    expectDefaults();
    window_.grab().save("/tmp/quendra-TFDrucken.png");

    // Entering the report group unticks the two ledgers.
    radio("Radiokassa")->setChecked(true);
    window_.GroupBox3Enter();
    EXPECT_FALSE(radio("Radiokassa")->isChecked());
    radio("Radiohwahl")->setChecked(true);
    window_.GroupBox3Enter();
    EXPECT_FALSE(radio("Radiohwahl")->isChecked());
}

TEST_F(PrintWindow, ChartListingPreviewPagesOnAndEndsWithFineLista) {
    radio("radiokonto")->setChecked(true);
    radio("radiodatum")->setChecked(true);  // no option applies to the chart listing
    int pages = 0;
    start([&] {
        QPushButton* fine = child<QPushButton>("Button1");
        if (fine->isVisible()) {
            window_.grab().save("/tmp/quendra-preview-end.png");
            fine->click();
        } else {
            if (++pages == 1) window_.grab().save("/tmp/quendra-preview.png");
            child<QPushButton>("Button6")->click();
        }
    });
    EXPECT_GE(pages, 2);
    expectDefaults();
}

TEST_F(PrintWindow, EsciInThePreviewStopsTheReport) {
    radio("radiokonto")->setChecked(true);
    int waits = 0;
    start([&] {
        ++waits;
        child<QPushButton>("Button9")->click();
    });
    EXPECT_EQ(waits, 1);
    expectDefaults();
}

TEST_F(PrintWindow, ChartListingAsPdfIsWrittenAndOpened) {
    std::filesystem::path proposed;
    const auto pdf = year_.home / "piano.pdf";
    window_.setPdfDialog([&](const std::filesystem::path& p) {
        proposed = p;
        return pdf;
    });
    radio("radiokonto")->setChecked(true);
    radio("radiopdf")->setChecked(true);
    year_.prompt.answer(true);
    start();
    EXPECT_EQ(proposed.filename(), "piano-conti-2015-01.pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf));
    // The user is told where the file went and opens it.
    EXPECT_EQ(year_.prompt.texts(),
              std::vector<std::string>{"La stampa è stata salvata nel file\n" + pdf.string() + "\n\nAprirla adesso?"});
    EXPECT_EQ(year_.shell.documents, (std::vector<std::filesystem::path>{pdf}));
    const auto text = test::runProgram("/usr/bin/pdftotext", {pdf.string(), "-"});
    EXPECT_NE(text.out.find("Piano conti 2015/01"), std::string::npos);
    expectDefaults();

    // A cancelled file name or print dialog prints nothing.
    year_.shell.documents.clear();
    window_.setPdfDialog([](const std::filesystem::path&) { return std::filesystem::path(); });
    radio("radiokonto")->setChecked(true);
    radio("radiopdf")->setChecked(true);
    start();
    bool asked = false;
    window_.setPrinterDialog([&](QPrinter&) { return !(asked = true); });
    radio("radiokonto")->setChecked(true);
    radio("radiodrucker")->setChecked(true);
    start();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(year_.shell.documents.empty());
    expectDefaults();
}

TEST_F(PrintWindow, DateOptionOffersTheJournalsDatesAndRefusesAnImpossibleDate) {
    radio("radiodatum")->setChecked(true);
    start();
    ASSERT_TRUE(shown("GroupBox7"));
    QLineEdit* from = child<QLineEdit>("Edit2");
    QLineEdit* to = child<QLineEdit>("Edit3");
    EXPECT_TRUE(from->text().endsWith(".2015"));
    EXPECT_TRUE(to->text().endsWith(".2015"));
    to->setText("32.13.2024");
    window_.Edit3Exit();
    EXPECT_EQ(year_.prompt.texts(), (std::vector<std::string>{"formato data non corretto"}));
    expectDefaults();

    radio("radiodatum")->setChecked(true);
    start();
    child<QLineEdit>("Edit2")->setText("31.12.2015");
    child<QLineEdit>("Edit3")->setText("01.01.2015");
    window_.Edit3Exit();
    EXPECT_EQ(year_.prompt.texts().back(),
              "L'intervallo è rovesciato: il primo limite (31.12.2015) viene dopo l'ultimo (01.01.2015).");
    expectDefaults();
}

TEST_F(PrintWindow, EscapeInThePreviewIsEsci) {
    radio("radiokonto")->setChecked(true);
    int waits = 0;
    start([&] {
        if (++waits == 1) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window_, Qt::Key_Escape);
        } else {
            child<QPushButton>("Button9")->click();
        }
    });
    EXPECT_EQ(waits, 1);
    EXPECT_TRUE(window_.isVisible());
    expectDefaults();
}

// "oggetto" and "a data" finish with Enter, Tab or a click in the window; Escape goes
// back to the panel, and a context menu or another window leaves the entry open.
TEST_F(PrintWindow, AnEntryEndsOnlyWhenTheUserMovesOn) {
    int asked = 0;
    window_.setPdfDialog([&](const std::filesystem::path&) {
        ++asked;
        return std::filesystem::path();
    });
    const std::pair<const char*, const char*> entries[] = {{"radiotext", "edit1"}, {"radiodatum", "Edit3"}};
    for (const auto& [option, field] : entries) {
        const auto open = [&, option = option, field = field] {
            radio(option)->setChecked(true);
            radio("radiopdf")->setChecked(true);
            start();
            QLineEdit* edit = child<QLineEdit>(field);
            edit->setFocus();
            if (edit->text().isEmpty()) edit->setText("luce");
            return edit;
        };
        QLineEdit* edit = open();
        for (const Qt::FocusReason passing : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
            QFocusEvent out(QEvent::FocusOut, passing);
            QApplication::sendEvent(edit, &out);
        }
        EXPECT_EQ(asked, 0) << field;
        EXPECT_FALSE(edit->parentWidget()->isHidden()) << field;
        QTest::keyClick(edit, Qt::Key_Escape);
        EXPECT_EQ(asked, 0) << field;
        EXPECT_TRUE(window_.isVisible()) << field;
        expectDefaults();

        edit = open();
        QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &tab);
        EXPECT_EQ(asked, 1) << field;
        asked = 0;
        expectDefaults();
    }
}

TEST_F(PrintWindow, HelpContextsOfTheWindowAndItsSelectionDialogs) {
    EXPECT_EQ(window_.property("helpContext").toInt(), 3);
    EXPECT_EQ(filterauswahl_.property("helpContext").toInt(), 5);
    EXPECT_EQ(journalwahl_.property("helpContext").toInt(), 5);
}

TEST_F(PrintWindow, AReportStillToComeSaysSoAndReturnsToThePanel) {
    const ReportEntry* entry = findReport("movimenti");
    if (entry->run != nullptr) GTEST_SKIP() << "the movement listing exists";
    start();
    EXPECT_EQ(year_.prompt.texts(), (std::vector<std::string>{"Questa stampa non è ancora disponibile."}));
    expectDefaults();
}

}  // namespace
}  // namespace quendra::printing
