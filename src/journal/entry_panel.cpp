#include "journal/entry_panel.h"

#include "storage/account_code.h"
#include "storage/amount_format.h"
#include "storage/chart_record.h"

namespace quendra::journal {

namespace kr = storage::journal;
namespace kw = storage::chart;

namespace {

std::string chartText(const storage::Cursor& chart, std::string_view field) {
    return chart.isOpen() && chart.recordNumber() != 0 ? chart.asText(field) : std::string();
}

}  // namespace

EntryPanel readEntryPanel(const YearCursors& year) {
    EntryPanel panel;
    if (!year.hasRow()) return panel;
    const storage::Cursor& journal = year.journal;
    panel.hasRow = true;
    panel.number = journal.isBlank(kr::kNummer) ? std::string() : std::to_string(journal.asInteger(kr::kNummer));
    panel.date = journal.asDate(kr::kDatum).toDisplay();
    panel.text = journal.asText(kr::kText);
    panel.account = std::string(storage::typedFromStored(journal.asText(kr::kCod)));
    panel.cashBox = std::string(storage::typedFromStored(journal.asText(kr::kCodd)));
    const std::optional<double> amount = kr::amount(journal);
    if (amount) panel.amount = storage::formatNumber(*amount, storage::Picture::Amount);
    const long long ea = journal.asInteger(kr::kEA);
    panel.side = ea == 1 ? kr::Side::Uscita : ea == 2 ? kr::Side::Entrata : kr::Side::Undecided;
    panel.opening = kr::isOpeningRow(journal.asInteger(kr::kEroeffnung));
    panel.accountType = chartText(year.account, kw::kTextA);
    panel.accountMain = chartText(year.account, kw::kTextH);
    panel.accountName = chartText(year.account, kw::kText);
    if (year.cashBox.isOpen() && year.cashBox.recordNumber() != 0) {
        panel.cashBoxDescription =
            storage::cashBoxDescription(year.cashBox.asText(kw::kTextH), year.cashBox.asText(kw::kText));
    }
    return panel;
}

std::string accountForEditing(const YearCursors& year) {
    if (!year.hasRow()) return {};
    const std::string account(storage::typedFromStored(year.journal.asText(kr::kCod)));
    return account.find_first_not_of(' ') == std::string::npos
               ? std::string(storage::typedFromStored(storage::kDefaultAccount))
               : account;
}

std::string cashBoxForEditing(const YearCursors& year) {
    return year.hasRow() ? std::string(storage::typedFromStored(year.journal.asText(kr::kCodd))) : std::string();
}

std::string amountForEditing(const YearCursors& year) {
    if (!year.hasRow()) return {};
    return storage::formatNumber(kr::amount(year.journal).value_or(0), storage::Picture::EditAmount);
}

std::string dateForEditing(const YearCursors& year) {
    return year.hasRow() ? year.journal.asDate(kr::kDatum).toDisplay() : std::string();
}

}  // namespace quendra::journal
