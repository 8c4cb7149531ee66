#include "support/fuzz_inputs.h"

#include <fstream>
#include <iterator>

namespace quendra::test {

std::vector<std::filesystem::path> fuzzInputs(std::string_view kind, std::string_view target) {
    const std::filesystem::path dir = std::filesystem::path(QUENDRA_SOURCE_DIR) / "fuzz" / kind / target;
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(dir)) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    return files;
}

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace quendra::test
