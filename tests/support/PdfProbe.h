#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What a PDF holds, read back with poppler's tools (poppler-utils), as a reader of the printout sees it.
namespace PdfProbe {

// The text with the page layout kept; pages are separated by form feeds. Empty when pdftotext fails.
QString text(const QString &pdf);
QStringList pages(const QString &pdf);

struct Image {
    int page = 0;
    int width = 0; // pixels stored in the file
    int height = 0;
    int object = 0;  // the same picture placed again has the same object
    double xPpi = 0; // pixels per inch as placed on the page
    double yPpi = 0;
};
QList<Image> images(const QString &pdf);

// Empty when the tools are installed, else what to do.
QString missingTools();

} // namespace PdfProbe
