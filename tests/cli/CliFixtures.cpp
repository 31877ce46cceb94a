#include "CliFixtures.h"

#include "cli/ConsoleReport.h"
#include "cli/ConvertProgram.h"
#include "common/Ffmpeg.h"
#include "common/TestPaths.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>

namespace {

constexpr int GuardMs = 120000; // only keeps a broken run from hanging the suite

// Each fixture is made when a test first asks for it (every test runs in a process of its own).
class MediaFolder {
public:
    QString path(const QString &name)
    {
        if (!m_made.contains(name) && !m_failed.contains(name)) {
            if (runFfmpeg(recipe(name) + QStringList{m_folder.filePath(name)}))
                m_made << name;
            else
                m_failed << name;
        }
        return m_made.contains(name) ? m_folder.filePath(name) : QString();
    }

private:
    static QStringList recipe(const QString &name)
    {
        const QStringList picture{"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10"};
        const auto sound = [](const char *seconds) {
            return QStringList{"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", seconds, "-ac", "2"};
        };
        if (name == u"three_seconds.avi")
            return picture + sound("3") + QStringList{"-c:v", "mpeg4", "-c:a", "mp2"};
        if (name == u"video_only.avi")
            return picture + QStringList{"-t", "2", "-c:v", "mpeg4"};
        if (name == u"two_seconds.rm")
            return picture + sound("2") + QStringList{"-c:v", "rv10", "-c:a", "ac3", "-f", "rm"};
        if (name == u"four_seconds.rm")
            return picture + sound("4") + QStringList{"-c:v", "rv10", "-c:a", "ac3", "-f", "rm"};
        if (name == u"ten_minutes.avi")
            return {"-f", "lavfi", "-i", "color=size=16x16:rate=1", "-f", "lavfi", "-i",
                    "sine=frequency=440:sample_rate=22050", "-t", "600", "-c:v", "mpeg4", "-c:a", "mp2", "-b:a", "64k"};
        return {};
    }

    QTemporaryDir m_folder;
    QStringList m_made;
    QStringList m_failed;
};

} // namespace

QString CliMedia::path(const QString &name)
{
    static MediaFolder folder;
    return folder.path(name);
}

QString CliSetup::input(const QString &fixture, const QString &name) const
{
    const QString copy = inputFolder + name;
    QDir().mkpath(QFileInfo(copy).path());
    QFile::copy(CliMedia::path(fixture), copy);
    return copy;
}

CliResult CliSetup::run(const QStringList &arguments, bool terminal) const
{
    QByteArray out, err;
    QBuffer outBuffer(&out), errBuffer(&err);
    outBuffer.open(QIODevice::WriteOnly);
    errBuffer.open(QIODevice::WriteOnly);
    ConsoleReport console(outBuffer, errBuffer, ConsoleMode{terminal}, [] { return 100; });
    ConvertProgram program(arguments, {FileLocations::portableIn(programFolder), tmp.path(), 2, &clock}, console);
    if (terminal)
        program.setProgressInterval(50);
    CliResult result;
    QObject::connect(&program, &ConvertProgram::finished, [&](int status) { result.status = status; });
    QSignalSpy finished(&program, &ConvertProgram::finished);
    program.start();
    if (finished.isEmpty())
        finished.wait(GuardMs);
    result.out = QString::fromUtf8(out);
    result.err = QString::fromUtf8(err);
    return result;
}

void CliSetup::wrapEncoder(const QString &name, const QString &body) const
{
    QString script = body;
    script.replace(QStringLiteral("$REAL"), builtProgramFolder() + name);
    script.replace(QStringLiteral("$DIR"), tmp.path());
    useScriptEncoder(script, name);
}

void CliSetup::gateEncoder(const QString &name) const
{
    QProcess::execute(QStringLiteral("mkfifo"), {tmp.filePath(QStringLiteral("gate"))});
    wrapEncoder(name, QStringLiteral(
                          "for last; do :; done\n"
                          "echo \"start $last\" >> '$DIR/encoders.txt'\n"
                          "if mkdir '$DIR/first' 2>/dev/null; then timeout 30 cat '$DIR/gate' > /dev/null\n"
                          "elif mkdir '$DIR/second' 2>/dev/null; then timeout 30 sh -c \"echo go > '$DIR/gate'\"\n"
                          "fi\n"
                          "'$REAL' \"$@\"\n"
                          "status=$?\n"
                          "echo \"end $last\" >> '$DIR/encoders.txt'\n"
                          "exit $status"));
}

QStringList CliSetup::encoderEvents() const
{
    QFile file(tmp.filePath(QStringLiteral("encoders.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void CliSetup::writeProfiles(const QStringList &lines) const
{
    QDir().mkpath(programFolder + QStringLiteral("Config"));
    QFile file(programFolder + QStringLiteral("Config/UserProfileInfo.ini"));
    if (file.open(QIODevice::WriteOnly))
        file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}
