#include "storage/year_structure.h"

#include "storage/budget_record.h"
#include "storage/chart_record.h"
#include "storage/journal_record.h"
#include "storage/dbase/text_case.h"

namespace quendra::storage {

namespace {

std::string describe(const FieldDef& field) {
    switch (field.type) {
    case FieldType::Numeric:
    case FieldType::Float:
        return "numerico con " + std::to_string(field.decimals) + " decimali";
    case FieldType::Date:
        return "data";
    case FieldType::Logical:
        return "logico";
    case FieldType::Character:
        break;
    }
    return "testo";
}

}  // namespace

std::optional<YearTable> yearTableKindOf(std::string_view fileName) {
    if (!yearNumberOf(fileName)) return std::nullopt;
    const std::string prefix = toUpperUtf8(fileName.substr(0, 2));
    if (prefix == "KR") return YearTable::Journal;
    if (prefix == "KW") return YearTable::Chart;
    if (prefix == "KV") return YearTable::Budget;
    return std::nullopt;
}

std::vector<std::string> yearStructureProblems(YearTable kind, const FieldList& fields, std::string_view tableLabel) {
    const FieldList wanted = kind == YearTable::Journal ? journal::fields()
                             : kind == YearTable::Chart ? chart::fields()
                                                        : budget::fields();
    const std::string table = "Tabella \"" + std::string(tableLabel) + "\": ";
    std::vector<std::string> problems;
    for (const FieldDef& want : wanted) {
        const FieldDef* found = nullptr;
        for (const FieldDef& field : fields) {
            if (equalsIgnoreCaseAscii(field.name, want.name)) found = &field;
        }
        const std::string name = toUpperUtf8(want.name);
        if (found == nullptr) {
            problems.push_back(table + "manca il campo " + name);
        } else if (found->isNumeric() != want.isNumeric() || (!want.isNumeric() && found->type != want.type) ||
                   (want.isNumeric() && found->decimals != want.decimals)) {
            problems.push_back(table + "il campo " + name + " è " + describe(*found) + " invece che " + describe(want));
        }
    }
    return problems;
}

}  // namespace quendra::storage
