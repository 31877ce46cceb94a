#include "common/Fakes.h"
#include "engine/OutputFolder.h"
#include "media/SourceListModel.h"
#include "services/CommonLib.h"
#include "services/CustomProc.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ServiceObjects, ConversionFillsTheSharedRecordAndRunState)
{
    QTemporaryDir tmp;
    FixedClock clock;
    FakeMessageBoxes boxes;
    OptionSelectionModel options;
    SourceListModel sources;
    TCommonLib common(tmp.path() + "/", clock, boxes);
    TCustomProc proc(common, options, sources);
    EXPECT_EQ(proc.outputFolderText(), QDir::homePath() + "/Kelvane");
    EXPECT_EQ(DefaultOutputFolder(), QDir::homePath() + "/Kelvane");

    int profileLoads = 0;
    proc.setLoadSelectedCustomProfile([&] { ++profileLoads; });
    proc.FillAllSelectors();
    proc.ApplyQualityProfile();
    proc.setOutputFolderText(tmp.path() + "/out");
    SourceItem clip = WholeFileItem("/v/clip.avi", 1024 * 1024, 60000);
    clip.startMs = 5000;
    clip.endMs = 35000;

    const ConvertResult result = proc.CreateConvertParameter(clip);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.command.program, tmp.path() + "/evc");
    EXPECT_EQ(common.convertParameter().codecArg, " -acodec amr_nb");
    EXPECT_EQ(common.convertParameter().outputFolder, tmp.path() + "/out/");
    EXPECT_EQ(result.startText, "00:00:05");
    EXPECT_EQ(result.durationText, "30");
    EXPECT_EQ(profileLoads, 1);
    EXPECT_EQ(proc.PrepareOutputFolder(), tmp.path() + "/out/");

    EXPECT_TRUE(common.ShowMessageBox("Hello", 1));
    EXPECT_FALSE(common.ShowMessageBox("Hello", 4));
    EXPECT_EQ(boxes.texts(), QStringList({"Hello"}));
    EXPECT_DOUBLE_EQ(common.NumericPart("time=12.5"), 12.5);
    EXPECT_EQ(common.SplitByChar("a|b", u'|'), QStringList({"a", "b"}));
}

// Installed, the program folder is read-only: the log and the RealMedia script go to the user's
// state folder, while the encoders are still run from the program folder.
TEST(ServiceObjects, LogAndScriptGoWhereTheLocationsSay)
{
    QTemporaryDir program, state;
    const FileLocations locations{program.path() + "/", "/unused/", state.path() + "/", false};
    FixedClock clock;
    FakeMessageBoxes boxes;
    OptionSelectionModel options;
    SourceListModel sources;
    TCommonLib common(locations, clock, boxes);
    TCustomProc proc(common, options, sources);
    proc.FillAllSelectors();
    proc.ApplyQualityProfile();
    proc.setOutputFolderText(state.path() + "/out");
    const ConvertResult result = proc.CreateConvertParameter(WholeFileItem("/v/clip.rmvb", 1024 * 1024, 60000));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.command.program, program.path() + "/revc");
    EXPECT_TRUE(result.command.arguments.contains(state.path() + "/VideoFile.avs"));
    EXPECT_TRUE(QFileInfo::exists(state.path() + "/VideoFile.avs"));
    EXPECT_TRUE(QFileInfo::exists(state.path() + "/log.txt"));
    EXPECT_TRUE(QDir(program.path()).isEmpty());
}
