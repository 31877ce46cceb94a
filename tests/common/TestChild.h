#pragma once
// The small child program runner tests start (tests/helpers/TestChild.cpp), and copies of it
// under other names and in other folders.
#include <QFile>
#include <QString>

inline QString testChildPath() { return QStringLiteral(KELVANE_TEST_CHILD); }

// Copies the test child to `folder`/`name` as an executable; returns the copy's path.
inline QString copyTestChild(const QString &folder, const QString &name)
{
    const QString target = folder + QStringLiteral("/") + name;
    QFile::remove(target);
    if (!QFile::copy(testChildPath(), target))
        return {};
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return target;
}
