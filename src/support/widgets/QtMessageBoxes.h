#pragma once
// Message boxes and the text input box on Qt widgets, captioned "Kelvane" and owned by the
// active window.
#include "services/PlatformServices.h"

class QtMessageBoxes final : public IMessageBoxes {
public:
    MessageAnswer show(const QString &text, MessageIcon icon, MessageButtons buttons) override;
    std::optional<QString> askText(const QString &prompt, const QString &initial) override;
};
