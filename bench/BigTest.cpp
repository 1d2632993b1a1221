#include "BigTest.h"

#include "core/Workspace.h"
#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"
#include "support/JpegFixture.h"

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <cmath>

using namespace Qt::StringLiterals;

namespace BigTest {

QByteArray noisyJpeg(int side, QRandomGenerator &random)
{
    QImage image = JpegFixture::gradient(side, side);
    for (int y = 0; y < side; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < 3 * side; ++x)
            line[x] = static_cast<uchar>((line[x] + random.bounded(96)) & 0xFF);
    }
    return JpegFixture::encode(image, 90);
}

qint64 build(Workspace &ws, const QString &pictureFolder, QStringList *pictureFiles)
{
    // The side is found from one trial picture.
    QRandomGenerator random(45);
    const qint64 trial = noisyJpeg(256, random).size();
    if (trial == 0)
        return 0;
    const int side = static_cast<int>(256.0 * std::sqrt(static_cast<double>(kPictureBytes) / trial));

    TestModel &m = ws.test;
    m.resetTest();
    m.header.questionCount = kMaxQuestions;
    m.header.answerCount = 5;
    m.header.testName = u"Pełny test"_s;
    qint64 bytes = 0;
    for (int k = 1; k <= kMaxQuestions; ++k) {
        Question &q = m.question(k);
        q.text = u"Pytanie %1: które zdanie jest prawdziwe?"_s.arg(k);
        for (QString &a : q.answers)
            a = u"Odpowiedź z polskimi literami ąęłńóśźż"_s;
        q.correct = u"01000"_s;
        q.imageName = u"obraz%1.JPG"_s.arg(k);
        const QByteArray picture = noisyJpeg(side, random);
        if (picture.isEmpty() || !PutStream(q.imageName, picture, *ws.workingTest))
            return 0;
        if (!pictureFolder.isEmpty()) {
            const QString file = pictureFolder + u'/' + q.imageName;
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly) || out.write(picture) != picture.size())
                return 0;
            if (pictureFiles)
                *pictureFiles << file;
        }
        bytes += picture.size();
    }
    return bytes;
}

} // namespace BigTest
