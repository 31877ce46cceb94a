#pragma once
// The pixels the preview draws into: 4 bytes a pixel (blue, green, red, unused on a little-endian
// machine, which is what QImage::Format_RGB32 reads), with the first pixel and every line on a
// 64-byte boundary, as the software video renderer works fastest with.
#include <QSize>
#include <QtGlobal>
#include <cstdlib>
#include <memory>

class VideoFrameBuffer {
public:
    static constexpr qsizetype Alignment = 64;
    static constexpr qsizetype BytesPerPixel = 4;
    // The longest side a buffer has; a larger size makes it empty. Far beyond any screen, and
    // small enough that no count of bytes in it overflows the renderer's numbers.
    static constexpr int LongestSide = 16384;

    // Makes the buffer `size` pixels large and black; an empty or too large size frees it.
    void resize(QSize size);
    // Turns every pixel black.
    void clear();

    QSize size() const { return m_size; }
    bool isEmpty() const { return m_size.isEmpty(); }
    // The buffer has pixels, each line holds its width, and the lines are whole pixels apart:
    // what the renderer is handed is checked here first.
    bool isDrawable() const;
    // Bytes from one line to the next: the width's bytes rounded up to the alignment.
    qsizetype bytesPerLine() const { return m_bytesPerLine; }
    uchar *bits() { return m_bits.get(); }
    const uchar *bits() const { return m_bits.get(); }

private:
    struct Free {
        void operator()(uchar *bits) const { std::free(bits); }
    };

    std::unique_ptr<uchar, Free> m_bits;
    QSize m_size;
    qsizetype m_bytesPerLine = 0;
};
