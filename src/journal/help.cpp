#include "journal/help.h"

#include "storage/year_files.h"

#include <system_error>

namespace quendra::journal {

namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

}  // namespace

std::string manualMissingMessage(std::string_view fileName) {
    return "Il manuale \"" + std::string(fileName) +
           "\" non è installato. Con \"UPDATE\" il programma lo scarica dal server della diocesi.";
}

void openManual(const state::MainState& state, platform::Services& services, const transfer::CompanionFile& manual) {
    const std::filesystem::path path = transfer::localPath(manual, state);
    if (isFile(path)) {
        services.shell.openDocument(path);
    } else {
        services.prompt.message(platform::PromptKind::Information, manualMissingMessage(manual.name));
    }
}

void showHelp(const state::MainState& state, platform::Services& services, std::optional<int> context) {
    const std::filesystem::path helpFile = storage::resolveCaseBlind(state.programDir, kHelpFile);
    if (isFile(helpFile)) {
        if (const std::optional<std::filesystem::path> viewer = services.shell.findProgram(kHelpViewer)) {
            std::vector<std::string> arguments;
            if (context) arguments.push_back("--contextid=" + std::to_string(*context));
            arguments.push_back(helpFile.string());
            services.shell.startProgram(*viewer, arguments);
            return;
        }
    }
    openManual(state, services, transfer::kManual);
}

}  // namespace quendra::journal
