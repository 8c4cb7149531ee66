#include "curia/inbox.h"

#include "curia/error.h"
#include "storage/year_files.h"

#include <fstream>

namespace quendra::curia {

namespace {

ArrivedFile arrived(const std::filesystem::path& inbox, const std::string& name, std::uintmax_t limit) {
    ArrivedFile file{storage::resolveCaseBlind(inbox, name)};
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(file.path, error))) return file;
    file.size = std::filesystem::file_size(file.path, error);
    if (error) return file;
    file.state = file.size > limit ? Arrival::TooLarge : Arrival::Present;
    return file;
}

}  // namespace

Arrived lookInInbox(const std::filesystem::path& inbox, const TransmissionName& name) {
    return {arrived(inbox, name.code + name.journalName, kMaxJournalBytes),
            arrived(inbox, name.code + name.chartName, kMaxChartBytes),
            arrived(inbox, name.code + std::string(kInfoFileName), kMaxInfoBytes),
            arrived(inbox, name.code + name.budgetName(), kMaxBudgetBytes)};
}

std::string readLimited(const std::filesystem::path& file, std::uintmax_t limit) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw CuriaError("Impossibile leggere il file " + file.filename().string());
    std::string bytes;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, std::size_t(in.gcount()));
        if (bytes.size() > limit) throw CuriaError("Il file " + file.filename().string() + " è troppo grande");
    }
    if (in.bad()) throw CuriaError("Impossibile leggere il file " + file.filename().string());
    return bytes;
}

}  // namespace quendra::curia
