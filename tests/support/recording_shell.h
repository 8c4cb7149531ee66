#pragma once

#include "platform/shell.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quendra::test {

// A Shell that only remembers what it was asked to do.
class RecordingShell : public platform::Shell {
public:
    void openDocument(const std::filesystem::path& file) override { documents.push_back(file); }
    void openUrl(const std::string& url) override { urls.push_back(url); }
    void restartProgram(const std::filesystem::path& program) override { restarted.push_back(program); }
    void quit() override { ++quits; }

    std::vector<std::filesystem::path> documents;
    std::vector<std::string> urls;
    std::vector<std::filesystem::path> restarted;
    int quits = 0;
};

}  // namespace quendra::test
