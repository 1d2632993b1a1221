#pragma once

#include "print/AnswerSheet.h"

#include <QImage>
#include <QList>

// Scans made in code: a sheet rendered as a printer would, marked as pupils mark, then spoilt as
// scanners and photocopiers spoil pages.
namespace SheetScans {

enum class Mark {
    PenX,      // a ballpoint X
    PencilX,   // a pencil X: thinner and grey
    Fill,      // the box filled in
    Cancelled, // an X with a circle round it
    Dot,       // a stray dot beside the box
    Faint,     // an X so light it might be a shadow or a pencil's slip
    Erased,    // a pencil mark rubbed out: a grey smudge
    Partial,   // a short stroke, the start of a mark
};

struct PenMark {
    int question = 1;
    int answer = 0;
    Mark mark = Mark::PenX;
};

struct Damage {
    double dpi = 200;
    double angle = 0;       // degrees, clockwise
    double scale = 1;       // the print shrunk or grown on the page
    double blur = 0;        // radius in pixels
    double noise = 0;       // standard deviation in grey levels
    bool unevenLight = false;
    int jpegQuality = 0;    // 0: no JPEG
};

// The page painted at `dpi`, grey.
QImage render(const SheetGeometry &g, const SheetContent &content, double dpi);
// Pen marks drawn on a rendered page, with a little of a hand's irregularity from `seed`.
void draw(QImage &page, const SheetGeometry &g, double dpi, const QList<PenMark> &marks, quint32 seed);
// Handwriting on the name line and in the margins, away from the boxes.
void scribble(QImage &page, double dpi);
// The page as a scanner gives it back.
QImage damage(const QImage &page, const Damage &d, quint32 seed);

} // namespace SheetScans
