#include "budget/budget_figures.h"

#include "printing/print_text.h"
#include "storage/account_code.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "years/carry_forward.h"
#include "years/year_tables.h"

#include <cmath>
#include <set>

namespace quendra::budget {

namespace {

namespace journal = storage::journal;
namespace chart = storage::chart;

bool isBudgetClass(char letter) { return letter == storage::kIncomeClass || letter == storage::kExpenseClass; }

// TEXT of the chart's income and expense rows by code, main accounts included.
std::map<std::string, std::string, std::less<>> chartTexts(const std::filesystem::path& path) {
    std::map<std::string, std::string, std::less<>> texts;
    storage::Cursor cursor(path, storage::OpenMode::Shared);
    for (cursor.first(); !cursor.eof(); cursor.next()) {
        const std::string code = cursor.asText(chart::kCod).substr(0, storage::kCodeLength);
        if (code.size() == storage::kCodeLength && isBudgetClass(storage::classLetter(code)) &&
            (storage::isSubAccount(code) || storage::isMainAccount(code))) {
            texts[code] = printing::trimRight(cursor.asText(chart::kText));
        }
    }
    return texts;
}

std::string textOf(const std::map<std::string, std::string, std::less<>>& texts, const std::string& code) {
    const auto it = texts.find(code);
    return it == texts.end() ? std::string() : it->second;
}

void addTo(GroupLines& group, const AccountLine& line) {
    group.planned += line.planned;
    group.actual += line.actual;
    group.lastYear += line.lastYear.value_or(0);
}

void resumSide(SideLines& side) {
    side.planned = side.actual = side.lastYear = 0;
    for (GroupLines& group : side.groups) {
        group.planned = group.actual = group.lastYear = 0;
        for (const AccountLine& line : group.accounts) addTo(group, line);
        side.planned += group.planned;
        side.actual += group.actual;
        side.lastYear += group.lastYear;
    }
}

double roundedHalfEven(double value) {
    // The default rounding mode rounds halves to even.
    return std::nearbyint(value);
}

}  // namespace

std::map<std::string, double, std::less<>> actualAmounts(const std::filesystem::path& journalPath) {
    std::map<std::string, double, std::less<>> amounts;
    const auto rows = storage::runSelect("select * from " + years::quotedTable(journalPath) +
                                         " where (cod like \" E%\" or cod like \" A%\") and (" +
                                         storage::liquidityFilter(journal::kCodd) + ") order by cod,datum,nummer");
    for (rows->first(); !rows->eof(); rows->next()) {
        const std::string code = rows->asText(journal::kCod).substr(0, storage::kCodeLength);
        const double difference = rows->asNumber(journal::kEinnahme) - rows->asNumber(journal::kAusgabe);
        amounts[code] += storage::classLetter(code) == storage::kIncomeClass ? difference : -difference;
    }
    return amounts;
}

std::optional<std::filesystem::path> previousYearJournal(const std::filesystem::path& dataDir,
                                                         const std::string& yearNumber) {
    const years::CarrySource carried = years::findCarrySource(dataDir, yearNumber);
    if (carried.yearNumber && *carried.yearNumber != yearNumber) {
        return years::yearTablePath(dataDir, storage::YearTable::Journal, *carried.yearNumber);
    }
    const int year = std::stoi(yearNumber.substr(0, 4));
    if (year <= 1) return std::nullopt;
    const std::string before = storage::yearNumber(year - 1, std::stoi(yearNumber.substr(4, 2)));
    const std::filesystem::path journal = years::yearTablePath(dataDir, storage::YearTable::Journal, before);
    std::error_code error;
    if (std::filesystem::is_regular_file(journal, error)) return journal;
    return std::nullopt;
}

Overview makeOverview(const OverviewSources& sources) {
    const auto texts = chartTexts(sources.chart);
    const auto actual = actualAmounts(sources.journal);
    const Budget planned = readBudget(sources.budget);
    std::map<std::string, double, std::less<>> lastYear;
    if (sources.lastYearJournal) lastYear = actualAmounts(*sources.lastYearJournal);

    std::set<std::string> codes;
    for (const auto& [code, text] : texts) {
        if (storage::isSubAccount(code)) codes.insert(code);
    }
    for (const auto& [code, amount] : actual) codes.insert(code);
    for (const auto& [code, amount] : planned) {
        if (isBudgetClass(storage::classLetter(code)) && storage::isSubAccount(code)) codes.insert(code);
    }

    Overview overview;
    overview.hasLastYear = sources.lastYearJournal.has_value();
    for (const std::string& code : codes) {
        SideLines& side = storage::classLetter(code) == storage::kIncomeClass ? overview.income : overview.expense;
        const std::string prefix(storage::groupPrefix(code));
        if (side.groups.empty() || side.groups.back().prefix != prefix) {
            GroupLines group;
            group.prefix = prefix;
            group.text = textOf(texts, storage::mainAccountCode(storage::classLetter(code), storage::groupNumber(code)));
            side.groups.push_back(std::move(group));
        }
        AccountLine line;
        line.code = code;
        line.text = textOf(texts, code);
        if (const auto it = planned.find(code); it != planned.end()) {
            line.planned = it->second.amount;
            line.note = it->second.note;
        }
        if (const auto it = actual.find(code); it != actual.end()) line.actual = it->second;
        if (overview.hasLastYear) {
            const auto it = lastYear.find(code);
            line.lastYear = it == lastYear.end() ? 0.0 : it->second;
        }
        side.groups.back().accounts.push_back(std::move(line));
    }
    resum(overview);
    return overview;
}

void resum(Overview& overview) {
    resumSide(overview.income);
    resumSide(overview.expense);
}

Budget proposal(const std::map<std::string, double, std::less<>>& lastYear, double percent) {
    Budget proposed;
    for (const auto& [code, amount] : lastYear) {
        const double whole = roundedHalfEven(amount * (100 + percent) / 100);
        if (whole != 0) proposed[code].amount = whole;
    }
    return proposed;
}

void writeProposal(const std::filesystem::path& budget, const std::map<std::string, double, std::less<>>& lastYear,
                   double percent) {
    const Budget current = readBudget(budget);
    Budget proposed = proposal(lastYear, percent);
    for (const auto& [code, planned] : current) proposed[code].note = planned.note;
    writeAll(budget, proposed);
}

std::optional<double> shareReached(double actual, double planned) {
    if (planned == 0) return std::nullopt;
    return actual / planned * 100;
}

}  // namespace quendra::budget
