#include "journal/journal_entry.h"

#include "state/title_line.h"
#include "storage/account_code.h"
#include "storage/amount_format.h"
#include "storage/dbase/error.h"
#include "storage/index_repair.h"
#include "storage/year_files.h"

#include <cctype>
#include <cmath>
#include <optional>

namespace quendra::journal {

namespace kr = storage::journal;
using storage::Cursor;
using storage::Date;
using Side = storage::journal::Side;

namespace {

std::string trimmed(std::string_view text) {
    const auto begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    return std::string(text.substr(begin, text.find_last_not_of(' ') - begin + 1));
}

// The masked field forces capitals; text from elsewhere gets them here.
std::string typedCode(std::string_view typed) {
    std::string code = trimmed(typed);
    for (char& c : code) c = char(std::toupper(static_cast<unsigned char>(c)));
    return code;
}

// Exact search on the chart's cod tag. The cursor follows the journal row, so the link
// is dropped for the search and set again afterwards.
bool chartHas(Cursor& chart, const Cursor& journal, std::string_view linkField, const std::string& code) {
    chart.clearMasterLink();
    const bool found = chart.findKey(code);
    chart.setMasterLink(journal, linkField);
    return found;
}

void setOrder(YearCursors& year, std::string_view tag) {
    year.journal.setOrder(tag);
    year.listing.setOrder(tag);
}

std::string_view orderTag(ListOrder order) {
    switch (order) {
        case ListOrder::ByCode: return "Cod";
        case ListOrder::ByDate: return "Datum";
        case ListOrder::ByNumber: break;
    }
    return kr::kNummer;
}

long long sideValue(Side side) { return static_cast<long long>(side); }

// Writes an amount on one side and clears the other, so that EA always names the
// field that holds the amount.
void putAmount(Cursor& journal, Side side, double amount) {
    journal.setNumber(side == Side::Uscita ? kr::kAusgabe : kr::kEinnahme, amount);
    journal.setNumber(side == Side::Uscita ? kr::kEinnahme : kr::kAusgabe, 0);
    journal.setInteger(kr::kEA, sideValue(side));
}

// The last row by number, and the number after it (1 in an empty journal).
long long nextNumber(Cursor& journal) {
    journal.setOrder(kr::kNummer);
    journal.last();
    return journal.recordNumber() == 0 ? 1 : journal.asInteger(kr::kNummer) + 1;
}

void updateCountTitle(EntryContext& context) {
    const std::size_t count = context.year.journal.recordCount();
    context.state.movementCount = std::to_string(count);
    context.state.titleLine = state::movementsTitle(context.state.titlePrefix, count);
}

// The typed text in double quotes, then why it was refused.
void refuse(EntryContext& context, std::string_view typed, std::string_view why) {
    std::string text(1, '"');
    text.append(typed).append("\" ").append(why);
    context.services.prompt.message(platform::PromptKind::Error, text);
}

// Einnahme and Ausgabe are N(12,2): a negative amount gives one digit to its sign.
constexpr double kLargestAmount = 999999999.99;
constexpr double kSmallestAmount = -99999999.99;

// Why an amount does not fit the field of its side, in the user's words; none when it fits.
std::optional<std::string> amountOutOfRange(Side side, double amount) {
    // Compared in cents, as the field stores it.
    const double cents = std::round(amount * 100);
    const std::string field = side == Side::Uscita ? "uscita" : "entrata";
    if (cents > std::round(kLargestAmount * 100)) {
        return "è troppo grande per il campo " + field + ": l'importo più grande è " +
               storage::formatNumber(kLargestAmount, storage::Picture::Amount) + ".";
    }
    if (cents < std::round(kSmallestAmount * 100)) {
        return "è troppo piccolo per il campo " + field + ": l'importo più piccolo è " +
               storage::formatNumber(kSmallestAmount, storage::Picture::Amount) + ".";
    }
    return std::nullopt;
}

// The stored form of five typed characters: the sub-account marker first.
std::string subAccount(const std::string& typed) {
    std::string code(1, storage::kSubAccountMarker);
    return code.append(typed);
}

}  // namespace

bool newMovement(EntryContext& context) {
    Cursor& journal = context.year.journal;
    if (!context.services.prompt.ask(platform::PromptKind::Information, std::string(kAskNewRecord))) {
        context.state.addingMode = false;
        return false;
    }
    context.state.addingMode = true;
    std::string cod, codd;
    if (context.year.hasRow()) {
        cod = journal.asText(kr::kCod);
        codd = journal.asText(kr::kCodd);
    }
    setOrder(context.year, kr::kNummer);
    const long long number = nextNumber(journal);
    const bool empty = !context.year.hasRow();
    const Date today = context.services.clock.today();
    // A last row without a date would give the new row none either.
    const Date lastDate = empty ? Date() : journal.asDate(kr::kDatum);
    context.state.proposedDate = lastDate.isEmpty() ? today : lastDate;
    const std::size_t count = journal.recordCount() + 1;
    context.state.movementCount = std::to_string(count);

    journal.append();
    journal.setInteger(kr::kNummer, number);
    journal.setDate(kr::kDatum, context.state.proposedDate);
    journal.setText(kr::kCod, cod);
    journal.setText(kr::kCodd, codd);
    journal.post();

    context.state.titleLine = state::addingTitle(context.state.titlePrefix, count);
    return true;
}

long long appendMovement(Cursor& journal, const CompleteMovement& movement) {
    const long long number = nextNumber(journal);
    journal.append();
    journal.setInteger(kr::kNummer, number);
    journal.setDate(kr::kDatum, movement.date);
    journal.setText(kr::kCod, movement.cod);
    journal.setText(kr::kCodd, movement.codd);
    journal.setText(kr::kText, movement.text);
    putAmount(journal, movement.side, movement.amount);
    journal.setInteger(kr::kEroeffnung, 0);
    journal.post();
    return number;
}

bool deleteMovement(EntryContext& context) {
    platform::Prompt& prompt = context.services.prompt;
    bool deleted = false;
    if (context.year.hasRow() && prompt.askBeforeLoss(platform::PromptKind::Information, std::string(kAskDelete)) &&
        prompt.askBeforeLoss(platform::PromptKind::Information, std::string(kAskDeleteSure))) {
        context.year.journal.deleteRecord();
        deleted = true;
    }
    if (context.year.journal.isOpen()) updateCountTitle(context);
    return deleted;
}

bool deleteMovementFromList(EntryContext& context) {
    if (!context.year.hasRow() || !context.services.prompt.confirm(std::string(kConfirmListDelete))) return false;
    context.year.journal.deleteRecord();
    return true;
}

StepResult storeDate(EntryContext& context, std::string_view text) {
    if (!context.year.hasRow()) return StepResult::NoRow;
    const std::string typed = trimmed(text);
    const std::optional<Date> date = Date::parseDisplay(typed);
    if (!date) {
        context.state.proposedDate = context.services.clock.today();
        refuse(context, typed, "non è una data valida: scriva giorno, mese e anno come gg.mm.aaaa.");
        return StepResult::Invalid;
    }
    storeChosenDate(context, *date);
    return StepResult::Stored;
}

void storeChosenDate(EntryContext& context, Date date) {
    if (!context.year.hasRow()) return;
    Cursor& journal = context.year.journal;
    journal.edit();
    journal.setDate(kr::kDatum, date);
    journal.post();
}

void storeText(EntryContext& context, std::string_view text) {
    if (!context.year.hasRow()) return;
    Cursor& journal = context.year.journal;
    journal.edit();
    journal.setText(kr::kText, text);
    journal.post();
}

StepResult storeAccount(EntryContext& context, std::string_view typed) {
    if (!context.year.hasRow()) return StepResult::NoRow;
    Cursor& journal = context.year.journal;
    const std::string code = typedCode(typed);
    const bool found = chartHas(context.year.account, journal, kr::kCod, subAccount(code));
    journal.edit();
    journal.setText(kr::kCod, storage::storedFromTyped(code));
    if (found && trimmed(journal.asText(kr::kCodd)).empty()) {
        journal.setText(kr::kCodd, storage::kPlaceholderCashBox);
    }
    journal.post();
    return found ? StepResult::Stored : StepResult::OpenPicker;
}

StepResult storeCashBox(EntryContext& context, std::string_view typed) {
    if (!context.year.hasRow()) return StepResult::NoRow;
    Cursor& journal = context.year.journal;
    const std::string code = subAccount(typedCode(typed));
    // Only the liquid accounts are cash boxes; any other code goes to the picker like
    // one the chart lacks.
    const bool valid = storage::isLiquid(code) && chartHas(context.year.cashBox, journal, kr::kCodd, code);
    journal.edit();
    journal.setText(kr::kCodd, code);
    journal.post();
    return valid ? StepResult::Stored : StepResult::OpenPicker;
}

StepResult storeAmount(EntryContext& context, std::string_view text) {
    if (!context.year.hasRow()) return StepResult::NoRow;
    Cursor& journal = context.year.journal;
    const std::optional<double> amount = storage::parseAmount(text);
    if (!amount) {
        refuse(context, trimmed(text), "non è un importo valido: scriva per esempio 1.250,00.");
        return StepResult::Invalid;
    }
    Side side = Side(journal.asInteger(kr::kEA));
    if (side == Side::Undecided) {
        const char cls = storage::classLetter(journal.asText(kr::kCod));
        side = cls == storage::kExpenseClass || cls == storage::kLiabilityClass ? Side::Uscita : Side::Entrata;
    }
    if (side != Side::Uscita) side = Side::Entrata;
    if (const std::optional<std::string> why = amountOutOfRange(side, *amount)) {
        refuse(context, trimmed(text), *why);
        return StepResult::Invalid;
    }
    journal.edit();
    putAmount(journal, side, *amount);
    journal.post();
    return StepResult::Stored;
}

void decideSideAfterPicker(EntryContext& context) {
    if (!context.year.hasRow()) return;
    Cursor& journal = context.year.journal;
    if (Side(journal.asInteger(kr::kEA)) != Side::Undecided) return;
    const char cls = storage::classLetter(journal.asText(kr::kCod));
    journal.edit();
    journal.setInteger(kr::kEA, sideValue(cls == storage::kExpenseClass || cls == storage::kAssetClass
                                              ? Side::Uscita
                                              : Side::Entrata));
    journal.post();
}

void switchSide(EntryContext& context, Side side) {
    if (!context.year.hasRow() || side == Side::Undecided) return;
    Cursor& journal = context.year.journal;
    const double amount = journal.asNumber(kr::kEinnahme) + journal.asNumber(kr::kAusgabe);
    journal.edit();
    putAmount(journal, side, amount);
    journal.post();
}

void setListOrder(EntryContext& context, ListOrder order) { setOrder(context.year, orderTag(order)); }

void reorganize(EntryContext& context) {
    YearCursors& year = context.year;
    const std::string order = year.journal.isOpen() ? year.journal.currentOrder() : std::string();
    const std::uint32_t row = year.journal.recordNumber();
    year.closeAll();
    const auto reopen = [&] {
        year.openJournal(journalFile(context.state));
        if (!order.empty()) setOrder(year, order);
        if (row != 0) year.journal.gotoRecord(row);
        year.openCharts(chartFile(context.state));
    };
    try {
        storage::indexreparatur(storage::YearTable::Journal, context.state.dataDir, context.state.settings.hauptdatei);
        storage::indexreparatur(storage::YearTable::Chart, context.state.dataDir, context.state.settings.konto);
        // The budget's index too, when the year keeps one.
        const std::filesystem::path budget = storage::resolveCaseBlind(
            context.state.dataDir, storage::budgetNameOfJournal(context.state.settings.hauptdatei));
        std::error_code absent;
        if (std::filesystem::is_regular_file(budget, absent)) {
            storage::indexreparatur(storage::YearTable::Budget, context.state.dataDir, budget.filename().string());
        }
    } catch (const storage::DbError&) {
        // Another process holds the year: the window must stay usable on it.
        reopen();
        throw;
    }
    reopen();
    context.services.prompt.message(platform::PromptKind::Information, std::string(kReorganized));
}

}  // namespace quendra::journal
