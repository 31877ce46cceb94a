#pragma once
// The splash picture held by libRes.so.
#include "ProductInfo.h"

#include <QByteArray>

struct SplashJpegResult {
    QByteArray jpeg;      // the JPEG file's bytes, copied out of the library
    CompanionError error; // set when the library or its picture cannot be used
    bool ok() const { return !error.isSet(); }
};

// The "ImgFlash" resource of type "jpeg" from libRes.so in `programFolder`; the library is
// loaded for this call only.
SplashJpegResult LoadSplashJpeg(const QString &programFolder);
