#include "curia/table_inspection.h"

#include "storage/dbase/dbf_header.h"
#include "storage/dbase/error.h"
#include "storage/dbase/field_codec.h"
#include "storage/year_structure.h"

#include <algorithm>

namespace quendra::curia {

namespace {

constexpr std::size_t kRowsListed = 20;

// The reason a stored row cannot be read; "" for a whole row or a deleted one.
std::string rowProblem(const storage::DbfHeader& header, std::string_view record) {
    if (record[0] == '*') return {};
    if (record[0] != ' ') return "segno di inizio riga non valido";
    for (std::size_t f = 0; f < header.fields.size(); ++f) {
        const storage::FieldDef& def = header.fields[f];
        const std::string problem = storage::fieldValueProblem(def, record.substr(header.fieldOffsets[f], def.length));
        if (!problem.empty()) return "campo " + def.name + ": " + problem;
    }
    return {};
}

}  // namespace

std::vector<std::string> tableDamage(std::string_view bytes, storage::YearTable kind, const std::string& label) {
    storage::DbfHeader header;
    try {
        header = storage::DbfHeader::parse(bytes, bytes.size(), label);
    } catch (const storage::DbError& error) {
        return {error.what()};
    }
    std::vector<std::string> problems = storage::yearStructureProblems(kind, header.fields, label);
    if (const std::string count = header.recordCountProblem(bytes.size(), label); !count.empty()) {
        problems.push_back(count);
    }
    if (!problems.empty()) return problems;
    std::size_t damaged = 0;
    for (std::uint32_t r = 1; r <= header.recordCount; ++r) {
        const std::string problem = rowProblem(header, bytes.substr(header.recordOffset(r), header.recordLength));
        if (problem.empty()) continue;
        if (++damaged <= kRowsListed) {
            problems.push_back("Tabella \"" + label + "\", riga " + std::to_string(r) + ": " + problem);
        }
    }
    if (damaged > kRowsListed) {
        problems.push_back("Tabella \"" + label + "\": altre " + std::to_string(damaged - kRowsListed) +
                           " righe danneggiate");
    }
    return problems;
}

}  // namespace quendra::curia
