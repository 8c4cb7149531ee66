#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quendra::curia {

// A document of an archived year made by quendra-report in a child process, from copies
// in a scratch folder, so the archive is only read and a failing report cannot take the
// service down.
struct MadeDocument {
    std::string bytes;
    std::string error;  // Italian; empty on success
};

// kind: "bilancio", "giornale" (PDF) or "cartella" (xlsx). The journal and chart are
// copied under their year names; yearNumber is "202601".
MadeDocument makeDocument(const std::filesystem::path& reportProgram, std::string_view kind,
                          const std::filesystem::path& journal, const std::filesystem::path& chart,
                          const std::string& yearNumber);

}  // namespace quendra::curia
