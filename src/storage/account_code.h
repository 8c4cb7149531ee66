#pragma once

#include <string>
#include <string_view>

namespace quendra::storage {

// An account code is six characters: level marker (' ' sub-account, 'H' main account),
// class letter, two-digit group, two-digit sub-account ("00" on a main account). Codes
// compare as plain byte strings, so every sub-account sorts before every main account.
// The operations below never throw: on a code shorter than expected they answer with
// the characters that are there (possibly none).

inline constexpr std::size_t kCodeLength = 6;
inline constexpr char kSubAccountMarker = ' ';
inline constexpr char kMainAccountMarker = 'H';

inline constexpr char kExpenseClass = 'A';
inline constexpr char kIncomeClass = 'E';
inline constexpr char kAssetClass = 'C';
inline constexpr char kLiabilityClass = 'P';
inline constexpr char kMemoClass = 'V';  // listed with the others, never text-aligned

inline constexpr std::string_view kDefaultAccount = " A0101";
inline constexpr std::string_view kDefaultCashBox = " C0201";
// Written into an entry whose cash box is still empty once its account is chosen.
inline constexpr std::string_view kPlaceholderCashBox = "CC0101";
inline constexpr std::string_view kParishHeaderCode = "  PFAR";
// Typing this account stores kDefaultAccount instead.
inline constexpr std::string_view kTypedDefaultAccount = "A0000";

// Split.
char classLetter(std::string_view code);               // character 2, '\0' when absent
std::string_view groupNumber(std::string_view code);   // characters 3-4
std::string_view subAccountNumber(std::string_view code);  // characters 5-6
std::string_view groupPrefix(std::string_view code);   // characters 1-4: " A07"
std::string_view classAndGroup(std::string_view code); // characters 2-4: "A07"

bool isSubAccount(std::string_view code);   // starts with the blank marker
bool isMainAccount(std::string_view code);  // starts with "H"

// Compose.
std::string subAccountCode(char classLetter, std::string_view group, std::string_view sub);
std::string mainAccountCode(char classLetter, std::string_view group);
// The five characters typed into a masked code field, as stored: " " + typed, except
// that "A0000" stores the default account " A0101".
std::string storedFromTyped(std::string_view typed);
// What a masked code field shows for a stored code: characters 2-6 ("CC0101" -> "C0101").
std::string_view typedFromStored(std::string_view stored);

// The upper end of a key range that holds every code starting with prefix: prefix +
// "x9x". ('x' sorts after every digit, so the range reaches sub-accounts 90-99 too.)
std::string prefixRangeEnd(std::string_view prefix);

// Class C, group 01-04: the cash boxes and bank accounts.
bool isLiquid(std::string_view code);

// The name the program shows for a class letter: "Uscite", "Entrate", "Attiva",
// "Passiva"; empty for any other letter.
std::string_view className(char classLetter);

// The four kinds of chart rows. A row is a type row when its K lies in "10".."90".
enum class ChartRowKind { ParishHeader, Type, MainAccount, SubAccount, Other };
ChartRowKind chartRowKind(std::string_view cod, std::string_view k);

// Main window's cash-box line: TEXTH in upper case, " -> ", TEXT.
std::string cashBoxDescription(std::string_view texth, std::string_view text);

// Query conditions: `field like " C01%" or ... " C04%"` (the liquid accounts), and every
// asset sub-account outside those groups. Bracket them when combining with "and".
std::string liquidityFilter(std::string_view field = "codd");
std::string otherAssetsFilter(std::string_view field = "cod");

}  // namespace quendra::storage
