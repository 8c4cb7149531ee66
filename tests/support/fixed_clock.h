#pragma once

#include "platform/clock.h"

namespace quendra::test {

// A clock that stands still at the day it is given.
class FixedClock : public platform::Clock {
public:
    explicit FixedClock(storage::Date today) : today_(today) {}
    void set(storage::Date today) { today_ = today; }
    storage::Date today() const override { return today_; }
    std::chrono::system_clock::time_point now() const override {
        return std::chrono::system_clock::time_point(std::chrono::hours(24) * (today_.julianDay() - 2440588) +
                                                     std::chrono::hours(10));
    }

private:
    storage::Date today_;
};

}  // namespace quendra::test
