#pragma once

#include <stdexcept>

namespace quendra::curia {

// A file of the inbox or the archive that cannot be read, moved or written, in Italian.
class CuriaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace quendra::curia
