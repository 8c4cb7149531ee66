#pragma once

#include "storage/dbase/codepage.h"
#include "storage/dbase/date.h"
#include "storage/dbase/dbf_header.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quendra::storage {

// One side of a comparison, read from a record's bytes (flag byte first). Character
// values are bytes of the table's code page, possibly blank padded; dates are Julian
// day numbers (0 for the empty date, so it sorts first).
template <class T>
class ValueSource {
public:
    virtual ~ValueSource() = default;
    virtual T read(std::string_view record) const = 0;
};

using CharSource = ValueSource<std::string_view>;
using NumberSource = ValueSource<double>;
using DaySource = ValueSource<std::int32_t>;

std::unique_ptr<CharSource> charField(const DbfHeader& header, std::size_t field);
std::unique_ptr<CharSource> charConstant(std::string bytes);
// upper(inner). Not reentrant: the value read lives in the source until the next read.
std::unique_ptr<CharSource> upperOf(std::unique_ptr<CharSource> inner, CodePage page);

std::unique_ptr<NumberSource> numberField(const DbfHeader& header, std::size_t field);
std::unique_ptr<NumberSource> numberConstant(double value);

std::unique_ptr<DaySource> dateField(const DbfHeader& header, std::size_t field);
std::unique_ptr<DaySource> dateConstant(Date value);

// Each byte of the page mapped to its upper case (toUpperUtf8), or to itself where the
// page has no such upper-case letter.
const std::array<char, 256>& upperTable(CodePage page);

}  // namespace quendra::storage
