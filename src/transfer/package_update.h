#pragma once

#include "state/main_state.h"
#include "platform/services.h"
#include "transfer/net.h"
#include "transfer/program_update.h"
#include "transfer/update_progress.h"

#include <string>
#include <string_view>

namespace quendra::transfer {

// The messages of the update of a system package, exactly as shown.
std::string packageUpdateOfferText(std::string_view installed, std::string_view published,
                                   const storage::ServerSettings& server);
std::string packageUpdateDoneText(std::string_view published, const storage::ServerSettings& server);
std::string packageUpdateFailedText(const std::vector<std::string>& failed, const storage::ServerSettings& server);

// The update of a program the user may not replace (a system package): the newer version
// is announced with the administration's download page and, when the user agrees, the
// templates and the manuals are refreshed in the program directory (the user's data
// folder) and the page opens in the browser. Nothing is downloaded over the program and
// nothing restarts: the new program comes with the new package.
UpdateOutcome announcePackageUpdate(const state::MainState& state, platform::Services& services,
                                    std::string_view installed, std::string_view published,
                                    double publishedNumber, UpdateProgress& progress, const StatusCallback& status);

}  // namespace quendra::transfer
