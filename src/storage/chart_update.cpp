#include "storage/chart_update.h"
#include "storage/dbase/open_table.h"

#include "storage/account_code.h"
#include "storage/chart_record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quendra::storage {

namespace {

// Every text the update writes exists in both languages of a chart.
struct Wording {
    std::string_view german;
    std::string_view italian;

    std::string_view in(ChartLanguage language) const {
        return language == ChartLanguage::Italian ? italian : german;
    }
};

constexpr std::string_view kItalianMarker = "Contributo sostentamento Clero";

constexpr Wording kDepositRefund{"Rückgabe Kautionen", "Rimborso cauzioni"};
constexpr Wording kExpenseClearing{"Verrechnungskonto AUSGABEN", "Conto compensazioni USCITE"};
constexpr Wording kIncomeClearing{"Verrechnungskonto EINNAHMEN", "Conto compensazioni ENTRATE"};
constexpr Wording kMassIntentions{"Messintentionen", "Intenzioni SS Messe"};
constexpr Wording kMaintenanceMoved{"Wartungsspesen -> A09", "spese manutenzioni -> A09"};
constexpr Wording kPlantMaintenance{"Wartungsspesen für Anlagen, Geräte",
                                    "spese manutenzioni impianti, attrezzature ecc."};
constexpr Wording kRestorationMoved{"Restaurierung bei -> A12", "Restauro -> A12"};
constexpr Wording kRestoration{"Restaurierung von Geräten, Paramenten, Bildern usw.",
                               "Restauro attrezzature, paramenti, quadri ecc."};
constexpr Wording kExtraordinaryExpenses{"Außerordentliche Ausgaben", "Spese straordinarie"};
constexpr Wording kOrdinaryIncome{"Verschiedene regelmäßige Einnahmen", "Entrate ordinarie varie"};
constexpr Wording kLiturgicalOfferings{"Spenden bei liturgischen Feiern", "Offerte celebrazioni liturgiche"};

// Appended accounts are either expense or income accounts.
struct AccountKind {
    char letter;  // class letter, also the kind letter of ART and CODALFA
    Wording classText;
};

constexpr AccountKind kExpense{kExpenseClass, {"AUSGABEN", "USCITE"}};
constexpr AccountKind kIncome{kIncomeClass, {"EINNAHMEN", "ENTRATE"}};

// The texts that every opening rewrites on the standard accounts that exist.
enum CorrectedField : unsigned { kOwnText = 1, kMainText = 2 };

struct Correction {
    std::string_view code;
    unsigned fields;
    Wording value;
};

// The Italian texts of A0701 and A0704 are shortened to fit the 60 characters of TEXT.
constexpr std::array kCorrections = {
    Correction{" A0909", kOwnText, {"- - -", "- - -"}},
    Correction{" E0501", kOwnText, {"Regelmäßige Beiträge von Gemeinde usw", "Contributi ordinarii dal comune ecc."}},
    Correction{" E0501", kMainText, kOrdinaryIncome},
    Correction{" E0502", kOwnText,
               {"Regelmäßige Beiträge von Banken usw.", "Contributi ordinarii da istituti bancari ecc."}},
    Correction{" E0502", kMainText, kOrdinaryIncome},
    Correction{"HE0500", kOwnText | kMainText, kOrdinaryIncome},
    Correction{" E0503", kMainText, kOrdinaryIncome},
    Correction{" E0504", kMainText, kOrdinaryIncome},
    Correction{" A0606", kOwnText,
               {"Kommunikationsmittel (Pfarrsender, Pfarrblatt)",
                "Mezzi di comunicazione (radio parrocchiale, bollettino ecc.)"}},
    Correction{" A0701", kOwnText,
               {"Für Pfarrhaushalt: Telefon, Strom, Wasser, Heizung",
                "Spese canonica: telefono, energia, riscaldamento, acqua ecc."}},
    Correction{" A0703", kOwnText,
               {"Für Kirche: Strom, Wasser, Heizung", "Spese chiesa: energia elettrica, riscaldamento, acqua ecc."}},
    Correction{" A0704", kOwnText,
               {"Für Pfarrheim: Telefon, Strom, Wasser, Heizung",
                "Spese oratorio: telefono, energia, riscaldamento, acqua ecc."}},
    Correction{" E0201", kMainText, kLiturgicalOfferings},
    Correction{" E0202", kMainText, kLiturgicalOfferings},
    Correction{"HE0200", kOwnText | kMainText, kLiturgicalOfferings},
};

constexpr std::string_view kNonBreakingSpace = "\u00A0";

std::string withoutNonBreakingSpaces(std::string_view text) {
    std::string cleaned;
    cleaned.reserve(text.size());
    while (!text.empty()) {
        if (text.starts_with(kNonBreakingSpace)) {
            cleaned += ' ';
            text.remove_prefix(kNonBreakingSpace.size());
        } else {
            cleaned += text.front();
            text.remove_prefix(1);
        }
    }
    return cleaned;
}

// The two-digit number after the one at position `at` of an anchor's code, when the
// anchor belongs to `family` and one more number still has two digits.
std::optional<std::string> followingNumber(std::string_view code, std::size_t at, std::string_view family) {
    if (!code.starts_with(family) || code.size() < at + 2) {
        return std::nullopt;
    }
    const char tens = code[at];
    const char units = code[at + 1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9') {
        return std::nullopt;
    }
    const int next = (tens - '0') * 10 + (units - '0') + 1;
    if (next > 99) {
        return std::nullopt;
    }
    return std::string{char('0' + next / 10), char('0' + next % 10)};
}

class ChartUpdate {
public:
    ChartUpdate(Cursor& table, ChartLanguage language) : chart_(table), language_(language) {}

    void cleanNonBreakingSpaces();
    void ensureDepositRefund();
    void ensureClearingAccounts(const Wording& clearing, std::string_view anchor, const AccountKind& kind);
    void regroupMaintenance();
    void correctTexts();

private:
    using FieldValue = std::pair<std::string_view, std::string>;

    bool findCode(std::string_view code) {
        return chart_.locate(chart::kCod, code, LocateOptions{.caseInsensitive = true});
    }
    bool isFree(std::string_view code) { return !findCode(code); }
    bool hasText(const Wording& text) {
        return chart_.locate(chart::kText, text.in(language_), LocateOptions{.caseInsensitive = true});
    }
    // The row just before the first code beginning with prefix; false when there is none.
    bool findRowBeforePrefix(std::string_view prefix) {
        chart_.findNearest(std::string(prefix));
        return !chart_.eof() && chart_.asText(chart::kCod).starts_with(prefix) && stepBack();
    }
    bool stepBack() {
        chart_.prior();
        return !chart_.bof();
    }
    // Stores the current row when one of the values differs from what it holds.
    void rewrite(const std::vector<FieldValue>& values);
    void appendAccount(const std::string& code, std::string_view text, std::string_view mainText,
                       const AccountKind& kind);

    Cursor& chart_;
    ChartLanguage language_;
};

void ChartUpdate::rewrite(const std::vector<FieldValue>& values) {
    bool editing = false;
    for (const auto& [field, value] : values) {
        if (chart_.asText(field) == value) {
            continue;
        }
        if (!editing) {
            chart_.edit();
            editing = true;
        }
        chart_.setText(field, value);
    }
    if (editing) {
        chart_.post();
    }
}

void ChartUpdate::appendAccount(const std::string& code, std::string_view text, std::string_view mainText,
                                const AccountKind& kind) {
    chart_.append();
    chart_.setText(chart::kCod, code);
    chart_.setText(chart::kText, text);
    chart_.setText(chart::kTextH, mainText);
    chart_.setText(chart::kTextA, kind.classText.in(language_));
    chart_.setText(chart::kCodAlfa, kind.letter + code.substr(1));
    chart_.setText(chart::kArt, std::string(1, kind.letter));
    chart_.setText(chart::kClose, chart::kStandardAccount);
    chart_.post();
}

void ChartUpdate::cleanNonBreakingSpaces() {
    // Positions first: cleaning a code moves its row in COD order.
    std::vector<std::uint32_t> rows;
    chart_.first();
    if (!chart_.eof()) {
        chart_.next();  // the parish header row keeps its texts as typed
    }
    for (; !chart_.eof(); chart_.next()) {
        rows.push_back(chart_.recordNumber());
    }
    for (const std::uint32_t recno : rows) {
        chart_.gotoRecord(recno);
        std::vector<FieldValue> cleaned;
        for (const std::string_view field : {chart::kText, chart::kTextH, chart::kTextA, chart::kCod}) {
            cleaned.emplace_back(field, withoutNonBreakingSpaces(chart_.asText(field)));
        }
        rewrite(cleaned);
    }
}

void ChartUpdate::ensureDepositRefund() {
    if (hasText(kDepositRefund) || !findRowBeforePrefix(" A07")) {
        return;
    }
    const auto number = followingNumber(chart_.asText(chart::kCod), 4, " A06");
    const std::string mainText = chart_.asText(chart::kTextH);
    if (number && isFree(" A06" + *number)) {
        appendAccount(" A06" + *number, kDepositRefund.in(language_), mainText, kExpense);
    }
}

void ChartUpdate::ensureClearingAccounts(const Wording& clearing, std::string_view anchor, const AccountKind& kind) {
    if (hasText(clearing) || !findRowBeforePrefix(anchor)) {
        return;
    }
    const auto group = followingNumber(chart_.asText(chart::kCod), 2, std::string{' ', kind.letter});
    if (!group) {
        return;
    }
    const std::string mainCode = mainAccountCode(kind.letter, *group);
    const std::string subCode = subAccountCode(kind.letter, *group, "01");
    if (isFree(mainCode) && isFree(subCode)) {
        appendAccount(mainCode, clearing.in(language_), clearing.in(language_), kind);
        appendAccount(subCode, kMassIntentions.in(language_), clearing.in(language_), kind);
    }
}

void ChartUpdate::regroupMaintenance() {
    if (!findCode(" A0705") || chart_.asText(chart::kText) == kMaintenanceMoved.in(language_)) {
        return;
    }
    rewrite({{chart::kText, std::string(kMaintenanceMoved.in(language_))}});
    if (findCode(" A0905")) {
        rewrite({{chart::kText, std::string(kPlantMaintenance.in(language_))}});
    }
    if (findCode(" A1002")) {
        rewrite({{chart::kText, std::string(kRestorationMoved.in(language_))}});
    }
    if (hasText(kRestoration) || !findCode(" A1301") || !stepBack()) {
        return;
    }
    const auto number = followingNumber(chart_.asText(chart::kCod), 4, " A12");
    if (number && isFree(" A12" + *number)) {
        appendAccount(" A12" + *number, kRestoration.in(language_), kExtraordinaryExpenses.in(language_), kExpense);
    }
}

void ChartUpdate::correctTexts() {
    for (const Correction& correction : kCorrections) {
        if (!findCode(correction.code)) {
            continue;
        }
        const std::string value(correction.value.in(language_));
        std::vector<FieldValue> values;
        if (correction.fields & kMainText) {
            values.emplace_back(chart::kTextH, value);
        }
        if (correction.fields & kOwnText) {
            values.emplace_back(chart::kText, value);
        }
        rewrite(values);
    }
}

}  // namespace

ChartLanguage chartLanguage(Cursor& table) {
    table.setOrder(chart::kCod);
    table.cancelRange();
    table.first();
    if (!table.eof()) {
        table.next();
    }
    const bool italian = !table.eof() && table.asText(chart::kTextH) == kItalianMarker;
    return italian ? ChartLanguage::Italian : ChartLanguage::German;
}

void kontrollekonto(Cursor& table) {
    // Also puts the cursor in COD order over the whole chart, which every step relies on.
    DeferredSync sync;  // the changed rows reach the disk together
    ChartUpdate update(table, chartLanguage(table));
    update.cleanNonBreakingSpaces();
    update.ensureDepositRefund();
    update.ensureClearingAccounts(kExpenseClearing, " C01", kExpense);
    update.ensureClearingAccounts(kIncomeClearing, " P01", kIncome);
    update.regroupMaintenance();
    update.correctTexts();
    table.first();
    sync.finish();
}

}  // namespace quendra::storage
