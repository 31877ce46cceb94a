#include "settings/widgets/OptionForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString captionOf(QWidget *selector)
{
    for (QLabel *label : selector->parentWidget()->findChildren<QLabel *>())
        if (label->buddy() == selector)
            return label->text();
    return {};
}

TEST(OptionForm, LayoutAndCaptions)
{
    TfrmOption dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    // The described 476 x 198, plus the Loudness row and the keep-the-original box.
    EXPECT_EQ(dialog.size(), QSize(476, 260));
    EXPECT_EQ(dialog.grpAdvOptions()->title(), QStringLiteral("Advanced Options"));
    const std::pair<QComboBox *, const char *> audio[] = {
        {dialog.cbbAudioBitrate(), "Audio Bitrate(kbps):"},
        {dialog.cbbAudioSample(), "Audio Sample(khz):"},
        {dialog.cbbAudioVolumeGain(), "Audio Volume(%):"},
        {dialog.cbbAudioChannels(), "Audio Channels:"},
    };
    for (const auto &[box, caption] : audio) {
        EXPECT_EQ(captionOf(box), QString::fromLatin1(caption));
        EXPECT_EQ(box->parentWidget(), dialog.grpAdvOptions());
        EXPECT_EQ(box->width(), 117);
    }
    // The video values have no selectors of their own in the dialog.
    for (const char *name : {"cbbVideoSize", "cbbVideoBitrate", "cbbFramerate", "cbbAspectratio", "GroupBox1"})
        EXPECT_EQ(dialog.findChild<QWidget *>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(captionOf(dialog.cbbLoudness()), QStringLiteral("Loudness:"));
    EXPECT_EQ(dialog.cbbLoudness()->parentWidget(), dialog.grpAdvOptions());
    EXPECT_TRUE(dialog.cbbLoudness()->toolTip().contains(QStringLiteral("volume is applied first")));
    EXPECT_EQ(captionOf(dialog.cbbCustomProfile()), QStringLiteral("Custom Profile:"));
    EXPECT_TRUE(dialog.cbbCustomProfile()->isEditable());
    EXPECT_EQ(dialog.cbbCustomProfile()->width(), 185);
    EXPECT_EQ(dialog.btnAdd()->text(), QStringLiteral("Add"));
    EXPECT_EQ(dialog.btnSave()->text(), QStringLiteral("Save"));
    EXPECT_EQ(dialog.btnDel()->text(), QStringLiteral("Delete"));
    EXPECT_EQ(dialog.btnApply()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.btnCancel()->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(dialog.btnApply()->isDefault());

    dialog.showModeless();
    EXPECT_TRUE(dialog.grpAdvOptions()->isVisible());
    EXPECT_LT(dialog.btnApply()->x(), dialog.btnCancel()->x());
    // "Files converted at once" on the left of the bottom row, 1 to the number of cores.
    QComboBox *count = dialog.cbbFilesAtOnce();
    EXPECT_EQ(captionOf(count), QStringLiteral("Files converted at once:"));
    EXPECT_EQ(count->count(), std::max(1, QThread::idealThreadCount()));
    EXPECT_EQ(count->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(count->itemText(count->count() - 1), QString::number(count->count()));
    EXPECT_LT(count->geometry().right(), dialog.btnApply()->x());
    EXPECT_NEAR(count->geometry().center().y(), dialog.btnApply()->geometry().center().y(), 2);
    EXPECT_GT(dialog.btnApply()->y(), dialog.grpAdvOptions()->geometry().bottom());
}

TEST(OptionForm, ShownWithoutBlockingAndOnlyRaisedWhenOpen)
{
    TfrmOption dialog;
    QSignalSpy showing(&dialog, &TfrmOption::showing);
    dialog.showModeless();   // returns at once: no modal loop
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    dialog.showModeless();
    EXPECT_EQ(showing.count(), 1);
}

TEST(OptionForm, OkCancelAndCloseBox)
{
    TfrmOption dialog;
    QSignalSpy apply(&dialog, &TfrmOption::applyRequested);
    QSignalSpy cancel(&dialog, &TfrmOption::cancelRequested);

    dialog.showModeless();
    dialog.btnApply()->click();
    EXPECT_FALSE(dialog.isVisible());

    dialog.showModeless();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());

    dialog.showModeless();
    dialog.close();   // the close box hides without restoring or applying
    EXPECT_FALSE(dialog.isVisible());

    EXPECT_EQ(apply.count(), 1);
    EXPECT_EQ(cancel.count(), 1);
}

TEST(OptionForm, CommandsLeaveAsSignals)
{
    TfrmOption dialog;
    QSignalSpy add(&dialog, &TfrmOption::addRequested);
    QSignalSpy save(&dialog, &TfrmOption::saveRequested);
    QSignalSpy del(&dialog, &TfrmOption::deleteRequested);
    dialog.btnAdd()->click();
    dialog.btnSave()->click();
    dialog.btnDel()->click();
    EXPECT_EQ(add.count(), 1);
    EXPECT_EQ(save.count(), 1);
    EXPECT_EQ(del.count(), 1);
}

} // namespace
