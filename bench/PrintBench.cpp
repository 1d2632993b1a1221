#include "BigTest.h"
#include "core/Workspace.h"
#include "print/TestPrinter.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// The big test of the generation benchmark, as a multiple-choice test with a grading scale.
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
        if (BigTest::build(ws) == 0)
            return;
        ws.test.header.multipleChoice = 1;
        ws.test.header.gradingOn = 1;
        ws.test.header.author = u"Zażółć Gęślą"_s;
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
