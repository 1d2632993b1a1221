#include "JpegFixture.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <vector>

namespace {

struct EncoderSession {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    unsigned char *out;
    unsigned long outSize;
    int width;
    int height;
    int components;
    J_COLOR_SPACE colorSpace;
    int quality;
    bool progressive;
    const unsigned char *pixels; // rows of width * components bytes
};

void failEncoder(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<EncoderSession *>(cinfo)->jump, 1);
}

// Nothing with a destructor in here: libjpeg leaves through longjmp.
bool runEncoder(EncoderSession *s)
{
    j_compress_ptr cinfo = &s->cinfo;
    cinfo->err = jpeg_std_error(&s->errors);
    s->errors.error_exit = failEncoder;
    if (setjmp(s->jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);
    jpeg_mem_dest(cinfo, &s->out, &s->outSize);
    cinfo->image_width = static_cast<JDIMENSION>(s->width);
    cinfo->image_height = static_cast<JDIMENSION>(s->height);
    cinfo->input_components = s->components;
    cinfo->in_color_space = s->colorSpace;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, s->quality, TRUE);
    if (s->progressive)
        jpeg_simple_progression(cinfo);
    jpeg_start_compress(cinfo, TRUE);
    const size_t stride = static_cast<size_t>(s->width) * static_cast<size_t>(s->components);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(s->pixels + cinfo->next_scanline * stride);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return true;
}

QByteArray runOn(const std::vector<unsigned char> &pixels, int width, int height, int components,
                 J_COLOR_SPACE colorSpace, int quality, bool progressive)
{
    EncoderSession session;
    std::memset(static_cast<void *>(&session), 0, sizeof session);
    session.width = width;
    session.height = height;
    session.components = components;
    session.colorSpace = colorSpace;
    session.quality = quality;
    session.progressive = progressive;
    session.pixels = pixels.data();
    const bool ok = runEncoder(&session);
    QByteArray bytes;
    if (ok)
        bytes =
            QByteArray(reinterpret_cast<const char *>(session.out), static_cast<qsizetype>(session.outSize));
    std::free(session.out);
    return bytes;
}

} // namespace

namespace JpegFixture {

QByteArray encode(const QImage &image, int quality, Encoding encoding)
{
    const bool gray = encoding == Encoding::Grayscale;
    const QImage source = image.convertToFormat(gray ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    const int components = gray ? 1 : 3;
    std::vector<unsigned char> pixels;
    pixels.reserve(static_cast<size_t>(source.width() * source.height() * components));
    for (int y = 0; y < source.height(); ++y) {
        const uchar *line = source.constScanLine(y);
        pixels.insert(pixels.end(), line, line + source.width() * components);
    }
    return runOn(pixels, source.width(), source.height(), components, gray ? JCS_GRAYSCALE : JCS_RGB, quality,
                 encoding == Encoding::Progressive);
}

QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int r = width > 1 ? 255 * x / (width - 1) : 0;
            const int g = height > 1 ? 255 * y / (height - 1) : 0;
            image.setPixelColor(x, y, QColor(r, g, 128));
        }
    }
    return image;
}

QByteArray gradientJpeg(int width, int height, Encoding encoding)
{
    return encode(gradient(width, height), 95, encoding);
}

QByteArray cmykJpeg(int width, int height, int cyan, int magenta, int yellow, int black)
{
    std::vector<unsigned char> pixels;
    pixels.reserve(static_cast<size_t>(width * height * 4));
    for (int i = 0; i < width * height; ++i) {
        for (int ink : {cyan, magenta, yellow, black})
            pixels.push_back(static_cast<unsigned char>(255 - ink));
    }
    return runOn(pixels, width, height, 4, JCS_CMYK, 95, false);
}

QByteArray withClaimedSize(QByteArray jpeg, int width, int height)
{
    // Frame header: FF Cx, length (2), precision (1), height (2), width (2).
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            break;
        }
    }
    return jpeg;
}

QByteArray withApp1(const QByteArray &jpeg, const QByteArray &body)
{
    const qsizetype length = body.size() + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(static_cast<char>(length >> 8));
    segment.append(static_cast<char>(length & 0xFF));
    segment.append(body);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray exifBody(int orientation, bool bigEndian, const QByteArray &thumbnail)
{
    QByteArray tiff;
    const auto put = [&tiff, bigEndian](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
            tiff.append(static_cast<char>((value >> shift) & 0xFF));
        }
    };
    const auto entry = [&put](quint32 tag, quint32 type, quint32 value, int valueBytes) {
        put(tag, 2);
        put(type, 2);
        put(1, 4);
        put(value, valueBytes);
        if (valueBytes < 4)
            put(0, 4 - valueBytes);
    };
    tiff.append(bigEndian ? "MM" : "II");
    put(42, 2);
    put(8, 4); // IFD0 right after the header
    put(2, 2); // two entries
    entry(0x0100, 4, 640, 4); // ImageWidth, LONG
    entry(0x0112, 3, static_cast<quint32>(orientation), 2); // Orientation, SHORT in the field's first bytes
    if (thumbnail.isEmpty()) {
        put(0, 4); // no next IFD
        return QByteArray("Exif\0\0", 6) + tiff;
    }
    // IFD1, the thumbnail's: where its JPEG starts and how long it is; the JPEG right after it.
    const quint32 ifd1 = static_cast<quint32>(tiff.size()) + 4;
    put(ifd1, 4);
    put(3, 2);
    entry(0x0103, 3, 6, 2); // Compression: JPEG
    entry(0x0201, 4, ifd1 + 2 + 3 * 12 + 4, 4);
    entry(0x0202, 4, static_cast<quint32>(thumbnail.size()), 4);
    put(0, 4);
    return QByteArray("Exif\0\0", 6) + tiff + thumbnail;
}

QImage storedFor(const QImage &upright, int orientation)
{
    // Where stored pixel (x, y) shows, in the picture as seen (w, h: the stored size).
    const bool turned = orientation >= 5;
    const int w = turned ? upright.height() : upright.width();
    const int h = turned ? upright.width() : upright.height();
    QImage stored(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            QPoint shown;
            switch (orientation) {
            case 2: shown = {w - 1 - x, y}; break;
            case 3: shown = {w - 1 - x, h - 1 - y}; break;
            case 4: shown = {x, h - 1 - y}; break;
            case 5: shown = {y, x}; break;
            case 6: shown = {h - 1 - y, x}; break;
            case 7: shown = {h - 1 - y, w - 1 - x}; break;
            case 8: shown = {y, w - 1 - x}; break;
            default: shown = {x, y}; break;
            }
            stored.setPixelColor(x, y, upright.pixelColor(shown));
        }
    }
    return stored;
}

} // namespace JpegFixture
