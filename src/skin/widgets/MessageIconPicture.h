#pragma once
// The flat pictures beside the text of the program's message boxes, drawn to match the skin:
// a teal disc with "?" or "i", an amber triangle with "!", a red disc with a cross.
#include "platform/PlatformServices.h"

#include <QPixmap>

// The picture for `icon`, 32 by 32 device-independent pixels, drawn for `devicePixelRatio`.
QPixmap MessageIconPicture(MessageIcon icon, qreal devicePixelRatio);
