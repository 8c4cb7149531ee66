// Damaged headers, fields and indexes: each is a clean Italian error or a reported
// problem that the repair fixes without losing a row, never a silent wrong answer.

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_ops.h"
#include "storage/index_repair.h"
#include "storage/query/query.h"
#include "support/file_contents.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>

namespace quendra::storage {
namespace {

using test::ymd;

constexpr int kRows = 30;

class DamagedTable : public ::testing::Test {
public:
    DamagedTable() {
        std::vector<test::Movement> rows;
        for (int n = 1; n <= kRows; ++n) rows.push_back({n, ymd(2015, 4, 1 + n % 28), " A0101", " C0101", "Riga", 0, 291.74, 1, 0});
        test::makeJournal(path, rows);
        bytes = test::readFile(path);
        recordLength = std::uint8_t(bytes[10]) | std::size_t(std::uint8_t(bytes[11])) << 8;
        headerLength = std::uint8_t(bytes[8]) | std::size_t(std::uint8_t(bytes[9])) << 8;
    }
    void setCount(std::uint32_t count) {
        for (int i = 0; i < 4; ++i) bytes[4 + std::size_t(i)] = char((count >> (8 * i)) & 0xFF);
        test::writeFile(path, bytes);
    }
    DbError::Kind openFailure(OpenMode mode) const {
        try {
            Cursor c(path, mode);
        } catch (const DbError& e) {
            return e.kind();
        }
        return DbError::Kind::BadState;
    }
    std::size_t rows() const { return Cursor(path, OpenMode::Shared).recordCount(); }
    double sum() const {
        return runSelect("select sum(ausgabe) from \"" + path.string() + "\"")->asNumber(std::size_t(0));
    }

    // Writes value right-aligned over a field of a record (recno from 1).
    void putField(std::uint32_t recno, std::string_view field, std::string_view value) {
        const DbfHeader header = DbfHeader::parse(bytes, bytes.size(), "");
        const std::size_t f = std::size_t(header.fieldIndex(field));
        const std::size_t width = header.fields[f].length;
        const std::size_t at = header.recordOffset(recno) + header.fieldOffsets[f];
        bytes.replace(at, width, std::string(width - value.size(), ' ') + std::string(value));
        test::writeFile(path, bytes);
    }
    void putByte(std::size_t at, char value) {
        bytes[at] = value;
        test::writeFile(path, bytes);
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "kr201501.dbf";
    std::string bytes;
    std::size_t recordLength = 0;
    std::size_t headerLength = 0;
};

TEST_F(DamagedTable, ALoweredCountIsAnErrorAndTheRepairBringsBackEveryRow) {
    setCount(kRows - 11);
    EXPECT_EQ(openFailure(OpenMode::Shared), DbError::Kind::RecordCount) << "no answer from fewer rows";
    EXPECT_EQ(checkTable(path).front(), "Il file \"KR201501.DBF\" dichiara 19 record ma ne contiene 30: va riparato "
                                        "(RIORGANIZZAZIONE o quendra-db reindex)");
    ensureYearTableSound(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_EQ(rows(), std::size_t(kRows));
    EXPECT_EQ(checkTable(path), std::vector<std::string>{});
    {
        Cursor journal(path, OpenMode::Shared);
        test::appendMovement(journal, {99, ymd(2015, 5, 1), " A0101", " C0101", "Nuova", 0, 1, 1, 0});
    }
    EXPECT_EQ(rows(), std::size_t(kRows + 1)) << "the new row went after the recovered ones";
}

TEST_F(DamagedTable, ARaisedCountIsAnErrorAndTheRepairKeepsTheRowsTheFileHolds) {
    setCount(kRows + 1000);
    EXPECT_EQ(openFailure(OpenMode::Shared), DbError::Kind::RecordCount);
    ensureYearTableSound(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_EQ(rows(), std::size_t(kRows));
    // A torn last row (half of it on the disk) is dropped, the whole ones kept.
    test::writeFile(path, test::readFile(path).substr(0, headerLength + recordLength * 12 + recordLength / 2));
    EXPECT_TRUE(repairRecordCount(path));
    EXPECT_EQ(rows(), 12u);
    EXPECT_FALSE(repairRecordCount(path));
}

TEST_F(DamagedTable, AGarbledAmountIsAnErrorNamingTableRowAndField) {
    const std::size_t at = bytes.find("291.74", headerLength + 6 * recordLength);
    bytes[at + 3] = 'n';
    test::writeFile(path, bytes);
    try {
        sum();
        FAIL() << "a garbled amount was summed";
    } catch (const DbError& e) {
        EXPECT_STREQ(e.what(), "Tabella \"KR201501.DBF\", record 7: il campo AUSGABE contiene \"291n74\", che non è "
                               "un numero");
    }
    Cursor journal(path, OpenMode::Shared);
    ASSERT_TRUE(journal.gotoRecord(7));
    EXPECT_THROW(journal.asNumber("ausgabe"), DbError);
    EXPECT_EQ(checkTable(path), (std::vector<std::string>{"record 7, campo AUSGABE: \"291n74\", che non è un numero"}));
}

TEST_F(DamagedTable, AGarbledDateAndAChangedFieldTypeAreReported) {
    const std::size_t date = bytes.find("20150404", headerLength + 2 * recordLength);  // record 3's Datum
    ASSERT_LT(date, headerLength + 3 * recordLength);
    bytes[date + 4] = '9';  // month 94
    test::writeFile(path, bytes);
    Cursor journal(path, OpenMode::Shared);
    ASSERT_TRUE(journal.gotoRecord(3));
    EXPECT_THROW(journal.asDate("datum"), DbError);
    journal.close();
    EXPECT_EQ(checkTable(path).front(), "record 3, campo DATUM: \"20159404\", che non è una data");

    bytes = test::readFile(path);
    bytes[32 + 5 * 32 + 11] = 'L';  // EINNAHME turned logical
    test::writeFile(path, bytes);
    EXPECT_EQ(openFailure(OpenMode::Shared), DbError::Kind::BadFile);
    EXPECT_NE(checkTable(path).front().find("non ammessa per il campo EINNAHME"), std::string::npos);
}

TEST_F(DamagedTable, AnIndexWithoutTagsIsReportedAndRebuilt) {
    std::string mdx = test::readFile(dir / "kr201501.mdx");
    mdx[28] = mdx[29] = 0;
    test::writeFile(dir / "kr201501.mdx", mdx);
    EXPECT_EQ(openFailure(OpenMode::Exclusive), DbError::Kind::IndexDamaged);
    EXPECT_NE(checkTable(path).front().find("non contiene alcun tag"), std::string::npos);
    ensureYearTableSound(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_TRUE(yearTableSound(YearTable::Journal, path));
    EXPECT_EQ(checkTable(path), std::vector<std::string>{});
}

TEST_F(DamagedTable, AYearTableMissingATagIsNotSoundAndTheRepairAddsIt) {
    reindexTable(path, {{"nummer", "nummer"}, {"cod", "cod"}});  // as a killed tag-by-tag repair left it
    EXPECT_NO_THROW(Cursor(path, OpenMode::Exclusive)) << "it opens, yet lacks datum and codd";
    EXPECT_FALSE(yearTableSound(YearTable::Journal, path));
    ensureYearTableSound(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_TRUE(yearTableSound(YearTable::Journal, path));
    Cursor journal(path, OpenMode::Shared);
    EXPECT_NO_THROW(journal.setOrder("datum"));
}

// Bytes that are no value of their field, and a header whose length shifts every field.
struct Damage {
    const char* what;
    void (*apply)(DamagedTable&);
};

const Damage kDamages[] = {
    {"NULs over an amount", [](DamagedTable& t) { t.putField(7, "ausgabe", std::string(12, '\0')); }},
    {"NULs over a date", [](DamagedTable& t) { t.putField(3, "datum", std::string(8, '\0')); }},
    {"a NUL inside a text", [](DamagedTable& t) { t.putField(4, "text", std::string("Ri\0ga", 5)); }},
    {"a deleted row's flag flipped", [](DamagedTable& t) { t.putByte(t.headerLength + 5 * t.recordLength, '+'); }},
    {"a NUL flag", [](DamagedTable& t) { t.putByte(t.headerLength, '\0'); }},
    {"an exponent", [](DamagedTable& t) { t.putField(9, "ausgabe", "1e3"); }},
    {"a plus sign", [](DamagedTable& t) { t.putField(9, "ausgabe", "+100.00"); }},
    {"three decimals", [](DamagedTable& t) { t.putField(9, "ausgabe", "100.500"); }},
    {"no whole part", [](DamagedTable& t) { t.putField(9, "ausgabe", ".50"); }},
    {"no decimals", [](DamagedTable& t) { t.putField(9, "ausgabe", "1."); }},
    {"a header one byte longer", [](DamagedTable& t) { t.putByte(8, char(t.headerLength + 1)); }},
};

TEST_F(DamagedTable, NoReaderTakesADamagedByteForAValue) {
    const std::string good = bytes;
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.what);
        bytes = good;
        damage.apply(*this);
        EXPECT_THROW(
            {
                auto rows = runSelect("select * from \"" + path.string() + "\"");
                for (rows->first(); !rows->eof(); rows->next()) {
                    for (std::size_t f = 0; f < rows->fieldCount(); ++f) rows->asText(f);
                }
            },
            DbError);
        EXPECT_THROW(
            {
                Cursor journal(path, OpenMode::Shared);
                for (journal.first(); !journal.eof(); journal.next()) {
                    for (std::size_t f = 0; f < journal.fieldCount(); ++f) journal.asText(f);
                }
            },
            DbError);
        const std::vector<std::string> problems = checkTable(path);
        ASSERT_FALSE(problems.empty());
        EXPECT_FALSE(isWarning(problems.front())) << problems.front();
        for (const std::string& p : problems) EXPECT_EQ(p.find('\0'), std::string::npos) << "a NUL cuts the message";
    }
}

TEST_F(DamagedTable, ValuesAsDBaseWritesThemStillRead) {
    putField(2, "ausgabe", "-0.50");
    putField(3, "ausgabe", "");
    putField(4, "ausgabe", "1234567.89");
    EXPECT_NEAR(sum(), 291.74 * (kRows - 3) - 0.5 + 1234567.89, 1e-6);
    EXPECT_EQ(checkTable(path), std::vector<std::string>{});
}

// A repair that rebuilt the index over these rows would make the damage permanent.
TEST_F(DamagedTable, TheRepairStopsAtRowsItCannotRead) {
    const std::string good = bytes;
    const Damage zeroedBlock{"a zeroed block", [](DamagedTable& t) {
                                 t.bytes.replace(t.headerLength + 3 * t.recordLength, 4096 / 4, 4096 / 4, '\0');
                                 test::writeFile(t.path, t.bytes);
                             }};
    for (const Damage& damage : {zeroedBlock, kDamages[0], kDamages[3]}) {
        SCOPED_TRACE(damage.what);
        bytes = good;
        damage.apply(*this);
        std::filesystem::remove(dir / "kr201501.mdx");
        try {
            ensureYearTableSound(YearTable::Journal, dir.path(), "kr201501.dbf");
            ADD_FAILURE() << "repaired over damaged rows";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::DamagedRows);
            EXPECT_TRUE(std::string(e.what()).starts_with("La tabella \"KR201501.DBF\" ha ")) << e.what();
        }
        EXPECT_THROW(packTable(path), DbError);
        EXPECT_EQ(test::readFile(path), bytes) << "the damaged table is left as it was";
    }
}

TEST_F(DamagedTable, CheckWarnsOfAnomaliesThatLeaveTheRowsReadable) {
    const std::string good = bytes;
    const std::string mdx = test::readFile(dir / "kr201501.mdx");
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { bytes.pop_back(); }, "avviso: manca il byte di fine file 0x1A"},
        {[&] { bytes.back() = 'x'; }, "avviso: il byte di fine file è 0x78 invece di 0x1A"},
        {[&] { bytes[0] = char(0x83); }, "avviso: il byte di versione è 0x83 invece di 0x03 (dBase IV)"},
        {[&] { bytes[29] = char(0x64); }, "avviso: la pagina di codici 0x64 è sconosciuta: il testo è letto come Windows-1252"},
        {[&] { bytes[28] = 2; }, "avviso: il byte 28 vale 0x02 invece di 0 o 1"},
        {[&] { bytes[32 + 1] = 'u'; }, "avviso: il nome del campo NuMMER contiene minuscole"},
    };
    for (const auto& [damage, warning] : cases) {
        bytes = good;
        damage();
        test::writeFile(path, bytes);
        EXPECT_EQ(checkTable(path), std::vector<std::string>{warning});
        EXPECT_NO_THROW(sum()) << warning;
    }
    test::writeFile(path, good);
    std::string keysPerNode = mdx;
    const std::size_t tagHeader = std::size_t(std::uint8_t(mdx[544])) * 512;  // the first tag's header page
    keysPerNode[tagHeader + 14] = char(keysPerNode[tagHeader + 14] - 1);
    test::writeFile(dir / "kr201501.mdx", keysPerNode);
    const std::vector<std::string> problems = checkTable(path);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(problems[0].starts_with("avviso: tag ")) << problems[0];
    EXPECT_NE(problems[0].find(" chiavi per nodo invece di "), std::string::npos) << problems[0];
}

TEST_F(DamagedTable, LessThanARecordAppendedIsNamedForWhatItIs) {
    test::writeFile(path, bytes.substr(0, bytes.size() - 1) + "abc");
    EXPECT_EQ(checkTable(path).front(), "Il file \"KR201501.DBF\" dichiara 30 record ma dopo l'ultimo ci sono 3 byte "
                                        "in più, meno di un record: va riparato (RIORGANIZZAZIONE o quendra-db reindex)");
}

}  // namespace
}  // namespace quendra::storage
