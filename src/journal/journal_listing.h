#pragma once

#include "storage/dbase/cursor.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::journal {

// The journal list's columns.
enum class ListColumn { Number, Date, Account, CashBox, Text, Income, Expense };
inline constexpr std::size_t kListColumnCount = 7;
inline constexpr std::array<std::string_view, kListColumnCount> kListColumnTitles = {
    "No", "data", "conto", "cassa", "oggetto", "entrata", "uscita"};

// Column widths in pixels for a list w pixels wide: No 5.67 %, data, conto, cassa
// 11.34 % each, entrata and uscita 12.285 % each, and oggetto 26.46 % plus 85 % of what
// the designed columns leave free; every term rounded to whole pixels.
std::array<int, kListColumnCount> listColumnWidths(int width);

// The rows of the journal in the order of a reading cursor, by position, for a list that
// draws only what it shows. Only record numbers are kept (four bytes a row); the texts
// of a row are read from the table when asked for. reload() after rows were added,
// deleted, reordered or their keys changed.
class JournalListing {
public:
    explicit JournalListing(storage::Cursor& reader) : reader_(reader) {}

    // Walks the reader in its current order (an empty listing when it is closed).
    void reload();
    // Forgets the cached texts of a row whose fields changed in place.
    void rowChanged(std::uint32_t recordNumber);

    std::size_t rowCount() const { return records_.size(); }
    std::uint32_t recordAt(std::size_t row) const { return records_.at(row); }
    std::optional<std::size_t> rowOf(std::uint32_t recordNumber) const;

    // The seven texts of a row as the list shows them: dates dd.mm.yyyy, amounts
    // "#0,.00   .". Empty texts when the row is gone.
    const std::array<std::string, kListColumnCount>& cells(std::size_t row);

private:
    storage::Cursor& reader_;
    std::vector<std::uint32_t> records_;
    std::vector<std::uint32_t> rowOfRecord_;  // record number -> row + 1, 0 = not listed
    std::uint32_t cachedRecord_ = 0;
    std::array<std::string, kListColumnCount> cached_;
};

}  // namespace quendra::journal
