#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QRandomGenerator;
class Workspace;

// The big test of the benchmarks: 45 questions with five answers, each with a real JPEG of its own of
// about 400 KB (18 MB in all), the most a test holds.
namespace BigTest {

inline constexpr qint64 kPictureBytes = 400 * 1024;

// A JPEG of noise over the fixture's gradient: noise keeps the compressed size near the raw one.
QByteArray noisyJpeg(int side, QRandomGenerator &random);

// Fills ws.test and puts the pictures into ws.workingTest; with a folder, each picture is also
// written there as a file, listed in `pictureFiles`. Returns the pictures' bytes, 0 on failure.
qint64 build(Workspace &ws, const QString &pictureFolder = {}, QStringList *pictureFiles = nullptr);

} // namespace BigTest
