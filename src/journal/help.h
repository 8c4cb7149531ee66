#pragma once

#include "state/main_state.h"
#include "platform/services.h"
#include "transfer/companion_files.h"

#include <optional>
#include <string>
#include <string_view>

// The help key and the manuals.
namespace quendra::journal {

inline constexpr std::string_view kHelpFile = "tovald2015.chm";
// The viewer that can open the help file at a context number.
inline constexpr std::string_view kHelpViewer = "xchm";

// Help context numbers of the windows and fields that have one.
inline constexpr int kHelpMainWindow = 1001;
inline constexpr int kHelpDateField = 1001;
inline constexpr int kHelpTextAndAmount = 1004;
inline constexpr int kHelpAccountAndCashBox = 1006;
inline constexpr int kHelpSettings = 4;
inline constexpr int kHelpPrinting = 3;
inline constexpr int kHelpCashBoxChoice = 5;

// "Il manuale "quendra2015.pdf" non è installato. …": where to get it.
std::string manualMissingMessage(std::string_view fileName);

// "manuale", "indicazioni": the document in the program directory goes to the desktop's
// "open" action; a missing one is told.
void openManual(const state::MainState& state, platform::Services& services, const transfer::CompanionFile& manual);

// The help key: the help file at the context (its start without one) when the file and
// its viewer are there, else the manual, else the message that the manual is missing.
void showHelp(const state::MainState& state, platform::Services& services, std::optional<int> context);

}  // namespace quendra::journal
