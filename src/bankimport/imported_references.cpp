#include "bankimport/imported_references.h"

#include "bankimport/bank_values.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/table_ops.h"

#include <algorithm>

namespace quendra::bankimport {

namespace {

constexpr std::string_view kCassa = "CASSA";
constexpr std::string_view kRif = "RIF";
constexpr std::string_view kData = "DATA";
constexpr std::string_view kImporto = "IMPORTO";
constexpr std::string_view kNummer = "NUMMER";
constexpr std::size_t kReferenceWidth = 40;

storage::FieldList referenceFields() {
    using storage::FieldType;
    return {
        {std::string(kCassa), FieldType::Character, 6, 0, false},
        {std::string(kRif), FieldType::Character, std::uint8_t(kReferenceWidth), 0, false},
        {std::string(kData), FieldType::Date, 8, 0, false},
        {std::string(kImporto), FieldType::Numeric, 12, 2, false},
        {std::string(kNummer), FieldType::Numeric, 6, 0, false},
    };
}

}  // namespace

std::filesystem::path referencesTable(const std::filesystem::path& dataDir, std::string_view yearNumber) {
    return dataDir / ("ec" + std::string(yearNumber) + ".dbf");
}

std::vector<ImportedReference> readReferences(const std::filesystem::path& table) {
    std::vector<ImportedReference> rows;
    if (!std::filesystem::exists(table)) return rows;
    storage::Cursor cursor(table, storage::OpenMode::Shared);
    for (cursor.first(); !cursor.eof(); cursor.next()) {
        rows.push_back({cursor.asText(kCassa), cursor.asText(kRif), cursor.asDate(kData), cursor.asNumber(kImporto),
                        cursor.asInteger(kNummer)});
    }
    return rows;
}

std::string storedReference(std::string_view reference) {
    const bool plain = std::all_of(reference.begin(), reference.end(), [](char c) { return c > ' ' && c < 0x7F; });
    if (plain && reference.size() <= kReferenceWidth) return std::string(reference);
    const std::string hash = hashText(reference);
    std::string kept;
    for (const char c : reference) {
        if (kept.size() + 1 + hash.size() >= kReferenceWidth) break;
        if (c > ' ' && c < 0x7F) kept.push_back(c);
    }
    return kept + '#' + hash;
}

void addReference(const std::filesystem::path& table, const ImportedReference& reference) {
    if (!std::filesystem::exists(table)) storage::createTable(table, referenceFields());
    storage::Cursor cursor(table, storage::OpenMode::Shared);
    cursor.append();
    cursor.setText(kCassa, reference.cashBox);
    cursor.setText(kRif, storedReference(reference.reference));
    cursor.setDate(kData, reference.date);
    cursor.setNumber(kImporto, reference.amount);
    cursor.setInteger(kNummer, reference.number);
    cursor.post();
}

}  // namespace quendra::bankimport
