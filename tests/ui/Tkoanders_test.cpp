#include "accounts/Tkoanders.h"

#include "accounts/chart_editing.h"
#include "widgets/window_scale.h"
#include "storage/dbase/cursor.h"
#include "support/chart_fixture.h"
#include "support/demo_year_state.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>

namespace quendra::accounts {
namespace {

template <typename T>
T* child(const QWidget& window, const char* name) {
    auto* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class ChartEditorWindow : public ::testing::Test {
protected:
    ChartEditorWindow() {
        window_.show();
        EXPECT_TRUE(window_.FormActivate());
    }

    QTableWidget* grid() const { return child<QTableWidget>(window_, "DBGrid1"); }
    QLineEdit* field() const { return child<QLineEdit>(window_, "DBEdit1"); }
    bool fieldShown() const { return child<QWidget>(window_, "TextPanel")->isVisible(); }
    void click(const char* name) { child<QAbstractButton>(window_, name)->click(); }

    std::string cell(int row, int column) const { return grid()->item(row, column)->text().toStdString(); }
    std::string textTitle() const { return grid()->horizontalHeaderItem(1)->text().toStdString(); }

    void selectCode(const std::string& code) {
        for (int r = 0; r < grid()->rowCount(); ++r) {
            if (cell(r, 0) == code) {
                grid()->setCurrentCell(r, 0);
                return;
            }
        }
        FAIL() << code << " is not listed";
    }

    // Types a text into the field as the user does, then Enter.
    void type(const QString& text) {
        field()->selectAll();
        QTest::keyClicks(field(), text);
        QTest::keyClick(field(), Qt::Key_Return);
    }

    std::map<std::string, test::ChartRow> stored() const { return test::readChartByCode(demo_.state.chartPath()); }

    test::DemoYearState demo_;
    Tkoanders window_{demo_.state, demo_.services};
};

TEST_F(ChartEditorWindow, OpensOnTheExpenseMainAccountsWithItsCaptionsAndTheFieldHidden) {
    EXPECT_EQ(window_.windowTitle(), "Cambiamento piano conti");
    EXPECT_EQ(child<QPushButton>(window_, "Button5")->text(), "cambiamento");
    EXPECT_EQ(child<QPushButton>(window_, "Button6")->text(), "nuovo");
    EXPECT_EQ(child<QPushButton>(window_, "loeschen")->text(), "cancellare");
    EXPECT_EQ(child<QPushButton>(window_, "Button4")->text(), "uscita");
    const std::pair<const char*, const char*> radios[] = {{"RadioClassA", "Uscite"},  {"RadioClassE", "Entrate"},
                                                          {"RadioClassC", "Attiva"},  {"RadioClassP", "Passiva"},
                                                          {"RadioConti", "Conti"},    {"RadioSottoconti", "Sottoconti"}};
    for (const auto& [name, text] : radios) EXPECT_EQ(child<QRadioButton>(window_, name)->text(), text);
    EXPECT_TRUE(child<QRadioButton>(window_, "RadioClassA")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(window_, "RadioConti")->isChecked());
    EXPECT_FALSE(fieldShown());

    EXPECT_EQ(grid()->horizontalHeaderItem(0)->text(), "Code");
    EXPECT_EQ(textTitle(), "Uscite");
    EXPECT_EQ(grid()->rowCount(), 15);
    EXPECT_EQ(cell(0, 0), "A01");
    EXPECT_EQ(cell(0, 1), "Contributo sostentamento Clero");
    EXPECT_EQ(grid()->currentRow(), 0);
    EXPECT_TRUE(demo_.prompt.shown.empty());
}

TEST_F(ChartEditorWindow, ANewMainAccountIsNamedAndThenItsFirstSubAccount) {
    click("Button6");
    ASSERT_TRUE(fieldShown());
    EXPECT_EQ(field()->text(), "immettere conto");
    EXPECT_EQ(field()->maxLength(), 60);

    type("Spese per la radio");
    // The field stays for the first sub-account, in the new main account's view.
    ASSERT_TRUE(fieldShown());
    EXPECT_EQ(field()->text(), "Oggetto sottoconto");
    EXPECT_TRUE(child<QRadioButton>(window_, "RadioSottoconti")->isChecked());
    EXPECT_EQ(textTitle(), "Spese per la radio");
    EXPECT_EQ(cell(0, 0), "A1601");

    type("Antenna");
    EXPECT_FALSE(fieldShown());
    EXPECT_EQ(cell(0, 1), "Antenna");
    const auto rows = stored();
    EXPECT_EQ(rows.at("HA1600").texth, "Spese per la radio");
    EXPECT_EQ(rows.at(" A1601"), (test::ChartRow{" A1601", "Antenna", "Spese per la radio", "Uscite"}));
    EXPECT_TRUE(demo_.prompt.shown.empty());
}

TEST_F(ChartEditorWindow, ACashBoxCanBeRenamedButNotDeleted) {
    click("RadioClassC");
    EXPECT_EQ(textTitle(), "Attiva");
    selectCode("C01");
    click("RadioSottoconti");
    EXPECT_EQ(textTitle(), "Cassa");
    selectCode("C0101");

    click("Button5");
    ASSERT_TRUE(fieldShown());
    EXPECT_EQ(field()->text(), "Cassa parrocchiale");
    type("Cassa della canonica");
    EXPECT_FALSE(fieldShown());
    EXPECT_EQ(stored().at(" C0101").text, "Cassa della canonica");

    click("loeschen");
    selectCode("C0102");
    click("RadioConti");
    selectCode("C05");
    click("Button5");
    EXPECT_FALSE(fieldShown());
    EXPECT_EQ(demo_.prompt.texts(),
              (std::vector<std::string>{std::string(kCannotDeleteStandard), std::string(kCannotRenameStandard)}));
    EXPECT_EQ(stored().count(" C0101"), 1u);
}

TEST_F(ChartEditorWindow, DeletingAParishMainAccountAsksAndReturnsToTheExpenses) {
    click("RadioClassE");
    click("Button6");
    type("Offerte della sagra");
    type("Pesca di beneficenza");
    click("RadioConti");
    selectCode("E10");

    demo_.prompt.answer(true);
    click("loeschen");
    EXPECT_EQ(demo_.prompt.texts(), (std::vector<std::string>{
                                        "Vuoi veramente cancellare il conto OFFERTE DELLA SAGRA insieme con i sottoconti? "}));
    EXPECT_EQ(stored().count("HE1000"), 0u);
    EXPECT_EQ(stored().count(" E1001"), 0u);
    EXPECT_TRUE(child<QRadioButton>(window_, "RadioClassA")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(window_, "RadioConti")->isChecked());
    EXPECT_EQ(textTitle(), "Uscite");
}

TEST_F(ChartEditorWindow, LeavingANewMainAccountForAnyControlLeadsToItsFirstSubAccount) {
    click("Button6");
    field()->setText("Spese nuove");
    // The click leaves the field; the class stays, for the first sub-account is named next.
    click("RadioClassE");
    EXPECT_TRUE(child<QRadioButton>(window_, "RadioClassA")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(window_, "RadioSottoconti")->isChecked());
    ASSERT_TRUE(fieldShown());
    EXPECT_EQ(field()->text(), "Oggetto sottoconto");
    EXPECT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(stored().at(" A1601").texth, "Spese nuove");

    // Leaving the sub-account's field stores it as it stands, and the click counts.
    click("Button6");
    ASSERT_TRUE(fieldShown());
    EXPECT_EQ(field()->text(), "immettere sottoconto");
    EXPECT_EQ(stored().at(" A1601").text, "Oggetto sottoconto");
    EXPECT_EQ(stored().at(" A1602").texth, "Spese nuove");
}

TEST_F(ChartEditorWindow, AMouseClickThatLeavesANewMainAccountNamesItAndThenWaits) {
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    auto* nuovo = child<QPushButton>(window_, "Button6");
    QTest::mouseClick(nuovo, Qt::LeftButton);
    ASSERT_TRUE(field()->hasFocus());
    QTest::keyClicks(field(), "Spese nuove");

    // Focus leaves the field for the button: the main account is stored, and the click
    // does not add a second sub-account while the first one waits for its name.
    QTest::mouseClick(nuovo, Qt::LeftButton);
    ASSERT_TRUE(fieldShown());
    EXPECT_TRUE(field()->hasFocus());
    EXPECT_EQ(field()->text(), "Oggetto sottoconto");
    EXPECT_EQ(grid()->rowCount(), 1);

    QTest::keyClicks(field(), "Antenna");
    QTest::mouseClick(nuovo, Qt::LeftButton);
    ASSERT_TRUE(fieldShown());
    EXPECT_EQ(field()->text(), "immettere sottoconto");
    EXPECT_EQ(stored().at(" A1601").text, "Antenna");
    EXPECT_EQ(stored().count(" A1602"), 1u);
    EXPECT_EQ(stored().at("HA1600").text, "Spese nuove");
}

TEST_F(ChartEditorWindow, ClosingStoresTheTextBeingTyped) {
    selectCode("A05");
    click("RadioSottoconti");
    click("Button6");
    ASSERT_TRUE(fieldShown());
    field()->setText("Fotocopie");
    click("Button4");
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(stored().at(" A0506").text, "Fotocopie");
    EXPECT_EQ(stored().at(" A0506").texth, "Spese amministrative");
}

TEST_F(ChartEditorWindow, ShowEditorRunsModallyAndReleasesTheChart) {
    std::string firstRow;
    QTimer::singleShot(0, [&] {
        firstRow = cell(0, 1);
        click("Button4");
    });
    window_.hide();
    window_.showEditor();
    EXPECT_EQ(firstRow, "Contributo sostentamento Clero");
    // Nothing holds the chart any more: it can be opened exclusively.
    EXPECT_NO_THROW(storage::Cursor(demo_.state.chartPath(), storage::OpenMode::Exclusive));
}

TEST_F(ChartEditorWindow, AChartThatCannotBeOpenedIsToldInItalian) {
    demo_.state.settings.konto = "kw209901.dbf";
    EXPECT_FALSE(window_.FormActivate());
    ASSERT_EQ(demo_.prompt.shown.size(), 1u);
    EXPECT_EQ(demo_.prompt.shown[0].kind, platform::PromptKind::Error);
    EXPECT_NE(demo_.prompt.shown[0].text.find("KW209901.DBF"), std::string::npos) << demo_.prompt.shown[0].text;
}

TEST_F(ChartEditorWindow, ScalesWithTheScaleSetting) {
    test::DemoYearState large;
    large.state.settings.scale = "150";
    Tkoanders scaled(large.state, large.services);
    const int height = QApplication::primaryScreen()->geometry().height();
    const double factor = widgets::windowScalePercent(height, 150) / double(widgets::windowScalePercent(height, 100));
    EXPECT_NEAR(scaled.width(), window_.width() * factor, 2);
    // The rows grow with the font, so that no text is cut.
    auto* scaledGrid = child<QTableWidget>(scaled, "DBGrid1");
    EXPECT_GE(scaledGrid->verticalHeader()->defaultSectionSize(), scaledGrid->fontMetrics().height());
    EXPECT_GT(scaledGrid->verticalHeader()->defaultSectionSize(), grid()->verticalHeader()->defaultSectionSize());
    EXPECT_EQ(scaledGrid->horizontalHeader()->font().pointSizeF(), scaledGrid->font().pointSizeF());
}

}  // namespace
}  // namespace quendra::accounts
