#pragma once

#include "storage/dbase/date.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::bankimport {

// The statement entries a year has taken, in a small table of its own beside the year's
// files ("ec" + year number + ".dbf"), one row per posted movement.
struct ImportedReference {
    std::string cashBox;
    std::string reference;
    storage::Date date;
    double amount = 0;
    long long number = 0;  // Nummer of the movement it became
};

std::filesystem::path referencesTable(const std::filesystem::path& dataDir, std::string_view yearNumber);

// The rows of the table; none when it does not exist yet.
std::vector<ImportedReference> readReferences(const std::filesystem::path& table);

// A reference as the table holds it: as it stands when it is short, printable ASCII,
// otherwise shortened and made unique again by a hash of the whole.
std::string storedReference(std::string_view reference);

// Appends one row (creating the table first when needed) and posts it.
void addReference(const std::filesystem::path& table, const ImportedReference& reference);

}  // namespace quendra::bankimport
