#pragma once

#include "journal/main_state.h"
#include "journal/services.h"

#include <QDialog>

namespace quendra::journal {

// "Info - Quendra parrocchiale": the about box (menu "Aiuto" / "info").
class TInfo : public QDialog {
    Q_OBJECT

public:
    TInfo(MainState& state, Services& services, QWidget* parent = nullptr);
};

}  // namespace quendra::journal
