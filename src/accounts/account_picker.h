#pragma once

#include "storage/dbase/cursor.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::accounts {

// The five linked lists of the account picker, in the order they depend on each other.
enum class PickerList : std::size_t { Type, MainAccount, SubAccount, CashGroup, CashBox };
inline constexpr std::size_t kPickerListCount = 5;

struct PickerEntry {
    std::string code;   // COD of the chart row
    std::string shown;  // "A-Uscite", "01-Contributo sostentamento Clero", …

    friend bool operator==(const PickerEntry&, const PickerEntry&) = default;
};

struct PickerColumn {
    std::vector<PickerEntry> entries;
    std::optional<std::size_t> current;  // none only when the list is empty

    const PickerEntry* currentEntry() const { return current ? &entries[*current] : nullptr; }
};

// What closing the picker writes into the journal row.
struct PickerChoice {
    std::string cod;
    std::string codd;

    friend bool operator==(const PickerChoice&, const PickerChoice&) = default;
};

// The account picker without its widgets: the current account a and cash box b, the
// five lists read from the chart around them, the rules of choosing and closing, and
// the search by text. Holds its own shared cursors on the chart while it lives.
class AccountPicker {
public:
    // rowCod / rowCodd: the journal row as it is when the picker opens; opening: the
    // state of the "prima apertura" box.
    AccountPicker(const std::filesystem::path& chart, std::string_view rowCod, std::string_view rowCodd,
                  bool opening);

    const std::string& account() const { return account_; }
    const std::string& cashBox() const { return cashBox_; }
    const PickerColumn& column(PickerList list) const { return columns_[index(list)]; }
    bool opening() const { return opening_; }
    // False while an opening row of an asset or liability account is being chosen: such
    // a row is its own cash box.
    bool cashBoxesVisible() const;

    void setOpening(bool checked) { opening_ = checked; }
    // A move inside one list (keyboard, pointer press) that does not yet count as a choice.
    void moveTo(PickerList list, std::size_t row);
    // The choice of the current row of a list counts: a or b follow it, then everything
    // is read again around them.
    void choose(PickerList list);
    // Reads the lists again from the chart (after the chart has changed), opening it
    // again when it was released.
    void synchronise();
    // Closes every cursor on the chart (the search ends), so that the chart can be
    // edited exclusively; a, b and the lists as last read stay.
    void releaseChart();

    // What closing writes: the current sub-account and cash box (an opening row of an
    // asset or liability account gets its account as cash box). A list that is empty
    // leaves the row's field as it was.
    PickerChoice closing() const;
    // "annulla": back to the row's own account, then closing.
    PickerChoice cancelling();

    // Search by text over the sub-accounts of classes A, C and E.
    void startSearch();
    // True on a hit (a is then that account); false when the walk ran off the end, and
    // the next call starts again at the first row.
    bool searchNext(std::string_view text);
    // The search's "annulla": back to the account kept by startSearch.
    void cancelSearch();
    // "uscita": keeps the account found.
    void endSearch();
    bool searching() const { return search_.isOpen(); }

private:
    static std::size_t index(PickerList list) { return static_cast<std::size_t>(list); }
    PickerColumn& columnOf(PickerList list) { return columns_[index(list)]; }
    PickerChoice choiceFor(const std::string& cod) const;
    void openChart();

    std::filesystem::path chart_;
    storage::Cursor byCode_;
    storage::Cursor byType_;
    storage::Cursor search_;
    std::string rowCod_;
    std::string rowCodd_;
    std::string account_;
    std::string cashBox_;
    std::string accountBeforeSearch_;
    bool searchFound_ = false;
    bool opening_ = false;
    std::array<PickerColumn, kPickerListCount> columns_;
};

// Writes the picker's choice into the journal cursor's current row and posts it.
void writeChoice(storage::Cursor& journal, const PickerChoice& choice);

inline constexpr std::string_view kAccountSearchNotFound = "causale non trovato";

}  // namespace quendra::accounts
