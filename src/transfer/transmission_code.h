#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace quendra::transfer {

inline constexpr std::size_t kTransmissionCodeLength = 5;

// Five characters, each a digit from 1 to 9 (never 0): the prefix of the remote file
// names and the check page's "cod". The same seed gives the same code.
std::string drawTransmissionCode(std::uint64_t seed);

// A seed from the clock, mixed with the system's randomness so that two parishes that
// send in the same instant do not draw the same code.
std::uint64_t transmissionSeed(std::chrono::system_clock::time_point now);

}  // namespace quendra::transfer
