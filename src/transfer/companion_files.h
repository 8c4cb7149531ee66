#pragma once

#include "state/main_state.h"
#include "transfer/download_area.h"
#include "transfer/net.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <string_view>

namespace quendra::transfer {

// A file of the download area that lives beside the program or in the data directory.
struct CompanionFile {
    std::string_view name;  // the same remotely and locally
    bool inDataDir;         // the templates; the documents are in the program directory
};

inline constexpr CompanionFile kGuidelines{"pf_indicazioni.pdf", false};
inline constexpr CompanionFile kManual{"quendra2015.pdf", false};
inline constexpr CompanionFile kJournalTemplateFile{"kr000000.dbf", true};
inline constexpr CompanionFile kChartTemplateFile{"kw000000.dbf", true};

// In the order the start-up looks for them and richtlinie fetches them.
inline constexpr std::array<CompanionFile, 4> kCompanionFiles = {kGuidelines, kManual, kJournalTemplateFile,
                                                                  kChartTemplateFile};

// Where the file is, or goes: its spelling on disk when one exists in any case.
std::filesystem::path localPath(const CompanionFile& file, const state::MainState& state);

// The longest the start-up waits for the companion files, all rounds together: a slow
// server must not keep the main window frozen.
inline constexpr std::chrono::milliseconds kStartupRefreshBound{8000};

// Downloads one companion file, signed, into its place. A template that was replaced
// loses its old index, which described the old table (the year dialog rebuilds it). A
// failed, unsigned or older download leaves the local file as it was.
SignedFetch fetchCompanionFile(Net& net, const state::MainState& state, const CompanionFile& file,
                               const FetchTerms& terms, const StatusCallback& status);

// Fetches the two documents and the two templates, none of a version older than the
// running program's; nothing is shown. True when at least one of them arrived. Without a
// web address, an update key or a readable installed version nothing is tried.
bool richtlinie(Net* net, const state::MainState& state, const StatusCallback& status, Deadline until = {});

// The start-up check: for each companion file missing at that moment, in order, all
// four are fetched again (so one good round satisfies the later checks). A round in
// which nothing arrived ends the check, so that a computer without a connection waits
// for the server once, not four times; and all rounds together end within bound.
void refreshMissingCompanionFiles(Net* net, const state::MainState& state, const StatusCallback& status,
                                  std::chrono::milliseconds bound = kStartupRefreshBound);

}  // namespace quendra::transfer
