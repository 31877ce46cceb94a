#pragma once
// System look-ups that report nothing and keep no state.
#include <QString>
#include <sys/types.h>

class TSysFunc {
public:
    // The id of a running process whose executable file name equals `exeName` without regard
    // to case, or 0 when there is none. Of several matches the one listed last wins.
    static pid_t FindProcessId(const QString &exeName);
};
