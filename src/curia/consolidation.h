#pragma once

#include "curia/archive.h"
#include "curia/key_figures.h"
#include "curia/parish_register.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The diocese's year: every parish's key figures from its current transmission, read one
// parish at a time so that memory holds figures, never rows.
namespace quendra::curia {

struct ConsolidatedParish {
    std::string key, name, place, deanery;
    KeyFigures figures;
};

struct ParishWarning {
    std::string name, place, deanery;
    std::string text;
};

struct Consolidation {
    std::string year;
    std::vector<ConsolidatedParish> parishes;  // by deanery, then name and place
    std::vector<ParishWarning> warnings;
    std::vector<RegisteredParish> missing;     // of the register, nothing sent for the year
};

// Called after each parish with the number done and the number to do.
using ConsolidationProgress = std::function<void(std::size_t done, std::size_t total)>;

// A parish whose tables cannot be read any more is left out of the figures and named
// among the warnings.
Consolidation consolidate(const std::filesystem::path& archive, const std::string& year,
                          const std::vector<RegisteredParish>& parishes, const ConsolidationProgress& progress = {});

// The sums of a run of parishes (movements and every amount, added in order).
KeyFigures sumOf(const std::vector<ConsolidatedParish>& parishes, std::size_t from, std::size_t to);

// A deanery's run of parishes [first, end) in Consolidation::parishes and their sums.
struct DeanerySum {
    std::string deanery;
    std::size_t first = 0, end = 0;
    KeyFigures sum;
};
std::vector<DeanerySum> deanerySums(const Consolidation& consolidation);

// Sheets "Parrocchie" (a row per parish, a subtotal per deanery, the diocese's total),
// "Avvisi" and "Mancanti". Throws ExportError.
void saveConsolidationWorkbook(const Consolidation& consolidation, const std::filesystem::path& target);

}  // namespace quendra::curia
