#pragma once

#include "curia/transmission_name.h"

#include <cstdint>
#include <filesystem>

// The files of one transmission in the folder the FTP server writes into.
namespace quendra::curia {

// Nothing larger is read: a journal of some 400.000 movements, a chart, a short text.
inline constexpr std::uintmax_t kMaxJournalBytes = std::uintmax_t(64) << 20;
inline constexpr std::uintmax_t kMaxChartBytes = std::uintmax_t(4) << 20;
inline constexpr std::uintmax_t kMaxInfoBytes = std::uintmax_t(64) << 10;
inline constexpr std::uintmax_t kMaxBudgetBytes = std::uintmax_t(1) << 20;

inline constexpr std::string_view kInfoFileName = "info.txt";

enum class Arrival { Missing, TooLarge, Present };

struct ArrivedFile {
    std::filesystem::path path;  // in the inbox, the name built from the code
    Arrival state = Arrival::Missing;
    std::uintmax_t size = 0;
};

struct Arrived {
    ArrivedFile journal, chart, info;
    ArrivedFile budget;  // sent only by a year that has one

    bool complete() const {
        return journal.state == Arrival::Present && chart.state == Arrival::Present && info.state == Arrival::Present;
    }
    bool anything() const {
        return journal.state != Arrival::Missing || chart.state != Arrival::Missing || info.state != Arrival::Missing ||
               budget.state != Arrival::Missing;
    }
};

// The files of one transmission to be read; budget empty when none was sent.
struct FiledFiles {
    std::filesystem::path journal, chart, info, budget;
};

// Looks for code + kr, code + kw, code + "info.txt" and code + the budget's name (names
// compared case-blind). Only
// regular files count: a link or a folder under such a name is missing.
Arrived lookInInbox(const std::filesystem::path& inbox, const TransmissionName& name);

// The file's bytes, at most limit of them; throws CuriaError when it cannot be read or
// has grown past the limit meanwhile.
std::string readLimited(const std::filesystem::path& file, std::uintmax_t limit);

}  // namespace quendra::curia
