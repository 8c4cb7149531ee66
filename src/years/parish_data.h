#pragma once

#include <filesystem>
#include <string>

namespace quendra::years {

// What the parish header row ("  PFAR") of a year's chart says about the parish.
struct ParishData {
    std::string name;     // TEXT, "nome parrocchia"
    std::string place;    // TEXTH, "luogo"
    std::string deanery;  // TEXTA, "decanato"

    friend bool operator==(const ParishData&, const ParishData&) = default;
};

// The texts of the chart's first row in COD order, the parish header row (all empty for
// an empty chart). Opens the chart shared; throws DbError.
ParishData readParishData(const std::filesystem::path& chartPath);

// Stores the three texts in the parish header row. A chart that lacks the row gets one,
// rather than having the first account's texts overwritten. Throws DbError (a text too
// long or with a character the file cannot hold) without changing the row.
void writeParishData(const std::filesystem::path& chartPath, const ParishData& parish);

}  // namespace quendra::years
