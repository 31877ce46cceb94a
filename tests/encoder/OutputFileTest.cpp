// How the encoder's output comes into being: an unnamed file named only when complete, or (where
// unnamed files are refused, forced here with KELVANE_NO_TMPFILE=1) a temporary of ours; and
// what is left when the encoder or its parent is killed midway.
#include "EncoderHarness.h"
#include "common/EventuallyTrue.h"
#include "common/ProcessWatch.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum class Output { Unnamed, Named };

const char* nameOf(Output mode) { return mode == Output::Unnamed ? "unnamed file" : "named temporary"; }

// The encoder's environment: the named temporary forced or not, and maybe a starting program.
QProcessEnvironment environmentFor(Output mode, const QString& parentPid = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("KELVANE_NO_TMPFILE");
    environment.remove("KELVANE_PARENT_PID");
    if (mode == Output::Named)
        environment.insert("KELVANE_NO_TMPFILE", "1");
    if (!parentPid.isEmpty())
        environment.insert("KELVANE_PARENT_PID", parentPid);
    return environment;
}

RunResult runWith(const QProcessEnvironment& environment, const QStringList& args)
{
    return runProgram(evcPath(), args, {}, environment);
}

// Minutes of the 20-minute tone to AAC, the slowest of the types: seconds of work.
QStringList longAacArgs(const QString& output, const QString& length = "1200")
{
    return {"-y", "-i", Fixtures::instance().longWav(), "-acodec", "aac", "-vn", "-ab", "64", "-ac", "1", "-ar", "22050",
            "-t", length, output};
}

QRegularExpression temporaryOf(const QString& outputName, pid_t pid)
{
    return QRegularExpression("^\\." + QRegularExpression::escape(outputName) + "\\.kelvane-" + QString::number(pid) +
                              "-[A-Za-z0-9]{6}\\.part$");
}

pid_t aGonePid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

} // namespace

TEST(EncoderOutputFile, EveryTypeIsValidThroughANamedTemporary)
{
    struct Type {
        const char* extension;
        QStringList options;
        const char* codec;
    };
    const Type types[] = {
        {".amr", {"-acodec", "amr_nb", "-ab", "12", "-ac", "1", "-ar", "8000"}, "amr_nb"},
        {".aac", {"-acodec", "aac", "-ab", "128", "-ac", "2", "-ar", "44100"}, "aac"},
        {".mp3", {"-acodec", "mp3", "-ab", "128", "-ac", "2", "-ar", "44100"}, "mp3"},
        {".ac3", {"-acodec", "ac3", "-ab", "128", "-ac", "2", "-ar", "44100"}, "ac3"},
        {".m4a", {"-acodec", "aac", "-ab", "128", "-ac", "2", "-ar", "44100"}, "aac"},
        {".ogg", {"-acodec", "vorbis", "-ab", "128", "-ac", "2", "-ar", "44100"}, "vorbis"},
        {".wav", {"-acodec", "pcm_s16le", "-ac", "2", "-ar", "44100"}, "pcm_s16le"},
    };
    const QString folder = freshFolder("named-types");
    QStringList outputs;
    for (const Type& type : types) {
        SCOPED_TRACE(type.extension);
        const QString output = folder + "/clip" + type.extension;
        const RunResult r = runWith(environmentFor(Output::Named),
                                    QStringList{"-y", "-i", Fixtures::instance().pcmAvi(), "-vn"} + type.options +
                                        QStringList{output});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(ProbeAudio(output).codec, type.codec);
        outputs << QString("clip") + type.extension;
    }
    outputs.sort();
    EXPECT_EQ(FolderListing(folder), outputs);
}

// While it writes, the folder shows nothing (unnamed) or one temporary named after the output
// and the encoder. Killed, the unnamed file goes with the process; the temporary stays for the
// program that started the encoder to remove.
TEST(EncoderOutputFile, AKilledEncoderLeavesNothingOrItsOwnTemporary)
{
    for (const Output mode : {Output::Unnamed, Output::Named}) {
        SCOPED_TRACE(nameOf(mode));
        const QString folder = freshFolder(QString("killed-") + (mode == Output::Unnamed ? "unnamed" : "named"));
        QProcess encoder;
        encoder.setProcessEnvironment(environmentFor(mode));
        encoder.start(evcPath(), longAacArgs(folder + "/long.aac"));
        ASSERT_TRUE(encoder.waitForStarted(-1));
        const pid_t pid = static_cast<pid_t>(encoder.processId());
        ASSERT_EVENTUALLY(ProcessesWritingInto(folder).contains(pid));
        const QStringList whileWriting = FolderListing(folder);
        if (mode == Output::Unnamed) {
            EXPECT_EQ(whileWriting, QStringList{});
        } else {
            ASSERT_EQ(whileWriting.size(), 1);
            EXPECT_TRUE(temporaryOf("long.aac", pid).match(whileWriting.first()).hasMatch())
                << whileWriting.first().toStdString();
        }
        ::kill(pid, SIGKILL);
        ASSERT_TRUE(encoder.waitForFinished(-1));
        EXPECT_EQ(FolderListing(folder), whileWriting);
    }
}

// A file that takes the output's name while the encoder works is replaced only with -y.
TEST(EncoderOutputFile, AFileThatAppearsMeanwhileIsReplacedOnlyWithTheOverwriteFlag)
{
    for (const Output mode : {Output::Unnamed, Output::Named}) {
        for (const bool overwrite : {true, false}) {
            SCOPED_TRACE(std::string(nameOf(mode)) + (overwrite ? ", -y" : ", without -y"));
            const QString folder = freshFolder(QString("appears-%1-%2").arg(int(mode)).arg(overwrite));
            const QString output = folder + "/out.aac";
            QStringList args = longAacArgs(output, "300");
            if (!overwrite)
                args.removeFirst();
            QProcess encoder;
            encoder.setProcessEnvironment(environmentFor(mode));
            encoder.start(evcPath(), args);
            ASSERT_TRUE(encoder.waitForStarted(-1));
            const pid_t pid = static_cast<pid_t>(encoder.processId());
            ASSERT_EVENTUALLY(ProcessesWritingInto(folder).contains(pid));
            ::kill(pid, SIGSTOP); // held while the other file appears
            QFile other(output);
            ASSERT_TRUE(other.open(QIODevice::NewOnly));
            other.write("someone else's");
            other.close();
            ::kill(pid, SIGCONT);
            ASSERT_TRUE(encoder.waitForFinished(-1));
            EXPECT_EQ(FolderListing(folder), QStringList{"out.aac"});
            if (overwrite) {
                EXPECT_EQ(encoder.exitCode(), 0) << encoder.readAllStandardError().toStdString();
                EXPECT_EQ(ProbeAudio(output).codec, "aac");
            } else {
                EXPECT_NE(encoder.exitCode(), 0);
                EXPECT_TRUE(encoder.readAllStandardError().contains("already exists"));
                ASSERT_TRUE(other.open(QIODevice::ReadOnly));
                EXPECT_EQ(other.readAll(), QByteArray("someone else's"));
            }
        }
    }
}

// The encoder's parent (here a shell, standing for the program) is killed midway: the encoder
// ends within two seconds (the time the user may wait) and leaves the folder as it was.
TEST(EncoderParent, AnEncoderEndsWithItsKilledParentAndLeavesNothing)
{
    constexpr int UserWaitMs = 2000;
    for (const Output mode : {Output::Unnamed, Output::Named}) {
        SCOPED_TRACE(nameOf(mode));
        const QString folder = freshFolder(QString("orphaned-") + (mode == Output::Unnamed ? "unnamed" : "named"));
        QProcess parent;
        parent.setProcessEnvironment(environmentFor(mode));
        parent.start("sh", QStringList{"-c", "\"$@\" & wait", "sh", evcPath()} + longAacArgs(folder + "/long.aac"));
        ASSERT_TRUE(parent.waitForStarted(-1));
        ASSERT_EVENTUALLY(ProcessesWritingInto(folder).size() == 1);
        const pid_t encoder = ProcessesWritingInto(folder).first();
        ::kill(static_cast<pid_t>(parent.processId()), SIGKILL);
        EXPECT_TRUE(Eventually([&] { return !ProcessRuns(encoder); }, "the encoder has ended", UserWaitMs));
        EXPECT_EVENTUALLY(FolderListing(folder).isEmpty());
        ASSERT_TRUE(parent.state() == QProcess::NotRunning || parent.waitForFinished(-1));
    }
}

// The program that started the encoder is named in KELVANE_PARENT_PID; when it has ended before
// the encoder could ask to follow it, the encoder writes nothing. A live program that is not the
// parent (a script between the two) does not stop it.
TEST(EncoderParent, AnEncoderWhoseProgramIsGoneBeforeItRunsWritesNothing)
{
    struct Case {
        const char* what;
        QString parentPid;
        bool converts;
    };
    const Case cases[] = {
        {"the program is gone", QString::number(aGonePid()), false},
        {"the program is the parent", QString::number(getpid()), true},
        {"the program lives, another parent", "1", true},
        {"no program named", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = freshFolder(QString("parent-") + c.what);
        const RunResult r = runWith(environmentFor(Output::Unnamed, c.parentPid),
                                    {"-y", "-i", Fixtures::instance().pcmAvi(), "-acodec", "mp3", folder + "/out.mp3"});
        if (c.converts) {
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_EQ(FolderListing(folder), QStringList{"out.mp3"});
        } else {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(r.err.contains("the program that started it has ended")) << r.err.toStdString();
            EXPECT_EQ(FolderListing(folder), QStringList{});
        }
    }
}
