#pragma once

// A demo year made by quendra-db, and the platform a benchmark works on it with: every
// question answered yes, a fixed day, no desktop to open anything on.

#include "platform/services.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::bench {

struct YesPrompt : platform::Prompt {
    void message(platform::PromptKind, const std::string&) override {}
    bool ask(platform::PromptKind, const std::string&) override { return true; }
    bool askBeforeLoss(platform::PromptKind, const std::string&) override { return true; }
    bool confirm(const std::string&) override { return true; }
};

struct FixedClock : platform::Clock {
    storage::Date today() const override { return storage::Date::fromYmd(2026, 6, 15); }
    std::chrono::system_clock::time_point now() const override { return {}; }
};

struct NoShell : platform::Shell {
    void openDocument(const std::filesystem::path&) override {}
    void openUrl(const std::string&) override {}
    std::optional<std::filesystem::path> findProgram(std::string_view) const override { return std::nullopt; }
    void startProgram(const std::filesystem::path&, const std::vector<std::string>&) override {}
    void restartProgram(const std::filesystem::path&) override {}
    void quit() override {}
};

// A demo year of that many movements made by quendra-db in dir (kr202601, kw202601).
void makeDemoYear(const std::filesystem::path& dir, int movements);

}  // namespace quendra::bench
