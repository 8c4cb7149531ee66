#pragma once

#include "budget/budget_table.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The budget beside the actual figures: every income and expense sub-account of the
// chart (and any other such code the journal or the budget names), grouped by main
// account, with the planned amount, this year's actual amount and last year's.
namespace quendra::budget {

// Actual amounts of the year by sub-account, by the rules of the annual report's income
// and expense sections: the rows of class E and A paid through a cash box or bank
// account (C01-C04). Income counts Einnahme - Ausgabe, expense Ausgabe - Einnahme, so
// both sides are positive as planned amounts are.
std::map<std::string, double, std::less<>> actualAmounts(const std::filesystem::path& journal);

// The journal of the year before: the year the carry-forward rows name when it exists,
// else the same running number of the previous year; nullopt when neither exists.
std::optional<std::filesystem::path> previousYearJournal(const std::filesystem::path& dataDir,
                                                         const std::string& yearNumber);

struct AccountLine {
    std::string code;  // " E0101"
    std::string text;
    double planned = 0;
    double actual = 0;
    std::optional<double> lastYear;  // when the previous year is there
    std::string note;
};

struct GroupLines {
    std::string prefix;  // " E01"
    std::string text;    // the main account's name
    std::vector<AccountLine> accounts;
    double planned = 0, actual = 0, lastYear = 0;
};

struct SideLines {
    char classLetter = 'E';
    std::vector<GroupLines> groups;
    double planned = 0, actual = 0, lastYear = 0;
};

struct Overview {
    SideLines income{'E', {}};   // ENTRATE
    SideLines expense{'A', {}};  // USCITE
    bool hasLastYear = false;
    double plannedSaldo() const { return income.planned - expense.planned; }
    double actualSaldo() const { return income.actual - expense.actual; }
};

struct OverviewSources {
    std::filesystem::path chart;
    std::filesystem::path journal;
    std::filesystem::path budget;
    std::optional<std::filesystem::path> lastYearJournal;
};

// Reads the four files; sums add in code order.
Overview makeOverview(const OverviewSources& sources);

// Sums again after amounts changed in place.
void resum(Overview& overview);

// The proposal: last year's actual amounts raised by percent, rounded to whole euros
// (halves to even); accounts that come to 0 are left out.
Budget proposal(const std::map<std::string, double, std::less<>>& lastYear, double percent);

// Replaces the planned amounts of the budget by the proposal; accounts it leaves out get
// 0, notes stay.
void writeProposal(const std::filesystem::path& budget, const std::map<std::string, double, std::less<>>& lastYear,
                   double percent);

// The share of the plan reached in percent; nullopt when nothing is planned.
std::optional<double> shareReached(double actual, double planned);

}  // namespace quendra::budget
