#pragma once
// Platform naming in one place, so that a build for another system changes only this file.
#include <QString>

namespace Platform {

// Folder separator used in every path the program builds.
inline constexpr char16_t PathSeparator = u'/';

// Suffix of an executable file name ("evc" + ExeSuffix).
inline QString exeSuffix() { return QString(); }

// File name of a shared library called `base` ("Res" gives "libRes.so").
inline QString sharedLibraryName(const QString &base) { return QStringLiteral("lib") + base + QStringLiteral(".so"); }

// `folder` with exactly one trailing separator added when it lacks one.
inline QString withTrailingSeparator(const QString &folder)
{
    if (folder.endsWith(QChar(PathSeparator)))
        return folder;
    return folder + QChar(PathSeparator);
}

} // namespace Platform
