#pragma once
// Custom profiles on disk. "Config/UserProfileInfo.ini" holds one section per profile, named
// like it, with one key of the same name whose value is six selector indexes joined by "|".
// "Config/UserProfileCount.ini" counts the uses of Add ([count] count=N), for the proposed
// names. Every operation opens the file for itself; writes replace the file atomically.
#include <QString>
#include <QStringList>
#include <optional>

QString ProfileInfoFileName();   // "UserProfileInfo.ini"
QString ProfileCountFileName();  // "UserProfileCount.ini"

// A typed name as the list will show it: without blanks and control characters at either end.
QString ListedProfileName(const QString &typed);

// Why the listed name `name` could not be stored and loaded back (it is empty, or holds "=",
// "[", "]", a line break or another control character), as a message for the user; nullopt
// when it can be used.
std::optional<QString> ProfileNameProblem(const QString &name);

class TCustomProfileStore {
public:
    // `programFolder` ends with the separator.
    explicit TCustomProfileStore(QString programFolder);

    // Profile names in file order. Throws IniFileError when the file cannot be read.
    QStringList names() const;
    // The stored value of profile `name` (its section and key, the key spelt exactly); empty
    // when there is none.
    QString value(const QString &name) const;
    // The stored spelling of `name`: the same name, else the first one differing only in letter
    // case; nullopt when no profile has it.
    std::optional<QString> storedName(const QString &name) const;

    // Adds 1 to the Add counter (a missing file counts 0), writes it at once and returns it.
    int countAdd() const;
    // Stores `value` under `name`: replaces the values of a profile whose name differs at most
    // in letter case (its spelling stays), else appends a new profile. Creates the Config folder
    // when needed.
    void store(const QString &name, const QString &value) const;
    // Removes profile `name` (letter case ignored); nothing is written when there is none.
    void erase(const QString &name) const;

private:
    QString infoFile() const;
    QString countFile() const;
    void ensureConfigFolder() const;

    QString m_programFolder;
};
