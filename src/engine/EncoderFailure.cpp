#include "engine/EncoderFailure.h"

#include "media/TimeText.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <csignal>
#include <cstring>

namespace {

// The encoder's own error message (a line that begins with its name, "evc: ", or with its path,
// as the system's loader writes it) without that beginning; empty for any other line.
QString ownMessage(const QString &line, const QString &encoderPath)
{
    for (const QString &name : {QFileInfo(encoderPath).fileName(), encoderPath}) {
        const QString prefix = name + QStringLiteral(": ");
        if (!name.isEmpty() && line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed();
    }
    return {};
}

// An encoder missing from the program folder is named as such: that one the user can mend.
QString startFailure(const QString &encoderPath, const TExitStatus &status)
{
    if (!QFileInfo::exists(encoderPath))
        return QStringLiteral("The encoder \"%1\" is missing. Please install the program again.").arg(encoderPath);
    return QStringLiteral("The encoder \"%1\" could not be started: %2").arg(encoderPath, status.startError);
}

// " after 19:40 of 20:00"; empty when the encoder never said how far it got.
QString reachText(const TEncoderReach &reach)
{
    if (reach.writtenSeconds < 0)
        return {};
    QString text = QStringLiteral(" after ") + ClockText(reach.writtenSeconds);
    if (reach.lengthSeconds > 0)
        text += QStringLiteral(" of ") + ClockText(reach.lengthSeconds);
    return text;
}

// How the encoder ended, as a sentence: "the encoder was ended by signal 9 (killed)".
QString endText(const TExitStatus &status)
{
    if (status.kind == TExitStatus::Kind::Signalled) {
        const QString name = SignalText(status.signal);
        return QStringLiteral("the encoder was ended by signal %1").arg(status.signal) +
            (name.isEmpty() ? QString() : QStringLiteral(" (") + name + QLatin1Char(')'));
    }
    return QStringLiteral("the encoder ended with exit code %1").arg(status.code);
}

} // namespace

QString LastOutputLine(const QString &chunk)
{
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    const QStringList lines = chunk.split(lineEnd, Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (const QString trimmed = line->trimmed(); !trimmed.isEmpty())
            return trimmed;
    }
    return {};
}

QString SignalText(int signal)
{
    switch (signal) {
    case SIGHUP: return QStringLiteral("hangup");
    case SIGINT: return QStringLiteral("interrupted");
    case SIGQUIT: return QStringLiteral("quit");
    case SIGILL: return QStringLiteral("illegal instruction");
    case SIGABRT: return QStringLiteral("aborted");
    case SIGBUS: return QStringLiteral("bus error");
    case SIGFPE: return QStringLiteral("arithmetic error");
    case SIGKILL: return QStringLiteral("killed");
    case SIGSEGV: return QStringLiteral("segmentation fault");
    case SIGPIPE: return QStringLiteral("broken pipe");
    case SIGALRM: return QStringLiteral("alarm");
    case SIGTERM: return QStringLiteral("terminated");
    case SIGXCPU: return QStringLiteral("CPU time limit exceeded");
    case SIGXFSZ: return QStringLiteral("file size limit exceeded");
    default: break;
    }
    const char *abbreviation = ::sigabbrev_np(signal);
    return abbreviation ? QStringLiteral("SIG") + QString::fromLatin1(abbreviation) : QString();
}

QString EncoderFailure(const QString &encoderPath, const QString &outputPath, const QString &lastLine, bool started,
                       const TExitStatus &status, const TEncoderReach &reach)
{
    if (!started)
        return startFailure(encoderPath, status);
    if (!status.succeeded()) {
        const QString message = ownMessage(lastLine, encoderPath);
        if (!message.isEmpty() && status.kind == TExitStatus::Kind::Exited)
            return QStringLiteral("%1 (the encoder failed: %2)").arg(message, status.describe());
        return endText(status) + reachText(reach);
    }
    if (outputPath.isEmpty() || !QFileInfo(outputPath).isFile())
        return QStringLiteral("the encoder ended without writing ") + outputPath;
    return {};
}

QString EncoderOutputForLog(const QString &encoderPath, const QString &lastLine, const QString &reason)
{
    const QString message = ownMessage(lastLine, encoderPath);
    return !message.isEmpty() && reason.contains(message) ? QString() : lastLine;
}

QString ConversionFailedLine(const QString &sourcePath, const QString &reason, const QString &encoderOutput)
{
    QString line = QStringLiteral("Conversion failed: %1 (%2)").arg(sourcePath, reason);
    if (!encoderOutput.isEmpty())
        line += QStringLiteral("; the encoder's last output: ") + encoderOutput;
    return line;
}

QString ConversionStoppedLine(const QString &sourcePath)
{
    return QStringLiteral("Conversion stopped: ") + sourcePath;
}
