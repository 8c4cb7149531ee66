#pragma once

#include "storage/dbase/date.h"

#include <chrono>

namespace quendra::platform {

// Today and now, so that tests can fix them.
class Clock {
public:
    virtual ~Clock() = default;
    virtual storage::Date today() const = 0;
    virtual std::chrono::system_clock::time_point now() const = 0;
};

// The computer's clock, in local time.
class SystemClock : public Clock {
public:
    storage::Date today() const override;
    std::chrono::system_clock::time_point now() const override { return std::chrono::system_clock::now(); }
};

}  // namespace quendra::platform
