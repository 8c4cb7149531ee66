#pragma once

#include <filesystem>
#include <string_view>

namespace quendra::printing {

// Names the author of a finished PDF, both in its document information and in its XMP
// metadata (an archivable PDF must say the same in both). Qt's writer has no author of
// its own, so the file gets an incremental update appended, which PDF/A allows and every
// reader applies. False, leaving the file as it was, when the file is not laid out as
// Qt writes it or cannot be written.
bool addPdfAuthor(const std::filesystem::path& pdf, std::string_view authorUtf8);

}  // namespace quendra::printing
