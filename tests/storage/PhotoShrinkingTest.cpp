#include "storage/PhotoShrinking.h"
#include "storage/Pictures.h"

#include "support/JpegFixture.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PhotoShrinking, ReducesLargeAndTurnedJpegsAndNothingElse)
{
    const QByteArray large = JpegFixture::gradientJpeg(2000, 1500);
    const QByteArray small = JpegFixture::gradientJpeg(1600, 900);
    // Stored 900 × 1600 and shown turned: 1600 × 900 as seen, within the limit but not upright.
    const QByteArray turned = JpegFixture::withApp1(JpegFixture::encode(JpegFixture::gradient(900, 1600)),
                                                    JpegFixture::exifBody(6));
    const QByteArray tallTurned = JpegFixture::withApp1(JpegFixture::gradientJpeg(2400, 1800),
                                                        JpegFixture::exifBody(8, true));
    const struct {
        const char *what;
        QByteArray bytes;
        const char16_t *name;
        bool reduced;
        QSize from, to;
    } cases[] = {
        {"larger than 1600", large, u"foto.JPG", true, {2000, 1500}, {1600, 1200}},
        {"1600 and upright", small, u"foto.jpg", false, {}, {}},
        {"turned, within the limit", turned, u"foto.jpg", true, {1600, 900}, {1600, 900}},
        {"turned and larger", tallTurned, u"foto.jpg", true, {1800, 2400}, {1200, 1600}},
        {"no JPEG by name", large, u"foto.bmp", false, {}, {}},
        {"damaged", large.first(large.size() / 3), u"foto.jpg", false, {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto shrunk = PhotoShrinking::shrink(c.bytes, QStringView(c.name));
        ASSERT_EQ(shrunk.has_value(), c.reduced);
        if (!shrunk)
            continue;
        EXPECT_EQ(shrunk->from, c.from);
        EXPECT_EQ(shrunk->to, c.to);
        // The new picture is upright without a tag: it shows the same, read by anything.
        EXPECT_EQ(jpegOrientation(shrunk->bytes), 1);
        EXPECT_EQ(pictureSize(shrunk->bytes, u"x.jpg"), c.to);
        QImage image;
        ASSERT_TRUE(decodeJpeg(shrunk->bytes, image));
        EXPECT_EQ(image.size(), c.to);
    }
}

TEST(PhotoShrinking, TheOfferSaysTheSizesInPolish)
{
    const PhotoShrinking::Shrunk reduced{{4000, 3000}, {1600, 1200}, QByteArray(300 * 1024, 'x')};
    // The sizes keep "MB" beside their numbers (a no-break space), as the message box wraps lines.
    const auto shown = [](QString text) { return text.replace(QChar(0xA0), u' '); };
    EXPECT_EQ(shown(PhotoShrinking::offerText(reduced, 4300000)),
              u"Obraz ma 4000 × 3000 pikseli (4,1 MB). Zmniejszyć go do 1600 × 1200 (około 0,3 MB)?"_s);
    const PhotoShrinking::Shrunk turned{{1200, 1600}, {1200, 1600}, QByteArray(700 * 1024, 'x')};
    EXPECT_EQ(shown(PhotoShrinking::offerText(turned, 800 * 1024)),
              u"Obraz ma 1200 × 1600 pikseli (0,8 MB) i jest zapisany obrócony. Zapisać go w położeniu, "
              u"w jakim jest oglądany (około 0,7 MB)?"_s);
    EXPECT_EQ(PhotoShrinking::megabytes(1), u"0,1\u00A0MB"_s);
    EXPECT_EQ(PhotoShrinking::megabytes(10 << 20), u"10,0\u00A0MB"_s);
}
