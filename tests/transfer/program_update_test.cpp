#include "transfer/program_update.h"

#include "transfer/companion_files.h"
#include "transfer/curl_net.h"
#include "transfer/download_area.h"
#include "transfer/net_messages.h"
#include "transfer/version_number.h"

#include "support/file_contents.h"
#include "support/fixed_clock.h"
#include "support/local_server.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/signing_key.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <tuple>
#include <iterator>

namespace quendra::transfer {
namespace {

using test::writeFile;
using test::readFile;

// What the progress window was asked to do, as one text: "show +30 +15 … close".
class RecordingProgress : public UpdateProgress {
public:
    void show() override { steps += "show"; }
    void advance(int points) override { steps += " +" + std::to_string(points); }
    void close() override { steps += " close"; }
    std::string steps;
};

// Counts what a real Net is asked for, and looks at each download when it is checked.
class CountingNet : public Net {
public:
    explicit CountingNet(Net& inner) : inner_(inner) {}
    NetResult ftpStore(const FtpServer& server, const std::vector<FtpUpload>& files,
                       const StatusCallback& status) override {
        return inner_.ftpStore(server, files, status);
    }
    TextResult httpGetText(const WebFile& source, const StatusCallback& status) override {
        if (source.url.ends_with(".minisig")) ++signatures;
        return inner_.httpGetText(source, status);
    }
    NetResult download(const WebFile& source, const std::filesystem::path& target, FileKind kind,
                       const DownloadCheck& check, const StatusCallback& status) override {
        ++downloads;
        const auto looking = [&](const std::filesystem::path& arrived) {
            struct stat info {};
            ::stat(arrived.c_str(), &info);
            modesAtCheck.push_back(info.st_mode & 0777);
            targetsAtCheck.push_back(readFile(target));
            return check(arrived);
        };
        return inner_.download(source, target, kind, looking, status);
    }
    int signatures = 0;  // one for each file tried
    int downloads = 0;
    std::vector<unsigned> modesAtCheck;
    std::vector<std::string> targetsAtCheck;

private:
    Net& inner_;
};

constexpr const char* kNewProgram = "#!/bin/sh\necho nuovo quendra\n";
constexpr const char* kOldProgram = "vecchio programma";
constexpr const char* kEarlierFallback = "la copia di riserva di prima";

// A program 4.77 installed apart from its data (QUENDRA_HOME), with its companions and the
// fallback copy of an earlier update, and a download area on a web server signed for 4.8.
class Update : public ::testing::Test {
protected:
    Update() {
        state.programDir = home.path();
        state.dataDir = home / "krw";
        state.programFile = program;
        state.versionText = "Vers. 4.77";
        state.settings.server.webAddress = web.webAddress();
        state.settings.server.updateKey = signer.publicKey();
        writeFile(program, kOldProgram);
        std::filesystem::permissions(program, std::filesystem::perms(0755));
        writeFile(fallback, kEarlierFallback);
        for (const CompanionFile& file : kCompanionFiles) writeFile(localPath(file, state), "vecchio");
        writeFile(state.dataDir / "kr000000.mdx", "indice vecchio");
        writeFile(state.dataDir / "kw000000.mdx", "indice vecchio");
        publish("quendra2015", kNewProgram);
        for (const CompanionFile& file : kCompanionFiles) publish(file.name, "nuovo " + std::string(file.name));
    }

    void publish(std::string_view name, std::string_view bytes, const test::SigningKey* by = nullptr,
                 std::string_view version = "4.8") {
        const auto file = writeFile(area / name, bytes);
        (by ? *by : signer).signRelease(file, version);
    }

    UpdateOutcome check(const std::string& published, const std::string& mode) {
        writeFile(area / "ver.txt", published);
        return checkForUpdate(state, services, updateMode(mode), progress, {});
    }

    void expectNothingReplaced() const {
        EXPECT_EQ(readFile(program), kOldProgram);
        EXPECT_EQ(::access(program.c_str(), X_OK), 0) << "the old program still runs";
        EXPECT_EQ(readFile(fallback), kEarlierFallback) << "the fallback copy stays until a new program is in";
        for (const CompanionFile& file : kCompanionFiles) EXPECT_EQ(readFile(localPath(file, state)), "vecchio");
        EXPECT_TRUE(std::filesystem::exists(state.dataDir / "kr000000.mdx"));
    }

    test::TempDir home;
    test::TempDir install;
    std::filesystem::path program = install / "quendra2015";
    std::filesystem::path fallback = install / "quendra2015.old";
    test::TempDir webRoot;
    std::filesystem::path area = webRoot / "upload" / "amministrazione";
    test::LocalServer web = test::httpServer(webRoot.path());
    test::SigningKey signer;
    state::MainState state;
    test::ScriptedPrompt prompt;
    test::FixedClock clock{storage::Date::fromYmd(2015, 6, 15)};
    test::RecordingShell shell;
    CurlNet curl;
    CountingNet net{curl};
    platform::Services services{prompt, clock, shell, &net};
    RecordingProgress progress;
};

TEST_F(Update, TheSameVersionIsReportedOnlyWhenAskedFor) {
    for (const std::string published : {"4.77", " 4.77 ", "4.77\r\n", "4.100"}) {
        prompt.shown.clear();
        EXPECT_EQ(check(published, "ja"), UpdateOutcome::Current) << published;
        EXPECT_EQ(prompt.texts(), std::vector<std::string>{"lavori già con la versione più recente (vers. 4.77)"});
        prompt.shown.clear();
        EXPECT_EQ(check(published, "nein"), UpdateOutcome::Current);
        EXPECT_TRUE(prompt.shown.empty()) << published;
    }
    EXPECT_EQ(net.downloads, 0);
    EXPECT_TRUE(shell.restarted.empty());
}

TEST_F(Update, ANewerVersionIsOfferedInBothModesAndNoChangesNothing) {
    for (const std::string mode : {"ja", "nein"}) {
        prompt.shown.clear();
        EXPECT_EQ(check("4.8", mode), UpdateOutcome::Declined);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].kind, platform::PromptKind::Confirmation);
        EXPECT_EQ(prompt.shown[0].text,
                  "Lavori con la versione: 4.77. Esiste una più recente: Vers. 4.8. Vuoi aggiornare il programma? "
                  "(I dati rimangono inalterati)");
    }
    expectNothingReplaced();
    EXPECT_EQ(progress.steps, "");
    EXPECT_TRUE(shell.restarted.empty());
}

TEST_F(Update, ConnectionProblemsAreSaidOnlyWhenAskedFor) {
    const auto expectProblem = [&](const std::string& mode, std::vector<std::string> said) {
        prompt.shown.clear();
        EXPECT_EQ(checkForUpdate(state, services, updateMode(mode), progress, {}), UpdateOutcome::ConnectionProblem);
        EXPECT_EQ(prompt.texts(), said);
    };
    for (const std::string garbage : {"versione 4.8", "4.8.1", "<html>errore</html>"}) {
        writeFile(area / "ver.txt", garbage);
        expectProblem("ja", {connectionProblemText("Il file \"ver.txt\" del server centrale non contiene un numero di "
                                                   "versione.")});
        expectProblem("nein", {});
    }
    std::filesystem::remove(area / "ver.txt");  // 404
    expectProblem("ja", {connectionProblemText("Il file \"ver.txt\" non si trova sul server 127.0.0.1.")});
    expectProblem("nein", {});
    state.settings.server.webAddress = "http://127.0.0.1:" + std::to_string(test::unusedPort());
    expectProblem("ja", {connectionProblemText("Il server 127.0.0.1 non accetta la connessione.")});
    expectProblem("", {});
    expectNothingReplaced();
}

TEST_F(Update, AnUnsetServerIsNoConnection) {
    state.settings.server.webAddress = "";
    EXPECT_EQ(check("4.8", "ja"), UpdateOutcome::NoServer);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{noServerText()});
    prompt.shown.clear();
    EXPECT_EQ(check("4.8", "nein"), UpdateOutcome::NoServer);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Update, YesReplacesTheRunningProgramTemplatesAndDocumentsAndRestarts) {
    prompt.answer(true);
    EXPECT_EQ(check("4.8", "nein"), UpdateOutcome::Updated);
    EXPECT_EQ(readFile(program), kNewProgram);
    EXPECT_EQ(::access(program.c_str(), X_OK), 0) << "the new program can run";
    EXPECT_EQ(readFile(fallback), kOldProgram);
    EXPECT_FALSE(std::filesystem::exists(home / "quendra2015")) << "the data folder gets no program";
    for (const CompanionFile& file : kCompanionFiles) {
        EXPECT_EQ(readFile(localPath(file, state)), "nuovo " + std::string(file.name));
    }
    EXPECT_FALSE(std::filesystem::exists(state.dataDir / "kr000000.mdx")) << "the old index described the old table";
    EXPECT_FALSE(std::filesystem::exists(state.dataDir / "kw000000.mdx"));
    EXPECT_EQ(progress.steps, "show +30 +15 +15 +30 +40 close");
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].text, "Update versione (4.8) eseguito con sucesso.\nIl programma viene riavviato.");
    EXPECT_EQ(shell.restarted, std::vector<std::filesystem::path>{program});
    ASSERT_EQ(net.targetsAtCheck.size(), 5u);
    EXPECT_EQ(net.targetsAtCheck[0], kOldProgram) << "verified before it replaced the program";
    EXPECT_EQ(net.modesAtCheck[0], 0600u) << "verified before it could run";
}

TEST_F(Update, AProgramWithoutAValidSignatureChangesNothingAndDoesNotRestart) {
    const test::SigningKey stranger;
    const std::string portalPage = "<html><body>Accedi alla rete Wi-Fi</body></html>";
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"tampered", [&] { writeFile(area / "quendra2015", "#!/bin/sh\nrm -rf ~\n"); }},
        {"unsigned", [&] { std::filesystem::remove(area / "quendra2015.minisig"); }},
        {"another key", [&] { publish("quendra2015", kNewProgram, &stranger); }},
        {"captive portal",
         [&] {
             writeFile(area / "quendra2015", portalPage);
             writeFile(area / "quendra2015.minisig", portalPage);
         }},
        {"signed for another file",
         [&] {
             std::filesystem::copy_file(area / "quendra2015.pdf", area / "quendra2015",
                                        std::filesystem::copy_options::overwrite_existing);
             std::filesystem::copy_file(area / "quendra2015.pdf.minisig", area / "quendra2015.minisig",
                                        std::filesystem::copy_options::overwrite_existing);
         }},
    };
    for (const auto& [name, spoil] : cases) {
        publish("quendra2015", kNewProgram);
        spoil();
        prompt.shown.clear();
        progress.steps.clear();
        prompt.answer(true);
        EXPECT_EQ(check("4.8", "nein"), UpdateOutcome::NotAuthentic) << name;
        EXPECT_FALSE(restartFollows(UpdateOutcome::NotAuthentic));
        expectNothingReplaced();
        EXPECT_TRUE(prompt.texts().back().starts_with(std::string(kNotAuthenticMessage) + "\nIl file \"quendra2015\""))
            << name;
        EXPECT_EQ(prompt.shown.back().kind, platform::PromptKind::Error);
        EXPECT_EQ(progress.steps, "show +30 +15 close") << name;
        EXPECT_TRUE(shell.restarted.empty()) << name;
        EXPECT_EQ(test::namesIn(install.path()), (std::vector<std::string>{"quendra2015", "quendra2015.old"}))
            << name << ": no partial file";
    }
}

TEST_F(Update, WithoutAKeyNothingIsFetched) {
    for (const std::string key : {"", "RWQ-non-una-chiave"}) {
        state.settings.server.updateKey = key;
        prompt.shown.clear();
        prompt.answer(true);
        EXPECT_EQ(check("4.8", "ja"), UpdateOutcome::NotAuthentic);
        EXPECT_EQ(prompt.texts().back(), std::string(kNotAuthenticMessage) +
                                             "\nNessuna chiave valida per verificare gli aggiornamenti (UpdateKey nel "
                                             "file tovald.INI).");
        EXPECT_FALSE(richtlinie(&net, state, {}));
    }
    EXPECT_EQ(net.signatures + net.downloads, 0);
    expectNothingReplaced();
    EXPECT_TRUE(shell.restarted.empty());
}

TEST_F(Update, ALegacySignatureAndAKeyFromItsFileAreTaken) {
    signer.signRelease(area / "quendra2015", "4.8", true);
    state.settings.server.updateKey = signer.publicKeyFile();
    prompt.answer(true);
    EXPECT_EQ(check("4.8", "nein"), UpdateOutcome::Updated);
    EXPECT_EQ(readFile(program), kNewProgram);
}

TEST_F(Update, NoProgramOlderThanThePublishedVersionIsInstalled) {
    const std::string older = "Il file \"quendra2015\" del server centrale è di una versione precedente ";
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        // ver.txt, the version signed (none: minisign's own comment), the reason shown
        {"9.99", "4.70", older + "(4.70): non è stato installato."},
        {"4.8", "4.77", older + "(4.77): non è stato installato."},
        {"4.8", "", "La firma del file \"quendra2015\" del server centrale non indica la versione: non è stato "
                    "installato."},
    };
    for (const auto& [published, version, reason] : cases) {
        if (version.empty()) {
            signer.sign(area / "quendra2015");
        } else {
            signer.signRelease(area / "quendra2015", version);
        }
        prompt.shown.clear();
        prompt.answer(true);
        EXPECT_EQ(check(published, "nein"), UpdateOutcome::NotAuthentic) << published << " " << version;
        EXPECT_EQ(prompt.texts().back(), std::string(kNotAuthenticMessage) + "\n" + reason);
        expectNothingReplaced();
    }
    EXPECT_EQ(net.downloads, 0) << "refused on its signature, before any download";
    EXPECT_TRUE(shell.restarted.empty());
}

TEST_F(Update, TheStartNeverBringsBackAnOlderTemplateOrDocument) {
    std::filesystem::remove(localPath(kManual, state));
    signer.sign(area / "quendra2015.pdf");     // signed before versions were: it may fill the gap,
    signer.sign(area / "pf_indicazioni.pdf");  // but never replace a file
    publish("kr000000.dbf", "modello vecchio", nullptr, "4.70");
    publish("kw000000.dbf", "nuovo kw000000.dbf", nullptr, "4.77");
    refreshMissingCompanionFiles(&net, state, {});
    EXPECT_EQ(readFile(localPath(kManual, state)), "nuovo quendra2015.pdf");
    EXPECT_EQ(readFile(localPath(kGuidelines, state)), "vecchio");
    EXPECT_EQ(readFile(localPath(kJournalTemplateFile, state)), "vecchio");
    EXPECT_TRUE(std::filesystem::exists(state.dataDir / "kr000000.mdx"));
    EXPECT_EQ(readFile(localPath(kChartTemplateFile, state)), "nuovo kw000000.dbf") << "the running version is taken";
}

TEST_F(Update, ASlowServerHoldsTheStartOnlyForItsBound) {
    const auto slow = test::httpServer(webRoot.path(), {.trickled = {"pf_indicazioni.pdf.minisig"}});
    state.settings.server.webAddress = slow.webAddress();
    std::filesystem::remove(localPath(kGuidelines, state));
    std::filesystem::remove(localPath(kManual, state));
    refreshMissingCompanionFiles(&net, state, {}, std::chrono::milliseconds(300));
    EXPECT_FALSE(std::filesystem::exists(localPath(kGuidelines, state)));
    EXPECT_FALSE(std::filesystem::exists(localPath(kManual, state))) << "nothing is tried once the bound has passed";
    EXPECT_EQ(net.downloads, 0);
}

TEST_F(Update, TemplatesAndDocumentsAreTakenOnlySigned) {
    const test::SigningKey stranger;
    writeFile(area / "quendra2015.pdf", "manuale contraffatto");
    std::filesystem::remove(area / "kr000000.dbf.minisig");
    publish("kw000000.dbf", "nuovo kw000000.dbf", &stranger);
    prompt.answer(true);
    EXPECT_EQ(check("4.8", "nein"), UpdateOutcome::Updated) << "the program itself was signed";
    EXPECT_EQ(readFile(program), kNewProgram);
    EXPECT_EQ(readFile(localPath(kManual, state)), "vecchio");
    EXPECT_EQ(readFile(localPath(kJournalTemplateFile, state)), "vecchio");
    EXPECT_EQ(readFile(localPath(kChartTemplateFile, state)), "vecchio");
    EXPECT_EQ(readFile(localPath(kGuidelines, state)), "nuovo pf_indicazioni.pdf");
    EXPECT_TRUE(std::filesystem::exists(state.dataDir / "kr000000.mdx")) << "a template kept keeps its index";
    EXPECT_TRUE(std::filesystem::exists(state.dataDir / "kw000000.mdx"));
}

TEST_F(Update, ACaptivePortalReplacesNothing) {
    const auto portal = test::httpServer(webRoot.path(), {.portal = true});
    state.settings.server.webAddress = portal.webAddress();
    prompt.answer(true);
    EXPECT_EQ(check("4.8", "nein"), UpdateOutcome::ConnectionProblem) << "its page is no version";
    EXPECT_FALSE(richtlinie(&net, state, {}));
    const SignedFetch fetched =
        fetchSigned(net, state.settings.server, "quendra2015", program, FileKind::Program, {4.8}, {});
    EXPECT_EQ(fetched.outcome, FetchOutcome::NotAuthentic);
    EXPECT_EQ(fetched.error,
              "Il file \"quendra2015\" del server centrale non ha una firma valida: non è stato installato.");
    EXPECT_EQ(net.downloads, 0) << "a page in place of the signature ends the fetch before the file";
    expectNothingReplaced();
}

TEST_F(Update, AFailedProgramDownloadKeepsTheOldProgramAndRestartsIt) {
    const auto expectFailure = [&](const std::string& reason) {
        prompt.shown.clear();
        shell.restarted.clear();
        prompt.answer(true);
        EXPECT_EQ(check("4.8", "ja"), UpdateOutcome::Failed);
        expectNothingReplaced();
        ASSERT_EQ(prompt.shown.size(), 2u);
        EXPECT_EQ(prompt.shown[1].text,
                  "Purtroppo, l'update automatico per la versione 4.8 non è riuscito!\n" + reason +
                      "\nScarica il datafile dell'installazione dal sito internet:\n" + web.webAddress() +
                      "/upload/amministrazione/vwi.htm\n\nIl programma viene riavviato.");
        EXPECT_EQ(shell.restarted, std::vector<std::filesystem::path>{program});
    };
    std::filesystem::remove(area / "quendra2015");  // 404 with an error page
    expectFailure("Il file \"quendra2015\" non si trova sul server 127.0.0.1.");
    writeFile(area / "quendra2015", "");  // 200 without a body
    expectFailure("Il server 127.0.0.1 ha inviato un file vuoto per \"quendra2015\".");
    EXPECT_EQ(net.downloads, 2) << "nothing else is fetched after a failed program";
}

TEST_F(Update, AProgramCutOffHalfWayIsNeverInstalled) {
    const auto cutting = test::httpServer(webRoot.path(), {.dropped = {"quendra2015"}});
    state.settings.server.webAddress = cutting.webAddress();
    prompt.answer(true);
    EXPECT_EQ(check("4.8", "ja"), UpdateOutcome::Failed);
    expectNothingReplaced();
    EXPECT_EQ(test::namesIn(install.path()), (std::vector<std::string>{"quendra2015", "quendra2015.old"}))
        << "no partial file stays behind";
}

TEST_F(Update, StartedUnderAnotherNameThatFileIsReplacedAndStarted) {
    const auto renamed = install / "quendra-prova";
    std::filesystem::rename(program, renamed);
    state.programFile = renamed;
    prompt.answer(true);
    EXPECT_EQ(check("4.8", "ja"), UpdateOutcome::Updated);
    EXPECT_EQ(readFile(renamed), kNewProgram);
    EXPECT_EQ(readFile(install / "quendra-prova.old"), kOldProgram);
    EXPECT_EQ(shell.restarted, std::vector<std::filesystem::path>{renamed});

    std::filesystem::remove(renamed);  // deleted while it runs
    publish("quendra2015", kNewProgram, nullptr, "4.9");
    std::filesystem::remove(area / "quendra2015");
    shell.restarted.clear();
    prompt.answer(true);
    EXPECT_EQ(check("4.9", "ja"), UpdateOutcome::FailedWithoutProgram);
    EXPECT_TRUE(shell.restarted.empty()) << "with no program to start, this one keeps running";
}

TEST_F(Update, AnUnreadableInstalledVersionIsSaidOnlyWhenAskedFor) {
    state.versionText = "";
    EXPECT_EQ(check("4.8", "nein"), UpdateOutcome::BadInstalledVersion);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(check("4.8", "ja"), UpdateOutcome::BadInstalledVersion);
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST_F(Update, MissingCompanionFilesAreFetchedOnceWhenOneRoundBringsThemAll) {
    for (const CompanionFile& file : kCompanionFiles) std::filesystem::remove(localPath(file, state));
    refreshMissingCompanionFiles(&net, state, {});
    for (const CompanionFile& file : kCompanionFiles) {
        EXPECT_EQ(readFile(localPath(file, state)), "nuovo " + std::string(file.name));
    }
    EXPECT_EQ(net.downloads, 4);
    EXPECT_FALSE(std::filesystem::exists(state.dataDir / "kr000000.mdx"));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Update, EachCheckRunsAfterThePreviousRound) {
    std::filesystem::remove(localPath(kManual, state));
    std::filesystem::remove(localPath(kChartTemplateFile, state));
    std::filesystem::remove(area / "kw000000.dbf");
    refreshMissingCompanionFiles(&net, state, {});
    EXPECT_EQ(net.downloads, 8) << "the manual's round leaves the chart template missing: a second round";
    EXPECT_EQ(readFile(localPath(kManual, state)), "nuovo quendra2015.pdf");
    EXPECT_FALSE(std::filesystem::exists(localPath(kChartTemplateFile, state)));
    EXPECT_TRUE(std::filesystem::exists(state.dataDir / "kw000000.mdx")) << "an index whose table stayed is kept";
}

TEST_F(Update, WithoutAConnectionTheStartWaitsForOneRoundOnly) {
    for (const CompanionFile& file : kCompanionFiles) std::filesystem::remove(localPath(file, state));
    state.settings.server.webAddress = "http://127.0.0.1:" + std::to_string(test::unusedPort());
    refreshMissingCompanionFiles(&net, state, {});
    EXPECT_EQ(net.signatures, 4);
    EXPECT_EQ(net.downloads, 0);
    state.settings.server.webAddress = "";
    refreshMissingCompanionFiles(&net, state, {});
    refreshMissingCompanionFiles(nullptr, state, {});
    EXPECT_EQ(net.signatures, 4) << "without a server nothing is tried";
}

TEST_F(Update, ALostConnectionIsAFailureNotAForgery) {
    state.settings.server.webAddress = "http://127.0.0.1:" + std::to_string(test::unusedPort());
    const SignedFetch fetched = fetchSigned(net, state.settings.server, "quendra2015.pdf", localPath(kManual, state),
                                            FileKind::Document, {}, {});
    EXPECT_EQ(fetched.outcome, FetchOutcome::Failed);
    EXPECT_EQ(fetched.error, "Il server 127.0.0.1 non accetta la connessione.");
}

TEST_F(Update, RichtlinieNeverReplacesAGoodFileWithAFailedOne) {
    std::filesystem::remove(area / "quendra2015.pdf");
    EXPECT_TRUE(richtlinie(&net, state, {}));
    EXPECT_EQ(readFile(localPath(kManual, state)), "vecchio");
    EXPECT_EQ(readFile(localPath(kGuidelines, state)), "nuovo pf_indicazioni.pdf");
}

TEST_F(Update, ATemplateSpeltInCapitalsIsReplacedInPlace) {
    std::filesystem::remove(state.dataDir / "kr000000.dbf");
    std::filesystem::remove(state.dataDir / "kr000000.mdx");
    writeFile(state.dataDir / "KR000000.DBF", "vecchio");
    writeFile(state.dataDir / "KR000000.MDX", "indice vecchio");
    refreshMissingCompanionFiles(&net, state, {});
    EXPECT_EQ(net.downloads, 0) << "nothing is missing";
    EXPECT_TRUE(richtlinie(&net, state, {}));
    EXPECT_EQ(readFile(state.dataDir / "KR000000.DBF"), "nuovo kr000000.dbf");
    EXPECT_FALSE(std::filesystem::exists(state.dataDir / "kr000000.dbf"));
    EXPECT_FALSE(std::filesystem::exists(state.dataDir / "KR000000.MDX"));
}

TEST(VersionNumber, ReadsDigitsWithOneSeparator) {
    EXPECT_EQ(versionNumber("4.77"), 4.77);
    EXPECT_EQ(versionNumber("4,77"), 4.77);
    EXPECT_EQ(versionNumber("5"), 5.0);
    EXPECT_EQ(versionNumber("4.100"), 4.1);
    EXPECT_GT(*versionNumber("4.8"), *versionNumber("4.77"));
    EXPECT_LT(*versionNumber("4.100"), *versionNumber("4.77"));
    for (const std::string bad : {"", ".", " 4.77", "4.7.7", "4.77a", "-4.8", "4e1", "inf", "4.77)"}) {
        EXPECT_FALSE(versionNumber(bad)) << '"' << bad << '"';
    }
}

TEST(VersionNumber, TheInstalledVersionFollowsVers) {
    EXPECT_EQ(versionAfterVers("Quendra Velmora Varnelia  (Vers. 4.77)"), "4.77");
    EXPECT_EQ(versionAfterVers("Vers. 4.77"), "4.77");
    EXPECT_EQ(versionAfterVers("Vers.4.100)"), "4.100");
    EXPECT_EQ(versionAfterVers("Versione 4.77"), "");
    EXPECT_EQ(updateMode("ja"), UpdateMode::Interactive);
    EXPECT_EQ(updateMode("nein"), UpdateMode::Quiet);
    EXPECT_EQ(updateMode("JA"), UpdateMode::Quiet);
}

}  // namespace
}  // namespace quendra::transfer
