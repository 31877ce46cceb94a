#include "skin/widgets/SkinPictures.h"

#include <QImage>

// The pictures are compiled into the UI library; make sure the linker keeps them.
static void registerSkinResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(skin);
        return true;
    }();
    (void)done;
}

namespace SkinPictures {

QPixmap load(const QString &name, qreal devicePixelRatio)
{
    registerSkinResources();
    const QString base = QStringLiteral(":/skin/") + name;
    if (devicePixelRatio > 1.0) {
        QPixmap hi(base + QStringLiteral("@2x.png"));
        if (!hi.isNull()) {
            hi.setDevicePixelRatio(2.0);
            return hi;
        }
    }
    return QPixmap(base + QStringLiteral(".png"));
}

QImage image(const QString &name)
{
    registerSkinResources();
    return QImage(QStringLiteral(":/skin/") + name + QStringLiteral(".png"));
}

} // namespace SkinPictures
