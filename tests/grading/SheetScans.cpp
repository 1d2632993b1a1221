#include "SheetScans.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <random>

using namespace Qt::StringLiterals;

namespace SheetScans {

namespace {

constexpr qreal kMm = SheetGeometry::kPointsPerMm;

QImage grey(const QImage &image)
{
    return image.convertToFormat(QImage::Format_Grayscale8);
}

void boxBlur(QImage &img, int radius)
{
    if (radius <= 0)
        return;
    const int w = img.width(), h = img.height();
    std::vector<int> line(static_cast<size_t>(std::max(w, h)));
    for (int pass = 0; pass < 2; ++pass) {
        const bool rows = pass == 0;
        const int n = rows ? w : h, count = rows ? h : w;
        for (int i = 0; i < count; ++i) {
            const auto px = [&](int j) -> uchar & { return rows ? img.scanLine(i)[j] : img.scanLine(j)[i]; };
            for (int j = 0; j < n; ++j)
                line[size_t(j)] = px(j);
            int sum = 0;
            for (int j = -radius; j <= radius; ++j)
                sum += line[size_t(std::clamp(j, 0, n - 1))];
            for (int j = 0; j < n; ++j) {
                px(j) = static_cast<uchar>(sum / (2 * radius + 1));
                sum += line[size_t(std::min(n - 1, j + radius + 1))] - line[size_t(std::max(0, j - radius))];
            }
        }
    }
}

} // namespace

QImage render(const SheetGeometry &g, const SheetContent &content, double dpi)
{
    const qreal k = dpi / 72.0;
    QImage page(qRound(SheetGeometry::kPageWidth * k), qRound(SheetGeometry::kPageHeight * k), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    paintAnswerSheet(p, g, content);
    p.end();
    return grey(page);
}

void draw(QImage &page, const SheetGeometry &g, double dpi, const QList<PenMark> &marks, quint32 seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-0.4, 0.4);
    const auto j = [&] { return jitter(random) * kMm; };
    QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    QPainter p(&rgb);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(dpi / 72.0, dpi / 72.0);
    for (const PenMark &m : marks) {
        const QPointF c = g.box(m.question, m.answer).centre;
        const qreal s = g.boxHalf * 0.95;
        const auto cross = [&](const QColor &colour, qreal width) {
            p.setPen(QPen(colour, width * kMm, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c + QPointF(-s + j(), -s + j()), c + QPointF(s + j(), s + j()));
            p.drawLine(c + QPointF(s + j(), -s + j()), c + QPointF(-s + j(), s + j()));
        };
        switch (m.mark) {
        case Mark::PenX:
            cross(QColor(20, 30, 90), 0.5);
            break;
        case Mark::PencilX:
            cross(QColor(95, 95, 95), 0.4);
            break;
        case Mark::Fill:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(35, 35, 45));
            p.drawRect(QRectF(c.x() - s + 0.3 * kMm, c.y() - s + 0.3 * kMm, 2 * s - 0.6 * kMm, 2 * s - 0.6 * kMm));
            p.setBrush(Qt::NoBrush);
            break;
        case Mark::Cancelled: {
            cross(QColor(20, 30, 90), 0.5);
            p.setPen(QPen(QColor(20, 30, 90), 0.45 * kMm));
            const qreal r = 4.3 * kMm;
            p.drawEllipse(c + QPointF(j() / 2, j() / 2), r + j() / 2, r * 0.95 + j() / 2);
            break;
        }
        case Mark::Dot:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(20, 30, 90));
            p.drawEllipse(c + QPointF(4.3 * kMm, -1.2 * kMm), 0.45 * kMm, 0.45 * kMm);
            p.setBrush(Qt::NoBrush);
            break;
        case Mark::Faint:
            cross(QColor(190, 190, 190), 0.35);
            break;
        case Mark::Erased:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 200, 200));
            p.drawEllipse(c, s * 0.8, s * 0.7);
            p.setBrush(Qt::NoBrush);
            break;
        case Mark::Partial:
            p.setPen(QPen(QColor(20, 30, 90), 0.5 * kMm, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c + QPointF(-s * 0.9, -s * 0.9), c + QPointF(-s * 0.05, -s * 0.05));
            break;
        }
    }
    p.end();
    page = grey(rgb);
}

void scribble(QImage &page, double dpi)
{
    QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    QPainter p(&rgb);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(dpi / 72.0, dpi / 72.0);
    QFont f(u"DejaVu Serif"_s);
    f.setItalic(true);
    f.setPointSizeF(14);
    p.setFont(f);
    p.setPen(QColor(20, 30, 90));
    p.drawText(QPointF(75 * kMm, 45 * kMm), u"Zuzanna Żółtowska"_s);
    p.drawText(QPointF(20 * kMm, 84 * kMm), u"powodzenia!"_s);
    QPainterPath wave;
    wave.moveTo(150 * kMm, 270 * kMm);
    for (int i = 1; i < 12; ++i)
        wave.lineTo((150 + 2.5 * i) * kMm, (270 + ((i % 2) ? -2 : 2)) * kMm);
    p.setPen(QPen(QColor(20, 30, 90), 0.5 * kMm));
    p.drawPath(wave);
    p.end();
    page = grey(rgb);
}

QImage damage(const QImage &page, const Damage &d, quint32 seed)
{
    QImage out = page;
    if (d.angle != 0 || d.scale != 1) {
        // The page turned about its centre on a bed a little larger than itself.
        const QSize bed = d.angle == 90 || d.angle == 270 || d.angle == -90 ? page.size().transposed()
                                                                            : page.size() + QSize(60, 60);
        QImage turned(bed, QImage::Format_RGB32);
        turned.fill(QColor(250, 250, 250));
        QPainter p(&turned);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.translate(bed.width() / 2.0, bed.height() / 2.0);
        p.rotate(d.angle);
        p.scale(d.scale, d.scale);
        p.translate(-page.width() / 2.0, -page.height() / 2.0);
        p.drawImage(0, 0, page);
        p.end();
        out = grey(turned);
    }
    boxBlur(out, static_cast<int>(d.blur));
    if (d.noise > 0 || d.unevenLight) {
        std::mt19937 random(seed);
        std::normal_distribution<double> noise(0, std::max(d.noise, 1e-9));
        for (int y = 0; y < out.height(); ++y) {
            uchar *line = out.scanLine(y);
            for (int x = 0; x < out.width(); ++x) {
                double v = line[x];
                if (d.unevenLight)
                    v *= 0.62 + 0.38 * (double(x) / out.width() * 0.5 + double(y) / out.height() * 0.5);
                if (d.noise > 0)
                    v += noise(random);
                line[x] = static_cast<uchar>(std::clamp(v, 0.0, 255.0));
            }
        }
    }
    if (d.jpegQuality > 0) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        out.save(&buffer, "JPG", d.jpegQuality);
        out = grey(QImage::fromData(bytes, "JPG"));
    }
    return out;
}

} // namespace SheetScans
