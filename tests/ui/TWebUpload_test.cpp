#include "transfer/TWebUpload.h"

#include "widgets/TProgress.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "transfer/companion_files.h"
#include "transfer/curl_net.h"
#include "transfer/net_messages.h"
#include "transfer/transmission.h"

#include "support/chart_fixture.h"
#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/local_server.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/signing_key.h"
#include "support/temp_dir.h"
#include "support/file_contents.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

namespace quendra::transfer {
namespace {

using test::writeFile;

// A real Net that lets the test look at the window while a transfer runs.
class ObservedNet : public Net {
public:
    explicit ObservedNet(Net& inner) : inner_(inner) {}
    NetResult ftpStore(const FtpServer& server, const std::vector<FtpUpload>& files,
                       const StatusCallback& status) override {
        ++stores;
        if (duringTransfer) duringTransfer();
        return inner_.ftpStore(server, files, status);
    }
    TextResult httpGetText(const WebFile& source, const StatusCallback& status) override {
        return inner_.httpGetText(source, status);
    }
    NetResult download(const WebFile& source, const std::filesystem::path& target, FileKind kind,
                       const DownloadCheck& check, const StatusCallback& status) override {
        if (duringTransfer) duringTransfer();
        return inner_.download(source, target, kind, check, status);
    }
    std::function<void()> duringTransfer;
    int stores = 0;

private:
    Net& inner_;
};

class WebUploadWindow : public ::testing::Test {
protected:
    WebUploadWindow() {
        state.programDir = home.path();
        state.dataDir = home / "krw";
        state.settings.hauptdatei = "KR201501.dbf";
        state.settings.konto = "KW201501.dbf";
        state.versionText = "Vers. 4.77";
        std::filesystem::create_directories(state.dataDir);
        test::makeJournal(state.journalPath(), {{1, test::ymd(2015, 1, 3), " A0101", " C0101", "Candele", 0, 12.5, 1, 0}});
        test::makeChart(state.chartPath(), {{"  PFAR", "San Vigilio", "Lavis", "Decanato di Mezzolombardo"}});
        std::filesystem::create_directories(ftpRoot / "tovald");
        state.settings.server.ftpHost = "127.0.0.1";
        state.settings.server.ftpPort = std::to_string(test::unusedPort());
        state.settings.server.webAddress = "http://velmora.example";
    }

    template <class Widget>
    Widget* child(const char* name) {
        auto* found = window.findChild<Widget*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void type(const QString& email, const QString& notes) {
        child<QLineEdit>("Editemail")->setText(email);
        child<QPlainTextEdit>("Memo1")->setPlainText(notes);
    }

    // The download area under webRoot with a new program and companions, all signed for
    // 4.8; the settings hold the key.
    std::filesystem::path signedArea() {
        const auto area = webRoot / "upload" / "amministrazione";
        writeFile(area / "quendra2015", "#!/bin/sh\n");
        for (const CompanionFile& file : kCompanionFiles) writeFile(area / file.name, "nuovo");
        for (const auto& entry : std::filesystem::directory_iterator(area)) signer.signRelease(entry.path(), "4.8");
        state.settings.server.updateKey = signer.publicKey();
        return area;
    }

    test::TempDir home;
    test::TempDir ftpRoot;
    test::TempDir webRoot;
    test::SigningKey signer;
    state::MainState state;
    test::ScriptedPrompt prompt;
    test::FixedClock clock{storage::Date::fromYmd(2015, 6, 15)};
    test::RecordingShell shell;
    CurlNet curl;
    ObservedNet net{curl};
    platform::Services services{prompt, clock, shell, &net};
    TWebUpload window{state, services};
};

TEST_F(WebUploadWindow, ShowsTheFieldsAndButtonsWithoutTitleBarButtons) {
    EXPECT_EQ(window.windowTitle(), "Web Upload");
    EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(child<QLabel>("LabelIstruzione")->text(), "Immettere suo indirizzo email e premere poi\nInizio trasmissione");
    EXPECT_EQ(child<QLabel>("LabelEmail")->text(), "Indirizzo email della Parrocchia");
    EXPECT_EQ(child<QLabel>("LabelAnnotazioni")->text(), "annotazioni");
    EXPECT_EQ(child<QPushButton>("Start")->text(), "Inizio trasmissione alla Velmora");
    EXPECT_EQ(child<QPushButton>("abbrechen")->text(), "annulla");
    ASSERT_NE(child<QStatusBar>("StatusBar1"), nullptr);

    window.show();
    type("parroco@sanvigilio.example", "Bilancio approvato dal consiglio\nper gli affari economici");
    window.IdFTP1Status("Connessione a ftp.velmora.example ...");
    if (const char* dir = std::getenv("QUENDRA_SCREENSHOT_DIR")) window.grab().save(QString(dir) + "/TWebUpload.png");
    window.hide();
}

TEST_F(WebUploadWindow, AWrongAddressIsRefusedAndWhatWasTypedStays) {
    window.show();
    type("parroco.example.it", "x");
    window.StartClick();
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{std::string(kEmailRefusedMessage)});
    EXPECT_EQ(child<QLineEdit>("Editemail")->text(), "parroco.example.it");
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "x");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(net.stores, 0);
    EXPECT_TRUE(shell.urls.empty());
}

TEST_F(WebUploadWindow, SendsOnceClearsTheFieldsAndCloses) {
    const auto ftp = test::ftpServer(ftpRoot.path(), "anonymous", "");
    state.settings.server.ftpPort = std::to_string(ftp.port());
    window.show();
    type("parroco@example.it", "x\ny");
    net.duringTransfer = [&] {
        EXPECT_TRUE(child<QPushButton>("Start")->isHidden());
        EXPECT_FALSE(child<QPushButton>("abbrechen")->isEnabled());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        window.StartClick();  // a second press (or Enter) while sending
        window.abbrechenClick();
        window.reject();      // Esc
        EXPECT_TRUE(window.isVisible());
    };
    window.StartClick();
    EXPECT_EQ(net.stores, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ftpRoot / "tovald"), {}), 3);
    EXPECT_EQ(shell.urls.size(), 1u);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(child<QLineEdit>("Editemail")->text().isEmpty());
    EXPECT_TRUE(child<QPlainTextEdit>("Memo1")->toPlainText().isEmpty());
    EXPECT_FALSE(child<QPushButton>("Start")->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(child<QStatusBar>("StatusBar1")->currentMessage().startsWith("Trasmissione terminata"));
}

TEST_F(WebUploadWindow, WithoutTheServerTheUserIsToldAndTheCheckPageOpens) {
    window.show();
    type("parroco@example.it", "");
    window.StartClick();
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{transmissionFailedText("Il server 127.0.0.1 non accetta la connessione.")});
    EXPECT_EQ(shell.urls.size(), 1u);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(child<QStatusBar>("StatusBar1")->currentMessage(), "Il server 127.0.0.1 non accetta la connessione.");
}

TEST_F(WebUploadWindow, AnUnsetServerKeepsTheWindowOpen) {
    state.settings.server = {};
    window.show();
    type("parroco@example.it", "x");
    window.StartClick();
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{noServerText()});
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(child<QLineEdit>("Editemail")->text(), "parroco@example.it");
    window.abbrechenClick();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WebUploadWindow, ALocalFailureIsShownAndTheWindowCanBeUsedAgain) {
    std::filesystem::remove(state.journalPath());
    window.show();
    type("parroco@example.it", "");
    window.StartClick();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].kind, platform::PromptKind::Error);
    EXPECT_NE(prompt.shown[0].text.find("KR201501"), std::string::npos) << prompt.shown[0].text;
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(child<QPushButton>("Start")->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(net.stores, 0);
}

TEST_F(WebUploadWindow, TheUpdateShowsItsProgressAndRestarts) {
    const auto area = signedArea();
    writeFile(area / "ver.txt", "4.8\n");
    const auto web = test::httpServer(webRoot.path());
    state.settings.server.webAddress = web.webAddress();
    widgets::TProgress& progress = *window.progressWindow();
    bool progressShown = false;
    net.duringTransfer = [&] { progressShown = progressShown || progress.isVisible(); };

    prompt.answer(true);
    EXPECT_TRUE(window.upcontrolClick("ja")) << "the caller stops: the program restarts";
    EXPECT_TRUE(progressShown);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(progress.position(), 100);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].text, "Update versione (4.8) eseguito con sucesso.\nIl programma viene riavviato.");
    EXPECT_EQ(shell.restarted, std::vector<std::filesystem::path>{home / "quendra2015"});

    prompt.shown.clear();
    writeFile(area / "ver.txt", "4.77");
    EXPECT_FALSE(window.upcontrolClick("nein"));
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_FALSE(window.upcontrolClick("ja"));
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"lavori già con la versione più recente (vers. 4.77)"});
}

TEST_F(WebUploadWindow, AnUnsignedUpdateLetsTheCallerGoOn) {
    const auto area = signedArea();
    writeFile(area / "ver.txt", "4.8\n");
    writeFile(area / "quendra2015", "#!/bin/sh\necho altro\n");
    const auto web = test::httpServer(webRoot.path());
    state.settings.server.webAddress = web.webAddress();
    prompt.answer(true);
    EXPECT_FALSE(window.upcontrolClick("nein")) << "nothing restarts: the year may be opened";
    EXPECT_EQ(prompt.texts().back(), "L'aggiornamento scaricato non è autentico: il programma resta quello di prima.\n"
                                     "Il file \"quendra2015\" del server centrale non ha una firma valida: non è "
                                     "stato installato.");
    EXPECT_TRUE(shell.restarted.empty());
    EXPECT_FALSE(window.progressWindow()->isVisible());
}

TEST_F(WebUploadWindow, TheStartUpFetchesMissingCompanionFiles) {
    signedArea();
    const auto web = test::httpServer(webRoot.path());
    state.settings.server.webAddress = web.webAddress();
    window.refreshMissingFiles();
    for (const CompanionFile& file : kCompanionFiles) EXPECT_TRUE(std::filesystem::exists(localPath(file, state)));
    std::filesystem::remove(localPath(kManual, state));
    window.richtlinie();
    EXPECT_TRUE(std::filesystem::exists(localPath(kManual, state)));
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
}  // namespace quendra::transfer
