#include "storage/Pictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
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
    // Header only: the size and orientation are read, nothing is decoded.
    bool headerOnly;
    const PictureSizing *sizing;
    // Read from the header: the stored size, the EXIF orientation, and the size wanted as shown.
    unsigned storedWidth;
    unsigned storedHeight;
    int orientation;
    QSize wanted;
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

// Orientations 5 to 8 turn the picture a quarter: its shown width is its stored height.
bool turnsQuarter(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

QSize shownSize(unsigned width, unsigned height, int orientation)
{
    const QSize stored(static_cast<int>(width), static_cast<int>(height));
    return turnsQuarter(orientation) ? stored.transposed() : stored;
}

quint32 readTiff(const uchar *p, int bytes, bool bigEndian)
{
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= quint32(p[bigEndian ? i : bytes - 1 - i]) << (8 * (bytes - 1 - i));
    return v;
}

// The orientation tag (0x0112) of IFD0 in the body of an APP1 "Exif" segment; 1 when there is none
// or anything about it is out of bounds.
int exifOrientation(const uchar *data, size_t size)
{
    static constexpr uchar exifId[] = {'E', 'x', 'i', 'f', 0, 0};
    if (size < sizeof exifId + 8 || std::memcmp(data, exifId, sizeof exifId) != 0)
        return 1;
    const uchar *tiff = data + sizeof exifId;
    const size_t length = size - sizeof exifId;
    bool big;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        big = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        big = true;
    else
        return 1;
    if (readTiff(tiff + 2, 2, big) != 42)
        return 1;
    const quint64 ifd = readTiff(tiff + 4, 4, big);
    if (ifd + 2 > length)
        return 1;
    const quint64 count = readTiff(tiff + ifd, 2, big);
    for (quint64 i = 0; i < count; ++i) {
        const quint64 entry = ifd + 2 + 12 * i;
        if (entry + 12 > length)
            return 1;
        const uchar *e = tiff + entry;
        if (readTiff(e, 2, big) != 0x0112)
            continue;
        // A SHORT (type 3) with one value, held in the first two bytes of the value field.
        if (readTiff(e + 2, 2, big) != 3 || readTiff(e + 4, 4, big) != 1)
            return 1;
        const quint32 value = readTiff(e + 8, 2, big);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

int markerOrientation(j_decompress_ptr cinfo)
{
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && m->data) {
            const int o = exifOrientation(m->data, m->data_length);
            if (o != 1)
                return o;
        }
    }
    return 1;
}

// The smallest DCT scale n/8 that gives at least the wanted size (stored orientation); the whole
// picture when even 8/8 is smaller.
void chooseScale(j_decompress_ptr cinfo, QSize wantedStored)
{
    cinfo->scale_denom = 8;
    for (unsigned n = 1; n <= 8; ++n) {
        cinfo->scale_num = n;
        jpeg_calc_output_dimensions(cinfo);
        if (cinfo->output_width >= static_cast<JDIMENSION>(wantedStored.width()) &&
            cinfo->output_height >= static_cast<JDIMENSION>(wantedStored.height()))
            return;
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
    // The orientation lives in an APP1 segment, which libjpeg otherwise skips.
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);
    if (!saneSize(cinfo->image_width, cinfo->image_height, static_cast<qint64>(s->size))) {
        std::snprintf(s->message, sizeof s->message, "unsupported size %ux%u", cinfo->image_width,
                      cinfo->image_height);
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    s->storedWidth = cinfo->image_width;
    s->storedHeight = cinfo->image_height;
    s->orientation = markerOrientation(cinfo);
    if (s->headerOnly) {
        jpeg_destroy_decompress(cinfo);
        return true;
    }
    // The sizing makes no libjpeg call, so nothing of it is left behind by a longjmp.
    if (s->sizing && *s->sizing)
        s->wanted = (*s->sizing)(shownSize(s->storedWidth, s->storedHeight, s->orientation));
    if (!s->wanted.isEmpty())
        chooseScale(cinfo, turnsQuarter(s->orientation) ? s->wanted.transposed() : s->wanted);
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

struct JpegWriter {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    unsigned char *out;
    unsigned long outSize;
    const QImage *rgb; // Format_RGB888
    int quality;
};

void failJpegWriter(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegWriter *>(cinfo)->jump, 1);
}

// As the decoder: libjpeg leaves through longjmp, so nothing here owns a destructor.
bool runJpegEncoder(JpegWriter *w)
{
    j_compress_ptr cinfo = &w->cinfo;
    cinfo->err = jpeg_std_error(&w->errors);
    w->errors.error_exit = failJpegWriter;
    if (setjmp(w->jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);
    jpeg_mem_dest(cinfo, &w->out, &w->outSize);
    cinfo->image_width = static_cast<JDIMENSION>(w->rgb->width());
    cinfo->image_height = static_cast<JDIMENSION>(w->rgb->height());
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, w->quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(w->rgb->constScanLine(static_cast<int>(cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
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

bool decodeWithQt(QByteArrayView bytes, const QByteArray &format, QImage &image, QString *why,
                  const PictureSizing &sizing)
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
    // The reader scales as it reads where its format allows, otherwise right after.
    if (size.isValid() && sizing) {
        const QSize wanted = sizing(size);
        if (!wanted.isEmpty() && wanted != size)
            reader.setScaledSize(wanted);
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

// The stored picture turned and mirrored as its EXIF orientation says it is shown.
QImage oriented(QImage image, int orientation)
{
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7:
        return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

QImage resized(QImage image, QSize wanted)
{
    // A size no picture may have is no size to scale to.
    if (wanted.isEmpty() || image.size() == wanted || wanted.width() > MaxPictureSide ||
        wanted.height() > MaxPictureSide)
        return image;
    return image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool startJpegSession(QByteArrayView bytes, JpegSession &session, QImage *image, QString *why)
{
    if (bytes.isEmpty()) {
        if (why)
            *why = u"empty picture"_s;
        return false;
    }
    std::memset(static_cast<void *>(&session), 0, sizeof session);
    session.data = reinterpret_cast<const unsigned char *>(bytes.data());
    session.size = static_cast<unsigned long>(bytes.size());
    session.image = image;
    session.orientation = 1;
    return true;
}

bool runJpegSession(JpegSession &session, QString *why)
{
    if (runJpegDecoder(&session))
        return true;
    if (why)
        *why = QString::fromLatin1(session.message);
    return false;
}

} // namespace

PictureSizing fitInto(QSize box)
{
    return [box](QSize shown) { return fittedSize(shown, box); };
}

QSize fittedSize(QSize shown, QSize box)
{
    const qint64 w = shown.width();
    const qint64 h = shown.height();
    if (w <= 0 || h <= 0 || box.isEmpty() || (w <= box.width() && h <= box.height()))
        return shown;
    const auto roundHalfEven = [](qint64 num, qint64 den) {
        const qint64 q = num / den;
        const qint64 twiceRest = 2 * (num % den);
        return twiceRest > den || (twiceRest == den && q % 2 != 0) ? q + 1 : q;
    };
    // The side that meets the box first is the box's; the other follows the proportions.
    if (w * box.height() >= h * box.width())
        return {box.width(), static_cast<int>(std::max<qint64>(1, roundHalfEven(h * box.width(), w)))};
    return {static_cast<int>(std::max<qint64>(1, roundHalfEven(w * box.height(), h))), box.height()};
}

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

bool decodeJpeg(QByteArrayView bytes, QImage &image, QString *why, const PictureSizing &sizing)
{
    QImage decoded;
    JpegSession session;
    if (!startJpegSession(bytes, session, &decoded, why))
        return false;
    session.sizing = &sizing;
    if (!runJpegSession(session, why))
        return false;
    image = resized(oriented(std::move(decoded), session.orientation), session.wanted);
    return true;
}

bool decodePicture(QByteArrayView bytes, QStringView fileName, QImage &image, QString *why,
                   const PictureSizing &sizing)
{
    switch (pictureKind(fileName)) {
    case PictureKind::Jpeg:
        return decodeJpeg(bytes, image, why, sizing);
    case PictureKind::Gif:
        return decodeWithQt(bytes, "gif"_ba, image, why, sizing);
    case PictureKind::Bmp:
        return decodeWithQt(bytes, "bmp"_ba, image, why, sizing);
    case PictureKind::None:
        break;
    }
    if (why)
        *why = u"not a picture"_s;
    return false;
}

QSize pictureSize(QByteArrayView bytes, QStringView fileName, QString *why)
{
    const PictureKind kind = pictureKind(fileName);
    if (kind == PictureKind::Jpeg) {
        JpegSession session;
        if (!startJpegSession(bytes, session, nullptr, why))
            return {};
        session.headerOnly = true;
        if (!runJpegSession(session, why))
            return {};
        return shownSize(session.storedWidth, session.storedHeight, session.orientation);
    }
    if (kind == PictureKind::None) {
        if (why)
            *why = u"not a picture"_s;
        return {};
    }
    QByteArray raw = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, kind == PictureKind::Gif ? "gif"_ba : "bmp"_ba);
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid() || !saneSize(size.width(), size.height(), bytes.size())) {
        if (why)
            *why = u"unreadable size"_s;
        return {};
    }
    return size;
}

int jpegOrientation(QByteArrayView bytes)
{
    JpegSession session;
    if (!startJpegSession(bytes, session, nullptr, nullptr))
        return 1;
    session.headerOnly = true;
    return runJpegSession(session, nullptr) ? session.orientation : 1;
}

QByteArray encodeJpeg(const QImage &image, int quality)
{
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    JpegWriter writer;
    std::memset(static_cast<void *>(&writer), 0, sizeof writer);
    writer.rgb = &rgb;
    writer.quality = std::clamp(quality, 1, 100);
    const bool ok = runJpegEncoder(&writer);
    QByteArray bytes;
    if (ok)
        bytes = QByteArray(reinterpret_cast<const char *>(writer.out), static_cast<qsizetype>(writer.outSize));
    std::free(writer.out);
    return bytes;
}

bool LoadPictureFile(const QString &path, QImage &image, const PictureSizing &sizing)
{
    if (pictureKind(path) == PictureKind::None)
        return false;
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly) || file.size() > MaxPictureFileSize)
        return false;
    const QByteArray bytes = file.readAll();
    return decodePicture(bytes, path, image, nullptr, sizing);
}

bool LoadSkinImage(const QString &resourceName, QImage &image)
{
    QFile file(u":/skins/"_s + resourceName + u".jpg"_s);
    if (resourceName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return decodeJpeg(bytes, image);
}
