#include "transfer/companion_files.h"

#include "storage/year_files.h"

namespace quendra::transfer {

std::filesystem::path localPath(const CompanionFile& file, const state::MainState& state) {
    return storage::resolveCaseBlind(file.inDataDir ? state.dataDir : state.programDir, file.name);
}

SignedFetch fetchCompanionFile(Net& net, const state::MainState& state, const CompanionFile& file,
                               const StatusCallback& status) {
    const std::filesystem::path target = localPath(file, state);
    SignedFetch result = fetchSigned(net, state.settings.server, file.name, target, FileKind::Document, status);
    if (result.ok() && file.inDataDir) {
        std::error_code ignored;
        const std::string table = target.filename().string();
        std::filesystem::remove(storage::resolveCaseBlind(state.dataDir, storage::indexFileName(table)), ignored);
    }
    return result;
}

bool richtlinie(Net* net, const state::MainState& state, const StatusCallback& status) {
    if (!net || !state.settings.server.hasWeb()) return false;
    bool arrived = false;
    for (const CompanionFile& file : kCompanionFiles) {
        if (fetchCompanionFile(*net, state, file, status).ok()) arrived = true;
    }
    return arrived;
}

void refreshMissingCompanionFiles(Net* net, const state::MainState& state, const StatusCallback& status) {
    for (const CompanionFile& file : kCompanionFiles) {
        if (std::filesystem::exists(localPath(file, state))) continue;
        if (!richtlinie(net, state, status)) return;
    }
}

}  // namespace quendra::transfer
