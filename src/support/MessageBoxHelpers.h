#pragma once
// The two message-box helpers with the classic kind numbers.
#include "platform/PlatformServices.h"

#include <QString>

// The kinds ShowMessageBox takes.
namespace MessageKind {
inline constexpr int Error = 0;
inline constexpr int Warning = 1;
inline constexpr int Question = 2;
inline constexpr int Information = 3;
} // namespace MessageKind

// The kinds ShowPromptBox takes.
namespace PromptKind {
inline constexpr int Ok = 1;
inline constexpr int YesNo = 2;
inline constexpr int YesNoCancel = 3;
} // namespace PromptKind

// A MessageKind; OK button only. Returns true when the box was shown; other kinds show nothing
// and return false.
bool ShowMessageBox(IMessageBoxes &boxes, const QString &text, int kind);

// A PromptKind, with the information icon. Returns the pressed button's identifier (1 OK,
// 2 Cancel, 6 Yes, 7 No); other kinds show nothing and return 0.
int ShowPromptBox(IMessageBoxes &boxes, const QString &text, int kind);
