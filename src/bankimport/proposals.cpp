#include "bankimport/proposals.h"

#include "bankimport/account_suggestion.h"
#include "bankimport/imported_references.h"
#include "storage/account_code.h"
#include "storage/chart_record.h"
#include "storage/dbase/codepage.h"
#include "storage/dbase/cursor.h"
#include "storage/year_files.h"

#include <charconv>
#include <cmath>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace quendra::bankimport {

namespace kr = storage::journal;
using storage::Cursor;
using storage::Date;
using storage::OpenMode;

namespace {

long long cents(double amount) { return std::llround(amount * 100); }

std::size_t textWidth() {
    for (const storage::FieldDef& field : kr::fields()) {
        if (field.name == kr::kText) return field.length;
    }
    return 0;
}

std::set<std::string> chartCodes(const std::filesystem::path& chart) {
    std::set<std::string> codes;
    Cursor cursor(chart, OpenMode::Shared);
    for (cursor.first(); !cursor.eof(); cursor.next()) {
        const std::string code = cursor.asText(storage::chart::kCod);
        if (storage::isSubAccount(code)) codes.insert(code);
    }
    return codes;
}

// The previous year's journal with the highest running number; empty when none.
std::filesystem::path previousJournal(const ImportTarget& target) {
    const std::string previous = std::to_string(target.year() - 1);
    std::filesystem::path found;
    for (const std::string& name : storage::listJournals(target.dataDir)) {
        const auto number = storage::yearNumberOf(name);
        if (number && number->starts_with(previous)) found = target.dataDir / name;
    }
    return found;
}

struct BankRow {
    long long number;
    Date date;
    long long cents;
};

// What this year's journal says about the bank: its rows (for duplicates and for
// checking that an imported reference still stands in the journal) and its texts.
std::vector<BankRow> readBankRows(const std::filesystem::path& journal, const ImportTarget& target,
                                  const std::set<std::string>& codes, AccountSuggestion& suggestion,
                                  bool keepRows) {
    std::vector<BankRow> rows;
    Cursor cursor(journal, OpenMode::Shared);
    for (cursor.first(); !cursor.eof(); cursor.next()) {
        if (cursor.asText(kr::kCodd) != target.cashBox || kr::isOpeningRow(cursor.asInteger(kr::kEroeffnung))) continue;
        const std::string cod = cursor.asText(kr::kCod);
        if (codes.contains(cod) && cod != target.cashBox) suggestion.learn(cursor.asText(kr::kText), cod);
        if (!keepRows) continue;
        const std::optional<double> amount = kr::amount(cursor);
        if (amount) rows.push_back({cursor.asInteger(kr::kNummer), cursor.asDate(kr::kDatum), cents(*amount)});
    }
    return rows;
}

// Every UTF-8 character Windows-1252 cannot hold becomes "?".
std::string holdable(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) ++length;
        const std::string_view character = text.substr(i, length);
        if (storage::encodeFromUtf8(character, storage::CodePage::Windows1252)) out.append(character);
        else out.push_back('?');
        i += length;
    }
    return out;
}

}  // namespace

std::filesystem::path ImportTarget::journal() const {
    return storage::resolveCaseBlind(dataDir, storage::yearFileName(storage::YearTable::Journal, yearNumber));
}

std::filesystem::path ImportTarget::chart() const {
    return storage::resolveCaseBlind(dataDir, storage::yearFileName(storage::YearTable::Chart, yearNumber));
}

int ImportTarget::year() const {
    int value = 0;
    std::from_chars(yearNumber.data(), yearNumber.data() + std::min<std::size_t>(4, yearNumber.size()), value);
    return value;
}

std::string_view stateName(ProposalState state) {
    switch (state) {
        case ProposalState::Imported: return "importato";
        case ProposalState::Duplicate: return "doppio?";
        case ProposalState::New: break;
    }
    return "nuovo";
}

std::string journalText(std::string_view text) {
    const std::string whole = holdable(text);
    const std::size_t width = textWidth();
    if (storage::utf8Length(whole) <= width) return whole;
    // The byte where character number `width` starts.
    std::size_t end = 0;
    for (std::size_t characters = 0; end < whole.size(); ++end) {
        if ((static_cast<unsigned char>(whole[end]) & 0xC0) == 0x80) continue;
        if (characters++ == width) break;
    }
    const std::size_t blank = whole.rfind(' ', end);
    const std::size_t cut = blank == std::string::npos || blank == 0 ? end : blank;
    std::string kept = whole.substr(0, cut);
    while (!kept.empty() && kept.back() == ' ') kept.pop_back();
    return kept;
}

bool isCashBoxOfChart(const ImportTarget& target) {
    return storage::isLiquid(target.cashBox) && storage::isSubAccount(target.cashBox) &&
           chartCodes(target.chart()).contains(target.cashBox);
}

std::vector<CashBox> cashBoxesOfChart(const std::filesystem::path& chart) {
    std::vector<CashBox> boxes;
    Cursor cursor(chart, OpenMode::Shared);
    cursor.setOrder("cod");
    for (cursor.first(); !cursor.eof(); cursor.next()) {
        const std::string code = cursor.asText(storage::chart::kCod);
        if (storage::isSubAccount(code) && storage::isLiquid(code)) boxes.push_back({code, cursor.asText(storage::chart::kText)});
    }
    return boxes;
}

std::vector<Proposal> propose(const Statement& statement, const ImportTarget& target) {
    const std::set<std::string> codes = chartCodes(target.chart());
    AccountSuggestion suggestion;
    if (const std::filesystem::path previous = previousJournal(target); !previous.empty()) {
        readBankRows(previous, target, codes, suggestion, false);
    }
    const std::vector<BankRow> rows = readBankRows(target.journal(), target, codes, suggestion, true);

    // A reference counts while its movement still stands in the journal as it was
    // posted: a journal restored from a backup gets those entries proposed again.
    std::unordered_map<long long, const BankRow*> byNumber;
    for (const BankRow& row : rows) byNumber.emplace(row.number, &row);
    std::unordered_set<std::string> imported;
    std::unordered_set<long long> importedNumbers;
    for (const ImportedReference& reference : readReferences(referencesTable(target.dataDir, target.yearNumber))) {
        const auto row = byNumber.find(reference.number);
        if (reference.cashBox != target.cashBox || row == byNumber.end() || row->second->date != reference.date ||
            row->second->cents != cents(reference.amount)) {
            continue;
        }
        imported.insert(reference.reference);
        importedNumbers.insert(reference.number);
    }
    // Movements typed by hand, by amount.
    std::unordered_map<long long, std::vector<Date>> typed;
    for (const BankRow& row : rows) {
        if (!importedNumbers.contains(row.number)) typed[row.cents].push_back(row.date);
    }

    std::vector<Proposal> proposals;
    proposals.reserve(statement.entries.size());
    for (const StatementEntry& entry : statement.entries) {
        Proposal proposal;
        proposal.entry = entry;
        proposal.text = journalText(entry.text);
        proposal.side = entry.credit ? kr::Side::Entrata : kr::Side::Uscita;
        proposal.cod = suggestion.suggest(entry.text);
        if (imported.contains(storedReference(entry.reference))) {
            proposal.state = ProposalState::Imported;
        } else if (const auto same = typed.find(cents(entry.amount)); same != typed.end()) {
            for (const Date date : same->second) {
                if (std::abs(date.julianDay() - entry.booking.julianDay()) <= kDuplicateDays) {
                    proposal.state = ProposalState::Duplicate;
                }
            }
        }
        proposal.ticked = proposal.state == ProposalState::New && !proposal.cod.empty();
        proposals.push_back(std::move(proposal));
    }
    return proposals;
}

}  // namespace quendra::bankimport
