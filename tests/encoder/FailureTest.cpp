// Every failure exits non-zero with one line and leaves nothing in the output folder.
#include "EncoderHarness.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>

namespace {

QString randomBytesFile(const QString& name, int size)
{
    const QString path = Fixtures::instance().dir() + "/" + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    std::mt19937 generator(size);
    QByteArray bytes(size, '\0');
    for (auto& b : bytes)
        b = char(generator());
    file.write(bytes);
    return path;
}

void expectCleanFailure(const RunResult& r, const QString& folder)
{
    EXPECT_FALSE(r.crashed);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(entriesOf(folder).isEmpty()) << entriesOf(folder).join(' ').toStdString();
}

} // namespace

TEST(EncoderFailures, RefusedInputsAndOptionsLeaveNothing)
{
    Fixtures& f = Fixtures::instance();
    const QString good = f.pcmAvi();
    const QString videoOnly =
        f.make("video-only.avi", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=1", "-c:v", "mpeg4"});
    struct Case {
        const char* what;
        QStringList args; // the output path is added last
    };
    const QList<Case> cases{
        {"missing input", {"-y", "-i", f.dir() + "/missing.avi"}},
        {"empty file", {"-y", "-i", randomBytesFile("empty.avi", 0)}},
        {"one byte", {"-y", "-i", randomBytesFile("one.avi", 1)}},
        {"random 4 kB", {"-y", "-i", randomBytesFile("r4k.avi", 4096)}},
        {"random 300 kB", {"-y", "-i", randomBytesFile("r300k.avi", 300000)}},
        {"no audio stream", {"-y", "-i", videoOnly}},
        {"unknown option", {"-y", "-i", good, "-foo", "1"}},
        {"video codec", {"-y", "-i", good, "-vcodec", "xvid", "-acodec", "mp3"}},
        {"target", {"-y", "-i", good, "-target", "vcd"}},
        {"bad bitrate", {"-y", "-i", good, "-ab", "fast"}},
        {"bad volume", {"-y", "-i", good, "-vol", "-5"}},
        {"zero length", {"-y", "-i", good, "-ss", "00:00:01", "-t", "0"}},
        {"negative length", {"-y", "-i", good, "-ss", "00:00:01", "-t", "-30"}},
        {"start past end", {"-y", "-i", good, "-ss", "00:09:00", "-t", "30"}},
        {"bad start", {"-y", "-i", good, "-ss", "ten", "-t", "30"}},
        {"missing value", {"-y", "-i", good, "-t"}},
    };
    const QString folder = freshFolder("refused");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectCleanFailure(runProgram(evcPath(), c.args + QStringList{folder + "/out.mp3"}), folder);
    }
    const RunResult noFolder = runProgram(evcPath(), {"-y", "-i", good, folder + "/no/such/folder/out.mp3"});
    expectCleanFailure(noFolder, folder);
    EXPECT_TRUE(noFolder.err.contains("folder")) << noFolder.err.toStdString();
}

// Found by fuzzing: 44 bytes of an ADPCM file whose header claims 773108224 Hz stereo. A raised
// volume put the limiter on that rate, whose buffer size then overflowed inside the filter
// library and the encoder crashed with a damaged heap. Such a file is refused as damaged (and
// the limiter works on the output's rate and channels only).
TEST(EncoderFailures, AnImpossibleSampleRateFailsCleanly)
{
    static const unsigned char apc[] = {
        0x43, 0x52, 0x59, 0x4f, 0x5f, 0x41, 0x50, 0x43, 0xbb, 0x9a, 0x98, 0xac, 0xf9, 0xfd, 0xff,
        0xff, 0x00, 0xb2, 0x14, 0x2e, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x79, 0x13, 0x13,
        0x57, 0x03, 0x71, 0x81, 0x01, 0x63, 0xb4, 0x52, 0x96, 0xb7, 0xf4, 0x7e, 0x5c, 0x06};
    const QString input = Fixtures::instance().dir() + "/claims-773MHz.apc";
    QFile file(input);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(apc), sizeof apc);
    file.close();
    const QString folder = freshFolder("impossible-rate");
    for (const QStringList& job : {QStringList{"-vol", "400"}, QStringList{"-ss", "0.2", "-t", "0.3", "-vol", "400"}}) {
        SCOPED_TRACE(job.join(' ').toStdString());
        const RunResult r = runProgram(evcPath(), QStringList{"-y", "-i", input} + job + QStringList{folder + "/out.wav"});
        expectCleanFailure(r, folder);
        EXPECT_TRUE(r.err.contains("impossible sample rate (773108224 Hz)")) << r.err.toStdString();
    }
}

TEST(EncoderFailures, KeepsAnExistingFileWithoutOverwriteFlag)
{
    const QString folder = freshFolder("existing");
    QFile existing(folder + "/out.mp3");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    const RunResult r = runProgram(evcPath(), {"-i", Fixtures::instance().pcmAvi(), existing.fileName()});
    EXPECT_NE(r.exitCode, 0);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("keep me"));
    EXPECT_EQ(entriesOf(folder), QStringList{"out.mp3"});
}

TEST(EncoderFailures, FullDiskLeavesNothing)
{
    const QString folder = freshFolder("full");
    for (const char* ext : {".wav", ".amr", ".mp3"}) {
        SCOPED_TRACE(ext);
        // A file size limit makes writes fail the way a full disk does.
        const RunResult r = runProgram(evcPath(), {"-y", "-i", Fixtures::instance().pcmAvi(), folder + "/out" + ext},
                                       [] {
                                           std::signal(SIGXFSZ, SIG_IGN);
                                           const rlimit limit{1000, 1000};
                                           setrlimit(RLIMIT_FSIZE, &limit);
                                       });
        expectCleanFailure(r, folder);
    }
}

TEST(EncoderFailures, TerminationMidwayLeavesNothing)
{
    const QString input = Fixtures::instance().longWav();
    const QString folder = freshFolder("terminated");
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(evcPath(), {"-y", "-i", input, "-acodec", "vorbis", "-vn", "-ab", "224", "-ac", "2", "-ar", "48000",
                              folder + "/long.ogg"});
    ASSERT_TRUE(process.waitForStarted(-1));
    QByteArray out;
    while (!out.contains("time=") && process.waitForReadyRead(-1))
        out += process.readAllStandardOutput();
    ASSERT_TRUE(out.contains("time=")) << out.toStdString();
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(-1));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(process.exitCode(), 0);
    EXPECT_TRUE(entriesOf(folder).isEmpty()) << entriesOf(folder).join(' ').toStdString();
}

TEST(EncoderArguments, AcceptsBlankFragmentsAndVideoOptions)
{
    const QString folder = freshFolder("arguments");
    // An unselected volume leaves a lone blank; video options are taken and have no effect.
    const RunResult r = runProgram(evcPath(), {"-y", "-i", Fixtures::instance().pcmAvi(), "-acodec", "amr_nb", "-s",
                                               "176x144", "-b", "128", "-r", "25", "-aspect", "4:3", "-ab", "64", " ",
                                               "-ac", "1", "-ar", "8000", "-t", "1", folder + "/blank.amr"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(ProbeAudio(folder + "/blank.amr").codec, "amr_nb");
    EXPECT_TRUE(r.out.startsWith("Notice: AMR-NB")) << r.out.toStdString();
    EXPECT_EQ(entriesOf(folder), QStringList{"blank.amr"});
}
