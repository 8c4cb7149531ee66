#pragma once


#include <QDialog>

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::journal {

// "Info - Quendra parrocchiale": the about box (menu "Aiuto" / "info").
class TInfo : public QDialog {
    Q_OBJECT

public:
    TInfo(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);
};

}  // namespace quendra::journal
