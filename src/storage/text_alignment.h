#pragma once

#include <filesystem>

namespace quendra::storage {

// Copies the text of every main account of a chart into TEXTH of its sub-accounts, so
// that the invariant "TEXTH of a sub-account = TEXT of its main account" holds again.
// Non-breaking spaces are dropped from the main account's text; a sub-account's TEXTH
// is compared only up to its first non-breaking space, so a note after one survives.
// Class V is left alone. Opens the chart shared; throws DbError.
void textabgleich(const std::filesystem::path& chartPath);

}  // namespace quendra::storage
