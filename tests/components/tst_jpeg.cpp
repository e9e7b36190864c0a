// JPEG decoding through libjpeg, on pictures this test encodes itself.
#include "JpegLoader.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtTest>
#include <cstdio>
#include <jpeglib.h>

namespace {

// Encodes a w×h picture whose left half is red-ish and right half blue-ish.
QByteArray encode(J_COLOR_SPACE space, bool progressive, int w = 64, int h = 48)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(w);
    info.image_height = JDIMENSION(h);
    info.input_components = space == JCS_GRAYSCALE ? 1 : (space == JCS_CMYK ? 4 : 3);
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    if (space == JCS_CMYK) {
        jpeg_set_colorspace(&info, JCS_YCCK);  // as Adobe programs write CMYK
        info.write_Adobe_marker = TRUE;
    }
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(size_t(w) * size_t(info.input_components));
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < w; ++x) {
            unsigned char *p = row.data() + x * info.input_components;
            const bool left = x < w / 2;
            if (space == JCS_GRAYSCALE) {
                p[0] = left ? 40 : 220;
            } else if (space == JCS_CMYK) {
                // Adobe's inverted CMYK: 255 means no ink. Left: red (no cyan), right: blue (no yellow).
                p[0] = left ? 255 : 0;
                p[1] = left ? 0 : 0;
                p[2] = left ? 0 : 255;
                p[3] = 255;
            } else {
                p[0] = left ? 230 : 20;
                p[1] = 20;
                p[2] = left ? 20 : 230;
            }
        }
        unsigned char *ptr = row.data();
        jpeg_write_scanlines(&info, &ptr, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
    std::free(out);
    jpeg_destroy_compress(&info);
    return bytes;
}

}  // namespace

class TestJpeg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodes_data();
    void decodes();
    void badInputGivesNullImage_data();
    void badInputGivesNullImage();
    void otherFormatsThroughQt();
};

void TestJpeg::decodes_data()
{
    QTest::addColumn<int>("space");
    QTest::addColumn<bool>("progressive");
    QTest::addColumn<bool>("gray");
    QTest::newRow("rgb") << int(JCS_RGB) << false << false;
    QTest::newRow("rgb progressive") << int(JCS_RGB) << true << false;
    QTest::newRow("grayscale") << int(JCS_GRAYSCALE) << false << true;
    QTest::newRow("cmyk adobe (ycck)") << int(JCS_CMYK) << false << false;
    QTest::newRow("cmyk progressive") << int(JCS_CMYK) << true << false;
}

void TestJpeg::decodes()
{
    QFETCH(int, space);
    QFETCH(bool, progressive);
    QFETCH(bool, gray);
    const QByteArray bytes = encode(J_COLOR_SPACE(space), progressive);
    QVERIFY(JpegLoader::looksLikeJpeg(bytes));
    const QImage img = Picture::fromData(bytes);
    QVERIFY(!img.isNull());
    QCOMPARE(img.size(), QSize(64, 48));
    const QColor left = img.pixelColor(8, 24);
    const QColor right = img.pixelColor(56, 24);
    if (gray) {
        QCOMPARE(img.format(), QImage::Format_Grayscale8);
        QVERIFY(qAbs(left.red() - 40) < 12);
        QVERIFY(qAbs(right.red() - 220) < 12);
    } else {
        QVERIFY2(left.red() > 180 && left.blue() < 80, qPrintable(left.name()));
        QVERIFY2(right.blue() > 180 && right.red() < 80, qPrintable(right.name()));
    }
}

void TestJpeg::badInputGivesNullImage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = encode(JCS_RGB, false);
    const QByteArray progressive = encode(JCS_RGB, true);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << good.left(20);
    QTest::newRow("truncated half") << good.left(good.size() / 2);
    QTest::newRow("progressive truncated") << progressive.left(progressive.size() / 3);
    QTest::newRow("not a jpeg") << QByteArray("GIF89a not really a picture");
    QTest::newRow("jpeg magic then noise") << (QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(500, '\x37'));
    QByteArray corrupt = good;
    for (qsizetype i = 200; i < corrupt.size() - 2; i += 7)
        corrupt[i] = char(0xFF);
    QTest::newRow("corrupt body") << corrupt;
}

void TestJpeg::badInputGivesNullImage()
{
    QFETCH(QByteArray, bytes);
    // No crash, no exit, and no half-grey picture passed off as the real one.
    QVERIFY(Picture::fromData(bytes).isNull());
}

void TestJpeg::otherFormatsThroughQt()
{
    QImage red(10, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(QImageWriter(&buffer, "png").write(red));
    const QImage img = Picture::fromData(png);
    QCOMPARE(img.size(), QSize(10, 6));
    QCOMPARE(img.pixelColor(3, 3), QColor(Qt::red));
    QVERIFY(Picture::load(QStringLiteral("/no/such/file.jpg")).isNull());
}

QTEST_GUILESS_MAIN(TestJpeg)
#include "tst_jpeg.moc"
