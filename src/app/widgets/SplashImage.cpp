#include "SplashImage.h"

#include "app/CompanionFiles.h"
#include "app/SplashJpeg.h"

namespace {

struct SplashAttempt {
    QImage image;
    CompanionError error;
};

SplashAttempt decodeSplash(const QString &programFolder, const char *name)
{
    const SplashJpegResult jpeg = LoadSplashJpeg(programFolder, name);
    if (!jpeg.ok())
        return {QImage(), jpeg.error};
    const DecodedPicture picture = DecodeJpeg(jpeg.jpeg);
    QImage image = ToImage(picture);
    if (image.isNull())
        return {QImage(), {CompanionFailureMessage(programFolder, ResLibraryName()), picture.error}};
    return {image, {}};
}

} // namespace

QImage ToImage(const DecodedPicture &picture)
{
    if (!picture.ok() || picture.rgb.size() < qsizetype(picture.width) * picture.height * 3)
        return {};
    const QImage view(reinterpret_cast<const uchar *>(picture.rgb.constData()), picture.width, picture.height,
                      picture.width * 3, QImage::Format_RGB888);
    return view.copy();
}

QImage LoadSplashImage(const QString &programFolder, qreal devicePixelRatio, QString *error, QString *detail)
{
    SplashAttempt attempt;
    if (devicePixelRatio > 1.0) {
        attempt = decodeSplash(programFolder, SplashResourceName2x);
        attempt.image.setDevicePixelRatio(2.0);
    }
    if (attempt.image.isNull())
        attempt = decodeSplash(programFolder, SplashResourceName);
    if (error)
        *error = attempt.error.message;
    if (detail)
        *detail = attempt.error.detail;
    return attempt.image;
}
