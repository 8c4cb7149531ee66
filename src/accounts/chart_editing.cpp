#include "accounts/chart_editing.h"

#include "storage/account_code.h"
#include "storage/chart_record.h"
#include "storage/dbase/text_case.h"

#include <algorithm>
#include <charconv>

namespace quendra::accounts {

namespace {

using storage::Cursor;
namespace chart = storage::chart;

// A view's range ends at prefix + "9": numbers 90-99 lie above it.
constexpr int kLastNumber = 89;

std::string twoDigits(int n) { return std::string{char('0' + n / 10), char('0' + n % 10)}; }

// The running number of a code within its view: the group of a main account, the
// sub-account number of a sub-account; 0 when it is no two-digit number.
int numberOf(std::string_view cod) {
    const std::string_view digits =
        storage::isMainAccount(cod) ? storage::groupNumber(cod) : storage::subAccountNumber(cod);
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.size() != 2 || error != std::errc() || end != digits.data() + digits.size()) return 0;
    return number;
}

// The sub-accounts of a main account: " " + class and group.
std::string subAccountPrefix(std::string_view mainCod) {
    return storage::kSubAccountMarker + std::string(storage::classAndGroup(mainCod));
}

ChartEditorRow readRow(const Cursor& row, ChartView view) {
    ChartEditorRow out;
    out.cod = row.asText(chart::kCod);
    const std::string_view cod = out.cod;
    out.code = view == ChartView::MainAccounts ? std::string(storage::classAndGroup(cod))
                                               : std::string(cod.substr(std::min<std::size_t>(1, cod.size()), 5));
    out.text = row.asText(chart::kText);
    out.texth = row.asText(chart::kTextH);
    out.texta = row.asText(chart::kTextA);
    out.codalfa = row.asText(chart::kCodAlfa);
    out.k = row.asText(chart::kK);
    out.z = row.asText(chart::kZ);
    out.close = row.asText(chart::kClose);
    out.art = row.asText(chart::kArt);
    return out;
}

// Posts the edit or append begun by the caller, or drops it when a value does not fit.
template <typename Fill>
void store(Cursor& cursor, Fill fill) {
    try {
        fill();
        cursor.post();
    } catch (...) {
        cursor.cancel();
        throw;
    }
}

}  // namespace

std::string deleteMainAccountQuestion(std::string_view mainAccountText) {
    return "Vuoi veramente cancellare il conto " + storage::toUpperUtf8(mainAccountText) + " insieme con i sottoconti? ";
}

std::string_view classTextOf(std::string_view code) {
    // The letters are tried in this order and the last one found wins.
    std::string_view text;
    for (const char letter : {storage::kIncomeClass, storage::kExpenseClass, storage::kLiabilityClass,
                              storage::kAssetClass}) {
        if (code.find(letter) != std::string_view::npos) text = storage::className(letter);
    }
    return text;
}

ChartEditor::ChartEditor(const std::filesystem::path& chartPath, platform::Prompt& prompt)
    : chart_(chartPath, storage::OpenMode::Shared), prompt_(prompt) {
    chart_.setOrder(chart::kCod);
    showView(ChartView::MainAccounts, {});
}

std::string ChartEditor::textColumnTitle() const {
    if (view_ == ChartView::MainAccounts) {
        return rows_.empty() ? std::string(storage::className(class_)) : rows_.front().texta;
    }
    return rows_.empty() ? mainAccountText_ : rows_.front().texth;
}

std::string ChartEditor::viewPrefix() const {
    if (view_ == ChartView::MainAccounts) return std::string{storage::kMainAccountMarker, class_};
    return subAccountPrefix(mainAccount_);
}

void ChartEditor::showView(ChartView view, std::string_view positionOn) {
    view_ = view;
    const std::string prefix = viewPrefix();
    chart_.setRange(prefix, prefix + "9");
    std::vector<ChartEditorRow> rows;
    for (; !chart_.eof(); chart_.next()) rows.push_back(readRow(chart_, view));
    rows_ = std::move(rows);
    current_.reset();
    if (rows_.empty()) return;
    const auto found = std::find_if(rows_.begin(), rows_.end(), [&](const ChartEditorRow& r) { return r.cod == positionOn; });
    current_ = found == rows_.end() ? 0 : std::size_t(found - rows_.begin());
}

bool ChartEditor::seek(std::string_view cod) {
    chart_.cancelRange();
    return chart_.findKey(std::string(cod));
}

void ChartEditor::chooseClass(char classLetter) {
    if (editing_) return;
    class_ = classLetter;
    showView(ChartView::MainAccounts, {});
}

bool ChartEditor::chooseView(ChartView view) {
    if (editing_) return false;
    const ChartEditorRow* row = currentRow();
    if (view == ChartView::MainAccounts) {
        const std::string positionOn = view_ == ChartView::SubAccounts ? mainAccount_ : row ? row->cod : std::string();
        showView(view, positionOn);
        return true;
    }
    if (view_ == ChartView::MainAccounts) {
        if (!row) return false;
        mainAccount_ = row->cod;
        mainAccountText_ = row->text;
        showView(view, {});
        return true;
    }
    showView(view, row ? row->cod : std::string());
    return true;
}

void ChartEditor::moveTo(std::size_t row) {
    if (!editing_ && row < rows_.size()) current_ = row;
}

void ChartEditor::startRename() {
    const ChartEditorRow* row = currentRow();
    if (editing_ || !row) return;
    const bool cashBox = storage::isSubAccount(row->cod) && storage::isLiquid(row->cod);
    if (row->close == chart::kStandardAccount && !cashBox) {
        prompt_.message(platform::PromptKind::Warning, std::string(kCannotRenameStandard));
        return;
    }
    editing_ = TextEditing{row->cod, row->text};
}

void ChartEditor::addRow() {
    if (editing_) return;
    const bool mainAccount = view_ == ChartView::MainAccounts;
    const std::string prefix = viewPrefix();
    int last = 0;
    for (const ChartEditorRow& row : rows_) last = std::max(last, numberOf(row.cod));
    if (last + 1 > kLastNumber) {
        prompt_.message(platform::PromptKind::Warning,
                        std::string(mainAccount ? kNoMoreMainAccounts : kNoMoreSubAccounts));
        return;
    }
    const std::string cod = prefix + twoDigits(last + 1) + (mainAccount ? "00" : "");
    const std::string_view placeholder = mainAccount ? kNewMainAccountText : kNewSubAccountText;
    chart_.append();
    store(chart_, [&] {
        chart_.setText(chart::kCod, cod);
        chart_.setText(chart::kText, placeholder);
        if (!mainAccount) {
            chart_.setText(chart::kTextH, mainAccountText_);
            // The class text proper follows when the name is stored.
            const bool expense = prefix.find(storage::kExpenseClass) != std::string::npos;
            chart_.setText(chart::kTextA, storage::className(expense ? storage::kExpenseClass : storage::kIncomeClass));
        }
    });
    firstSubAccountPending_ = mainAccount;
    editing_ = TextEditing{cod, std::string(placeholder)};
    showView(view_, cod);
}

void ChartEditor::storeTexts(std::string_view text, std::string_view classText, bool mainAccount) {
    chart_.edit();
    store(chart_, [&] {
        chart_.setText(chart::kText, text);
        if (mainAccount) chart_.setText(chart::kTextH, text);
        chart_.setText(chart::kTextA, classText);
    });
}

void ChartEditor::passNameToSubAccounts(std::string_view mainCod, std::string_view text, std::string_view classText) {
    const std::string prefix = subAccountPrefix(mainCod);
    chart_.setRange(prefix, storage::prefixRangeEnd(prefix));
    for (; !chart_.eof(); chart_.next()) {
        chart_.edit();
        store(chart_, [&] {
            chart_.setText(chart::kTextH, text);
            chart_.setText(chart::kTextA, classText);
        });
    }
}

bool ChartEditor::appendFirstSubAccount(std::string_view mainCod, std::string_view text, std::string_view classText) {
    const std::string cod = subAccountPrefix(mainCod) + "01";
    // Left over from elsewhere, it is already the main account's (its name was passed on).
    if (seek(cod)) return false;
    chart_.append();
    store(chart_, [&] {
        chart_.setText(chart::kCod, cod);
        chart_.setText(chart::kText, kFirstSubAccountText);
        chart_.setText(chart::kTextH, text);
        chart_.setText(chart::kTextA, classText);
    });
    return true;
}

void ChartEditor::finishText(std::string_view text) {
    if (!editing_) return;
    const std::string cod = editing_->cod;
    const bool mainAccount = storage::isMainAccount(cod);
    if (!seek(cod)) {
        // Gone under us: there is nothing left to name.
        editing_.reset();
        firstSubAccountPending_ = false;
        showView(view_, {});
        return;
    }
    const std::string_view classText = classTextOf(cod);
    storeTexts(text, classText, mainAccount);
    if (!mainAccount) {
        editing_.reset();
        showView(view_, cod);
        return;
    }
    passNameToSubAccounts(cod, text, classText);
    if (!firstSubAccountPending_) {
        editing_.reset();
        showView(ChartView::MainAccounts, cod);
        return;
    }
    const bool appended = appendFirstSubAccount(cod, text, classText);
    firstSubAccountPending_ = false;
    mainAccount_ = cod;
    mainAccountText_ = std::string(text);
    const std::string first = subAccountPrefix(cod) + "01";
    editing_.reset();
    if (appended) editing_ = TextEditing{first, std::string(kFirstSubAccountText)};
    showView(ChartView::SubAccounts, first);
}

void ChartEditor::deleteMainAccount(std::string_view cod) {
    chart_.deleteRecord();
    const std::string prefix = subAccountPrefix(cod);
    chart_.setRange(prefix, storage::prefixRangeEnd(prefix));
    while (!chart_.eof()) chart_.deleteRecord();
}

void ChartEditor::deleteCurrent() {
    if (editing_) return;
    const ChartEditorRow* row = currentRow();
    if (row && row->close == chart::kStandardAccount) {
        prompt_.message(platform::PromptKind::Warning, std::string(kCannotDeleteStandard));
        return;
    }
    if (!row || rows_.size() <= 1) {
        prompt_.message(platform::PromptKind::Warning, std::string(kCannotDeleteLast));
        return;
    }
    const ChartEditorRow doomed = *row;
    const std::size_t at = *current_;
    if (!seek(doomed.cod)) {
        showView(view_, {});
        return;
    }
    if (storage::isMainAccount(doomed.cod)) {
        if (!prompt_.askBeforeLoss(platform::PromptKind::Confirmation, deleteMainAccountQuestion(doomed.text))) {
            showView(view_, doomed.cod);
            return;
        }
        deleteMainAccount(doomed.cod);
        class_ = kEditableClasses.front();
        showView(ChartView::MainAccounts, {});
        return;
    }
    // The list stays where it was: on the next row, or the one before at the end.
    const std::string positionOn = at + 1 < rows_.size() ? rows_[at + 1].cod : rows_[at - 1].cod;
    chart_.deleteRecord();
    showView(view_, positionOn);
}

}  // namespace quendra::accounts
