#pragma once

#include "journal/TMainform.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "support/year_fixture.h"
#include "widgets/ElidedLabel.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quendra::test {

// Three rows of 2015/01: an expense through the cash box, an income through the bank,
// another income through the cash box (dated before the second).
inline std::vector<Movement> threeRows() {
    return {
        {1, ymd(2015, 1, 10), " A0101", " C0101", "Quota clero", 0, 120, 1, 0},
        {2, ymd(2015, 3, 12), " E0101", " C0201", "Offerte", 300, 0, 2, 0},
        {3, ymd(2015, 2, 3), " E0201", " C0101", "Battesimo", 45, 0, 2, 0},
    };
}

// The main window on a year of the given rows, with scripted prompt and shell.
class MainWindowTest : public ::testing::Test {
protected:
    explicit MainWindowTest(const std::vector<Movement>& rows = threeRows()) : fixture(rows) {}

    // The window as the program starts it, shown and active, so that the focus moves
    // the way it does for the user.
    void start() {
        form = std::make_unique<journal::TMainform>(fixture.state, fixture.services);
        form->setWindows(windows);
        form->FormActivate();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    template <class T>
    T* child(const char* name) const {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
    QTableView* grid() const { return child<QTableView>("DBGrid1"); }
    // Types into the field that has the focus, then Enter.
    void type(const char* expectedField, const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        ASSERT_EQ(focus->objectName().toStdString(), expectedField);
        QTest::keyClicks(focus, text);
        QTest::keyClick(focus, Qt::Key_Return);
    }
    QString title() const { return child<widgets::ElidedLabel>("TitleLine")->text(); }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }
    Movement row(int number) const {
        for (const Movement& m : fixture.rows()) {
            if (m.nummer == number) return m;
        }
        ADD_FAILURE() << "no row " << number;
        return {};
    }
    std::string prefix() const { return fixture.state.titlePrefix; }
    std::string focusName() const {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName().toStdString() : "<none>";
    }

    YearFixture fixture;
    journal::MainformWindows windows;
    std::unique_ptr<journal::TMainform> form;
};

}  // namespace quendra::test
