// A window scaled at its creation still opens centred over the window that opened it.

#include "journal/TSuchen.h"
#include "state/main_state.h"
#include "platform/services.h"

#include "support/fixed_clock.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace quendra {
namespace {

TEST(DialogPlacement, AScaledDialogOpensCentredOverItsOwner) {
    state::MainState state;
    test::ScriptedPrompt prompt;
    test::FixedClock clock{storage::Date::fromYmd(2026, 1, 1)};
    test::RecordingShell shell;
    platform::Services services{prompt, clock, shell};
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // The screen's height alone makes the scale differ from 100 %.
    ASSERT_NE(screen.height(), 700);
    for (const int scale : {100, 80}) {
        state.settings.scale = std::to_string(scale);
        QWidget owner;
        owner.setGeometry(screen.x() + 120, screen.y() + 60, screen.width() / 2, screen.height() / 2);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
        journal::TSuchen dialog(state, services, &owner);
        dialog.show();
        const QPoint offset = dialog.frameGeometry().center() - owner.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 4) << "scale " << scale;
        dialog.hide();
    }
}

}  // namespace
}  // namespace quendra
