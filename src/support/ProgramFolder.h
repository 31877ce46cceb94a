#pragma once
#include "support/Platform.h"

#include <QCoreApplication>

// The folder of the running executable, with a trailing separator. Needs a Q(Core)Application.
inline QString ProgramFolder()
{
    return Platform::withTrailingSeparator(QCoreApplication::applicationDirPath());
}
