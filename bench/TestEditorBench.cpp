#include "BigTest.h"
#include "PeakMemory.h"
#include "DurableCopy.h"
#include "core/Workspace.h"
#include "documents/TestDocument.h"
#include "testeditor/TestEditor.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The big test (45 questions, 45 pictures, 18 MB) written once; the editor opens it and saves it under
// another name, against the operating system copying the file's bytes.
struct EditorFixture {
    QTemporaryDir dir;
    Workspace ws;
    QString source;
    QString saved;
    QString copied;
    qint64 attachmentBytes = 0;
    bool ready = false;

    EditorFixture()
    {
        ws.setUpFoldersAndPaths(dir.path());
        ws.createWorkingArchives();
        source = dir.filePath(u"pelny.skt"_s);
        saved = dir.filePath(u"zapisany.skt"_s);
        copied = dir.filePath(u"kopia.skt"_s);
        attachmentBytes = BigTest::build(ws);
        ready = attachmentBytes > 0 && WriteTestDocument(ws, source);
    }

    bool openAndSave()
    {
        TestEditor editor(ws);
        if (!editor.openTest(source))
            return false;
        editor.testFile = saved;
        editor.modified = true;
        return editor.save() && editor.close() == TestEditor::Outcome::Close;
    }
};

EditorFixture &fixture()
{
    static EditorFixture f;
    return f;
}

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Open and save against one durable copy of the file, interleaved so both see the same machine state.
void BM_TestEditorOpenSaveRatioToCopy(benchmark::State &state)
{
    EditorFixture &f = fixture();
    if (!f.ready)
        return state.SkipWithError("the test could not be made");
    Clock::duration copy{}, edit{};
    for (auto _ : state) {
        auto start = Clock::now();
        durableCopy(f.source.toStdString(), f.copied.toStdString());
        copy += Clock::now() - start;
        start = Clock::now();
        if (!f.openAndSave())
            state.SkipWithError("open or save failed");
        edit += Clock::now() - start;
    }
    state.counters["open_save_to_copy"] = seconds(edit) / seconds(copy);
    state.counters["file_MB"] = static_cast<double>(QFileInfo(f.source).size()) / 1e6;
}
BENCHMARK(BM_TestEditorOpenSaveRatioToCopy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Peak resident size of a child that opens the test in the editor, less that of a child that does
// nothing, against the attachments' size plus 80 MB.
void BM_TestEditorOpenPeakMemory(benchmark::State &state)
{
    EditorFixture &f = fixture();
    if (!f.ready)
        return state.SkipWithError("the test could not be made");
    double peakMB = 0;
    for (auto _ : state) {
        const long base = childPeakKb([] {});
        const long open = childPeakKb([&f] {
            TestEditor editor(f.ws);
            if (!editor.openTest(f.source))
                ::_exit(1);
        });
        peakMB = static_cast<double>(open - base) / 1024;
    }
    const double boundMB = static_cast<double>(f.attachmentBytes) / (1024 * 1024) + 80;
    state.counters["peak_MB"] = peakMB;
    state.counters["bound_MB"] = boundMB;
    state.counters["peak_to_bound"] = peakMB / boundMB;
}
BENCHMARK(BM_TestEditorOpenPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
