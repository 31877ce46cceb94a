#pragma once
// The companion libraries that lie in the program folder.
#include <QString>
#include <QStringList>

// "libForm.so" and "libRes.so" (the platform's naming).
QString FormLibraryName();
QString ResLibraryName();

// The full path of companion `fileName` in `programFolder`.
QString CompanionPath(const QString &programFolder, const QString &fileName);

// One message per missing companion, libForm.so first, then libRes.so:
// "'libForm.so' is not found. Please reinstall this program."  Empty when both are present.
QStringList CheckRequiredFiles(const QString &programFolder);

// The user's message when companion `fileName` in `programFolder` cannot be used: the
// "is not found" message when the file is absent, otherwise "'libRes.so' cannot be used. ...".
QString CompanionFailureMessage(const QString &programFolder, const QString &fileName);
