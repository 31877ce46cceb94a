#pragma once
// Message boxes and the text input box on Qt widgets, captioned "Kelvane" and owned by the
// active window.
#include "platform/ChoiceBox.h"
#include "platform/PlatformServices.h"

#include <memory>

class QInputDialog;
class QMessageBox;
class QWidget;

// A box captioned "Kelvane" in the skin's colours, with its flat picture for `icon`, not shown yet.
std::unique_ptr<QMessageBox> MakeMessageBox(const QString &text, MessageIcon icon, MessageButtons buttons,
                                            QWidget *parent);

// The box that asks for a line of text, captioned "Kelvane" in the skin's colours, not shown yet.
std::unique_ptr<QInputDialog> MakeTextQuestion(const QString &prompt, const QString &initial, QWidget *parent);

class QtMessageBoxes final : public IMessageBoxes, public IChoiceBox {
public:
    MessageAnswer show(const QString &text, MessageIcon icon, MessageButtons buttons) override;
    std::optional<QString> askText(const QString &prompt, const QString &initial) override;
    int choose(const QString &text, MessageIcon icon, const QStringList &captions) override;
};
