#include "JpegLoader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>
#include <jpeglib.h>

namespace {

// libjpeg's default error handler calls exit(); ours jumps back and gives up the picture.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info)
{
    auto *err = reinterpret_cast<ErrorManager *>(info->err);
    std::longjmp(err->jump, 1);
}

// Warnings (premature end of data, corrupt segments) are counted, not printed: any one
// of them means the picture is damaged and is not shown.
void onMessage(j_common_ptr info, int level)
{
    if (level < 0)
        ++info->err->num_warnings;
}

// Everything that must survive a longjmp lives outside the function that calls setjmp.
struct Decoder
{
    jpeg_decompress_struct info{};
    ErrorManager err{};
    QImage image;
    std::vector<unsigned char> line;
    bool created = false;
};

bool run(Decoder &d, const QByteArray &bytes)
{
    d.info.err = jpeg_std_error(&d.err.base);
    d.err.base.error_exit = onError;
    d.err.base.emit_message = onMessage;
    if (setjmp(d.err.jump))
        return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK)
        return false;

    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    const bool gray = d.info.jpeg_color_space == JCS_GRAYSCALE;
    d.info.out_color_space = cmyk ? JCS_CMYK : (gray ? JCS_GRAYSCALE : JCS_RGB);
    // Guard against absurd headers before allocating.
    if (d.info.image_width == 0 || d.info.image_height == 0 || d.info.image_width > 30000
        || d.info.image_height > 30000)
        return false;
    if (!Picture::fitsAllocationLimit(int(d.info.image_width), int(d.info.image_height), gray ? 1 : 4))
        return false;
    jpeg_start_decompress(&d.info);

    const int w = int(d.info.output_width);
    const int h = int(d.info.output_height);
    d.image = QImage(w, h, gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (d.image.isNull())
        return false;
    d.line.assign(size_t(w) * size_t(d.info.output_components), 0);
    std::vector<unsigned char> &line = d.line;
    const bool inverted = d.info.saw_Adobe_marker;  // Adobe writes CMYK with inverted values
    while (d.info.output_scanline < d.info.output_height) {
        unsigned char *rowPtr = line.data();
        const int y = int(d.info.output_scanline);
        jpeg_read_scanlines(&d.info, &rowPtr, 1);
        if (gray) {
            std::memcpy(d.image.scanLine(y), line.data(), size_t(w));
            continue;
        }
        auto *out = reinterpret_cast<QRgb *>(d.image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const unsigned char *p = line.data() + x * d.info.output_components;
            if (cmyk) {
                int c = p[0], m = p[1], yy = p[2], k = p[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    yy = 255 - yy;
                    k = 255 - k;
                }
                out[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
            } else {
                out[x] = qRgb(p[0], p[1], p[2]);
            }
        }
    }
    jpeg_finish_decompress(&d.info);
    return d.err.base.num_warnings == 0;
}

}  // namespace

namespace JpegLoader {

bool looksLikeJpeg(const QByteArray &bytes)
{
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

QImage decode(const QByteArray &bytes)
{
    if (!looksLikeJpeg(bytes))
        return {};
    Decoder d;
    const bool ok = run(d, bytes);
    if (d.created)
        jpeg_destroy_decompress(&d.info);
    return ok ? d.image : QImage();
}

}  // namespace JpegLoader

namespace Picture {

bool fitsAllocationLimit(int width, int height, int bytesPerPixel)
{
    const int limitMb = QImageReader::allocationLimit();
    if (limitMb <= 0)
        return true;
    const qint64 bytes = qint64(width) * qint64(height) * qint64(bytesPerPixel);
    return bytes <= qint64(limitMb) * 1024 * 1024;
}

QImage fromData(const QByteArray &bytes)
{
    if (JpegLoader::looksLikeJpeg(bytes))
        return JpegLoader::decode(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && !fitsAllocationLimit(size.width(), size.height(), 4))
        return {};
    return reader.read();
}

QImage load(const QString &path)
{
    // Only regular files: a folder, a device or a pipe would fail or block the reader.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() > MaxFileSize)
        return {};
    QFile f(info.absoluteFilePath());
    if (!f.open(QIODevice::ReadOnly) || f.isSequential())
        return {};
    const QByteArray bytes = f.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        return {};
    return fromData(bytes);
}

}  // namespace Picture
