#include "engine/CommandTemplates.h"
#include "engine/FragmentBuilders.h"
#include "settings/OptionTables.h"

#include <gtest/gtest.h>

TEST(CommandTemplates, ChoiceFollowsTheTrimmedCodecFragment)
{
    const struct {
        const char *codec;
        const char *extension;
        CommandTemplate expected;
    } cases[] = {
        {" -vcodec xvid -acodec mp3", ".avi", CommandTemplate::Video},
        {" -target vcd", ".mpg", CommandTemplate::Target},
        {" -acodec amr_nb", ".amr", CommandTemplate::AudioFixedMono},
        {" -acodec aac", ".3gp", CommandTemplate::AudioFixedMono},
        {" -acodec aac", ".3g2", CommandTemplate::AudioFixedMono},
        {" -acodec amr_nb", ".AMR", CommandTemplate::Audio},
        {" -acodec mp3 -vn", ".mp3", CommandTemplate::Audio},
        {" -none", ".mp3", CommandTemplate::NoneCodec},
        {"-nonesuch", ".mp3", CommandTemplate::NoneCodec},
        {" -ACODEC mp3", ".mp3", CommandTemplate::Unknown},
        {" ", ".mp3", CommandTemplate::Unknown},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ChooseTemplate(c.codec, c.extension), c.expected) << c.codec;
}

TEST(CommandTemplates, VideoAndTargetTemplatesJoinTheirFragmentsInOrder)
{
    CommandFragments f = MakeOptionFragments(EncoderSettings{}); // nothing chosen: every default
    f.format = Fragment::option("-f", "avi");
    f.timeRange = {" -ss 00:00:01 -t 5", {"-ss", "00:00:01", "-t", "5"}};
    EXPECT_EQ(MakeOutputExtension(-1), ".avi");
    EXPECT_EQ(MakeFormatArg(Mp3).text, "");

    const EncoderCommand video = AssembleCommand(CommandTemplate::Video, "/p/evc", "/in.avi", f, "/out/x.avi");
    EXPECT_EQ(video.commandLine, "/p/evc -y -i \"/in.avi\" -vcodec xvid -acodec mp3 -b 512 -s 320x240 -r 25 "
                                 "-aspect 4:3 -ab 64  -ac 2 -ar 44100 -f avi -ss 00:00:01 -t 5 \"/out/x.avi\"");
    EXPECT_EQ(video.arguments, QStringList({"-y", "-i", "/in.avi", "-vcodec", "xvid", "-acodec", "mp3", "-b", "512",
                                            "-s", "320x240", "-r", "25", "-aspect", "4:3", "-ab", "64", "-ac", "2",
                                            "-ar", "44100", "-f", "avi", "-ss", "00:00:01", "-t", "5", "/out/x.avi"}));
    EXPECT_EQ(video.outputPath, "/out/x.avi"); // a field of its own, not read back from the arguments

    f.codec = Fragment::words(" -target vcd");
    const EncoderCommand target = AssembleCommand(CommandTemplate::Target, "/p/evc", "/in.avi", f, "/out/x.mpg");
    EXPECT_EQ(target.commandLine, "/p/evc -y -i \"/in.avi\" -target vcd -ss 00:00:01 -t 5 \"/out/x.mpg\"");
    EXPECT_EQ(target.arguments, QStringList({"-y", "-i", "/in.avi", "-target", "vcd", "-ss", "00:00:01", "-t", "5",
                                             "/out/x.mpg"}));

    EXPECT_TRUE(AssembleCommand(CommandTemplate::NoneCodec, "/p/evc", "/in.avi", f, "/o").isEmpty());
    EXPECT_TRUE(AssembleCommand(CommandTemplate::Unknown, "/p/evc", "/in.avi", f, "/o").arguments.isEmpty());
}
