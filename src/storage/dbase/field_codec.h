#pragma once

#include "storage/dbase/codepage.h"
#include "storage/dbase/date.h"
#include "storage/dbase/error.h"
#include "storage/dbase/field_def.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quendra::storage {

// Reading and writing one field's bytes inside a record. Raw bytes are exactly
// field.length long. Encoders throw DbError(BadValue) with an Italian message naming the
// field when the value does not fit (too long, a character the code page lacks, a
// number too wide for the field); nothing is written then.

// Readers never guess: the decoders below throw DbError(BadValue) naming the field when
// its bytes are not what its type says (fieldValueProblem). Callers that know the table
// and row add them (see readInRow).

// C: decoded to UTF-8, trailing blanks removed. N/F: the text trimmed. D: "dd.mm.yyyy"
// ("" when empty). L: "T", "F" or "" for "?"/blank.
std::string decodeText(const FieldDef& field, std::string_view raw, CodePage page);
// N/F: the value (0 when blank): leading blanks, an optional minus, digits and exactly
// the field's decimals, nothing else; C: the text read as a number, 0 if none.
double decodeNumber(const FieldDef& field, std::string_view raw);
// N/F: the value, 0 when blank, nullopt when the bytes are no number.
std::optional<double> readableNumber(const FieldDef& field, std::string_view raw);
// D: the date (empty when blank).
Date decodeDate(const FieldDef& field, std::string_view raw);
// Bytes for a message: printable ASCII as it is, every other byte as \xNN.
std::string escapedBytes(std::string_view bytes);
// "" when the bytes are a valid value of the field's type, else the Italian reason.
std::string fieldValueProblem(const FieldDef& field, std::string_view raw);
// "" for the flag byte of a live (' ') or deleted ('*') record, else the Italian reason.
std::string recordFlagProblem(char flag);
// A decoder's error with the table and row put in front ("Tabella "KR201501.DBF",
// record 5: il campo EINNAHME contiene …").
DbError inRow(const std::filesystem::path& table, std::uint32_t recno, const DbError& fieldError);

// Runs a field decoder for a row of a table; a BadValue it throws becomes inRow's error.
template <typename Read>
auto readInRow(const std::filesystem::path& table, std::uint32_t recno, Read read) -> decltype(read()) {
    try {
        return read();
    } catch (const DbError& error) {
        if (error.kind() != DbError::Kind::BadValue) throw;
        throw inRow(table, recno, error);
    }
}
bool decodeLogical(std::string_view raw);
// All blanks (N, D, C) or "?" (L).
bool isBlank(const FieldDef& field, std::string_view raw);

// C: the text in the code page, blank-padded. N/F: the text read as a number and
// formatted like encodeNumber. D: "dd.mm.yyyy" or "YYYY-MM-DD" or "". L: T/F/Y/N/"".
std::string encodeText(const FieldDef& field, std::string_view utf8, CodePage page);
// N/F: right-aligned with the field's decimals, halves rounded to even on the binary
// value; C: the number's text. D/L: BadValue.
std::string encodeNumber(const FieldDef& field, double value);
std::string encodeDate(const FieldDef& field, Date value);
std::string encodeLogical(const FieldDef& field, bool value);
std::string blankValue(const FieldDef& field);

}  // namespace quendra::storage
