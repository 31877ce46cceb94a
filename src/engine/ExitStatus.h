#pragma once
// How a started program ended, or why it never started.
#include <QMetaType>
#include <QString>

struct TExitStatus {
    enum class Kind { NotStarted, Exited, Signalled };
    Kind kind = Kind::NotStarted;
    int code = 0;          // exit code when Exited
    int signal = 0;        // signal number when Signalled
    QString startError;    // why it did not start when NotStarted

    bool succeeded() const { return kind == Kind::Exited && code == 0; }
    // One line for the log: "exit code 3", "ended by signal 15", "not started: ...".
    QString describe() const;
};

Q_DECLARE_METATYPE(TExitStatus)
