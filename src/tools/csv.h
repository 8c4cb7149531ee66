#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quendra::tools {

// RFC 4180: fields separated by commas, quoted when they hold a comma, quote, CR or LF,
// quotes doubled; records end with CRLF (LF alone accepted on input).
void writeCsvRow(std::ostream& out, const std::vector<std::string>& cells);

// The next record, or nullopt at the end. Throws std::runtime_error on an unterminated
// quote.
std::optional<std::vector<std::string>> readCsvRow(std::istream& in);

}  // namespace quendra::tools
