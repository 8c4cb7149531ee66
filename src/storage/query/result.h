#pragma once

#include "storage/dbase/field_def.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/row_reader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace quendra::storage {

// The rows of a query: read-only, a copy taken when the query ran (later changes to the
// table do not show, and the table is not held open), walked like a table cursor. It
// starts on its first row.
class QueryResult : public RowReader {
public:
    void first() override;
    void next() override;
    void prior() override;
    void last() override;
    bool eof() const override;
    bool bof() const override;
    std::size_t recordCount() const override;
    std::size_t fieldCount() const override;
    const FieldDef& fieldDef(std::size_t index) const override;
    int findField(std::string_view name) const override;
    using RowReader::asDate;
    using RowReader::asInteger;
    using RowReader::asNumber;
    using RowReader::asText;
    using RowReader::isBlank;

protected:
    QueryResult(FieldList fields, std::size_t rowCount);
    // The current row; DbError(NoRecord) when the result is empty.
    std::size_t currentRow() const;

private:
    FieldList fields_;
    std::size_t rowCount_;
    std::size_t row_ = 0;
    bool eof_ = true;
    bool bof_ = true;
};

// The records (flag byte first) of the table, in this order.
std::unique_ptr<QueryResult> recordSetResult(const OpenTable& table, const std::vector<std::uint32_t>& recnos);

// One row of sums: a column SUM_<FIELD> (numeric, with the field's decimals) per field.
std::unique_ptr<QueryResult> sumResult(const OpenTable& table, const std::vector<std::size_t>& fields,
                                       std::vector<double> sums);

}  // namespace quendra::storage
