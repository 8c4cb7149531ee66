#include "printing/output_guard.h"

#include "storage/dbase/text_case.h"

#include <array>
#include <string_view>
#include <vector>

namespace quendra::printing {

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 5> kDataExtensions = {".DBF", ".MDX", ".DBT", ".NDX", ".INI"};

bool isDataFile(const fs::path& file) {
    const std::string extension = storage::toUpperUtf8(file.extension().string());
    for (const std::string_view known : kDataExtensions) {
        if (extension == known) return true;
    }
    return false;
}

fs::path resolved(const fs::path& file) {
    std::error_code error;
    const fs::path path = fs::weakly_canonical(fs::absolute(file, error), error);
    return error ? file : path;
}

// The same file, or one the program would take for it: the year's names are looked up
// whatever their case.
bool sameFile(const fs::path& target, const fs::path& file) {
    std::error_code error;
    if (fs::equivalent(target, file, error)) return true;
    const fs::path a = resolved(target);
    const fs::path b = resolved(file);
    return a.parent_path() == b.parent_path() &&
           storage::toUpperUtf8(a.filename().string()) == storage::toUpperUtf8(b.filename().string());
}

std::vector<fs::path> protectedFiles(const ReportYear& year) {
    std::vector<fs::path> files = {year.journalPath, year.chartPath};
    std::error_code error;
    for (const fs::path& dir : {year.dataDir, year.journalPath.parent_path(), year.chartPath.parent_path()}) {
        for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, error), end; !error && it != end;
             it.increment(error)) {
            if (isDataFile(it->path())) files.push_back(it->path());
        }
        error.clear();
    }
    return files;
}

}  // namespace

std::string overwriteRefusal(const fs::path& target, const ReportYear& year) {
    for (const fs::path& file : protectedFiles(year)) {
        if (sameFile(target, file)) {
            return "Il file " + target.string() + " è un file dei dati (" + file.filename().string() +
                   "): scegliere un altro nome";
        }
    }
    return {};
}

}  // namespace quendra::printing
