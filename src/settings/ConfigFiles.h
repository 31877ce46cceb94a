#pragma once
// The INI files of the Config folder, read by name. Each call opens the file for itself.
#include <QString>
#include <QStringList>

// The folder of the program's INI files: `programFolder` (with its trailing separator) + "Config/".
QString ConfigFolder(const QString &programFolder);

// The section names of ConfigFolder + `fileName` in file order; none when the file is missing.
// Throws IniFileError when the file exists but cannot be read.
QStringList ListConfigSections(const QString &programFolder, const QString &fileName);

// The value of key `name` in section `name` of that file; empty when either is missing.
QString ReadConfigValue(const QString &programFolder, const QString &fileName, const QString &name);
