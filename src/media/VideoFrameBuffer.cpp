#include "media/VideoFrameBuffer.h"

#include <cstring>
#include <new>

namespace {

constexpr qsizetype alignUp(qsizetype bytes, qsizetype alignment)
{
    return (bytes + alignment - 1) / alignment * alignment;
}

} // namespace

void VideoFrameBuffer::resize(QSize size)
{
    if (size == m_size)
        return clear();
    m_bits.reset();
    m_size = QSize();
    m_bytesPerLine = 0;
    if (size.isEmpty() || size.width() > LongestSide || size.height() > LongestSide)
        return;
    const qsizetype bytesPerLine = alignUp(qsizetype(size.width()) * BytesPerPixel, Alignment);
    // aligned_alloc wants a size that is a multiple of the alignment; every line already is.
    auto *bits = static_cast<uchar *>(std::aligned_alloc(Alignment, bytesPerLine * size.height()));
    if (!bits)
        throw std::bad_alloc();
    m_bits.reset(bits);
    m_size = size;
    m_bytesPerLine = bytesPerLine;
    clear();
}

void VideoFrameBuffer::clear()
{
    if (m_bits)
        std::memset(m_bits.get(), 0, m_bytesPerLine * m_size.height());
}

bool VideoFrameBuffer::isDrawable() const
{
    return m_bits && !m_size.isEmpty() && m_size.width() <= LongestSide && m_size.height() <= LongestSide
           && m_bytesPerLine >= m_size.width() * BytesPerPixel && m_bytesPerLine % BytesPerPixel == 0;
}
