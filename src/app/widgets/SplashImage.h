#pragma once
// Turns the decoded splash picture into an image the splash window can show.
#include "app/JpegDecoder.h"

#include <QImage>

// The picture as a QImage (a null image when decoding failed).
QImage ToImage(const DecodedPicture &picture);

// libRes.so's splash picture decoded, or a null image with `error` set to the user's message
// (and `detail` to the reason for the log). On a screen with a device pixel ratio above 1 the
// double-size picture is used, marked with ratio 2, so that the image keeps its logical size.
QImage LoadSplashImage(const QString &programFolder, qreal devicePixelRatio = 1.0, QString *error = nullptr,
                       QString *detail = nullptr);
