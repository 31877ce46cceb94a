// The source list kept between runs: saved as it changes, restored at the next start, and a
// file that cannot be read is put aside instead of lost.
#include "common/EventuallyTrue.h"
#include "common/SourceItems.h"
#include "media/SourceListFile.h"
#include "media/SourceListModel.h"
#include "media/SourceListStore.h"
#include "media/SourceRow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct StoreFolder {
    QTemporaryDir dir;
    QStringList logged;
    QString listPath() const { return dir.filePath("Config/SourceList.json"); }
    // A real file for a row, so that it is not missing.
    QString video(const QString &name)
    {
        const QString path = dir.filePath(name);
        write(path, "video");
        return path;
    }
    std::unique_ptr<SourceListStore> store(SourceListModel &model)
    {
        return std::make_unique<SourceListStore>(listPath(), model, [this](const QString &line) { logged << line; });
    }
};

} // namespace

// Rows with their ids, cuts, tracks, check boxes, pieces and converted marks come back as they
// were; rows added afterwards get ids of their own.
TEST(SourceListStore, RestoresEverythingARowHas)
{
    StoreFolder folder;
    QDir().mkpath(folder.dir.filePath("Config"));
    SourceListModel first;
    auto firstStore = folder.store(first);
    firstStore->restore();
    SourceItem film = ItemWithTimes(folder.video("film.mkv"), "01:30:00", "00:10:00", "00:20:00");
    film.audioTracks = {AudioTrack{1, "eng", "Main", "aac", 2, 48000, true}, AudioTrack{2, "fre", {}, "ac3", 6, 44100, false}};
    film.audioTrack = 2;
    SourceItem chapter = ItemWithTimes(folder.video("talk.mp4"), "00:50:00", "00:05:00", "00:09:30", false);
    SourceItem silent = ItemWithTimes(folder.video("silent.avi"), "00:00:10", "00:00:00", "00:00:10", false);
    silent.hasSound = false;
    silent.endMs = 10250; // the exact end of the file
    for (const SourceItem &item : {film, chapter, silent})
        first.appendItem(item);
    first.setSettingsKey("mp3|128");
    first.setConvertedMark(first.item(0).id, MarkOf(first.item(0), "/music/film.mp3", "mp3|128"));
    ASSERT_TRUE(firstStore->saveNow());

    SourceListModel second;
    second.setSettingsKey("mp3|128");
    folder.store(second)->restore();
    ASSERT_EQ(second.items(), first.items());
    EXPECT_EQ(second.convertedMarks(), first.convertedMarks());
    EXPECT_TRUE(second.convertedMark(second.item(0).id).has_value());
    EXPECT_GT(second.appendItem(film).value, first.item(2).id.value);
    EXPECT_TRUE(folder.logged.isEmpty()) << folder.logged.join('\n').toStdString();
}

// Changes are written a moment later without being asked; a cleared list is saved empty.
TEST(SourceListStore, SavesAsTheListChangesAndAClearedListEmpty)
{
    StoreFolder folder;
    SourceListModel model;
    auto store = folder.store(model);
    store->restore();
    model.appendItem(ItemWithTimes(folder.video("a.mp4"), "00:01:00", "00:00:05", "00:00:50"));
    EXPECT_EVENTUALLY(ReadSourceListDocument(contents(folder.listPath())).list.items.size() == 1);
    model.clear();
    EXPECT_EVENTUALLY(ReadSourceListDocument(contents(folder.listPath())).list.items.isEmpty());
    const SourceListReading saved = ReadSourceListDocument(contents(folder.listPath()));
    EXPECT_EQ(saved.outcome, SourceListReading::Outcome::Read);
    EXPECT_TRUE(saved.list.items.isEmpty());
}

// A file that cannot be read, or that a newer version wrote: the list starts empty, the file is
// kept aside byte for byte under a name of its own, and the log says so.
TEST(SourceListStore, AnUnreadableFileIsKeptAsideAndTheListStartsEmpty)
{
    const auto numbered = [](const QString &path, quint64 id) {
        SourceItem item = ItemWithTimes(path, "00:01:00", "00:00:00", "00:01:00");
        item.id = SourceItemId{id};
        return item;
    };
    const QByteArray valid = SourceListDocument({{numbered("/v/a.mp4", 1)}, {}});
    ASSERT_EQ(ReadSourceListDocument(valid).outcome, SourceListReading::Outcome::Read);
    struct Case {
        const char *what;
        QByteArray bytes;
    };
    QByteArray badType = valid;
    badType.replace("\"startMs\": 0", "\"startMs\": \"0\"");
    QByteArray negative = valid;
    negative.replace("\"startMs\": 0", "\"startMs\": -5");
    const QByteArray twice = SourceListDocument({{numbered("/v/a.mp4", 7), numbered("/v/b.mp4", 7)}, {}});
    QByteArray newer = valid;
    newer.replace("\"version\": 1", "\"version\": 2");
    const Case cases[] = {
        {"cut short", valid.left(valid.size() / 2)},
        {"not JSON", "\x01garbage"},
        {"another document", R"({"format": "something-else", "version": 1, "items": []})"},
        {"a time as text", badType},
        {"a negative time", negative},
        {"an id twice", twice},
        {"a newer version", newer},
    };
    for (const Case &c : cases) {
        StoreFolder folder;
        QDir().mkpath(folder.dir.filePath("Config"));
        write(folder.dir.filePath("Config/SourceList.unreadable.json"), "an earlier one");
        write(folder.listPath(), c.bytes);
        SourceListModel model;
        auto store = folder.store(model);
        store->restore();
        EXPECT_EQ(model.rowCount(), 0) << c.what;
        EXPECT_EQ(store->keptAside(), folder.dir.filePath("Config/SourceList.unreadable-1.json")) << c.what;
        EXPECT_EQ(contents(store->keptAside()), c.bytes) << c.what;
        EXPECT_EQ(contents(folder.dir.filePath("Config/SourceList.unreadable.json")), "an earlier one") << c.what;
        ASSERT_EQ(folder.logged.size(), 1) << c.what;
        EXPECT_TRUE(folder.logged.first().contains(store->keptAside())) << folder.logged.first().toStdString();
    }
}

// Paths with quotes and letters beyond ASCII come back as they were.
TEST(SourceListFile, ReadsWhatItWrites)
{
    SourceItem item = ItemWithTimes("/v/\"quoted\" ü.mp4", "00:01:00", "00:00:01", "00:00:59");
    item.id = SourceItemId{42};
    const SourceListReading reading = ReadSourceListDocument(SourceListDocument({{item}, {}}));
    ASSERT_EQ(reading.outcome, SourceListReading::Outcome::Read) << reading.problem.toStdString();
    EXPECT_EQ(reading.list.items, QList<SourceItem>{item});
}

// A row whose file is gone is restored greyed, "missing" in its tip.
TEST(SourceListStore, ARowWhoseFileIsGoneIsShownMissing)
{
    StoreFolder folder;
    const QString kept = folder.video("kept.mp4");
    const QString gone = folder.video("gone.mp4");
    {
        SourceListModel model;
        auto store = folder.store(model);
        store->restore();
        model.appendItem(ItemWithTimes(kept, "00:01:00", "00:00:00", "00:01:00"));
        model.appendItem(ItemWithTimes(gone, "00:01:00", "00:00:00", "00:01:00"));
        ASSERT_TRUE(store->saveNow());
    }
    QFile::remove(gone);
    SourceListModel model;
    folder.store(model)->restore();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_FALSE(model.data(model.index(0, SourceRow::FileNameColumn), SourceListModel::MissingRole).toBool());
    EXPECT_TRUE(model.data(model.index(1, SourceRow::FileNameColumn), SourceListModel::MissingRole).toBool());
    EXPECT_TRUE(model.data(model.index(1, SourceRow::EndTimeColumn), Qt::ToolTipRole).toString().contains("missing"));
    EXPECT_FALSE(model.data(model.index(0, SourceRow::FileNameColumn), Qt::ToolTipRole).toString().contains("missing"));
}

// A folder it cannot write to: the list stays in the window, one log line says why.
TEST(SourceListStore, AListThatCannotBeSavedIsLoggedOnce)
{
    StoreFolder folder;
    write(folder.dir.filePath("Config"), "a file where the folder should be");
    SourceListModel model;
    auto store = folder.store(model);
    store->restore();
    model.appendItem(ItemWithTimes("/v/a.mp4", "00:01:00", "00:00:00", "00:01:00"));
    EXPECT_FALSE(store->saveNow());
    model.appendItem(ItemWithTimes("/v/b.mp4", "00:01:00", "00:00:00", "00:01:00"));
    EXPECT_FALSE(store->saveNow());
    EXPECT_EQ(folder.logged.size(), 1) << folder.logged.join('\n').toStdString();
    EXPECT_EQ(model.rowCount(), 2);
}
