#pragma once

#include "print/AnswerSheet.h"
#include "print/SheetCode.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <memory>

enum class BoxMark { Empty, Marked, Cancelled, Uncertain };

// What was seen in one box: dark ink and any ink inside it (fractions of its inside), and how much
// of a ring round it is drawn (a circle cancels the mark).
struct BoxReading {
    BoxMark mark = BoxMark::Empty;
    double ink = 0;
    double faint = 0;
    int ringSectors = 0;
};

struct SheetReading {
    enum class Status { Sheet, NoSheet, BadCode, NoMarks, Unreadable };
    Status status = Status::NoSheet;
    QString problem; // for BadCode, NoMarks and Unreadable
    SheetCode code;
    SheetGeometry geometry;
    QList<BoxReading> boxes; // as geometry.boxes
    // The grid straightened, kPixelsPerPoint to the point, its origin at geometry.gridRect()'s corner.
    QImage grid;
};

// Finds a sheet in a scan by its code and corner marks, whatever its turn, and reads its boxes.
// The code is checked before anything in it is used. Not thread-safe (it keeps printed grids).
class SheetReader {
public:
    static constexpr double kPixelsPerPoint = 8.0 / SheetGeometry::kPointsPerMm; // 8 px to the mm
    static constexpr qint64 kMaxPixels = 80'000'000;

    SheetReader();
    ~SheetReader();

    SheetReading read(const QImage &scan);

    // How a box's measures read: the thresholds in one place.
    static BoxMark classify(double ink, double faint, int ringSectors);

private:
    struct Grid;
    const Grid &printedGrid(int questions, int answers);
    QHash<int, std::shared_ptr<Grid>> m_grids;
};
