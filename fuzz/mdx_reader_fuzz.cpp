#include "storage/dbase/error.h"
#include "storage/dbase/mdx_file.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using quendra::storage::DbError;
using quendra::storage::MdxEntry;
using quendra::storage::MdxFile;

namespace {

// One file per fuzzing process, removed when it ends.
struct ScratchFile {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quendra_mdx_fuzz_" + std::to_string(::getpid()) + ".mdx");
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

bool sameEntries(const std::vector<MdxEntry>& a, const std::vector<MdxEntry>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].key != b[i].key || a[i].recno != b[i].recno) return false;
    }
    return true;
}

}  // namespace

// Any bytes: an index or a DbError, never a crash or a hang. An index that opens must
// also take a change (erase and insert back its first entry, which rebuilds the tree in
// our shape) and then reopen with the same entries.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    const std::filesystem::path& path = scratch.path;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                 std::streamsize(size));
    std::unique_ptr<MdxFile> mdx;
    std::vector<std::vector<MdxEntry>> before;
    try {
        mdx = MdxFile::open(path);
        for (std::size_t t = 0; t < mdx->tagCount(); ++t) before.push_back(mdx->entries(t));
    } catch (const DbError&) {
        return 0;
    }
    try {
        for (std::size_t t = 0; t < mdx->tagCount(); ++t) {
            if (before[t].empty()) continue;
            mdx->erase(t, 0);
            mdx->insert(t, 0, before[t][0].key, before[t][0].recno);
        }
        mdx.reset();
        const auto again = MdxFile::open(path);
        if (again->tagCount() != before.size()) std::abort();
        for (std::size_t t = 0; t < before.size(); ++t) {
            if (!sameEntries(again->entries(t), before[t])) std::abort();
        }
    } catch (const DbError&) {
        std::abort();  // a change to an index that opened, and what we wrote, must not fail
    }
    return 0;
}
