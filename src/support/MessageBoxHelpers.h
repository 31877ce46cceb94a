#pragma once
// The two message-box helpers with the classic kind numbers.
#include "platform/PlatformServices.h"

#include <QString>

// Kind 0 error, 1 warning, 2 question, 3 information; OK button only. Returns true when the
// box was shown; other kinds show nothing and return false.
bool ShowMessageBox(IMessageBoxes &boxes, const QString &text, int kind);

// Information icon; kind 1 OK, 2 Yes/No, 3 Yes/No/Cancel. Returns the pressed button's
// identifier (1 OK, 2 Cancel, 6 Yes, 7 No); other kinds show nothing and return 0.
int ShowPromptBox(IMessageBoxes &boxes, const QString &text, int kind);
