#pragma once

#include "state/main_state.h"
#include "platform/services.h"
#include "transfer/net.h"
#include "transfer/update_progress.h"

#include <string>
#include <string_view>

namespace quendra::transfer {

inline constexpr std::string_view kProgramFileName = "quendra2015";
inline constexpr std::string_view kOldProgramSuffix = ".old";
inline constexpr std::string_view kPublishedVersionFile = "ver.txt";
inline constexpr std::string_view kInstallationPage = "vwi.htm";
inline constexpr std::string_view kConnectionProblemMessage = "Ci sono dei problemi con la connessione internet ...";
inline constexpr std::string_view kNotAuthenticMessage =
    "L'aggiornamento scaricato non è autentico: il programma resta quello di prima.";

// "ja" is the interactive check of the menu; every other mode is quiet except for the
// offer of a newer version.
enum class UpdateMode { Interactive, Quiet };
UpdateMode updateMode(std::string_view mode);

enum class UpdateOutcome {
    NoServer,           // no web address or no network (said only when interactive)
    BadInstalledVersion,
    ConnectionProblem,  // ver.txt not fetched or not a number (said only when interactive)
    Current,
    Declined,
    Updated,  // the program and its companions replaced, restart asked of the shell
    Failed,   // the program download failed; the old program stays, restart asked
    FailedWithoutProgram,  // the download failed and there is no program file: no restart
    NotAuthentic,  // the program came without a valid signature: nothing replaced, no restart
    Announced,  // a system package: the newer version announced, templates and manuals refreshed
};

// True when the shell was asked to restart the program: whoever asked for the check
// must not go on with the operation it was about to do.
bool restartFollows(UpdateOutcome outcome);

// The messages of the update, exactly as shown.
std::string updateOfferText(std::string_view installed, std::string_view published);
std::string updateDoneText(std::string_view published);
std::string updateFailedText(std::string_view published, const storage::ServerSettings& server,
                             std::string_view reason);
// The connection problem, with its precise reason on a line of its own.
std::string connectionProblemText(std::string_view reason);

// The program file the update replaces and restarts: the running program's own file.
std::filesystem::path runningProgramFile(const state::MainState& state);
std::string currentVersionText(std::string_view installed);

// upcontrolClick: compares the version in state.versionText with the published one
// and, when that is newer and the user agrees, replaces the running program's file
// (keeping the old one beside it as NAME.old), the templates and the documents, tells the
// user and restarts through the shell. Every file is taken only with a valid signature
// of the update key for the published version or a newer one. A failed program download
// leaves the old program in place; an unsigned or older one also leaves the program
// running. Failures show their precise reason. A read-only installation is never
// replaced (package_update.h).
UpdateOutcome checkForUpdate(const state::MainState& state, platform::Services& services, UpdateMode mode,
                             UpdateProgress& progress, const StatusCallback& status);

}  // namespace quendra::transfer
