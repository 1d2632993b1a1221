#include "BigTest.h"
#include "DurableCopy.h"
#include "core/Workspace.h"
#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "testeditor/SetGeneration.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

// A test of 45 questions, each with a picture of its own of about 400 KB, and the same pictures as
// plain files for the copy the generation is measured against.
struct GenerationFixture {
    QTemporaryDir dir;
    Workspace ws;
    SetGeneration generation;
    QStringList pictureFiles;
    QString copyFolder;
    qint64 attachmentBytes = 0;
    bool ready = false;

    GenerationFixture()
    {
        ws.setUpFoldersAndPaths(dir.path());
        ws.createWorkingArchives();
        const QString pictures = dir.filePath(u"obrazy"_s);
        copyFolder = dir.filePath(u"kopie"_s);
        generation.sourceTest = dir.filePath(u"pelny.skt"_s);
        generation.targetFolder = dir.filePath(u"zestaw"_s);
        generation.prefix = u"q"_s;
        for (const QString &folder : {pictures, copyFolder, generation.targetFolder})
            QDir().mkpath(folder);

        attachmentBytes = BigTest::build(ws, pictures, &pictureFiles);
        if (attachmentBytes == 0)
            return;
        ready = WriteTestDocument(ws, generation.sourceTest);
    }

    bool generate()
    {
        const SetGeneration::Result r = generation.generate(ws);
        return r.testRead && r.written == kMaxQuestions;
    }

    // What the generation writes beyond its XML: each picture once, into a file of its own.
    void copyPictures() const
    {
        for (const QString &file : pictureFiles) {
            durableCopy(file.toStdString(), (copyFolder + u'/' + QFileInfo(file).fileName()).toStdString());
        }
    }
};

GenerationFixture &fixture()
{
    static GenerationFixture f;
    return f;
}

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void BM_SetGeneration(benchmark::State &state)
{
    GenerationFixture &f = fixture();
    if (!f.ready)
        return state.SkipWithError("the test could not be made");
    for (auto _ : state) {
        if (!f.generate())
            state.SkipWithError("generation failed");
    }
    state.SetBytesProcessed(state.iterations() * f.attachmentBytes);
}
BENCHMARK(BM_SetGeneration)->Unit(benchmark::kMillisecond);

// The floor: the operating system copying the attachment bytes the generation writes, each file
// flushed to the disk as the generation's saves are.
void BM_SetGenerationCopyPictures(benchmark::State &state)
{
    GenerationFixture &f = fixture();
    if (!f.ready)
        return state.SkipWithError("the test could not be made");
    for (auto _ : state)
        f.copyPictures();
    state.SetBytesProcessed(state.iterations() * f.attachmentBytes);
}
BENCHMARK(BM_SetGenerationCopyPictures)->Unit(benchmark::kMillisecond);

// Generation against copying, interleaved in one run so both see the same machine state; the counter
// is the ratio to one copy of the pictures. Generation also reads the whole test into the working
// archive first.
void BM_SetGenerationRatioToCopy(benchmark::State &state)
{
    GenerationFixture &f = fixture();
    if (!f.ready)
        return state.SkipWithError("the test could not be made");
    Clock::duration copy{}, generate{};
    for (auto _ : state) {
        auto start = Clock::now();
        f.copyPictures();
        copy += Clock::now() - start;
        start = Clock::now();
        if (!f.generate())
            state.SkipWithError("generation failed");
        generate += Clock::now() - start;
    }
    state.counters["generate_to_copy"] = seconds(generate) / seconds(copy);
    state.counters["MB"] = static_cast<double>(f.attachmentBytes) / 1e6;
    state.counters["picture_KB"] = static_cast<double>(f.attachmentBytes) / kMaxQuestions / 1024;
}
BENCHMARK(BM_SetGenerationRatioToCopy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
