#pragma once
// The program's own INI store: the whole file held as lines, every write saved at once
// (replaced atomically, CR LF after every line). Lines it does not change are written back with
// the bytes they were read with.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Raised when the file cannot be read at creation or cannot be written.
class IniFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TIniFile32 {
public:
    // Loads `fileName` when it exists; a missing file starts empty. Throws IniFileError when
    // the file exists but cannot be read.
    explicit TIniFile32(QString fileName);

    // Every section name in file order, duplicates included. A name is the text between the
    // brackets without blanks at its ends; sections are found by it, letter case ignored.
    void ReadSections(QStringList &sections) const;
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    // Decimal, "0x"/"$" hexadecimal, optional sign, 32-bit range; anything else gives the default.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;

    // These save the file (UpdateFile) and throw IniFileError when it cannot be written; the
    // lines keep the change, the file on disk stays as it was.
    void WriteString(const QString &section, const QString &key, const QString &value);
    // WriteString without the saving: several changes then go to the file in one UpdateFile,
    // all of them or none.
    void SetString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void EraseSection(const QString &section);
    void UpdateFile();

    const QString &fileName() const { return m_fileName; }
    const QStringList &lines() const { return m_lines; }

private:
    int IndexOfSection(const QString &name) const;
    static bool IsSectionLine(const QString &line);
    static QString SectionNameOfLine(const QString &line);
    static QString KeyOfLine(const QString &line);
    static QString ValueOfLine(const QString &line, const QString &key);

    void setLine(qsizetype at, const QString &line);
    void insertLine(qsizetype at, const QString &line);
    void removeLine(qsizetype at);

    QString m_fileName;
    QStringList m_lines;
    QList<QByteArray> m_rawLines; // a line's bytes as read when they are no UTF-8, else null
};
