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

QImage load(const QString &path);
QImage fromData(const QByteArray &bytes);

}  // namespace Picture
