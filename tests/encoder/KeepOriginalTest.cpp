// -keeporiginal: the sound's packets go into the output unchanged when the output type holds the
// source's codec; cuts keep to packet boundaries with the packets the decoder needs before the
// start (m4a and ogg: exact through the edit list and the granule positions, wav: exact).
#include "EncoderHarness.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// 6 s of a 440 Hz tone, sound only, in the container and codec given.
QString toneSource(const QString& name, const QStringList& codecArgs, int rate = 44100)
{
    return Fixtures::instance().make(
        name, QStringList{"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=" + QString::number(rate) + ":duration=6",
                          "-ac", "2"} +
                  codecArgs);
}

struct CopyCase {
    const char* name;       // the fixture's file name
    QStringList codecArgs;  // how ffmpeg makes it
    int rate;
    const char* extension;  // the output type
    const char* codecOption;
    const char* codec;      // what the route line names
    bool exactCut;          // m4a and ogg: the output says it lasts exactly the asked length
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.name << " to " << c.extension; }

const CopyCase copyCases[] = {
    {"aac.mp4", {"-c:a", "aac"}, 44100, ".m4a", "aac", "aac", true},
    {"aac-adts.ts", {"-c:a", "aac"}, 44100, ".m4a", "aac", "aac", true},
    {"aac.mp4", {"-c:a", "aac"}, 44100, ".aac", "aac", "aac", false},
    {"mp3.avi", {"-c:a", "libmp3lame"}, 44100, ".mp3", "mp3", "mp3", false},
    {"ac3.mkv", {"-c:a", "ac3"}, 48000, ".ac3", "ac3", "ac3", false},
    {"vorbis.mkv", {"-c:a", "libvorbis"}, 44100, ".ogg", "vorbis", "vorbis", true},
};

// One packet of a file as FFmpeg's framemd5 of a stream copy sees it; times in seconds from the
// file's start, `end` being where the next packet begins.
struct Packet {
    double start = 0;
    double end = 0;
    QString hash;
};

// AAC is compared without ADTS headers, which only the container's framing differs in.
std::vector<Packet> packetsOf(const QString& path)
{
    const bool aac = ProbeAudio(path).codec == "aac";
    QStringList args{"-v", "error", "-i", path, "-map", "0:a", "-c", "copy"};
    if (aac)
        args << "-bsf:a" << "aac_adtstoasc";
    const RunResult plain = runProgram("ffmpeg", args << "-f" << "framemd5" << "-");
    static const QRegularExpression timeBase(QStringLiteral("^#tb 0: (\\d+)/(\\d+)$"), QRegularExpression::MultilineOption);
    const auto tb = timeBase.match(plain.out);
    EXPECT_TRUE(tb.hasMatch()) << plain.err.toStdString();
    const double unit = tb.captured(1).toDouble() / tb.captured(2).toDouble();
    std::vector<Packet> packets;
    for (const QString& line : plain.out.split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith('#'))
            continue;
        const QStringList f = line.split(',');
        Packet p;
        p.start = f[2].trimmed().toDouble() * unit; // ffmpeg counts from the file's start
        p.end = p.start + f[3].trimmed().toDouble() * unit;
        p.hash = f[5].trimmed();
        if (!packets.empty())
            packets.back().end = p.start;
        packets.push_back(p);
    }
    return packets;
}

// Where the output's packets stand, unchanged and in order, among the source's; -1 when not.
long runIn(const std::vector<Packet>& source, const std::vector<Packet>& output)
{
    if (output.empty())
        return -1;
    for (size_t at = 0; at + output.size() <= source.size(); ++at) {
        bool same = true;
        for (size_t i = 0; i < output.size() && same; ++i)
            same = source[at + i].hash == output[i].hash;
        if (same)
            return long(at);
    }
    return -1;
}

double durationOf(const QString& path)
{
    return runProgram("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", path})
        .out.trimmed()
        .toDouble();
}

RunResult keepOriginal(const QString& input, const QString& codec, const QStringList& more, const QString& output)
{
    QStringList args{"-y", "-i", input, "-acodec", codec, "-vn", "-keeporiginal"};
    return runProgram(evcPath(), args << more << output);
}

class KeepOriginalCopy : public ::testing::TestWithParam<CopyCase> {};

// The window's command line: bitrate, the source's own channels and rate, volume 100, a cut.
TEST_P(KeepOriginalCopy, CutKeepsThePacketsAroundTheAskedTimes)
{
    const CopyCase& c = GetParam();
    const QString source = toneSource(c.name, c.codecArgs, c.rate);
    const QString output = freshFolder(QString("keep-cut-") + c.name + c.extension) + "/out" + c.extension;
    const RunResult r = keepOriginal(source, c.codecOption,
                                     {"-ab", "64", "-vol", "100", "-ac", "2", "-ar", QString::number(c.rate), "-ss",
                                      "00:00:02", "-t", "3"},
                                     output);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QString("audio: copied (") + c.codec + ")\n")) << r.out.toStdString();

    const auto in = packetsOf(source);
    const auto out = packetsOf(output);
    const long at = runIn(in, out);
    ASSERT_GE(at, 0) << "the output's packets are not the source's";
    const Packet& last = in[size_t(at) + out.size() - 1];
    const double tick = 0.001; // the containers' clocks
    // The packet holding the start comes after at least one that the decoder needs before it.
    size_t holding = size_t(at);
    while (holding < size_t(at) + out.size() && in[holding].end <= 2.0 - tick)
        ++holding;
    ASSERT_LT(holding, size_t(at) + out.size()) << "the output ends before the start";
    EXPECT_GT(holding, size_t(at));
    EXPECT_LE(in[holding].start, 2.0 + tick);
    if (c.exactCut)
        EXPECT_NEAR(durationOf(output), 3.0, 0.0015);
    EXPECT_LT(last.start, 5.0 + tick);
    EXPECT_GE(last.end, 5.0 - tick);
}

TEST_P(KeepOriginalCopy, UncutFileKeepsEveryPacketAndItsLength)
{
    const CopyCase& c = GetParam();
    const QString source = toneSource(c.name, c.codecArgs, c.rate);
    const QString output = freshFolder(QString("keep-whole-") + c.name + c.extension) + "/out" + c.extension;
    // The window cuts an untouched row from 00:00:00 to its length rounded up.
    const RunResult r = keepOriginal(source, c.codecOption, {"-ss", "00:00:00", "-t", "7"}, output);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const auto in = packetsOf(source);
    const auto out = packetsOf(output);
    ASSERT_EQ(out.size(), in.size());
    EXPECT_EQ(runIn(in, out), 0);
    if (c.exactCut) {
        // All the source's sound from its 0 (a start-up packet before it stays hidden).
        EXPECT_NEAR(durationOf(output), in.back().end - std::max(in.front().start, 0.0), 0.0015);
    }
}

INSTANTIATE_TEST_SUITE_P(Types, KeepOriginalCopy, ::testing::ValuesIn(copyCases),
                         [](const auto& info) {
                             QString name = QString(info.param.name) + "_to" + info.param.extension;
                             name.replace('.', '_').replace('-', '_');
                             return name.toStdString();
                         });

QByteArray rawSamples(const QString& path)
{
    QProcess process;
    process.start("ffmpeg", {"-v", "error", "-i", path, "-map", "0:a", "-c", "copy", "-f", "s16le", "-"});
    process.waitForFinished(-1);
    return process.readAllStandardOutput();
}

TEST(KeepOriginalWav, PcmIsCutAtTheExactSample)
{
    const QString source = toneSource("pcm.avi", {"-c:a", "pcm_s16le"});
    const QString output = freshFolder("keep-wav") + "/out.wav";
    const RunResult r = keepOriginal(source, "pcm_s16le", {"-ss", "00:00:02", "-t", "3"}, output);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("audio: copied (pcm_s16le)\n")) << r.out.toStdString();
    const int bytesPerSecond = 44100 * 2 * 2;
    EXPECT_EQ(rawSamples(output), rawSamples(source).mid(2 * bytesPerSecond, 3 * bytesPerSecond));
}

struct RouteCase {
    QStringList options;
    const char* route; // the route line
};

// A quality's bit rate, rate and channels are for encoding only: the sound is copied whatever they
// say. A volume, loudness normalisation, values asked for on their own (-explicit) or a source
// whose codec the output type does not hold encode as without the option, and say why.
TEST(KeepOriginalFallback, OnlyWhatChangesTheSoundOrAnotherCodecEncodes)
{
    const QString aac = toneSource("aac.mp4", {"-c:a", "aac"});
    const QString mp3 = toneSource("mp3.avi", {"-c:a", "libmp3lame"});
    const QStringList quality{"-ab", "32", "-ac", "1", "-ar", "22050"};
    const RouteCase cases[] = {
        {QStringList{"-i", aac} + quality, "audio: copied (aac)"},
        {QStringList{"-i", aac, "-vol", "150"} + quality, "audio: re-encoded (volume 150%)"},
        {QStringList{"-i", aac, "-loudness", "-16"} + quality, "audio: re-encoded (loudness normalised to -16 LUFS)"},
        {QStringList{"-i", aac, "-explicit", "ac"} + quality, "audio: re-encoded (1 channel(s) asked)"},
        {QStringList{"-i", aac, "-explicit", "ar"} + quality, "audio: re-encoded (22050 Hz asked)"},
        {QStringList{"-i", aac, "-explicit", "ab,ar"} + quality, "audio: re-encoded (32 kbit/s asked)"},
        {QStringList{"-i", mp3} + quality, "audio: re-encoded (the source's sound is mp3, the output holds aac)"},
    };
    const QString folder = freshFolder("keep-fallback");
    const auto sourcePackets = packetsOf(aac);
    int n = 0;
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.route);
        const QString output = folder + "/out" + QString::number(n++) + ".m4a";
        const RunResult r = runProgram(evcPath(), QStringList{"-y", "-keeporiginal", "-acodec", "aac", "-ss",
                                                              "00:00:01", "-t", "2"}
                                                      << c.options << output);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QString(c.route) + "\n")) << r.out.toStdString();
        const ProbedAudio made = ProbeAudio(output);
        EXPECT_EQ(made.codec, "aac");
        EXPECT_NEAR(made.seconds, 2.0, 0.03);
        const bool copied = QString(c.route).startsWith("audio: copied");
        EXPECT_EQ(runIn(sourcePackets, packetsOf(output)) >= 0, copied);
        EXPECT_EQ(made.channels, copied ? 2 : 1);
        EXPECT_EQ(made.sampleRate, copied ? 44100 : 22050);
    }
}

// -explicit names only the options it knows, each once, and each given.
TEST(KeepOriginalFallback, ExplicitNamesOptionsThatAreGiven)
{
    const struct {
        QStringList options;
        const char* error;
    } cases[] = {
        {{"-explicit", "ab,vol", "-ab", "64"}, "Bad value for -explicit: \"ab,vol\""},
        {{"-explicit", "ar,ar", "-ar", "44100"}, "Bad value for -explicit: \"ar,ar\""},
        {{"-explicit", "ac", "-ab", "64"}, "-explicit names -ac, which is not given"},
    };
    const QString aac = toneSource("aac.mp4", {"-c:a", "aac"});
    const QString folder = freshFolder("keep-explicit");
    for (const auto& c : cases) {
        const RunResult r =
            runProgram(evcPath(), QStringList{"-y", "-keeporiginal", "-i", aac} << c.options << folder + "/out.m4a");
        EXPECT_NE(r.exitCode, 0) << c.error;
        EXPECT_TRUE(r.err.contains(c.error) || r.out.contains(c.error)) << r.err.toStdString() << r.out.toStdString();
        EXPECT_TRUE(entriesOf(folder).isEmpty());
    }
}

TEST(KeepOriginalFallback, WithoutTheOptionNothingChanges)
{
    const QString aac = toneSource("aac.mp4", {"-c:a", "aac"});
    const QString output = freshFolder("keep-off") + "/out.m4a";
    const RunResult r = runProgram(evcPath(), {"-y", "-i", aac, "-acodec", "aac", "-vn", output});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("audio:")) << r.out.toStdString();
    EXPECT_EQ(runIn(packetsOf(aac), packetsOf(output)), -1);
}

} // namespace
