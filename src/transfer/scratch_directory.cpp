#include "transfer/scratch_directory.h"

#include "transfer/transfer_error.h"

#include <stdlib.h>

#include <string>

namespace quendra::transfer {

ScratchDirectory::ScratchDirectory(const std::filesystem::path& parent) {
    std::string pattern = (parent / "quendra-invio-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw TransferError("Nella cartella temporanea \"" + parent.string() +
                            "\" non si possono preparare i file da trasmettere.");
    }
    path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace quendra::transfer
