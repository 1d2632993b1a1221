#include "storage/Pictures.h"

#include "support/GifFixture.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QLibraryInfo>
#include <QProcess>
#include <QResource>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Lossy compression moves colours a little.
void expectNear(const QColor &actual, const QColor &expected, int tolerance = 12)
{
    EXPECT_NEAR(actual.red(), expected.red(), tolerance);
    EXPECT_NEAR(actual.green(), expected.green(), tolerance);
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance);
}

QImage marker()
{
    QImage image(3, 3, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    return image;
}

QByteArray bmpBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

} // namespace

TEST(PictureKind, IsTheExtensionInAnyCase)
{
    const struct {
        const char16_t *name;
        PictureKind kind;
    } cases[] = {
        {u"a.JPG", PictureKind::Jpeg}, {u"a.jpg", PictureKind::Jpeg},     {u"dir.x/b.Gif", PictureKind::Gif},
        {u"c.bmp", PictureKind::Bmp},  {u"d.jpeg", PictureKind::None},    {u"e.png", PictureKind::None},
        {u"jpg", PictureKind::None},   {u"f.jpg.txt", PictureKind::None}, {u"", PictureKind::None},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pictureKind(QStringView(c.name)), c.kind) << QString::fromUtf16(c.name).toStdString();
}

TEST(PictureJpeg, DecodesEveryKindOfJpegToRgb)
{
    using JpegFixture::Encoding;
    for (Encoding encoding : {Encoding::Baseline, Encoding::Progressive, Encoding::Grayscale}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        const QByteArray jpeg = JpegFixture::gradientJpeg(64, 48, encoding);
        ASSERT_FALSE(jpeg.isEmpty());
        QImage image;
        ASSERT_TRUE(decodeJpeg(jpeg, image));
        EXPECT_EQ(image.size(), QSize(64, 48));
        EXPECT_EQ(image.format(), QImage::Format_RGB888);
        const QImage expected = JpegFixture::gradient(64, 48);
        for (const QPoint p : {QPoint(0, 0), QPoint(63, 0), QPoint(0, 47), QPoint(63, 47), QPoint(30, 20)}) {
            QColor want = expected.pixelColor(p);
            if (encoding == Encoding::Grayscale)
                want = QColor(qGray(want.rgb()), qGray(want.rgb()), qGray(want.rgb()));
            expectNear(image.pixelColor(p), want);
        }
    }
}

TEST(PictureJpeg, DecodesCmykPictures)
{
    const QByteArray red = JpegFixture::cmykJpeg(16, 16, 0, 255, 255, 0);
    ASSERT_FALSE(red.isEmpty());
    QImage image;
    ASSERT_TRUE(decodeJpeg(red, image));
    expectNear(image.pixelColor(8, 8), QColor(255, 0, 0));
}

TEST(PictureJpeg, RefusesDamagedDataAndLeavesTheImageAlone)
{
    const QByteArray good = JpegFixture::gradientJpeg(64, 64);
    const struct {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"cut in half", good.first(good.size() / 2)},
        {"header only", good.first(40)},
        {"start marker only", "\xFF\xD8"_ba},
        {"not a JPEG", "GIF89a and so on"_ba},
        {"garbage after the start marker", "\xFF\xD8"_ba + QByteArray(200, '\x5A')},
        {"wider than the limit", JpegFixture::withClaimedSize(good, MaxPictureSide + 1, 10)},
        {"too many pixels", JpegFixture::withClaimedSize(good, 15000, 15000)},
        {"zero height", JpegFixture::withClaimedSize(good, 64, 0)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QImage image = marker();
        QString why;
        EXPECT_FALSE(decodeJpeg(c.bytes, image, &why));
        EXPECT_FALSE(why.isEmpty());
        EXPECT_EQ(image, marker());
    }
}

// The header may claim a large picture whose data then runs out: the decoder must stop, not fill.
TEST(PictureJpeg, RefusesALargeClaimWithoutTheData)
{
    const QByteArray jpeg = JpegFixture::withClaimedSize(JpegFixture::gradientJpeg(64, 64), 8000, 8000);
    QImage image = marker();
    EXPECT_FALSE(decodeJpeg(jpeg, image));
    EXPECT_EQ(image, marker());
}

// A picture may take 20 times its file plus 64 MB: a small file claiming 20 million pixels is refused
// by its header, before anything that size is allocated.
TEST(PictureJpeg, RefusesAClaimBeyondWhatItsFileCanHold)
{
    const QByteArray good = JpegFixture::gradientJpeg(64, 64);
    for (const QByteArray &jpeg :
         {JpegFixture::withClaimedSize(good, 4500, 4500), JpegFixture::withClaimedSize(good, 20000, 1000)}) {
        QImage image = marker();
        QString why;
        EXPECT_FALSE(decodeJpeg(jpeg, image, &why));
        EXPECT_TRUE(why.startsWith(u"unsupported size"_s)) << why.toStdString();
    }
    // The same claim with a file large enough to hold it is only limited by the sides.
    QString why;
    QImage image;
    EXPECT_FALSE(
        decodeJpeg(JpegFixture::withClaimedSize(good, 4500, 4500) + QByteArray(2 << 20, '\0'), image, &why));
    EXPECT_FALSE(why.startsWith(u"unsupported size"_s)) << why.toStdString();
}

// Found by the fuzzer: Qt's GIF reader allocates the logical screen its header claims before it reads
// a pixel, 116 MB for these 25 bytes, which are not even a GIF.
TEST(PictureOther, GifClaimingAHugeScreenIsRefusedBeforeItIsAllocated)
{
    const QByteArray found = QByteArray::fromBase64("/9gaAAAA/90AAgAALCwAACwAAAkAAAAAeg==");
    QByteArray gif = "GIF89a";
    gif += PakBytes::int32(16000).first(2) + PakBytes::int32(2000).first(2) + QByteArray("\0\0\0", 3);
    gif += "\x2c" + QByteArray(4, '\0') + PakBytes::int32(16000).first(2) + PakBytes::int32(2000).first(2);
    gif += QByteArray("\0\x02\x02\x44\x01\0\x3b", 7);
    for (const QByteArray &bytes : {found, gif}) {
        QImage image = marker();
        EXPECT_FALSE(decodePicture(bytes, u"a.gif", image));
        EXPECT_EQ(image, marker());
    }
    EXPECT_EQ(QImageReader::allocationLimit(), 128); // Qt's own limit is back
}

TEST(PictureOther, GifAndBmpDecodeThroughQt)
{
    QImage picture(5, 4, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    picture.setPixelColor(1, 2, Qt::yellow);
    const struct {
        const char16_t *name;
        QByteArray bytes;
    } cases[] = {{u"anim.GIF", GifFixture::encode(picture)}, {u"plan.bmp", bmpBytes(picture)}};
    for (const auto &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.name).toStdString());
        QImage image;
        ASSERT_TRUE(decodePicture(c.bytes, QStringView(c.name), image));
        EXPECT_EQ(image.size(), picture.size());
        EXPECT_EQ(image.pixelColor(1, 2), QColor(Qt::yellow));
        EXPECT_EQ(image.pixelColor(4, 3), QColor(Qt::darkGreen));
    }
    // The extension chooses the decoder; other content is refused.
    QImage image = marker();
    EXPECT_FALSE(decodePicture(bmpBytes(picture), u"plan.gif", image));
    EXPECT_FALSE(decodePicture(bmpBytes(picture).first(30), u"plan.bmp", image));
    EXPECT_FALSE(decodePicture(bmpBytes(picture), u"plan.png", image));
    EXPECT_EQ(image, marker());
}

TEST(PictureFile, LoadsByExtensionAndIgnoresOthers)
{
    QTemporaryDir dir;
    const QByteArray jpeg = JpegFixture::gradientJpeg(20, 10);
    ASSERT_TRUE(PakBytes::writeFile(dir.filePath(u"Zdjęcie.Jpg"_s), jpeg));
    ASSERT_TRUE(PakBytes::writeFile(dir.filePath(u"zdjecie.png"_s), jpeg));
    QImage image;
    ASSERT_TRUE(LoadPictureFile(dir.filePath(u"Zdjęcie.Jpg"_s), image));
    EXPECT_EQ(image.size(), QSize(20, 10));

    image = marker();
    EXPECT_FALSE(LoadPictureFile(dir.filePath(u"zdjecie.png"_s), image));
    EXPECT_FALSE(LoadPictureFile(dir.filePath(u"brak.jpg"_s), image));
    EXPECT_EQ(image, marker());
}

// The program's skins are compiled in; here a resource file made with rcc stands in for them.
TEST(PictureSkin, LoadsAJpegResourceByName)
{
    const QString rcc = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + u"/rcc"_s;
    if (!QFileInfo(rcc).isExecutable())
        GTEST_SKIP() << "rcc not found";
    QTemporaryDir dir;
    ASSERT_TRUE(PakBytes::writeFile(dir.filePath(u"tiny.jpg"_s), JpegFixture::gradientJpeg(12, 8)));
    ASSERT_TRUE(PakBytes::writeFile(dir.filePath(u"test.qrc"_s),
                                    "<RCC><qresource prefix=\"/skins\">"
                                    "<file alias=\"zzProbaTestowa.jpg\">tiny.jpg</file>"
                                    "</qresource></RCC>"));
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(rcc, {u"--binary"_s, u"-o"_s, u"test.rcc"_s, u"test.qrc"_s});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString rccFile = dir.filePath(u"test.rcc"_s);
    ASSERT_TRUE(QResource::registerResource(rccFile));

    QImage image;
    EXPECT_TRUE(LoadSkinImage(u"zzProbaTestowa"_s, image));
    EXPECT_EQ(image.size(), QSize(12, 8));
    image = marker();
    EXPECT_FALSE(LoadSkinImage(u"zzNieMaTakiej"_s, image));
    EXPECT_FALSE(LoadSkinImage(QString(), image));
    EXPECT_EQ(image, marker());
    QResource::unregisterResource(rccFile);
}

namespace {

// Four quarters of four colours: any turn or mirror of it shows in its corners.
QImage quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            image.setPixelColor(x, y, bottom ? (right ? Qt::blue : Qt::yellow) : (right ? Qt::green : Qt::red));
        }
    }
    return image;
}

void expectQuarters(const QImage &image)
{
    const int w = image.width();
    const int h = image.height();
    expectNear(image.pixelColor(w / 4, h / 4), Qt::red, 40);
    expectNear(image.pixelColor(3 * w / 4, h / 4), Qt::green, 40);
    expectNear(image.pixelColor(w / 4, 3 * h / 4), Qt::yellow, 40);
    expectNear(image.pixelColor(3 * w / 4, 3 * h / 4), Qt::blue, 40);
}

} // namespace

// A phone stores an upright photo sideways with a tag that says how to turn it: every one of the
// eight orientations, in both byte orders, shows upright, at full size and scaled.
TEST(PictureOrientation, EveryExifOrientationShowsUpright)
{
    const QImage upright = quarters(96, 64);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (bool bigEndian : {false, true}) {
            SCOPED_TRACE(orientation * 10 + bigEndian);
            const QByteArray jpeg = JpegFixture::withApp1(
                JpegFixture::encode(JpegFixture::storedFor(upright, orientation)),
                JpegFixture::exifBody(orientation, bigEndian));
            EXPECT_EQ(jpegOrientation(jpeg), orientation);
            EXPECT_EQ(pictureSize(jpeg, u"a.jpg"), upright.size());
            QImage image;
            ASSERT_TRUE(decodePicture(jpeg, u"a.jpg", image));
            EXPECT_EQ(image.size(), upright.size());
            expectQuarters(image);
            ASSERT_TRUE(decodePicture(jpeg, u"a.jpg", image, nullptr, fitInto({48, 48})));
            EXPECT_EQ(image.size(), QSize(48, 32));
            expectQuarters(image);
        }
    }
}

// The APP1 segment is the file's own data: every offset in it may point anywhere.
TEST(PictureOrientation, DamagedExifIsNoOrientationAndThePictureStillDecodes)
{
    const QByteArray good = JpegFixture::exifBody(6);
    QByteArray ifdFar = good;
    ifdFar[6 + 4] = '\xF0'; // IFD0 offset far beyond the segment
    QByteArray manyEntries = good;
    manyEntries[6 + 8] = '\xFF';
    manyEntries[6 + 9] = '\xFF';          // 65535 entries in a few bytes,
    manyEntries[6 + 8 + 2 + 12] = '\x13'; // none of them the orientation: the walk ends at the end
    QByteArray longType = good;
    longType[6 + 8 + 2 + 12 + 2] = 4; // the orientation as a LONG
    QByteArray nine = good;
    nine[6 + 8 + 2 + 12 + 8] = 9; // no such orientation
    const struct {
        const char *what;
        QByteArray body;
    } cases[] = {
        {"no Exif name", "Exif"_ba},
        {"header only", good.first(6 + 8)},
        {"cut in the entry", good.first(6 + 8 + 2 + 12 + 6)},
        {"wrong byte-order mark", "Exif\0\0IM\x2a\0\x08\0\0\0"_ba},
        {"wrong magic number", "Exif\0\0II\x2b\0\x08\0\0\0"_ba},
        {"IFD beyond the segment", ifdFar},
        {"more entries than bytes", manyEntries},
        {"orientation of another type", longType},
        {"orientation out of range", nine},
        {"XMP instead of Exif", "http://ns.adobe.com/xap/1.0/\0<x/>"_ba},
    };
    const QByteArray picture = JpegFixture::encode(quarters(32, 16));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray jpeg = JpegFixture::withApp1(picture, c.body);
        EXPECT_EQ(jpegOrientation(jpeg), 1);
        QImage image;
        ASSERT_TRUE(decodeJpeg(jpeg, image));
        EXPECT_EQ(image.size(), QSize(32, 16));
    }
}

TEST(PictureSizing, FitsIntoABoxWithoutEnlarging)
{
    const struct {
        QSize shown, box, fitted;
    } cases[] = {
        {{4000, 3000}, {110, 110}, {110, 82}}, {{3000, 4000}, {110, 110}, {82, 110}},
        {{4000, 3000}, {1600, 1600}, {1600, 1200}}, {{1600, 1200}, {1600, 1600}, {1600, 1200}},
        {{50, 40}, {400, 200}, {50, 40}}, {{1000, 100}, {400, 200}, {400, 40}},
        {{100, 1000}, {400, 200}, {20, 200}}, {{20000, 1}, {110, 110}, {110, 1}},
        {{220, 166}, {110, 110}, {110, 83}}, {{440, 330}, {110, 110}, {110, 82}}, // 82.5: to the even pixel
        {{640, 480}, {}, {640, 480}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fittedSize(c.shown, c.box), c.fitted) << c.shown.width() << "x" << c.shown.height();
}

// Decoded at the size asked for, whatever the decoder: a JPEG through a DCT scale and a filter, GIF
// and BMP through their readers; the colours stay where they were.
TEST(PictureSizing, DecodesEveryKindAtTheSizeAskedFor)
{
    const QImage picture = quarters(400, 300);
    const struct {
        const char16_t *name;
        QByteArray bytes;
    } cases[] = {{u"a.jpg", JpegFixture::encode(picture)},
                 {u"a.gif", GifFixture::encode(picture)},
                 {u"a.bmp", bmpBytes(picture)}};
    const QSize sizes[] = {{110, 83}, {53, 40}, {399, 299}, {800, 600}};
    for (const auto &c : cases) {
        for (const QSize wanted : sizes) {
            SCOPED_TRACE(QString::fromUtf16(c.name).toStdString() + std::to_string(wanted.width()));
            QImage image;
            ASSERT_TRUE(decodePicture(c.bytes, QStringView(c.name), image, nullptr,
                                      [wanted](QSize shown) {
                                          EXPECT_EQ(shown, QSize(400, 300));
                                          return wanted;
                                      }));
            EXPECT_EQ(image.size(), wanted);
            expectQuarters(image);
        }
        EXPECT_EQ(pictureSize(c.bytes, QStringView(c.name)), QSize(400, 300));
    }
    // A damaged picture is refused at any size.
    QImage image = marker();
    EXPECT_FALSE(decodePicture(cases[0].bytes.first(200), u"a.jpg", image, nullptr, fitInto({50, 50})));
    EXPECT_EQ(image, marker());
    EXPECT_FALSE(pictureSize("GIF89a"_ba, u"a.gif").isValid());
}

// A phone's photo carries a small preview in its EXIF data. A thumbnail is made from it, turned as the
// photo is; a bigger picture, a preview of other proportions, or a damaged pointer to the preview take
// the photo itself. The preview's colours are the photo's inverted, so the result tells which was used.
TEST(PictureSizing, SmallPicturesComeFromTheExifPreview)
{
    const auto photo = [](int orientation, const QByteArray &preview) {
        const QImage upright = quarters(400, 300);
        return JpegFixture::withApp1(JpegFixture::encode(JpegFixture::storedFor(upright, orientation)),
                                     JpegFixture::exifBody(orientation, false, preview));
    };
    const auto previewOf = [](int orientation, QSize shown) {
        QImage upright = quarters(shown.width(), shown.height());
        upright.invertPixels();
        return JpegFixture::encode(JpegFixture::storedFor(upright, orientation));
    };
    // Offsets in the body that exifBody writes: IFD0 at 8 of the TIFF data, IFD1 right after it.
    const auto patched = [](QByteArray jpeg, int bodyOffset, QByteArray value) {
        const int body = jpeg.indexOf("Exif");
        jpeg.replace(body + bodyOffset, value.size(), value);
        return jpeg;
    };
    const QByteArray good = photo(1, previewOf(1, {160, 120}));
    const struct {
        const char *what;
        QByteArray jpeg;
        QSize box;
        bool fromPreview;
    } cases[] = {
        {"a thumbnail", good, {110, 110}, true},
        {"a thumbnail of a photo stored sideways", photo(6, previewOf(6, {160, 120})), {110, 110}, true},
        {"bigger than the preview", good, {200, 200}, false},
        {"a preview of other proportions", photo(1, previewOf(1, {160, 90})), {110, 110}, false},
        {"the preview beyond the segment", patched(good, 66, "\xF0\xFF\0\0"_ba), {110, 110}, false},
        {"the preview longer than the segment", patched(good, 78, "\xFF\xFF\0\0"_ba), {110, 110}, false},
        {"a preview that is not a JPEG", patched(good, 54, "\x01"_ba), {110, 110}, false},
        {"the next IFD is the first again", patched(good, 40, "\x08\0\0\0"_ba), {110, 110}, false},
        {"preview bytes that are no JPEG", photo(1, "not a picture at all"_ba), {110, 110}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QImage image;
        ASSERT_TRUE(decodeJpeg(c.jpeg, image, nullptr, fitInto(c.box)));
        EXPECT_EQ(image.size(), fittedSize({400, 300}, c.box));
        if (c.fromPreview)
            image.invertPixels();
        expectQuarters(image.scaled(400, 300));
    }
}
