#include "print/AnswerSheet.h"

#include "print/PrintPlan.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr qreal mm(qreal v)
{
    return v * SheetGeometry::kPointsPerMm;
}

// Inside the margins every office printer prints (18 mm at the sides, 12 mm at the top and bottom).
constexpr qreal kMarkLeft = 23, kMarkRight = 187, kMarkTop = 17, kMarkBottom = 280;
constexpr qreal kGridTop = 88, kGridBottom = 274;
constexpr qreal kColumnLeft = 26;
constexpr qreal kColumnWidth = 84;
constexpr qreal kFirstBox = 17;    // from the column's left edge to the first box's centre
constexpr qreal kAnswerPitch = 14; // wide: a circle round one box stays clear of the next
constexpr qreal kMaxRowPitch = 10;
constexpr int kMaxRowsPerColumn = 23;

const QColor kInk(0, 0, 0);

// The sheet is painted with the point as the painter's unit. A font's point size is turned into the
// device's pixels by the device's resolution, and the painter's scale would do it a second time
// (the text four times too big on a 300 dpi PDF), so the resolution is taken out here.
QFont font(const QPainter &p, qreal points, bool bold = false)
{
    QFont f(u"DejaVu Sans"_s);
    f.setStyleHint(QFont::SansSerif);
    const int dpi = p.device() ? p.device()->logicalDpiY() : 72;
    f.setPointSizeF(points * 72.0 / std::max(1, dpi));
    f.setBold(bold);
    return f;
}

} // namespace

QRectF SheetGeometry::rowRect(int question) const
{
    const SheetBox &first = box(question, 0);
    const SheetBox &last = box(question, answers - 1);
    const qreal left = first.centre.x() - mm(kFirstBox);
    return QRectF(left, first.centre.y() - rowPitch / 2, last.centre.x() + mm(7) - left, rowPitch);
}

QRectF SheetGeometry::gridRect() const
{
    return QRectF(QPointF(mm(kMarkLeft - 4), mm(kGridTop - 8)), QPointF(mm(kMarkRight + 4), mm(kGridBottom + 6)));
}

SheetGeometry sheetGeometry(int questions, int answers)
{
    SheetGeometry g;
    g.questions = std::clamp(questions, 0, kMaxQuestions);
    g.answers = std::clamp(answers, 1, kMaxAnswers);
    g.markSide = mm(6);
    g.marks = {QPointF(mm(kMarkLeft), mm(kMarkTop)), QPointF(mm(kMarkRight), mm(kMarkTop)),
               QPointF(mm(kMarkRight), mm(kMarkBottom)), QPointF(mm(kMarkLeft), mm(kMarkBottom))};
    g.code = QRectF(mm(150), mm(24), mm(32), mm(32));
    g.boxHalf = mm(2.5);
    g.letterOffset = mm(5.5);
    const int columns = g.questions > kMaxRowsPerColumn ? 2 : 1;
    const int rows = std::max(1, (g.questions + columns - 1) / columns);
    g.rowPitch = mm(std::min(kMaxRowPitch, (kGridBottom - kGridTop) / rows));
    // One column stands in the middle of the page.
    const qreal singleLeft = (210 - (kFirstBox + (g.answers - 1) * kAnswerPitch + 6)) / 2;
    for (int q = 1; q <= g.questions; ++q) {
        const int column = (q - 1) / rows;
        const int row = (q - 1) % rows;
        const qreal left = columns == 1 ? singleLeft : kColumnLeft + column * kColumnWidth;
        for (int a = 0; a < g.answers; ++a)
            g.boxes.append({q, a, QPointF(mm(left + kFirstBox + a * kAnswerPitch), mm(kGridTop) + (row + 0.5) * g.rowPitch)});
    }
    return g;
}

void paintSheetGrid(QPainter &p, const SheetGeometry &g)
{
    p.save();
    const QFont letters = font(p, 11, true);
    const QFont numbers = font(p, 11);
    for (const SheetBox &b : g.boxes) {
        const QPointF c = b.centre;
        p.setPen(QPen(kInk, 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(c.x() - g.boxHalf, c.y() - g.boxHalf, 2 * g.boxHalf, 2 * g.boxHalf));
        p.setFont(letters);
        const QRectF letter(c.x() - g.letterOffset - mm(3), c.y() - mm(3), mm(6), mm(6));
        p.drawText(letter, Qt::AlignCenter, answerLetter(b.answer));
        if (b.answer == 0) {
            p.setFont(numbers);
            p.drawText(QRectF(c.x() - mm(kFirstBox), c.y() - mm(3), mm(9), mm(6)),
                       Qt::AlignRight | Qt::AlignVCenter, QString::number(b.question) + u'.');
        }
    }
    p.restore();
}

bool paintAnswerSheet(QPainter &p, const SheetGeometry &g, const SheetContent &content)
{
    const QByteArray payload = encodeSheetCode(content.code);
    ZXing::BitMatrix matrix;
    try {
        ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::QRCode);
        writer.setMargin(0);
        writer.setEccLevel(4);
        matrix = writer.encode(payload.toStdString(), 0, 0);
    } catch (const std::exception &) {
        return false;
    }
    if (matrix.width() <= 0)
        return false;

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (const QPointF &m : g.marks)
        p.drawRect(QRectF(m.x() - g.markSide / 2, m.y() - g.markSide / 2, g.markSide, g.markSide));
    const qreal module = g.code.width() / matrix.width();
    for (int y = 0; y < matrix.height(); ++y) {
        for (int x = 0; x < matrix.width(); ++x) {
            // Runs of modules as one rectangle: fewer seams in the PDF.
            if (!matrix.get(x, y))
                continue;
            int end = x;
            while (end + 1 < matrix.width() && matrix.get(end + 1, y))
                ++end;
            p.drawRect(QRectF(g.code.left() + x * module, g.code.top() + y * module, (end - x + 1) * module, module));
            x = end;
        }
    }
    p.setRenderHint(QPainter::Antialiasing, true);

    const qreal left = mm(30);
    const qreal textRight = g.code.left() - mm(6);
    p.setPen(kInk);
    p.setFont(font(p, 9));
    const SheetCode &c = content.code;
    const QString versionText = c.shuffled ? u"   Wersja "_s + QChar(u'A' + c.version) : QString();
    p.drawText(QRectF(left, mm(22), textRight - left, mm(6)), Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetricsF(p.font(), p.device()).elidedText(content.testName, Qt::ElideRight, textRight - left));
    p.setFont(font(p, 15, true));
    p.drawText(QRectF(left, mm(28), textRight - left, mm(9)), Qt::AlignLeft | Qt::AlignVCenter,
               u"KARTA ODPOWIEDZI"_s + versionText);
    p.setFont(font(p, 11));
    if (!c.pupilName().isEmpty()) {
        const QString who = c.pupilName() + (c.className.isEmpty() ? QString() : u",  klasa "_s + c.className);
        p.setFont(font(p, 12, true));
        p.drawText(QRectF(left, mm(39), textRight - left, mm(8)), Qt::AlignLeft | Qt::AlignVCenter,
                   QFontMetricsF(p.font(), p.device()).elidedText(who, Qt::ElideRight, textRight - left));
    } else {
        p.drawText(QRectF(left, mm(39), textRight - left, mm(8)), Qt::AlignLeft | Qt::AlignBottom,
                   u"Imię i nazwisko:"_s);
        p.setPen(QPen(kInk, 0.6));
        p.drawLine(QPointF(left + mm(32), mm(46)), QPointF(textRight, mm(46)));
        p.drawText(QRectF(left, mm(48), textRight - left, mm(8)), Qt::AlignLeft | Qt::AlignBottom, u"Klasa:"_s);
        p.drawLine(QPointF(left + mm(32), mm(55)), QPointF(left + mm(60), mm(55)));
    }
    p.setFont(font(p, 9.5));
    const QString instructions =
        u"Zaznacz odpowiedź znakiem X w kratce obok jej litery (możesz też zamalować kratkę). "
        u"Jeśli się pomylisz, otocz błędne zaznaczenie kółkiem i zaznacz inną odpowiedź. "
        u"Pisz długopisem lub ciemnym ołówkiem i nie rób innych znaków w pobliżu kratek."_s;
    p.drawText(QRectF(left, mm(60), mm(150), mm(18)), Qt::AlignLeft | Qt::TextWordWrap, instructions);
    if (g.boxes.isEmpty())
        p.drawText(QRectF(left, mm(kGridTop), mm(150), mm(10)), Qt::AlignLeft, u"Test nie zawiera pytań."_s);
    if (c.pages > 1)
        p.drawText(QRectF(left, mm(kMarkBottom - 3), mm(150), mm(6)), Qt::AlignHCenter | Qt::AlignVCenter,
                   u"Strona %1 z %2"_s.arg(c.page).arg(c.pages));
    p.restore();
    paintSheetGrid(p, g);
    return true;
}
