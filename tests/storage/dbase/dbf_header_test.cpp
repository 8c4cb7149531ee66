#include "storage/dbase/error.h"
#include "storage/dbase/dbf_header.h"
#include "storage/dbase/field_codec.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quendra::storage;

namespace {

const std::string kLabel = "KR201501.DBF";

FieldList journalFields() {
    return {
        {"Nummer", FieldType::Numeric, 5, 0, true},
        {"Datum", FieldType::Date, 8, 0, true},
        {"cod", FieldType::Character, 6, 0, true},
        {"text", FieldType::Character, 63, 0, false},
        {"Einnahme", FieldType::Numeric, 12, 2, false},
        {"Fatto", FieldType::Logical, 1, 0, false},
        {"Quota", FieldType::Float, 10, 4, false},
    };
}

std::string journalHeaderBytes() { return DbfHeader::forFields(journalFields()).serialize(); }

constexpr std::size_t descriptor(std::size_t index) { return 32 + 32 * index; }

void setLe16(std::string& bytes, std::size_t pos, unsigned value) {
    bytes[pos] = char(value & 0xFF);
    bytes[pos + 1] = char(value >> 8);
}

DbfHeader parseWhole(const std::string& file) { return DbfHeader::parse(file, file.size(), kLabel); }

// The reason the parser gives for a file, or "" when it accepts it.
std::string refusal(const std::string& bytes, std::uint64_t fileSize) {
    try {
        DbfHeader::parse(bytes, fileSize, kLabel);
        return "";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::BadFile);
        const std::string prefix = "Il file \"KR201501.DBF\" non è una tabella dBase valida: ";
        const std::string message = e.what();
        EXPECT_EQ(message.substr(0, prefix.size()), prefix);
        return message.substr(std::min(prefix.size(), message.size()));
    }
}

std::string refusal(const std::string& file) { return refusal(file, file.size()); }

std::string withDescriptorByte(std::size_t field, std::size_t offset, char value) {
    std::string bytes = journalHeaderBytes();
    bytes[descriptor(field) + offset] = value;
    return bytes;
}

std::string badDefinition(const FieldList& fields) {
    try {
        DbfHeader::forFields(fields);
        return "";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::BadValue);
        return e.what();
    }
}

}  // namespace

TEST(DbfHeaderForFields, LaysOutFieldsAsDbaseIvDoes) {
    const DbfHeader h = DbfHeader::forFields(journalFields());
    EXPECT_EQ(h.version, 0x03);
    EXPECT_EQ(h.languageDriver, 0x57);
    EXPECT_FALSE(h.productionIndex);
    EXPECT_EQ(h.recordCount, 0u);
    EXPECT_EQ(h.headerLength, 32 + 32 * 7 + 1);
    EXPECT_EQ(h.recordLength, 1 + 5 + 8 + 6 + 63 + 12 + 1 + 10);
    EXPECT_EQ(h.fieldOffsets, (std::vector<std::uint32_t>{1, 6, 14, 20, 83, 95, 96}));
    EXPECT_EQ(h.fields[0].name, "NUMMER");
    EXPECT_EQ(h.fields[3].name, "TEXT");
    EXPECT_EQ(h.fieldIndex("einnahme"), 4);
    EXPECT_EQ(h.fieldIndex("COD"), 2);
    EXPECT_EQ(h.fieldIndex("codd"), -1);
    EXPECT_EQ(h.recordOffset(1), 257u);
    EXPECT_EQ(h.recordOffset(3), 257u + 2 * 106);
}

TEST(DbfHeaderForFields, RefusesBadDefinitions) {
    const auto one = [](FieldDef f) { return FieldList{f}; };
    EXPECT_NE(badDefinition({}), "");
    for (const char* name : {"", "1AB", "A-B", "A B", "_AB", "ABCDEFGHIJK", "àB"})
        EXPECT_NE(badDefinition(one({name, FieldType::Character, 5})), "") << name;
    EXPECT_EQ(badDefinition({{"cod", FieldType::Character, 6}, {"COD", FieldType::Character, 6}}),
              "Struttura della tabella non valida: campo \"COD\" ripetuto");
    EXPECT_NE(badDefinition(one({"T", FieldType::Character, 0})), "");
    EXPECT_NE(badDefinition(one({"T", FieldType::Character, 255})), "");
    EXPECT_NE(badDefinition(one({"T", FieldType::Character, 5, 1})), "");
    EXPECT_NE(badDefinition(one({"N", FieldType::Numeric, 21})), "");
    EXPECT_NE(badDefinition(one({"N", FieldType::Numeric, 5, 4})), "");  // no room for "0."
    EXPECT_NE(badDefinition(one({"D", FieldType::Date, 7})), "");
    EXPECT_NE(badDefinition(one({"L", FieldType::Logical, 2})), "");
    FieldList wide;
    for (int i = 0; i < 300; ++i) wide.push_back({"F" + std::to_string(i), FieldType::Character, 254});
    EXPECT_NE(badDefinition(wide), "");

    EXPECT_EQ(badDefinition(one({"A_1", FieldType::Numeric, 5, 3})), "");
    EXPECT_EQ(badDefinition(one({"ABCDEFGHIJ", FieldType::Character, 254})), "");
    EXPECT_EQ(badDefinition(one({"N", FieldType::Numeric, 1})), "");
}

TEST(DbfHeaderSerialize, WritesTheDbaseIvLayout) {
    DbfHeader h = DbfHeader::forFields(journalFields());
    h.lastUpdate = Date::fromYmd(2015, 3, 7);
    h.recordCount = 0x01020304;
    h.productionIndex = true;
    const std::string b = h.serialize();
    ASSERT_EQ(b.size(), 257u);
    EXPECT_EQ(b.substr(0, 12), std::string("\x03\x73\x03\x07\x04\x03\x02\x01\x01\x01\x6A\x00", 12));
    EXPECT_EQ(b.substr(12, 16), std::string(16, '\0'));
    EXPECT_EQ(b[28], 0x01);
    EXPECT_EQ(b[29], 0x57);
    EXPECT_EQ(b.substr(descriptor(0), 32), std::string("NUMMER\0\0\0\0\0N\0\0\0\0\x05\0", 18) +
                                               std::string(13, '\0') + "\x01");
    EXPECT_EQ(b.substr(descriptor(4), 18), std::string("EINNAHME\0\0\0N\0\0\0\0\x0C\x02", 18));
    EXPECT_EQ(b[descriptor(3) + 31], 0x00);
    EXPECT_EQ(b[256], 0x0D);
}

TEST(DbfHeaderParse, RoundTripsWhatSerializeWrites) {
    DbfHeader h = DbfHeader::forFields(journalFields());
    h.lastUpdate = Date::fromYmd(2015, 12, 31);
    h.recordCount = 3;
    h.productionIndex = true;
    const std::string file = h.serialize() + std::string(3 * h.recordLength, ' ') + "\x1A";
    const DbfHeader p = parseWhole(file);
    EXPECT_EQ(p.lastUpdate, h.lastUpdate);
    EXPECT_EQ(p.recordCount, 3u);
    EXPECT_TRUE(p.productionIndex);
    EXPECT_EQ(p.codePage(), CodePage::Windows1252);
    EXPECT_EQ(p.fieldOffsets, h.fieldOffsets);
    EXPECT_TRUE(p.fields[0].hasTag);
    EXPECT_FALSE(p.fields[3].hasTag);
    EXPECT_EQ(p.serialize(), h.serialize());
}

TEST(DbfHeaderParse, ReadsWhatOtherWritersLeave) {
    std::string bytes = journalHeaderBytes();
    bytes[29] = 0x02;
    bytes[1] = bytes[2] = bytes[3] = 0;  // no update date
    bytes[descriptor(2) + 17] = 0x05;    // decimals of a C field mean nothing
    bytes.replace(descriptor(3), 11, std::string("TEXT\0junk\0\0", 11));
    const DbfHeader h = parseWhole(bytes);
    EXPECT_EQ(h.codePage(), CodePage::Dos850);
    EXPECT_TRUE(h.lastUpdate.isEmpty());
    EXPECT_EQ(h.fields[2].decimals, 0);
    EXPECT_EQ(h.fields[3].name, "TEXT");

    // A padding byte after the terminator, counted in the header length.
    std::string padded = journalHeaderBytes() + '\0';
    setLe16(padded, 8, unsigned(padded.size()));
    const DbfHeader p = parseWhole(padded);
    EXPECT_EQ(p.headerLength, 258);
    EXPECT_EQ(p.recordOffset(1), 258u);
    EXPECT_EQ(p.serialize().size(), 258u);
    EXPECT_EQ(p.fields.size(), 7u);
}

// The count is checked apart from the parse, so that the repair can read the header of a
// table whose count is wrong; both directions are damage, only the end-of-file byte is not.
TEST(DbfHeaderParse, RecordCountMustMatchTheFileExactly) {
    std::string header = journalHeaderBytes();
    header[4] = 2;
    const std::string records(2 * 106, ' ');
    auto problem = [&](const std::string& file) {
        return DbfHeader::parse(file, file.size(), kLabel).recordCountProblem(file.size(), kLabel);
    };
    EXPECT_EQ(problem(header + records), "");
    EXPECT_EQ(problem(header + records + "\x1A"), "");
    EXPECT_EQ(problem(header + records + records),
              "Il file \"KR201501.DBF\" dichiara 2 record ma ne contiene 4: va riparato (RIORGANIZZAZIONE o "
              "quendra-db reindex)");
    EXPECT_NE(problem(header + records.substr(1)), "") << "one byte short";
    EXPECT_NE(problem(header + records + records.substr(0, 50)), "") << "a torn row beyond the count";
    EXPECT_EQ(DbfHeader::parse(header, header.size(), kLabel).recordsInFile(header.size() + 2 * 106 + 50), 2u);
    header[4] = header[5] = header[6] = header[7] = char(0xFF);
    EXPECT_NE(problem(header + records), "");
}

TEST(DbfHeaderParse, RefusesRepeatedFieldNames) {
    std::string bytes = journalHeaderBytes();
    bytes.replace(descriptor(1), 11, std::string("NUMMER\0\0\0\0\0", 11));
    EXPECT_EQ(refusal(bytes, bytes.size()), "il campo NUMMER è ripetuto");
}

TEST(DbfHeaderParse, RefusesTruncatedHeaders) {
    const std::string bytes = journalHeaderBytes();
    EXPECT_EQ(refusal(""), "intestazione troncata");
    EXPECT_EQ(refusal(bytes.substr(0, 31)), "intestazione troncata");
    EXPECT_EQ(refusal(bytes.substr(0, 32)), "intestazione troncata");
    EXPECT_EQ(refusal(bytes.substr(0, descriptor(3) + 10)), "intestazione troncata");
    EXPECT_EQ(refusal(bytes.substr(0, bytes.size() - 1)), "intestazione troncata");
    EXPECT_EQ(refusal(bytes, bytes.size() - 1), "intestazione troncata");  // header beyond the file
    try {
        DbfHeader::parse(bytes.substr(0, 10), 10, kLabel);
        FAIL();
    } catch (const DbError& e) {
        EXPECT_STREQ(e.what(), "Il file \"KR201501.DBF\" non è una tabella dBase valida: intestazione troncata");
    }
}

TEST(DbfHeaderParse, RefusesWrongHeaderLengths) {
    std::string bytes = journalHeaderBytes();
    setLe16(bytes, 8, unsigned(bytes.size() - 1));
    EXPECT_EQ(refusal(bytes), "lunghezza dell'intestazione errata");
    setLe16(bytes, 8, 0);
    EXPECT_EQ(refusal(bytes), "lunghezza dell'intestazione errata");
    std::string noFields = bytes.substr(0, 32) + "\x0D";
    setLe16(noFields, 8, 33);
    setLe16(noFields, 10, 1);
    EXPECT_EQ(refusal(noFields), "nessun campo");
}

TEST(DbfHeaderParse, RefusesGarbageNames) {
    EXPECT_EQ(refusal(withDescriptorByte(1, 0, '\0')), "nome di campo non valido");
    EXPECT_EQ(refusal(withDescriptorByte(1, 2, ' ')), "nome di campo non valido");
    EXPECT_EQ(refusal(withDescriptorByte(1, 2, '\x01')), "nome di campo non valido");
    EXPECT_EQ(refusal(withDescriptorByte(1, 2, '\xE9')), "nome di campo non valido");
    std::string eleven = journalHeaderBytes();
    eleven.replace(descriptor(0), 11, "NUMMERXXXXX");
    EXPECT_EQ(refusal(eleven), "nome di campo non valido");
}

TEST(DbfHeaderParse, RefusesUnknownTypesAndMemos) {
    EXPECT_EQ(refusal(withDescriptorByte(3, 11, 'M')), "campi memo non supportati");
    EXPECT_EQ(refusal(withDescriptorByte(3, 11, 'X')), "tipo sconosciuto 'X' del campo TEXT");
}

TEST(DbfHeaderParse, RefusesLengthsTheTypeCannotHave) {
    EXPECT_EQ(refusal(withDescriptorByte(2, 16, 0)), "lunghezza 0 non ammessa per il campo COD");
    EXPECT_EQ(refusal(withDescriptorByte(2, 16, char(255))), "lunghezza 255 non ammessa per il campo COD");
    EXPECT_EQ(refusal(withDescriptorByte(0, 16, 0)), "lunghezza 0 non ammessa per il campo NUMMER");
    EXPECT_EQ(refusal(withDescriptorByte(0, 16, 21)), "lunghezza 21 non ammessa per il campo NUMMER");
    EXPECT_EQ(refusal(withDescriptorByte(1, 16, 7)), "lunghezza 7 non ammessa per il campo DATUM");
    EXPECT_EQ(refusal(withDescriptorByte(5, 16, 2)), "lunghezza 2 non ammessa per il campo FATTO");
    EXPECT_EQ(refusal(withDescriptorByte(4, 17, 12)), "numero di decimali 12 non ammesso per il campo EINNAHME");
    EXPECT_EQ(refusal(withDescriptorByte(6, 17, 10)), "numero di decimali 10 non ammesso per il campo QUOTA");
}

TEST(DbfHeaderParse, RefusesFieldsThatDoNotAddUpToTheRecord) {
    std::string bytes = journalHeaderBytes();
    setLe16(bytes, 10, 105);
    EXPECT_EQ(refusal(bytes), "lunghezza del record errata");
    EXPECT_EQ(refusal(withDescriptorByte(3, 16, 62)), "lunghezza del record errata");
}

TEST(DbfHeaderParse, RefusesOtherFormatsAndEncryptedTables) {
    std::string bytes = journalHeaderBytes();
    bytes[0] = 0x30;  // Visual FoxPro
    EXPECT_EQ(refusal(bytes), "versione 48 non supportata");
    bytes[0] = 0x04;  // dBase 7, 48-byte descriptors
    EXPECT_EQ(refusal(bytes), "versione 4 non supportata");
    bytes[0] = 0x03;
    bytes[15] = 0x01;
    EXPECT_EQ(refusal(bytes), "la tabella è cifrata");
}

// The real dBase reader must take a table made of our header and our field encodings.
TEST(DbfHeaderInterop, DbfreadReadsOurTable) {
    DbfHeader h = DbfHeader::forFields(journalFields());
    h.lastUpdate = Date::fromYmd(2015, 1, 31);
    h.recordCount = 2;
    const auto& f = h.fields;
    std::string file = h.serialize();
    file += ' ' + encodeNumber(f[0], 1) + encodeDate(f[1], Date::fromYmd(2015, 1, 31)) +
            encodeText(f[2], " A0101", CodePage::Windows1252) +
            encodeText(f[3], "Caffè, Brötchen\u00A0für 3 €", CodePage::Windows1252) + encodeNumber(f[4], 1234.5) +
            encodeLogical(f[5], true) + encodeNumber(f[6], -0.125);
    file += '*';
    for (const FieldDef& field : f) file += blankValue(field);
    file += '\x1A';

    quendra::test::TempDir dir;
    const auto path = dir.path() / "kr201501.dbf";
    std::ofstream(path, std::ios::binary) << file;
    const std::string script =
        "import dbfread\n"
        "t = dbfread.DBF('" + path.string() + "', load=True)\n"
        "print(t.encoding, t.date, len(t.records), len(t.deleted))\n"
        "print([(x.name, x.type, x.length, x.decimal_count) for x in t.fields])\n"
        "for r in t.records + t.deleted: print(ascii(list(r.values())))\n";
    const auto result = quendra::test::runProgram("/usr/bin/python3", {"-c", script});
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "cp1252 2015-01-31 1 1\n"
              "[('NUMMER', 'N', 5, 0), ('DATUM', 'D', 8, 0), ('COD', 'C', 6, 0), ('TEXT', 'C', 63, 0), "
              "('EINNAHME', 'N', 12, 2), ('FATTO', 'L', 1, 0), ('QUOTA', 'F', 10, 4)]\n"
              "[1, datetime.date(2015, 1, 31), ' A0101', 'Caff\\xe8, Br\\xf6tchen\\xa0f\\xfcr 3 \\u20ac', 1234.5, "
              "True, -0.125]\n"
              "[None, None, '', '', None, None, None]\n");
}
