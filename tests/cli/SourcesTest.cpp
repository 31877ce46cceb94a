// Which files a run takes and the part of each that it converts.
#include "cli/SourceArguments.h"
#include "cli/SourceCut.h"
#include "media/SourceListModel.h"
#include "media/SourceProbeRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

// The same start and end for every file, checked against each file's own length (90.5 s here).
TEST(SourceCut, TimesAreCheckedAgainstTheFilesLength)
{
    const ProbedSourceFile file{"/v/clip.avi", false, 90, 90500, 2048, {}};
    const struct {
        std::optional<qint64> start, end;
        const char *startTime, *endTime, *cutTime;
    } cases[] = {
        {std::nullopt, std::nullopt, "00:00:00", "00:01:30", "00:01:30"}, // the row the window adds
        {10, 60, "00:00:10", "00:01:00", "00:00:50"},
        {10, std::nullopt, "00:00:10", "00:01:30", "00:01:20"},
        {std::nullopt, 300, "00:00:00", "00:01:30", "00:01:30"},          // an end past the file's end
        {89, 300, "00:01:29", "00:01:30", "00:00:01"},
    };
    for (const auto &c : cases) {
        const CutSource cut = CutSourceItem(file, c.start, c.end);
        EXPECT_TRUE(cut.refusal.isEmpty()) << cut.refusal.toStdString();
        const QStringList expected{"/v/clip.avi", "2 KB", "00:01:30", c.startTime, c.endTime, c.cutTime};
        QStringList shown;
        for (int column = SourceRow::FileNameColumn; column < SourceRow::ColumnCount; ++column)
            shown << SourceCellText(cut.item, column);
        EXPECT_EQ(shown, expected);
        EXPECT_TRUE(cut.item.checked);
        EXPECT_EQ(cut.item.durationMs, 90500);
        if (QString::fromLatin1(c.endTime) == "00:01:30") {
            EXPECT_EQ(cut.item.endMs, 90500) << "an end at the file's end is its exact end";
        }
    }
    for (const qint64 start : {90, 91, 3600})
        EXPECT_FALSE(CutSourceItem(file, start, std::nullopt).refusal.isEmpty()) << "nothing is left from " << start;
}

// Folders stand for their videos and those of their subfolders (natural order, a folder's own
// videos first); every path becomes absolute;
// a file named twice is converted once; what the window would not take is named with a reason.
TEST(SourceArguments, FoldersFilesAndWhatIsNotTaken)
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/";
    QDir().mkpath(root + "in/sub");
    QDir().mkpath(root + "empty");
    for (const char *name : {"in/b.avi", "in/A.MP4", "in/notes.txt", "in/sub/c.avi", "x.txt"})
        QFile(root + QString::fromLatin1(name)).open(QIODevice::WriteOnly);

    const SourceList list = CollectSources({"in", "./in/b.avi", root + "in/../x.txt", "gone.avi", "empty"}, root);
    EXPECT_EQ(list.accepted, (QStringList{root + "in/A.MP4", root + "in/b.avi", root + "in/sub/c.avi"}));
    QStringList rejected;
    for (const RejectedSource &r : list.rejected)
        rejected << r.path + " | " + r.reason.section(u' ', 0, 2);
    EXPECT_EQ(rejected, (QStringList{root + "in/../x.txt | not a video", "gone.avi | no such file.",
                                     "empty | this folder holds"}));
}
