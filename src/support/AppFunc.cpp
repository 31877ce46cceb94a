#include "support/AppFunc.h"

#include "platform/PlatformServices.h"

#include <QFile>
#include <QLocale>

TAppFunc::TAppFunc(QString programFolder, const IClock &clock)
    : m_programFolder(std::move(programFolder)), m_clock(clock)
{
}

QString TAppFunc::logFilePath() const
{
    return m_programFolder + QStringLiteral("log.txt");
}

void TAppFunc::WriteLog(const QString &message) const
{
    const QLocale locale = QLocale::system();
    // Two readings of the clock, one for the date and one for the time.
    const QString date = locale.toString(m_clock.now().date(), QLocale::ShortFormat);
    const QString time = locale.toString(m_clock.now().time(), QLocale::LongFormat);
    const QString line = QStringLiteral("Brask Soft ") + date + QLatin1Char(' ') + time + QLatin1Char('|')
                         + message + QStringLiteral("\r\n");

    QFile file(logFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw LogWriteError(QStringLiteral("Cannot open the log file '%1': %2")
                                .arg(file.fileName(), file.errorString()).toStdString());
    const QByteArray bytes = line.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw LogWriteError(QStringLiteral("Cannot write the log file '%1': %2")
                                .arg(file.fileName(), file.errorString()).toStdString());
}
