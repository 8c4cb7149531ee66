#pragma once

#include "bankimport/csv_table.h"
#include "storage/settings_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::bankimport {

// Which columns of a CSV export hold what (numbers from 0; -1: none), and how many rows
// stand before the first movement (the heading block and the heading row).
struct CsvColumns {
    int headingRows = 0;
    int date = -1;
    int valueDate = -1;
    std::vector<int> text;
    int amount = -1;   // signed: negative is an uscita
    int income = -1;   // "Entrate", "Accrediti", "Avere"
    int expense = -1;  // "Uscite", "Addebiti", "Dare"
    int currency = -1;
    int reference = -1;

    // A date, a text and either a signed amount or both sides.
    bool complete() const { return date >= 0 && !text.empty() && (amount >= 0 || (income >= 0 && expense >= 0)); }
    friend bool operator==(const CsvColumns&, const CsvColumns&) = default;
};

// The heading row among the first rows whose headings name a complete set of columns;
// nullopt when there is none.
std::optional<CsvColumns> recogniseColumns(const CsvTable& table);

// A name for each column for the user to choose from: its number and what the widest
// of the first rows (most likely the heading row) holds there.
std::vector<std::string> columnLabels(const CsvTable& table);

// The columns the user chose for the CSV files of a bank (its cash-box code), kept in
// tovald.INI; nullopt when none were kept or they are incomplete.
std::optional<CsvColumns> rememberedColumns(const storage::Settings& settings, std::string_view cashBox);
void rememberColumns(storage::Settings& settings, std::string_view cashBox, const CsvColumns& columns);

}  // namespace quendra::bankimport
