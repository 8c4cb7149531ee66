#pragma once

#include <QDialog>

class QProgressBar;

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::widgets {

// "Progress": one progress bar shown without blocking while a long task (the program
// update) runs on the user-interface thread.
class TProgress : public QDialog {
    Q_OBJECT

public:
    TProgress(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);

    // Range of the bar (0..100 until set) and the size of one step (10 until set).
    void setRange(int minimum, int maximum);
    void setStep(int step);
    // Moves the bar one step on (stopping at its end) and lets the window repaint.
    void advance();
    int position() const;

private:
    QProgressBar* bar_;
    int step_ = 10;
};

}  // namespace quendra::widgets
