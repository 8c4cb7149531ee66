#include "transfer/package_update.h"

#include "transfer/companion_files.h"

namespace quendra::transfer {

namespace {

std::string downloadPageLines(const storage::ServerSettings& server) {
    return "Per aggiornare il programma installa il nuovo pacchetto, che si scarica dal sito internet:\n" +
           server.downloadAddress(kInstallationPage);
}

}  // namespace

std::string packageUpdateOfferText(std::string_view installed, std::string_view published,
                                   const storage::ServerSettings& server) {
    return "Lavori con la versione: " + std::string(installed) + ". Esiste una più recente: Vers. " +
           std::string(published) + ".\n" + downloadPageLines(server) +
           "\n\nVuoi aggiornare adesso i modelli e i manuali e aprire la pagina? (I dati rimangono inalterati)";
}

std::string packageUpdateDoneText(std::string_view published, const storage::ServerSettings& server) {
    return "Modelli e manuali aggiornati alla versione " + std::string(published) + ".\n" + downloadPageLines(server);
}

std::string packageUpdateFailedText(const std::vector<std::string>& failed, const storage::ServerSettings& server) {
    std::string names;
    for (const std::string& name : failed) names += (names.empty() ? "" : ", ") + name;
    return "Purtroppo, non è stato possibile aggiornare: " + names + ".\n" + downloadPageLines(server);
}

UpdateOutcome announcePackageUpdate(const state::MainState& state, platform::Services& services,
                                    std::string_view installed, std::string_view published,
                                    double publishedNumber, UpdateProgress& progress, const StatusCallback& status) {
    const storage::ServerSettings& server = state.settings.server;
    if (!services.prompt.ask(platform::PromptKind::Confirmation, packageUpdateOfferText(installed, published, server))) {
        return UpdateOutcome::Declined;
    }
    progress.show();
    std::vector<std::string> failed;
    for (const CompanionFile& file : kCompanionFiles) {
        if (!fetchCompanionFile(*services.net, state, file, {publishedNumber}, status).ok()) {
            failed.emplace_back(file.name);
        }
        progress.advance(100 / int(kCompanionFiles.size()));
    }
    progress.close();
    if (failed.empty()) {
        services.prompt.message(platform::PromptKind::Information, packageUpdateDoneText(published, server));
    } else {
        services.prompt.message(platform::PromptKind::Warning, packageUpdateFailedText(failed, server));
    }
    services.shell.openUrl(server.downloadAddress(kInstallationPage));
    return UpdateOutcome::Announced;
}

}  // namespace quendra::transfer
