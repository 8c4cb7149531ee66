#pragma once

#include "storage/dbase/date.h"
#include "storage/dbase/field_def.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quendra::storage {

// What a table cursor and a query result share: walking rows and reading fields. Field
// names compare case-blind; an unknown name throws DbError(NoSuchField).
class RowReader {
public:
    virtual ~RowReader() = default;

    virtual void first() = 0;
    virtual void next() = 0;
    virtual void prior() = 0;
    virtual void last() = 0;
    // True after moving past the last row, and on an empty set after first().
    virtual bool eof() const = 0;
    // True after moving before the first row.
    virtual bool bof() const = 0;
    // Rows visible to this reader (deleted rows never count).
    virtual std::size_t recordCount() const = 0;

    virtual std::size_t fieldCount() const = 0;
    virtual const FieldDef& fieldDef(std::size_t index) const = 0;
    // -1 when there is no such field.
    virtual int findField(std::string_view name) const = 0;

    // Values of the current row. Without a current row: DbError(NoRecord).
    virtual std::string asText(std::size_t index) const = 0;
    virtual double asNumber(std::size_t index) const = 0;
    virtual Date asDate(std::size_t index) const = 0;
    virtual bool isBlank(std::size_t index) const = 0;

    // Conveniences by name.
    std::size_t fieldIndex(std::string_view name) const;
    std::string asText(std::string_view name) const { return asText(fieldIndex(name)); }
    double asNumber(std::string_view name) const { return asNumber(fieldIndex(name)); }
    // The number rounded to the nearest whole number.
    long long asInteger(std::string_view name) const { return asInteger(fieldIndex(name)); }
    long long asInteger(std::size_t index) const;
    Date asDate(std::string_view name) const { return asDate(fieldIndex(name)); }
    bool isBlank(std::string_view name) const { return isBlank(fieldIndex(name)); }
    // Overloads for literals, which would otherwise be ambiguous.
    std::string asText(const char* name) const { return asText(std::string_view(name)); }
    double asNumber(const char* name) const { return asNumber(std::string_view(name)); }
    long long asInteger(const char* name) const { return asInteger(std::string_view(name)); }
    Date asDate(const char* name) const { return asDate(std::string_view(name)); }
    bool isBlank(const char* name) const { return isBlank(std::string_view(name)); }
};

}  // namespace quendra::storage
