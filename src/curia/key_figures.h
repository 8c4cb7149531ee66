#pragma once

#include <cstddef>
#include <filesystem>

// The figures a diocesan treasurer reads first, taken from the same computations that
// print the parish's annual report, so both always agree.
namespace quendra::curia {

struct KeyFigures {
    std::size_t movements = 0;      // rows of the journal
    double income = 0;              // "Entrate": SOMMA of the summary's income section
    double expense = 0;             // "Uscite": its SOMMA, as printed (income minus expense)
    double saldo = 0;               // "SALDO entrate/uscite"
    double totalLiquidity = 0;      // "TOTALE liquidità"
    double liquidityOpening = 0;    // "Somma  liquidità" at 1 January
    double liquidityYearEnd = 0;    // and at 31 December
    double otherAssets = 0;         // "Somma altro" at 31 December
    double assets = 0;              // "SOMMA ATTIVA" at 31 December
    double liabilities = 0;         // "SOMMA PASSIVA" at 31 December
    double net = 0;                 // "ATTIVA - PASSIVA" at 31 December
    double change = 0;              // "Cambiamento anno precedente"
};

// Throws DbError when the journal cannot be read.
KeyFigures keyFigures(const std::filesystem::path& journal);

}  // namespace quendra::curia
