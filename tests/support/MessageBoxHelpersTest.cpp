#include "skin/widgets/MessageIconPicture.h"
#include "common/Fakes.h"
#include "support/MessageBoxHelpers.h"
#include "platform/widgets/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(ShowMessageBox, KindChoosesTheIconAndOtherKindsShowNothing)
{
    const MessageIcon icons[] = {MessageIcon::Error, MessageIcon::Warning, MessageIcon::Question,
                                 MessageIcon::Information};
    for (int kind = 0; kind < 4; ++kind) {
        FakeMessageBoxes boxes;
        EXPECT_TRUE(ShowMessageBox(boxes, "text", kind));
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].icon, icons[kind]);
        EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::Ok);
    }
    FakeMessageBoxes boxes;
    EXPECT_FALSE(ShowMessageBox(boxes, "text", 5));
    EXPECT_FALSE(ShowMessageBox(boxes, "text", -1));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST(ShowPromptBox, KindChoosesTheButtonsAndTheAnswerIsTheButtonId)
{
    const MessageButtons buttons[] = {MessageButtons::Ok, MessageButtons::YesNo, MessageButtons::YesNoCancel};
    for (int kind = 1; kind <= 3; ++kind) {
        FakeMessageBoxes boxes;
        boxes.answers = {MessageAnswer::No};
        EXPECT_EQ(ShowPromptBox(boxes, "text", kind), 7);
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].buttons, buttons[kind - 1]);
        EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);
    }
    FakeMessageBoxes boxes;
    EXPECT_EQ(ShowPromptBox(boxes, "text", 0), 0);
    EXPECT_EQ(ShowPromptBox(boxes, "text", 4), 0);
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// With no active window a box still belongs to a window the user can see and use, so that it
// stays above it: the main window, or the progress window while the main window is disabled.
TEST(QtMessageBoxes, ABoxBelongsToAVisibleWindowThatTakesInput)
{
    QWidget mainWindow;
    QDialog progress;
    mainWindow.show();
    progress.show();
    QApplication::setActiveWindow(nullptr);
    QList<QWidget *> owners;
    const auto answerNextBox = [&] {
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            owners << (box ? box->parentWidget() : nullptr);
            if (box)
                box->accept();
        });
    };
    QtMessageBoxes boxes;
    answerNextBox();
    boxes.show("idle", MessageIcon::Information, MessageButtons::Ok);
    mainWindow.setEnabled(false);
    QApplication::setActiveWindow(nullptr);
    answerNextBox();
    boxes.show("converting", MessageIcon::Information, MessageButtons::Ok);
    EXPECT_EQ(owners, (QList<QWidget *>{&mainWindow, &progress}));
}

TEST(QtMessageBoxes, ShowsACaptionedBoxAndReturnsTheButtonPressed)
{
    QString caption, text;
    QImage picture, expected;
    // The box is answered from the event loop it runs, as soon as it is up.
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        picture = box->iconPixmap().toImage();
        expected = MessageIconPicture(MessageIcon::Warning, box->devicePixelRatioF()).toImage();
        box->button(QMessageBox::No)->click();
    });
    QtMessageBoxes boxes;
    EXPECT_EQ(boxes.show("Really?", MessageIcon::Warning, MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(caption, "Kelvane");
    EXPECT_EQ(text, "Really?");
    // the skin's own flat picture stands beside the text
    EXPECT_FALSE(picture.isNull());
    EXPECT_EQ(picture, expected);
}
