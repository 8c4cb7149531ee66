#pragma once

#include "platform/shell.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quendra::test {

// A Shell that only remembers what it was asked to do; it knows the programs put into
// installed.
class RecordingShell : public platform::Shell {
public:
    void openDocument(const std::filesystem::path& file) override { documents.push_back(file); }
    void openUrl(const std::string& url) override { urls.push_back(url); }
    std::optional<std::filesystem::path> findProgram(std::string_view name) const override {
        const auto found = installed.find(std::string(name));
        if (found == installed.end()) return std::nullopt;
        return found->second;
    }
    void startProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments) override {
        std::vector<std::string> line{program.string()};
        line.insert(line.end(), arguments.begin(), arguments.end());
        started.push_back(line);
    }
    void restartProgram(const std::filesystem::path& program) override { restarted.push_back(program); }
    void quit() override { ++quits; }

    std::vector<std::filesystem::path> documents;
    std::vector<std::string> urls;
    std::map<std::string, std::filesystem::path> installed;  // programs findProgram knows
    std::vector<std::vector<std::string>> started;           // program, then its arguments
    std::vector<std::filesystem::path> restarted;
    int quits = 0;
};

}  // namespace quendra::test
