#pragma once
// The output folder: the user's folder text with a trailing separator, created on demand.
#include <QString>

class TAppFunc;

// Home folder + "/Kelvane", the output folder until the user picks another.
QString DefaultOutputFolder();

// The folder `folderText` names: a relative text made absolute (against the working folder),
// with a trailing separator. Touches nothing.
QString OutputFolderPath(const QString &folderText);

// Creates OutputFolderPath(folderText) with any missing parents and logs "Output directory
// <folder>" (or "Output directory error. -><folder>" when it could not be created). Returns the
// folder with its trailing separator in either case.
QString PrepareOutputFolder(const QString &folderText, const TAppFunc &log);
