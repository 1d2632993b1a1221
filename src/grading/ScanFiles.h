#pragma once

#include <QImage>
#include <QString>
#include <functional>

// The pages of scan files: a PDF (each page rendered, one at a time) or pictures (JPEG, PNG, TIFF of
// one or more pages). Sizes are checked before anything is decoded, so a huge or damaged file is
// refused with a message instead of filling the memory.
namespace ScanFiles {

inline constexpr int kMaxPdfPages = 2000;
inline constexpr double kPdfDpi = 200;
inline constexpr qint64 kMaxPixels = 80'000'000;

// `page` counts from 1. The callback returns false to stop. False and `why` when the file cannot be
// read at all; a page that cannot be read comes with a null image and its reason.
bool read(const QString &path, const std::function<bool(int page, const QImage &image, const QString &problem)> &each,
          QString *why);

} // namespace ScanFiles
