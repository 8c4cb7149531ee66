#include "storage/index_repair.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/table_registry.h"
#include "storage/dbase/text_case.h"
#include "storage/year_structure.h"
#include "storage/year_table_tags.h"

#include <algorithm>
#include <vector>

namespace quendra::storage {

namespace {

constexpr std::string_view kNoServerAddress = "(indirizzo del sito dell'amministrazione non configurato)";

std::string messageFor(std::string_view fileName, std::string_view address) {
    return "Manca il file \"" + toUpperUtf8(fileName) + "\". - Devi riinstallare il programma dal sito internet: \n" +
           std::string(address) + "\n\nIl programma adesse viene chiuso";
}

// Every spelling of the table's index file but the one the engine uses.
void removeOtherIndexFiles(const std::filesystem::path& table) {
    const std::filesystem::path used = indexPathFor(table);
    const std::string wanted = toUpperUtf8(used.filename().string());
    std::error_code error;
    for (std::filesystem::directory_iterator it(table.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        if (it->path() != used && toUpperUtf8(it->path().filename().string()) == wanted) removeFile(it->path());
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
    // A stray index under another spelling of the name would be found instead of ours.
    removeOtherIndexFiles(path);
    // All tags come back as plain tags, in name order (cod, codd, datum, nummer).
    std::vector<TagField> tags = yearTagFields(kind);
    std::sort(tags.begin(), tags.end(), [](const TagField& a, const TagField& b) { return a.name < b.name; });
    reindexTable(path, tags);
}

bool yearTableSound(YearTable kind, const std::filesystem::path& table) {
    try {
        const Cursor probe(table, OpenMode::Exclusive);
        const OpenTable& open = *probe.table();
        // Wrong fields would give wrong figures, and no index repair mends them.
        const std::vector<std::string> wrong = yearStructureProblems(kind, open.fields(), fileLabel(table));
        if (!wrong.empty()) throw DbError(DbError::Kind::BadFile, wrong.front());
        std::vector<bool> tagged(open.fields().size(), false);
        for (std::size_t i = 0; i < open.tagCount(); ++i) tagged[open.tagAt(i).fieldIndex()] = true;
        for (std::size_t f = 0; f < tagged.size(); ++f) {
            if (tagged[f] != open.fields()[f].hasTag) return false;
        }
        for (const TagSpec& wanted : yearTableTags(kind)) {
            bool found = false;
            for (std::size_t i = 0; i < open.tagCount() && !found; ++i) {
                const TagIndex& tag = open.tagAt(i);
                found = equalsIgnoreCaseAscii(tag.info().name, wanted.name) &&
                        equalsIgnoreCaseAscii(open.fields()[tag.fieldIndex()].name, wanted.field);
            }
            if (!found) return false;
        }
        return true;
    } catch (const DbError& error) {
        if (error.curedByRepair()) return false;
        throw;
    }
}

void ensureYearTableSound(YearTable kind, const std::filesystem::path& dataDir, std::string_view fileName) {
    const std::filesystem::path path = resolveCaseBlind(dataDir, fileName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || !yearTableSound(kind, path)) {
        indexreparatur(kind, dataDir, fileName);
    }
}

}  // namespace quendra::storage
