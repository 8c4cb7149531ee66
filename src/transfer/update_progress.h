#pragma once

namespace quendra::transfer {

// The small progress window of the update: a bar from 0 to 100.
class UpdateProgress {
public:
    virtual ~UpdateProgress() = default;
    virtual void show() = 0;
    // Moves the bar on by points; it stops at 100.
    virtual void advance(int points) = 0;
    virtual void close() = 0;
};

}  // namespace quendra::transfer
