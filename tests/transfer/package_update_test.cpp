// The update of a program installed as a system package: announced, never replaced.

#include "transfer/package_update.h"

#include "transfer/companion_files.h"
#include "transfer/curl_net.h"
#include "transfer/program_update.h"

#include "support/file_contents.h"
#include "support/local_server.h"
#include "support/scripted_services.h"
#include "support/signing_key.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::transfer {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

// Where the bar stood and whether the window went away again.
class Bar : public UpdateProgress {
public:
    void show() override { visible = true; }
    void advance(int points) override { value = std::min(100, value + points); }
    void close() override { visible = false; }
    bool visible = false;
    int value = 0;
};

// The user's data folder of a packaged 4.77, and a signed download area
// that offers 4.8 with a new program.
class PackageUpdate : public ::testing::Test {
protected:
    PackageUpdate() {
        state.programDir = home.path();
        state.dataDir = home / "krw";
        state.readOnlyInstallation = true;
        state.versionText = "Vers. 4.77";
        state.settings.server.webAddress = web.webAddress();
        for (const CompanionFile& file : kCompanionFiles) writeFile(localPath(file, state), "vecchio");
        writeFile(state.dataDir / "kw000000.mdx", "indice vecchio");
        writeFile(area / "ver.txt", "4.8");
        writeFile(area / "quendra2015", "#!/bin/sh\necho nuovo\n");
        for (const CompanionFile& file : kCompanionFiles) {
            signer.signRelease(writeFile(area / file.name, "nuovo " + std::string(file.name)), "4.8");
        }
        state.settings.server.updateKey = signer.publicKey();
    }

    UpdateOutcome check(const std::string& mode) { return checkForUpdate(state, seams.services, updateMode(mode), bar, {}); }

    // No program was fetched or renamed, and this one keeps running.
    void expectNoProgramTouched() const {
        EXPECT_EQ(test::namesIn(home.path()), (std::vector<std::string>{"krw", "pf_indicazioni.pdf", "quendra2015.pdf"}));
        EXPECT_TRUE(shell.restarted.empty());
        EXPECT_EQ(shell.quits, 0);
    }

    std::string page() const { return web.webAddress() + "/upload/amministrazione/vwi.htm"; }

    test::TempDir home;
    test::TempDir webRoot;
    fs::path area = webRoot / "upload" / "amministrazione";
    test::LocalServer web = test::httpServer(webRoot.path());
    test::SigningKey signer;
    state::MainState state;
    CurlNet net;
    test::ScriptedServices seams{&net, storage::Date::fromYmd(2026, 3, 2)};
    test::ScriptedPrompt& prompt = seams.prompt;
    test::RecordingShell& shell = seams.shell;
    Bar bar;
};

TEST_F(PackageUpdate, TheNewerVersionIsAnnouncedWithTheDownloadPageInBothModes) {
    for (const std::string mode : {"ja", "nein"}) {
        prompt.shown.clear();
        EXPECT_EQ(check(mode), UpdateOutcome::Declined);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].kind, platform::PromptKind::Confirmation);
        EXPECT_EQ(prompt.shown[0].text,
                  "Lavori con la versione: 4.77. Esiste una più recente: Vers. 4.8.\n"
                  "Per aggiornare il programma installa il nuovo pacchetto, che si scarica dal sito internet:\n" +
                      page() + "\n\nVuoi aggiornare adesso i modelli e i manuali e aprire la pagina? "
                               "(I dati rimangono inalterati)");
    }
    for (const CompanionFile& file : kCompanionFiles) EXPECT_EQ(readFile(localPath(file, state)), "vecchio");
    EXPECT_TRUE(shell.urls.empty());
    EXPECT_FALSE(bar.visible);
    expectNoProgramTouched();
}

TEST_F(PackageUpdate, YesRefreshesTemplatesAndManualsInTheUsersFolderAndOpensThePage) {
    prompt.answer(true);
    EXPECT_EQ(check("ja"), UpdateOutcome::Announced);
    for (const CompanionFile& file : kCompanionFiles) {
        EXPECT_EQ(readFile(localPath(file, state)), "nuovo " + std::string(file.name)) << file.name;
    }
    EXPECT_FALSE(fs::exists(state.dataDir / "kw000000.mdx")) << "the old index described the old table";
    EXPECT_EQ(bar.value, 100);
    EXPECT_FALSE(bar.visible);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].kind, platform::PromptKind::Information);
    EXPECT_EQ(prompt.shown[1].text, "Modelli e manuali aggiornati alla versione 4.8.\n"
                                    "Per aggiornare il programma installa il nuovo pacchetto, che si scarica dal "
                                    "sito internet:\n" + page());
    EXPECT_EQ(shell.urls, std::vector<std::string>{page()});
    expectNoProgramTouched();
}

TEST_F(PackageUpdate, FilesThatDidNotArriveAreNamedAndTheOldOnesKept) {
    fs::remove(area / "kw000000.dbf");
    fs::remove(area / "pf_indicazioni.pdf");
    writeFile(area / "quendra2015.pdf", "manuale contraffatto");
    prompt.answer(true);
    EXPECT_EQ(check("nein"), UpdateOutcome::Announced);
    EXPECT_EQ(readFile(localPath(kChartTemplateFile, state)), "vecchio");
    EXPECT_TRUE(fs::exists(state.dataDir / "kw000000.mdx")) << "its table stayed, so does its index";
    EXPECT_EQ(readFile(localPath(kJournalTemplateFile, state)), "nuovo kr000000.dbf");
    EXPECT_EQ(readFile(localPath(kManual, state)), "vecchio") << "a manual that does not match its signature";
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].kind, platform::PromptKind::Warning);
    EXPECT_EQ(prompt.shown[1].text.substr(0, prompt.shown[1].text.find('\n')),
              "Purtroppo, non è stato possibile aggiornare: pf_indicazioni.pdf, quendra2015.pdf, kw000000.dbf.");
    EXPECT_EQ(shell.urls, std::vector<std::string>{page()});
    expectNoProgramTouched();
}

TEST_F(PackageUpdate, TheSameVersionIsCurrentAsForAnyInstallation) {
    writeFile(area / "ver.txt", "4.77");
    EXPECT_EQ(check("ja"), UpdateOutcome::Current);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{currentVersionText("4.77")});
    expectNoProgramTouched();
}

}  // namespace
}  // namespace quendra::transfer
