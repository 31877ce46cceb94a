#pragma once
// Decodes a JPEG picture held in memory with libjpeg-turbo.
#include <QByteArray>
#include <QString>

struct DecodedPicture {
    int width = 0;
    int height = 0;
    QByteArray rgb; // width * height pixels, 3 bytes each (R, G, B), rows top to bottom, no padding
    QString error;  // set when the bytes are not a picture that can be decoded
    bool ok() const { return error.isEmpty(); }
};

DecodedPicture DecodeJpeg(const QByteArray &jpeg);
