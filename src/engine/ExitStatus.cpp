#include "engine/ExitStatus.h"

QString TExitStatus::describe() const
{
    switch (kind) {
    case Kind::Exited:
        return QStringLiteral("exit code ") + QString::number(code);
    case Kind::Signalled:
        return QStringLiteral("ended by signal ") + QString::number(signal);
    case Kind::NotStarted:
        break;
    }
    return QStringLiteral("not started: ") + startError;
}
