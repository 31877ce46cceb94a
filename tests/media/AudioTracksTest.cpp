// The audio tracks of a source file: what probing lists, how a track is named, which one a row
// converts, and what the source list's rows tell of it.
#include "AudioTrackRows.h"
#include "FakeCodecErrorReporter.h"
#include "common/AudioTrackMedia.h"
#include "common/EventuallyTrue.h"
#include "common/Fakes.h"
#include "media/AudioTrackText.h"
#include "media/AudioTracks.h"
#include "media/SourceFileAdder.h"
#include "media/SourceListEditing.h"
#include "media/SourceListModel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace AudioTrackMedia;
using namespace AudioTrackRows;

namespace {

QTemporaryDir &mediaFolder()
{
    static QTemporaryDir folder;
    return folder;
}

} // namespace

TEST(AudioTrackProbe, ListsEveryAudioTrackWithItsTagsInFileOrder)
{
    const struct {
        const char *name;
        DefaultTrack marked;
        bool firstDefault, secondDefault;
        int converted;
        const char *secondTitle;
    } cases[] = {
        {"first.mkv", DefaultTrack::First, true, false, 1, "Commentaire"},
        {"second.mkv", DefaultTrack::Second, false, true, 2, "Commentaire"},
        {"none.mkv", DefaultTrack::None, false, false, 1, "Commentaire"},
        {"second.mp4", DefaultTrack::Second, false, true, 2, ""}, // MP4 keeps no track title
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = make(mediaFolder().path(), c.name, c.marked);
        ASSERT_FALSE(file.isEmpty());
        const AudioTrackList tracks = ProbeAudioTracks(file);
        const AudioTrackList expected{{1, "eng", "", "aac", 2, 48000, c.firstDefault},
                                      {2, "fre", c.secondTitle, "ac3", 6, 48000, c.secondDefault}};
        EXPECT_EQ(tracks, expected);
        EXPECT_EQ(DefaultAudioTrack(tracks), c.converted);
    }
}

TEST(AudioTrackProbe, AFileWithoutSoundOrUnreadableListsNoTrack)
{
    EXPECT_TRUE(ProbeAudioTracks(mediaFolder().path() + "/missing.mkv").isEmpty());
    EXPECT_TRUE(ProbeAudioTracks(mediaFolder().path()).isEmpty()); // a folder
    EXPECT_EQ(DefaultAudioTrack({}), std::nullopt);
    EXPECT_EQ(EffectiveAudioTrack({}, std::nullopt), std::nullopt);
}

TEST(AudioTrackText, NamesTheLanguageTitleCodecChannelsAndTheDefault)
{
    const struct {
        AudioTrack track;
        std::string label;
    } cases[] = {
        {english(), "1: English - AAC stereo (default)"},
        {french(), "2: French, Commentaire - AC3 5.1"},
        {{3, "", "Director's commentary", "mp3", 1, 44100, false}, "3: Director's commentary - MP3 mono"},
        {{3, "eng", "Director's commentary", "mp3", 1, 44100, false}, "3: English, Director's commentary - MP3 mono"},
        {{1, "eng", "english", "aac", 2, 48000, false}, "1: English - AAC stereo"},
        {{1, "eng", "eng", "aac", 2, 48000, false}, "1: English - AAC stereo"},
        {{2, "", "  Stereo\n mix  ", "aac", 2, 48000, false}, "2: Stereo mix - AAC stereo"},
        {{2, "fre", QString(70, u'x'), "aac", 2, 48000, false},
         "2: French, " + std::string(59, 'x') + "\u2026 - AAC stereo"},
        {{4, "", "", "vorbis", 0, 0, false}, "4: Vorbis"},
        {{5, "qaa", "", "pcm_s16le", 8, 48000, true}, "5: qaa - PCM 7.1 (default)"},
        {{6, "ger", "Kommentar", "eac3", 3, 48000, false}, "6: German, Kommentar - E-AC3 3 channels"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AudioTrackLabel(c.track), QString::fromStdString(c.label));
}

TEST(AudioTrackChoice, ATrackIsFoundByItsNumberOrItsLanguage)
{
    const AudioTrackList tracks{english(), french(), {3, "fra", "", "mp3", 2, 44100, false}};
    const struct {
        AudioTrackWish wish;
        std::optional<int> found;
    } cases[] = {
        {{1, {}}, 1},         {{3, {}}, 3},         {{4, {}}, std::nullopt}, {{0, {}}, std::nullopt},
        {{{}, "fre"}, 2},     {{{}, "FRE"}, 2},     {{{}, "fra"}, 2},        // fre and fra are both French
        {{{}, "fr"}, 2},      {{{}, "en"}, 1},      {{{}, "ger"}, std::nullopt},
        {{{}, ""}, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.wish.number.value_or(-1));
        SCOPED_TRACE(c.wish.language.toStdString());
        EXPECT_EQ(FindAudioTrack(tracks, c.wish), c.found);
    }
}

TEST(AudioTrackChoice, AChoiceAppliesToEachItemThatHasTheTrack)
{
    SourceListModel model;
    const SourceItemId two = model.appendItem(itemWith("/v/two.mp4", {english(), french()}));
    const SourceItemId one = model.appendItem(itemWith("/v/one.avi", {english()}));
    const SourceItemId silent = model.appendItem(itemWith("/v/silent.avi", {}));
    const SourceItemId other = model.appendItem(itemWith("/v/other.mp4", {english(), french()}));
    EXPECT_EQ(ChooseAudioTrackForItems(model, {other, two, one, silent, two}, 2), (QList<SourceItemId>{other, two}));
    EXPECT_EQ(model.item(0).audioTrack, 2);
    EXPECT_EQ(model.item(1).audioTrack, std::nullopt);
    EXPECT_EQ(model.item(2).audioTrack, std::nullopt);
    EXPECT_EQ(model.item(3).audioTrack, 2);
    model.removeRows(0, 1); // an item the list no longer holds, and ids it never gave, are passed over
    EXPECT_EQ(ChooseAudioTrackForItems(model, {two, SourceItemId{99}, SourceItemId{}, one}, 1),
              (QList<SourceItemId>{one}));
    EXPECT_EQ(model.item(0).id, one);
    EXPECT_EQ(model.item(0).audioTrack, 1);
}

// The columns' texts stay as they are; the count of tracks and the converted track show beside them.
TEST(AudioTrackChoice, ARowWithSeveralTracksShowsTheirCountAndNamesItsTrackInItsTooltip)
{
    SourceListModel model;
    model.appendItem(itemWith("/v/two.mp4", {english(), french()}));
    model.appendItem(itemWith("/v/one.avi", {english()}));
    const auto tip = [&](int row, int column) { return model.index(row, column).data(Qt::ToolTipRole); };
    const auto count = [&](int row) { return model.index(row, 1).data(SourceListModel::AudioTrackCountRole).toInt(); };

    EXPECT_EQ(model.index(0, 1).data().toString(), "/v/two.mp4");
    EXPECT_EQ(count(0), 2);
    EXPECT_EQ(count(1), 0);
    EXPECT_EQ(tip(0, 1).toString(), "/v/two.mp4\nAudio track: 1: English - AAC stereo (default)");
    EXPECT_EQ(tip(0, 3).toString(), "Audio track: 1: English - AAC stereo (default)");
    EXPECT_EQ(tip(1, 1).toString(), "/v/one.avi");
    EXPECT_FALSE(tip(1, 3).isValid());

    QSignalSpy changed(&model, &SourceListModel::dataChanged);
    model.setAudioTrack(model.item(0).id, 2);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].value<QModelIndex>(), model.index(0, 0));
    EXPECT_EQ(changed[0][1].value<QModelIndex>(), model.index(0, 6));
    EXPECT_EQ(tip(0, 1).toString(), "/v/two.mp4\nAudio track: 2: French, Commentaire - AC3 5.1");
    EXPECT_EQ(model.index(0, 1).data().toString(), "/v/two.mp4");
}

// Adding a file lists its tracks in its item.
TEST(AudioTrackRows, AnAddedFileKeepsItsTracksInItsRow)
{
    const QString file = make(mediaFolder().path(), "added.mp4", DefaultTrack::Second);
    ASSERT_FALSE(file.isEmpty());
    SourceListModel model;
    FakeCodecErrorReporter reporter;
    FakeMessageBoxes boxes;
    SourceFileAdder adder(model, reporter, boxes);
    adder.AddSourceFiles({file});
    ASSERT_EVENTUALLY(!adder.isBusy());
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.item(0).audioTracks, ProbeAudioTracks(file));
    EXPECT_EQ(model.item(0).audioTracks.size(), 2);
    EXPECT_EQ(model.item(0).audioTrack, std::nullopt);
}
