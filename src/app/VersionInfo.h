#pragma once
// The executable's file version, read back from the executable file.
#include <QString>

// The major and minor numbers of the file version stored in the file at `path`, joined by ".":
// "2.1.0.15" gives "2.1", "2..5" gives "2.5" (empty pieces are skipped), a version of one piece
// gives that piece alone. A file without a readable version gives the empty text.
QString ReadVersionText(const QString &path);

// The same rule applied to a version text that is already at hand.
QString MajorMinorOf(const QString &fileVersion);
