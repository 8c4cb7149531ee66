#include "journal/TMainform.h"
#include "journal/journal_entry.h"

#include "accounts/TKWN.h"

#include "widgets/ElidedLabel.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/cursor.h"
#include "storage/demo_data.h"
#include "storage/index_repair.h"
#include "storage/journal_record.h"
#include "storage/settings_file.h"
#include "support/file_contents.h"
#include "support/main_window_fixture.h"
#include "support/year_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>

namespace quendra::journal {
namespace {

namespace fs = std::filesystem;
using test::Movement;
using test::ymd;

using test::threeRows;

class MainWindow : public test::MainWindowTest {
protected:
    using MainWindowTest::MainWindowTest;
};

TEST_F(MainWindow, StartShowsTheYearTitleAndFirstRowReadyForTheDate) {
    start();
    EXPECT_EQ(form->windowTitle().toStdString(), "Quendra Velmora Varnelia  (Vers. 4.77)");
    EXPECT_EQ(title().toStdString(), "QUENDRA: Parrocchia San Vigilio (Lavis) - 2015/01 - movimenti: 3");
    EXPECT_EQ(fixture.state.versionText, "Vers. 4.77");
    EXPECT_EQ(edit("DBEditnummer")->text().toStdString(), "1");
    EXPECT_EQ(child<QWidget>("Editdatum"), QApplication::focusWidget());
    EXPECT_EQ(edit("Editdatum")->text().toStdString(), "10.01.2015");
    EXPECT_EQ(edit("DBEditcod")->text().toStdString(), "A-01-01");
    EXPECT_EQ(child<QWidget>("DBTexttexth")->property("toolTip").toString().toStdString(),
              "Contributo sostentamento Clero");
    EXPECT_EQ(child<QWidget>("DBTextkasse")->property("toolTip").toString().toStdString(),
              "CASSA -> Cassa parrocchiale");
    EXPECT_EQ(edit("DBEditbetrag")->text().toStdString(), "120,00");
    EXPECT_TRUE(child<QRadioButton>("RadioUscita")->isChecked());

    const auto* grid = child<QTableView>("DBGrid1");
    ASSERT_EQ(grid->model()->rowCount(), 3);
    QStringList titles;
    for (int c = 0; c < 7; ++c) titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles.join(",").toStdString(), "No,data,conto,cassa,oggetto,entrata,uscita");
    EXPECT_EQ(cell(1, 1).toStdString(), "12.03.2015");
    EXPECT_EQ(cell(1, 5).toStdString(), "300,00   ");
}

TEST_F(MainWindow, MenuAndButtonsCarryTheirCaptionsAndWaitForTheirWindows) {
    start();
    const std::pair<const char*, const char*> actions[] = {
        {"ActionChangeYear", "cambiare l'anno"}, {"ActionSaveYear", "salvataggio anno attuale"},
        {"ActionReorganize", "RIORGANIZZAZIONE"}, {"ActionQuit", "fine"},
        {"ActionRestoreYear", "importo anno salvato"}, {"ActionDeleteYear", "cancella anno"},
        {"ActionChartEditor", "cambiamento piano conti"}, {"ActionChartImport", "importo piano conti"},
        {"ActionBudget", "Preventivo"},
        {"ActionSettings", "Impostazioni"}, {"ActionCalculator", "Calcolatrice"}, {"ActionInfo", "info"},
        {"ActionManual", "manuale"}, {"ActionUpdate", "UPDATE"},
        {"ActionGuide", "guida del programma (F1)"}, {"ActionWorkbookExport", "esportazione cartella di lavoro (Excel)"}};
    for (const auto& [name, text] : actions) EXPECT_EQ(child<QAction>(name)->text().toStdString(), text) << name;
    const std::pair<const char*, const char*> buttons[] = {
        {"ButtonNewRecord", "&nuovo record"}, {"ButtonDeleteRecord", "&elimina record"},
        {"ButtonPrint", "&visualizza-stampa"}, {"ButtonChangeYear", "&cambia esercizio"},
        {"ButtonManual", "&manuale"}, {"ButtonGuidelines", "indicazioni"}, {"ButtonSaveData", "&salvataggio dati"},
        {"ButtonQuit", "&fine"}, {"ButtonSearch", "&ricerca"}, {"ButtonBalance", "situazione &patrimoniale"}};
    for (const auto& [name, text] : buttons) EXPECT_EQ(child<QPushButton>(name)->text().toStdString(), text) << name;

    for (const char* name : {"ActionChangeYear", "ActionChartEditor", "ActionUpdate", "ActionWorkbookExport", "ActionBudget"}) {
        EXPECT_FALSE(child<QAction>(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(child<QPushButton>("ButtonPrint")->isEnabled());
    EXPECT_TRUE(child<QAction>("ActionReorganize")->isEnabled());

    int prints = 0;
    int exports = 0;
    windows.printWindow = [&] { ++prints; };
    windows.workbookExport = [&] { ++exports; };
    form->setWindows(windows);
    child<QPushButton>("ButtonPrint")->click();
    EXPECT_EQ(prints, 1);
    // The workbook export is also a labelled entry of the menu.
    child<QAction>("ActionWorkbookExport")->trigger();
    EXPECT_EQ(exports, 1);

    test::writeFile(fixture.home.path() / "pf_indicazioni.pdf", "%PDF");
    test::writeFile(fixture.home.path() / "quendra2015.pdf", "%PDF");
    child<QPushButton>("ButtonGuidelines")->click();
    child<QAction>("ActionManual")->trigger();
    ASSERT_EQ(fixture.shell.documents.size(), 2u);
    EXPECT_EQ(fixture.shell.documents[0], fixture.home.path() / "pf_indicazioni.pdf");
    EXPECT_EQ(fixture.shell.documents[1], fixture.home.path() / "quendra2015.pdf");
}

TEST_F(MainWindow, OneMovementTypedFieldAfterFieldWithEnter) {
    start();
    fixture.prompt.answers({true, true, false});
    child<QPushButton>("ButtonNewRecord")->click();
    EXPECT_EQ(title().toStdString(), prefix() + " - record: 4");
    EXPECT_EQ(edit("Editdatum")->text().toStdString(), "03.02.2015") << "the date of the last row by number";

    type("Editdatum", "20032015");
    type("DBEdittext", "Offerta battesimo Rossi");
    type("Editkonto", "e0202");
    type("Editkasse", "C0102");
    type("Editbetrag", "1.250,50");

    Movement stored = row(4);
    EXPECT_EQ(stored.datum, ymd(2015, 3, 20));
    EXPECT_EQ(stored.text, "Offerta battesimo Rossi");
    EXPECT_EQ(stored.cod, " E0202");
    EXPECT_EQ(stored.codd, " C0102");
    EXPECT_EQ(stored.einnahme, 1250.5);
    EXPECT_EQ(stored.ea, 2);

    // Adding mode: the next movement is asked for at once, with the codes of this one.
    EXPECT_EQ(fixture.prompt.texts(), std::vector<std::string>(2, "vuol aggiungere un nuovo record?"));
    EXPECT_EQ(title().toStdString(), prefix() + " - record: 5");
    type("Editdatum", "21032015");
    QTest::keyClick(edit("DBEdittext"), Qt::Key_Return);
    type("Editkonto", "");  // Enter keeps the proposed account
    type("Editkasse", "");
    type("Editbetrag", "10");
    stored = row(5);
    EXPECT_EQ(stored.cod, " E0202");
    EXPECT_EQ(stored.einnahme, 10);

    // "No" ends adding mode and leads back to the date of the current row.
    EXPECT_EQ(fixture.prompt.texts().size(), 3u);
    EXPECT_FALSE(fixture.state.addingMode);
    EXPECT_EQ(child<QWidget>("Editdatum"), QApplication::focusWidget());
    EXPECT_EQ(fixture.rows().size(), 5u);
    EXPECT_EQ(cell(4, 4).toStdString(), "");
    EXPECT_EQ(cell(3, 4).toStdString(), "Offerta battesimo Rossi");
}

TEST_F(MainWindow, AccountTheChartLacksOpensThePickerThenTheAmount) {
    int picks = 0;
    bool openingWas = true;
    windows.accountPicker = [&](storage::Cursor& journal, bool opening) {
        ++picks;
        openingWas = opening;
        EXPECT_EQ(journal.asText("cod"), " A0199") << "stored before the picker opens";
        journal.edit();
        journal.setText("cod", " C0501");
        journal.post();
    };
    fixture.prompt.answers({true});
    start();
    child<QPushButton>("ButtonNewRecord")->click();
    type("Editdatum", "");
    type("DBEdittext", "Titoli");
    type("Editkonto", "A0199");

    EXPECT_EQ(picks, 1);
    EXPECT_FALSE(openingWas);
    EXPECT_EQ(child<QWidget>("Editbetrag"), QApplication::focusWidget());
    EXPECT_EQ(row(4).ea, 1) << "after the picker a C account is uscita";
    EXPECT_EQ(child<QWidget>("DBTexttext")->property("toolTip").toString().toStdString(), "Titoli di Stato");
}

TEST_F(MainWindow, PickerButtonsAndTheOpeningBoxOpenThePicker) {
    std::vector<bool> openings;
    windows.accountPicker = [&](storage::Cursor&, bool opening) { openings.push_back(opening); };
    start();
    for (const char* name : {"ButtonTipo", "ButtonConto", "ButtonSottoconto", "ButtonCassa"}) {
        child<QPushButton>(name)->click();
    }
    EXPECT_EQ(openings, std::vector<bool>(4, false));
    EXPECT_EQ(child<QWidget>("Editbetrag"), QApplication::focusWidget());

    child<QCheckBox>("CheckPrimaApertura")->click();
    EXPECT_EQ(openings.back(), true);
    EXPECT_EQ(row(1).eroeffnung, 2) << "the click itself marks the row";
    EXPECT_TRUE(child<QCheckBox>("CheckPrimaApertura")->isChecked());
    child<QTableView>("DBGrid1")->selectRow(1);
    EXPECT_FALSE(child<QCheckBox>("CheckPrimaApertura")->isChecked()) << "the box shows the row's mark";
    child<QTableView>("DBGrid1")->selectRow(0);
    EXPECT_TRUE(child<QCheckBox>("CheckPrimaApertura")->isChecked());
}

TEST_F(MainWindow, RealPickerWritesTheRowAndTheSideFollowsItsClass) {
    fixture.prompt.answers({true});
    start();
    accounts::TKWN kwn(fixture.state, fixture.services, form.get());
    windows.accountPicker = [&](storage::Cursor& journal, bool opening) {
        QTimer::singleShot(0, &kwn, [&] { kwn.findChild<QPushButton*>("Button1")->click(); });
        kwn.showFor(journal, opening);
    };
    form->setWindows(windows);
    QObject::connect(&kwn, &accounts::TKWN::sideChosen, form.get(), &TMainform::sideChosen);

    child<QPushButton>("ButtonNewRecord")->click();  // a new row with the codes of row 1
    type("Editdatum", "");
    QTest::keyClick(edit("DBEdittext"), Qt::Key_Return);
    type("Editkonto", "A0199");
    const Movement stored = row(4);
    EXPECT_EQ(stored.cod.substr(0, 4), " A01") << "a sub-account of the group the picker opened on";
    EXPECT_EQ(stored.codd, " C0101");
    EXPECT_EQ(stored.ea, 1);
    QTest::qWait(20);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), "Editbetrag");
}

TEST_F(MainWindow, CausaleIsInTheFileWithEveryKeystroke) {
    start();
    QTest::keyClick(edit("Editdatum"), Qt::Key_Return);
    QLineEdit* text = edit("DBEdittext");
    text->selectAll();
    QTest::keyClicks(text, "Quota");
    EXPECT_EQ(row(1).text, "Quota");
    QTest::keyClick(text, 'x');
    EXPECT_EQ(row(1).text, "Quotax");
    EXPECT_EQ(cell(0, 4).toStdString(), "Quotax");
}

TEST_F(MainWindow, DateButtonStoresThePickedDateAndGoesOnToTheText) {
    windows.datePicker = [](storage::Date& date) {
        EXPECT_EQ(date, ymd(2015, 1, 10));
        date = ymd(2015, 1, 31);
        return true;
    };
    start();
    child<QPushButton>("ButtonDatum")->click();
    EXPECT_EQ(row(1).datum, ymd(2015, 1, 31));
    EXPECT_EQ(child<QWidget>("DBEdittext"), QApplication::focusWidget());
}

TEST_F(MainWindow, ChoosingARowInTheListShowsIt) {
    start();
    child<QTableView>("DBGrid1")->selectRow(1);
    EXPECT_EQ(edit("DBEditnummer")->text().toStdString(), "2");
    EXPECT_EQ(edit("DBEdittext")->text().toStdString(), "Offerte");
    EXPECT_EQ(edit("DBEditcodd")->text().toStdString(), "C-02-01");
    EXPECT_EQ(edit("DBEditbetrag")->text().toStdString(), "300,00");
    EXPECT_TRUE(child<QRadioButton>("RadioEntrata")->isChecked());
    EXPECT_EQ(child<QWidget>("DBTextkasse")->property("toolTip").toString().toStdString(), "BANCA -> Banca c/c");
}

TEST_F(MainWindow, TypedA0000StoresTheDefaultAccountAndOpensThePicker) {
    int picks = 0;
    windows.accountPicker = [&](storage::Cursor&, bool) { ++picks; };
    start();
    type("Editdatum", "");
    QTest::keyClick(edit("DBEdittext"), Qt::Key_Return);
    type("Editkonto", "A0000");
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(row(1).cod, " A0101");
}

TEST_F(MainWindow, CashBoxOutsideTheLiquidAccountsOpensThePicker) {
    int picks = 0;
    windows.accountPicker = [&](storage::Cursor&, bool) { ++picks; };
    start();
    edit("DBEditcodd")->setFocus();
    type("Editkasse", "A0101");
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(child<QWidget>("Editbetrag"), QApplication::focusWidget());
}

TEST_F(MainWindow, SideButtonsMoveTheAmountAndTellThePicker) {
    start();
    std::vector<int> told;
    QObject::connect(form.get(), &TMainform::sideChanged, [&](int ea) { told.push_back(ea); });
    child<QRadioButton>("RadioEntrata")->click();
    Movement stored = row(1);
    EXPECT_EQ(stored.einnahme, 120);
    EXPECT_EQ(stored.ausgabe, 0);
    EXPECT_EQ(stored.ea, 2);
    EXPECT_EQ(cell(0, 5).toStdString(), "120,00   ");
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), 2);

    form->sideChosen(1);  // the picker's "uscite"
    EXPECT_EQ(row(1).ea, 1);
    EXPECT_EQ(told.back(), 1);
    EXPECT_TRUE(child<QRadioButton>("RadioUscita")->isChecked());
    child<QTableView>("DBGrid1")->selectRow(1);
    EXPECT_EQ(told.back(), 2) << "moving to another row shows its side";
}

TEST_F(MainWindow, AmountThatIsNoNumberIsToldInItalianAndTheCursorStays) {
    start();
    edit("DBEditbetrag")->setFocus();
    type("Editbetrag", "12,3,4");
    ASSERT_EQ(fixture.prompt.shown.size(), 1u);
    EXPECT_EQ(fixture.prompt.shown[0].kind, platform::PromptKind::Error);
    EXPECT_EQ(fixture.prompt.shown[0].text, "\"12,3,4\" non è un importo valido: scriva per esempio 1.250,00.");
    EXPECT_EQ(row(1).ausgabe, 120);
    EXPECT_EQ(child<QWidget>("Editbetrag"), QApplication::focusWidget());
    EXPECT_EQ(edit("Editbetrag")->text().toStdString(), "12,3,4");

    // A value the field cannot hold is the table's error, in Italian too, and the window goes on.
    QTest::keyClicks(edit("Editbetrag"), "9999999999999");
    QTest::keyClick(edit("Editbetrag"), Qt::Key_Return);
    ASSERT_EQ(fixture.prompt.shown.size(), 2u);
    EXPECT_EQ(fixture.prompt.shown[1].kind, platform::PromptKind::Error);
    EXPECT_EQ(row(1).ausgabe, 120);
    child<QRadioButton>("RadioEntrata")->click();
    EXPECT_EQ(row(1).einnahme, 120);
}

TEST_F(MainWindow, AFieldThatCouldNotBeReadHoldsBackTheNextCommand) {
    start();
    edit("DBEditbetrag")->setFocus();
    type("Editbetrag", "dieci");
    fixture.prompt.answer(true);
    child<QPushButton>("ButtonNewRecord")->click();
    EXPECT_EQ(fixture.rows().size(), 3u);
    EXPECT_EQ(fixture.prompt.texts().back(), "\"dieci\" non è un importo valido: scriva per esempio 1.250,00.");
    EXPECT_TRUE(edit("Editbetrag")->isVisible());

    edit("Editbetrag")->setText("7");
    child<QPushButton>("ButtonNewRecord")->click();
    EXPECT_EQ(row(1).ausgabe, 7);
    EXPECT_EQ(fixture.rows().size(), 4u);
}

TEST_F(MainWindow, DateThatIsNoDateIsRefusedAndTheStoredDateShownAgain) {
    start();
    type("Editdatum", "3102");
    ASSERT_EQ(fixture.prompt.shown.size(), 1u);
    EXPECT_EQ(fixture.prompt.shown[0].kind, platform::PromptKind::Error);
    EXPECT_EQ(row(1).datum, ymd(2015, 1, 10));
    EXPECT_EQ(child<QWidget>("Editdatum"), QApplication::focusWidget());
    EXPECT_EQ(edit("Editdatum")->text().toStdString(), "10.01.2015");
}

TEST_F(MainWindow, DeleteAsksTwiceAndShowsTheNewCount) {
    start();
    fixture.prompt.answers({true, false});
    child<QPushButton>("ButtonDeleteRecord")->click();
    EXPECT_EQ(fixture.rows().size(), 3u);
    fixture.prompt.answers({true, true});
    child<QPushButton>("ButtonDeleteRecord")->click();
    EXPECT_EQ(fixture.prompt.texts(), (std::vector<std::string>{"Vuol cancellare questo record? ", "Sicuro? ",
                                                                 "Vuol cancellare questo record? ", "Sicuro? "}));
    EXPECT_EQ(fixture.rows().size(), 2u);
    EXPECT_EQ(title().toStdString(), prefix() + " - movimenti: 2");
    EXPECT_EQ(child<QTableView>("DBGrid1")->model()->rowCount(), 2);
    EXPECT_EQ(edit("DBEditnummer")->text().toStdString(), "2");
}

TEST_F(MainWindow, DeletingTheLastRowGivesItsNumberToTheNextMovement) {
    start();
    child<QTableView>("DBGrid1")->selectRow(2);
    EXPECT_EQ(edit("DBEditnummer")->text().toStdString(), "3");
    fixture.prompt.answers({true, true, true});
    child<QPushButton>("ButtonDeleteRecord")->click();
    child<QPushButton>("ButtonNewRecord")->click();
    EXPECT_EQ(edit("DBEditnummer")->text().toStdString(), "3");
    EXPECT_EQ(title().toStdString(), prefix() + " - record: 3");
}

TEST_F(MainWindow, CtrlDelInTheListAsksOnceAndKeepsTheTitle) {
    start();
    auto* grid = child<QTableView>("DBGrid1");
    grid->setFocus();
    fixture.prompt.answer(true);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(fixture.prompt.texts(), std::vector<std::string>{"Delete record?"});
    EXPECT_EQ(fixture.rows().size(), 2u);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(title().toStdString(), prefix() + " - movimenti: 3");
}

TEST_F(MainWindow, ListOrdersByNumberCodeAndDate) {
    start();
    auto* order = child<QComboBox>("ListOrder");
    ASSERT_EQ(order->count(), 3);
    EXPECT_EQ(order->itemText(1).toStdString(), "lista secondo codice");
    const auto numbers = [this] {
        std::string out;
        for (int r = 0; r < 3; ++r) out += cell(r, 0).toStdString();
        return out;
    };
    order->setCurrentIndex(2);
    emit order->activated(2);
    EXPECT_EQ(numbers(), "132");
    EXPECT_EQ(edit("DBEditnummer")->text().toStdString(), "1") << "the current row stays";
    order->setCurrentIndex(1);
    emit order->activated(1);
    EXPECT_EQ(numbers(), "123");
    order->setCurrentIndex(0);
    emit order->activated(0);
    EXPECT_EQ(numbers(), "123");

    order->setCurrentIndex(2);
    emit order->activated(2);
    fixture.prompt.answer(true);
    child<QPushButton>("ButtonNewRecord")->click();
    EXPECT_EQ(order->currentIndex(), 0) << "a new movement lists by number";
}

TEST_F(MainWindow, ReorganisationRebuildsTheIndexesAndSaysSo) {
    start();
    child<QTableView>("DBGrid1")->selectRow(1);
    child<QAction>("ActionReorganize")->trigger();
    EXPECT_EQ(fixture.prompt.texts(), std::vector<std::string>{"l'esercizio è stato riorganizzato!"});
    EXPECT_EQ(edit("DBEditnummer")->text().toStdString(), "2");
    EXPECT_EQ(child<QTableView>("DBGrid1")->model()->rowCount(), 3);
    EXPECT_EQ(child<QWidget>("DBTexttext")->property("toolTip").toString().toStdString(), "Offerte domenicali");
}

TEST_F(MainWindow, CalculatorResultBecomesTheAmount) {
    windows.calculator = [] { return std::optional<double>(15); };
    start();
    child<QAction>("ActionCalculator")->trigger();
    EXPECT_EQ(edit("Editbetrag")->text().toStdString(), "15,00");
    QTest::keyClick(edit("Editbetrag"), Qt::Key_Return);
    EXPECT_EQ(row(1).ausgabe, 15);
}

TEST_F(MainWindow, ImportedStatementShowsInTheListAndTheTitle) {
    windows.statementImport = [&] {
        storage::Cursor journal(fixture.journalPath(), storage::OpenMode::Shared);
        appendMovement(journal, {ymd(2015, 3, 2), " E0201", " C0201", "Offerta battesimo", storage::journal::Side::Entrata, 150});
        return true;
    };
    start();
    child<QAction>("ActionStatementImport")->trigger();
    EXPECT_EQ(title().toStdString(), prefix() + " - movimenti: 4");
    EXPECT_EQ(child<QTableView>("DBGrid1")->model()->rowCount(), 4);
}

TEST_F(MainWindow, ClosingWritesTheSettings) {
    start();
    fixture.state.settings.scale = "120";
    form->close();
    EXPECT_EQ(storage::readSettings(fixture.dataDir / "tovald.INI").scale, "120");
}

class EmptyYear : public MainWindow {
protected:
    EmptyYear() : MainWindow({}) {}
};

TEST_F(EmptyYear, AsksForTheFirstMovementUntilYes) {
    fixture.prompt.answers({false, false, true});
    start();
    EXPECT_EQ(fixture.prompt.texts(), std::vector<std::string>(3, "vuol aggiungere un nuovo record?"));
    EXPECT_EQ(fixture.rows().size(), 1u);
    EXPECT_EQ(edit("DBEditnummer")->text().toStdString(), "1");
    EXPECT_EQ(child<QWidget>("Editdatum"), QApplication::focusWidget());
    EXPECT_EQ(edit("Editdatum")->text().toStdString(), "15.06.2015");
}

TEST_F(MainWindow, WithoutAYearTheProgramEndsWithAnItalianMessage) {
    fixture.state.settings.hauptdatei.clear();
    storage::writeSettings(fixture.dataDir / "tovald.INI", fixture.state.settings);
    start();
    ASSERT_EQ(fixture.prompt.shown.size(), 1u);
    EXPECT_EQ(fixture.prompt.shown[0].text.rfind("Nessun esercizio aperto: ", 0), 0u);
    EXPECT_EQ(fixture.shell.quits, 1);
}

TEST_F(MainWindow, MissingChartEndsTheProgramWithTheReinstallMessage) {
    fs::remove(fixture.chartPath());
    start();
    ASSERT_EQ(fixture.prompt.shown.size(), 1u);
    EXPECT_EQ(fixture.prompt.shown[0].text, storage::missingYearFileMessage("kw201501.dbf", {}));
    EXPECT_EQ(fixture.shell.quits, 1);
}

TEST(MainWindowScale, FieldsAndListHeaderGrowWithTheScale) {
    std::map<std::string, double> roomAt100;  // field width per text width
    for (const char* scale : {"100", "150"}) {
        test::YearFixture fixture({{1, ymd(2015, 12, 28), " A0101", " C0101", "x", 0, 1234567.5, 1, 0}});
        fixture.state.settings.scale = scale;
        storage::writeSettings(fixture.dataDir / "tovald.INI", fixture.state.settings);
        TMainform form(fixture.state, fixture.services);
        form.FormActivate();
        const auto* grid = form.findChild<QTableView*>("DBGrid1");
        EXPECT_EQ(grid->horizontalHeader()->font().pointSizeF(), form.font().pointSizeF()) << scale;
        const auto check = [&](const std::string& name, const QWidget* widget, const QString& text) {
            const int needed = widget->fontMetrics().horizontalAdvance(text);
            EXPECT_LT(needed, widget->width() - 4) << name << " at " << scale;
            const double room = double(widget->width()) / needed;
            if (roomAt100.count(name) == 0) roomAt100[name] = room;
            EXPECT_NEAR(room, roomAt100[name], 0.15) << name << " at " << scale << ": scaled once, not twice";
        };
        for (const char* name : {"DBEditdatum", "DBEditbetrag", "DBEditcod"}) {
            const auto* field = form.findChild<QLineEdit*>(name);
            check(name, field->parentWidget(), field->text());  // the field with its edit field over it
        }
        for (const char* name : {"ButtonSottoconto", "ButtonCassa"}) {
            const auto* button = form.findChild<QPushButton*>(name);
            check(name, button, button->text());
        }
    }
}

TEST(MainWindowDemo, ListsADemoYearAsTheTableHoldsIt) {
    test::YearFixture fixture;
    storage::DemoOptions options;
    options.movements = 300;
    const std::string journalName =
        storage::makeDemoDataDirectory(fixture.dataDir, fs::path(QUENDRA_RUNTIME_DIR) / "krw", options);
    TMainform form(fixture.state, fixture.services);
    form.FormActivate();
    const auto* grid = form.findChild<QTableView*>("DBGrid1");
    storage::Cursor journal(fixture.dataDir / journalName, storage::OpenMode::Shared);
    ASSERT_EQ(std::size_t(grid->model()->rowCount()), journal.recordCount());
    journal.setOrder("Nummer");
    journal.last();
    const int last = grid->model()->rowCount() - 1;
    EXPECT_EQ(grid->model()->index(last, 0).data().toString().toStdString(), std::to_string(journal.asInteger("Nummer")));
    EXPECT_TRUE(fixture.prompt.shown.empty());
}

}  // namespace
}  // namespace quendra::journal
