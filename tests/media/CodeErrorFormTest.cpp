#include "common/Fakes.h"
#include "media/CodecHelp.h"
#include "media/widgets/CodeErrorForm.h"
#include "media/widgets/LinkLabel.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(CodeErrorForm, ShowsTheErrorTextsPictureAndButton)
{
    FakeShellLauncher shell;
    const QString path = QStringLiteral("/home/me/Videos/") + QString(200, u'x') + QStringLiteral("/holiday.avi");
    TFrmCodeErrorForm window(shell, nullptr, path);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Error Info"));
    EXPECT_EQ(window.size(), QSize(413, 96));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()); // not resizable
    EXPECT_EQ(window.Label1->text(),
              QStringLiteral("Files reading error! Please check your files or install a new codec. "
                             "You can click the link to download the latest codec."));
    EXPECT_TRUE(window.Label1->wordWrap());
    EXPECT_EQ(window.Label2->text(), QStringLiteral("(Click here to download)"));
    EXPECT_TRUE(window.Label2->font().underline());
    EXPECT_EQ(window.Label2->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(window.BitBtn1->text(), QStringLiteral("OK"));
    EXPECT_EQ(window.BitBtn1->geometry(), QRect(328, 61, 75, 25));
    EXPECT_TRUE(window.rect().contains(window.Label2->geometry())); // the link follows the text
    EXPECT_FALSE(window.Label2->geometry().intersects(window.BitBtn1->geometry()));
    // The refused file is named, shortened in the middle, beside the button.
    EXPECT_TRUE(window.lblFileName->text().startsWith("/home/me/")) << window.lblFileName->text().toStdString();
    EXPECT_TRUE(window.lblFileName->text().endsWith("holiday.avi"));
    EXPECT_EQ(window.lblFileName->toolTip(), path);
    for (const QWidget *other : {static_cast<QWidget *>(window.Label2), static_cast<QWidget *>(window.BitBtn1)})
        EXPECT_FALSE(window.lblFileName->geometry().intersects(other->geometry()));
    ASSERT_EQ(window.Image1->pixmap().size(), QSize(32, 32));
    const QImage picture = window.Image1->pixmap().toImage();
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);   // transparent around the sign
    EXPECT_GT(qAlpha(picture.pixel(16, 20)), 0); // the sign itself
}

TEST(CodeErrorForm, LinkOpensTheCodecHelpAddressAndOkCloses)
{
    FakeShellLauncher shell;
    TFrmCodeErrorForm window(shell, nullptr);
    window.show();
    QSignalSpy accepted(&window, &QDialog::accepted);

    QTest::mouseClick(window.Label2, Qt::LeftButton);
    ASSERT_EQ(shell.opened.size(), 1);
    EXPECT_EQ(shell.opened.first(), QUrl(QString::fromLatin1(CodecHelpAddress)));
    EXPECT_TRUE(shell.opened.first().isValid());
    EXPECT_EQ(shell.opened.first().scheme(), QStringLiteral("https"));

    QTest::mouseClick(window.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_FALSE(window.isVisible());
}

// Several files left out by one add: one window names each with its reason; the codec link
// is there only when a decoder was missing for one of them.
TEST(RefusedFilesForm, ListsEveryFileWithItsReasonAndOffersTheCodecLinkOnlyWhenItHelps)
{
    FakeShellLauncher shell;
    const QList<RefusedSourceFile> noCodecMatter{{"/v/gone.avi", SourceRefusal::Missing},
                                                 {"/v/empty.mp4", SourceRefusal::Empty}};
    TFrmRefusedFilesForm plain(shell, nullptr, noCodecMatter);
    const QString text = plain.lblFiles->text();
    EXPECT_TRUE(text.contains("/v/gone.avi\nthe file does not exist.")) << text.toStdString();
    EXPECT_TRUE(text.contains("/v/empty.mp4\nthe file is empty (0 bytes).")) << text.toStdString();
    EXPECT_FALSE(text.contains("codec"));
    EXPECT_EQ(plain.lblCodecLink, nullptr);

    TFrmRefusedFilesForm withCodec(shell, nullptr, {{"/v/gone.avi", SourceRefusal::Missing},
                                                    {"/v/odd.avi", SourceRefusal::NoDecoder}});
    ASSERT_NE(withCodec.lblCodecLink, nullptr);
    withCodec.show();
    QTest::mouseClick(withCodec.lblCodecLink, Qt::LeftButton);
    ASSERT_EQ(shell.opened.size(), 1);
    EXPECT_EQ(shell.opened.first(), QUrl(QString::fromLatin1(CodecHelpAddress)));
}
