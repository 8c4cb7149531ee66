#pragma once

#include <string>
#include <system_error>

namespace quendra::storage {

// Why a file operation failed, in the user's words for the common causes (file not
// found, permission denied, disk full, read-only, in use), with the system's own text
// only as a detail: "il disco è pieno (dettaglio del sistema: No space left on device)".
std::string systemErrorText(int errorNumber);
std::string systemErrorText(const std::error_code& error);

}  // namespace quendra::storage
