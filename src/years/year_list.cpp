#include "years/year_list.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/index_repair.h"
#include "storage/dbase/text_case.h"
#include "storage/year_files.h"
#include "years/year_tables.h"

#include <algorithm>

namespace quendra::years {

using namespace storage;

namespace {

std::size_t journalRows(const std::filesystem::path& journal) {
    ensureIndexUsable(YearTable::Journal, journal);
    return Cursor(journal, OpenMode::Shared).recordCount();
}

ParishData listedParish(const std::filesystem::path& chart) {
    try {
        indexreparatur(YearTable::Chart, chart.parent_path(), chart.filename().string());
    } catch (const DbError& error) {
        // A chart in use opened for its holder; its index is as good as it was.
        if (error.kind() != DbError::Kind::Locked) throw;
    }
    return readParishData(chart);
}

}  // namespace

std::string yearEntryText(const std::string& yearNumber, const ParishData& parish, std::size_t rows) {
    return yearNumber.substr(0, 4) + "-" + yearNumber.substr(4, 2) + " | " + toUpperUtf8(parish.name) + " (" +
           parish.place + ") " + parish.deanery + " (" + std::to_string(rows) + " voci)";
}

YearList listYears(const std::filesystem::path& dataDir) {
    YearList list;
    for (const std::string& journalName : listJournals(dataDir)) {
        const std::string number = *yearNumberOf(journalName);
        const std::filesystem::path chart = yearTablePath(dataDir, YearTable::Chart, number);
        std::error_code missing;
        if (!std::filesystem::is_regular_file(chart, missing)) continue;
        try {
            const std::size_t rows = journalRows(dataDir / journalName);
            list.entries.push_back({number, yearEntryText(number, listedParish(chart), rows)});
        } catch (const DbError& error) {
            list.unreadable.push_back({journalName, error.what()});
        }
    }
    std::sort(list.entries.begin(), list.entries.end(),
              [](const YearEntry& a, const YearEntry& b) { return a.text > b.text; });
    return list;
}

}  // namespace quendra::years
