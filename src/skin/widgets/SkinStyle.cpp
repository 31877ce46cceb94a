#include "skin/widgets/SkinStyle.h"

#include "skin/widgets/SkinPalette.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QPalette>
#include <QWidget>

namespace SkinStyle {

QFont labelFont()
{
    // Arial where it is installed, else faces of about its width.
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setPixelSize(11);
    return font;
}

QString styleSheet()
{
    using namespace SkinPalette;
    return QStringLiteral(R"(
QComboBox, QLineEdit {
  background: %1; color: %2; border: 1px solid %3; border-radius: 3px; padding: 1px 6px;
  selection-background-color: %4; selection-color: %1;
}
QComboBox:hover, QLineEdit:focus, QComboBox:focus { border-color: %4; }
QComboBox::drop-down { border: none; width: 18px; }
QComboBox::down-arrow { image: url(:/skin/combo_arrow.png); width: 9px; height: 6px; margin-right: 4px; }
QComboBox QAbstractItemView { background: %1; color: %2; border: 1px solid %3;
  selection-background-color: %4; selection-color: %1; outline: 0; }
QLineEdit[readOnly="true"] { color: %5; }
QAbstractSpinBox { background: %1; color: %2; border: 1px solid %4; padding: 0 2px;
  selection-background-color: %4; selection-color: %1; }
QCheckBox { background: %6; color: %2; spacing: 0; }
QCheckBox::indicator { width: 13px; height: 13px; border: 1px solid %3; border-radius: 2px; background: %1; }
QCheckBox::indicator:hover { border-color: %4; }
QCheckBox::indicator:checked { background: %4; border-color: %4; image: url(:/skin/check_mark.png); }
QTreeView { background: %1; alternate-background-color: #1a1e27; color: %2; border: 1px solid %7;
  gridline-color: %3; selection-background-color: %8; selection-color: %2; outline: 0; }
QTreeView::indicator { width: 11px; height: 11px; border: 1px solid %5; border-radius: 2px; background: %1; }
QTreeView::indicator:hover { border-color: %4; }
QTreeView::indicator:checked { background: %4; border-color: %4; image: url(:/skin/check_mark.png); }
QTreeView::indicator:selected { border-color: %2; }
QHeaderView::section { background: %6; color: %2; border: none; border-right: 1px solid %3;
  border-bottom: 1px solid %3; padding: 2px 2px; font-size: 10px; }
QFileDialog { background: %9; }
QFileDialog QListView { background: %1; color: %2; border: 1px solid %7; }
QListView { background: %1; color: %2; border: 1px solid %7;
  selection-background-color: %8; selection-color: %2; outline: 0; }
QToolTip { background: %1; color: %2; border: 1px solid %4; padding: 2px; }
QGroupBox { color: %4; border: 1px solid %3; border-radius: 5px; margin-top: 8px; padding-top: 6px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QPushButton { background: %6; color: %2; border: 1px solid %7; border-radius: 4px; padding: 3px 12px; }
QPushButton:hover { border-color: %4; }
QPushButton:pressed { background: %1; }
QPushButton:default { border-color: %4; }
QLabel { color: %2; }
QScrollArea, QScrollArea > #qt_scrollarea_viewport, QScrollArea > #qt_scrollarea_viewport > QWidget {
  background: transparent; }
QMenu { background: %6; color: %2; border: 1px solid %3; padding: 2px; }
QMenu::item { padding: 3px 20px 3px 20px; background: transparent; }
QMenu::item:selected { background: %8; color: %2; }
QMenu::item:disabled { color: %10; }
QMenu::separator { height: 1px; background: %3; margin: 3px 6px; }
QMenu::indicator { width: 13px; height: 13px; left: 4px; }
QMenu::indicator:checked { image: url(:/skin/check_mark.png); }
QScrollBar:vertical { background: %1; width: 10px; }
QScrollBar::handle:vertical { background: %3; border-radius: 4px; min-height: 20px; }
QScrollBar:horizontal { background: %1; height: 10px; }
QScrollBar::handle:horizontal { background: %3; border-radius: 4px; min-width: 20px; }
QScrollBar::add-line, QScrollBar::sub-line { height: 0; width: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
)")
        .arg(well.name(), text.name(), cardLine.name(), accent.name(), textDim.name(), card.name(),
             rim.name(), selection.name(), base.name())
        .arg(textDisabled.name());
}

void applyFont(QWidget *window)
{
    const QFont font = labelFont();
    window->setFont(font);
    for (QWidget *child : window->findChildren<QWidget *>())
        child->setFont(font);
}

void applyTo(QWidget *window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, SkinPalette::base);
    palette.setColor(QPalette::WindowText, SkinPalette::text);
    palette.setColor(QPalette::Base, SkinPalette::well);
    palette.setColor(QPalette::Text, SkinPalette::text);
    palette.setColor(QPalette::Button, SkinPalette::card);
    palette.setColor(QPalette::ButtonText, SkinPalette::text);
    palette.setColor(QPalette::Highlight, SkinPalette::accent);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setFont(labelFont());
    window->setStyleSheet(styleSheet());
}

void applyToCompleters(QWidget *window)
{
    for (QCompleter *completer : window->findChildren<QCompleter *>())
        applyTo(completer->popup());
}

void dropButtonPictures(QWidget *dialog)
{
    for (const QDialogButtonBox *buttons : dialog->findChildren<QDialogButtonBox *>()) {
        for (QAbstractButton *button : buttons->buttons())
            button->setIcon(QIcon());
    }
}

} // namespace SkinStyle
