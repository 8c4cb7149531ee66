#pragma once

#include <string>
#include <string_view>

namespace quendra::storage {
class Cursor;
}

namespace quendra::journal {

enum class SearchKind { Numero, Data, Oggetto };
// ReachedEnd: no match up to the end, but the rows above where the search began were not
// looked at; the next search starts at the first row.
enum class SearchOutcome { Found, NotFound, ReachedEnd, NotANumber, NotADate };

// The journal search of the main window: walks the journal cursor forward in its current
// list order, from its current row, until a row matches. A search after a hit goes on
// after the found row; a search that runs off the end leaves the journal on its first
// row and the next one starts afresh.
class JournalSearch {
public:
    // "numero": Nummer equals the text read as a whole number; "data": Datum on or after
    // the text read as dd.mm.yyyy; "oggetto": the text contains it in any case. A text
    // that cannot be read leaves the journal where it was.
    SearchOutcome next(storage::Cursor& journal, SearchKind kind, std::string_view text);
    // A new search (another kind chosen): back to the first row.
    void restart(storage::Cursor& journal);
    // The window was shown again: the next search starts at the current row.
    void forget() { underWay_ = false; }
    bool underWay() const { return underWay_; }

private:
    bool underWay_ = false;
    bool fromTop_ = false;  // the search began at the first row: the end has seen every row
};

inline constexpr std::string_view kSearchNotFound = "non trovato il termine della ricerca";

// The Italian message or question for an outcome that needs one ("" for Found).
std::string searchMessage(SearchOutcome outcome, std::string_view text);

}  // namespace quendra::journal
