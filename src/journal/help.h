#pragma once

#include "state/main_state.h"
#include "platform/services.h"
#include "transfer/companion_files.h"

#include <array>
#include <filesystem>
#include <optional>
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

// The program's own manual: HTML pages in this folder of the program directory.
inline constexpr std::string_view kManualFolder = "manuale";
inline constexpr std::string_view kManualContents = "index.html";

// A section of the manual: its page and the anchor inside it ("" for the page's top).
struct ManualPlace {
    std::string_view page;
    std::string_view anchor;
    friend bool operator==(const ManualPlace&, const ManualPlace&) = default;
};

struct HelpTopic {
    int context;
    ManualPlace place;
};

// Where each help context lands in the manual.
inline constexpr std::array<HelpTopic, 6> kHelpTopics = {{
    {kHelpMainWindow, {"movimenti.html", "finestra"}},
    {kHelpTextAndAmount, {"movimenti.html", "causale-importo"}},
    {kHelpAccountAndCashBox, {"movimenti.html", "conto-cassa"}},
    {kHelpSettings, {"impostazioni.html", ""}},
    {kHelpPrinting, {"stampa.html", ""}},
    {kHelpCashBoxChoice, {"piano-conti.html", "scelta"}},
}};

// The section of a help context; the contents for none or an unknown one.
ManualPlace manualPlace(std::optional<int> context);

// The manual's folder: in the program directory, else beside the program file.
std::filesystem::path manualFolder(const state::MainState& state);

// "Il manuale del programma non è installato …": its page is missing.
std::string builtInManualMissingMessage(const state::MainState& state);

// "manuale", "indicazioni": the diocese's document in the program directory goes to the
// desktop's "open" action. False when it is not there: the caller shows its own manual.
bool openManual(const state::MainState& state, platform::Services& services, const transfer::CompanionFile& manual);

// The help key: the diocese's help file at the context (its start without one) when the
// file and its viewer are there. False otherwise: the caller shows its own manual.
bool openHelpFile(const state::MainState& state, platform::Services& services, std::optional<int> context);

}  // namespace quendra::journal
