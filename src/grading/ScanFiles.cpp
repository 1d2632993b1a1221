#include "grading/ScanFiles.h"

#include <QFile>
#include <QImageReader>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <poppler-qt6.h>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

bool fail(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return false;
}

QImage imageOf(const cv::Mat &mat)
{
    cv::Mat grey;
    if (mat.channels() == 1)
        grey = mat;
    else if (mat.channels() == 3)
        cv::cvtColor(mat, grey, cv::COLOR_BGR2GRAY);
    else if (mat.channels() == 4)
        cv::cvtColor(mat, grey, cv::COLOR_BGRA2GRAY);
    else
        return {};
    if (grey.depth() == CV_16U)
        grey.convertTo(grey, CV_8U, 1.0 / 256);
    if (grey.depth() != CV_8U)
        return {};
    QImage out(grey.cols, grey.rows, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.rows; ++y)
        std::copy_n(grey.ptr<uchar>(y), grey.cols, out.scanLine(y));
    return out;
}

bool readPdf(const QString &path, const std::function<bool(int, const QImage &, const QString &)> &each, QString *why)
{
    const std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(path);
    if (!doc)
        return fail(why, u"not a PDF that can be read"_s);
    if (doc->isLocked())
        return fail(why, u"the PDF is locked with a password"_s);
    const int pages = doc->numPages();
    if (pages <= 0)
        return fail(why, u"the PDF has no pages"_s);
    if (pages > ScanFiles::kMaxPdfPages)
        return fail(why, u"the PDF has %1 pages, more than %2"_s.arg(pages).arg(ScanFiles::kMaxPdfPages));
    doc->setRenderHint(Poppler::Document::Antialiasing);
    for (int i = 0; i < pages; ++i) {
        const std::unique_ptr<Poppler::Page> page = doc->page(i);
        if (!page) {
            if (!each(i + 1, {}, u"the page cannot be read"_s))
                break;
            continue;
        }
        // A page of an absurd size is rendered coarser rather than refused: a scan of A4 stays at the
        // usual resolution.
        const QSizeF size = page->pageSizeF();
        double dpi = ScanFiles::kPdfDpi;
        const double pixels = size.width() * size.height() / (72.0 * 72.0) * dpi * dpi;
        if (!(pixels > 0)) {
            if (!each(i + 1, {}, u"the page has no size"_s))
                break;
            continue;
        }
        if (pixels > ScanFiles::kMaxPixels / 2)
            dpi *= std::sqrt(ScanFiles::kMaxPixels / 2 / pixels);
        if (dpi < 20) {
            if (!each(i + 1, {}, u"the page is too large"_s))
                break;
            continue;
        }
        const QImage image = page->renderToImage(dpi, dpi);
        if (!each(i + 1, image.convertToFormat(QImage::Format_Grayscale8),
                  image.isNull() ? u"the page cannot be rendered"_s : QString()))
            break;
    }
    return true;
}

bool readTiff(const QString &path, const std::function<bool(int, const QImage &, const QString &)> &each, QString *why)
{
    std::vector<cv::Mat> pages;
    try {
        if (!cv::imreadmulti(QFile::encodeName(path).toStdString(), pages, cv::IMREAD_UNCHANGED) || pages.empty())
            return fail(why, u"not a picture that can be read"_s);
    } catch (const cv::Exception &) {
        return fail(why, u"not a picture that can be read, or too large"_s);
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        const QImage image = imageOf(pages[i]);
        if (!each(static_cast<int>(i) + 1, image, image.isNull() ? u"the page cannot be read"_s : QString()))
            break;
    }
    return true;
}

} // namespace

bool ScanFiles::read(const QString &path, const std::function<bool(int, const QImage &, const QString &)> &each,
                     QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(why, u"cannot be opened"_s);
    const QByteArray head = file.read(8);
    file.close();
    if (head.startsWith("%PDF"))
        return readPdf(path, each, why);
    if (head.startsWith("II*") || head.startsWith(QByteArrayView("MM\0*", 4))) {
        // OpenCV's own limit on a picture's size is far above what a scan needs.
        static const bool limited = qputenv("OPENCV_IO_MAX_IMAGE_PIXELS", QByteArray::number(kMaxPixels));
        Q_UNUSED(limited);
        return readTiff(path, each, why);
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!reader.canRead())
        return fail(why, u"not a scan: neither a PDF nor a picture (JPEG, PNG, TIFF)"_s);
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels)
        return fail(why, u"the picture is too large (%1 × %2 pixels)"_s.arg(size.width()).arg(size.height()));
    reader.setAllocationLimit(static_cast<int>(kMaxPixels * 4 / (1024 * 1024)) + 1);
    QImage image;
    if (!reader.read(&image))
        return fail(why, u"the picture cannot be decoded ("_s + reader.errorString() + u')');
    each(1, image.convertToFormat(QImage::Format_Grayscale8), QString());
    return true;
}
