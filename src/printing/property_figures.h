#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The figures of the property situation form: the parish's liquid means by cash-box
// group, its other assets and its liabilities by main account, at 1 January (opening
// rows, eroeffnung above 0) and at 31 December (all rows), with their sums.
namespace quendra::printing {

struct PropertyLine {
    std::string keyCode;  // grouping code of the group's first row, for its chart text
    std::string prefix;   // " C01"
    double opening = 0;   // as printed
    double yearEnd = 0;
};

struct PropertyColumns {
    double opening = 0;
    double yearEnd = 0;
};

struct PropertyFigures {
    std::vector<PropertyLine> liquid;       // by codd, signed
    std::vector<PropertyLine> otherAssets;  // by cod, sign turned
    std::vector<PropertyLine> liabilities;  // by cod, absolute
    PropertyColumns liquidSum;              // "Somma  liquidità"
    PropertyColumns otherSum;               // "Somma altro"
    PropertyColumns assets;                 // "SOMMA ATTIVA"
    PropertyColumns liabilitiesSum;         // "SOMMA PASSIVA"
    PropertyColumns net;                    // "ATTIVA - PASSIVA"
    double change = 0;                      // "Cambiamento anno precedente"
};

// Groups whose opening and year-end figures are both exactly 0 are left out. The other
// assets and the liabilities enter their totals as absolute values of each of their four
// sums, so "Somma altro" is the size of what the parish holds besides money.
PropertyFigures propertyFigures(const std::filesystem::path& journal);

}  // namespace quendra::printing
