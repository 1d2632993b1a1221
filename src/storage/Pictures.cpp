#include "storage/Pictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>

using namespace Qt::StringLiterals;

namespace {

// Larger picture files are not read at all.
constexpr qint64 MaxPictureFileSize = qint64(512) << 20;
// libjpeg's whole-image buffers (progressive pictures) may not grow beyond this.
constexpr long MaxJpegWorkMemory = 512L << 20;
// Real progressive pictures have about ten scans; thousands only make the decoder spin.
constexpr int MaxJpegScans = 1000;

// What decoding may take, as for every reader: 20 times the file plus 64 MB. A few hundred bytes can
// claim a hundred million pixels; real pictures compress far less than the bound allows.
qint64 memoryBound(qint64 inputBytes)
{
    return 20 * inputBytes + (qint64(64) << 20);
}

bool saneSize(qint64 width, qint64 height, qint64 inputBytes)
{
    return width > 0 && height > 0 && width <= MaxPictureSide && height <= MaxPictureSide &&
           width * height <= MaxPicturePixels && width * height * 4 <= memoryBound(inputBytes);
}

// Everything one decoding needs, kept outside the function that calls setjmp so that no local of
// that function changes between setjmp and longjmp.
struct JpegSession {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX + 64];
    const unsigned char *data;
    unsigned long size;
    QImage *image;
};

JpegSession *sessionOf(j_common_ptr cinfo)
{
    // cinfo is the first member of the session.
    return reinterpret_cast<JpegSession *>(cinfo);
}

void failJpeg(j_common_ptr cinfo)
{
    JpegSession *s = sessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, s->message);
    std::longjmp(s->jump, 1);
}

void jpegMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    // A cut-off or garbled data stream is a damaged picture, not a grey one; harmless oddities such
    // as extra bytes before a marker (common in camera files) are let through.
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
        failJpeg(cinfo);
        break;
    default:
        ++cinfo->err->num_warnings;
        break;
    }
}

void jpegProgress(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxJpegScans) {
        JpegSession *s = sessionOf(cinfo);
        std::snprintf(s->message, sizeof s->message, "more than %d scans", MaxJpegScans);
        std::longjmp(s->jump, 1);
    }
}

bool allocateRgb(QImage *image, int width, int height)
{
    *image = QImage(width, height, QImage::Format_RGB888);
    return !image->isNull();
}

// Adobe writes CMYK inverted, which is what nearly every CMYK JPEG carries.
void cmykToRgb(const JSAMPLE *from, uchar *to, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, from += 4, to += 3) {
        int c = from[0], m = from[1], y = from[2], k = from[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        to[0] = static_cast<uchar>(c * k / 255);
        to[1] = static_cast<uchar>(m * k / 255);
        to[2] = static_cast<uchar>(y * k / 255);
    }
}

// libjpeg leaves through longjmp from any of its calls: nothing in this function may own a
// destructor, and every value it changes lives in the session.
bool runJpegDecoder(JpegSession *s)
{
    j_decompress_ptr cinfo = &s->cinfo;
    cinfo->err = jpeg_std_error(&s->errors);
    s->errors.error_exit = failJpeg;
    s->errors.emit_message = jpegMessage;
    s->progress.progress_monitor = jpegProgress;
    s->message[0] = '\0';
    if (setjmp(s->jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use =
        static_cast<long>(std::min<qint64>(MaxJpegWorkMemory, memoryBound(static_cast<qint64>(s->size))));
    cinfo->progress = &s->progress;
    jpeg_mem_src(cinfo, s->data, s->size);
    jpeg_read_header(cinfo, TRUE);
    if (!saneSize(cinfo->image_width, cinfo->image_height, static_cast<qint64>(s->size))) {
        std::snprintf(s->message, sizeof s->message, "unsupported size %ux%u", cinfo->image_width,
                      cinfo->image_height);
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(cinfo);
    if (!allocateRgb(s->image, static_cast<int>(cinfo->output_width),
                     static_cast<int>(cinfo->output_height))) {
        std::snprintf(s->message, sizeof s->message, "out of memory");
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    // Freed with the decompressor, so it survives a longjmp without leaking.
    JSAMPARRAY cmykRow = cmyk ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                            JPOOL_IMAGE, cinfo->output_width * 4, 1)
                              : nullptr;
    while (cinfo->output_scanline < cinfo->output_height) {
        uchar *line = s->image->scanLine(static_cast<int>(cinfo->output_scanline));
        JSAMPROW row = cmyk ? cmykRow[0] : line;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            std::snprintf(s->message, sizeof s->message, "no picture data");
            jpeg_destroy_decompress(cinfo);
            return false;
        }
        if (cmyk)
            cmykToRgb(cmykRow[0], line, cinfo->output_width, cinfo->saw_Adobe_marker);
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return true;
}

// Qt's readers allocate what a header claims before any pixel is read (a GIF its whole logical
// screen, whatever the header before it), so their allocation limit is held to the bound of the input
// while one decodes.
class QtAllocationLimit {
public:
    explicit QtAllocationLimit(qint64 inputBytes) : m_saved(QImageReader::allocationLimit())
    {
        const qint64 megabytes = memoryBound(inputBytes) >> 20;
        QImageReader::setAllocationLimit(
            static_cast<int>(m_saved > 0 ? std::min<qint64>(m_saved, megabytes) : megabytes));
    }
    ~QtAllocationLimit() { QImageReader::setAllocationLimit(m_saved); }
    QtAllocationLimit(const QtAllocationLimit &) = delete;
    QtAllocationLimit &operator=(const QtAllocationLimit &) = delete;

private:
    int m_saved;
};

bool decodeWithQt(QByteArrayView bytes, const QByteArray &format, QImage &image, QString *why)
{
    const QtAllocationLimit limit(bytes.size());
    QByteArray raw = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (size.isValid() && !saneSize(size.width(), size.height(), bytes.size())) {
        if (why)
            *why = u"unsupported size %1x%2"_s.arg(size.width()).arg(size.height());
        return false;
    }
    QImage decoded;
    if (!reader.read(&decoded) || !saneSize(decoded.width(), decoded.height(), bytes.size())) {
        if (why)
            *why = reader.errorString();
        return false;
    }
    image = std::move(decoded);
    return true;
}

} // namespace

PictureKind pictureKind(QStringView fileName)
{
    if (fileName.endsWith(u".JPG", Qt::CaseInsensitive))
        return PictureKind::Jpeg;
    if (fileName.endsWith(u".GIF", Qt::CaseInsensitive))
        return PictureKind::Gif;
    if (fileName.endsWith(u".BMP", Qt::CaseInsensitive))
        return PictureKind::Bmp;
    return PictureKind::None;
}

bool decodeJpeg(QByteArrayView bytes, QImage &image, QString *why)
{
    if (bytes.isEmpty()) {
        if (why)
            *why = u"empty picture"_s;
        return false;
    }
    QImage decoded;
    JpegSession session;
    std::memset(static_cast<void *>(&session), 0, sizeof session);
    session.data = reinterpret_cast<const unsigned char *>(bytes.data());
    session.size = static_cast<unsigned long>(bytes.size());
    session.image = &decoded;
    if (!runJpegDecoder(&session)) {
        if (why)
            *why = QString::fromLatin1(session.message);
        return false;
    }
    image = std::move(decoded);
    return true;
}

bool decodePicture(QByteArrayView bytes, QStringView fileName, QImage &image, QString *why)
{
    switch (pictureKind(fileName)) {
    case PictureKind::Jpeg:
        return decodeJpeg(bytes, image, why);
    case PictureKind::Gif:
        return decodeWithQt(bytes, "gif"_ba, image, why);
    case PictureKind::Bmp:
        return decodeWithQt(bytes, "bmp"_ba, image, why);
    case PictureKind::None:
        break;
    }
    if (why)
        *why = u"not a picture"_s;
    return false;
}

bool LoadPictureFile(const QString &path, QImage &image)
{
    if (pictureKind(path) == PictureKind::None)
        return false;
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly) || file.size() > MaxPictureFileSize)
        return false;
    const QByteArray bytes = file.readAll();
    return decodePicture(bytes, path, image);
}

bool LoadSkinImage(const QString &resourceName, QImage &image)
{
    QFile file(u":/skins/"_s + resourceName + u".jpg"_s);
    if (resourceName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return decodeJpeg(bytes, image);
}
