#include "app/Workspace.h"
#include "print/TestPrinter.h"
#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"
#include "storage/TestDocument.h"
#include "support/JpegFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kPictureBytes = 400 * 1024;

// The big test of the generation benchmark: 45 questions with five answers, each with a noisy JPEG
// of its own of about 400 KB, 18 MB in all.
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

struct PrintFixture {
    QTemporaryDir dir;
    Workspace ws;
    QString test;
    QString pdf;
    qint64 testBytes = 0;
    bool ready = false;

    PrintFixture()
    {
        ws.setUpFoldersAndPaths(dir.path());
        ws.createWorkingArchives();
        test = dir.filePath(u"pelny.skt"_s);
        pdf = dir.filePath(u"pelny.pdf"_s);
        QRandomGenerator random(45);
        const qint64 trial = noisyJpeg(256, random).size();
        if (trial == 0)
            return;
        const int side = static_cast<int>(256.0 * std::sqrt(static_cast<double>(kPictureBytes) / trial));
        TestModel &m = ws.test;
        m.resetTest();
        m.header.questionCount = kMaxQuestions;
        m.header.answerCount = 5;
        m.header.multipleChoice = 1;
        m.header.testName = u"Pełny test"_s;
        m.header.author = u"Zażółć Gęślą"_s;
        m.header.gradingOn = 1;
        for (int k = 1; k <= kMaxQuestions; ++k) {
            Question &q = m.question(k);
            q.text = u"Pytanie %1: które zdanie jest prawdziwe?"_s.arg(k);
            for (QString &a : q.answers)
                a = u"Odpowiedź z polskimi literami ąęłńóśźż"_s;
            q.correct = u"01010"_s;
            q.imageName = u"obraz%1.JPG"_s.arg(k);
            const QByteArray picture = noisyJpeg(side, random);
            if (picture.isEmpty() || !PutStream(q.imageName, picture, *ws.workingTest))
                return;
        }
        ready = WriteTestDocument(ws, test);
        testBytes = QFileInfo(test).size();
    }

    // As "zadanix print TEST OUT --versions 4 --key" does it: read the test, print, write the file.
    bool print()
    {
        if (!ReadTestDocument(ws, test))
            return false;
        TestPrinter printer(ws.test, *ws.workingTest);
        PrintOptions options;
        options.versions = 4;
        options.key = PrintOptions::Key::AfterTest;
        options.seed = 2026;
        return printer.printToFile(options, pdf).ok;
    }
};

PrintFixture &fixture()
{
    static PrintFixture f;
    return f;
}

void BM_PrintFourVersionsWithKeys(benchmark::State &state)
{
    PrintFixture &f = fixture();
    if (!f.ready)
        return state.SkipWithError("the test could not be made");
    for (auto _ : state) {
        if (!f.print())
            state.SkipWithError("printing failed");
    }
    state.counters["test_MB"] = static_cast<double>(f.testBytes) / 1e6;
    state.counters["pdf_MB"] = static_cast<double>(QFileInfo(f.pdf).size()) / 1e6;
}
BENCHMARK(BM_PrintFourVersionsWithKeys)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
