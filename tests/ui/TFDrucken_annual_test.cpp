// The annual-report group of the print window: the quiet update check, the items on
// screen, on PDF and on the printer, and the transmission at the end.

#include "printing/TFDrucken.h"
#include "printing/TFilterauswahl.h"

#include "support/demo_year_state.h"
#include "support/file_contents.h"
#include "support/run_program.h"

#include <QApplication>
#include <QGroupBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

namespace quendra::printing {
namespace {

class AnnualReportGroup : public ::testing::Test {
protected:
    AnnualReportGroup() {
        window_.setUpdateCheck([this] {
            ++updateChecks_;
            return updateRestarts_;
        });
        window_.setTransmission([this] {
            ++transmissions_;
            panelVisibleAtTransmission_ = child<QWidget>("Panel1")->isVisible();
            documentsAtTransmission_ = year_.shell.documents.size();
        });
        window_.setPrinterDialog([this](QPrinter&) {
            ++printDialogs_;
            return false;
        });
        window_.setPdfDialog([this](const std::filesystem::path& proposed) {
            proposedPdf_ = proposed;
            return year_.home / "bilancio.pdf";
        });
        window_.resize(1200, 900);
        window_.show();
        QApplication::processEvents();
    }

    template <typename W>
    W* child(const char* name) {
        W* w = window_.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QList<QRadioButton*> items() { return child<QGroupBox>("RadioGroup1")->findChildren<QRadioButton*>(); }

    // "&bilancio - invio a. Velmora", then "&visualizza - stampa" with the item and output.
    void runItem(int item, const char* output) {
        child<QRadioButton>("radiobilancio")->setChecked(true);
        child<QRadioButton>(output)->setChecked(true);
        window_.StartauswahlClick();
        items().at(item)->setChecked(true);
        window_.ReportstartClick();
    }

    // Answers every preview wait with "&avanti" or "&FINE LISTA", counting the pages.
    void answerPreview() {
        auto* timer = new QTimer(&window_);
        QObject::connect(timer, &QTimer::timeout, [this] {
            for (const char* name : {"Button6", "Button1"}) {
                auto* b = child<QPushButton>(name);
                if (b->isVisible() && child<QWidget>("GroupBox1")->isVisible()) {
                    ++screenPages_;
                    b->click();
                    return;
                }
            }
        });
        timer->start(5);
    }

    test::DemoYearState year_;
    TFilterauswahl filterauswahl_{year_.services, 100};
    TFDrucken window_{year_.state, year_.services, filterauswahl_};
    int updateChecks_ = 0;
    bool updateRestarts_ = false;
    int transmissions_ = 0;
    bool panelVisibleAtTransmission_ = false;
    std::size_t documentsAtTransmission_ = 0;
    int printDialogs_ = 0;
    int screenPages_ = 0;
    std::filesystem::path proposedPdf_;
};

TEST_F(AnnualReportGroup, ChoosingTheAnnualReportChecksForUpdatesQuietlyAndShowsTheItems) {
    child<QRadioButton>("radiobilancio")->setChecked(true);
    window_.StartauswahlClick();
    EXPECT_EQ(updateChecks_, 1);
    EXPECT_TRUE(child<QGroupBox>("GroupBox8")->isVisible());
    EXPECT_EQ(child<QGroupBox>("GroupBox8")->title(), "Quendra consolidato - da inviare alla Velmora ");
    std::vector<QString> captions;
    for (QRadioButton* r : items()) captions.push_back(r->text());
    EXPECT_EQ(captions, (std::vector<QString>{"TUTTI I MODULI", "1-frontespizio", "2-riepilogo",
                                              "3-situazione patrimoniale", "4-conto-sottoconti-dettagli",
                                              "--> invio telematico alla Velmora "}));
    EXPECT_TRUE(items().front()->isChecked());
    EXPECT_EQ(child<QPushButton>("Reportstart")->text(), "&visualizza - stampa");
}

TEST_F(AnnualReportGroup, AnUpdateThatRestartsTheProgramClosesTheWindow) {
    updateRestarts_ = true;
    child<QRadioButton>("radiobilancio")->setChecked(true);
    window_.StartauswahlClick();
    EXPECT_FALSE(window_.isVisible());
    EXPECT_FALSE(child<QGroupBox>("GroupBox8")->isVisible());
}

TEST_F(AnnualReportGroup, TransmissionOnScreenOpensTheWindowAndEndsTheRun) {
    runItem(5, "radiobildschirm");
    EXPECT_EQ(transmissions_, 1);
    EXPECT_TRUE(panelVisibleAtTransmission_);
    EXPECT_EQ(screenPages_, 0);
    EXPECT_TRUE(child<QWidget>("Panel1")->isVisible());
    EXPECT_TRUE(child<QRadioButton>("radioalle")->isChecked());
    EXPECT_TRUE(items().front()->isChecked());
}

TEST_F(AnnualReportGroup, AllModulesOnScreenPageThroughEveryFormThenTransmit) {
    answerPreview();
    runItem(0, "radiobildschirm");
    // Two screen pages of the title page, at least one per form, each form's FINE LISTA.
    EXPECT_GE(screenPages_, 2 + 1 + 3 + 1 + 4);
    EXPECT_EQ(transmissions_, 1);
    EXPECT_TRUE(year_.prompt.shown.empty()) << year_.prompt.texts().front();
}

TEST_F(AnnualReportGroup, AllModulesAsPdfAreOneFileOpenedBeforeTheTransmission) {
    year_.prompt.answer(true);  // open the PDF
    runItem(0, "radiopdf");
    EXPECT_EQ(proposedPdf_.filename(), "bilancio-2015-01.pdf");
    const auto pdf = year_.home / "bilancio.pdf";
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(year_.shell.documents, std::vector<std::filesystem::path>{pdf});
    EXPECT_EQ(transmissions_, 1);
    EXPECT_EQ(documentsAtTransmission_, 1u);
    const auto text = test::runProgram("/usr/bin/pdftotext", {pdf.string(), "-"});
    for (const char* part : {"DIOCESI DI VARNELIA", "(Modulo 1 di 4)", "(Modulo 2 di 4)", "(Modulo 3 di 4)"})
        EXPECT_NE(text.out.find(part), std::string::npos) << part;
}

TEST_F(AnnualReportGroup, CancellingThePrintDialogAsksAgainForEachFormAndPrintsNothing) {
    runItem(0, "radiodrucker");
    EXPECT_EQ(printDialogs_, 4);
    EXPECT_EQ(transmissions_, 1);
    EXPECT_TRUE(year_.prompt.shown.empty());
    EXPECT_TRUE(child<QWidget>("Panel1")->isVisible());
}

TEST_F(AnnualReportGroup, OneFormAloneAsPdfIsNamedAfterIt) {
    runItem(3, "radiopdf");
    EXPECT_EQ(proposedPdf_.filename(), "situazione-patrimoniale-2015-01.pdf");
    EXPECT_EQ(transmissions_, 0);
    const auto text = test::runProgram("/usr/bin/pdftotext", {(year_.home / "bilancio.pdf").string(), "-"});
    EXPECT_NE(text.out.find("SITUAZIONE PATRIMONIALE"), std::string::npos);
    EXPECT_EQ(text.out.find("RIEPILOGO"), std::string::npos);
}

TEST_F(AnnualReportGroup, TheBudgetReportsStandBesideTheItemsWhichKeepTheirNumbers) {
    child<QRadioButton>("radiobilancio")->setChecked(true);
    child<QRadioButton>("radiopdf")->setChecked(true);
    window_.StartauswahlClick();
    EXPECT_EQ(items().size(), 6);
    child<QPushButton>("ButtonConfronto")->click();
    EXPECT_EQ(proposedPdf_.filename(), "confronto-2015-01.pdf");
    EXPECT_EQ(transmissions_, 0);
    EXPECT_FALSE(child<QGroupBox>("GroupBox8")->isVisible());
    const auto text = test::runProgram("/usr/bin/pdftotext", {(year_.home / "bilancio.pdf").string(), "-"});
    EXPECT_NE(text.out.find("CONFRONTO CONSUNTIVO - PREVENTIVO anno - 2015"), std::string::npos) << text.out;
}

}  // namespace
}  // namespace quendra::printing
