// Every output type with every quality row of the built-in tables, and the input containers.
#include "EncoderHarness.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct OutputType {
    const char* extension;
    const char* codec;
    const char* expectedCodec;
    int frameSamples; // the allowed difference in length: one codec frame, plus for ADTS the
                      // encoder's 1024-sample start-up delay, which that container cannot record
};

struct Quality {
    int kbps;
    int channels;
    int rate;
};

const OutputType types[] = {
    {".amr", "amr_nb", "amr_nb", 160},   {".aac", "aac", "aac", 2048},   {".mp3", "mp3", "mp3", 1152},
    {".ac3", "ac3", "ac3", 1536},        {".m4a", "aac", "aac", 1024},   {".ogg", "vorbis", "vorbis", 2048},
    {".wav", "pcm_s16le", "pcm_s16le", 1},
};

const Quality fullRows[] = {{48, 1, 22050}, {80, 2, 32000}, {128, 2, 44100}, {192, 2, 44100}, {224, 2, 48000}};
const Quality monoRows[] = {{48, 1, 22050}, {80, 1, 22050}, {128, 1, 22050}, {192, 1, 22050}, {224, 1, 22050}};

bool usesMonoRows(const QString& ext) { return ext == ".aac" || ext == ".ac3" || ext == ".ogg"; }

QStringList templateArgs(const QString& input, const OutputType& type, const Quality& q, const QString& output)
{
    QStringList args{"-y", "-i", input, "-acodec", type.codec};
    if (QString(type.extension) == ".amr")
        args << "-s" << "176x144" << "-b" << "128" << "-ab" << QString::number(q.kbps) << "-vol" << "200" << "-ac"
             << "1" << "-ar" << "8000";
    else
        args << "-vn" << "-ab" << QString::number(q.kbps) << "-vol" << "200" << "-ac" << QString::number(q.channels)
             << "-ar" << QString::number(q.rate);
    return args << output;
}

void expectOnlyStatusAndNotices(const QString& out, double seconds)
{
    static const QRegularExpression status(
        QStringLiteral("^size= *\\d+kB time=(\\d+\\.\\d\\d) bitrate=( *\\d+\\.\\dkbits/s|N/A)$"));
    static const QRegularExpression notice(QStringLiteral("^Notice: .+$"));
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    for (const QString& line : lines)
        EXPECT_TRUE(status.match(line).hasMatch() || notice.match(line).hasMatch()) << line.toStdString();
    const auto last = status.match(lines.last());
    ASSERT_TRUE(last.hasMatch()) << lines.last().toStdString();
    EXPECT_NEAR(last.captured(1).toDouble(), seconds, 0.05);
}

double amrSeconds(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("#!AMR\n"));
    static const int frameBytes[16] = {13, 14, 16, 18, 20, 21, 27, 32, 6, 1, 1, 1, 1, 1, 1, 1};
    int frames = 0;
    for (qsizetype at = 6; at < bytes.size(); ++frames)
        at += frameBytes[(uchar(bytes[at]) >> 3) & 0x0f];
    return frames * 0.02;
}

} // namespace

TEST(EncoderOutputTypes, EveryTypeAndQualityRowGivesAValidFile)
{
    const QString input = Fixtures::instance().pcmAvi();
    const QString folder = freshFolder("types");
    for (const OutputType& type : types) {
        const QString ext = type.extension;
        const auto& rows = usesMonoRows(ext) ? monoRows : fullRows;
        for (const Quality& q : rows) {
            SCOPED_TRACE((ext + " " + QString::number(q.kbps)).toStdString());
            const QString output = folder + "/clip" + QString::number(q.kbps) + ext;
            const RunResult r = runProgram(evcPath(), templateArgs(input, type, q, output));
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            const ProbedAudio info = ProbeAudio(output);
            EXPECT_EQ(info.audioStreams, 1);
            EXPECT_EQ(info.codec, type.expectedCodec);
            const bool amr = ext == ".amr";
            const int rate = amr ? 8000 : ext == ".ac3" && q.rate < 32000 ? 32000 : q.rate;
            EXPECT_EQ(info.sampleRate, rate);
            EXPECT_EQ(info.channels, amr ? 1 : q.channels);
            const double seconds = amr ? amrSeconds(output) : double(decodeMono(output, rate).size()) / rate;
            EXPECT_NEAR(seconds, 4.0, double(type.frameSamples) / rate + 1e-6);
            expectOnlyStatusAndNotices(r.out, 4.0);
        }
    }
    EXPECT_EQ(entriesOf(folder).size(), 35) << entriesOf(folder).join(' ').toStdString();
}

TEST(EncoderOutputTypes, ReadsTheUsualContainers)
{
    struct Container {
        const char* name;
        QStringList args;
    };
    const QStringList video{"-f", "lavfi", "-i", "testsrc=size=176x144:rate=10:duration=3"};
    const QStringList tone{"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=3"};
    const QStringList both = video + tone;
    const Container containers[] = {
        {"in.avi", both + QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame"}},
        {"in.mp4", both + QStringList{"-c:v", "mpeg4", "-c:a", "aac"}},
        {"in.flv", both + QStringList{"-c:v", "flv1", "-c:a", "libmp3lame"}},
        {"in.mov", both + QStringList{"-c:v", "mpeg4", "-c:a", "pcm_s16le"}},
        {"in.mpg", both + QStringList{"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "vob"}},
        {"in.asf", both + QStringList{"-c:v", "wmv2", "-c:a", "wmav2"}},
        {"in.3gp", both + QStringList{"-c:v", "h263", "-c:a", "aac", "-ar", "22050"}},
        {"in.rm", both + QStringList{"-c:v", "rv10", "-c:a", "ac3", "-ar", "44100"}},
        {"in.mkv", both + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}},
        {"in.webm", both + QStringList{"-c:v", "libvpx", "-deadline", "realtime", "-c:a", "libopus"}},
        {"in.ts", both + QStringList{"-c:v", "mpeg2video", "-c:a", "mp2"}},
        {"in.m2ts", both + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "ac3", "-f", "mpegts",
                                       "-mpegts_m2ts_mode", "1"}},
        {"in.mts", both + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "ac3", "-f", "mpegts",
                                      "-mpegts_m2ts_mode", "1"}},
        {"in.ogv", both + QStringList{"-c:v", "libtheora", "-c:a", "libvorbis"}},
    };
    const QString folder = freshFolder("containers");
    for (const Container& c : containers) {
        SCOPED_TRACE(c.name);
        const QString input = Fixtures::instance().make(c.name, c.args);
        const QString output = folder + "/" + QFileInfo(c.name).completeBaseName() + "-" +
                               QFileInfo(c.name).suffix() + ".mp3";
        const RunResult r = runProgram(evcPath(), {"-y", "-i", input, "-acodec", "mp3", "-vn", "-ab", "128", "-vol",
                                                   "100", "-ac", "2", "-ar", "44100", output});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const ProbedAudio info = ProbeAudio(output);
        EXPECT_EQ(info.codec, "mp3");
        EXPECT_NEAR(double(decodeMono(output, 44100).size()) / 44100, 3.0, 0.15);
        // A cut after seeking holds exactly the samples asked for.
        const QString cut = folder + "/" + QFileInfo(c.name).suffix() + "-cut.wav";
        const RunResult cutRun = runProgram(evcPath(), {"-y", "-i", input, "-acodec", "pcm_s16le", "-vn", "-ac", "1",
                                                        "-ar", "44100", "-ss", "00:00:01", "-t", "1", cut});
        ASSERT_EQ(cutRun.exitCode, 0) << cutRun.err.toStdString();
        const auto samples = decodeMono(cut, 44100);
        EXPECT_EQ(samples.size(), 44100u);
        EXPECT_NEAR(rmsDb(samples), -21.1, 1.0); // the source tone: 1/8 of full scale
    }
}

TEST(EncoderOutputTypes, TakesTheDefaultOfTwoAudioTracks)
{
    const QString input = Fixtures::instance().make(
        "two-tracks.mkv",
        {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=2", "-f", "lavfi", "-i",
         "aevalsrc='0.5*sin(2*PI*440*t)':s=44100:d=2", "-f", "lavfi", "-i", "aevalsrc='0.01*sin(2*PI*440*t)':s=44100:d=2",
         "-map", "0", "-map", "1", "-map", "2", "-c:v", "mpeg4", "-c:a", "pcm_s16le", "-disposition:a:0", "0",
         "-disposition:a:1", "default"});
    const QString output = freshFolder("tracks") + "/quiet.wav";
    const RunResult r = runProgram(evcPath(), {"-y", "-i", input, "-acodec", "pcm_s16le", output});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(ProbeAudio(output).audioStreams, 1);
    EXPECT_NEAR(rmsDb(decodeMono(output, 44100)), 20 * std::log10(0.01 / std::sqrt(2.0)), 1.0);
}
