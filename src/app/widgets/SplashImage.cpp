#include "SplashImage.h"

#include "app/CompanionFiles.h"
#include "app/SplashJpeg.h"

QImage ToImage(const DecodedPicture &picture)
{
    if (!picture.ok() || picture.rgb.size() < qsizetype(picture.width) * picture.height * 3)
        return {};
    const QImage view(reinterpret_cast<const uchar *>(picture.rgb.constData()), picture.width, picture.height,
                      picture.width * 3, QImage::Format_RGB888);
    return view.copy();
}

QImage LoadSplashImage(const QString &programFolder, QString *error, QString *detail)
{
    const SplashJpegResult jpeg = LoadSplashJpeg(programFolder);
    CompanionError failure = jpeg.error;
    QImage image;
    if (jpeg.ok()) {
        const DecodedPicture picture = DecodeJpeg(jpeg.jpeg);
        image = ToImage(picture);
        if (image.isNull())
            failure = {CompanionFailureMessage(programFolder, ResLibraryName()), picture.error};
    }
    if (error)
        *error = failure.message;
    if (detail)
        *detail = failure.detail;
    return image;
}
