#pragma once

#include "curia/inbox.h"
#include "curia/received_info.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The diocese's archive: <archive>/<parish key>/<year>/<time>-<code>/ holds one
// transmission as it arrived (the tables under the names the parish gave them, without
// the code, and info.txt); the latest folder of a year is its current transmission.
// Damaged transmissions go to <archive>/_scartate/<time>-<code>/, never into a year.
namespace quendra::curia {

inline constexpr std::string_view kSetAsideFolder = "_scartate";
inline constexpr std::string_view kWarningsFileName = "avvisi.txt";
inline constexpr std::string_view kDamageFileName = "danni.txt";

// Lower-case letters and digits of name and place joined by "-" (accented letters lose
// their accent), at most 80 characters; "senza-nome" when nothing is left. Never holds
// "/", "." or anything else a path could make use of.
std::string parishKey(std::string_view name, std::string_view place);

// True for a text parishKey could have made.
bool isParishKey(std::string_view key);

// The files of one transmission folder.
std::optional<FiledFiles> filedFiles(const std::filesystem::path& folder);

// Moves the files that arrived into a new folder of the parish's year (stamp "20261209-211445",
// UTC) and writes the warnings beside them. Returns the folder. Throws CuriaError.
std::filesystem::path fileTransmission(const std::filesystem::path& archive, const std::string& key,
                                       const std::string& year, const std::string& stamp,
                                       const TransmissionName& name, const Arrived& arrived,
                                       const std::vector<std::string>& warnings);

// Moves whatever arrived of a damaged transmission aside, with the reasons. Throws CuriaError.
std::filesystem::path setAside(const std::filesystem::path& archive, const std::string& stamp,
                               const TransmissionName& name, const Arrived& arrived,
                               const std::vector<std::string>& damage);

// The latest folder, filed or set aside, of this code whose tables carry these names.
std::optional<std::filesystem::path> findTransmission(const std::filesystem::path& archive, const TransmissionName& name);

// True when the folder is one set aside.
bool isSetAside(const std::filesystem::path& archive, const std::filesystem::path& folder);

// One parish's year in the archive.
struct ArchivedYear {
    std::string key;
    std::string year;
    std::filesystem::path current;  // its latest transmission
    std::size_t transmissions = 0;
    ReceivedInfo info;              // of the current transmission
    std::vector<std::string> warnings;
};

// Every parish's years, by key and year. Folders of other shapes are passed over.
std::vector<ArchivedYear> archivedYears(const std::filesystem::path& archive);

// One parish's year; nullopt when the archive holds none.
std::optional<ArchivedYear> archivedYear(const std::filesystem::path& archive, const std::string& key,
                                         const std::string& year);

// The lines of a text file written beside a transmission.
std::vector<std::string> readNoteLines(const std::filesystem::path& file);

}  // namespace quendra::curia
