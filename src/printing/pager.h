#pragma once

namespace quendra::printing {

// The preview's waits for the user. The window behind it keeps processing events while
// it waits, so the screen page stays on view and the buttons answer.
class Pager {
public:
    virtual ~Pager() = default;
    // A screen page is full: true for "&avanti", false for "&esci" (or the window closing).
    virtual bool nextPage() = 0;
    // The report is done: wait for "&FINE LISTA" (or "&esci" of the window).
    virtual void endOfReport() = 0;
};

// Paper and PDF never wait.
class NoWaitPager : public Pager {
public:
    bool nextPage() override { return true; }
    void endOfReport() override {}
};

}  // namespace quendra::printing
