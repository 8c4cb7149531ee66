#include "storage/year_files.h"

#include "storage/dbase/file_handle.h"
#include "storage/dbase/text_case.h"
#include "storage/program_home.h"

#include <algorithm>
#include <system_error>

namespace quendra::storage {

namespace {

bool isDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

std::string upper(std::string_view text) { return toUpperUtf8(text); }

std::vector<std::string> entryNames(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

}  // namespace

std::string yearNumber(int year, int runningNumber) {
    if (year < 1 || year > 9999) {
        throw YearFileError("L'anno " + std::to_string(year) + " non è valido: servono quattro cifre.");
    }
    if (runningNumber < 1 || runningNumber > kMaxRunningNumber) {
        throw YearFileError("Il numero progressivo " + std::to_string(runningNumber) + " dell'anno " +
                            std::to_string(year) + " non è valido (da 01 a 99).");
    }
    std::string digits = std::to_string(year);
    digits.insert(0, 4 - digits.size(), '0');
    return digits + twoDigits(runningNumber);
}

std::string yearFileName(YearTable table, std::string_view yearNumber) {
    const char* prefix = table == YearTable::Journal ? "kr" : table == YearTable::Chart ? "kw" : "kv";
    return prefix + std::string(yearNumber) + ".dbf";
}

std::string chartNameOfJournal(std::string_view journalName) {
    return "kw" + std::string(journalName.substr(std::min<std::size_t>(2, journalName.size())));
}

std::string budgetNameOfJournal(std::string_view journalName) {
    return "kv" + std::string(journalName.substr(std::min<std::size_t>(2, journalName.size())));
}

std::string indexFileName(std::string_view tableName) { return std::string(tableName.substr(0, 8)) + ".mdx"; }

std::optional<std::string> yearNumberOf(std::string_view fileName) {
    if (fileName.size() != 12 || upper(fileName.substr(8)) != ".DBF" || !isDigits(fileName.substr(2, 6))) {
        return std::nullopt;
    }
    return std::string(fileName.substr(2, 6));
}

bool isJournalTemplate(std::string_view fileName) { return upper(fileName) == upper(kJournalTemplate); }

std::vector<std::string> listJournals(const std::filesystem::path& dir) {
    std::vector<std::string> journals;
    for (std::string& name : entryNames(dir)) {
        if (upper(name).starts_with("KR") && yearNumberOf(name) && !isJournalTemplate(name) &&
            std::filesystem::is_regular_file(dir / name)) {
            journals.push_back(std::move(name));
        }
    }
    std::sort(journals.begin(), journals.end(), [](const std::string& a, const std::string& b) {
        return upper(a) < upper(b);
    });
    return journals;
}

std::string nextYearNumber(const std::filesystem::path& dir, int year) {
    const std::string yearDigits = yearNumber(year, 1).substr(0, 4);
    int highest = 0;
    for (const std::string& journal : listJournals(dir)) {
        const std::string number = *yearNumberOf(journal);
        if (number.starts_with(yearDigits)) {
            highest = std::max(highest, std::stoi(number.substr(4)));
        }
    }
    if (highest >= kMaxRunningNumber) {
        throw YearFileError("L'anno " + yearDigits + " ha già " + std::to_string(kMaxRunningNumber) +
                            " esercizi: non è possibile crearne un altro.");
    }
    return yearNumber(year, highest + 1);
}

std::filesystem::path resolveCaseBlind(const std::filesystem::path& dir, std::string_view name) {
    std::filesystem::path found = name.empty() ? std::filesystem::path() : findCaseBlind(dir, name);
    return found.empty() ? dir / name : found;
}

std::filesystem::path programDirectory() { return currentProgramHome().programDir; }

std::filesystem::path dataDirectory(const std::filesystem::path& programDir) { return programDir / "krw" / ""; }

}  // namespace quendra::storage
