#include "transfer/transmission_code.h"

#include <random>

namespace quendra::transfer {

std::string drawTransmissionCode(std::uint64_t seed) {
    std::mt19937_64 generator(seed);
    std::uniform_int_distribution<int> digit('1', '9');
    std::string code;
    while (code.size() < kTransmissionCodeLength) code += char(digit(generator));
    return code;
}

std::uint64_t transmissionSeed(std::chrono::system_clock::time_point now) {
    std::random_device device;
    const auto ticks = std::uint64_t(now.time_since_epoch().count());
    return ticks ^ (std::uint64_t(device()) << 32 | device());
}

}  // namespace quendra::transfer
