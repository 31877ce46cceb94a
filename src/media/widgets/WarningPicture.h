#pragma once
// The 32 x 32 warning sign of the "Error Info" window, drawn on a transparent ground.
#include <QPixmap>

QPixmap WarningPicture();
