// Rows converted already are known: marked, asked about once before a run, and unmarked by a
// change that would give another output.
#include "common/Fakes.h"
#include "common/SourceItems.h"
#include "media/SourceListModel.h"
#include "media/SourceRow.h"
#include "services/ConvertedRows.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ConvertedList {
    QTemporaryDir dir;
    SourceListModel model;
    FakeMessageBoxes boxes;
    QStringList logged;

    // Four checked rows on real files; the first three converted with the settings "mp3".
    ConvertedList()
    {
        model.setSettingsKey("mp3");
        for (const char *name : {"a.mp4", "b.mp4", "c.mp4", "d.mp4"}) {
            QFile file(dir.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            const SourceItemId id = model.appendItem(ItemWithTimes(file.fileName(), "00:01:00", "00:00:00", "00:01:00"));
            if (model.rowCount() < 4)
                model.setConvertedMark(id, MarkOf(model.item(model.rowCount() - 1), dir.filePath("out.mp3"), "mp3"));
        }
    }
    bool converted(int row) const
    {
        return model.data(model.index(row, SourceRow::CheckColumn), SourceListModel::ConvertedRole).toBool();
    }
    RunPreparation prepare() { return PrepareRun(model, boxes, [this](const QString &line) { logged << line; }); }
    QSet<quint64> ids(const QList<int> &rows) const
    {
        QSet<quint64> set;
        for (int row : rows)
            set.insert(model.item(row).id.value);
        return set;
    }
};

} // namespace

// The mark shows in the check cell and the output's name in the tip, for as long as the row's
// cut and track and the settings are the ones it was converted with.
TEST(ConvertedRows, AChangedCutTrackOrSettingClearsTheMark)
{
    ConvertedList list;
    EXPECT_TRUE(list.converted(0));
    EXPECT_FALSE(list.converted(3));
    EXPECT_TRUE(list.model.data(list.model.index(0, SourceRow::FileNameColumn), Qt::ToolTipRole).toString().contains("Converted to out.mp3"));
    EXPECT_FALSE(list.model.data(list.model.index(0, SourceRow::StartTimeColumn), SourceListModel::ConvertedRole).toBool());

    list.model.setTimes(list.model.item(0).id, 5000, 60000);
    EXPECT_FALSE(list.converted(0)) << "a changed cut";
    list.model.setAudioTrack(list.model.item(1).id, 2);
    EXPECT_FALSE(list.converted(1)) << "a changed track";
    EXPECT_TRUE(list.converted(2));
    list.model.setSettingsKey("ogg");
    EXPECT_FALSE(list.converted(2)) << "changed settings";
    EXPECT_FALSE(list.model.data(list.model.index(2, SourceRow::FileNameColumn), Qt::ToolTipRole).toString().contains("Converted"));
}

// One question for all of them; each answer does what its button says.
TEST(ConvertedRows, ConvertAsksOnceAboutRowsConvertedWithTheseSettings)
{
    struct Case {
        const char *what;
        MessageAnswer answer; // Yes: the first button, No: the second, Cancel: the third
        bool go;
        QList<int> leftOut;
    };
    const Case cases[] = {
        {"Convert again", MessageAnswer::Yes, true, {}},
        {"Skip them", MessageAnswer::No, true, {0, 1, 2}},
        {"Cancel", MessageAnswer::Cancel, false, {}},
    };
    for (const Case &c : cases) {
        ConvertedList list;
        list.boxes.answers = {c.answer};
        const RunPreparation preparation = list.prepare();
        ASSERT_EQ(list.boxes.shown.size(), 1) << c.what;
        EXPECT_EQ(list.boxes.shown.at(0).text, "3 checked rows were already converted with these settings into this folder");
        EXPECT_EQ(list.boxes.shown.at(0).buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(preparation.go, c.go) << c.what;
        EXPECT_EQ(preparation.leaveOut, list.ids(c.leftOut)) << c.what;
    }
    EXPECT_EQ(AlreadyConvertedButtons(), QStringList({"Convert again", "Skip them", "Cancel"}));
}

// Unchecked rows, rows whose mark no longer holds and rows of other settings ask nothing.
TEST(ConvertedRows, NoQuestionWithoutRowsConvertedWithTheseSettings)
{
    ConvertedList list;
    list.model.setChecked(list.model.item(0).id, false);
    list.model.setTimes(list.model.item(1).id, 1000, 60000);
    list.boxes.answers = {MessageAnswer::Yes};
    list.prepare();
    ASSERT_EQ(list.boxes.shown.size(), 1);
    EXPECT_EQ(list.boxes.shown.at(0).text, "1 checked row was already converted with these settings into this folder");
    list.model.setSettingsKey("ogg");
    list.boxes.shown.clear();
    EXPECT_TRUE(list.prepare().go);
    EXPECT_TRUE(list.boxes.shown.isEmpty());
}

// A checked row whose file is gone is left out with a line in the log and shown missing; when
// nothing is left, no run starts and the status line says why.
TEST(ConvertedRows, MissingFilesAreLeftOutWithALogLine)
{
    ConvertedList list;
    QFile::remove(list.model.item(3).path);
    list.boxes.answers = {MessageAnswer::Yes};
    const RunPreparation preparation = list.prepare();
    EXPECT_TRUE(preparation.go);
    EXPECT_EQ(preparation.leaveOut, list.ids({3}));
    EXPECT_EQ(list.logged, QStringList{"Skipped: " + list.model.item(3).path + " (the file is missing)"});
    EXPECT_TRUE(list.model.isMissing(list.model.item(3).id));

    list.boxes.answers = {MessageAnswer::No}; // skip the converted ones: nothing is left
    const RunPreparation none = list.prepare();
    EXPECT_FALSE(none.go);
    EXPECT_FALSE(none.status.isEmpty());
}
