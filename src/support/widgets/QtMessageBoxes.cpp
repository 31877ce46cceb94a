#include "support/widgets/QtMessageBoxes.h"

#include "app/widgets/SkinStyle.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

const QString caption = QStringLiteral("Kelvane");

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageAnswer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::None;
    }
}

} // namespace

MessageAnswer QtMessageBoxes::show(const QString &text, MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(qtIcon(icon), caption, text, qtButtons(buttons), QApplication::activeWindow());
    SkinStyle::applyTo(&box);
    // Closing a box that has Cancel answers Cancel; a box without it answers its last button.
    if (buttons == MessageButtons::YesNoCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    return answerOf(box.exec());
}

std::optional<QString> QtMessageBoxes::askText(const QString &prompt, const QString &initial)
{
    QInputDialog dialog(QApplication::activeWindow());
    SkinStyle::applyTo(&dialog);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
