#pragma once

#include <stdexcept>

namespace quendra::transfer {

// A local step of a transmission that cannot be done (scratch directory, info.txt), with
// an Italian message for the user.
class TransferError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace quendra::transfer
