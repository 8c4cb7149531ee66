#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The figures of the annual report's summary forms: the year's rows in six sections, each
// section by main account and sub-account. One computation serves both forms; the
// summary shows the main accounts, the detail form the sub-accounts too.
//
// The sums run in four pairs (grand, section, main account, sub-account) of income and
// expense, every row adding its sign times Einnahme and Ausgabe to all four in the order
// cod, datum, nummer. A pair is emptied only when its line prints, that is when its
// income minus expense is not exactly 0; a pair that nets to 0 carries into the next
// account. So a floating-point residue such as 0,1 + 0,2 - 0,3 prints as a line with
// "0,00".
namespace quendra::printing {

inline constexpr std::size_t kSummarySectionCount = 6;

struct SubAccountFigure {
    std::string code;                   // " A0101"
    std::optional<double> difference;   // set when its line prints
};

struct MainAccountFigure {
    std::string prefix;                 // " A01"
    std::string lastCode;               // cod of the group's last row
    std::vector<SubAccountFigure> subAccounts;
    std::optional<double> difference;   // set when its line prints
};

struct SectionFigures {
    std::vector<MainAccountFigure> accounts;
    std::optional<double> sum;          // "SOMMA": set when the section's income or expense is not 0
};

struct SummaryFigures {
    // 0 opening situation, 1 income, 2 expense, 3 other liquid means, 4 other assets,
    // 5 liabilities.
    std::array<SectionFigures, kSummarySectionCount> sections;
    double saldo = 0;               // "SALDO entrate/uscite"
    double totalLiquidity = 0;      // "TOTALE liquidità"
    double totalProperty = 0;       // "TOTALE stato patrimoniale"
};

// Reads the journal with one query per section. The opening situation (rows booked
// against their own account) counts liquid accounts +1 and every other account -1 and
// does not enter the totals; other assets and liabilities count -1.
SummaryFigures summaryFigures(const std::filesystem::path& journal);

}  // namespace quendra::printing
