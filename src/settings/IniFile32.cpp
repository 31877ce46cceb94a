#include "settings/IniFile32.h"

#include "support/StrFunc.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Lines end at CR, LF or CR LF; a NUL ends the text.
QList<QByteArray> splitLines(QByteArray bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines << bytes.mid(start, i - start);
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

// Optional sign, then decimal digits or "$" and hexadecimal digits.
bool parseInteger(QString text, int &value)
{
    if (text.size() > 2 && text.at(0) == u'0' && (text.at(1) == u'x' || text.at(1) == u'X'))
        text.replace(0, 2, QStringLiteral("$"));
    bool negative = false;
    if (!text.isEmpty() && (text.at(0) == u'+' || text.at(0) == u'-')) {
        negative = text.at(0) == u'-';
        text.remove(0, 1);
    }
    int base = 10;
    if (text.startsWith(u'$')) {
        base = 16;
        text.remove(0, 1);
    }
    if (text.isEmpty() || text.at(0) == u'+' || text.at(0) == u'-')
        return false;
    for (const QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 128) && !(base == 16 && QStringLiteral("abcdefABCDEF").contains(c)))
            return false;
    }
    bool ok = false;
    const qlonglong magnitude = text.toLongLong(&ok, base);
    if (!ok)
        return false;
    const qlonglong signedValue = negative ? -magnitude : magnitude;
    if (signedValue < INT_MIN || signedValue > INT_MAX)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

} // namespace

TIniFile32::TIniFile32(QString fileName) : m_fileName(std::move(fileName))
{
    QFile file(m_fileName);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw IniFileError(QStringLiteral("Cannot open the settings file '%1': %2")
                               .arg(m_fileName, file.errorString()).toStdString());
    for (const QByteArray &raw : splitLines(file.readAll())) {
        m_lines << QString::fromUtf8(raw);
        // Bytes that are no UTF-8 (a file written in another code page) are kept to be written back.
        m_rawLines << (m_lines.last().toUtf8() == raw ? QByteArray() : raw);
    }
}

void TIniFile32::setLine(qsizetype at, const QString &line)
{
    m_lines[at] = line;
    m_rawLines[at] = QByteArray();
}

void TIniFile32::insertLine(qsizetype at, const QString &line)
{
    m_lines.insert(at, line);
    m_rawLines.insert(at, QByteArray());
}

void TIniFile32::removeLine(qsizetype at)
{
    m_lines.removeAt(at);
    m_rawLines.removeAt(at);
}

bool TIniFile32::IsSectionLine(const QString &line)
{
    const QString text = TrimControls(line);
    return !text.isEmpty() && text.startsWith(u'[') && text.endsWith(u']');
}

QString TIniFile32::KeyOfLine(const QString &line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : TrimControls(line.left(eq));
}

QString TIniFile32::ValueOfLine(const QString &line, const QString &key)
{
    if (line.isEmpty() || key.isEmpty())
        return QString();
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0 || !line.left(eq).contains(key))
        return QString();
    return TrimControls(line.mid(eq + 1));
}

QString TIniFile32::SectionNameOfLine(const QString &line)
{
    const QString text = TrimControls(line);
    return TrimControls(text.mid(1, text.size() - 2));
}

// A section is found by the name it is listed under, so a hand-written "[ My AAC ]" is found as
// "My AAC", the name stored profiles are given.
int TIniFile32::IndexOfSection(const QString &name) const
{
    const QString wanted = TrimControls(name);
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString &line = m_lines.at(i);
        if (IsSectionLine(line) && SectionNameOfLine(line).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TIniFile32::ReadSections(QStringList &sections) const
{
    sections.clear();
    for (const QString &line : m_lines) {
        if (IsSectionLine(line))
            sections << SectionNameOfLine(line);
    }
}

QString TIniFile32::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const int at = IndexOfSection(section);
    if (at < 0)
        return defaultValue;
    for (int i = at + 1; i < m_lines.size() && !IsSectionLine(m_lines.at(i)); ++i) {
        if (KeyOfLine(m_lines.at(i)) != key)
            continue;
        const QString value = ValueOfLine(m_lines.at(i), key);
        return value.isEmpty() ? defaultValue : value;
    }
    return defaultValue;
}

int TIniFile32::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    int value = 0;
    return parseInteger(ReadString(section, key, QString()), value) ? value : defaultValue;
}

void TIniFile32::WriteString(const QString &section, const QString &key, const QString &value)
{
    SetString(section, key, value);
    UpdateFile();
}

void TIniFile32::SetString(const QString &section, const QString &key, const QString &value)
{
    const QString keyLine = key + QLatin1Char('=') + value;
    const int at = IndexOfSection(section);
    if (at < 0) {
        insertLine(m_lines.size(), QString());
        insertLine(m_lines.size(), QLatin1Char('[') + section + QLatin1Char(']'));
        if (!key.isEmpty())
            insertLine(m_lines.size(), keyLine);
    } else {
        int i = at + 1;
        while (i < m_lines.size() && !IsSectionLine(m_lines.at(i)) && KeyOfLine(m_lines.at(i)) != key)
            ++i;
        const bool atKeyLine = i < m_lines.size() && !IsSectionLine(m_lines.at(i));
        if (!key.isEmpty()) {
            if (atKeyLine)
                setLine(i, keyLine);
            else
                insertLine(i, keyLine);
        }
    }
}

void TIniFile32::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile32::EraseSection(const QString &section)
{
    const int at = IndexOfSection(section);
    if (at < 0)
        return;
    removeLine(at);
    while (at < m_lines.size() && !IsSectionLine(m_lines.at(at)))
        removeLine(at);
    if (at > 0)
        insertLine(at, QString());
    UpdateFile();
}

void TIniFile32::UpdateFile()
{
    QByteArray bytes;
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        bytes += (m_rawLines.at(i).isNull() ? m_lines.at(i).toUtf8() : m_rawLines.at(i)) + "\r\n";
    // Written to a temporary file and renamed over the old one, so the file is never truncated.
    // Unbuffered, so that a disk that takes only part of the bytes fails the write itself: a
    // buffered write would leave that to commit(), which renames the cut-off file into place.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size()
        || !file.commit()) {
        const QString folder = QFileInfo(m_fileName).absolutePath();
        const QString reason = QFileInfo::exists(folder) ? file.errorString()
                                                          : QStringLiteral("the folder '%1' does not exist").arg(folder);
        throw IniFileError(QStringLiteral("Cannot write the settings file '%1': %2").arg(m_fileName, reason).toStdString());
    }
}
