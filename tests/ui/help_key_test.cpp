// F1 and the manuals: the diocese's help file in its viewer at the context of the field,
// else our own manual in the help window at the context's section; "manuale" and
// "indicazioni" open the diocese's documents, else our manual's contents.

#include "journal/THilfe.h"
#include "journal/TEinstellungen.h"
#include "journal/help.h"
#include "support/file_contents.h"
#include "support/main_window_fixture.h"
#include "widgets/HelpKey.h"
#include "widgets/QtHelpers.h"

#include <QAction>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

namespace quendra::journal {
namespace {

namespace fs = std::filesystem;

class HelpKey : public test::MainWindowTest {
protected:
    HelpKey() { fs::copy(QUENDRA_MANUAL_SOURCE, fixture.home.path() / "manuale", fs::copy_options::recursive); }

    void put(const char* name) { test::writeFile(fixture.home.path() / name, "x"); }
    void pressF1In(const char* field) {
        QWidget* widget = child<QWidget>(field);
        widget->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    }
    std::vector<std::string> viewerLine(const char* context) const {
        return {"/usr/bin/xchm", std::string("--contextid=") + context, (fixture.home.path() / "tovald2015.chm").string()};
    }
    // "page#anchor" the help window shows, "" when it is not shown.
    std::string shownPlace() const {
        const THilfe* help = form->findChild<THilfe*>("THilfe");
        if (!help || !help->isVisible()) return "";
        return (help->source().fileName() + (help->source().hasFragment() ? "#" + help->source().fragment() : ""))
            .toStdString();
    }
    static bool hasAnchor(const QTextDocument* document, const QString& name) {
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().anchorNames().contains(name)) return true;
            }
        }
        return false;
    }
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
    EXPECT_EQ(shownPlace(), "");
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

TEST_F(HelpKey, WithoutTheHelpFileOrItsViewerOurManualOpensInAModalWindowToo) {
    put("quendra2015.pdf");
    start();
    pressF1In("DBEditcod");
    EXPECT_EQ(shownPlace(), "movimenti.html#conto-cassa");
    put("tovald2015.chm");  // the file, but no viewer
    pressF1In("DBEdittext");
    EXPECT_EQ(shownPlace(), "movimenti.html#causale-importo");
    EXPECT_TRUE(fixture.shell.started.empty());
    EXPECT_TRUE(fixture.shell.documents.empty());

    TEinstellungen settings(fixture.state, fixture.services, form.get());
    bool reachable = false;
    QTimer::singleShot(0, &settings, [&] {
        QTest::keyClick(settings.focusWidget() ? settings.focusWidget() : &settings, Qt::Key_F1);
        // A window of the modal dialog, so that the dialog does not block it.
        const THilfe* help = settings.findChild<THilfe*>("THilfe");
        reachable = help && help->isVisible() && help->isWindow();
        settings.reject();
    });
    settings.exec();
    EXPECT_TRUE(reachable);
}

TEST_F(HelpKey, EveryHelpContextLandsOnItsSection) {
    start();
    struct Case {
        std::optional<int> context;
        const char* place;
    };
    const std::vector<Case> cases = {
        {kHelpMainWindow, "movimenti.html#finestra"},        {kHelpTextAndAmount, "movimenti.html#causale-importo"},
        {kHelpAccountAndCashBox, "movimenti.html#conto-cassa"}, {kHelpSettings, "impostazioni.html"},
        {kHelpPrinting, "stampa.html"},                      {kHelpCashBoxChoice, "piano-conti.html#scelta"},
        {std::nullopt, "index.html"},
    };
    ASSERT_EQ(cases.size(), kHelpTopics.size() + 1) << "a context without a case";
    for (const Case& c : cases) {
        QWidget window;
        if (c.context) widgets::setHelpContext(&window, *c.context);
        window.show();
        QTest::keyClick(&window, Qt::Key_F1);
        EXPECT_EQ(shownPlace(), c.place) << c.place;
        const auto* browser = form->findChild<QTextBrowser*>("Browser");
        ASSERT_NE(browser, nullptr);
        const ManualPlace place = manualPlace(c.context);
        EXPECT_FALSE(browser->document()->isEmpty()) << c.place;
        if (!place.anchor.empty()) {
            EXPECT_TRUE(hasAnchor(browser->document(), widgets::qs(place.anchor))) << c.place;
        }
    }
    EXPECT_TRUE(fixture.prompt.shown.empty());
}

TEST_F(HelpKey, TheDiocesesDocumentsWhereTheyExistElseOurManualsContents) {
    start();
    child<QAction>("ActionManual")->trigger();
    EXPECT_EQ(shownPlace(), "index.html");
    form->findChild<THilfe*>("THilfe")->close();
    child<QPushButton>("ButtonGuidelines")->click();
    EXPECT_EQ(shownPlace(), "index.html");
    EXPECT_TRUE(fixture.shell.documents.empty());

    put("pf_indicazioni.pdf");
    put("quendra2015.pdf");
    child<QPushButton>("ButtonGuidelines")->click();
    child<QAction>("ActionManual")->trigger();
    child<QPushButton>("ButtonManual")->click();
    EXPECT_EQ(fixture.shell.documents,
              (std::vector<fs::path>{fixture.home.path() / "pf_indicazioni.pdf", fixture.home.path() / "quendra2015.pdf",
                                     fixture.home.path() / "quendra2015.pdf"}));
    // The program's own guide is always there.
    form->findChild<THilfe*>("THilfe")->close();
    child<QAction>("ActionGuide")->trigger();
    EXPECT_EQ(shownPlace(), "index.html");
    EXPECT_TRUE(fixture.prompt.shown.empty());
}

TEST_F(HelpKey, AMissingManualIsToldNotHidden) {
    fs::remove_all(fixture.home.path() / "manuale");
    start();
    pressF1In("DBEditcod");
    EXPECT_EQ(shownPlace(), "");
    ASSERT_EQ(fixture.prompt.texts().size(), 1u);
    EXPECT_EQ(fixture.prompt.texts()[0].rfind("Il manuale del programma non è installato", 0), 0u);
}

// Every link between the manual's pages leads to a page and an anchor that exist.
TEST(Manual, EveryLinkLandsOnAPageAndAnchorThatExist) {
    const QRegularExpression link(R"re(href="([^":#]+\.html)(?:#([^"]+))?")re");
    int links = 0;
    for (const auto& entry : fs::directory_iterator(QUENDRA_MANUAL_SOURCE)) {
        if (entry.path().extension() != ".html") continue;
        const QString text = QString::fromStdString(test::readFile(entry.path()));
        for (auto it = link.globalMatch(text); it.hasNext(); ++links) {
            const auto m = it.next();
            const fs::path target = fs::path(QUENDRA_MANUAL_SOURCE) / m.captured(1).toStdString();
            ASSERT_TRUE(fs::exists(target)) << entry.path() << " -> " << target;
            if (m.hasCaptured(2)) {
                EXPECT_NE(test::readFile(target).find("name=\"" + m.captured(2).toStdString() + "\""), std::string::npos)
                    << entry.path() << " -> " << m.captured(0).toStdString();
            }
        }
        for (auto it = QRegularExpression(R"re(src="([^"]+)")re").globalMatch(text); it.hasNext();) {
            EXPECT_TRUE(fs::exists(fs::path(QUENDRA_MANUAL_SOURCE) / it.next().captured(1).toStdString()))
                << entry.path();
        }
    }
    EXPECT_GT(links, 20);
}

}  // namespace
}  // namespace quendra::journal
