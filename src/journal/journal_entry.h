#pragma once

#include "state/main_state.h"
#include "platform/services.h"
#include "journal/year_cursors.h"
#include "storage/journal_record.h"

#include <string>
#include <string_view>

namespace quendra::journal {

// What the journal entry works on: the main window's state, the platform, and the
// cursors of the open year. Every step writes the journal row and posts it at once.
struct EntryContext {
    state::MainState& state;
    platform::Services& services;
    YearCursors& year;
};

inline constexpr std::string_view kAskNewRecord = "vuol aggiungere un nuovo record?";
inline constexpr std::string_view kAskDelete = "Vuol cancellare questo record? ";
inline constexpr std::string_view kAskDeleteSure = "Sicuro? ";
inline constexpr std::string_view kConfirmListDelete = "Delete record?";
inline constexpr std::string_view kReorganized = "l'esercizio è stato riorganizzato!";

// How a step that takes typed text ended.
enum class StepResult {
    Stored,      // written and posted
    Invalid,     // the text could not be read; the row is unchanged and the user was told
    OpenPicker,  // written and posted, and the account picker must open
    NoRow,       // the journal has no current row: nothing to do
};

// "&nuovo record": asks, and on yes appends the next number on the last row's date with
// the account and cash box of the row that was current. Adding mode follows the answer.
// True when a row was added (it is then the journal's current row, in Nummer order).
bool newMovement(EntryContext& context);

// A movement complete in every field, as another program part hands it over (the bank
// statement's import).
struct CompleteMovement {
    storage::Date date;
    std::string cod;
    std::string codd;
    std::string text;
    storage::journal::Side side = storage::journal::Side::Uscita;
    double amount = 0;
};

// Appends the movement with the next number, as "&nuovo record" numbers it, its amount
// on its side, and posts it. The journal is left in Nummer order on the new row.
// Returns the number.
long long appendMovement(storage::Cursor& journal, const CompleteMovement& movement);

// "&elimina record": deletes the current row after two yes answers. The title line shows
// the new count in every case. True when a row was deleted.
bool deleteMovement(EntryContext& context);

// The list's own delete (Ctrl+Del): one OK/Cancel confirmation; the title keeps its count.
bool deleteMovementFromList(EntryContext& context);

// "data" left with this text (dd.mm.yyyy). An impossible date makes the proposed date
// today.
StepResult storeDate(EntryContext& context, std::string_view text);
// A date chosen in the date picker.
void storeChosenDate(EntryContext& context, storage::Date date);
// "causale".
void storeText(EntryContext& context, std::string_view text);
// "codice" left with the five typed characters. A code the chart lacks is stored all the
// same ("A0000" as the default account) and answers OpenPicker.
StepResult storeAccount(EntryContext& context, std::string_view typed);
// "cassa" left with the five typed characters; OpenPicker as for the account, and also
// when the cash box is empty.
StepResult storeCashBox(EntryContext& context, std::string_view typed);
// The amount left with this text ("1.250,00"). An undecided side is decided from the
// account's class first (A and P are uscita).
StepResult storeAmount(EntryContext& context, std::string_view text);
// After the account picker: an undecided side is decided from the account's class
// (A and C are uscita).
void decideSideAfterPicker(EntryContext& context);
// "entrata" / "uscita": the amount moves to the chosen side.
void switchSide(EntryContext& context, storage::journal::Side side);

enum class ListOrder { ByNumber, ByCode, ByDate };
inline constexpr std::string_view kListOrderNames[] = {"lista secondo numeri", "lista secondo codice",
                                                       "lista secondo data"};
// Orders the journal (and the list's cursor); the current row stays current.
void setListOrder(EntryContext& context, ListOrder order);

// "RIORGANIZZAZIONE": closes the cursors, rebuilds the journal's and the chart's indexes
// (and the budget's, when the year has one), reopens and says so.
// MissingYearFile propagates: the program cannot go on.
void reorganize(EntryContext& context);

}  // namespace quendra::journal
