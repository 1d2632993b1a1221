#include "storage/Pictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>
#include <algorithm>
#include <optional>
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

// The TIFF structure in the body of an APP1 "Exif" segment. It is the file's own data: every offset
// in it may point anywhere, so every read is checked against the segment.
class Tiff {
public:
    static std::optional<Tiff> of(const uchar *body, size_t size)
    {
        static constexpr uchar exifId[] = {'E', 'x', 'i', 'f', 0, 0};
        if (size < sizeof exifId + 8 || std::memcmp(body, exifId, sizeof exifId) != 0)
            return std::nullopt;
        Tiff t;
        t.m_data = body + sizeof exifId;
        t.m_size = size - sizeof exifId;
        if (t.m_data[0] == 'I' && t.m_data[1] == 'I')
            t.m_big = false;
        else if (t.m_data[0] == 'M' && t.m_data[1] == 'M')
            t.m_big = true;
        else
            return std::nullopt;
        if (t.read(2, 2) != 42)
            return std::nullopt;
        return t;
    }
    // Offsets count from the TIFF header, which starts six bytes into the body.
    static constexpr size_t kBodyOffset = 6;

    // A value of 1, 2 or 4 bytes; 0 when it lies outside.
    quint32 read(quint64 at, int bytes) const
    {
        if (at + static_cast<quint64>(bytes) > m_size)
            return 0;
        quint32 v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= quint32(m_data[at + static_cast<quint64>(m_big ? i : bytes - 1 - i)]) << (8 * (bytes - 1 - i));
        return v;
    }
    bool holds(quint64 at, quint64 bytes) const { return at <= m_size && bytes <= m_size - at; }
    quint64 firstIfd() const { return read(4, 4); }
    // The IFD after the one at `ifd`; 0 when there is none or it cannot be read.
    quint64 nextIfd(quint64 ifd) const
    {
        if (!holds(ifd, 2))
            return 0;
        const quint64 at = ifd + 2 + 12 * quint64(read(ifd, 2));
        const quint64 next = holds(at, 4) ? read(at, 4) : 0;
        return next == ifd ? 0 : next;
    }
    struct Entry {
        quint32 type, count;
        quint64 field; // where the value (or its offset) stands
    };
    // The entry of `tag` in the IFD at `ifd`; nothing when it is missing or the IFD is cut short.
    std::optional<Entry> find(quint64 ifd, quint32 tag) const
    {
        if (!holds(ifd, 2))
            return std::nullopt;
        const quint64 count = read(ifd, 2);
        for (quint64 i = 0; i < count; ++i) {
            const quint64 e = ifd + 2 + 12 * i;
            if (!holds(e, 12))
                return std::nullopt;
            if (read(e, 2) == tag)
                return Entry{read(e + 2, 2), read(e + 4, 4), e + 8};
        }
        return std::nullopt;
    }
    // A single SHORT or LONG value.
    std::optional<quint32> number(quint64 ifd, quint32 tag) const
    {
        const std::optional<Entry> e = find(ifd, tag);
        if (!e || e->count != 1 || (e->type != 3 && e->type != 4))
            return std::nullopt;
        return read(e->field, e->type == 3 ? 2 : 4);
    }

private:
    const uchar *m_data = nullptr;
    size_t m_size = 0;
    bool m_big = false;
};

// The orientation tag (0x0112) of IFD0 in the body of an APP1 "Exif" segment; 1 when there is none
// or anything about it is out of bounds.
int exifOrientation(const uchar *data, size_t size)
{
    const std::optional<Tiff> tiff = Tiff::of(data, size);
    if (!tiff)
        return 1;
    const std::optional<Tiff::Entry> e = tiff->find(tiff->firstIfd(), 0x0112);
    // A SHORT (type 3) with one value, held in the first two bytes of the value field.
    if (!e || e->type != 3 || e->count != 1)
        return 1;
    const quint32 value = tiff->read(e->field, 2);
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
}

// The body of the file's first APP1 "Exif" segment, walking the segments before the picture data;
// empty when there is none.
QByteArrayView exifSegment(QByteArrayView bytes)
{
    const auto *b = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    if (n < 4 || b[0] != 0xFF || b[1] != 0xD8)
        return {};
    qsizetype p = 2;
    while (p + 4 <= n) {
        if (b[p] != 0xFF)
            return {};
        const uchar marker = b[p + 1];
        if (marker == 0xFF) { // fill byte
            ++p;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // the picture data, or the end
            return {};
        const qsizetype length = qsizetype(b[p + 2]) << 8 | b[p + 3];
        if (length < 2 || p + 2 + length > n)
            return {};
        if (marker == 0xE1 && length >= 8 && std::memcmp(b + p + 4, "Exif\0\0", 6) == 0)
            return bytes.sliced(p + 4, length - 2);
        p += 2 + length;
    }
    return {};
}

// The small JPEG preview a camera or phone keeps in IFD1 of the EXIF data; empty when there is none.
QByteArrayView exifThumbnail(QByteArrayView bytes)
{
    const QByteArrayView body = exifSegment(bytes);
    const std::optional<Tiff> tiff =
        Tiff::of(reinterpret_cast<const uchar *>(body.data()), static_cast<size_t>(body.size()));
    if (!tiff)
        return {};
    const quint64 ifd1 = tiff->nextIfd(tiff->firstIfd());
    if (ifd1 == 0)
        return {};
    const std::optional<quint32> compression = tiff->number(ifd1, 0x0103);
    const std::optional<quint32> start = tiff->number(ifd1, 0x0201);
    const std::optional<quint32> length = tiff->number(ifd1, 0x0202);
    if ((compression && *compression != 6) || !start || !length || *length < 4 || !tiff->holds(*start, *length))
        return {};
    const QByteArrayView preview = body.sliced(static_cast<qsizetype>(Tiff::kBodyOffset + *start), *length);
    return preview.startsWith("\xFF\xD8") ? preview : QByteArrayView();
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

// Phones keep a small preview of every photo in its EXIF data (160 × 120 as a rule). A picture wanted
// no bigger than that is made from the preview: kilobytes to decode instead of megabytes. A preview of
// other proportions than the picture (cropped or edited since it was taken) is not trusted.
bool decodeFromPreview(QByteArrayView bytes, QImage &image, const PictureSizing &sizing)
{
    const QByteArrayView preview = exifThumbnail(bytes);
    if (preview.isEmpty())
        return false;
    JpegSession picture;
    if (!startJpegSession(bytes, picture, nullptr, nullptr))
        return false;
    picture.headerOnly = true;
    if (!runJpegSession(picture, nullptr))
        return false;
    const QSize wanted = sizing(shownSize(picture.storedWidth, picture.storedHeight, picture.orientation));
    if (wanted.isEmpty())
        return false;
    const QSize wantedStored = turnsQuarter(picture.orientation) ? wanted.transposed() : wanted;
    JpegSession small;
    if (!startJpegSession(preview, small, nullptr, nullptr))
        return false;
    small.headerOnly = true;
    if (!runJpegSession(small, nullptr))
        return false;
    const qint64 w = picture.storedWidth, h = picture.storedHeight;
    const qint64 tw = small.storedWidth, th = small.storedHeight;
    if (tw < wantedStored.width() || th < wantedStored.height() || std::abs(tw * h - th * w) > std::max(w, h))
        return false;
    QImage decoded;
    if (!startJpegSession(preview, small, &decoded, nullptr) || !runJpegSession(small, nullptr))
        return false;
    // The preview is stored as the picture is: the picture's orientation turns it too.
    image = resized(oriented(std::move(decoded), picture.orientation), wanted);
    return true;
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
    if (sizing && decodeFromPreview(bytes, image, sizing))
        return true;
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
