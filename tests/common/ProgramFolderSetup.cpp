#include "common/ProgramFolderSetup.h"

#include "common/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString builtEncoder()
{
    const QString encoder = builtProgramFolder() + QStringLiteral("evc");
    return QFileInfo(encoder).isExecutable() ? encoder : QString();
}

ProgramFolderSetup::ProgramFolderSetup()
{
    QDir().mkpath(programFolder);
    QDir().mkpath(inputFolder);
    for (const char *name : {"evc", "revc"})
        QFile::link(builtProgramFolder() + QString::fromLatin1(name), programFolder + QString::fromLatin1(name));
}

void ProgramFolderSetup::useScriptEncoder(const QString &body, const QString &name) const
{
    const QString encoder = programFolder + name;
    QFile::remove(encoder);
    QFile file(encoder);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("#!/bin/sh\n" + body.toUtf8() + "\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList ProgramFolderSetup::logLines(const QString &prefix) const
{
    QFile file(programFolder + QStringLiteral("log.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList found;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"))) {
        const QString message = line.section(QLatin1Char('|'), 1);
        if (message.startsWith(prefix))
            found << message;
    }
    return found;
}

QStringList ProgramFolderSetup::outputFiles() const
{
    return QDir(outputFolder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
