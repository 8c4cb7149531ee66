#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::platform {

// The argument of a program started by restartProgram: the program it replaces may still
// hold the data directory for a moment, so it waits for it instead of ending.
inline constexpr std::string_view kRestartArgument = "--riavvio";

// What the program asks of the desktop.
class Shell {
public:
    virtual ~Shell() = default;
    // The desktop's "open" action (a PDF reader for the manuals); the outcome is not examined.
    virtual void openDocument(const std::filesystem::path& file) = 0;
    // The default browser on a web address.
    virtual void openUrl(const std::string& url) = 0;
    // Where an installed program (a viewer) is found on the search path; none when it is
    // not installed.
    virtual std::optional<std::filesystem::path> findProgram(std::string_view name) const = 0;
    // Starts a program with these arguments beside this one; the outcome is not examined.
    virtual void startProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments) = 0;
    // Starts the program file anew (with kRestartArgument) and ends this run.
    virtual void restartProgram(const std::filesystem::path& program) = 0;
    // Ends the program at once.
    virtual void quit() = 0;
};

}  // namespace quendra::platform
