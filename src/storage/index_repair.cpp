#include "storage/index_repair.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/table_registry.h"
#include "storage/dbase/text_case.h"
#include "storage/year_table_tags.h"

#include <algorithm>
#include <vector>

namespace quendra::storage {

namespace {

constexpr std::uint64_t kIndexFlagOffset = 28;
constexpr std::string_view kNoServerAddress = "(indirizzo del sito dell'amministrazione non configurato)";

std::string messageFor(std::string_view fileName, std::string_view address) {
    return "Manca il file \"" + toUpperUtf8(fileName) + "\". - Devi riinstallare il programma dal sito internet: \n" +
           std::string(address) + "\n\nIl programma adesse viene chiuso";
}

// Every spelling of the table's index file, so that no stale one is left for the engine
// to find.
void removeIndexFiles(const std::filesystem::path& dir, std::string_view tableName) {
    const std::string wanted = toUpperUtf8(indexFileName(tableName));
    std::error_code error;
    for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        if (toUpperUtf8(it->path().filename().string()) == wanted) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

}  // namespace

MissingYearFile::MissingYearFile(std::string fileName)
    : std::runtime_error(messageFor(fileName, kNoServerAddress)), fileName_(std::move(fileName)) {}

std::string missingYearFileMessage(std::string_view fileName, const ServerSettings& server) {
    const std::string address = server.downloadAddress("vwi.htm");
    return messageFor(fileName, address.empty() ? kNoServerAddress : address);
}

void indexreparatur(YearTable kind, const std::filesystem::path& dataDir, std::string_view fileName) {
    const std::filesystem::path path = resolveCaseBlind(dataDir, fileName);
    std::error_code error;
    if (fileName.empty() || !std::filesystem::is_regular_file(path, error)) {
        throw MissingYearFile(std::string(fileName));
    }
    // Rewriting the header under a table that is open would break it for its holder.
    if (isTableOpen(path)) {
        throw DbError(DbError::Kind::Locked, "La tabella \"" + fileLabel(path) + "\" è in uso e non può essere riorganizzata");
    }
    {
        const FileHandle file(path, FileHandle::Lock::Exclusive);
        if (file.size() > kIndexFlagOffset) {
            file.writeAt(kIndexFlagOffset, std::string(1, '\0'));
            file.sync();
        }
    }
    removeIndexFiles(path.parent_path(), path.filename().string());

    // All tags come back as plain tags, added in name order (cod, codd, datum, nummer).
    std::vector<TagSpec> tags(yearTableTags(kind).begin(), yearTableTags(kind).end());
    std::sort(tags.begin(), tags.end(), [](const TagSpec& a, const TagSpec& b) { return a.name < b.name; });
    Cursor table(path, OpenMode::Exclusive);
    for (const TagSpec& tag : tags) {
        table.addTag(tag.name, tag.field);
    }
    table.close();
}

}  // namespace quendra::storage
