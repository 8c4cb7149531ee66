#include "tools/dump_format.h"

#include "storage/dbase/field_codec.h"
#include "tools/csv.h"

#include <vector>

namespace quendra::tools {

std::string dumpValue(const storage::FieldDef& field, std::string_view raw, storage::CodePage page) {
    if (storage::isBlank(field, raw)) return {};
    if (field.type == storage::FieldType::Date) return storage::decodeDate(field, raw).toIso();
    return storage::decodeText(field, raw, page);
}

std::string dumpCell(const storage::RowReader& row, std::size_t field) {
    if (row.isBlank(field)) return {};
    if (row.fieldDef(field).type == storage::FieldType::Date) return row.asDate(field).toIso();
    return row.asText(field);
}

void dumpRows(std::ostream& out, storage::RowReader& rows) {
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < rows.fieldCount(); ++i) cells.push_back(rows.fieldDef(i).name);
    writeCsvRow(out, cells);
    for (rows.first(); !rows.eof(); rows.next()) {
        for (std::size_t i = 0; i < rows.fieldCount(); ++i) cells[i] = dumpCell(rows, i);
        writeCsvRow(out, cells);
    }
}

}  // namespace quendra::tools
