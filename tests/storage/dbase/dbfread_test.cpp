// Tables written by our engine, read back by another dBase reader (Debian's dbfread):
// every value it sees must be the one we wrote.

#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "support/dbfread_reader.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <variant>

namespace quendra::storage {
namespace {

using test::DbfreadTable;
using test::JsonValue;

// What one field of a row holds; monostate is a blank field.
using Cell = std::variant<std::monostate, std::string, double, Date, bool>;
using Row = std::vector<Cell>;

Date ymd(int y, int m, int d) { return Date::fromYmd(y, m, d); }

// Field names go to disk in upper case, as dBase IV writes them.
std::string stored(const std::string& name) {
    std::string out = name;
    for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

void setCell(Cursor& table, const FieldDef& field, const Cell& cell) {
    if (const auto* text = std::get_if<std::string>(&cell)) table.setText(field.name, *text);
    if (const auto* number = std::get_if<double>(&cell)) table.setNumber(field.name, *number);
    if (const auto* date = std::get_if<Date>(&cell)) table.setDate(field.name, *date);
    if (const auto* flag = std::get_if<bool>(&cell)) table.setLogical(field.name, *flag);
    if (std::holds_alternative<std::monostate>(cell)) table.setBlank(field.name);
}

void appendRows(Cursor& table, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        table.append();
        for (std::size_t i = 0; i < row.size(); ++i) setCell(table, table.fieldDef(i), row[i]);
        table.post();
    }
}

void expectValue(const FieldDef& field, const JsonValue& got, const Cell& want) {
    SCOPED_TRACE("field " + field.name + ", dbfread gave " + test::toJson(got));
    if (std::holds_alternative<std::monostate>(want)) {
        // dbfread reads a blank character field as "", any other blank field as None.
        if (field.type == FieldType::Character) {
            ASSERT_EQ(got.type, JsonValue::Type::String);
            EXPECT_EQ(got.text, "");
        } else {
            EXPECT_TRUE(got.isNull());
        }
    } else if (const auto* text = std::get_if<std::string>(&want)) {
        ASSERT_EQ(got.type, JsonValue::Type::String);
        EXPECT_EQ(got.text, *text);
    } else if (const auto* number = std::get_if<double>(&want)) {
        ASSERT_EQ(got.type, JsonValue::Type::Number);
        EXPECT_EQ(got.number, *number);
    } else if (const auto* date = std::get_if<Date>(&want)) {
        ASSERT_EQ(got.type, JsonValue::Type::String);
        EXPECT_EQ(got.text, date->toIso());
    } else {
        ASSERT_EQ(got.type, JsonValue::Type::Bool);
        EXPECT_EQ(got.boolean, std::get<bool>(want));
    }
}

void expectRecords(const FieldList& fields, const std::vector<JsonValue>& got, const std::vector<Row>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t r = 0; r < want.size(); ++r) {
        SCOPED_TRACE("record " + std::to_string(r + 1) + " as dbfread read it");
        ASSERT_EQ(got[r].members.size(), fields.size());
        for (std::size_t f = 0; f < fields.size(); ++f) {
            EXPECT_EQ(got[r].members[f].first, stored(fields[f].name));
            expectValue(fields[f], got[r].members[f].second, want[r][f]);
        }
    }
}

void expectFields(const DbfreadTable& table, const FieldList& fields) {
    const JsonValue& seen = table.facts["fields"];
    ASSERT_EQ(seen.items.size(), fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        SCOPED_TRACE("field " + fields[i].name);
        EXPECT_EQ(seen.items[i]["name"].text, stored(fields[i].name));
        EXPECT_EQ(seen.items[i]["type"].text, std::string(1, char(fields[i].type)));
        EXPECT_EQ(seen.items[i]["length"].number, fields[i].length);
        EXPECT_EQ(seen.items[i]["decimal_count"].number, fields[i].decimals);
    }
}

double count(const DbfreadTable& table, const char* what) { return table.facts[what].number; }

class DbfreadTest : public testing::Test {
protected:
    void SetUp() override {
        static const bool available = test::dbfreadAvailable();
        if (!available) GTEST_SKIP() << "/usr/bin/python3 has no dbfread (python3-dbfread)";
    }

    std::filesystem::path create(const char* name, const FieldList& fields) {
        const std::filesystem::path path = dir_ / name;
        createTable(path, fields);
        return path;
    }

    test::TempDir dir_;
};

const FieldList kEveryType = {
    {"name", FieldType::Character, 30, 0, false},  {"amount", FieldType::Numeric, 12, 2, false},
    {"count", FieldType::Numeric, 6, 0, false},    {"day", FieldType::Date, 8, 0, false},
    {"flag", FieldType::Logical, 1, 0, false},     {"ratio", FieldType::Float, 12, 4, false},
};

TEST_F(DbfreadTest, EveryFieldTypeReadsBackAsWritten) {
    const std::vector<Row> rows = {
        {std::string("Offerta domenicale"), 125.5, 42.0, ymd(2024, 3, 1), true, 0.125},
        {std::string("Spese"), -3.2, -7.0, ymd(1999, 12, 31), false, -1234.5678},
        {std::string("zero is not blank"), 0.0, 0.0, ymd(2024, 2, 29), true, 0.0},
        {std::string("widest values"), 999999999.99, 999999.0, ymd(9999, 12, 31), false, 9999999.9999},
        {std::string("narrowest"), -99999999.99, -99999.0, ymd(1, 1, 1), true, -999999.9999},
        {std::string("cut to the decimals"), 0.01, 1.0, ymd(2000, 1, 1), false, 0.0001},
    };
    const std::filesystem::path path = create("types.dbf", kEveryType);
    {
        Cursor table(path, OpenMode::Exclusive);
        appendRows(table, rows);
    }
    const DbfreadTable read = test::readWithDbfread(path);
    EXPECT_EQ(read.facts["dbversion"].number, 0x03);
    EXPECT_EQ(read.facts["language_driver"].number, 0x57);  // Windows-1252
    EXPECT_EQ(read.facts["mdx_flag"].number, 0);
    EXPECT_EQ(count(read, "numrecords"), rows.size());
    expectFields(read, kEveryType);
    expectRecords(kEveryType, read.records, rows);
}

TEST_F(DbfreadTest, BlankFieldsAreBlankForItToo) {
    const std::vector<Row> rows = {
        {std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{}},
        {std::string("between blanks"), std::monostate{}, 5.0, std::monostate{}, true, std::monostate{}},
    };
    const std::filesystem::path path = create("blank.dbf", kEveryType);
    {
        Cursor table(path, OpenMode::Shared);
        table.append();  // never touched: the row as append() leaves it
        table.post();
        appendRows(table, rows);
    }
    std::vector<Row> want = {rows[0]};
    want.insert(want.end(), rows.begin(), rows.end());
    expectRecords(kEveryType, test::readWithDbfread(path).records, want);
}

TEST_F(DbfreadTest, AccentsEuroAndNonBreakingSpacesAreWindows1252) {
    const FieldList fields = {{"cod", FieldType::Character, 6, 0, false}, {"text", FieldType::Character, 63, 0, false}};
    std::string fullWidth;
    for (int i = 0; i < 63; ++i) fullWidth += "é";  // 63 bytes on disk, 126 in UTF-8
    const std::vector<Row> rows = {
        {std::string(" A0101"), std::string("àèéìòù ÀÈÉÌÒÙ")},
        {std::string("HE0500"), std::string("äöüß ÄÖÜ")},
        {std::string(" C0101"), std::string("€ 1.250,00")},
        {std::string(" C0201"), std::string("Caffè\u00a0e\u00a0città")},
        {std::string(" A0102"), std::string("fine\u00a0")},
        {std::string(" A0103"), std::string("\u00a0inizio")},
        {std::string(" A0104"), std::string("  due blank davanti")},
        {std::string(" A0105"), fullWidth},
        {std::string(" A0106"), std::string("«citazione» – “virgolette” … ‰ š ž Ÿ")},
        {std::string(""), std::string("")},
    };
    const std::filesystem::path path = create("accents.dbf", fields);
    {
        Cursor table(path, OpenMode::Exclusive);
        appendRows(table, rows);
    }
    expectRecords(fields, test::readWithDbfread(path).records, rows);
}

TEST_F(DbfreadTest, DeletedRowsAreFlaggedAndSkipped) {
    const FieldList fields = {{"name", FieldType::Character, 10, 0, false}, {"n", FieldType::Numeric, 4, 0, false}};
    std::vector<Row> rows;
    for (int n = 1; n <= 6; ++n) rows.push_back({std::string("row ") + std::to_string(n), double(n)});
    const std::filesystem::path path = create("deleted.dbf", fields);
    {
        Cursor table(path, OpenMode::Exclusive);
        appendRows(table, rows);
        for (const std::uint32_t recno : {2u, 5u, 3u}) {
            ASSERT_TRUE(table.gotoRecord(recno));
            table.deleteRecord();
        }
        table.recall(3);
    }
    const DbfreadTable live = test::readWithDbfread(path);
    EXPECT_EQ(count(live, "numrecords"), 6);
    EXPECT_EQ(count(live, "records"), 4);
    EXPECT_EQ(count(live, "deleted"), 2);
    expectRecords(fields, live.records, {rows[0], rows[2], rows[3], rows[5]});
    // A deletion only flags the row: its values stay for a recall.
    expectRecords(fields, test::readWithDbfread(path, true).records, {rows[1], rows[4]});
}

TEST_F(DbfreadTest, AnEmptyTableHasItsFieldsAndNoRecords) {
    const std::filesystem::path path = create("empty.dbf", journal::fields());
    const DbfreadTable read = test::readWithDbfread(path);
    EXPECT_EQ(count(read, "numrecords"), 0);
    EXPECT_EQ(count(read, "records"), 0);
    expectFields(read, journal::fields());
}

TEST_F(DbfreadTest, EveryPostIsOnDiskBeforeItReturns) {
    const std::filesystem::path path = create("live.dbf", kEveryType);
    Cursor table(path, OpenMode::Shared);
    Row row = {std::string("first"), 1.5, 2.0, ymd(2024, 5, 6), true, 0.5};
    appendRows(table, {row});
    expectRecords(kEveryType, test::readWithDbfread(path).records, {row});

    table.edit();
    table.setText("name", "changed");
    table.setBlank("flag");
    table.setBlank("day");
    table.post();
    row[0] = std::string("changed");
    row[3] = std::monostate{};
    row[4] = std::monostate{};
    expectRecords(kEveryType, test::readWithDbfread(path).records, {row});

    table.deleteRecord();
    const DbfreadTable read = test::readWithDbfread(path);
    EXPECT_EQ(count(read, "records"), 0);
    EXPECT_EQ(count(read, "deleted"), 1);
}

// A journal row of the test journal, from its number.
Row journalRow(int i) {
    static const char* const kCodes[] = {" A0101", " A0203", " E0101", " E0502", " C0101", " P0101"};
    static const char* const kCash[] = {" C0101", " C0201", " C0301"};
    const bool income = i % 3 != 0;
    const double amount = double((i * 7919) % 1000000) / 100.0;
    Row row = {double(i),
               ymd(2024, 1, 1).addDays((i * 37) % 366),
               std::string(kCodes[i % 6]),
               std::string(kCash[i % 3]),
               "Movimento n. " + std::to_string(i) + " – caffè, città €",
               income ? amount : 0.0,
               income ? 0.0 : amount,
               income ? 2.0 : 1.0,
               i <= 2 ? 2.0 : 0.0};
    if (i == 7) row[8] = std::monostate{};  // an old row without an opening marker
    return row;
}

std::filesystem::path createJournal(const std::filesystem::path& path, std::vector<Row>& rows, int rowCount) {
    createTable(path, journal::fields());
    Cursor table(path, OpenMode::Exclusive);
    for (const TagSpec& tag : journal::kTags) table.addTag(tag.name, tag.field, tag.primary);
    for (int i = 1; i <= rowCount; ++i) rows.push_back(journalRow(i));
    appendRows(table, rows);
    return path;
}

TEST_F(DbfreadTest, AJournalWithItsFourTagsReadsLikeAnyTable) {
    std::vector<Row> rows;
    const std::filesystem::path path = createJournal(dir_ / "KR202401.dbf", rows, 40);
    {
        Cursor table(path, OpenMode::Exclusive);
        table.setOrder("nummer");
        ASSERT_TRUE(table.findKey(5.0));
        table.edit();
        table.setText("cod", " V0101");
        table.post();
        rows[4][2] = std::string(" V0101");
        ASSERT_TRUE(table.findKey(7.0));
        table.edit();
        table.setText("text", "Riporto: cassa");
        table.setNumber("Einnahme", 10.1);
        table.post();
        rows[6][4] = std::string("Riporto: cassa");
        rows[6][5] = 10.1;
        ASSERT_TRUE(table.findKey(10.0));
        table.deleteRecord();
        rows.erase(rows.begin() + 9);
    }
    const DbfreadTable read = test::readWithDbfread(path);
    EXPECT_EQ(read.facts["mdx_flag"].number, 1);  // byte 28: a production index belongs to it
    expectFields(read, journal::fields());
    const std::vector<bool> tagged = {true, true, true, true, false, false, false, false, false};
    for (std::size_t i = 0; i < tagged.size(); ++i) {
        EXPECT_EQ(read.facts["fields"].items[i]["index_field_flag"].number, tagged[i] ? 1 : 0)
            << journal::fields()[i].name;
    }
    EXPECT_EQ(count(read, "numrecords"), 40);
    EXPECT_EQ(count(read, "deleted"), 1);
    expectRecords(journal::fields(), read.records, rows);

    packTable(path);
    const DbfreadTable packed = test::readWithDbfread(path);
    EXPECT_EQ(count(packed, "numrecords"), 39);
    EXPECT_EQ(count(packed, "deleted"), 0);
    EXPECT_EQ(packed.facts["mdx_flag"].number, 1);
    expectRecords(journal::fields(), packed.records, rows);
}

TEST_F(DbfreadTest, CopiesHoldTheVisibleRowsInTheirOrder) {
    std::vector<Row> rows;
    const std::filesystem::path path = createJournal(dir_ / "KR202402.dbf", rows, 30);
    {
        Cursor table(path, OpenMode::Exclusive);
        ASSERT_TRUE(table.gotoRecord(3));
        table.deleteRecord();
    }
    std::vector<Row> visible = rows;
    visible.erase(visible.begin() + 2);

    const std::filesystem::path copy = dir_ / "copy.dbf";
    copyTable(path, copy);
    const DbfreadTable copied = test::readWithDbfread(copy);
    EXPECT_EQ(copied.facts["mdx_flag"].number, 0);
    EXPECT_EQ(count(copied, "deleted"), 0);
    expectRecords(journal::fields(), copied.records, visible);

    // The income accounts, in the order of the cod tag (equal keys by record number).
    std::vector<Row> income;
    for (const char* code : {" E0101", " E0502"}) {
        for (const Row& row : visible) {
            if (std::get<std::string>(row[2]) == code) income.push_back(row);
        }
    }
    const std::filesystem::path scratch = dir_ / "temp.dbf";
    {
        Cursor table(path, OpenMode::Shared);
        table.setOrder("Cod");
        table.setRange(std::string(" E"), std::string(" E9999"));
        copyRowsTo(table, scratch);
    }
    const DbfreadTable selected = test::readWithDbfread(scratch);
    for (const JsonValue& field : selected.facts["fields"].items) EXPECT_EQ(field["index_field_flag"].number, 0);
    expectRecords(journal::fields(), selected.records, income);
}

}  // namespace
}  // namespace quendra::storage
