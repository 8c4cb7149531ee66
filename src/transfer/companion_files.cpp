#include "transfer/companion_files.h"

#include "storage/year_files.h"
#include "transfer/version_number.h"

namespace quendra::transfer {

std::filesystem::path localPath(const CompanionFile& file, const state::MainState& state) {
    return storage::resolveCaseBlind(file.inDataDir ? state.dataDir : state.programDir, file.name);
}

SignedFetch fetchCompanionFile(Net& net, const state::MainState& state, const CompanionFile& file,
                               const FetchTerms& terms, const StatusCallback& status) {
    const std::filesystem::path target = localPath(file, state);
    SignedFetch result =
        fetchSigned(net, state.settings.server, file.name, target, FileKind::Document, terms, status);
    if (result.ok() && file.inDataDir) {
        std::error_code ignored;
        const std::string table = target.filename().string();
        std::filesystem::remove(storage::resolveCaseBlind(state.dataDir, storage::indexFileName(table)), ignored);
    }
    return result;
}

bool richtlinie(Net* net, const state::MainState& state, const StatusCallback& status, Deadline until) {
    const std::optional<double> installed = versionNumber(versionAfterVers(state.versionText));
    if (!net || !state.settings.server.hasWeb() || !installed) return false;
    bool arrived = false;
    for (const CompanionFile& file : kCompanionFiles) {
        if (fetchCompanionFile(*net, state, file, {*installed, until}, status).ok()) arrived = true;
    }
    return arrived;
}

void refreshMissingCompanionFiles(Net* net, const state::MainState& state, const StatusCallback& status,
                                  std::chrono::milliseconds bound) {
    const Deadline until = std::chrono::steady_clock::now() + bound;
    for (const CompanionFile& file : kCompanionFiles) {
        if (std::filesystem::exists(localPath(file, state))) continue;
        if (!richtlinie(net, state, status, until)) return;
    }
}

}  // namespace quendra::transfer
