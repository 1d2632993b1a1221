#include "print/AnswerSheet.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The sheet painted at 50 pixels to the inch on a picture that claims `dpi` as its resolution.
QImage paintedSheet(int dpi)
{
    const SheetGeometry g = sheetGeometry(12, 4);
    SheetContent c;
    c.testName = u"Ułamki zwykłe – sprawdzian"_s;
    c.code.fingerprint = u"0123456789abcdef"_s;
    c.code.questions = 12;
    c.code.answers = 4;
    c.code.pupil = 1;
    c.code.firstName = u"Zofia"_s;
    c.code.surname = u"Żółć"_s;
    const qreal scale = 50.0 / 72.0;
    QImage image(qRound(SheetGeometry::kPageWidth * scale), qRound(SheetGeometry::kPageHeight * scale),
                 QImage::Format_Grayscale8);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(255);
    QPainter p(&image);
    p.scale(scale, scale);
    EXPECT_TRUE(paintAnswerSheet(p, g, c));
    p.end();
    return image;
}

// A PDF writer reports its own resolution (300 dpi for the print), a picture 96: the sheet, painted
// in points, must come out the same on both, its text as big as on the other.
TEST(AnswerSheet, LooksTheSameWhateverResolutionTheDeviceReports)
{
    const QImage atScreen = paintedSheet(96);
    const QImage atPrint = paintedSheet(300);
    ASSERT_EQ(atScreen.size(), atPrint.size());
    qint64 differing = 0;
    for (int y = 0; y < atScreen.height(); ++y) {
        const uchar *a = atScreen.constScanLine(y);
        const uchar *b = atPrint.constScanLine(y);
        for (int x = 0; x < atScreen.width(); ++x)
            differing += std::abs(int(a[x]) - int(b[x])) > 64;
    }
    // Hinting may move an edge by a pixel here and there; text of another size moves thousands.
    EXPECT_LT(differing, atScreen.width() * atScreen.height() / 500);
}

} // namespace
