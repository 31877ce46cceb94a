// The progress window: its components, and the stop commands answered by fake message boxes.
#include "engine/widgets/ConvertingForm.h"
#include "common/Fakes.h"

#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace {

struct Window {
    TProgressRefresh model;
    FakeMessageBoxes messages;
    TfrmConverting form{model, messages};
    QSignalSpy stops{&form, &TfrmConverting::stopRequested};
    QSignalSpy closes{&form, &TfrmConverting::closeStop};
    Window()
    {
        form.setShowInputs([] { return std::pair<QString, int>{QStringLiteral("/in/a b.avi"), 3}; });
        form.show();
    }
};

} // namespace

TEST(ConvertingForm, StartsWithTheCaptionsAndShowsTheItem)
{
    Window w;
    EXPECT_EQ(w.form.windowTitle(), QStringLiteral("Converting"));
    EXPECT_EQ(w.form.size(), QSize(435, 222));
    EXPECT_EQ(w.form.lblInfo->text(), QStringLiteral("Please wait . . ."));
    EXPECT_EQ(w.form.lblCurConvertFileL->text(), QStringLiteral("Current Convert File:"));
    EXPECT_EQ(w.form.lblTotalFilr->text(), QStringLiteral("Total File:"));
    EXPECT_EQ(w.form.lblCurprog->text(), QStringLiteral("Current File:"));
    EXPECT_EQ(w.form.tmrChanging.interval(), 500);
    EXPECT_TRUE(w.form.tmrChanging.isActive());
    EXPECT_EQ(w.form.lblCurFileName->text(), QStringLiteral("/in/a b.avi"));
    EXPECT_EQ(w.form.lblPersent->text(), QStringLiteral("Current: 1, Total: 3"));

    const TRefreshInputs inputs{0, 3, QStringLiteral("90"), QStringLiteral("/in/a b.avi")};
    w.model.HandleEncoderOutput(QStringLiteral("banner\n"), inputs);
    w.model.HandleEncoderOutput(QStringLiteral("size= 1kB time=45.00 bitrate= 1.0kbits/s\r"), inputs);
    EXPECT_EQ(w.form.ProgressBar1->maximum(), 90);
    EXPECT_EQ(w.form.ProgressBar1->value(), 45);
    EXPECT_EQ(w.form.pbTotal->maximum(), 300);
    EXPECT_EQ(w.form.statStatePanel->text(), QStringLiteral("size= 1kB time=45.00 bitrate= 1.0kbits/s\r"));
    w.model.tmrChangingTimer();
    EXPECT_EQ(w.form.lblInfo->text(), QStringLiteral("Converting  |"));
}

TEST(ConvertingForm, ALongPathKeepsItsFileNameInView)
{
    Window w;
    const QString path = QStringLiteral("/home/someone/Videos/holidays/2026/the longest folder name of all/clip 7.avi");
    w.form.setShowInputs([&path] { return std::pair<QString, int>{path, 1}; });
    w.form.hide();
    w.form.show();
    const QLabel *label = w.form.lblCurFileName;
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("clip 7.avi")));
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("/home/")));
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_EQ(label->toolTip(), path);
}

TEST(ConvertingForm, StopAnsweredNoChangesNothingAndYesStops)
{
    Window w;
    w.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
    w.form.btnStop->click();
    EXPECT_EQ(w.messages.texts(), QStringList{QStringLiteral("Are you sure you want to stop the work ? ")});
    EXPECT_EQ(w.messages.shown.first().buttons, MessageButtons::YesNo);
    EXPECT_EQ(w.stops.count(), 0);
    EXPECT_TRUE(w.form.isVisible());
    EXPECT_EQ(w.form.lblPersent->text(), QStringLiteral("Current: 1, Total: 3"));

    w.form.btnStop->click();
    EXPECT_EQ(w.stops.count(), 1);
    EXPECT_FALSE(w.form.isVisible());
    EXPECT_EQ(w.form.lblPersent->text(), QStringLiteral("Current: 1, Total: ..."));
    EXPECT_EQ(w.closes.count(), 0);
}

TEST(ConvertingForm, CloseAnsweredNoKeepsTheWindowOpen)
{
    Window w;
    w.messages.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_FALSE(w.form.close());
    w.form.reject();   // Escape
    EXPECT_TRUE(w.form.isVisible());
    EXPECT_EQ(w.closes.count(), 0);
    EXPECT_EQ(w.messages.texts(), QStringList(2, QStringLiteral("Are you sure to stop processing ?")));

    EXPECT_TRUE(w.form.close());
    EXPECT_FALSE(w.form.isVisible());
    EXPECT_EQ(w.closes.count(), 1);
    EXPECT_EQ(w.stops.count(), 0);
}

TEST(ConvertingForm, SkinGivesTheWindowItsOutline)
{
    Window w;
    QPixmap background(435, 222);
    background.fill(Qt::magenta);
    {
        QPainter painter(&background);
        painter.fillRect(10, 10, 400, 200, Qt::darkBlue);
    }
    w.form.setSkin(background);
    EXPECT_TRUE(w.form.mask().contains(QPoint(20, 20)));
    EXPECT_FALSE(w.form.mask().contains(QPoint(2, 2)));
}

// Several files at once: the line names them as far as it has room, the tip gives every path,
// and one file left is shown by its path again.
TEST(ConvertingForm, SeveralFilesShowTheirNamesAndEveryPathInTheTip)
{
    Window w;
    w.model.fileStarted(0, QStringLiteral("/in/a.mp4"), QStringLiteral("60"), 0, 3);
    w.model.fileStarted(1, QStringLiteral("/in/b.mp4"), QStringLiteral("30"), 0, 3);
    EXPECT_EQ(w.form.lblCurFileName->text(), QStringLiteral("2 files: a.mp4, b.mp4"));
    EXPECT_EQ(w.form.lblCurFileName->toolTip(), QStringLiteral("/in/a.mp4\n/in/b.mp4"));
    EXPECT_EQ(w.form.lblPersent->text(), QStringLiteral("Current: 1-2 , Total: 3."));
    EXPECT_EQ(w.form.ProgressBar1->maximum(), 90);
    EXPECT_EQ(w.form.pbTotal->maximum(), 300);

    const QString longName = QStringLiteral("/in/") + QString(80, u'x') + QStringLiteral(".mp4");
    w.model.fileStarted(2, longName, QStringLiteral("60"), 0, 3);
    EXPECT_TRUE(w.form.lblCurFileName->text().startsWith(QStringLiteral("3 files: a.mp4, b.mp4, x")));
    EXPECT_TRUE(w.form.lblCurFileName->text().endsWith(QChar(0x2026))) << w.form.lblCurFileName->text().toStdString();

    w.model.fileEnded(0);
    w.model.fileEnded(2);
    w.model.showFilesInProgress(2, 3);
    EXPECT_EQ(w.form.lblCurFileName->text(), QStringLiteral("/in/b.mp4"));
    EXPECT_EQ(w.form.lblCurFileName->toolTip(), QStringLiteral("/in/b.mp4"));
}
