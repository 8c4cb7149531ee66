#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

// A fiscal year is a journal KRyyyynn.dbf and its chart KWyyyynn.dbf in the data
// directory; yyyynn is the year number (four-digit year, two-digit running number).
// Names compare case-blind; files the program creates get the prefixes "kr" and "kw".
// Beside them a year may keep its budget KVyyyynn.dbf; a year without one has an empty
// budget.

enum class YearTable { Journal, Chart, Budget };

inline constexpr std::string_view kJournalTemplate = "kr000000.dbf";
inline constexpr std::string_view kChartTemplate = "kw000000.dbf";
inline constexpr int kMaxRunningNumber = 99;

// A request about year files that cannot be met, with an Italian message.
class YearFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "201501" for (2015, 1). Throws YearFileError for a year outside 1..9999 or a running
// number outside 1..99.
std::string yearNumber(int year, int runningNumber);

// "kr201501.dbf" / "kw201501.dbf" / "kv201501.dbf".
std::string yearFileName(YearTable table, std::string_view yearNumber);

// The chart of a journal: "kw" in place of the first two characters.
std::string chartNameOfJournal(std::string_view journalName);

// The budget of a journal: "kv" in place of the first two characters.
std::string budgetNameOfJournal(std::string_view journalName);

// The production index of a table: the first eight characters of its name + ".mdx".
std::string indexFileName(std::string_view tableName);

// The six digits of a year file name of the form XXnnnnnn.dbf (any case); nullopt for
// any other name.
std::optional<std::string> yearNumberOf(std::string_view fileName);

// True for the journal template's name in any case ("KR000000.DBF").
bool isJournalTemplate(std::string_view fileName);

// The journals in dir: names "kr" + six digits + ".dbf" in any case, spelt as on disk,
// sorted case-blind; the template is left out. A missing directory gives none.
std::vector<std::string> listJournals(const std::filesystem::path& dir);

// The year number a new file of the year gets: the highest running number among the
// journals of that year in dir, plus one ("01" for the first). Throws YearFileError
// when the year already has 99 files.
std::string nextYearNumber(const std::filesystem::path& dir, int year);

// dir / name as it is spelt on disk (case-blind, the exact spelling first), or dir /
// name when no spelling of it exists.
std::filesystem::path resolveCaseBlind(const std::filesystem::path& dir, std::string_view name);

// The program directory of this process (storage/program_home.h says how it is chosen).
std::filesystem::path programDirectory();

// The data directory of a program directory: its sub-directory "krw/".
std::filesystem::path dataDirectory(const std::filesystem::path& programDir);

}  // namespace quendra::storage
