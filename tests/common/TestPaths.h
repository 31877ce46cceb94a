#pragma once
#include <QString>

// The assembled program folder of this build (with a trailing "/"): evc, revc, the companions.
inline QString builtProgramFolder() { return QStringLiteral(KELVANE_TEST_PROGRAM_DIR); }
