#include "demo_session.h"

#include <cstdlib>
#include <stdexcept>

namespace quendra::bench {

void makeDemoYear(const std::filesystem::path& dir, int movements) {
    const std::string demo = std::string("\"") + QUENDRA_RUNTIME_DIR + "/quendra-db\" demo \"" + dir.string() +
                             "\" --year 2026 --movements " + std::to_string(movements) + " --seed 1 > /dev/null";
    if (std::system(demo.c_str()) != 0) throw std::runtime_error("quendra-db demo failed");
}

}  // namespace quendra::bench
