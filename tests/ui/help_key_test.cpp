// F1 and the manuals: the help file in its viewer at the context of the field, else the
// manual, else a message that says where to get it.

#include "journal/TEinstellungen.h"
#include "support/file_contents.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

namespace quendra::journal {
namespace {

namespace fs = std::filesystem;

class HelpKey : public test::MainWindowTest {
protected:
    void put(const char* name) { test::writeFile(fixture.home.path() / name, "x"); }
    void pressF1In(const char* field) {
        QWidget* widget = child<QWidget>(field);
        widget->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    }
    std::vector<std::string> viewerLine(const char* context) const {
        return {"/usr/bin/xchm", std::string("--contextid=") + context, (fixture.home.path() / "tovald2015.chm").string()};
    }
    const std::string missingManual =
        "Il manuale \"quendra2015.pdf\" non è installato. Con \"UPDATE\" il programma lo scarica dal server della "
        "diocesi.";
};

TEST_F(HelpKey, OpensTheHelpFileAtTheContextOfTheField) {
    put("tovald2015.chm");
    fixture.shell.installed["xchm"] = "/usr/bin/xchm";
    start();
    pressF1In("DBEditcod");
    pressF1In("DBEdittext");
    pressF1In("DBEditbetrag");
    pressF1In("DBEditdatum");
    pressF1In("DBGrid1");
    EXPECT_EQ(fixture.shell.started, (std::vector<std::vector<std::string>>{
                                         viewerLine("1006"), viewerLine("1004"), viewerLine("1004"),
                                         viewerLine("1001"), viewerLine("1001")}));
    EXPECT_TRUE(fixture.prompt.shown.empty());
    EXPECT_TRUE(fixture.shell.documents.empty());
}

TEST_F(HelpKey, WorksInAModalWindowWithItsOwnContext) {
    put("tovald2015.chm");
    fixture.shell.installed["xchm"] = "/usr/bin/xchm";
    start();
    TEinstellungen settings(fixture.state, fixture.services, form.get());
    QTimer::singleShot(0, &settings, [&] {
        QTest::keyClick(settings.focusWidget() ? settings.focusWidget() : &settings, Qt::Key_F1);
        settings.reject();
    });
    settings.exec();
    EXPECT_EQ(fixture.shell.started, std::vector<std::vector<std::string>>{viewerLine("4")});
}

TEST_F(HelpKey, WithoutTheViewerOrTheHelpFileTheManualOpens) {
    put("quendra2015.pdf");
    start();
    pressF1In("DBEditcod");
    put("tovald2015.chm");
    pressF1In("DBEditcod");  // the file, but no viewer
    EXPECT_TRUE(fixture.shell.started.empty());
    EXPECT_EQ(fixture.shell.documents,
              std::vector<fs::path>(2, fixture.home.path() / "quendra2015.pdf"));
}

TEST_F(HelpKey, WithoutAnyManualTheUserIsToldWhereToGetIt) {
    fixture.shell.installed["xchm"] = "/usr/bin/xchm";
    start();
    pressF1In("DBEditcod");
    child<QAction>("ActionManual")->trigger();
    child<QPushButton>("ButtonManual")->click();
    child<QPushButton>("ButtonGuidelines")->click();
    EXPECT_TRUE(fixture.shell.started.empty());
    EXPECT_TRUE(fixture.shell.documents.empty());
    EXPECT_EQ(fixture.prompt.texts(),
              (std::vector<std::string>{missingManual, missingManual, missingManual,
                                        "Il manuale \"pf_indicazioni.pdf\" non è installato. Con \"UPDATE\" il "
                                        "programma lo scarica dal server della diocesi."}));

    put("pf_indicazioni.pdf");
    put("quendra2015.pdf");
    child<QPushButton>("ButtonGuidelines")->click();
    child<QAction>("ActionManual")->trigger();
    EXPECT_EQ(fixture.shell.documents, (std::vector<fs::path>{fixture.home.path() / "pf_indicazioni.pdf",
                                                              fixture.home.path() / "quendra2015.pdf"}));
}

}  // namespace
}  // namespace quendra::journal
