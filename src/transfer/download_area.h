#pragma once

#include "storage/settings_file.h"
#include "transfer/net.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quendra::transfer {

// Beside every file of the download area: its minisign signature under this suffix.
inline constexpr std::string_view kSignatureSuffix = ".minisig";

// A file of the central server's download area; its url is empty without a web address.
WebFile areaFile(const storage::ServerSettings& server, std::string_view name, Deadline until = {});

// The key that signs the download area: [Server] UpdateKey, or the one built in.
std::string updateKeyText(const storage::ServerSettings& server);

enum class FetchOutcome { Installed, NotAuthentic, Failed };

struct SignedFetch {
    FetchOutcome outcome = FetchOutcome::Failed;
    std::string error;  // Italian, for the status line
    bool ok() const { return outcome == FetchOutcome::Installed; }
};

// What a fetch takes: the oldest version it accepts, and the moment its transfers must
// have ended by.
struct FetchTerms {
    double oldestVersion = 0;
    Deadline until = {};
};

// Takes one file of the download area into target, signed or not at all: NAME.minisig
// first, then the file into a private temporary file beside target, verified against
// the update key before it is made executable and renamed over target. The signature's
// trusted comment names the file and the version it belongs to ("file:NAME version:4.78");
// a version older than terms.oldestVersion is refused before anything is downloaded, so
// that whoever controls the area or the line cannot bring back an older program or
// template. A signature without a version only restores a document that is missing.
// Without a key, or with a signature that is missing, malformed, made by another key,
// made for another file or not matching the bytes, target stays as it was.
SignedFetch fetchSigned(Net& net, const storage::ServerSettings& server, std::string_view name,
                        const std::filesystem::path& target, FileKind kind, const FetchTerms& terms,
                        const StatusCallback& status);

}  // namespace quendra::transfer
