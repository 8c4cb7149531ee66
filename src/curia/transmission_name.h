#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a check page request names: the code a parish drew and the two table names it
// sent. Only names of this exact shape are ever turned into paths.
namespace quendra::curia {

struct TransmissionName {
    std::string code;        // "12345"
    std::string journalName; // "kr202601.dbf", as the parish spelt it
    std::string chartName;   // "KW202601.dbf"
    std::string yearNumber;  // "202601"

    std::string year() const { return yearNumber.substr(0, 4); }
    // The budget a year may send beside its tables, as the parish's program names it.
    std::string budgetName() const { return "KV" + yearNumber + ".dbf"; }
};

// nullopt unless the code is five digits 1-9 and kr and kw are "KRyyyynn.dbf" and
// "KWyyyynn.dbf" (any case) of the same year number.
std::optional<TransmissionName> parseTransmissionName(std::string_view code, std::string_view kr, std::string_view kw);

}  // namespace quendra::curia
