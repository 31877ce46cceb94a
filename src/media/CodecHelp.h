#pragma once
// Where users learn how to install the codecs this program's media libraries use. The "Error
// Info" window and the main window's codec link both open it.
#include "platform/PlatformServices.h"

#include <QUrl>

inline constexpr char CodecHelpAddress[] = "https://wiki.debian.org/MultimediaCodecs";

// Opens the codec help page in the user's browser; a failure stays silent.
inline void OpenCodecHelp(IShellLauncher &shell)
{
    shell.open(QUrl(QString::fromLatin1(CodecHelpAddress)));
}
