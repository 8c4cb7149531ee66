#pragma once

#include "platform/prompt.h"
#include "storage/dbase/cursor.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::accounts {

// The classes the chart editor offers, in the order of its choice ("Uscite", "Entrate",
// "Attiva", "Passiva"). The memo class V is not edited.
inline constexpr std::array<char, 4> kEditableClasses = {'A', 'E', 'C', 'P'};

// "Conti": the main accounts of the class; "Sottoconti": the sub-accounts of one of them.
enum class ChartView { MainAccounts, SubAccounts };

// What the editor tells the user.
inline constexpr std::string_view kCannotRenameStandard = "non puoi cambiare il causale";
inline constexpr std::string_view kCannotDeleteStandard = "non puoi cancellare questa causale!";
inline constexpr std::string_view kCannotDeleteLast = "non puoi cancellare l'ultima causale!";
inline constexpr std::string_view kNoMoreMainAccounts =
    "Non si può aggiungere un nuovo conto: i numeri dei conti di una classe arrivano fino a 89.";
inline constexpr std::string_view kNoMoreSubAccounts =
    "Non si può aggiungere un nuovo sottoconto: i numeri dei sottoconti di un conto arrivano fino a 89.";
// "Vuoi veramente cancellare il conto SPESE VARIE insieme con i sottoconti? "
std::string deleteMainAccountQuestion(std::string_view mainAccountText);

// The texts a new row starts with, for the user to overwrite.
inline constexpr std::string_view kNewMainAccountText = "immettere conto";
inline constexpr std::string_view kNewSubAccountText = "immettere sottoconto";
inline constexpr std::string_view kFirstSubAccountText = "Oggetto sottoconto";

// The class text a row's TEXTA gets: "Entrate", "Uscite", "Passiva" or "Attiva" after the
// class letter of the code; empty for any other class.
std::string_view classTextOf(std::string_view code);

// A row of the editor's list.
struct ChartEditorRow {
    std::string cod;
    std::string code;  // the "Code" column: A05 for HA0500, A0501 for blank + A0501
    std::string text;
    std::string texth;
    std::string texta;
    std::string codalfa;
    std::string k;
    std::string z;
    std::string close;
    std::string art;
};

// The text field while it is shown: the row it names and the text it starts with.
struct TextEditing {
    std::string cod;
    std::string text;
};

// The chart-of-accounts editor without its widgets: main accounts and sub-accounts of
// the current chart, class by class, added, renamed and deleted under the rules that
// protect the diocese's standard accounts (CLOSE "1"). Every change is stored at once.
// A view shows the numbers 01 to 89 (the range prefix … prefix + "9"); a 90th account is
// refused. Renaming or deleting a main account reaches all its sub-accounts, 90-99
// included, so none is left behind with a stale name or without its main account.
// Messages and the question before a main account goes are told through the prompt.
// Table errors are DbError; a failed store changes nothing of the editor's state.
class ChartEditor {
public:
    // Opens the chart shared in COD order on class "Uscite", view "Conti", first row.
    ChartEditor(const std::filesystem::path& chart, platform::Prompt& prompt);

    char currentClass() const { return class_; }
    ChartView view() const { return view_; }
    const std::vector<ChartEditorRow>& rows() const { return rows_; }
    std::optional<std::size_t> current() const { return current_; }
    const ChartEditorRow* currentRow() const { return current_ ? &rows_[*current_] : nullptr; }
    // The TEXT column's title: the class text of the main-account view, the main
    // account's name in the sub-account view.
    std::string textColumnTitle() const;
    const std::optional<TextEditing>& editing() const { return editing_; }
    // A main account was added and its first sub-account is yet to come.
    bool firstSubAccountPending() const { return firstSubAccountPending_; }

    // The class choice: its main accounts, from the first. Ignored while a text is edited.
    void chooseClass(char classLetter);
    // The view choice; the sub-accounts are those of the current main account. False
    // (nothing changes) when there is no main account to show them for, or while a text
    // is edited.
    bool chooseView(ChartView view);
    // Ignored while a text is edited: the field belongs to its row.
    void moveTo(std::size_t row);

    // "cambiamento": opens the text field on the current row, unless it is a standard
    // account other than a cash box or bank account of C01-C04.
    void startRename();
    // "nuovo": appends the next main account of the class or sub-account of the main
    // account and opens the text field on it.
    void addRow();
    // Leaving the text field: stores the text. A new main account gets its first
    // sub-account, which the field names next; a renamed main account passes its name
    // to its sub-accounts. Throws DbError (the text does not fit the field) and keeps
    // the field open.
    void finishText(std::string_view text);
    // "cancellare": deletes the current row, a main account with its sub-accounts after
    // asking, unless it is a standard account or the last row of its view.
    void deleteCurrent();

private:
    std::string viewPrefix() const;
    void showView(ChartView view, std::string_view positionOn);
    bool seek(std::string_view cod);
    void storeTexts(std::string_view text, std::string_view classText, bool mainAccount);
    void passNameToSubAccounts(std::string_view mainCod, std::string_view text, std::string_view classText);
    bool appendFirstSubAccount(std::string_view mainCod, std::string_view text, std::string_view classText);
    void deleteMainAccount(std::string_view cod);

    storage::Cursor chart_;
    platform::Prompt& prompt_;
    char class_ = 'A';
    ChartView view_ = ChartView::MainAccounts;
    std::string mainAccount_;      // the sub-account view's main account
    std::string mainAccountText_;  // and its name
    std::vector<ChartEditorRow> rows_;
    std::optional<std::size_t> current_;
    std::optional<TextEditing> editing_;
    bool firstSubAccountPending_ = false;
};

}  // namespace quendra::accounts
