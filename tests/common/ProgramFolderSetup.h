#pragma once
// A program of its own for tests that convert: in a temporary folder, a program folder (App/)
// with links to the built encoders, an input folder (In/) and an output folder (Out/) beside
// it, and a clock that stands still.
#include "common/Fakes.h"

#include <QStringList>
#include <QTemporaryDir>

// The built encoder evc; empty when the build's program folder lacks it.
QString builtEncoder();

struct ProgramFolderSetup {
    QTemporaryDir tmp;
    QString programFolder = tmp.path() + QStringLiteral("/App/");
    QString inputFolder = tmp.path() + QStringLiteral("/In/");
    QString outputFolder = tmp.path() + QStringLiteral("/Out/");
    FixedClock clock;

    // Makes the program and input folders and links the built encoders into the program folder.
    ProgramFolderSetup();

    // Replaces the program folder's encoder `name` ("evc" or "revc") with a shell script of `body`.
    void useScriptEncoder(const QString &body, const QString &name = QStringLiteral("evc")) const;
    // The log messages (after the date part) that begin with `prefix`.
    QStringList logLines(const QString &prefix) const;
    // The names in the output folder, hidden ones included, sorted.
    QStringList outputFiles() const;
};
