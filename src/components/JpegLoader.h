#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Pictures for the program: JPEG through libjpeg's decompression API (RGB, grayscale,
// CMYK and YCCK with Adobe's inverted values, progressive), other formats through
// Qt's readers. A corrupt or truncated file gives a null image, never a crash.
namespace JpegLoader {

QImage decode(const QByteArray &bytes);
bool looksLikeJpeg(const QByteArray &bytes);

}  // namespace JpegLoader

namespace Picture {

// Files above this size are not read as pictures.
constexpr qint64 MaxFileSize = 64LL * 1024 * 1024;

// A picture file: a missing, unreadable, oversized or non-regular file (a folder, a device,
// a pipe), or one whose picture is beyond the reader's allocation limit, gives a null image.
QImage load(const QString &path);
QImage fromData(const QByteArray &bytes);
// Whether a picture of that size stays within QImageReader::allocationLimit().
bool fitsAllocationLimit(int width, int height, int bytesPerPixel);

}  // namespace Picture
