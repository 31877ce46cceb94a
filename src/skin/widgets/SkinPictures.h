#pragma once
// Loads the skin's pictures from the resources (":/skin/<name>.png", with "<name>@2x.png" for
// high-density screens).
#include <QPixmap>
#include <QString>

namespace SkinPictures {
// The picture at the given device pixel ratio; the 2x picture from a ratio above 1.
QPixmap load(const QString &name, qreal devicePixelRatio = 1.0);
// The 1x picture as an image, e.g. to cut a window's outline from it.
QImage image(const QString &name);
} // namespace SkinPictures
