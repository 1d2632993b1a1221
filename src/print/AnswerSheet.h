#pragma once

#include "print/SheetCode.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

// Where everything stands on an answer sheet, in PDF points from the page's top left corner (A4).
struct SheetBox {
    int question = 0; // number on the sheet, from 1
    int answer = 0;   // position on the sheet, 0 for A
    QPointF centre;
};

struct SheetGeometry {
    static constexpr qreal kPageWidth = 595.2756;
    static constexpr qreal kPageHeight = 841.8898;
    static constexpr qreal kPointsPerMm = 72.0 / 25.4;

    int questions = 0;
    int answers = 3;
    QList<QPointF> marks; // corner marks' centres: top left, top right, bottom right, bottom left
    qreal markSide = 0;
    QRectF code;          // the QR code without its quiet zone
    qreal boxHalf = 0;    // half a box's side
    qreal letterOffset = 0; // a letter's centre left of its box's centre
    qreal rowPitch = 0;
    QList<SheetBox> boxes; // question by question, answer by answer

    const SheetBox &box(int question, int answer) const
    {
        return boxes[(question - 1) * answers + answer];
    }
    // The strip of a question's row, for pictures of it.
    QRectF rowRect(int question) const;
    // Everything a reader must see of the grid.
    QRectF gridRect() const;
};

SheetGeometry sheetGeometry(int questions, int answers);

// What is printed on one sheet besides its geometry.
struct SheetContent {
    SheetCode code;
    QString testName;
};

// Paints the sheet with the painter's unit as a point and its origin at the page corner. Needs a
// QGuiApplication (fonts). False when the code cannot be made (too long a payload).
bool paintAnswerSheet(QPainter &p, const SheetGeometry &g, const SheetContent &content);
// Only the printed grid (boxes, letters, numbers), as a reader compares a scan against.
void paintSheetGrid(QPainter &p, const SheetGeometry &g);
