#include "common/Fakes.h"
#include "support/AppFunc.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray expectedLine(const QDateTime &at, const QString &message)
{
    const QLocale locale = QLocale::system();
    return ("Brask Soft " + locale.toString(at.date(), QLocale::ShortFormat) + " "
            + locale.toString(at.time(), QLocale::LongFormat) + "|" + message + "\r\n")
        .toUtf8();
}

} // namespace

TEST(WriteLog, AppendsOneStampedLinePerMessageAndRecreatesADeletedLog)
{
    QTemporaryDir dir;
    FixedClock clock;
    const TAppFunc app(dir.path() + "/", clock);
    EXPECT_EQ(app.logFilePath(), dir.path() + "/log.txt");

    app.WriteLog("Playing Video error.");
    app.WriteLog(QString());
    const QByteArray first = expectedLine(clock.at, "Playing Video error.");
    ASSERT_TRUE(first.startsWith("Brask Soft "));
    EXPECT_EQ(readAll(app.logFilePath()), first + expectedLine(clock.at, QString()));
    EXPECT_TRUE(readAll(app.logFilePath()).endsWith("|\r\n"));

    QFile::remove(app.logFilePath());
    app.WriteLog("Stoß «ü»");
    EXPECT_EQ(readAll(app.logFilePath()), expectedLine(clock.at, "Stoß «ü»"));
}

TEST(WriteLog, AFailureReachesTheCaller)
{
    QTemporaryDir dir;
    FixedClock clock;
    const TAppFunc missingFolder(dir.path() + "/missing/", clock);
    EXPECT_THROW(missingFolder.WriteLog("x"), LogWriteError);
    const TAppFunc procFolder(QStringLiteral("/proc/"), clock); // not writable, not even by root
    EXPECT_THROW(procFolder.WriteLog("x"), LogWriteError);
}
