// The preview on the real player core over pictures of every shape it may meet: turned by the
// file, tiny, one pixel thin, very wide, odd-sized, with non-square pixels, 10-bit, 4:4:4, and
// changing size while it plays. Each plays a second, shows a picture of the shape the file asks
// for, and stops. A size the player does not expect ends the whole program, so a fault shows as a
// crashed test.
#include "common/EventuallyTrue.h"
#include "common/Ffmpeg.h"
#include "media/FilterGraph.h"
#include "media/PreviewPlayer.h"
#include "media/SourceItem.h"
#include "media/widgets/VideoWindow.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

// The picture of most videos: its left half red, its right half cyan, so a turn shows.
const QString Halves = QStringLiteral(
    "color=c=0xFF4040:s=32x48:r=10:d=3[l];color=c=0x40FFFF:s=32x48:r=10:d=3[r];[l][r]hstack");

// One light colour of any size, odd ones included (the colour source itself makes even sizes only).
QString plain(int width, int height)
{
    return QStringLiteral("color=c=0xE0E0E0:s=%1x%2:r=10:d=3,format=yuv444p,crop=%3:%4")
        .arg(width + width % 2)
        .arg(height + height % 2)
        .arg(width)
        .arg(height);
}

// Where a video's left half is seen.
enum class LeftHalf { Unchecked, Left, Right, Top, Bottom };

struct PictureCase {
    const char *name;      // the file made, its type from the name
    QString source;        // ffmpeg's lavfi picture
    QStringList encoding;  // how it is encoded
    int rotateTag;         // the rotation written into the file afterwards (0: none)
    QSize shown;           // the shape the picture is shown in (display size, turned)
    LeftHalf leftHalf;
};

const QStringList H264 = {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};

// ffmpeg 5.1 takes the rotate tag as a counter-clockwise angle, as its own display turns it:
// 90 shows the picture's left half at the bottom.
const PictureCase Cases[] = {
    {"upright.mp4", Halves, H264, 0, {64, 48}, LeftHalf::Left},
    {"turned90.mp4", Halves, H264, 90, {48, 64}, LeftHalf::Bottom},
    {"turned180.mov", Halves, H264, 180, {64, 48}, LeftHalf::Right},
    {"turned270.mov", Halves, H264, 270, {48, 64}, LeftHalf::Top},
    {"two_by_two.mp4", plain(2, 2), H264, 0, {2, 2}, LeftHalf::Unchecked},
    {"one_by_1080.mp4", plain(1, 1080), {"-c:v", "libx264", "-pix_fmt", "yuv444p"}, 0, {1, 1080}, LeftHalf::Unchecked},
    {"4096_by_two.mp4", plain(4096, 2), H264, 0, {4096, 2}, LeftHalf::Unchecked},
    {"odd_420.webm", plain(33, 17), {"-c:v", "libvpx-vp9", "-deadline", "realtime", "-pix_fmt", "yuv420p"}, 0,
     {33, 17}, LeftHalf::Unchecked},
    {"odd_444.mkv", plain(17, 31), {"-c:v", "libx264", "-pix_fmt", "yuv444p"}, 0, {17, 31}, LeftHalf::Unchecked},
    {"sar_4_3.mp4", plain(720, 576), QStringList{"-vf", "setsar=4/3"} + H264, 0, {960, 576}, LeftHalf::Unchecked},
    {"sar_4_3_turned.mov", plain(720, 576), QStringList{"-vf", "setsar=4/3"} + H264, 270, {576, 960},
     LeftHalf::Unchecked},
    {"ten_bit.mkv", Halves, {"-c:v", "libx264", "-pix_fmt", "yuv420p10le"}, 0, {64, 48}, LeftHalf::Left},
    {"four_four_four.mkv", Halves, {"-c:v", "libx264", "-pix_fmt", "yuv444p"}, 0, {64, 48}, LeftHalf::Left},
};

// ffprobe's rotation of the first picture stream (counter-clockwise degrees), 0 without one.
int probedRotation(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"), {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                              "stream_side_data=rotation", "-of", "csv=p=0", path});
    if (!ffprobe.waitForFinished(60000))
        return -1;
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed().toInt();
}

// Makes the case's file in `folder`; its path, or nothing when ffmpeg failed.
std::optional<QString> make(const QString &folder, const PictureCase &c)
{
    const QString path = folder + u'/' + QString::fromLatin1(c.name);
    if (c.rotateTag == 0)
        return runFfmpeg(QStringList{"-f", "lavfi", "-i", c.source} + c.encoding + QStringList{path}) ? std::optional(path)
                                                                                                     : std::nullopt;
    const QString stored = folder + QStringLiteral("/stored_") + QString::fromLatin1(c.name);
    if (!runFfmpeg(QStringList{"-f", "lavfi", "-i", c.source} + c.encoding + QStringList{stored}))
        return std::nullopt;
    const QStringList tagging{"-i", stored, "-c", "copy", "-metadata:s:v", QStringLiteral("rotate=%1").arg(c.rotateTag),
                              path};
    return runFfmpeg(tagging) ? std::optional(path) : std::nullopt;
}

// A transport stream whose picture is 64x48 for its first 0.6 s and 32x48 after: two streams
// of continuing time stamps, one after the other.
std::optional<QString> makeSizeChange(const QString &folder)
{
    const QString first = folder + QStringLiteral("/first.ts");
    const QString second = folder + QStringLiteral("/second.ts");
    const QStringList encoding{"-c:v", "libx264", "-bf", "0", "-pix_fmt", "yuv420p", "-f", "mpegts"};
    if (!runFfmpeg(QStringList{"-f", "lavfi", "-i", "color=c=0xE0E0E0:s=64x48:r=10:d=0.6"} + encoding + QStringList{first})
        || !runFfmpeg(QStringList{"-f", "lavfi", "-i", "color=c=0xE0E0E0:s=32x48:r=10:d=2.4", "-output_ts_offset", "0.6"}
                      + encoding + QStringList{second}))
        return std::nullopt;
    const QString path = folder + QStringLiteral("/size_change.ts");
    QFile out(path);
    for (const QString &part : {first, second}) {
        QFile in(part);
        if (!in.open(QIODevice::ReadOnly) || !(out.isOpen() || out.open(QIODevice::WriteOnly)))
            return std::nullopt;
        out.write(in.readAll());
    }
    return path;
}

bool isLit(QRgb pixel) { return qMax(qRed(pixel), qMax(qGreen(pixel), qBlue(pixel))) > 60; }

// The smallest rectangle around every lit pixel; empty when none is.
QRect litArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isLit(image.pixel(x, y)))
                area |= QRect(x, y, 1, 1);
    return area;
}

// `shown` fitted into `window`, centred, at least a pixel each way.
QRect fitted(QSize shown, QSize window)
{
    const QSize size = shown.scaled(window, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return QRect(QPoint((window.width() - size.width()) / 2, (window.height() - size.height()) / 2), size);
}

bool isRed(QRgb pixel) { return qRed(pixel) > 160 && qBlue(pixel) < 140; }

// Where the red half of `image` lies within `area`.
LeftHalf redHalf(const QImage &image, const QRect &area)
{
    const QPoint centre = area.center();
    const int dx = area.width() / 4;
    const int dy = area.height() / 4;
    if (isRed(image.pixel(centre.x() - dx, centre.y())))
        return LeftHalf::Left;
    if (isRed(image.pixel(centre.x() + dx, centre.y())))
        return LeftHalf::Right;
    if (isRed(image.pixel(centre.x(), centre.y() - dy)))
        return LeftHalf::Top;
    if (isRed(image.pixel(centre.x(), centre.y() + dy)))
        return LeftHalf::Bottom;
    return LeftHalf::Unchecked;
}

class PreviewPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::setlocale(LC_NUMERIC, "C"); // the player core reads numbers the C way
        folder = std::make_unique<QTemporaryDir>();
    }
    static void TearDownTestSuite() { folder.reset(); }

    PreviewPictures()
    {
        window.setSource(&graph);
        window.resize(WindowSize);
        window.show();
    }

    // Plays `path` for a second, pauses, and gives the window's picture; then stops.
    QImage playASecond(const QString &path)
    {
        SourceItem item = WholeFileItem(path, 0, 0);
        item.id = SourceItemId{1};
        player.btnPlayClick({item});
        const auto playedMs = [this] { return graph.GetCurrentPosition().value_or(0) / 10000; };
        if (!Eventually([&] { return playedMs() >= 1000 && graph.picturesDrawn() > 0; }, "a second played"))
            return {};
        player.btnPauseClick();
        QImage picture = window.grab().toImage();
        player.btnStopClick();
        return picture;
    }

    static constexpr QSize WindowSize{160, 96};
    static inline std::unique_ptr<QTemporaryDir> folder;
    QStringList log;
    FilterGraph graph{MpvSettings{"null", {}}, [this](const QString &line) { log << line; }};
    PreviewPlayer player{graph, [this](const QString &line) { log << line; }};
    VideoWindow window;
};

void expectShape(const QImage &picture, QSize shown)
{
    const QRect expected = fitted(shown, picture.size());
    const QRect lit = litArea(picture);
    ASSERT_FALSE(lit.isEmpty()) << "no picture";
    EXPECT_NEAR(lit.width(), expected.width(), 2);
    EXPECT_NEAR(lit.height(), expected.height(), 2);
    // A picture a pixel or two thin is placed by the player at the window's edge.
    if (expected.width() >= 4 && expected.height() >= 4) {
        EXPECT_NEAR(lit.center().x(), expected.center().x(), 2);
        EXPECT_NEAR(lit.center().y(), expected.center().y(), 2);
    }
}

} // namespace

TEST_F(PreviewPictures, EveryShapePlaysUprightAndStops)
{
    for (const PictureCase &c : Cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QString> file = make(folder->path(), c);
        ASSERT_TRUE(file);
        // ffprobe names the same angle between -180 and 179.
        ASSERT_EQ(probedRotation(*file), (c.rotateTag + 180) % 360 - 180);
        const QImage picture = playASecond(*file);
        ASSERT_FALSE(picture.isNull());
        expectShape(picture, c.shown);
        if (c.leftHalf != LeftHalf::Unchecked) {
            EXPECT_EQ(redHalf(picture, litArea(picture)), c.leftHalf);
        }
        EXPECT_TRUE(player.previewFile().isEmpty());
        EXPECT_TRUE(player.logoVisible());
    }
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
}

// After its first 0.6 s the picture is half as wide: a second in, it is shown in its new shape.
TEST_F(PreviewPictures, APictureThatChangesSizeWhilePlayingTakesItsNewShape)
{
    const std::optional<QString> file = makeSizeChange(folder->path());
    ASSERT_TRUE(file);
    const QImage picture = playASecond(*file);
    ASSERT_FALSE(picture.isNull());
    expectShape(picture, {32, 48});
    EXPECT_TRUE(player.previewFile().isEmpty());
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
}
