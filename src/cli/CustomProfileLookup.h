#pragma once
// Custom profiles as the Options dialog stores them in the program folder's
// "Config/UserProfileInfo.ini": one section per profile, holding one key of the same name whose
// value is videoSize|frameRate|videoBitrate|audioBitrate|channels|sampleRate (selector indexes).
#include <QString>
#include <QStringList>
#include <optional>

struct CustomProfileLookup {
    std::optional<QString> value; // the stored value of the profile asked for; nullopt: no such profile
    QStringList names;            // every stored profile name, in file order
    QString error;                // the file exists but can't be read
};

// Finds the profile called exactly `name`.
CustomProfileLookup LookUpCustomProfile(const QString &programFolder, const QString &name);
