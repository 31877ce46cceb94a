#pragma once
// Reads one named section of an ELF file (32 or 64 bit, either byte order) straight from disk.
#include <QByteArray>
#include <QString>
#include <optional>

// The bytes of the section called `sectionName`, or nothing when the file cannot be read, is not
// ELF, is damaged, has no such section, or the section is larger than `maxSize` bytes.
std::optional<QByteArray> ReadElfSection(const QString &path, const QByteArray &sectionName,
                                         qint64 maxSize = 64 * 1024);
