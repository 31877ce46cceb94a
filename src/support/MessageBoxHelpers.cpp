#include "support/MessageBoxHelpers.h"

#include <optional>

namespace {

std::optional<MessageIcon> iconOfKind(int kind)
{
    switch (kind) {
    case 0: return MessageIcon::Error;
    case 1: return MessageIcon::Warning;
    case 2: return MessageIcon::Question;
    case 3: return MessageIcon::Information;
    default: return std::nullopt;
    }
}

std::optional<MessageButtons> buttonsOfKind(int kind)
{
    switch (kind) {
    case 1: return MessageButtons::Ok;
    case 2: return MessageButtons::YesNo;
    case 3: return MessageButtons::YesNoCancel;
    default: return std::nullopt;
    }
}

} // namespace

bool ShowMessageBox(IMessageBoxes &boxes, const QString &text, int kind)
{
    const auto icon = iconOfKind(kind);
    if (!icon)
        return false;
    return boxes.show(text, *icon, MessageButtons::Ok) != MessageAnswer::None;
}

int ShowPromptBox(IMessageBoxes &boxes, const QString &text, int kind)
{
    const auto buttons = buttonsOfKind(kind);
    if (!buttons)
        return 0;
    return static_cast<int>(boxes.show(text, MessageIcon::Information, *buttons));
}
