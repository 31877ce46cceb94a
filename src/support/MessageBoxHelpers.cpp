#include "support/MessageBoxHelpers.h"

#include <optional>

namespace {

std::optional<MessageIcon> iconOfKind(int kind)
{
    switch (kind) {
    case MessageKind::Error: return MessageIcon::Error;
    case MessageKind::Warning: return MessageIcon::Warning;
    case MessageKind::Question: return MessageIcon::Question;
    case MessageKind::Information: return MessageIcon::Information;
    default: return std::nullopt;
    }
}

std::optional<MessageButtons> buttonsOfKind(int kind)
{
    switch (kind) {
    case PromptKind::Ok: return MessageButtons::Ok;
    case PromptKind::YesNo: return MessageButtons::YesNo;
    case PromptKind::YesNoCancel: return MessageButtons::YesNoCancel;
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
