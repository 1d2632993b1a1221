#include "SheetScans.h"
#include "grading/PaperGrader.h"
#include "grading/SheetReader.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace SheetScans;

namespace {

SheetContent content(int questions, int answers)
{
    SheetContent c;
    c.testName = u"Sprawdzian z fizyki – ruch i siły"_s;
    SheetCode &code = c.code;
    code.fingerprint = u"0123456789abcdef"_s;
    code.versions = 2;
    code.version = 1;
    code.shuffled = true;
    code.seed = 4711;
    code.questions = questions;
    code.answers = answers;
    code.pupil = 7;
    code.className = u"3b"_s;
    code.firstName = u"Małgorzata"_s;
    code.surname = u"Źdźbło-Łęcka"_s;
    return c;
}

// Every kind of mark once, with what a reader must make of the question's row.
const QList<PenMark> kMarks{
    {1, 0, Mark::PenX},      {2, 2, Mark::PencilX}, {3, 1, Mark::Fill},   {4, 0, Mark::Cancelled},
    {4, 3, Mark::PenX},      {6, 1, Mark::Dot},     {7, 0, Mark::PenX},   {7, 2, Mark::PenX},
    {8, 1, Mark::Faint},     {9, 3, Mark::Erased},  {10, 0, Mark::Partial}, {11, 1, Mark::PenX},
    {12, 3, Mark::Fill},     {12, 3, Mark::Cancelled}, {13, 2, Mark::PencilX}, {13, 0, Mark::Dot},
};
const QStringList kExpected{u"A"_s, u"C"_s, u"B"_s, u"D"_s, u""_s, u""_s, u"AC"_s,
                            u"?"_s, u"?"_s, u"?"_s, u"B"_s, u""_s, u"C"_s, u""_s};

QStringList answersOf(const SheetReading &r)
{
    QStringList out;
    for (int q = 1; q <= r.geometry.questions; ++q) {
        QString letters;
        bool uncertain = false;
        for (int a = 0; a < r.geometry.answers; ++a) {
            const BoxMark m = r.boxes[(q - 1) * r.geometry.answers + a].mark;
            uncertain = uncertain || m == BoxMark::Uncertain;
            if (m == BoxMark::Marked)
                letters += QChar(u'A' + a);
        }
        out << (uncertain ? u"?"_s : letters);
    }
    return out;
}

QString describe(const SheetReading &r)
{
    QString s;
    for (int i = 0; i < r.boxes.size(); ++i) {
        const BoxReading &b = r.boxes[i];
        if (b.ink > 0.01 || b.faint > 0.01 || b.ringSectors > 0)
            s += u"q%1%2 ink %3 faint %4 ring %5\n"_s.arg(i / r.geometry.answers + 1)
                     .arg(QChar(u'A' + i % r.geometry.answers))
                     .arg(b.ink, 0, 'f', 3)
                     .arg(b.faint, 0, 'f', 3)
                     .arg(b.ringSectors);
    }
    return s;
}

struct DamageCase {
    const char *name;
    Damage damage;
};

class SheetDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(SheetDamage, ReadsEveryMarkAsAPersonWould)
{
    const DamageCase &c = GetParam();
    const SheetContent sheet = content(14, 4);
    const SheetGeometry g = sheetGeometry(14, 4);
    QImage page = render(g, sheet, c.damage.dpi);
    draw(page, g, c.damage.dpi, kMarks, 11);
    scribble(page, c.damage.dpi);
    const QImage scan = damage(page, c.damage, 5);

    SheetReader reader;
    const SheetReading r = reader.read(scan);
    ASSERT_EQ(r.status, SheetReading::Status::Sheet) << r.problem.toStdString();
    EXPECT_EQ(r.code, sheet.code);
    EXPECT_EQ(answersOf(r), kExpected) << describe(r).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Scans, SheetDamage,
    ::testing::Values(DamageCase{"clean200", {200}}, DamageCase{"upsideDown", {200, 180}},
                      DamageCase{"landscape", {200, 90}}, DamageCase{"skewed150", {150, 3.5}},
                      DamageCase{"skewedBack300", {300, -2.5, 1, 1}}, DamageCase{"fine600", {600, 0.7}},
                      DamageCase{"shrunkToFit", {200, 1.2, 0.94}},
                      DamageCase{"blurNoiseJpeg", {200, -1, 1, 2, 12, false, 55}},
                      DamageCase{"unevenLight", {200, 179, 1, 1, 6, true, 70}},
                      DamageCase{"coarseJpeg150", {150, 0.5, 1.02, 1, 8, true, 40}}),
    [](const ::testing::TestParamInfo<DamageCase> &info) { return std::string(info.param.name); });

TEST(SheetReader, PagesWithoutASheetAreNoSheet)
{
    SheetReader reader;
    QImage blank(1654, 2339, QImage::Format_Grayscale8);
    blank.fill(255);
    EXPECT_EQ(reader.read(blank).status, SheetReading::Status::NoSheet);
    EXPECT_EQ(reader.read(QImage()).status, SheetReading::Status::NoSheet);
}

TEST(SheetReader, AHugePictureIsRefusedBeforeItIsRead)
{
    SheetReader reader;
    const QImage huge(12000, 8000, QImage::Format_Mono);
    const SheetReading r = reader.read(huge);
    EXPECT_EQ(r.status, SheetReading::Status::Unreadable);
    EXPECT_TRUE(r.problem.contains(u"too large"_s)) << r.problem.toStdString();
}

TEST(SheetReader, ASheetWithoutItsCornersIsNotGuessed)
{
    const SheetContent sheet = content(5, 3);
    const SheetGeometry g = sheetGeometry(5, 3);
    QImage page = render(g, sheet, 200);
    // A corner cut off by the scanner's lid.
    for (int y = 0; y < 300; ++y)
        std::fill_n(page.scanLine(y), 400, uchar(255));
    const SheetReading r = SheetReader().read(page);
    EXPECT_EQ(r.status, SheetReading::Status::NoMarks);
}

TEST(SheetReader, BoxClassification)
{
    struct Case {
        double ink, faint;
        int ring;
        BoxMark expected;
    };
    const Case cases[] = {
        {0, 0, 0, BoxMark::Empty},          {0.3, 0.4, 0, BoxMark::Marked},     {0.3, 0.4, 4, BoxMark::Marked},
        {0.9, 0.95, 11, BoxMark::Cancelled}, {0.3, 0.4, 7, BoxMark::Uncertain}, {0.0, 0.2, 0, BoxMark::Uncertain},
        {0.05, 0.06, 0, BoxMark::Uncertain}, {0.01, 0.02, 12, BoxMark::Empty},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SheetReader::classify(c.ink, c.faint, c.ring), c.expected) << c.ink << " " << c.faint << " " << c.ring;
}

} // namespace
