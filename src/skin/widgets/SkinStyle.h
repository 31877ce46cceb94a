#pragma once
// The skin's look for the widgets Qt draws itself (lists, drop-downs, edit fields, dialogs).
#include <QFont>
#include <QString>

class QWidget;

namespace SkinStyle {
// The labels on the skinned backgrounds: white, 8 points of "Arial".
QFont labelFont();
// Style sheet for drop-downs, edit fields, check boxes, the source list and plain buttons.
QString styleSheet();
// Gives a window and every control in it the label font (style sheets may reset inherited fonts).
void applyFont(QWidget *window);
// Gives a plain (bordered) window the dark palette and the style sheet.
void applyTo(QWidget *window);
// Completion lists pop up as windows of their own, outside the style of the window they serve:
// gives those of `window` the dark palette and the style sheet.
void applyToCompleters(QWidget *window);
// Takes the style's glossy pictures off the buttons of a dialog's button rows; the flat skin
// shows their captions alone.
void dropButtonPictures(QWidget *dialog);
} // namespace SkinStyle
