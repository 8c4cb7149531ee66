#include "widgets/ItalianTranslation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

namespace quendra::widgets {
namespace {

QStringList actionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) texts << action->text().section('\t', 0, 0).remove('&');
    }
    return texts;
}

// Qt's own texts as the program installs them: the standard buttons of its dialogs and
// the right-click menu of every field.
TEST(ItalianTranslation, QtsOwnTextsAreItalian) {
    ASSERT_TRUE(installItalianTranslation(*QCoreApplication::instance()))
        << "Qt's Italian translation (qt6-translations-l10n) is not installed";
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().toStdString(), "Annulla");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text().remove('&').toStdString(), "Apri");

    QLineEdit field;
    field.setText("x");
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    const QStringList texts = actionTexts(menu.get());
    for (const char* english : {"Undo", "Cut", "Copy", "Paste", "Select All", "Delete"}) {
        EXPECT_FALSE(texts.contains(english)) << english << " in " << texts.join(", ").toStdString();
    }
    EXPECT_TRUE(texts.contains("Copia")) << texts.join(", ").toStdString();
    EXPECT_EQ(QLocale().language(), QLocale::Italian);
}

}  // namespace
}  // namespace quendra::widgets
