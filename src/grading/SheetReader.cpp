#include "grading/SheetReader.h"

#include <QPainter>
#include <ZXing/ReadBarcode.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>
#include <opencv2/core.hpp>
#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

using namespace Qt::StringLiterals;

namespace {

// Scans much finer than the straightened grid (8 px to the mm, 1680 px across A4) are read reduced
// to about its fineness: the boxes and the code need no more. A 200 dpi page on a scanner's bed a
// little larger than A4 is read as it is: reducing it would cost more than the rest of the reading.
constexpr int kMaxWorkingShortSide = 2100;
constexpr int kWorkingShortSide = 1700;
// Grey levels on the light-levelled grid: darker than kInkLevel is ink, darker than kFaintLevel is
// at least a trace of something.
constexpr int kInkLevel = 175;
constexpr int kFaintLevel = 228;
constexpr double kRingInner = 3.3; // mm from a box's centre
constexpr double kRingOuter = 5.5;
constexpr int kSectors = 12;

constexpr double px(double points)
{
    return points * SheetReader::kPixelsPerPoint;
}

cv::Mat greyOf(const QImage &image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    return cv::Mat(grey.height(), grey.width(), CV_8UC1, const_cast<uchar *>(grey.constBits()),
                   static_cast<size_t>(grey.bytesPerLine()))
        .clone();
}

QImage imageOf(const cv::Mat &grey)
{
    QImage out(grey.cols, grey.rows, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.rows; ++y)
        std::copy_n(grey.ptr<uchar>(y), grey.cols, out.scanLine(y));
    return out;
}

struct FoundCode {
    ZXing::Result result;
    cv::Point offset; // of the part of the scan it was found in
};

// The code stands in the sheet's top right corner, or bottom left on a sheet scanned upside down
// (right top or left bottom on one scanned across). Those corners are searched first: a fifth of the
// page each instead of all of it. Only then the whole page, and the whole page harder.
std::optional<FoundCode> findCode(const cv::Mat &grey)
{
    const ZXing::ImageView view(grey.data, grey.cols, grey.rows, ZXing::ImageFormat::Lum,
                                static_cast<int>(grey.step));
    const int w = grey.cols, h = grey.rows;
    const bool across = w > h;
    // Left, top, width, height as shares of the scan.
    const std::array<std::array<double, 4>, 2> corners =
        across ? std::array<std::array<double, 4>, 2>{{{0.0, 0.0, 0.36, 0.56}, {0.64, 0.44, 0.36, 0.56}}}
               : std::array<std::array<double, 4>, 2>{{{0.44, 0.0, 0.56, 0.36}, {0.0, 0.64, 0.56, 0.36}}};
    struct Search {
        cv::Rect area;
        bool harder;
    };
    std::vector<Search> searches;
    for (const auto &c : corners)
        searches.push_back({cv::Rect(cvRound(c[0] * w), cvRound(c[1] * h), cvRound(c[2] * w), cvRound(c[3] * h)) &
                                cv::Rect(0, 0, w, h),
                            false});
    searches.push_back({cv::Rect(0, 0, w, h), false});
    searches.push_back({cv::Rect(0, 0, w, h), true});
    for (const Search &s : searches) {
        ZXing::DecodeHints hints;
        hints.setFormats(ZXing::BarcodeFormat::QRCode);
        hints.setTryHarder(s.harder);
        hints.setTryRotate(false);
        hints.setMaxNumberOfSymbols(1);
        ZXing::Result result =
            ZXing::ReadBarcode(view.cropped(s.area.x, s.area.y, s.area.width, s.area.height), hints);
        if (result.isValid())
            return FoundCode{std::move(result), s.area.tl()};
    }
    return std::nullopt;
}

cv::Point2f point(const QPointF &p)
{
    return {static_cast<float>(p.x()), static_cast<float>(p.y())};
}

// The dark square nearest to where a corner mark is expected, or nothing.
std::optional<cv::Point2f> findMark(const cv::Mat &grey, cv::Point2f expected, double pixelsPerPoint, double side)
{
    const double reach = 18 * SheetGeometry::kPointsPerMm * pixelsPerPoint;
    const cv::Rect area =
        cv::Rect(cv::Point(cvRound(expected.x - reach), cvRound(expected.y - reach)),
                 cv::Size(cvRound(2 * reach), cvRound(2 * reach))) &
        cv::Rect(0, 0, grey.cols, grey.rows);
    if (area.width < 8 || area.height < 8)
        return std::nullopt;
    cv::Mat binary;
    cv::threshold(grey(area), binary, 0, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(binary, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);
    const double expectedArea = std::pow(side * pixelsPerPoint, 2);
    std::optional<cv::Point2f> best;
    double bestDistance = 0;
    for (const auto &contour : contours) {
        const double a = cv::contourArea(contour);
        if (a < 0.45 * expectedArea || a > 2.0 * expectedArea)
            continue;
        const cv::RotatedRect box = cv::minAreaRect(contour);
        const double boxArea = static_cast<double>(box.size.area());
        const double aspect = box.size.width / std::max(1.0f, box.size.height);
        if (boxArea <= 0 || a / boxArea < 0.8 || aspect < 0.7 || aspect > 1.43)
            continue;
        const cv::Moments m = cv::moments(contour);
        if (m.m00 <= 0)
            continue;
        const cv::Point2f c(static_cast<float>(m.m10 / m.m00) + static_cast<float>(area.x),
                            static_cast<float>(m.m01 / m.m00) + static_cast<float>(area.y));
        const double d = cv::norm(c - expected);
        if (!best || d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace

// A printed grid as the reader sees it: where the print itself is dark, a little widened, so that
// only what was added to a sheet counts; and the pixels of a box's inside and ring.
struct SheetReader::Grid {
    cv::Mat printed;
    struct Offset {
        int dx, dy, sector;
    };
    std::vector<cv::Point> inside;
    std::vector<Offset> ring;
};

SheetReader::SheetReader() = default;
SheetReader::~SheetReader() = default;

const SheetReader::Grid &SheetReader::printedGrid(int questions, int answers)
{
    const int key = questions * 10 + answers;
    if (auto found = m_grids.constFind(key); found != m_grids.constEnd())
        return **found;
    auto grid = std::make_shared<Grid>();
    const SheetGeometry g = sheetGeometry(questions, answers);
    const QRectF area = g.gridRect();
    QImage image(qRound(px(area.width())), qRound(px(area.height())), QImage::Format_Grayscale8);
    image.fill(255);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(kPixelsPerPoint, kPixelsPerPoint);
        p.translate(-area.topLeft());
        paintSheetGrid(p, g);
    }
    const cv::Mat printed = greyOf(image);
    cv::threshold(printed, grid->printed, 215, 255, cv::THRESH_BINARY_INV);
    cv::dilate(grid->printed, grid->printed, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(7, 7)));

    const int half = static_cast<int>(px(g.boxHalf));
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx)
            grid->inside.emplace_back(dx, dy);
    const double inner = px(kRingInner * SheetGeometry::kPointsPerMm);
    const double outer = px(kRingOuter * SheetGeometry::kPointsPerMm);
    const int reach = static_cast<int>(std::ceil(outer));
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const double r = std::hypot(dx, dy);
            if (r < inner || r > outer)
                continue;
            const double angle = std::atan2(dy, dx) + M_PI; // 0 .. 2 pi
            grid->ring.push_back({dx, dy, std::min(kSectors - 1, static_cast<int>(angle / (2 * M_PI) * kSectors))});
        }
    }
    return *m_grids.insert(key, grid).value();
}

BoxMark SheetReader::classify(double ink, double faint, int ringSectors)
{
    const bool circled = ringSectors >= 9;
    const bool partlyCircled = ringSectors >= 6 && !circled;
    if (ink >= 0.15)
        return circled ? BoxMark::Cancelled : partlyCircled ? BoxMark::Uncertain : BoxMark::Marked;
    if (faint >= 0.08 || ink >= 0.03)
        return circled ? BoxMark::Cancelled : BoxMark::Uncertain;
    return BoxMark::Empty;
}

SheetReading SheetReader::read(const QImage &scan)
{
    SheetReading reading;
    if (scan.isNull() || scan.width() < 100 || scan.height() < 100) {
        reading.status = SheetReading::Status::NoSheet;
        return reading;
    }
    if (qint64(scan.width()) * scan.height() > kMaxPixels) {
        reading.status = SheetReading::Status::Unreadable;
        reading.problem = u"the picture is too large (%1 × %2 pixels)"_s.arg(scan.width()).arg(scan.height());
        return reading;
    }
    cv::Mat grey = greyOf(scan);
    const int shortSide = std::min(grey.cols, grey.rows);
    if (shortSide > kMaxWorkingShortSide) {
        const double f = double(kWorkingShortSide) / shortSide;
        cv::Mat smaller;
        cv::resize(grey, smaller, cv::Size(), f, f, cv::INTER_AREA);
        grey = smaller;
    }

    const std::optional<FoundCode> found = findCode(grey);
    if (!found) {
        reading.status = SheetReading::Status::NoSheet;
        return reading;
    }
    const ZXing::ByteArray &raw = found->result.bytes();
    QString why;
    const std::optional<SheetCode> code =
        decodeSheetCode(QByteArray(reinterpret_cast<const char *>(raw.data()), static_cast<qsizetype>(raw.size())), &why);
    if (!code) {
        reading.status = SheetReading::Status::BadCode;
        reading.problem = why;
        return reading;
    }
    reading.code = *code;

    const SheetGeometry frame = sheetGeometry(code->questions, code->answers);
    const ZXing::Position &pos = found->result.position();
    const std::vector<cv::Point2f> codeOnSheet{point(frame.code.topLeft()), point(frame.code.topRight()),
                                               point(frame.code.bottomRight()), point(frame.code.bottomLeft())};
    const auto inScan = [&found](const ZXing::PointI &p) {
        return cv::Point2f(float(p.x + found->offset.x), float(p.y + found->offset.y));
    };
    const std::vector<cv::Point2f> codeInScan{inScan(pos.topLeft()), inScan(pos.topRight()),
                                              inScan(pos.bottomRight()), inScan(pos.bottomLeft())};
    // Turn, scale and shift only: a perspective from a symbol this small would throw the far corners
    // off with every pixel the code's corners are off.
    const cv::Mat rough = cv::estimateAffinePartial2D(codeOnSheet, codeInScan);
    if (rough.empty()) {
        reading.status = SheetReading::Status::NoMarks;
        reading.problem = u"the sheet's corner marks cannot be found"_s;
        return reading;
    }
    const double pixelsPerPoint = cv::norm(codeInScan[1] - codeInScan[0]) / frame.code.width();
    std::vector<cv::Point2f> expected;
    cv::transform(std::vector<cv::Point2f>{point(frame.marks[0]), point(frame.marks[1]), point(frame.marks[2]),
                                           point(frame.marks[3])},
                  expected, rough);
    std::vector<cv::Point2f> marksInScan;
    for (const cv::Point2f &e : expected) {
        const std::optional<cv::Point2f> m = findMark(grey, e, pixelsPerPoint, frame.markSide);
        if (!m) {
            reading.status = SheetReading::Status::NoMarks;
            reading.problem = u"the sheet's corner marks cannot be found"_s;
            return reading;
        }
        marksInScan.push_back(*m);
    }

    // The grid straightened from the four marks, the light levelled out.
    const QRectF area = frame.gridRect();
    const Grid &grid = printedGrid(code->questions, code->answers);
    std::vector<cv::Point2f> marksInGrid;
    for (const QPointF &m : frame.marks)
        marksInGrid.push_back(point((m - area.topLeft()) * kPixelsPerPoint));
    // Only the rows are straightened and levelled, with a margin wider than the levelling reaches:
    // beside them the grid holds nothing to read, and a sheet of four answers leaves most of its
    // width empty. The rest of the grid stays white.
    cv::Rect rows;
    for (int q = 1; q <= frame.questions; ++q) {
        const QRectF r = frame.rowRect(q).translated(-area.topLeft());
        rows |= cv::Rect(cvFloor(px(r.left())), cvFloor(px(r.top())), cvCeil(px(r.width())) + 1,
                         cvCeil(px(r.height())) + 1);
    }
    constexpr int kLevelReach = 120; // the background's dilation and blur at an eighth of the size
    const cv::Rect whole(0, 0, grid.printed.cols, grid.printed.rows);
    const cv::Rect part = rows.empty() ? whole
                                       : cv::Rect(rows.x - kLevelReach, rows.y - kLevelReach,
                                                  rows.width + 2 * kLevelReach, rows.height + 2 * kLevelReach) &
                                             whole;
    cv::Mat toScan = cv::getPerspectiveTransform(marksInGrid, marksInScan);
    // From the part's corner: the transform after a shift by the part's place in the grid.
    const cv::Mat shift = (cv::Mat_<double>(3, 3) << 1, 0, part.x, 0, 1, part.y, 0, 0, 1);
    toScan = toScan * shift;
    cv::Mat straight;
    cv::warpPerspective(grey, straight, toScan, part.size(), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                        cv::BORDER_CONSTANT, cv::Scalar(255));
    cv::Mat background;
    cv::resize(straight, background, cv::Size(), 0.125, 0.125, cv::INTER_AREA);
    cv::dilate(background, background, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(9, 9)));
    cv::GaussianBlur(background, background, cv::Size(7, 7), 0);
    cv::resize(background, background, straight.size(), 0, 0, cv::INTER_LINEAR);
    cv::Mat levelled;
    cv::divide(straight, cv::max(background, 1), levelled, 255.0);
    cv::medianBlur(levelled, levelled, 3);
    cv::Mat level(grid.printed.size(), CV_8UC1, cv::Scalar(255));
    levelled.copyTo(level(part));

    const auto at = [&](int x, int y, int &value, bool &printed) {
        if (x < 0 || y < 0 || x >= level.cols || y >= level.rows)
            return false;
        value = level.at<uchar>(y, x);
        printed = grid.printed.at<uchar>(y, x) != 0;
        return true;
    };
    reading.geometry = frame;
    for (const SheetBox &b : frame.boxes) {
        const QPointF c = (b.centre - area.topLeft()) * kPixelsPerPoint;
        const int cx = qRound(c.x()), cy = qRound(c.y());
        int seen = 0, ink = 0, faint = 0, value = 0;
        bool printed = false;
        for (const cv::Point &o : grid.inside) {
            if (!at(cx + o.x, cy + o.y, value, printed) || printed)
                continue;
            ++seen;
            ink += value < kInkLevel;
            faint += value < kFaintLevel;
        }
        std::array<int, kSectors> sectorSeen{}, sectorInk{};
        for (const Grid::Offset &o : grid.ring) {
            if (!at(cx + o.dx, cy + o.dy, value, printed) || printed)
                continue;
            ++sectorSeen[static_cast<size_t>(o.sector)];
            sectorInk[static_cast<size_t>(o.sector)] += value < kInkLevel;
        }
        BoxReading r;
        r.ink = seen ? double(ink) / seen : 0;
        r.faint = seen ? double(faint) / seen : 0;
        for (int s = 0; s < kSectors; ++s)
            r.ringSectors += sectorInk[size_t(s)] >= std::max(6, sectorSeen[size_t(s)] / 20);
        r.mark = classify(r.ink, r.faint, r.ringSectors);
        reading.boxes.append(r);
    }
    reading.grid = imageOf(level);
    reading.status = SheetReading::Status::Sheet;
    return reading;
}
