#pragma once

#include <filesystem>

namespace quendra::storage {

struct DemoOptions {
    int year = 2015;
    int movements = 400;
    unsigned seed = 1;
};

// Makes dataDir a complete data directory the way the program would: the two templates
// (copied from templateDir unless it is dataDir itself), one year with its parish
// header row, opening rows for the cash box, the bank account, a bank loan and
// securities, the movements of the year on income and expense accounts through the cash
// boxes, some other-asset and bank-loan movements, and a few deleted rows, and a
// tovald.INI naming that year. No cash box or bank account ever goes below zero. The
// same seed gives the same files.
// Returns the journal's file name.
std::string makeDemoDataDirectory(const std::filesystem::path& dataDir, const std::filesystem::path& templateDir,
                                  const DemoOptions& options);

}  // namespace quendra::storage
