#pragma once
// Choosing the output folder: the user picks a folder, which is accepted only when it exists
// and can be written to.
#include <QString>
#include <optional>

class IMessageBoxes;

// The system's folder picker; nullopt when the user cancels.
class IFolderBrowser {
public:
    virtual ~IFolderBrowser() = default;
    virtual std::optional<QString> chooseFolder(const QString &title) = 0;
};

// True when a new folder can be created in `folder`. The probe is a name that does not exist
// yet, and only the probe this call created is removed again.
bool CanWriteInFolder(const QString &folder);

// Lets the user pick a folder ("Please select output folder:"). A folder that does not exist
// gives "The path is invalid.", one that cannot be written "This is a read-only path." (warning
// boxes); then `current` stays. The resulting folder is created when it is missing (a failure is
// ignored: the conversion tries again). Returns the resulting folder.
QString ChooseOutputFolder(const QString &current, IFolderBrowser &browser, IMessageBoxes &boxes);
