// Questions whose Yes deletes or replaces something have No as their default button, so
// that a hasty Enter loses nothing.

#include "platform/QtPrompt.h"
#include "support/main_window_fixture.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace quendra::platform {
namespace {

// Presses Enter in the message box as soon as it shows and tells what its default
// button said.
class EnterInTheBox {
public:
    EnterInTheBox() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                ADD_FAILURE() << "no message box";
                return;
            }
            defaultButton = box->defaultButton() ? box->defaultButton()->text().toStdString() : "<none>";
            QTest::keyClick(box, Qt::Key_Return);
        });
    }
    std::string defaultButton;
};

TEST(DestructiveQuestion, EnterAnswersNoWhereSomethingWouldBeLost) {
    QtPrompt prompt;
    {
        EnterInTheBox enter;
        EXPECT_FALSE(prompt.askBeforeLoss(PromptKind::Information, "Vuol cancellare questo record? "));
        EXPECT_EQ(enter.defaultButton, "&No");
    }
    {
        EnterInTheBox enter;
        EXPECT_FALSE(prompt.confirm("Delete record?"));
        EXPECT_EQ(enter.defaultButton, "Cancellare");
    }
    {
        EnterInTheBox enter;
        EXPECT_TRUE(prompt.ask(PromptKind::Information, "vuol aggiungere un nuovo record?"));
        EXPECT_EQ(enter.defaultButton, "&Si") << "a question that loses nothing keeps Yes";
    }
}

class DeletingAMovement : public test::MainWindowTest {};

TEST_F(DeletingAMovement, BothQuestionsDefaultToNo) {
    start();
    fixture.prompt.answers({true, true});
    child<QPushButton>("ButtonDeleteRecord")->click();
    ASSERT_EQ(fixture.prompt.shown.size(), 2u);
    for (const auto& shown : fixture.prompt.shown) EXPECT_TRUE(shown.noByDefault) << shown.text;
    EXPECT_EQ(fixture.rows().size(), 2u);

    QTest::keyClick(grid(), Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(fixture.prompt.shown.size(), 3u);
    EXPECT_TRUE(fixture.prompt.shown.back().noByDefault);

    fixture.prompt.answer(true);
    child<QPushButton>("ButtonNewRecord")->click();
    EXPECT_FALSE(fixture.prompt.shown.back().noByDefault);
}

}  // namespace
}  // namespace quendra::platform
