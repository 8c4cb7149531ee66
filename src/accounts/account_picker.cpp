#include "accounts/account_picker.h"

#include "storage/account_code.h"
#include "storage/chart_record.h"
#include "storage/journal_record.h"
#include "storage/dbase/text_case.h"

#include <charconv>
#include <functional>

namespace quendra::accounts {

namespace {

using storage::Cursor;
namespace chart = storage::chart;

// Type rows carry K from "10" to "90"; the cash-box groups are the main accounts
// HC0100 to HC0400 (the high key "HC05" lies below "HC0500").
constexpr std::string_view kFirstTypeKey = "10";
constexpr std::string_view kLastTypeKey = "90";
constexpr std::string_view kFirstCashGroup = "HC01";
constexpr std::string_view kCashGroupsEnd = "HC05";
// The sub-accounts that the search walks: classes A to E.
constexpr std::string_view kSearchLow = " A";
constexpr std::string_view kSearchHighClass = " E";

using Shown = std::function<std::string(const Cursor&)>;

std::vector<PickerEntry> readRange(Cursor& cursor, std::string_view low, std::string_view high, const Shown& shown) {
    std::vector<PickerEntry> entries;
    cursor.setRange(std::string(low), std::string(high));
    for (; !cursor.eof(); cursor.next()) entries.push_back({cursor.asText(chart::kCod), shown(cursor)});
    return entries;
}

// Every code that starts with prefix, as one range; none for an incomplete prefix.
std::vector<PickerEntry> readPrefix(Cursor& cursor, const std::string& prefix, std::size_t length,
                                    const Shown& shown) {
    if (prefix.size() != length) return {};
    return readRange(cursor, prefix, storage::prefixRangeEnd(prefix), shown);
}

Shown codePartThenField(std::function<std::string_view(std::string_view)> part, std::string_view field) {
    return [part, field](const Cursor& row) {
        const std::string cod = row.asText(chart::kCod);
        return std::string(part(cod)) + "-" + row.asText(field);
    };
}

void positionOn(PickerColumn& column, const std::function<bool(const PickerEntry&)>& matches) {
    column.current.reset();
    if (column.entries.empty()) return;
    column.current = 0;
    for (std::size_t i = 0; i < column.entries.size(); ++i) {
        if (matches(column.entries[i])) {
            column.current = i;
            return;
        }
    }
}

void positionOnCode(PickerColumn& column, const std::string& code) {
    positionOn(column, [&](const PickerEntry& e) { return e.code == code; });
}

bool isBlank(std::string_view code) { return code.find_first_not_of(' ') == std::string_view::npos; }

bool isAssetOrLiability(std::string_view code) {
    const char c = storage::classLetter(code);
    return c == storage::kAssetClass || c == storage::kLiabilityClass;
}

// A stored cash box the picker never keeps: a liability, or an asset beyond the liquid groups.
bool replacesStoredCashBox(std::string_view codd) {
    const char c = storage::classLetter(codd);
    if (c == storage::kLiabilityClass) return true;
    if (c != storage::kAssetClass) return false;
    const std::string_view group = storage::groupNumber(codd);
    int number = 0;
    const auto [end, error] = std::from_chars(group.data(), group.data() + group.size(), number);
    return error == std::errc() && end == group.data() + group.size() && number > 4;
}

}  // namespace

AccountPicker::AccountPicker(const std::filesystem::path& chart, std::string_view rowCod, std::string_view rowCodd,
                             bool opening)
    : chart_(chart), rowCod_(rowCod), rowCodd_(rowCodd), opening_(opening) {
    if (isBlank(rowCod_)) {
        account_ = storage::kDefaultAccount;
        cashBox_ = storage::kDefaultCashBox;
    } else {
        account_ = rowCod_;
        cashBox_ = rowCodd_;
    }
    // An empty cash box or one that is no cash box at all would leave the cash lists empty.
    if (!storage::isLiquid(cashBox_)) cashBox_ = storage::kDefaultCashBox;
    synchronise();
}

bool AccountPicker::cashBoxesVisible() const { return !(opening_ && isAssetOrLiability(account_)); }

void AccountPicker::openChart() {
    byCode_.open(chart_, storage::OpenMode::Shared);
    byCode_.setOrder(chart::kCod);
    byType_.open(chart_, storage::OpenMode::Shared);
    byType_.setOrder(chart::kK);
}

void AccountPicker::releaseChart() {
    endSearch();
    byCode_.close();
    byType_.close();
}

void AccountPicker::synchronise() {
    if (!byCode_.isOpen()) openChart();
    const char cls = storage::classLetter(account_);
    const std::string classPrefix = cls ? std::string{storage::kMainAccountMarker, cls} : std::string();
    columnOf(PickerList::Type).entries =
        readRange(byType_, kFirstTypeKey, kLastTypeKey, [](const Cursor& row) {
            return std::string(1, storage::classLetter(row.asText(chart::kCod))) + "-" + row.asText(chart::kTextA);
        });
    columnOf(PickerList::MainAccount).entries =
        readPrefix(byCode_, classPrefix, 2, codePartThenField(storage::groupNumber, chart::kTextH));
    columnOf(PickerList::SubAccount).entries =
        readPrefix(byCode_, " " + std::string(storage::classAndGroup(account_)), 4,
                   codePartThenField(storage::subAccountNumber, chart::kText));

    if (replacesStoredCashBox(rowCodd_)) cashBox_ = storage::kDefaultCashBox;
    columnOf(PickerList::CashGroup).entries =
        readRange(byCode_, kFirstCashGroup, kCashGroupsEnd, codePartThenField(storage::classAndGroup, chart::kText));
    columnOf(PickerList::CashBox).entries =
        readPrefix(byCode_, " " + std::string(storage::classAndGroup(cashBox_)), 4,
                   codePartThenField(storage::subAccountNumber, chart::kText));

    positionOn(columnOf(PickerList::Type),
               [&](const PickerEntry& e) { return cls && storage::classLetter(e.code) == cls; });
    positionOnCode(columnOf(PickerList::MainAccount), storage::mainAccountCode(cls, storage::groupNumber(account_)));
    positionOnCode(columnOf(PickerList::SubAccount), storage::subAccountCode(cls, storage::groupNumber(account_),
                                                                             storage::subAccountNumber(account_)));
    positionOnCode(columnOf(PickerList::CashGroup), "H" + std::string(storage::classAndGroup(cashBox_)) + "00");
    positionOnCode(columnOf(PickerList::CashBox), " " + std::string(storage::classAndGroup(cashBox_)) +
                                                      std::string(storage::subAccountNumber(cashBox_)));
}

void AccountPicker::moveTo(PickerList list, std::size_t row) {
    PickerColumn& column = columnOf(list);
    if (row < column.entries.size()) column.current = row;
}

void AccountPicker::choose(PickerList list) {
    const PickerEntry* entry = column(list).currentEntry();
    if (!entry) return;
    const std::string code = entry->code;
    const char cls = storage::classLetter(code);
    switch (list) {
        case PickerList::Type:
            if (cls != storage::classLetter(account_)) account_ = storage::subAccountCode(cls, "01", "01");
            break;
        case PickerList::MainAccount:
            if (storage::groupNumber(code) != storage::groupNumber(account_))
                account_ = storage::subAccountCode(cls, storage::groupNumber(code), "01");
            break;
        // A sub-account or cash box counts as itself, even after keyboard moves in the
        // list above it have not been chosen.
        case PickerList::SubAccount: account_ = code; break;
        case PickerList::CashGroup:
            if (storage::classAndGroup(code) != storage::classAndGroup(cashBox_))
                cashBox_ = " " + std::string(storage::classAndGroup(code)) + "01";
            break;
        case PickerList::CashBox: cashBox_ = code; break;
    }
    synchronise();
}

PickerChoice AccountPicker::choiceFor(const std::string& cod) const {
    if (opening_ && isAssetOrLiability(cod)) return {cod, cod};
    const PickerEntry* cash = column(PickerList::CashBox).currentEntry();
    return {cod, cash ? cash->code : rowCodd_};
}

PickerChoice AccountPicker::closing() const {
    const PickerEntry* sub = column(PickerList::SubAccount).currentEntry();
    return choiceFor(sub ? sub->code : rowCod_);
}

PickerChoice AccountPicker::cancelling() {
    account_ = rowCod_;
    synchronise();
    // The row keeps its own account even where the lists cannot show it.
    return choiceFor(rowCod_);
}

void AccountPicker::startSearch() {
    accountBeforeSearch_ = account_;
    searchFound_ = false;
    search_.open(chart_, storage::OpenMode::Shared);
    search_.setOrder(chart::kCod);
    search_.setRange(std::string(kSearchLow), storage::prefixRangeEnd(kSearchHighClass));
}

bool AccountPicker::searchNext(std::string_view text) {
    if (!search_.isOpen()) startSearch();
    if (searchFound_) search_.next();
    const std::string needle = storage::toUpperUtf8(text);
    for (; !search_.eof(); search_.next()) {
        if (storage::toUpperUtf8(search_.asText(chart::kTextH)).find(needle) != std::string::npos ||
            storage::toUpperUtf8(search_.asText(chart::kText)).find(needle) != std::string::npos) {
            account_ = search_.asText(chart::kCod);
            searchFound_ = true;
            synchronise();
            return true;
        }
    }
    searchFound_ = false;
    search_.first();
    return false;
}

void AccountPicker::cancelSearch() {
    account_ = accountBeforeSearch_;
    synchronise();
    endSearch();
}

void AccountPicker::endSearch() {
    search_.close();
    searchFound_ = false;
}

void writeChoice(storage::Cursor& journal, const PickerChoice& choice) {
    journal.edit();
    journal.setText(storage::journal::kCod, choice.cod);
    journal.setText(storage::journal::kCodd, choice.codd);
    journal.post();
}

}  // namespace quendra::accounts
