#include "JpegDecoder.h"

#include <memory>
#include <turbojpeg.h>

namespace {

struct DecompressorDeleter {
    void operator()(void *handle) const { tjDestroy(handle); }
};
using Decompressor = std::unique_ptr<void, DecompressorDeleter>;

// Largest picture accepted, so that a damaged header cannot ask for a huge buffer.
constexpr int MaxSide = 16384;

DecodedPicture failure(const QString &reason)
{
    DecodedPicture picture;
    picture.error = reason;
    return picture;
}

QString decoderError(void *handle) { return QString::fromLocal8Bit(tjGetErrorStr2(handle)); }

} // namespace

DecodedPicture DecodeJpeg(const QByteArray &jpeg)
{
    if (jpeg.isEmpty())
        return failure(QStringLiteral("no picture data"));
    const Decompressor decompressor(tjInitDecompress());
    if (!decompressor)
        return failure(QStringLiteral("cannot start the JPEG decoder"));
    auto *source = reinterpret_cast<const unsigned char *>(jpeg.constData());
    const auto sourceSize = static_cast<unsigned long>(jpeg.size());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(decompressor.get(), source, sourceSize, &width, &height, &subsampling, &colourspace) != 0)
        return failure(decoderError(decompressor.get()));
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide)
        return failure(QStringLiteral("unsupported picture size %1 x %2").arg(width).arg(height));

    DecodedPicture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(qsizetype(width) * height * 3);
    auto *target = reinterpret_cast<unsigned char *>(picture.rgb.data());
    if (tjDecompress2(decompressor.get(), source, sourceSize, target, width, width * 3, height, TJPF_RGB, 0) != 0
        && tjGetErrorCode(decompressor.get()) == TJERR_FATAL)
        return failure(decoderError(decompressor.get()));
    return picture;
}
