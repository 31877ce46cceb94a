#include "ElfSection.h"

#include <QFile>
#include <QtEndian>
#include <cstring>

namespace {

struct SectionHeader {
    quint32 nameOffset = 0;
    quint32 type = 0;
    quint64 offset = 0;
    quint64 size = 0;
};

constexpr quint32 SectionTypeNoBits = 8; // occupies no bytes in the file

// Reads integers of the file's width and byte order from a header held in memory.
class FieldReader {
public:
    FieldReader(const QByteArray &bytes, bool bigEndian) : m_bytes(bytes), m_bigEndian(bigEndian) {}

    bool fits(qint64 at, qint64 width) const { return at >= 0 && at + width <= m_bytes.size(); }

    quint64 read(qint64 at, int width) const
    {
        if (!fits(at, width))
            return 0;
        const uchar *p = reinterpret_cast<const uchar *>(m_bytes.constData()) + at;
        switch (width) {
        case 2: return m_bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
        case 4: return m_bigEndian ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
        default: return m_bigEndian ? qFromBigEndian<quint64>(p) : qFromLittleEndian<quint64>(p);
        }
    }

private:
    const QByteArray &m_bytes;
    bool m_bigEndian;
};

class ElfFile {
public:
    explicit ElfFile(const QString &path) : m_file(path) {}

    bool open()
    {
        if (!m_file.open(QIODevice::ReadOnly))
            return false;
        m_header = m_file.read(64);
        if (m_header.size() < 52 || !m_header.startsWith("\x7f" "ELF"))
            return false;
        const char elfClass = m_header.at(4);
        const char byteOrder = m_header.at(5);
        if ((elfClass != 1 && elfClass != 2) || (byteOrder != 1 && byteOrder != 2))
            return false;
        m_wide = elfClass == 2;
        m_bigEndian = byteOrder == 2;
        return m_header.size() >= (m_wide ? 64 : 52);
    }

    std::optional<QByteArray> section(const QByteArray &name, qint64 maxSize)
    {
        const FieldReader header(m_header, m_bigEndian);
        const quint64 tableOffset = m_wide ? header.read(0x28, 8) : header.read(0x20, 4);
        const quint64 entrySize = header.read(m_wide ? 0x3A : 0x2E, 2);
        const quint64 count = header.read(m_wide ? 0x3C : 0x30, 2);
        const quint64 namesIndex = header.read(m_wide ? 0x3E : 0x32, 2);
        if (entrySize < (m_wide ? 64u : 40u) || count == 0 || namesIndex >= count)
            return std::nullopt;
        const std::optional<SectionHeader> names = sectionHeader(tableOffset + namesIndex * entrySize);
        if (!names)
            return std::nullopt;
        for (quint64 i = 0; i < count; ++i) {
            const std::optional<SectionHeader> candidate = sectionHeader(tableOffset + i * entrySize);
            if (candidate && nameAt(*names, candidate->nameOffset) == name)
                return contents(*candidate, maxSize);
        }
        return std::nullopt;
    }

private:
    std::optional<SectionHeader> sectionHeader(quint64 at)
    {
        const int width = m_wide ? 64 : 40;
        const QByteArray bytes = readAt(at, width);
        if (bytes.size() != width)
            return std::nullopt;
        const FieldReader field(bytes, m_bigEndian);
        SectionHeader h;
        h.nameOffset = quint32(field.read(0, 4));
        h.type = quint32(field.read(4, 4));
        h.offset = m_wide ? field.read(0x18, 8) : field.read(0x10, 4);
        h.size = m_wide ? field.read(0x20, 8) : field.read(0x14, 4);
        return h;
    }

    QByteArray nameAt(const SectionHeader &names, quint32 offset)
    {
        if (offset >= names.size)
            return {};
        const QByteArray bytes = readAt(names.offset + offset, qMin<quint64>(names.size - offset, 256));
        const qsizetype end = bytes.indexOf('\0');
        return end < 0 ? QByteArray() : bytes.left(end);
    }

    std::optional<QByteArray> contents(const SectionHeader &h, qint64 maxSize)
    {
        if (h.type == SectionTypeNoBits || h.size > quint64(maxSize))
            return std::nullopt;
        QByteArray bytes = readAt(h.offset, h.size);
        if (quint64(bytes.size()) != h.size)
            return std::nullopt;
        return bytes;
    }

    QByteArray readAt(quint64 at, quint64 length)
    {
        if (at > quint64(m_file.size()) || length > quint64(m_file.size()) - at || !m_file.seek(qint64(at)))
            return {};
        return m_file.read(qint64(length));
    }

    QFile m_file;
    QByteArray m_header;
    bool m_wide = false;
    bool m_bigEndian = false;
};

} // namespace

std::optional<QByteArray> ReadElfSection(const QString &path, const QByteArray &sectionName, qint64 maxSize)
{
    ElfFile file(path);
    if (!file.open())
        return std::nullopt;
    return file.section(sectionName, maxSize);
}
