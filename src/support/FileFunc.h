#pragma once
// File-name helpers: folder and base name of a path, folder listing, free output names, file size.
#include <QSet>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Raised by FileSizeOf when the file cannot be opened.
class FileSizeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFileFunc {
public:
    // The path up to and including its last separator; empty when it has none.
    static QString FileFolder(const QString &path);

    // The file name without folder and last extension: "/a/clip.part1.avi" gives "clip.part1".
    // A name without an extension ("README", ".hidden") is its own base name.
    static QString FileBaseName(const QString &path);

    // The extension of the file name with its dot (".avi"); empty when there is none.
    static QString FileExtension(const QString &path);

    // Full paths of the entries of `folder` (ending with the separator) other than folders,
    // hidden ones included; with a non-empty `extension` (".mp3") only entries whose extension
    // is exactly that, letter case included. A missing or unreadable folder gives an empty list.
    static QStringList ListFolderFiles(const QString &folder, const QString &extension = QString());

    // `path` when no entry of its folder shares its base name (any extension, any letter case);
    // otherwise the first free of base_1, base_2, ... with the path's extension.
    QString UniqueFileName(const QString &path);

    // The base name asked for by the latest UniqueFileName call.
    QString requestedBaseName() const { return m_requestedBaseName; }

    // Output names promised to conversions that have not written them yet (several encoders at
    // once): a reserved path's base name counts as taken in its folder, in any letter case,
    // until it is released.
    void reserveName(const QString &path);
    void releaseName(const QString &path);

private:
    static QString reservationKey(const QString &folder, const QString &baseName);

    QString m_requestedBaseName;
    QSet<QString> m_reserved;
};

// Size in bytes of the file at `path`. Throws FileSizeError when it cannot be opened.
qint64 FileSizeOf(const QString &path);
