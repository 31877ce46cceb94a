#pragma once
// Where the program keeps what it writes. A program folder the user can write to holds it all,
// beside the executable (the portable layout): Config/, log.txt and VideoFile.avs. An installed
// program folder is read-only; then Config/ goes to $XDG_CONFIG_HOME/Kelvane/ and log.txt and
// VideoFile.avs to $XDG_STATE_HOME/Kelvane/. The choice is made once, at start-up.
//
// Installing also puts the marker file "installed" into the program folder, so that root, who
// may write anywhere, does not fill the installed tree with settings and logs either.
#include <QString>

struct FileLocations {
    QString programFolder; // the executable's folder: encoders, companions, help
    QString configBase;    // the folder that holds Config/
    QString stateFolder;   // log.txt and VideoFile.avs
    bool portable = true;

    // Everything in `programFolder` (which ends with the separator).
    static FileLocations portableIn(const QString &programFolder);
};

// The user's base folders for settings and state ($XDG_CONFIG_HOME, $XDG_STATE_HOME, or their
// defaults under the home folder when unset or not absolute), without a trailing separator.
struct UserBaseFolders {
    QString config;
    QString state;

    static UserBaseFolders fromEnvironment();
};

inline constexpr char InstalledMarkerName[] = "installed";

// Portable when a file can be created in `programFolder` and it holds no installed marker;
// otherwise the user's folders, which are created (owner-only) when missing. Every folder in the
// result ends with the separator.
FileLocations DecideFileLocations(const QString &programFolder,
                                  const UserBaseFolders &user = UserBaseFolders::fromEnvironment());

// The start-up log line of the user-folder layout: where the settings, the log and the script are.
QString FileLocationsLogLine(const FileLocations &locations);
