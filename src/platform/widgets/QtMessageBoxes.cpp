#include "platform/widgets/QtMessageBoxes.h"

#include "skin/widgets/MessageIconPicture.h"
#include "skin/widgets/SkinStyle.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString caption = QStringLiteral("Kelvane");

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

// The window a box belongs to, so that the window manager keeps the box above it: the active
// window, else a visible main window, else a visible dialog (the progress window while the main
// window is disabled). Never a disabled window: a box inside one could not be answered.
QWidget *ownerWindow()
{
    const auto usable = [](const QWidget *window) { return window && window->isVisible() && window->isEnabled(); };
    if (QWidget *active = QApplication::activeWindow(); usable(active))
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const Qt::WindowType type : {Qt::Window, Qt::Dialog}) {
        for (QWidget *window : windows) {
            if (usable(window) && window->windowType() == type)
                return window;
        }
    }
    return nullptr;
}

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const QString &text, MessageIcon icon, MessageButtons buttons,
                                            QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text, qtButtons(buttons), parent);
    // Paths and addresses in a message can be selected and copied.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SkinStyle::applyTo(box.get());
    box->setIconPixmap(MessageIconPicture(icon, box->devicePixelRatioF()));
    SkinStyle::dropButtonPictures(box.get());
    // Closing a box that has Cancel answers Cancel; a box without it answers its last button.
    if (buttons == MessageButtons::YesNoCancel)
        box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

MessageAnswer QtMessageBoxes::show(const QString &text, MessageIcon icon, MessageButtons buttons)
{
    return answerOf(MakeMessageBox(text, icon, buttons, ownerWindow())->exec());
}

std::unique_ptr<QInputDialog> MakeTextQuestion(const QString &prompt, const QString &initial, QWidget *parent)
{
    auto dialog = std::make_unique<QInputDialog>(parent);
    SkinStyle::applyTo(dialog.get());
    dialog->setWindowTitle(caption);
    dialog->setLabelText(prompt);
    dialog->setTextValue(initial);
    return dialog;
}

int QtMessageBoxes::choose(const QString &text, MessageIcon icon, const QStringList &captions)
{
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(text, icon, MessageButtons::Ok, ownerWindow());
    box->removeButton(box->button(QMessageBox::Ok));
    QList<QAbstractButton *> buttons;
    for (const QString &caption : captions)
        buttons << box->addButton(caption, buttons.size() + 1 == captions.size() ? QMessageBox::RejectRole
                                                                                 : QMessageBox::AcceptRole);
    if (!buttons.isEmpty()) {
        box->setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
        box->setEscapeButton(buttons.last());
    }
    SkinStyle::dropButtonPictures(box.get());
    box->exec();
    const qsizetype pressed = buttons.indexOf(box->clickedButton());
    return pressed < 0 ? static_cast<int>(captions.size()) - 1 : static_cast<int>(pressed);
}

std::optional<QString> QtMessageBoxes::askText(const QString &prompt, const QString &initial)
{
    const std::unique_ptr<QInputDialog> dialog = MakeTextQuestion(prompt, initial, ownerWindow());
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog->textValue();
}
