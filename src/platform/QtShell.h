#pragma once

#include "platform/shell.h"

namespace quendra::platform {

// The desktop behind the Shell seam.
class QtShell : public Shell {
public:
    void openDocument(const std::filesystem::path& file) override;
    void openUrl(const std::string& url) override;
    std::optional<std::filesystem::path> findProgram(std::string_view name) const override;
    void startProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments) override;
    void restartProgram(const std::filesystem::path& program) override;
    // Ends the message loop (and every modal loop in it) once control returns to it, so
    // that it also works before the loop has started.
    void quit() override;
};

}  // namespace quendra::platform
