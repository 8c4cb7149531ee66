#include "years/TOeffnen.h"

#include "budget/budget_table.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/cursor.h"
#include "years/parish_data.h"
#include "years/year_messages.h"
#include "years/year_test_data.h"

#include "support/fixed_clock.h"
#include "support/recording_shell.h"
#include "support/file_contents.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

namespace quendra::years {
namespace {

using test::Movement;
using test::ymd;

Movement row(int nummer, const std::string& cod = " E0101", const std::string& codd = " C0101", double in = 10,
             int opening = 0) {
    return {nummer, ymd(2015, 3, 1), cod, codd, "Offerte", in, 0, 2, opening};
}

std::vector<Movement> rows(int count) {
    std::vector<Movement> out;
    for (int n = 1; n <= count; ++n) out.push_back(row(n));
    return out;
}

class YearDialog : public ::testing::Test {
protected:
    YearDialog() {
        state.dataDir = data.path();
        test::makeTemplates(data.path());
    }

    void year(const std::string& number, int rowCount, const std::string& parish = "Santa Maria") {
        test::makeYear(data.path(), number, rows(rowCount), test::smallChart(parish));
    }

    // The dialog as the main window shows it, without blocking the test.
    TOeffnen& shown() {
        dialog = std::make_unique<TOeffnen>(state, services);
        dialog->setHooks({[this] { return updateCheck(); }, [this] { ++tableCloses; }, [this] { return saveFolder; },
                          [this] { return savedJournal; }});
        dialog->show();
        return *dialog;
    }

    template <typename T>
    T* find(const char* name) {
        T* widget = dialog->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* button(const char* name) { return find<QPushButton>(name); }
    void click(const char* name) { button(name)->click(); }
    QListWidget* list() { return find<QListWidget>("ListBox1"); }
    bool visible(const char* panel) { return find<QFrame>(panel)->isVisible(); }

    std::vector<std::string> listed() {
        std::vector<std::string> texts;
        for (int i = 0; i < list()->count(); ++i) texts.push_back(list()->item(i)->text().toStdString());
        return texts;
    }

    std::vector<std::string> boxEntries(const char* name) {
        std::vector<std::string> texts;
        QComboBox* box = find<QComboBox>(name);
        for (int i = 0; i < box->count(); ++i) texts.push_back(box->itemText(i).toStdString());
        return texts;
    }

    // The commands that are enabled, in the order of the button column.
    std::vector<std::string> enabledCommands() {
        std::vector<std::string> names;
        for (const char* name :
             {"ListBox1", "Button1", "Button2", "Neuesjahr", "njbutton", "zurueckholen", "Button5", "esci"}) {
            if (dialog->findChild<QWidget*>(name)->isEnabled()) names.push_back(name);
        }
        return names;
    }

    void screenshot(const char* name) {
        if (const char* dir = std::getenv("QUENDRA_SCREENSHOT_DIR")) {
            dialog->grab().save(QString(dir) + "/TOeffnen_" + name + ".png");
        }
    }

    const std::vector<std::string> kAllCommands = {"ListBox1", "Button1",      "Button2", "Neuesjahr",
                                                   "njbutton", "zurueckholen", "Button5", "esci"};

    test::TempDir data;
    state::MainState state;
    test::FixedClock clock{ymd(2015, 6, 15)};
    test::ScriptedPrompt prompt;
    test::RecordingShell shell;
    platform::Services services{prompt, clock, shell};
    // The update check as the program runs it: counted, and restarting when asked to.
    bool updateCheck() {
        ++updateChecks;
        return updateRestarts;
    }

    std::unique_ptr<TOeffnen> dialog;
    int updateChecks = 0;
    bool updateRestarts = false;
    int tableCloses = 0;
    std::optional<std::filesystem::path> saveFolder;
    std::optional<std::filesystem::path> savedJournal;
};

// --- The list ------------------------------------------------------------------------------

TEST_F(YearDialog, ListsTheYearsNewestFirstAndSelectsTheFirst) {
    year("201501", 3);
    year("201601", 1, "San Vigilio");
    year("201502", 254, "Santa Maria Ausiliatrice");
    shown();
    EXPECT_EQ(listed(), (std::vector<std::string>{"2016-01 | SAN VIGILIO (Valle) Centro (1 voci)",
                                                  "2015-02 | SANTA MARIA AUSILIATRICE (Valle) Centro (254 voci)",
                                                  "2015-01 | SANTA MARIA (Valle) Centro (3 voci)"}));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_FALSE(find<QLabel>("EmptyListHint")->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Quendra: operazioni file");
    screenshot("list");
}

TEST_F(YearDialog, OpeningTheChosenYearNamesItsFilesAndLeaves) {
    year("201501", 3);
    year("201502", 1);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        list()->setCurrentRow(1);
        click("Button1");
    });
    dialog = std::make_unique<TOeffnen>(state, services);
    dialog->setHooks({[this] { return updateCheck(); }, [this] { ++tableCloses; }, {}, {}});
    opened = dialog->showModal();
    EXPECT_TRUE(opened);
    EXPECT_EQ(state.settings.hauptdatei, "kr201501.dbf");
    EXPECT_EQ(state.settings.konto, "kw201501.dbf");
    EXPECT_EQ(updateChecks, 1);
    EXPECT_EQ(tableCloses, 1);

    // Shown again, the remembered line is selected once more.
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(list()->currentRow(), 1);
        click("Button1");
    });
    EXPECT_TRUE(dialog->showModal());
}

TEST_F(YearDialog, AnUpdateThatRestartsLeavesBeforeAYearIsTouched) {
    year("201501", 3);
    updateRestarts = true;
    const auto before = test::namesIn(data.path());
    for (const char* command : {"Button1", "Neuesjahr"}) {
        QTimer::singleShot(0, [&] { click(command); });
        dialog = std::make_unique<TOeffnen>(state, services);
        dialog->setHooks({[this] { return updateCheck(); }, [this] { ++tableCloses; }, {}, {}});
        EXPECT_FALSE(dialog->showModal()) << command << ": the program is ending";
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_EQ(updateChecks, 2);
    EXPECT_EQ(tableCloses, 0) << "the main window's tables stay as they are";
    EXPECT_TRUE(state.settings.hauptdatei.empty());
    EXPECT_EQ(test::namesIn(data.path()), before) << "no year opened, created or repaired";
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(YearDialog, WithoutYearsOpeningOnlyTellsAndTheDialogStays) {
    shown();
    EXPECT_TRUE(listed().empty());
    // A first start says what to do.
    EXPECT_TRUE(find<QLabel>("EmptyListHint")->isVisible());
    screenshot("firststart");
    click("Button1");
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{std::string(messages::kNoYear)});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(state.settings.hauptdatei.empty());
}

TEST_F(YearDialog, EscapeAndTheCloseRequestDoNotLeave) {
    year("201501", 1);
    shown();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(YearDialog, EsciEndsTheProgram) {
    year("201501", 1);
    QTimer::singleShot(0, [&] { click("esci"); });
    dialog = std::make_unique<TOeffnen>(state, services);
    EXPECT_FALSE(dialog->showModal());
    EXPECT_EQ(shell.quits, 1);
    EXPECT_TRUE(state.settings.hauptdatei.empty());
}

// --- Parish data --------------------------------------------------------------------------

TEST_F(YearDialog, ParishDataIsEditedWithEnterFromFieldToFieldAndStored) {
    year("201601", 1, "San Vigilio");
    year("201501", 1);
    year("201502", 1, "Santa Croce");
    shown();
    list()->setCurrentRow(2);
    click("Button2");
    ASSERT_TRUE(visible("parishpanel"));
    EXPECT_EQ(find<QLineEdit>("Editparrocchia")->text(), "Santa Maria");
    EXPECT_EQ(find<QLineEdit>("Editluogo")->text(), "Valle");
    EXPECT_EQ(find<QLineEdit>("Editdecanato")->text(), "Centro");
    EXPECT_EQ(enabledCommands(), (std::vector<std::string>{"zurueckholen", "esci"}));
    screenshot("parish");

    QLineEdit* name = find<QLineEdit>("Editparrocchia");
    name->setFocus();
    name->setText("San Giorgio");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(dialog->focusWidget(), find<QLineEdit>("Editluogo"));
    find<QLineEdit>("Editluogo")->setText("Monte");
    QTest::keyClick(find<QLineEdit>("Editluogo"), Qt::Key_Return);
    EXPECT_EQ(dialog->focusWidget(), find<QLineEdit>("Editdecanato"));
    find<QLineEdit>("Editdecanato")->setText("Sud");
    QTest::keyClick(find<QLineEdit>("Editdecanato"), Qt::Key_Return);  // acts as "salva"

    EXPECT_FALSE(visible("parishpanel"));
    EXPECT_EQ(enabledCommands(), kAllCommands);
    EXPECT_EQ(readParishData(test::chartOf(data.path(), "201501")), (ParishData{"San Giorgio", "Monte", "Sud"}));
    EXPECT_EQ(list()->currentRow(), 2);
    EXPECT_EQ(list()->item(2)->text().toStdString(), "2015-01 | SAN GIORGIO (Monte) Sud (1 voci)");
}

TEST_F(YearDialog, AParishTextTheFileCannotHoldIsRefusedAndTheFieldsStay) {
    year("201501", 1);
    shown();
    click("Button2");
    find<QLineEdit>("Editparrocchia")->setText(QString::fromUtf8("San Giorgio \xE2\x9C\x9D"));  // a cross sign
    click("Button3");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("non può essere salvato"), std::string::npos) << prompt.shown[0].text;
    EXPECT_TRUE(visible("parishpanel"));
    EXPECT_EQ(readParishData(test::chartOf(data.path(), "201501")).name, "Santa Maria");
}

// --- A new year -----------------------------------------------------------------------------

TEST_F(YearDialog, AFirstOpeningCreatesTheNextFileOfTheYearAndAsksForTheParish) {
    year("201501", 1);
    year("201502", 1);
    shown();
    click("Neuesjahr");
    EXPECT_EQ(updateChecks, 1);
    ASSERT_TRUE(visible("njpanel"));
    EXPECT_FALSE(find<QRadioButton>("njradioFirst")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("njradioClose")->isChecked());
    EXPECT_FALSE(button("njok")->isVisible());
    EXPECT_TRUE(button("njabbruch")->isVisible());
    screenshot("newyear");

    find<QRadioButton>("njradioFirst")->click();
    EXPECT_FALSE(visible("njpanel"));
    ASSERT_TRUE(visible("yearpanel"));
    EXPECT_EQ(enabledCommands(), (std::vector<std::string>{"ListBox1"}));
    screenshot("yearfield");
    // The year of today is proposed.
    EXPECT_EQ(find<QLineEdit>("MaskEdit1")->text().toStdString(), "2015");

    find<QLineEdit>("MaskEdit1")->clear();
    click("MaskEdit1Ok");
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{std::string(messages::kEnterYear)});
    EXPECT_FALSE(std::filesystem::exists(data / "kr201503.dbf"));

    QTest::keyClicks(find<QLineEdit>("MaskEdit1"), "2015");
    click("MaskEdit1Ok");
    ASSERT_TRUE(std::filesystem::exists(data / "kr201503.dbf"));
    ASSERT_TRUE(std::filesystem::exists(data / "kw201503.dbf"));
    const auto journal = test::readMovements(data / "kr201503.dbf");
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].datum, ymd(2015, 6, 15));
    // Only "salva" leads on.
    EXPECT_FALSE(button("MaskEdit1Ok")->isEnabled());
    EXPECT_FALSE(button("abbruch")->isEnabled());
    ASSERT_TRUE(visible("parishpanel"));
    EXPECT_TRUE(find<QLineEdit>("Editparrocchia")->text().isEmpty());
    EXPECT_EQ(find<QLineEdit>("Editparrocchia")->placeholderText().toStdString(), "San Nicolò");
    screenshot("newparish");

    find<QLineEdit>("Editparrocchia")->setText("San Rocco");
    find<QLineEdit>("Editluogo")->setText("Pieve");
    click("Button3");
    EXPECT_EQ(enabledCommands(), kAllCommands);
    EXPECT_FALSE(visible("yearpanel"));
    EXPECT_EQ(listed().front(), "2015-03 | SAN ROCCO (Pieve)  (1 voci)");
    EXPECT_EQ(list()->currentRow(), 0);
}

TEST_F(YearDialog, TheHundredthFileOfAYearIsRefused) {
    year("201599", 1);
    shown();
    click("Neuesjahr");
    find<QRadioButton>("njradioFirst")->click();
    QTest::keyClicks(find<QLineEdit>("MaskEdit1"), "2015");
    click("MaskEdit1Ok");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "L'anno 2015 ha già 99 esercizi: non è possibile crearne un altro.");
    EXPECT_FALSE(visible("parishpanel"));
    EXPECT_TRUE(button("abbruch")->isEnabled());
}

TEST_F(YearDialog, AMissingTemplateEndsTheProgramWithItsMessage) {
    std::filesystem::remove(data / "kw000000.dbf");
    shown();
    click("Neuesjahr");
    find<QRadioButton>("njradioFirst")->click();
    QTest::keyClicks(find<QLineEdit>("MaskEdit1"), "2015");
    click("MaskEdit1Ok");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text.rfind("Manca il file \"KW000000.DBF\". - Devi riinstallare il programma", 0), 0u)
        << prompt.shown[0].text;
    EXPECT_EQ(shell.quits, 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(std::filesystem::exists(data / "kr201501.dbf"));
}

TEST_F(YearDialog, CancellingTheFirstOpeningRestoresTheCommands) {
    year("201501", 1);
    shown();
    click("Neuesjahr");
    find<QRadioButton>("njradioFirst")->click();
    click("abbruch");
    EXPECT_EQ(enabledCommands(), kAllCommands);
    EXPECT_FALSE(visible("yearpanel"));
    EXPECT_EQ(listed().size(), 1u);
}

TEST_F(YearDialog, ClosingAYearWhenThereIsNoneIsAFirstOpening) {
    shown();
    click("Neuesjahr");
    find<QRadioButton>("njradioClose")->click();
    EXPECT_FALSE(visible("njpanel"));
    EXPECT_TRUE(visible("yearpanel"));
}

TEST_F(YearDialog, ClosingAYearCarriesItsBalancesIntoTheNextFile) {
    test::makeYear(data.path(), "201401", {row(1, " E0101", " C0101", 300), row(2, " P0101", " C0201", 1000)},
                   test::smallChart("Santa Maria"));
    year("201501", 2, "Altra parrocchia");
    shown();
    list()->setCurrentRow(1);  // 2014-01
    click("Neuesjahr");
    find<QRadioButton>("njradioClose")->click();
    ASSERT_TRUE(button("njok")->isVisible());
    EXPECT_EQ(find<QComboBox>("njsource")->currentIndex(), 1);
    EXPECT_FALSE(find<QComboBox>("njtarget")->isVisible());
    screenshot("closeyear");
    prompt.answer(true);  // the new year's budget from the closing year's actual amounts
    click("njok");

    EXPECT_EQ(tableCloses, 1);
    EXPECT_FALSE(visible("njpanel"));
    const auto carried = test::readMovements(data / "kr201502.dbf");
    ASSERT_EQ(carried.size(), 3u);
    EXPECT_EQ(carried[0].text, "Riporto: 2014/01 - Cassa parrocchiale");
    EXPECT_EQ(carried[2].cod, " P0101");
    EXPECT_EQ(listed().front(), "2015-02 | SANTA MARIA (Valle) Centro (3 voci)");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Proporre il preventivo 2015 dal consuntivo 2014?");
    const budget::Budget proposed = budget::readBudget(data / "kv201502.dbf");
    ASSERT_EQ(proposed.size(), 1u);
    EXPECT_EQ(proposed.at(" E0101").amount, 300);
}

// --- Update of a carry-forward ---------------------------------------------------------------

TEST_F(YearDialog, AnUpdateRedoesTheCarryFromTheYearItsRowsName) {
    test::makeYear(data.path(), "201401", {row(1, " E0101", " C0101", 300)}, test::smallChart("Santa Maria"));
    test::makeYear(
        data.path(), "201501",
        {{1, ymd(2015, 1, 1), " C0101", " C0101", "Riporto: 2014/01 - Cassa parrocchiale", 100, 0, 2, 2}, row(2)},
        test::smallChart("Santa Maria"));
    shown();
    click("njbutton");
    ASSERT_TRUE(visible("updatepanel"));
    EXPECT_EQ(boxEntries("njupdate"), listed());
    EXPECT_EQ(find<QComboBox>("njupdate")->currentIndex(), 0);
    screenshot("update");
    click("njok2");
    EXPECT_FALSE(visible("updatepanel"));
    const auto target = test::readMovements(data / "kr201501.dbf");
    ASSERT_EQ(target.size(), 2u);
    EXPECT_EQ(target[0].nummer, 2);
    EXPECT_EQ(target[1].nummer, 1);
    EXPECT_EQ(target[1].einnahme, 300);
}

TEST_F(YearDialog, AnUpdateWhoseSourceYearIsGoneTellsSoAndChangesNothing) {
    test::makeYear(data.path(), "201501",
                   {{1, ymd(2015, 1, 1), " C0101", " C0101", "Apertura cassa a mano", 100, 0, 2, 2}, row(2)},
                   test::smallChart("Santa Maria"));
    shown();
    click("njbutton");
    click("njok2");
    // Characters 10-13 and 15-16 of the text: "cass" and " a".
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"l'esercizio: krcass a.dbf non esiste"});
    EXPECT_FALSE(visible("updatepanel"));
    EXPECT_EQ(test::readMovements(data / "kr201501.dbf").size(), 2u);
    EXPECT_EQ(tableCloses, 0);
}

TEST_F(YearDialog, ATargetWithoutCarryRowsAsksForTheSourceAndCarries) {
    test::makeYear(data.path(), "201301", {row(1, " E0101", " C0101", 5)}, test::smallChart("Santa Maria"));
    test::makeYear(data.path(), "201401", {row(1, " E0101", " C0102", 300)}, test::smallChart("Santa Maria"));
    test::makeYear(data.path(), "201501", {row(2), row(3)}, test::smallChart("Santa Maria"));
    shown();
    click("njbutton");
    find<QComboBox>("njupdate")->setCurrentIndex(0);  // 2015-01
    click("njok2");
    ASSERT_TRUE(visible("njpanel"));
    EXPECT_FALSE(find<QLabel>("njtitle")->isVisible());
    EXPECT_FALSE(find<QRadioButton>("njradioFirst")->isVisible());
    EXPECT_FALSE(find<QRadioButton>("njradioClose")->isVisible());
    EXPECT_EQ(find<QComboBox>("njsource")->currentIndex(), 1);  // the next older year
    EXPECT_EQ(find<QComboBox>("njtarget")->currentIndex(), 0);
    screenshot("intoexisting");
    click("njok");
    const auto target = test::readMovements(data / "kr201501.dbf");
    ASSERT_EQ(target.size(), 3u);
    EXPECT_EQ(target[2].nummer, 1);
    EXPECT_EQ(target[2].cod, " C0102");
    EXPECT_FALSE(visible("njpanel"));

    // The oldest year as target proposes itself as source.
    click("njbutton");
    find<QComboBox>("njupdate")->setCurrentIndex(2);
    click("njok2");
    EXPECT_EQ(find<QComboBox>("njsource")->currentIndex(), 2);
    click("njabbruch");
    EXPECT_FALSE(visible("njpanel"));
}

// --- Import, delete, save --------------------------------------------------------------------

TEST_F(YearDialog, ImportingUnderATakenNameRenamesAndSaysSo) {
    year("201501", 1);
    year("201502", 1);
    test::TempDir saved;
    test::makeJournal(saved / "KR201501.DBF", rows(4));
    test::makeChart(saved / "KW201501.DBF", test::smallChart("Salvata"));
    savedJournal = saved / "KR201501.DBF";
    shown();
    click("zurueckholen");
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{"Il file esiste già. Il nome del nuovo file è: KR201503.DBF",
                                                        std::string(messages::kImported)}));
    EXPECT_EQ(listed().front(), "2015-03 | SALVATA (Valle) Centro (4 voci)");
}

TEST_F(YearDialog, ImportingAJournalWithoutItsChartCopiesNothing) {
    test::TempDir saved;
    test::makeJournal(saved / "KR201401.DBF", rows(4));
    savedJournal = saved / "KR201401.DBF";
    shown();
    click("zurueckholen");
    EXPECT_EQ(prompt.texts(),
              std::vector<std::string>{messages::chartMissingBesideJournal("KW201401.DBF", "KR201401.DBF")});
    EXPECT_FALSE(std::filesystem::exists(data / "kr201401.dbf"));
}

TEST_F(YearDialog, DeletingAsksFirstAndThenRemovesTheChosenYear) {
    year("201501", 1);
    year("201502", 1);
    shown();
    list()->setCurrentRow(1);
    prompt.answer(false);
    click("Button5");
    EXPECT_TRUE(std::filesystem::exists(data / "kr201501.dbf"));

    prompt.answer(true);
    click("Button5");
    EXPECT_EQ(prompt.texts().back(), "Vuoi veramente cancellare l'esercizio 2015-01 (KR201501.DBF e KW201501.DBF)?");
    EXPECT_TRUE(prompt.shown.back().noByDefault) << "Enter must keep the year";
    EXPECT_FALSE(std::filesystem::exists(data / "kr201501.dbf"));
    EXPECT_FALSE(std::filesystem::exists(data / "kw201501.dbf"));
    EXPECT_EQ(listed().size(), 1u);
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(tableCloses, 1);
}

TEST_F(YearDialog, AfterDeletingTheOpenYearOnlyAnotherYearOrEsciLeave) {
    year("201501", 1);
    year("201601", 1);
    state.settings.hauptdatei = "kr201601.dbf";
    state.settings.konto = "kw201601.dbf";
    QTimer::singleShot(0, [&] {
        prompt.answer(true);
        click("Button5");  // 2016-01, the open year
        dialog->reject();
        dialog->close();
        EXPECT_TRUE(dialog->isVisible());
        click("Button1");
    });
    dialog = std::make_unique<TOeffnen>(state, services);
    EXPECT_TRUE(dialog->showModal());
    EXPECT_EQ(state.settings.hauptdatei, "kr201501.dbf");
}

TEST_F(YearDialog, SavingCopiesTheCurrentYearIntoTheChosenFolder) {
    year("201501", 5);
    state.settings.hauptdatei = "kr201501.dbf";
    state.settings.konto = "kw201501.dbf";
    test::TempDir backup;
    saveFolder = backup.path();
    shown();
    dialog->hide();
    dialog->Button6Click();
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{std::string(messages::kSaved)});
    EXPECT_EQ(test::readMovements(backup / "kr201501.dbf").size(), 5u);
    EXPECT_TRUE(std::filesystem::exists(backup / "kw201501.dbf"));

    saveFolder = data.path();
    dialog->Button6Click();
    EXPECT_EQ(prompt.texts().back(), messages::kCopyIntoDataDirectory);

    saveFolder.reset();
    dialog->Button6Click();
    EXPECT_EQ(prompt.texts().size(), 2u);
}

TEST_F(YearDialog, ScalesWithTheSkalaSetting) {
    shown();
    const int normal = list()->minimumWidth();
    state.settings.scale = "150";
    shown();
    EXPECT_GT(list()->minimumWidth(), normal);
}

// A text fits its rectangle, wrapped at word boundaries where needed.
bool fits(const QFontMetrics& metrics, const QRect& rect, const QString& text) {
    const QRect needed = metrics.boundingRect(QRect(0, 0, rect.width(), 10000), Qt::TextWordWrap, text);
    return needed.width() <= rect.width() && needed.height() <= rect.height();
}

TEST_F(YearDialog, EveryYearEntryShowsWholeAtTheDefaultScaleAndAt130) {
    test::makeYear(data.path(), "202601", rows(402),
                   test::smallChart("Parrocchia San Michele Arcangelo", "Borgo Velmora", "Decanato di Varnelia"));
    year("202501", 3);
    for (const char* scale : {"100", "130"}) {
        SCOPED_TRACE(scale);
        state.settings.scale = scale;
        shown();
        QListWidget* years = list();
        EXPECT_FALSE(years->horizontalScrollBar()->isVisible());
        for (int i = 0; i < years->count(); ++i) {
            const QRect line = years->visualItemRect(years->item(i));
            EXPECT_TRUE(years->viewport()->rect().contains(line)) << i;
            EXPECT_TRUE(fits(years->fontMetrics(), line.adjusted(3, 0, -3, 0), years->item(i)->text()))
                << years->item(i)->text().toStdString();
        }
        screenshot((std::string("list_") + scale).c_str());

        years->setCurrentRow(0);
        click("Neuesjahr");
        find<QRadioButton>("njradioClose")->click();
        QComboBox* source = find<QComboBox>("njsource");
        QStyleOptionComboBox option;
        option.initFrom(source);
        const QRect textArea =
            source->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, source);
        EXPECT_LE(source->fontMetrics().horizontalAdvance(source->currentText()), textArea.width())
            << source->currentText().toStdString();
        screenshot((std::string("closeyear_") + scale).c_str());
    }
}

}  // namespace
}  // namespace quendra::years
