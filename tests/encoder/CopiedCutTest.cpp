// -keeporiginal on cuts, judged by the decoded sound: a copied cut holds every sample of the part
// asked as the whole file decodes it, whatever the codec's decoder needs before it. And a copy
// that cannot go on is encoded after all.
#include "EncoderHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr double ToneStart = 2.0;   // the cut's start: the tone begins exactly there
constexpr double CutLength = 1.5;

// Silence, then a 1 kHz tone from ToneStart on: any sample of it that a decoder gets wrong shows.
QString onsetSource(const QString& name, const QStringList& codecArgs, int rate)
{
    const QString tone = QString("aevalsrc='if(gte(t,%1),0.5*sin(2*PI*1000*(t-%1)),0)':s=%2:d=4")
                             .arg(ToneStart)
                             .arg(rate);
    return Fixtures::instance().make(name, QStringList{"-f", "lavfi", "-i", tone, "-ac", "2"} + codecArgs);
}

// Where `copy` begins in `whole` (in samples): the place before the tone's start where the two
// agree best over the tone's first moments, with the largest difference there.
struct Placement {
    long at = -1;
    float worst = 1e9f;
};

Placement place(const std::vector<float>& whole, const std::vector<float>& copy, long toneStart, long searched)
{
    constexpr long window = 2048;
    Placement best;
    for (long at = std::max(0L, toneStart - searched); at <= toneStart; ++at) {
        float worst = 0;
        for (long i = toneStart - at; i < toneStart - at + window && worst < best.worst; ++i) {
            if (i >= long(copy.size()) || at + i >= long(whole.size()))
                worst = 1e9f;
            else
                worst = std::max(worst, std::fabs(copy[size_t(i)] - whole[size_t(at + i)]));
        }
        if (worst < best.worst)
            best = {at, worst};
    }
    return best;
}

struct EdgeCase {
    const char* name;       // the fixture
    QStringList codecArgs;  // how ffmpeg makes it
    int rate;
    const char* extension;  // the output type
    // What the container hides from FFmpeg's decoder: the packets before the cut (m4a's edit list,
    // MP3's LAME tag), the rest of the last packet (Ogg's granule position, MP3's LAME tag).
    bool hidesBefore;
    bool hidesAfter;
};

void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.name << " to " << c.extension; }

// MP3 at 64 kbit/s: the frames around the tone's start draw on the bit reservoir of several before.
const EdgeCase edgeCases[] = {
    {"onset-vorbis.ogg", {"-c:a", "libvorbis"}, 44100, ".ogg", false, true},
    {"onset-mp3.avi", {"-c:a", "libmp3lame", "-b:a", "64k"}, 44100, ".mp3", true, true},
    {"onset-aac.mp4", {"-c:a", "aac"}, 44100, ".aac", false, false},
    {"onset-aac.mp4", {"-c:a", "aac"}, 44100, ".m4a", true, false},
    {"onset-ac3.mkv", {"-c:a", "ac3"}, 48000, ".ac3", false, false},
};

class CopiedCutEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(CopiedCutEdges, SoundStartingAtTheCutIsWholeInTheDecodedCopy)
{
    const EdgeCase& c = GetParam();
    const QString source = onsetSource(c.name, c.codecArgs, c.rate);
    const QString output = freshFolder(QString("edge-") + c.name + c.extension) + "/out" + c.extension;
    const RunResult r = runProgram(evcPath(), {"-y", "-i", source, "-vn", "-keeporiginal", "-ss", "00:00:02", "-t",
                                               QString::number(CutLength), output});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(r.out.startsWith("audio: copied (")) << r.out.toStdString();

    const std::vector<float> whole = decodeMono(source, c.rate);
    const std::vector<float> copy = decodeMono(output, c.rate);
    const long toneStart = lround(ToneStart * c.rate);
    const long asked = lround(CutLength * c.rate);
    const Placement placed = place(whole, copy, toneStart, c.rate / 4);
    ASSERT_LT(placed.worst, 0.01f) << "the tone's first moments differ from the whole file's";
    const long before = toneStart - placed.at; // what the copy holds before the cut
    ASSERT_GE(long(copy.size()), before + asked) << "the copy ends before the cut";
    float worst = 0;
    for (long i = 0; i < asked; ++i)
        worst = std::max(worst, std::fabs(copy[size_t(before + i)] - whole[size_t(toneStart + i)]));
    EXPECT_LT(worst, 0.01f);
    const long after = long(copy.size()) - before - asked;
    std::printf("%s to %s: %.1f ms before the cut, %.1f ms after\n", c.name, c.extension, 1000.0 * before / c.rate,
                1000.0 * after / c.rate);
    if (c.hidesBefore)
        EXPECT_EQ(before, 0);
    if (c.hidesAfter)
        EXPECT_EQ(after, 0);
}

INSTANTIATE_TEST_SUITE_P(Codecs, CopiedCutEdges, ::testing::ValuesIn(edgeCases), [](const auto& info) {
    QString name = QString(info.param.name) + "_to" + info.param.extension;
    name.replace('.', '_').replace('-', '_');
    return name.toStdString();
});

// Two recordings joined as they are (MPEG-TS parts put one after the other): the second part's
// times start again from where the first's did. A copy cannot keep that order; the file is
// encoded, into an output of its own, and the route says why.
TEST(CopyFailing, TimeStampsThatGoBackAreEncodedInstead)
{
    const QString part = Fixtures::instance().make(
        "part.ts", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=3", "-ac", "2", "-c:a", "aac"});
    const QString joined = Fixtures::instance().dir() + "/joined.ts";
    QFile::remove(joined);
    {
        QFile in(part), out(joined);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
        const QByteArray bytes = in.readAll();
        out.write(bytes + bytes);
    }
    const QString folder = freshFolder("copy-fails");
    const RunResult r = runProgram(evcPath(), {"-y", "-i", joined, "-vn", "-keeporiginal", folder + "/out.m4a"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("audio: copied (aac)\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\naudio: re-encoded (the copy failed at 00:00:03: the source's time stamps go back)\n"))
        << r.out.toStdString();
    EXPECT_EQ(entriesOf(folder), QStringList{"out.m4a"});
    const ProbedAudio made = ProbeAudio(folder + "/out.m4a");
    EXPECT_EQ(made.codec, "aac");
    EXPECT_NEAR(made.seconds, 6.0, 0.1);
}

} // namespace
