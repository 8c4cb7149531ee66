#include "storage/year_structure.h"

#include "storage/index_repair.h"
#include "storage/journal_record.h"
#include "storage/dbase/error.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/text_case.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

FieldList journalWith(std::string_view name, FieldType type, std::uint8_t length, std::uint8_t decimals) {
    FieldList fields = journal::fields();
    for (FieldDef& field : fields) {
        if (equalsIgnoreCaseAscii(field.name, name)) field = {field.name, type, length, decimals, false};
    }
    return fields;
}

TEST(YearStructure, NamesTellJournalsFromChartsAndNothingElse) {
    EXPECT_EQ(yearTableKindOf("KR202601.DBF"), YearTable::Journal);
    EXPECT_EQ(yearTableKindOf("kr000000.dbf"), YearTable::Journal);
    EXPECT_EQ(yearTableKindOf("kw202601.dbf"), YearTable::Chart);
    EXPECT_EQ(yearTableKindOf("temp.dbf"), std::nullopt);
    EXPECT_EQ(yearTableKindOf("XX202601.DBF"), std::nullopt);
}

TEST(YearStructure, AmountsTurnedTextOrLogicalOrOtherDecimalsAreNamed) {
    EXPECT_TRUE(yearStructureProblems(YearTable::Journal, journal::fields(), "KR202601.DBF").empty());

    const auto text = yearStructureProblems(YearTable::Journal, journalWith("Ausgabe", FieldType::Character, 12, 0), "KR202601.DBF");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0], "Tabella \"KR202601.DBF\": il campo AUSGABE è testo invece che numerico con 2 decimali");

    const auto decimals = yearStructureProblems(YearTable::Journal, journalWith("Einnahme", FieldType::Numeric, 12, 0), "KR202601.DBF");
    ASSERT_EQ(decimals.size(), 1u);
    EXPECT_NE(decimals[0].find("EINNAHME è numerico con 0 decimali"), std::string::npos);

    const auto logical = yearStructureProblems(YearTable::Journal, journalWith("EA", FieldType::Logical, 1, 0), "KR202601.DBF");
    ASSERT_EQ(logical.size(), 1u);
    EXPECT_NE(logical[0].find("EA è logico"), std::string::npos);

    FieldList missing = journal::fields();
    missing.pop_back();
    missing.push_back({"NOTA", FieldType::Character, 20, 0, false});  // an extra field alone is no problem
    const auto gone = yearStructureProblems(YearTable::Journal, missing, "KR202601.DBF");
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone[0], "Tabella \"KR202601.DBF\": manca il campo EROEFFNUNG");
}

TEST(YearStructure, StartUpRefusesAndCheckReportsAYearWithChangedDecimals) {
    const test::TempDir dir;
    const std::filesystem::path journal = dir / "kr202601.dbf";
    createTable(journal, journalWith("Ausgabe", FieldType::Numeric, 12, 0));

    try {
        ensureYearTableSound(YearTable::Journal, dir.path(), "kr202601.dbf");
        FAIL() << "a journal with whole-number amounts was taken";
    } catch (const DbError& error) {
        EXPECT_EQ(error.kind(), DbError::Kind::BadFile);
        EXPECT_NE(std::string(error.what()).find("AUSGABE"), std::string::npos);
    }

    const test::ProgramResult result = test::runProgram(QUENDRA_DB_TOOL, {"check", journal.string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("il campo AUSGABE è numerico con 0 decimali"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace quendra::storage
