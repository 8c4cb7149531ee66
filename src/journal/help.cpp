#include "journal/help.h"

#include "storage/program_home.h"
#include "storage/year_files.h"

#include <algorithm>
#include <system_error>

namespace quendra::journal {

namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

}  // namespace

ManualPlace manualPlace(std::optional<int> context) {
    const auto topic = std::find_if(kHelpTopics.begin(), kHelpTopics.end(),
                                    [&](const HelpTopic& t) { return context && t.context == *context; });
    if (topic == kHelpTopics.end()) return {kManualContents, ""};
    return topic->place;
}

std::filesystem::path manualFolder(const state::MainState& state) {
    // A system package keeps the manual in the installation, beside the program file.
    const std::filesystem::path own = state.programDir / kManualFolder;
    std::error_code ignored;
    if (std::filesystem::is_directory(own, ignored)) return own;
    return storage::installDirectory() / kManualFolder;
}

std::string builtInManualMissingMessage(const state::MainState& state) {
    return "Il manuale del programma non è installato: manca la cartella \"" + manualFolder(state).string() +
           "\". Reinstallare il programma.";
}

bool openManual(const state::MainState& state, platform::Services& services, const transfer::CompanionFile& manual) {
    const std::filesystem::path path = transfer::localPath(manual, state);
    if (!isFile(path)) return false;
    services.shell.openDocument(path);
    return true;
}

bool openHelpFile(const state::MainState& state, platform::Services& services, std::optional<int> context) {
    const std::filesystem::path helpFile = storage::resolveCaseBlind(state.programDir, kHelpFile);
    if (!isFile(helpFile)) return false;
    const std::optional<std::filesystem::path> viewer = services.shell.findProgram(kHelpViewer);
    if (!viewer) return false;
    std::vector<std::string> arguments;
    if (context) arguments.push_back("--contextid=" + std::to_string(*context));
    arguments.push_back(helpFile.string());
    services.shell.startProgram(*viewer, arguments);
    return true;
}

}  // namespace quendra::journal
