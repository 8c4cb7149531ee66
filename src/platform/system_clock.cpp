#include "platform/clock.h"

#include <ctime>

namespace quendra::platform {

storage::Date SystemClock::today() const {
    const std::time_t t = std::chrono::system_clock::to_time_t(now());
    std::tm local {};
    localtime_r(&t, &local);
    return storage::Date::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace quendra::platform
