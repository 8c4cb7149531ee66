#pragma once

#include "storage/dbase/codepage.h"
#include "storage/dbase/date.h"
#include "storage/dbase/field_def.h"

#include <optional>
#include <string>
#include <string_view>

namespace quendra::storage {

// Reading and writing one field's bytes inside a record. Raw bytes are exactly
// field.length long. Encoders throw DbError(BadValue) with an Italian message naming the
// field when the value does not fit (too long, a character the code page lacks, a
// number too wide for the field); nothing is written then.

// C: decoded to UTF-8, trailing blanks removed. N/F: the text trimmed. D: "dd.mm.yyyy"
// ("" when empty). L: "T", "F" or "" for "?"/blank.
std::string decodeText(const FieldDef& field, std::string_view raw, CodePage page);
// N/F: the value (0 when blank or unreadable); C: the text read as a number, 0 if none.
double decodeNumber(const FieldDef& field, std::string_view raw);
// D: the date (empty when blank or invalid).
Date decodeDate(std::string_view raw);
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
