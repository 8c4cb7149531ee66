#pragma once

#include "storage/dbase/date.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quendra::printing {

// A bound of --da / --a: a movement number or a date.
using RangeBound = std::variant<long long, storage::Date>;

// What narrows a report, from the print window's choices or quendra-report's options.
struct ReportOptions {
    std::optional<RangeBound> from;      // --da, "data da", "da numero"
    std::optional<RangeBound> to;        // --a, "a data", "a numero"
    std::string text;                    // --testo, "causale" (as typed)
    std::vector<std::string> cashBoxes;  // --casse: "C0101" (five characters, no blank)
    std::vector<std::string> accounts;   // --conti: "A07" (class and group)
    bool details = false;                // --dettagli, "visualizzazione dettagliata"
};

// "12" or "dd.mm.yyyy"; nullopt for anything else.
std::optional<RangeBound> parseRangeBound(const std::string& text);

}  // namespace quendra::printing
