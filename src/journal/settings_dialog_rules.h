#pragma once

#include "storage/page_layout.h"

#include <optional>
#include <string>
#include <string_view>

namespace quendra::journal {

// The checks of the settings dialog. Page margins are held as negative whole numbers in
// tenths of a millimetre below the top of the printable area, and shown in centimetres
// from the paper's edge, counting one centimetre for the unprintable top strip.

// The held value shown in centimetres ("#,.##"): -150 shows "2,5", -2700 "28".
std::string marginText(int held);
// Centimetres as typed ("2,5"; "2.5" is read the same) to the held value:
// 100 - cm x 100, to the nearest whole number. None for a text that is no number.
std::optional<int> heldMargin(std::string_view typed);
using storage::pageLayoutAccepted;

enum class ScaleOutcome { Unchanged, Changed, OutOfRange, NotANumber };
struct ScaleDecision {
    ScaleOutcome outcome;
    int value = 0;  // the new scale when Changed
};
inline constexpr int kMinScale = 50;
inline constexpr int kMaxScale = 150;
ScaleDecision decideScale(std::string_view typed, int currentScale);

// A font's character count as typed, with every "." and "," removed ("1.5" gives "15");
// none when what is left is no whole number above 0.
std::optional<std::string> characterCount(std::string_view typed);

inline constexpr std::string_view kRestartMessage =
    "Per eseguire le modificazioni devi chiudere il programma e attivarlo di nuovo";
inline constexpr std::string_view kScaleRangeMessage = "Inserisci un numero tra 50 e 150!";
inline constexpr std::string_view kPageLayoutMessage =
    "L'impaginazione non è corretta! Correggere le impostazioni o rimettere tutto su \"standard\". "
    "(La differenza tra margine sopra e sotto è troppo piccola)";
inline constexpr std::string_view kMarginNotANumberMessage =
    "Il margine deve essere un numero di centimetri, per esempio 2,5.";
inline constexpr std::string_view kCharacterCountMessage =
    "La dimensione dei caratteri deve essere un numero intero, per esempio 15 (5 = molto grande / 30 = molto "
    "piccolo).";

}  // namespace quendra::journal
