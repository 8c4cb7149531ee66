#pragma once

#include "storage/dbase/field_def.h"
#include "storage/dbase/row_reader.h"
#include "storage/dbase/tag_spec.h"

#include <array>
#include <optional>
#include <string_view>

// The journal record (KR table of a year).
namespace quendra::storage::journal {

inline constexpr std::string_view kNummer = "Nummer";
inline constexpr std::string_view kDatum = "Datum";
inline constexpr std::string_view kCod = "cod";    // account of the movement
inline constexpr std::string_view kCodd = "codd";  // cash box or bank account
inline constexpr std::string_view kText = "text";
inline constexpr std::string_view kEinnahme = "Einnahme";
inline constexpr std::string_view kAusgabe = "Ausgabe";
inline constexpr std::string_view kEA = "EA";
inline constexpr std::string_view kEroeffnung = "eroeffnung";

// Values of EA: which of the two amount fields holds the movement.
enum class Side : int { Undecided = 0, Uscita = 1, Entrata = 2 };

// The only opening marker the program writes (1 is read as one too).
inline constexpr int kOpeningMarker = 2;

inline FieldList fields() {
    return {
        {std::string(kNummer), FieldType::Numeric, 6, 0, false},
        {std::string(kDatum), FieldType::Date, 8, 0, false},
        {std::string(kCod), FieldType::Character, 6, 0, false},
        {std::string(kCodd), FieldType::Character, 6, 0, false},
        {std::string(kText), FieldType::Character, 63, 0, false},
        {std::string(kEinnahme), FieldType::Numeric, 12, 2, false},
        {std::string(kAusgabe), FieldType::Numeric, 12, 2, false},
        {std::string(kEA), FieldType::Numeric, 1, 0, false},
        {std::string(kEroeffnung), FieldType::Numeric, 1, 0, false},
    };
}

// In the order a new journal gets them; "nummer" is its primary tag.
inline constexpr std::array<TagSpec, 4> kTags = {{
    {"nummer", kNummer, true},
    {"cod", kCod, false},
    {"datum", kDatum, false},
    {"codd", kCodd, false},
}};

// The amount ("Betrag") a row stands for: Ausgabe on side 1, Einnahme on side 2, none
// while the side is undecided (or EA holds anything else).
inline std::optional<double> amount(double einnahme, double ausgabe, long long ea) {
    if (ea == static_cast<long long>(Side::Uscita)) {
        return ausgabe;
    }
    if (ea == static_cast<long long>(Side::Entrata)) {
        return einnahme;
    }
    return std::nullopt;
}

inline std::optional<double> amount(const RowReader& row) {
    return amount(row.asNumber(kEinnahme), row.asNumber(kAusgabe), row.asInteger(kEA));
}

// Whether eroeffnung marks an opening row for the main window and the balance summary
// (any value above 0; the reports state their own rule).
inline bool isOpeningRow(long long eroeffnung) { return eroeffnung > 0; }

}  // namespace quendra::storage::journal
