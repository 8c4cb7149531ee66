#include "bankimport/posting.h"
#include "bankimport/statement_file.h"
#include "support/dbfread_reader.h"
#include "support/run_program.h"
#include "support/year_fixture.h"

#include <gtest/gtest.h>

namespace quendra::bankimport {
namespace {

using storage::Date;
using test::Movement;
using test::ymd;
using Side = storage::journal::Side;

std::filesystem::path statementFile(const std::string& name) {
    return std::filesystem::path(QUENDRA_SOURCE_DIR) / "tests/bankimport/statements" / name;
}

// The bank C0201 with a year of movements typed by hand, and the year before.
struct BankYear : test::YearFixture {
    BankYear()
        : test::YearFixture({
              {1, ymd(2015, 1, 10), " E0201", " C0201", "Offerta battesimo di Anna", 100, 0, 2, 0},
              {2, ymd(2015, 1, 15), " A0703", " C0201", "Bolletta energia elettrica chiesa gennaio", 0, 900, 1, 0},
              {3, ymd(2015, 1, 20), " A0701", " C0201", "Bolletta telefono canonica", 0, 60, 1, 0},
              {4, ymd(2015, 3, 3), " A0703", " C0201", "Luce chiesa", 0, 1234.56, 1, 0},
              {5, ymd(2015, 3, 4), " E0101", " C0101", "Offerte domenica", 1234.56, 0, 2, 0},
          }) {
        test::makeJournal(dataDir / "kr201401.dbf",
                          {{1, ymd(2014, 12, 31), " A0503", " C0201", "Commissioni tenuta conto", 0, 2.1, 1, 0},
                           {2, ymd(2014, 12, 31), " A0503", " C0202", "Bolletta energia", 0, 5, 1, 0}});
    }
    ImportTarget target{dataDir, "201501", " C0201"};
};

TEST(ImportProposals, LearnedAccountsDuplicatesAndPostingReadBack) {
    BankYear year;
    const StatementFile file = readStatementFile(statementFile("camt053_v02.xml"), 2015, std::nullopt);
    std::vector<Proposal> proposals = propose(file.statement, year.target);
    struct Expected {
        std::string cod;
        ProposalState state;
        bool ticked;
    };
    // The third is learned from the previous year; the second was typed by hand two
    // days earlier with the same amount (the cash box's movement of that amount is not
    // the bank's).
    const std::vector<Expected> expected = {{" E0201", ProposalState::New, true},
                                            {" A0703", ProposalState::Duplicate, false},
                                            {" A0503", ProposalState::New, true}};
    ASSERT_EQ(proposals.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(proposals[i].cod, expected[i].cod) << i;
        EXPECT_EQ(proposals[i].state, expected[i].state) << i;
        EXPECT_EQ(proposals[i].ticked, expected[i].ticked) << i;
    }

    const std::vector<PostedMovement> posted = postProposals(proposals, year.target);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].number, 6);
    EXPECT_EQ(posted[1].number, 7);
    EXPECT_TRUE(std::filesystem::exists(year.dataDir / "backup"));

    ASSERT_TRUE(test::dbfreadAvailable());
    const test::DbfreadTable table = test::readWithDbfread(year.journalPath());
    ASSERT_EQ(table.records.size(), 7u);
    const test::JsonValue& first = table.records[5];
    EXPECT_EQ(first["NUMMER"].number, 6);
    EXPECT_EQ(first["DATUM"].text, "2015-03-02");
    EXPECT_EQ(first["COD"].text, " E0201");
    EXPECT_EQ(first["CODD"].text, " C0201");
    EXPECT_EQ(first["TEXT"].text, "Rossi Mario Offerta battesimo di Luca");
    EXPECT_EQ(first["EINNAHME"].number, 150);
    EXPECT_EQ(first["AUSGABE"].number, 0);
    EXPECT_EQ(first["EA"].number, 2);
    const test::JsonValue& second = table.records[6];
    EXPECT_EQ(second["DATUM"].text, "2015-03-31");
    EXPECT_EQ(second["AUSGABE"].number, 2.5);
    EXPECT_EQ(second["EA"].number, 1);

    // The same file again: what was posted is known, nothing is ticked.
    proposals = propose(file.statement, year.target);
    EXPECT_EQ(proposals[0].state, ProposalState::Imported);
    EXPECT_EQ(proposals[2].state, ProposalState::Imported);
    for (const Proposal& proposal : proposals) EXPECT_FALSE(proposal.ticked);
    EXPECT_TRUE(postProposals(proposals, year.target).empty());
}

TEST(ImportProposals, RefusedPostingsWriteNothing) {
    BankYear year;
    const StatementFile file = readStatementFile(statementFile("csv_trentino_1252.csv"), 2015, std::nullopt);
    std::vector<Proposal> proposals = propose(file.statement, year.target);
    ASSERT_EQ(proposals.size(), 3u);
    proposals[0].ticked = true;
    proposals[0].cod.clear();
    EXPECT_THROW(postProposals(proposals, year.target), PostingRefused);
    EXPECT_EQ(year.rows().size(), 5u);
    EXPECT_FALSE(std::filesystem::exists(year.dataDir / "backup"));
}

TEST(ImportProposals, TextsAreCutAtAWordToTheJournalField) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Breve", "Breve"},
        {std::string(60, 'a') + " bbbbbb", std::string(60, 'a')},
        {std::string(70, 'x'), std::string(63, 'x')},
        {"Offerta €5 ł", "Offerta €5 ?"},
        {std::string(61, 'e') + " è", std::string(61, 'e') + " è"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(journalText(text), expected) << text;
}

TEST(ImportProgram, ListsAppliesAndRefusesInItalian) {
    BankYear year;
    const std::filesystem::path program = std::filesystem::path(QUENDRA_RUNTIME_DIR) / "quendra-import";
    const std::vector<std::string> base = {"--data", year.dataDir.string(), "--year", "201501", "--cassa", "C0201"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = base;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const test::ProgramResult listed = test::runProgram(program, with({statementFile("camt053_v02.xml").string()}));
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out,
              "02.03.2015  entrata          150,00  E0201  nuovo      Rossi Mario Offerta battesimo di Luca\n"
              "05.03.2015  uscita         1.234,56  A0703  doppio?    Dolomiti Energia SpA Bolletta energia elettrica chiesa marzo\n"
              "31.03.2015  uscita             2,50  A0503  nuovo      Commissioni tenuta conto\n");

    const test::ProgramResult applied =
        test::runProgram(program, with({statementFile("camt053_v02.xml").string(), "--applica"}));
    EXPECT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_NE(applied.out.find("registrato n. 6: Rossi Mario"), std::string::npos) << applied.out;
    EXPECT_NE(applied.out.find("registrato n. 7: Commissioni"), std::string::npos) << applied.out;

    struct Refusal {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    };
    const std::vector<Refusal> refusals = {
        {with({statementFile("csv_bancoposta.csv").string(), "--applica"}), 1, "riga 6: importo in USD"},
        {with({statementFile("not_a_statement.pdf").string()}), 1, "non è un estratto conto"},
        {{"--data", year.dataDir.string(), "--year", "201501", "--cassa", "A0101", "x.csv"}, 1,
         "non è una cassa o banca"},
        {{"--data", year.dataDir.string(), "--year", "201601", "--cassa", "C0201", "x.csv"}, 1, "non esiste"},
        {{"--year", "201501"}, 2, "uso: quendra-import"},
    };
    for (const Refusal& r : refusals) {
        const test::ProgramResult result = test::runProgram(program, r.args);
        EXPECT_EQ(result.exitCode, r.exitCode) << r.message;
        EXPECT_NE(result.err.find(r.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(year.rows().size(), 7u);
}

}  // namespace
}  // namespace quendra::bankimport
