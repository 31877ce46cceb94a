// Undo and redo of the source list: every kind of change comes back whole and goes again.
#include "common/SourceItems.h"
#include "media/SourceListEditing.h"
#include "media/SourceListHistory.h"
#include "media/SourceListModel.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <functional>

namespace {

SourceItem minute(const QString &path)
{
    SourceItem item = ItemWithTimes(path, "00:01:00", "00:00:00", "00:01:00");
    item.audioTracks = {AudioTrack{1, "eng", {}, "aac", 2, 48000, true}, AudioTrack{2, "fre", {}, "ac3", 6, 48000, false}};
    return item;
}

// What a turn of the event loop brings: changes noticed on their own close their step.
void turnEventLoop() { QCoreApplication::sendPostedEvents(); }

struct ListWithHistory {
    SourceListModel model;
    SourceListHistory history{model};
    ListWithHistory()
    {
        for (const char *path : {"/v/a.mp4", "/v/b.mp4", "/v/c.mp4"})
            model.appendItem(minute(path));
        history.reset();
    }
    SourceItemId id(int row) const { return model.item(row).id; }
};

} // namespace

// Each action, as the window runs it, is one step: undo puts back the list before it, redo the
// list after it, and the step carries the label the status line shows.
TEST(SourceListHistory, UndoAndRedoEveryChangingAction)
{
    using Action = std::function<void(ListWithHistory &)>;
    struct Case {
        const char *label;
        Action action;
    };
    const auto record = [](const char *label, std::function<void(SourceListModel &)> change) {
        return [label, change](ListWithHistory &l) { l.history.record(label, [&] { change(l.model); }); };
    };
    const Case cases[] = {
        {"Remove", record("Remove", [](SourceListModel &m) { RemoveSelectedRows(m, {0, 2}, 2); })},
        {"Clear List", record("Clear List", [](SourceListModel &m) { ClearSourceList(m); })},
        {"Drag out", record("Drag out", [](SourceListModel &m) { RemoveSelectedRows(m, {1}, 1); })},
        {"Audio track", record("Audio track", [](SourceListModel &m) {
             ChooseAudioTrackForItems(m, {m.item(0).id, m.item(1).id}, 2);
         })},
        // A marker dragged: many times while the button is held make one change.
        {"Cut", [](ListWithHistory &l) {
             l.history.holdSteps();
             for (qint64 s = 1; s <= 5; ++s) {
                 l.model.setTimes(l.id(1), s * 1000, 60000);
                 turnEventLoop();
             }
             l.history.releaseSteps();
         }},
        // A time typed into a cell, checked against each selected row within one event.
        {"Cut", [](ListWithHistory &l) {
             l.model.setTimes(l.id(0), 0, 30000);
             l.model.setTimes(l.id(2), 0, 30000);
         }},
        {"Check", [](ListWithHistory &l) { ToggleAllChecked(l.model); }},
        // An add appends a file at a time over several turns of the event loop.
        {"Add", [](ListWithHistory &l) {
             l.history.beginStep("Add");
             l.model.appendItem(minute("/v/d.mp4"));
             turnEventLoop();
             l.model.appendItem(minute("/v/e.mp4"));
             turnEventLoop();
             l.history.endStep();
         }},
        // A row split in two pieces, the way actions that make pieces change the list.
        {"Split", record("Split", [](SourceListModel &m) {
             QList<SourceItem> items = m.items();
             SourceItem second = items.at(1);
             items[1].endMs = 20000;
             second.id = {};
             second.startMs = 20000;
             items.insert(2, second);
             m.replaceItems(items);
         })},
    };
    for (const Case &c : cases) {
        ListWithHistory list;
        const QList<SourceItem> before = list.model.items();
        c.action(list);
        turnEventLoop();
        const QList<SourceItem> after = list.model.items();
        ASSERT_NE(after, before) << c.label;
        EXPECT_EQ(list.history.undoLabel(), c.label);
        EXPECT_EQ(list.history.undo(), c.label);
        EXPECT_EQ(list.model.items(), before) << c.label;
        EXPECT_FALSE(list.history.canUndo()) << c.label << ": the action was more than one step";
        EXPECT_EQ(list.history.redo(), c.label);
        EXPECT_EQ(list.model.items(), after) << c.label;
        EXPECT_EQ(list.history.redo(), "") << c.label;
    }
}

// The last 50 changes (and more) can be undone, one at a time, newest first.
TEST(SourceListHistory, KeepsAtLeastFiftySteps)
{
    ListWithHistory list;
    QList<QList<SourceItem>> states{list.model.items()};
    for (int i = 1; i <= 60; ++i) {
        list.model.setTimes(list.id(0), 0, 60000 - i * 500);
        turnEventLoop();
        states << list.model.items();
    }
    for (int i = 59; i >= 0; --i) {
        ASSERT_EQ(list.history.undo(), "Cut") << i;
        EXPECT_EQ(list.model.items(), states.at(i)) << i;
    }
    EXPECT_FALSE(list.history.canUndo());
}

TEST(SourceListHistory, ANewChangeAfterUndoEndsTheRedo)
{
    ListWithHistory list;
    list.model.setChecked(list.id(0), false);
    turnEventLoop();
    list.history.undo();
    ASSERT_TRUE(list.history.canRedo());
    list.model.setTimes(list.id(1), 1000, 60000);
    turnEventLoop();
    EXPECT_FALSE(list.history.canRedo());
    EXPECT_EQ(list.history.undo(), "Cut");
    EXPECT_TRUE(list.model.item(0).checked);
}

// Undo in the middle of a long add takes back what came in so far; the rest still comes.
TEST(SourceListHistory, UndoDuringAnAddTakesBackWhatCameSoFar)
{
    ListWithHistory list;
    list.history.beginStep("Add");
    list.model.appendItem(minute("/v/d.mp4"));
    EXPECT_EQ(list.history.undo(), "Add");
    EXPECT_EQ(list.model.rowCount(), 3);
    list.model.appendItem(minute("/v/e.mp4"));
    list.history.endStep();
    EXPECT_EQ(list.history.undo(), "Add");
    EXPECT_EQ(list.model.rowCount(), 3);
}

// What a file is (missing, converted) is no part of a step: undoing a removal brings the row
// back with its mark, and an id once used is never given again.
TEST(SourceListHistory, UndoLeavesTheFactsAboutFilesAndNeverReusesAnId)
{
    ListWithHistory list;
    const SourceItemId a = list.id(0);
    list.model.setSettingsKey("mp3");
    list.model.setConvertedMark(a, MarkOf(list.model.item(0), "/out/a.mp3", "mp3"));
    list.history.record("Clear List", [&] { list.model.clear(); });
    list.model.appendItem(minute("/v/z.mp4"));
    turnEventLoop();
    list.history.undo();
    list.history.undo();
    ASSERT_EQ(list.model.rowOf(a), 0);
    EXPECT_TRUE(list.model.convertedMark(a).has_value());
    const SourceItemId fresh = list.model.appendItem(minute("/v/y.mp4"));
    EXPECT_GT(fresh.value, list.id(2).value + 1) << "the id of the undone /v/z.mp4 row is not given again";
}

TEST(SourceListHistory, LabelsSayWhatChanged)
{
    SourceListModel model;
    for (const char *path : {"/v/a.mp4", "/v/b.mp4"})
        model.appendItem(minute(path));
    const QList<SourceItem> base = model.items();
    const auto changed = [&](std::function<void(QList<SourceItem> &)> change) {
        QList<SourceItem> items = base;
        change(items);
        return LabelForChange(base, items);
    };
    EXPECT_EQ(changed([](auto &i) { i.removeAt(0); }), "Remove");
    EXPECT_EQ(changed([](auto &i) { i.append(minute("/v/c.mp4")); }), "Add");
    EXPECT_EQ(changed([](auto &i) { i[1].endMs = 5000; }), "Cut");
    EXPECT_EQ(changed([](auto &i) { i[0].checked = false; }), "Check");
    EXPECT_EQ(changed([](auto &i) { i[0].audioTrack = 2; }), "Audio track");
    EXPECT_EQ(changed([](auto &i) { i.swapItemsAt(0, 1); }), "Order");
    EXPECT_EQ(changed([](auto &i) { i[0].checked = false; i[1].startMs = 1000; }), "Change");
}
