// The capture's chunk rules, exit status and the way the program is started.
#include "engine/OutputCapture.h"
#include "common/TestChild.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Capture {
    bool started = false;
    TExitStatus status;
    QStringList chunks;
};

Capture capture(const QString &program, const QStringList &arguments,
                const std::function<void(const QString &, QStringList &)> &onChunk = {})
{
    Capture result;
    TChildControl control;
    result.started = RunAndCapture(
        program, arguments,
        [&](const QString &chunk) {
            result.chunks << chunk;
            if (onChunk)
                onChunk(chunk, result.chunks);
        },
        control, &result.status);
    return result;
}

QString alphabet(int from, int count)
{
    QString text;
    for (int i = from; i < from + count; ++i)
        text += QChar(u'a' + i % 26);
    return text;
}

} // namespace

TEST(OutputCapture, SilentProcessDeliversNothingAndReportsItsEnd)
{
    const Capture run = capture(testChildPath(), {QStringLiteral("silent")});
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.chunks.isEmpty());
    EXPECT_TRUE(run.status.succeeded());
}

TEST(OutputCapture, OfSeveralWaitingBlocksOnlyTheLastIsDelivered)
{
    const Capture run = capture(testChildPath(), {QStringLiteral("bytes"), QStringLiteral("2500")});
    ASSERT_EQ(run.chunks.size(), 1);
    EXPECT_EQ(run.chunks.first().size(), 454);
    EXPECT_EQ(run.chunks.first(), alphabet(2046, 454));
}

TEST(OutputCapture, ShorterChunkCarriesNothingOfTheLongerOneBefore)
{
    QTemporaryDir folder;
    const QByteArray fifo = QFile::encodeName(folder.filePath(QStringLiteral("go")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const Capture run = capture(testChildPath(),
                                {QStringLiteral("then-fifo"), QStringLiteral("600"), QString::fromLocal8Bit(fifo),
                                 QStringLiteral("BB")},
                                [&](const QString &, QStringList &chunks) {
                                    if (chunks.size() != 1)
                                        return;
                                    const int end = ::open(fifo.constData(), O_WRONLY);
                                    ASSERT_EQ(::write(end, "x", 1), 1);
                                    ::close(end);
                                });
    EXPECT_EQ(run.chunks, QStringList({QString(600, u'A'), QStringLiteral("BB")}));
}

TEST(OutputCapture, ProgramThatCannotStartDeliversNothing)
{
    for (const QString &program : {QStringLiteral("/nonexistent/folder/evc"), QString()}) {
        const Capture run = capture(program, {QStringLiteral("x")});
        EXPECT_FALSE(run.started) << program.toStdString();
        EXPECT_TRUE(run.chunks.isEmpty());
        EXPECT_EQ(run.status.kind, TExitStatus::Kind::NotStarted);
        EXPECT_FALSE(run.status.startError.isEmpty());
    }
}

TEST(OutputCapture, ReportsHowTheProgramEnded)
{
    struct Case {
        QStringList arguments;
        TExitStatus::Kind kind;
        int code;
        int signal;
    } cases[] = {
        {{QStringLiteral("exit"), QStringLiteral("0")}, TExitStatus::Kind::Exited, 0, 0},
        {{QStringLiteral("exit"), QStringLiteral("3")}, TExitStatus::Kind::Exited, 3, 0},
        {{QStringLiteral("signal"), QStringLiteral("15")}, TExitStatus::Kind::Signalled, 0, 15},
    };
    for (const Case &c : cases) {
        const Capture run = capture(testChildPath(), c.arguments);
        EXPECT_TRUE(run.started);
        EXPECT_EQ(run.status.kind, c.kind) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.status.code, c.code);
        EXPECT_EQ(run.status.signal, c.signal);
    }
    EXPECT_EQ(capture(testChildPath(), {QStringLiteral("exit"), QStringLiteral("3")}).status.describe(),
              QStringLiteral("exit code 3"));
}

TEST(OutputCapture, EveryArgumentArrivesAsExactlyOneArgument)
{
    const QStringList arguments{QStringLiteral("two words"), QStringLiteral("\"quoted\" 'single'"),
                                QStringLiteral("$HOME ${PATH}"), QStringLiteral("`id` $(id)"),
                                QStringLiteral("Ünïcödé ✓ 音"), QString(), QStringLiteral("a;b|c&d>e*")};
    const Capture run = capture(testChildPath(), QStringList{QStringLiteral("args")} + arguments);
    QString expected;
    for (const QString &argument : arguments)
        expected += QStringLiteral("[") + argument + QStringLiteral("]\n");
    ASSERT_EQ(run.chunks.size(), 1);
    EXPECT_EQ(run.chunks.first(), expected);
}

TEST(OutputCapture, WorkingFolderIsTheProgramFolder)
{
    QTemporaryDir parent;
    const QString folder = parent.path() + QStringLiteral("/prog folder $x 'q' ü");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = copyTestChild(folder, QStringLiteral("child"));
    const QString relative = QDir::current().relativeFilePath(program);
    for (const QString &path : {program, relative}) {
        const Capture run = capture(path, {QStringLiteral("cwd")});
        ASSERT_EQ(run.chunks.size(), 1) << path.toStdString();
        EXPECT_EQ(run.chunks.first(), QDir(folder).canonicalPath());
    }
}

TEST(OutputCapture, ProgramRunsInItsOwnProcessGroup)
{
    const Capture run = capture(testChildPath(), {QStringLiteral("pgid")});
    ASSERT_EQ(run.chunks.size(), 1);
    const QStringList ids = run.chunks.first().split(u' ');
    ASSERT_EQ(ids.size(), 2);
    EXPECT_EQ(ids.at(0), ids.at(1));
    EXPECT_NE(ids.at(1).toInt(), ::getpgrp());
}
