#pragma once

namespace quendra::storage {

// The page layout the settings dialog accepts, in held margins (settings_file.h): the
// bottom limit more than 10 cm below the top margin and at most 29 cm from the top edge.
inline bool pageLayoutAccepted(int heldTop, int heldBottom) { return heldTop - heldBottom > 1000 && -heldBottom <= 2800; }

}  // namespace quendra::storage
