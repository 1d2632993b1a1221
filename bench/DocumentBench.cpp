#include "DurableCopy.h"
#include "core/Workspace.h"
#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

// A full test: 45 questions, each with a picture of its own of about 400 KB.
struct FullTest {
    QTemporaryDir dir;
    Workspace ws;
    QString path;
    QString copyPath;
    qint64 bytes = 0;

    FullTest()
    {
        ws.setUpFoldersAndPaths(dir.path());
        ws.createWorkingArchives();
        path = dir.path() + u"/pelny.skt"_s;
        copyPath = dir.path() + u"/kopia.skt"_s;
        QRandomGenerator random(400);
        TestModel &m = ws.test;
        m.resetTest();
        m.header.questionCount = kMaxQuestions;
        m.header.answerCount = 5;
        m.header.testName = u"Pełny test"_s;
        for (int k = 1; k <= kMaxQuestions; ++k) {
            Question &q = m.question(k);
            q.text = u"Pytanie %1: które zdanie jest prawdziwe?"_s.arg(k);
            for (QString &a : q.answers)
                a = u"Odpowiedź z polskimi literami ąęłńóśźż"_s;
            q.correct = u"01000"_s;
            q.imageName = u"obraz%1.JPG"_s.arg(k);
            QByteArray picture(400 * 1024 + static_cast<int>(random.bounded(1024)), Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32 *>(picture.data()), picture.size() / 4);
            PutStream(q.imageName, picture, *ws.workingTest);
        }
        WriteTestDocument(ws, path);
        bytes = std::filesystem::file_size(path.toStdString());
    }
};

FullTest &fullTest()
{
    static FullTest t;
    return t;
}

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void copyOnce(const FullTest &t)
{
    durableCopy(t.path.toStdString(), t.copyPath.toStdString());
}

void BM_TestDocumentWrite(benchmark::State &state)
{
    FullTest &t = fullTest();
    for (auto _ : state) {
        if (!WriteTestDocument(t.ws, t.path))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * t.bytes);
}
BENCHMARK(BM_TestDocumentWrite)->Unit(benchmark::kMillisecond);

void BM_TestDocumentRead(benchmark::State &state)
{
    FullTest &t = fullTest();
    for (auto _ : state) {
        if (!ReadTestDocument(t.ws, t.path))
            state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(state.iterations() * t.bytes);
}
BENCHMARK(BM_TestDocumentRead)->Unit(benchmark::kMillisecond);

// The floor: the operating system copying the same file, flushed to the disk as a save is.
void BM_TestDocumentCopyFile(benchmark::State &state)
{
    FullTest &t = fullTest();
    for (auto _ : state)
        copyOnce(t);
    state.SetBytesProcessed(state.iterations() * t.bytes);
}
BENCHMARK(BM_TestDocumentCopyFile)->Unit(benchmark::kMillisecond);

// Reading and writing against copying, interleaved in one run so that both see the same machine
// state; the counters are the ratios to one copy.
void BM_TestDocumentRatioToCopy(benchmark::State &state)
{
    FullTest &t = fullTest();
    Clock::duration copy{}, write{}, read{};
    for (auto _ : state) {
        auto start = Clock::now();
        copyOnce(t);
        copy += Clock::now() - start;
        start = Clock::now();
        WriteTestDocument(t.ws, t.path);
        write += Clock::now() - start;
        start = Clock::now();
        ReadTestDocument(t.ws, t.path);
        read += Clock::now() - start;
    }
    state.counters["write_to_copy"] = seconds(write) / seconds(copy);
    state.counters["read_to_copy"] = seconds(read) / seconds(copy);
    state.counters["MB"] = static_cast<double>(t.bytes) / 1e6;
}
BENCHMARK(BM_TestDocumentRatioToCopy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
