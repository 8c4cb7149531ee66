#include "support/journal_fixture.h"
#include "storage/dbase/open_table.h"

#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "support/file_contents.h"

namespace quendra::test {

using namespace storage;

void putField(const std::filesystem::path& table, std::uint32_t recno, std::string_view field, std::string_view value) {
    std::string bytes = readFile(table);
    const DbfHeader header = DbfHeader::parse(bytes, bytes.size(), "");
    const std::size_t f = std::size_t(header.fieldIndex(field));
    const std::size_t width = header.fields[f].length;
    bytes.replace(header.recordOffset(recno) + header.fieldOffsets[f], width,
                  std::string(width - value.size(), ' ') + std::string(value));
    writeFile(table, bytes);
}

void appendMovement(Cursor& journal, const Movement& row) {
    journal.append();
    journal.setInteger(journal::kNummer, row.nummer);
    journal.setDate(journal::kDatum, row.datum);
    journal.setText(journal::kCod, row.cod);
    journal.setText(journal::kCodd, row.codd);
    journal.setText(journal::kText, row.text);
    journal.setNumber(journal::kEinnahme, row.einnahme);
    journal.setNumber(journal::kAusgabe, row.ausgabe);
    journal.setInteger(journal::kEA, row.ea);
    journal.setInteger(journal::kEroeffnung, row.eroeffnung);
    journal.post();
}

void makeJournal(const std::filesystem::path& path, const std::vector<Movement>& rows, bool withTags) {
    createTable(path, journal::fields(), true);
    DeferredSync sync;
    Cursor table(path, OpenMode::Exclusive);
    for (const Movement& row : rows) appendMovement(table, row);
    if (!withTags) return;
    for (const TagSpec& tag : journal::kTags) table.addTag(tag.name, tag.field, tag.primary);
}

Date ymd(int year, int month, int day) { return Date::fromYmd(year, month, day); }

}  // namespace quendra::test
