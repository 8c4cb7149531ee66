#pragma once

#include "platform/prompt.h"
#include "platform/services.h"
#include "storage/settings_file.h"
#include "transfer/net.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::transfer {

inline constexpr std::string_view kEmailRefusedMessage = "Inserisci l'indirizzo e-mail corretto!";
inline constexpr std::string_view kTransmissionFailedMessage = "Controlli l'accesso internet e ripeti l'operazione";
inline constexpr std::string_view kTransmissionDirectory = "/tovald";

// kTransmissionFailedMessage with the precise reason on a line of its own.
std::string transmissionFailedText(std::string_view reason);

// An address that is not blank and holds an "@".
bool isAcceptableEmail(std::string_view email);

// Shows the refusal when the address is not acceptable; true when it is.
bool acceptEmail(std::string_view email, platform::Prompt& prompt);

// The check page of the central office: web address + "/upload/tovald/checktovald.php"
// with cod, kr, kw and spr=i (a trailing "/" of the address is not doubled).
std::string checkPageUrl(std::string_view webAddress, std::string_view code, std::string_view journalName,
                         std::string_view chartName);

// The FTP side of the [Server] settings with the transmission's directory, encryption
// and certificates. Without a user name the login is anonymous: the credentials belong
// to the deployment's settings file, never to the program.
FtpServer transmissionServer(const storage::ServerSettings& server);

struct TransmissionRequest {
    std::filesystem::path dataDir;
    std::string journalName;  // as the program holds it, e.g. "KR201501.dbf"
    std::string chartName;
    std::string email;  // as typed, already accepted
    std::vector<std::string> notes;
    storage::ServerSettings server;
    std::filesystem::path tempRoot;  // where a private scratch directory is made
};

enum class TransmissionResult { Sent, NotSent, NoServer };

// Copies the year's journal and chart into a scratch directory, writes info.txt beside
// them and stores the three by FTP under names prefixed with a new transmission code,
// then the year's budget as KVyyyynn.dbf when it has one; then opens the check page. A
// failed FTP step shows transmissionFailedText (its reason
// text goes to status) and the check page still opens. Without a configured server (FTP
// host and web address) or network, nothing is written or opened and the user is told.
// Failures to copy the tables or write info.txt throw (DbError, TransferError).
TransmissionResult transmit(const TransmissionRequest& request, platform::Services& services,
                            const StatusCallback& status);

}  // namespace quendra::transfer
