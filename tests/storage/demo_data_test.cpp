#include "storage/demo_data.h"

#include "statements/balance_summary.h"
#include "storage/dbase/cursor.h"
#include "storage/year_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quendra::storage {
namespace {

namespace fs = std::filesystem;

struct DemoYear {
    explicit DemoYear(unsigned seed) {
        DemoOptions options;
        options.seed = seed;
        journal = dir / makeDemoDataDirectory(dir.path(), fs::path(QUENDRA_RUNTIME_DIR) / "krw", options);
    }
    fs::path chart() const { return journal.parent_path() / chartNameOfJournal(journal.filename().string()); }

    test::TempDir dir;
    fs::path journal;
};

bool isLiquid(const std::string& code) { return code.size() == 6 && code.compare(0, 3, " C0") == 0 && code[3] <= '4'; }

TEST(DemoYear, NoCashBoxOrBankAccountEverGoesBelowZero) {
    for (const unsigned seed : {1u, 2u, 3u, 11u}) {
        DemoYear demo(seed);
        Cursor rows(demo.journal, OpenMode::Shared);
        rows.setOrder("Nummer");
        std::map<std::string, double> balance;
        for (rows.first(); !rows.eof(); rows.next()) {
            const std::string box = rows.asText("codd");
            if (!isLiquid(box)) continue;
            balance[box] += rows.asNumber("Einnahme") - rows.asNumber("Ausgabe");
            ASSERT_GE(balance[box], -0.005) << "seed " << seed << ", " << box << " after row " << rows.asInteger("Nummer");
        }
        EXPECT_GE(balance.size(), 2u) << "cash box and bank account both used";
    }
}

// The opening rows on the sides the summary reads: a loan received is an entrata, the
// securities paid into an uscita; so the summary of every demo adds up as a parish's would.
TEST(DemoYear, BalanceSummaryShowsAYearAParishCouldHaveHad) {
    for (const unsigned seed : {1u, 7u}) {
        DemoYear demo(seed);
        std::map<std::string, statements::SummaryLine> lines;
        for (const statements::SummaryLine& line : statements::balanceSummary(demo.journal, demo.chart())) {
            lines[line.text] = line;
            if (line.style == statements::LineStyle::Group) {
                EXPECT_NE(line.opening.front(), '-') << line.text;
                EXPECT_NE(line.closing.front(), '-') << line.text;
            }
        }
        for (const char* total : {"SOMMA LIQUIDITÀ DISPONIBILE", "SOMMA ALTRO", "SOMMA ATTIVA", "SOMMA PASSIVA",
                                  "ATTIVA - PASSIVA", "TOTALE Banche"}) {
            ASSERT_EQ(lines.count(total), 1u) << total;
            EXPECT_NE(lines[total].opening.front(), '-') << total << " opening, seed " << seed;
            EXPECT_NE(lines[total].closing.front(), '-') << total << " closing, seed " << seed;
            EXPECT_NE(lines[total].opening, "0,00") << total;
        }
        const auto value = [](const std::string& amount) {
            std::string plain;
            for (const char c : amount) {
                if (c != '.') plain += c == ',' ? '.' : c;
            }
            return std::stod(plain);
        };
        EXPECT_GT(value(lines["SOMMA ATTIVA"].opening), value(lines["SOMMA LIQUIDITÀ DISPONIBILE"].opening))
            << "the securities add to the assets";
        EXPECT_LT(value(lines["TOTALE Banche"].opening), value(lines["SOMMA LIQUIDITÀ DISPONIBILE"].opening))
            << "the bank loan is taken from the liquidity";
    }
}

}  // namespace
}  // namespace quendra::storage
