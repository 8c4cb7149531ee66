#include "transfer/transmission.h"

#include "storage/dbase/table_ops.h"
#include "storage/year_files.h"
#include "transfer/blank_trim.h"
#include "transfer/net_messages.h"
#include "transfer/parish_info.h"
#include "transfer/scratch_directory.h"
#include "transfer/transmission_code.h"

#include <cctype>

namespace quendra::transfer {

namespace {

std::string percentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

}  // namespace

std::string transmissionFailedText(std::string_view reason) {
    return withReason(kTransmissionFailedMessage, reason);
}

bool isAcceptableEmail(std::string_view email) {
    return !trimBlanks(email).empty() && email.find('@') != std::string_view::npos;
}

bool acceptEmail(std::string_view email, platform::Prompt& prompt) {
    if (isAcceptableEmail(email)) return true;
    prompt.message(platform::PromptKind::Warning, std::string(kEmailRefusedMessage));
    return false;
}

std::string checkPageUrl(std::string_view webAddress, std::string_view code, std::string_view journalName,
                         std::string_view chartName) {
    if (!webAddress.empty() && webAddress.back() == '/') webAddress.remove_suffix(1);
    return std::string(webAddress) + "/upload/tovald/checktovald.php?cod=" + percentEncoded(code) +
           "&kr=" + percentEncoded(journalName) + "&kw=" + percentEncoded(chartName) + "&spr=i";
}

FtpServer transmissionServer(const storage::ServerSettings& server) {
    return {server.ftpHost,  server.ftpPortNumber(), server.ftpUser, server.ftpPassword,
            std::string(kTransmissionDirectory), server.ftpTlsMode(), server.caFile};
}

TransmissionResult transmit(const TransmissionRequest& request, platform::Services& services,
                            const StatusCallback& status) {
    if (!services.net || !request.server.hasFtp() || !request.server.hasWeb()) {
        if (status) status(noServerText());
        services.prompt.message(platform::PromptKind::Warning, noServerText());
        return TransmissionResult::NoServer;
    }
    const std::string code = drawTransmissionCode(transmissionSeed(services.clock.now()));

    const ScratchDirectory scratch(request.tempRoot);
    const std::filesystem::path journalCopy = scratch.path() / request.journalName;
    const std::filesystem::path chartCopy = scratch.path() / request.chartName;
    const std::filesystem::path chart = storage::resolveCaseBlind(request.dataDir, request.chartName);
    storage::copyTable(storage::resolveCaseBlind(request.dataDir, request.journalName), journalCopy);
    storage::copyTable(chart, chartCopy);
    const std::filesystem::path info = scratch.path() / kParishInfoFileName;
    writeParishInfo(info, {yearOfJournalName(request.journalName), readParishHeader(chart), request.email,
                           request.notes});

    std::vector<FtpUpload> files = {{journalCopy, code + request.journalName},
                                    {chartCopy, code + request.chartName},
                                    {info, code + std::string(kParishInfoFileName)}};
    // The budget goes along when the year has one.
    const std::filesystem::path budget =
        storage::resolveCaseBlind(request.dataDir, storage::budgetNameOfJournal(request.journalName));
    std::error_code missing;
    if (std::filesystem::is_regular_file(budget, missing)) {
        const std::string budgetName = "KV" + storage::yearNumberOf(request.journalName).value_or("") + ".dbf";
        storage::copyTable(budget, scratch.path() / budgetName);
        files.push_back({scratch.path() / budgetName, code + budgetName});
    }
    const NetResult sent = services.net->ftpStore(transmissionServer(request.server), files, status);
    if (!sent.ok()) {
        if (status) status(sent.error);
        services.prompt.message(platform::PromptKind::Warning, transmissionFailedText(sent.error));
    }
    services.shell.openUrl(checkPageUrl(request.server.webAddress, code, request.journalName, request.chartName));
    return sent.ok() ? TransmissionResult::Sent : TransmissionResult::NotSent;
}

}  // namespace quendra::transfer
