#pragma once

#include "storage/settings_file.h"
#include "storage/year_files.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quendra::storage {

// A year file or template that is not in the data directory. The program cannot go on:
// the window layer shows missingYearFileMessage(fileName(), server) and ends. what()
// holds the same message without the server's address.
class MissingYearFile : public std::runtime_error {
public:
    explicit MissingYearFile(std::string fileName);
    const std::string& fileName() const { return fileName_; }

private:
    std::string fileName_;
};

// "Manca il file "KR201501.DBF". - Devi riinstallare il programma dal sito internet: "
// with the download page of the central server, and the notice that the program ends.
std::string missingYearFileMessage(std::string_view fileName, const ServerSettings& server);

// Rebuilds the production index of a year table or template in dataDir with all the
// table's tags as plain tags, in one step (a new .mdx renamed into place, then the
// header): a crash leaves the old index or the new one. A record count that does not
// match the file is first set to the rows the file holds. Throws MissingYearFile when the
// file is not there, DbError(Locked) without touching anything while a cursor of this or
// another process holds the table, and DbError for a file that is no table.
void indexreparatur(YearTable kind, const std::filesystem::path& dataDir, std::string_view fileName);

// True when the year table opens exclusively and carries every tag its kind needs, each
// on its field and announced in the header. False for what indexreparatur cures; other
// failures (a table in use, a file that is no table, fields that are not the kind's) are
// thrown.
bool yearTableSound(YearTable kind, const std::filesystem::path& table);

// Runs indexreparatur on a year table that is not sound (MissingYearFile when absent).
void ensureYearTableSound(YearTable kind, const std::filesystem::path& dataDir, std::string_view fileName);

}  // namespace quendra::storage
