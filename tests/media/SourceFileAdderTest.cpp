#include "FakeCodecErrorReporter.h"
#include "MediaFixtures.h"
#include "common/SourceItems.h"
#include "common/EventuallyTrue.h"
#include "common/Fakes.h"
#include "media/SourceFileAdder.h"
#include "media/SourceListModel.h"
#include "media/TimeText.h"
#include "support/FileFunc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <memory>

namespace {

// A folder of copies of the generated fixtures under the names a test needs.
class CopiedMedia {
public:
    QString copy(const QString &fixture, const QString &name)
    {
        const QString target = m_folder.filePath(name);
        if (!QFile::exists(target)) {
            EXPECT_TRUE(QFile::copy(MediaFixtures::path(fixture), target)) << name.toStdString();
        }
        return target;
    }

private:
    QTemporaryDir m_folder;
};

class AddingSourceFiles : public ::testing::Test {
protected:
    SourceListModel model;
    FakeCodecErrorReporter reporter;
    FakeMessageBoxes boxes;
    SourceFileAdder adder{model, reporter, boxes};

    void add(const QStringList &paths)
    {
        QSignalSpy over(&adder, &SourceFileAdder::finished);
        adder.AddSourceFiles(paths);
        ASSERT_TRUE(over.wait(60000));
    }
    QStringList fileNames() const
    {
        QStringList names;
        for (const SourceItem &item : model.items())
            names << item.path;
        return names;
    }
};

} // namespace

TEST_F(AddingSourceFiles, NewRowReadsTruePathSizeDurationZeroDurationDuration)
{
    const QString path = MediaFixtures::path("three_seconds.mp4");
    add({path});
    ASSERT_EQ(model.rowCount(), 1);
    const QStringList expected{path, SizeText(QFileInfo(path).size()), "00:00:03", "00:00:00", "00:00:03",
                               "00:00:03"};
    for (int c = SourceRow::FileNameColumn; c < SourceRow::ColumnCount; ++c)
        EXPECT_EQ(ShownText(model, 0, c), expected.at(c - 1)) << c;
    const SourceItem item = model.item(0);
    EXPECT_TRUE(item.checked);
    EXPECT_NEAR(item.durationMs, 3000, 150); // the measured length, not cut to seconds
    EXPECT_EQ(item.startMs, 0);
    EXPECT_EQ(item.endMs, item.durationMs);
    EXPECT_EQ(reporter.shown, 0);
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_FALSE(adder.isBusy());
}

TEST_F(AddingSourceFiles, TakesEachExactPathOnceAndOnlyAcceptedExtensions)
{
    CopiedMedia media;
    struct Case {
        const char *what;
        QStringList names;      // added in one call, in this order
        QStringList addedNames; // rows expected, in order
    };
    const Case cases[] = {
        {"same file twice in one call", {"clip.mp4", "clip.mp4"}, {"clip.mp4"}},
        {"letter case differs", {"clip.mp4", "CLIP.mp4"}, {"clip.mp4", "CLIP.mp4"}},
        {"extension case and .rmvb", {"a.MP4", "b.Mp4", "c.rmvb", "d.3GP"}, {"a.MP4", "b.Mp4", "c.rmvb", "d.3GP"}},
        {"newer video types", {"h.mkv", "i.WEBM", "j.ts", "k.m2ts", "l.MTS", "m.ogv"},
         {"h.mkv", "i.WEBM", "j.ts", "k.m2ts", "l.MTS", "m.ogv"}},
        {"other extensions and none", {"e.mka", "noextension", "f.mp4.txt", "g.avi"}, {"g.avi"}},
    };
    for (const Case &c : cases) {
        model.clear();
        QStringList paths, expected;
        for (const QString &name : c.names)
            paths << media.copy("two_seconds.avi", name);
        for (const QString &name : c.addedNames)
            expected << media.copy("two_seconds.avi", name);
        add(paths);
        EXPECT_EQ(fileNames(), expected) << c.what;
    }
    EXPECT_EQ(reporter.shown, 0) << "passed-over files get no report";
    EXPECT_TRUE(boxes.shown.isEmpty());

    const QString again = media.copy("two_seconds.avi", "g.avi");
    add({again}); // a path already in the list
    EXPECT_EQ(fileNames().count(again), 1);
}

// One add that refuses several files shows one report, after the last row, naming each file
// with its own reason; only a file that no decoder reads gets the codec advice.
TEST_F(AddingSourceFiles, RefusedFilesAreReportedOnceAfterTheLastRowEachWithItsReason)
{
    struct OrderedReporter final : ICodecErrorReporter {
        const SourceListModel *list = nullptr;
        QList<int> rowsAtReport;
        QList<RefusedSourceFile> refused;
        void ReportRefusedFiles(const QList<RefusedSourceFile> &files) override
        {
            rowsAtReport << list->rowCount();
            refused << files;
        }
    } ordered;
    ordered.list = &model;
    SourceFileAdder orderedAdder(model, ordered, boxes);

    QTemporaryDir folder;
    const QString empty = folder.filePath("empty.avi");
    QFile(empty).open(QIODevice::WriteOnly);
    const QString notAFile = folder.filePath("pipe.avi"); // a pipe under a video's name
    ASSERT_EQ(::mkfifo(QFile::encodeName(notAFile).constData(), 0600), 0);
    const QString withoutIndex = folder.filePath("without_index.mp4");
    {
        QFile whole(MediaFixtures::path("three_seconds.mp4"));
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        QFile cut(withoutIndex);
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write(whole.read(whole.size() / 2)); // the index comes last: it is cut off
    }
    const QStringList paths{MediaFixtures::path("two_seconds.avi"), MediaFixtures::path("random_bytes.avi"),
                            MediaFixtures::path("three_seconds.mp4"), MediaFixtures::path("under_one_second.avi"),
                            MediaFixtures::path("missing.avi"), empty, notAFile, withoutIndex,
                            MediaFixtures::path("two_seconds.flv")};
    QSignalSpy over(&orderedAdder, &SourceFileAdder::finished);
    orderedAdder.AddSourceFiles(paths);
    ASSERT_TRUE(over.wait(60000));
    EXPECT_EQ(fileNames(), QStringList({paths[0], paths[2], paths[8]}));
    EXPECT_EQ(ordered.rowsAtReport, QList<int>({3}));
    const QList<RefusedSourceFile> expected{{paths[1], SourceRefusal::NoDecoder}, {paths[3], SourceRefusal::TooShort},
                                            {paths[4], SourceRefusal::Missing},   {empty, SourceRefusal::Empty},
                                            {notAFile, SourceRefusal::Unreadable}, {withoutIndex, SourceRefusal::Damaged}};
    EXPECT_EQ(ordered.refused, expected);
    const QString text = RefusedFilesText(ordered.refused);
    EXPECT_TRUE(text.contains(paths[4] + "\nthe file does not exist.")) << text.toStdString();
    EXPECT_TRUE(text.contains(empty + "\nthe file is empty (0 bytes).")) << text.toStdString();
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// The real report window runs its own event loop: the operation is over only when it closes.
TEST_F(AddingSourceFiles, TheOperationEndsOnlyWhenItsReportHasBeenClosed)
{
    struct ModalReporter final : ICodecErrorReporter {
        SourceFileAdder *adder = nullptr;
        const SourceListModel *list = nullptr;
        QList<int> rowsAtReport;
        int finishedWhileOpen = 0;
        void ReportRefusedFiles(const QList<RefusedSourceFile> &) override
        {
            rowsAtReport << list->rowCount();
            QSignalSpy over(adder, &SourceFileAdder::finished);
            QMetaObject::invokeMethod(qApp, [] {}, Qt::QueuedConnection); // as a real window's own events
            QCoreApplication::sendPostedEvents();
            finishedWhileOpen = over.count();
        }
    } modal;
    SourceFileAdder modalAdder(model, modal, boxes);
    modal.adder = &modalAdder;
    modal.list = &model;

    const QStringList paths{MediaFixtures::path("random_bytes.avi"), MediaFixtures::path("two_seconds.avi"),
                            MediaFixtures::path("under_one_second.avi"), MediaFixtures::path("three_seconds.mp4")};
    QSignalSpy over(&modalAdder, &SourceFileAdder::finished);
    modalAdder.AddSourceFiles(paths);
    ASSERT_TRUE(over.wait(60000));
    EXPECT_EQ(modal.rowsAtReport, QList<int>({2}));
    EXPECT_EQ(modal.finishedWhileOpen, 0);
    EXPECT_EQ(fileNames(), QStringList({paths[1], paths[3]}));
    EXPECT_EQ(over.count(), 1);
}

TEST_F(AddingSourceFiles, AFileWhoseSizeCannotBeReadIsNamedAndTheOthersAreStillAdded)
{
    const QString unreadable = MediaFixtures::path("two_seconds.flv");
    adder.setSizeFunction([unreadable](const QString &path) -> qint64 {
        if (path == unreadable)
            throw FileSizeError("Permission denied");
        return FileSizeOf(path);
    });
    const QStringList paths{MediaFixtures::path("two_seconds.avi"), unreadable, MediaFixtures::path("three_seconds.mp4")};
    add(paths);
    EXPECT_EQ(fileNames(), QStringList({paths[0], paths[2]}));
    EXPECT_EQ(reporter.refused, QList<RefusedSourceFile>({{unreadable, SourceRefusal::SizeUnknown}}));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// A video without sound is listed, unchecked, with the reason in its tooltip, and said at once.
TEST_F(AddingSourceFiles, AVideoWithoutSoundIsAddedUncheckedAndSaidSo)
{
    const QString silent = MediaFixtures::path("video_only.mp4");
    add({MediaFixtures::path("two_seconds.avi"), silent});
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_TRUE(model.item(0).checked);
    EXPECT_FALSE(model.item(1).checked);
    EXPECT_FALSE(model.item(1).hasSound);
    EXPECT_EQ(model.data(model.index(1, SourceRow::DurationColumn)).toString(), "00:00:02");
    const QString tip = model.data(model.index(1, SourceRow::CheckColumn), Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains("no sound")) << tip.toStdString();
    EXPECT_FALSE(model.data(model.index(0, SourceRow::CheckColumn), Qt::ToolTipRole).toString().contains("no sound"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(silent));
    EXPECT_TRUE(boxes.shown[0].text.contains("no sound"));
    EXPECT_EQ(reporter.shown, 0);
}

// A folder stands for the videos in it and in its folders, in name order, as on the command line.
TEST_F(AddingSourceFiles, AFolderAddsTheVideoFilesInIt)
{
    CopiedMedia media;
    const QString b = media.copy("two_seconds.avi", "b.avi");
    const QString a = media.copy("three_seconds.mp4", "a.mp4");
    media.copy("subtitles_only.srt", "notes.srt");
    const QString folder = QFileInfo(a).absolutePath();
    QDir(folder).mkpath("inner");
    QFile::copy(MediaFixtures::path("two_seconds.flv"), folder + "/inner/c.flv");
    add({folder});
    EXPECT_EQ(fileNames(), QStringList({a, b, folder + "/inner/c.flv"}));
    EXPECT_EQ(reporter.shown, 0);
}

TEST_F(AddingSourceFiles, OperationsRunOneAfterAnotherAndTellWhenEachIsDone)
{
    QStringList events;
    QSignalSpy over(&adder, &SourceFileAdder::finished);
    adder.AddSourceFiles({MediaFixtures::path("three_seconds.mp4")}, [&] { events << "first"; });
    adder.AddSourceFiles({}, [&] { events << "empty"; });
    adder.AddSourceFiles({MediaFixtures::path("two_seconds.avi"), MediaFixtures::path("three_seconds.mp4")},
                         [&] { events << "second"; });
    EXPECT_TRUE(events.isEmpty()) << "done never runs before the call returns";
    EXPECT_TRUE(adder.isBusy());
    EXPECT_EVENTUALLY_EQ(over.count(), 3);
    EXPECT_EQ(events, QStringList({"first", "empty", "second"}));
    EXPECT_EQ(fileNames(), QStringList({MediaFixtures::path("three_seconds.mp4"), MediaFixtures::path("two_seconds.avi")}));
    EXPECT_FALSE(adder.isBusy());
}

// Destroyed while its worker measures the first of many files: the worker stops after that
// file, and neither it nor the results already on their way to the list add a row.
TEST_F(AddingSourceFiles, DestroyingTheAdderMidwayStopsCleanly)
{
    CopiedMedia media;
    QStringList many;
    for (int i = 0; i < 50; ++i)
        many << media.copy("two_seconds.avi", QStringLiteral("clip%1.avi").arg(i));
    std::atomic<int> measured{0};
    QSemaphore inFirstFile, goOn, never;
    auto early = std::make_unique<SourceFileAdder>(model, reporter, boxes);
    early->setSizeFunction([&](const QString &path) {
        const int n = ++measured;
        if (n == 1) {
            inFirstFile.release();
            goOn.tryAcquire(1, 60000);
        } else if (n == 2) {
            never.tryAcquire(1, 2000); // only reached when the stop comes late: give it time to arrive
        }
        return QFileInfo(path).size();
    });
    early->AddSourceFiles(many);
    ASSERT_TRUE(inFirstFile.tryAcquire(1, 60000));
    goOn.release();
    early.reset();
    EXPECT_LE(measured, 2) << "the worker went on measuring after the adder was gone";
    QCoreApplication::sendPostedEvents(); // results the worker had already sent
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(reporter.shown, 0);
}

// The program may end while a report window is open: the adder goes with it, and what it would
// have said next is left unsaid.
TEST_F(AddingSourceFiles, AnAdderDestroyedWhileAReportWindowIsOpenHandlesNothingMore)
{
    struct ClosingReporter final : ICodecErrorReporter {
        std::unique_ptr<SourceFileAdder> adder;
        int shown = 0;
        void ReportRefusedFiles(const QList<RefusedSourceFile> &) override
        {
            ++shown;
            adder.reset(); // the window's owner goes
        }
    } closing;
    closing.adder = std::make_unique<SourceFileAdder>(model, closing, boxes);
    QSignalSpy destroyed(closing.adder.get(), &QObject::destroyed);
    closing.adder->AddSourceFiles({MediaFixtures::path("random_bytes.avi"), MediaFixtures::path("video_only.mp4")});
    ASSERT_TRUE(destroyed.wait(60000));
    EXPECT_EQ(closing.shown, 1);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_TRUE(boxes.shown.isEmpty()) << "nothing of the gone adder is touched";
}
