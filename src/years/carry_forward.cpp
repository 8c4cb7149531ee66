#include "years/carry_forward.h"

#include "storage/account_code.h"
#include "storage/chart_record.h"
#include "storage/dbase/date.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "storage/year_files.h"
#include "years/new_year.h"
#include "storage/dbase/open_table.h"
#include "years/year_backup.h"
#include "years/year_messages.h"
#include "years/year_tables.h"

namespace quendra::years {

using namespace storage;

namespace {

constexpr std::string_view kLiabilitiesFilter = R"(cod like " P%")";
constexpr std::string_view kCarryRowsFilter = "eroeffnung = 2";

// Characters from..to (counted from 1, both included) of a UTF-8 text, fewer where it is shorter.
std::string characters(std::string_view text, std::size_t from, std::size_t to) {
    return firstCharacters(text, to).substr(firstCharacters(text, from - 1).size());
}

// One group per distinct value of field among the rows that meet condition.
void addGroups(std::vector<CarriedBalance>& balances, const std::filesystem::path& journal, std::string_view field,
               std::string_view condition) {
    const auto rows = runSelect("select * from " + quotedTable(journal) + " where " + std::string(condition) +
                                " order by " + std::string(field));
    const auto flush = [&balances](const std::string& code, double income, double expense) {
        const double balance = income - expense;
        if (balance != 0.0) balances.push_back({code, balance});
    };
    std::string code;
    double income = 0;
    double expense = 0;
    for (rows->first(); !rows->eof(); rows->next()) {
        std::string rowCode = rows->asText(field);
        if (rowCode != code) {
            if (!code.empty()) flush(code, income, expense);
            code = std::move(rowCode);
            income = expense = 0;
        }
        income += rows->asNumber(journal::kEinnahme);
        expense += rows->asNumber(journal::kAusgabe);
    }
    if (!code.empty()) flush(code, income, expense);
}

void requireFile(YearTable kind, const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error)) return;
    const std::string name = file.filename().string();
    throw YearFileError(kind == YearTable::Journal ? messages::yearDoesNotExist(name)
                                                   : messages::chartDoesNotExist(name));
}

// The source year's two files.
void requireSource(const std::filesystem::path& dataDir, const std::string& sourceNumber) {
    for (const YearTable kind : {YearTable::Journal, YearTable::Chart}) {
        requireFile(kind, yearTablePath(dataDir, kind, sourceNumber));
    }
}

void appendCarryRow(Cursor& target, long long number, Date date, const CarriedBalance& carried,
                    const std::string& text) {
    const bool income = carried.balance > 0;
    target.append();
    target.setInteger(journal::kNummer, number);
    target.setDate(journal::kDatum, date);
    target.setText(journal::kCod, carried.code);
    target.setText(journal::kCodd, carried.code);
    target.setText(journal::kText, text);
    target.setNumber(journal::kEinnahme, income ? carried.balance : 0.0);
    target.setNumber(journal::kAusgabe, income ? 0.0 : -carried.balance);
    target.setInteger(journal::kEA, static_cast<long long>(income ? journal::Side::Entrata : journal::Side::Uscita));
    target.setInteger(journal::kEroeffnung, journal::kOpeningMarker);
    target.post();
}

}  // namespace

std::vector<CarriedBalance> carriedBalances(const std::filesystem::path& journal) {
    std::vector<CarriedBalance> balances;
    addGroups(balances, journal, journal::kCodd, liquidityFilter(journal::kCodd));
    addGroups(balances, journal, journal::kCod, otherAssetsFilter(journal::kCod));
    addGroups(balances, journal, journal::kCod, kLiabilitiesFilter);
    return balances;
}

FreeNumbers::FreeNumbers(const std::filesystem::path& journal) {
    const auto rows = runSelect("select * from " + quotedTable(journal) + " order by nummer");
    for (rows->first(); !rows->eof(); rows->next()) used_.insert(rows->asInteger(journal::kNummer));
}

long long FreeNumbers::take(long long n) {
    while (used_.count(n) != 0) ++n;
    used_.insert(n);
    return n;
}

std::string accountText(Cursor& chart, std::string_view code) {
    chart.findNearest(std::string(code));
    return chart.eof() ? std::string() : chart.asText(chart::kText);
}

std::string carryForwardText(std::string_view sourceNumber, std::string_view text, std::size_t width) {
    const std::string full = "Riporto: " + std::string(sourceNumber.substr(0, 4)) + "/" +
                             std::string(sourceNumber.substr(4, 2)) + " - " + std::string(text);
    return firstCharacters(full, width);
}

namespace {

std::size_t carryRows(const std::filesystem::path& dataDir, const std::string& sourceNumber,
                      const std::string& targetNumber) {
    const std::filesystem::path sourceJournal = yearTablePath(dataDir, YearTable::Journal, sourceNumber);
    const std::filesystem::path sourceChart = yearTablePath(dataDir, YearTable::Chart, sourceNumber);
    const std::filesystem::path targetJournal = yearTablePath(dataDir, YearTable::Journal, targetNumber);
    requireSource(dataDir, sourceNumber);
    requireFile(YearTable::Journal, targetJournal);
    ensureIndexUsable(YearTable::Chart, sourceChart);
    ensureIndexUsable(YearTable::Journal, targetJournal);
    Cursor chart(sourceChart, OpenMode::Shared);
    chart.setOrder(chart::kCod);
    Cursor target(targetJournal, OpenMode::Shared);
    const std::size_t textWidth = target.fieldDef(target.fieldIndex(journal::kText)).length;

    // One sync at the end instead of one per row: until it returns nothing is promised.
    DeferredSync sync;
    runDelete("delete from " + quotedTable(targetJournal) + " where " + std::string(kCarryRowsFilter));
    const Date firstOfJanuary = Date::fromYmd(std::stoi(targetNumber.substr(0, 4)), 1, 1);
    FreeNumbers numbers(targetJournal);
    long long number = 0;
    const std::vector<CarriedBalance> balances = carriedBalances(sourceJournal);
    for (const CarriedBalance& carried : balances) {
        number = numbers.take(number + 1);
        appendCarryRow(target, number, firstOfJanuary, carried,
                       carryForwardText(sourceNumber, accountText(chart, carried.code), textWidth));
    }
    target.close();
    sync.finish();
    return balances.size();
}

}  // namespace

std::size_t carryForward(const std::filesystem::path& dataDir, const std::string& sourceNumber,
                         const std::string& targetNumber) {
    requireSource(dataDir, sourceNumber);
    requireFile(YearTable::Journal, yearTablePath(dataDir, YearTable::Journal, targetNumber));
    backupYear(dataDir, targetNumber, "riporto");
    return carryRows(dataDir, sourceNumber, targetNumber);
}

std::string carryIntoNewYear(const std::filesystem::path& dataDir, const std::string& sourceNumber) {
    requireSource(dataDir, sourceNumber);
    backupYear(dataDir, sourceNumber, "riporto");
    const std::string targetNumber = createFollowingYear(dataDir, sourceNumber);
    carryRows(dataDir, sourceNumber, targetNumber);
    return targetNumber;
}

CarrySource findCarrySource(const std::filesystem::path& dataDir, const std::string& targetNumber) {
    const auto rows =
        runSelect("select * from " + quotedTable(yearTablePath(dataDir, YearTable::Journal, targetNumber)) + " where " +
                  std::string(kCarryRowsFilter));
    CarrySource source;
    rows->first();
    if (rows->eof()) return source;
    source.hasCarryRows = true;
    const std::string text = rows->asText(journal::kText);
    source.journalName = "kr" + characters(text, 10, 13) + characters(text, 15, 16) + ".dbf";
    const std::optional<std::string> number = yearNumberOf(source.journalName);
    std::error_code error;
    if (number && std::filesystem::is_regular_file(yearTablePath(dataDir, YearTable::Journal, *number), error)) {
        source.yearNumber = number;
    }
    return source;
}

}  // namespace quendra::years
