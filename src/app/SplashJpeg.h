#pragma once
// The splash picture held by libRes.so.
#include "ProductInfo.h"

#include <QByteArray>

struct SplashJpegResult {
    QByteArray jpeg;      // the JPEG file's bytes, copied out of the library
    CompanionError error; // set when the library or its picture cannot be used
    bool ok() const { return !error.isSet(); }
};

// Resource names of the splash picture: normal size, and twice the width and height.
inline constexpr const char *SplashResourceName = "ImgFlash";
inline constexpr const char *SplashResourceName2x = "ImgFlash@2x";

// The resource `name` of type "jpeg" from libRes.so in `programFolder`; the library is loaded for
// this call only.
SplashJpegResult LoadSplashJpeg(const QString &programFolder, const char *name = SplashResourceName);
