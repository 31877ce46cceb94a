#pragma once
// What the program remembers between runs: the folder source files were last picked from, the
// two check boxes of the main window and the output folder, in "Config/UserSettings.ini".
#include "settings/LoudnessTarget.h"

#include <QString>
#include <optional>

// The main window's remembered controls as plain values; the window mirrors them.
struct UserSettingsState {
    bool showOutputDirectory = true; // chkShowOutputDirectory
    bool shutdown = false;           // chkShutdown
    QString outputFolder;            // edtOutputFolder
    bool keepOriginal = false;       // the Options dialog's chkKeepOriginal
};

// How many files the window converts at once for a stored "FilesAtOnce" text: a whole number
// from 1 to `cores`; a missing, empty, unreadable or out-of-range text means 1.
int FilesAtOnceFrom(const QString &stored, int cores);

// Home folder + "/": the open dialog's first folder.
QString DefaultInitialFolder();

class TUserSettings {
public:
    // `configBase` (the program folder, or the user's settings folder when the program folder is
    // read-only) ends with the separator; the file is configBase + "Config/UserSettings.ini".
    explicit TUserSettings(QString configBase);

    QString fileName() const;

    // A box is checked only by a stored "1"; a missing or empty "OutDir" keeps state.outputFolder.
    // An unreadable file leaves `state` as it is.
    void LoadUserSettings(UserSettingsState &state) const;
    // Writes "SHWDDir", "SHUTDOWN" and "OutDir" in one save, creating the Config folder when
    // needed. Returns the reason when the file could not be written; then the file is as it was.
    // Other lines of the file stay.
    std::optional<QString> SaveUserSettings(const UserSettingsState &state) const;

    // Stores "KeepOriginal" ("1" or "0") at once, when the Options dialog's choice changes; the
    // save at exit leaves it out, so a file never changed keeps its three keys. False when the
    // file could not be written.
    bool SaveKeepOriginal(bool keep) const;

    // The stored "InitDir", or the home folder + "/".
    QString LoadInitialFolder() const;
    // Stores the folder of `firstPickedFile` (up to its last separator) as "InitDir" at once; a
    // name without a folder stores nothing. Returns false when the file could not be written.
    bool SaveInitialFolder(const QString &firstPickedFile) const;

    // "Files converted at once" of the Options dialog ("FilesAtOnce", see FilesAtOnceFrom); an
    // unreadable file means 1. Written only when the user sets it, so a file that never had it
    // stays as it was.
    int LoadFilesAtOnce(int cores) const;
    // Stores `count` at once; false when the file could not be written.
    bool SaveFilesAtOnce(int count) const;

    // The "Loudness" target that every converted item is normalised to: empty, missing or
    // anything unreadable (not a whole number from -31 to -5) means as recorded.
    LoudnessTarget LoadLoudness() const;
    // Stores it at once ("" for as recorded). Returns the reason when the file could not be
    // written; then the file is as it was.
    std::optional<QString> SaveLoudness(LoudnessTarget target) const;

private:
    bool ensureConfigFolder() const;

    QString m_programFolder;
};
