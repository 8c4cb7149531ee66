#include "transfer/download_area.h"

#include "transfer/minisign.h"
#include "transfer/update_key.h"
#include "transfer/version_number.h"

#include <optional>

namespace quendra::transfer {

namespace {

std::string notAuthenticText(std::string_view name) {
    return "Il file \"" + std::string(name) + "\" del server centrale non ha una firma valida: non è stato installato.";
}

// Empty when the version the signature names may be installed, otherwise why not.
std::string versionRefusal(const MinisignSignature& signature, std::string_view name,
                           const std::filesystem::path& target, FileKind kind, double oldest) {
    const std::optional<std::string_view> field = trustedField(signature, "version");
    if (!field) {
        // Signed before versions were: it may fill a gap, never replace a file.
        std::error_code ignored;
        if (kind == FileKind::Document && !std::filesystem::exists(target, ignored)) return {};
        return "La firma del file \"" + std::string(name) +
               "\" del server centrale non indica la versione: non è stato installato.";
    }
    const std::optional<double> version = versionNumber(*field);
    if (!version) return notAuthenticText(name);
    if (*version < oldest) {
        return "Il file \"" + std::string(name) + "\" del server centrale è di una versione precedente (" +
               std::string(*field) + "): non è stato installato.";
    }
    return {};
}

// The server answered about the signature itself: it has none (4xx) or sent something
// else in its place (200). No answer at all, or a server error, is a connection problem.
bool answeredForFile(long answer) { return answer >= 200 && answer < 500; }

}  // namespace

WebFile areaFile(const storage::ServerSettings& server, std::string_view name, Deadline until) {
    return {server.downloadAddress(name), server.caFile, until};
}

std::string updateKeyText(const storage::ServerSettings& server) {
    return server.updateKey.empty() ? std::string(builtInUpdateKey()) : server.updateKey;
}

SignedFetch fetchSigned(Net& net, const storage::ServerSettings& server, std::string_view name,
                        const std::filesystem::path& target, FileKind kind, const FetchTerms& terms,
                        const StatusCallback& status) {
    const std::optional<MinisignKey> key = parseMinisignKey(updateKeyText(server));
    if (!key) {
        return {FetchOutcome::NotAuthentic,
                "Nessuna chiave valida per verificare gli aggiornamenti (UpdateKey nel file tovald.INI)."};
    }
    const TextResult signatureText =
        net.httpGetText(areaFile(server, std::string(name) + std::string(kSignatureSuffix), terms.until), status);
    if (!signatureText.ok() && !answeredForFile(signatureText.answer)) return {FetchOutcome::Failed, signatureText.error};
    const std::optional<MinisignSignature> signature =
        signatureText.ok() ? parseMinisignSignature(signatureText.body) : std::nullopt;
    if (!signature || signature->keyId != key->id || !signatureNamesFile(*signature, name)) {
        return {FetchOutcome::NotAuthentic, notAuthenticText(name)};
    }
    if (std::string refusal = versionRefusal(*signature, name, target, kind, terms.oldestVersion); !refusal.empty()) {
        return {FetchOutcome::NotAuthentic, std::move(refusal)};
    }
    bool refused = false;
    const auto check = [&](const std::filesystem::path& arrived) {
        refused = !verifyMinisign(*key, *signature, arrived);
        return refused ? notAuthenticText(name) : std::string();
    };
    const NetResult downloaded = net.download(areaFile(server, name, terms.until), target, kind, check, status);
    if (downloaded.ok()) return {FetchOutcome::Installed, ""};
    return {refused ? FetchOutcome::NotAuthentic : FetchOutcome::Failed, downloaded.error};
}

}  // namespace quendra::transfer
