#pragma once
// The custom profile operations: the main window's profile list, loading the profile chosen in
// the Options dialog's name box, and Add, Save and Delete. All file access goes through
// TCustomProfileStore; the name box is a CustomProfileBox, the user is asked and told through
// the message-box interface.
#include "settings/CustomProfileBox.h"
#include "settings/CustomProfileStore.h"
#include "settings/OptionSelectionModel.h"

class IMessageBoxes;

class TCustomProfiles {
public:
    // `programFolder` ends with the separator; the others must outlive this object.
    TCustomProfiles(QString programFolder, OptionSelectionModel &options, CustomProfileBox &box,
                    IMessageBoxes &boxes);

    const TCustomProfileStore &store() const { return m_store; }
    CustomProfileBox &box() { return m_box; }

    // Replaces the entries of the main window's profile selector by the built-in qualities and
    // then the custom profile names, and selects what a conversion will use: the custom profile
    // in force, else what NameQualityInUse names.
    void FillProfileSelector();
    // Loads the profile selected in the name box into the six selectors and puts it in force;
    // nothing selected, or nothing stored under its name, changes nothing. Throws
    // CustomProfileError (see ApplyProfileValue).
    void LoadSelectedCustomProfile();
    // Every converted item: the profile in force is loaded again (Save may have changed it
    // meanwhile); with none in force, or none stored under its name, nothing changes.
    void ReloadProfileInForce();

    // The custom profile whose values the selectors hold, as the user chose, saved or added it;
    // empty when none is. Only it is loaded for converted items and named in the quality box.
    const QString &profileInForce() const { return m_inForce; }
    // The user changed an option that profiles hold: the selectors no longer hold a profile's
    // values, so none is in force (the name box keeps its text, for a Save).
    void LeaveProfileInForce() { m_inForce.clear(); }
    // Cancel in the Options dialog gives back the profile in force when it was shown.
    void RestoreProfileInForce(const QString &name) { m_inForce = name; }
    // Counts the Add, asks for a name (proposing "UserProfileInfo" + the count) and stores the
    // current values under it, which puts it in force. A name that could not be loaded back is
    // refused with a message; the count stays counted either way.
    void AddCustomProfile();
    // Stores the current values under the name in the name box (blanks at its ends removed) and
    // puts that profile in force; an empty name does nothing. False when the name was refused
    // (the user was told).
    bool SaveCustomProfile();
    // Removes the profile named in the name box, when the box lists any names. The name box then
    // selects another profile from code: its values are not loaded, so it is not in force.
    void DeleteCustomProfile();

    // The main window's choice of the custom profile `name`: the name box re-reads the names,
    // selects that one (or nothing when it is no longer stored) and loads it.
    void ChooseCustomProfile(const QString &name);
    // The main window applied a built-in quality: no custom profile stays selected, so none is
    // loaded again when files are converted.
    void ChooseBuiltInQuality();

private:
    // False (and the user told) when `name` cannot be stored.
    bool acceptable(const QString &name);
    // Stores the current values under `name` and puts that profile in force.
    void storeInForce(const QString &name);

    TCustomProfileStore m_store;
    OptionSelectionModel &m_options;
    CustomProfileBox &m_box;
    IMessageBoxes &m_boxes;
    QString m_inForce;
};

// For programs without windows. The stored profile names in file order.
QStringList CustomProfileNames(const QString &programFolder);
// Applies the stored profile `name` (letter case ignored) to `options`, whose selectors must be
// filled. False when no profile has that name. Throws CustomProfileError for a stored piece
// that is not a whole number, IniFileError when the file cannot be read.
bool LoadCustomProfileByName(OptionSelectionModel &options, const QString &programFolder, const QString &name);
// The same on plain indexes.
bool LoadCustomProfileByName(OptionSelection &selection, const QString &programFolder, const QString &name);
