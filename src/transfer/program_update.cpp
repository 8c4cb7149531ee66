#include "transfer/program_update.h"

#include "transfer/blank_trim.h"
#include "transfer/companion_files.h"
#include "transfer/download_area.h"
#include "transfer/net_messages.h"
#include "transfer/package_update.h"
#include "transfer/replacing_file.h"
#include "transfer/version_number.h"

#include <optional>

namespace quendra::transfer {

namespace {

using platform::PromptKind;

// The templates and the documents that belong to a new version, with the bar's steps.
void fetchNewCompanionFiles(Net& net, const state::MainState& state, const FetchTerms& terms,
                            UpdateProgress& progress, const StatusCallback& status) {
    fetchCompanionFile(net, state, kJournalTemplateFile, terms, status);
    progress.advance(15);
    fetchCompanionFile(net, state, kChartTemplateFile, terms, status);
    progress.advance(30);
    fetchCompanionFile(net, state, kManual, terms, status);
    fetchCompanionFile(net, state, kGuidelines, terms, status);
    progress.advance(40);
}

// The program, then its companions, all of the published version or newer.
UpdateOutcome installUpdate(const state::MainState& state, platform::Services& services, std::string_view published,
                            double publishedNumber, UpdateProgress& progress, const StatusCallback& status) {
    Net& net = *services.net;
    const std::filesystem::path program = runningProgramFile(state);
    progress.show();
    progress.advance(30);

    // The running program becomes the fallback copy only once the new one is in place: a
    // refused or failed update keeps the fallback of the previous one.
    ReplacingFile fallback(program.string() + std::string(kOldProgramSuffix));
    const bool copied = fallback.isOpen() && fallback.writeCopyOf(program);
    const FetchTerms terms{publishedNumber};
    const SignedFetch downloaded =
        fetchSigned(net, state.settings.server, kProgramFileName, program, FileKind::Program, terms, status);
    progress.advance(15);
    if (downloaded.ok() && copied) fallback.commit(FileKind::Program);
    if (downloaded.outcome == FetchOutcome::NotAuthentic) {
        progress.close();
        services.prompt.message(PromptKind::Error, withReason(kNotAuthenticMessage, downloaded.error));
        return UpdateOutcome::NotAuthentic;
    }
    if (downloaded.ok()) fetchNewCompanionFiles(net, state, terms, progress, status);
    progress.close();
    if (downloaded.ok()) {
        services.prompt.message(PromptKind::Information, updateDoneText(published));
    } else {
        services.prompt.message(PromptKind::Error, updateFailedText(published, state.settings.server, downloaded.error));
    }
    // Without any program file (deleted while running, download failed) a restart would
    // only end the program.
    if (!std::filesystem::exists(program)) return UpdateOutcome::FailedWithoutProgram;
    services.shell.restartProgram(program);
    return downloaded.ok() ? UpdateOutcome::Updated : UpdateOutcome::Failed;
}

}  // namespace

bool restartFollows(UpdateOutcome outcome) {
    return outcome == UpdateOutcome::Updated || outcome == UpdateOutcome::Failed;
}

UpdateMode updateMode(std::string_view mode) { return mode == "ja" ? UpdateMode::Interactive : UpdateMode::Quiet; }

std::string updateOfferText(std::string_view installed, std::string_view published) {
    return "Lavori con la versione: " + std::string(installed) + ". Esiste una più recente: Vers. " +
           std::string(published) + ". Vuoi aggiornare il programma? (I dati rimangono inalterati)";
}

std::string updateDoneText(std::string_view published) {
    return "Update versione (" + std::string(published) + ") eseguito con sucesso.\nIl programma viene riavviato.";
}

std::string updateFailedText(std::string_view published, const storage::ServerSettings& server,
                             std::string_view reason) {
    return "Purtroppo, l'update automatico per la versione " + std::string(published) + " non è riuscito!\n" +
           std::string(reason) + "\nScarica il datafile dell'installazione dal sito internet:\n" +
           server.downloadAddress(kInstallationPage) + "\n\nIl programma viene riavviato.";
}

std::string connectionProblemText(std::string_view reason) {
    return withReason(kConnectionProblemMessage, reason);
}

std::filesystem::path runningProgramFile(const state::MainState& state) {
    return state.programFile.empty() ? state.programDir / kProgramFileName : state.programFile;
}

std::string currentVersionText(std::string_view installed) {
    return "lavori già con la versione più recente (vers. " + std::string(installed) + ")";
}

UpdateOutcome checkForUpdate(const state::MainState& state, platform::Services& services, UpdateMode mode,
                             UpdateProgress& progress, const StatusCallback& status) {
    const bool interactive = mode == UpdateMode::Interactive;
    const auto tell = [&](PromptKind kind, const std::string& text) {
        if (interactive) services.prompt.message(kind, text);
    };
    const std::string installed = versionAfterVers(state.versionText);
    const std::optional<double> installedNumber = versionNumber(installed);
    if (!installedNumber) {
        tell(PromptKind::Error, "Il numero della versione installata (\"" + state.versionText + "\") non è leggibile.");
        return UpdateOutcome::BadInstalledVersion;
    }
    if (!services.net || !state.settings.server.hasWeb()) {
        tell(PromptKind::Warning, noServerText());
        return UpdateOutcome::NoServer;
    }
    const TextResult fetched = services.net->httpGetText(areaFile(state.settings.server, kPublishedVersionFile), status);
    const std::string published = trimBlanks(fetched.body);
    const std::optional<double> publishedNumber = fetched.ok() ? versionNumber(published) : std::nullopt;
    if (!publishedNumber) {
        tell(PromptKind::Warning,
             connectionProblemText(fetched.ok() ? "Il file \"" + std::string(kPublishedVersionFile) +
                                                      "\" del server centrale non contiene un numero di versione."
                                                : fetched.error));
        return UpdateOutcome::ConnectionProblem;
    }
    if (*publishedNumber > *installedNumber) {
        if (state.readOnlyInstallation) {
            return announcePackageUpdate(state, services, installed, published, *publishedNumber, progress, status);
        }
        if (!services.prompt.ask(PromptKind::Confirmation, updateOfferText(installed, published))) {
            return UpdateOutcome::Declined;
        }
        return installUpdate(state, services, published, *publishedNumber, progress, status);
    }
    tell(PromptKind::Information, currentVersionText(installed));
    return UpdateOutcome::Current;
}

}  // namespace quendra::transfer
