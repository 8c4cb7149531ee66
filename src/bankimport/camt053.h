#pragma once

#include "bankimport/statement.h"

#include <string_view>

namespace quendra::bankimport {

// Whether the text is an XML document at all (after a byte-order mark and blanks).
bool looksLikeXml(std::string_view text);

// The entries of an ISO 20022 bank-to-customer statement ("BkToCstmrStmt", versions
// 001.02 to 001.08), read by the local names of the elements whatever their namespace.
// Entries that cannot be read, or that the bank has not booked yet, are errors of their
// line; a document that is no such statement is one error of the whole file.
Statement readCamt053(std::string_view xml);

}  // namespace quendra::bankimport
