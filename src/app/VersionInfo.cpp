#include "VersionInfo.h"

#include "ElfSection.h"
#include "VersionSection.h"
#include "support/StrFunc.h"

#include <QStringList>

namespace {

// The version text of a stamp: what follows the marker, up to the first NUL.
QString stampText(const QByteArray &section)
{
    const QByteArray marker(KELVANE_VERSION_MARKER);
    if (!section.startsWith(marker))
        return {};
    QByteArray text = section.mid(marker.size());
    const qsizetype end = text.indexOf('\0');
    if (end >= 0)
        text.truncate(end);
    return QString::fromUtf8(text);
}

} // namespace

QString MajorMinorOf(const QString &fileVersion)
{
    QStringList pieces;
    SplitByDelimiter(fileVersion, QStringLiteral("."), pieces);
    if (pieces.size() < 2)
        return pieces.value(0);
    return pieces.at(0) + QLatin1Char('.') + pieces.at(1);
}

QString ReadVersionText(const QString &path)
{
    const std::optional<QByteArray> section = ReadElfSection(path, QByteArrayLiteral(KELVANE_VERSION_SECTION));
    if (!section)
        return {};
    return MajorMinorOf(stampText(*section));
}
