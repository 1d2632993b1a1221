// Pictures at the size they are shown: the image dialog's strip of 20 and 45 phone photos against
// the floor, libjpeg decoding the same JPEGs straight to 1/8 of their size in the same run; and the
// print of a test of 45 photos in four versions. Time and peak memory.
#include "PeakMemory.h"
#include "Photos.h"
#include "core/Workspace.h"
#include "print/TestPrinter.h"
#include "question/AttachmentCommands.h"
#include "question/QuestionEditor.h"
#include "question/TestEditorLink.h"
#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <jpeglib.h>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;

class QuietLink : public TestEditorLink {
public:
    void setNodeLabel(int, const QString &) override {}
    void setNodeMark(int) override {}
    bool saveQuestionAs(int) override { return false; }
    void setTestModified() override {}
    void questionAppended(int) override {}
    QPoint position() const override { return {}; }
};

// A test of `count` questions, each with a photo of its own in the working archive; every third one
// is stored sideways with an orientation tag, as a phone keeps an upright shot. Phone photos carry a
// small preview in their EXIF data; photos that passed through other programs often lose it.
struct PhotoTest {
    QTemporaryDir dir;
    Workspace ws;
    QuestionEditor editor{ws};
    QuietLink link;
    std::vector<QByteArray> jpegs;
    qint64 bytes = 0;
    bool ready = false;

    PhotoTest(int count, bool previews)
    {
        ws.setUpFoldersAndPaths(dir.path());
        ws.createWorkingArchives();
        TestModel &m = ws.test;
        m.resetTest();
        m.header.questionCount = count;
        m.header.answerCount = 4;
        m.header.testName = u"Wycieczka w góry"_s;
        for (int k = 1; k <= count; ++k) {
            Question &q = m.question(k);
            q.text = u"Pytanie %1: co widać na zdjęciu?"_s.arg(k);
            q.answers = {u"szczyt"_s, u"dolinę"_s, u"jezioro"_s, u"schronisko"_s, {}};
            q.correct = u"10000"_s;
            q.imageName = u"IMG_%1.jpg"_s.arg(k, 4, 10, QChar(u'0'));
            const bool upright = k % 3 == 0;
            QByteArray photo = Photos::jpeg(kPhotoWidth, kPhotoHeight, k, upright ? 6 : 1, previews);
            if (photo.isEmpty() || !PutStream(q.imageName, photo, *ws.workingTest))
                return;
            bytes += photo.size();
            jpegs.push_back(std::move(photo));
        }
        ws.workMode = WorkTest;
        editor.setTestEditor(&link);
        ready = editor.fillFromTest(1);
    }
};

PhotoTest &photoTest(int count, bool previews = false)
{
    static std::unique_ptr<PhotoTest> tests[2][2];
    std::unique_ptr<PhotoTest> &t = tests[count > 20 ? 1 : 0][previews ? 1 : 0];
    if (!t)
        t = std::make_unique<PhotoTest>(count, previews);
    return *t;
}

// The floor: libjpeg alone, each picture straight to 1/8 of its size, rows thrown away.
void decodeAtOneEighth(const QByteArray &jpeg)
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 8;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    std::vector<JSAMPLE> row(static_cast<size_t>(cinfo.output_width) * 3);
    JSAMPROW rows[1] = {row.data()};
    while (cinfo.output_scanline < cinfo.output_height)
        jpeg_read_scanlines(&cinfo, rows, 1);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The image dialog opened for the first time and its strip shown (a new dialog each round, so every
// thumbnail is made), interleaved with the floor so that both see the same machine. open_ms is the
// opening alone, which decodes no thumbnail. The second argument: the photos carry
// their phone's preview (1) or not (0).
void BM_ImageDialogStrip(benchmark::State &state)
{
    PhotoTest &t = photoTest(static_cast<int>(state.range(0)), state.range(1) != 0);
    if (!t.ready)
        return state.SkipWithError("the photos could not be made");
    Clock::duration floor{}, strip{}, opening{};
    for (auto _ : state) {
        auto start = Clock::now();
        for (const QByteArray &jpeg : t.jpegs)
            decodeAtOneEighth(jpeg);
        floor += Clock::now() - start;
        start = Clock::now();
        AttachmentCommands dialog(t.editor, AttachmentCommands::Kind::Image);
        dialog.open();
        opening += Clock::now() - start;
        dialog.toggleList(); // "Obrazy w teście": the strip's pictures are decoded now
        strip += Clock::now() - start;
        if (dialog.strip.count() != static_cast<int>(t.jpegs.size()))
            state.SkipWithError("the strip misses pictures");
    }
    const double rounds = static_cast<double>(state.iterations());
    state.counters["open_ms"] = seconds(opening) / rounds * 1000;
    state.counters["strip_ms"] = seconds(strip) / rounds * 1000;
    state.counters["floor_ms"] = seconds(floor) / rounds * 1000;
    state.counters["strip_to_floor"] = seconds(strip) / seconds(floor);
    state.counters["photos_MB"] = static_cast<double>(t.bytes) / 1e6;
}
BENCHMARK(BM_ImageDialogStrip)->ArgsProduct({{20, 45}, {0, 1}})->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same dialog opened again and its strip shown: only pictures that changed are decoded, here none.
void BM_ImageDialogReopened(benchmark::State &state)
{
    PhotoTest &t = photoTest(static_cast<int>(state.range(0)));
    if (!t.ready)
        return state.SkipWithError("the photos could not be made");
    AttachmentCommands dialog(t.editor, AttachmentCommands::Kind::Image);
    dialog.open();
    dialog.toggleList();
    for (auto _ : state) {
        dialog.open();
        dialog.toggleList();
        dialog.toggleList();
    }
}
BENCHMARK(BM_ImageDialogReopened)->Arg(20)->Arg(45)->Unit(benchmark::kMillisecond);

// What opening the dialog adds to the editor's peak memory, against the 64 MB allowed.
void BM_ImageDialogPeakMemory(benchmark::State &state)
{
    PhotoTest &t = photoTest(static_cast<int>(state.range(0)));
    if (!t.ready)
        return state.SkipWithError("the photos could not be made");
    double peakMB = 0;
    for (auto _ : state) {
        peakMB = static_cast<double>(peakKbDuring([&t] {
                     AttachmentCommands dialog(t.editor, AttachmentCommands::Kind::Image);
                     dialog.open();
                     dialog.toggleList();
                 })) /
                 1024;
    }
    state.counters["peak_MB"] = peakMB;
    state.counters["peak_to_64MB"] = peakMB / 64;
}
BENCHMARK(BM_ImageDialogPeakMemory)->Arg(20)->Arg(45)->Unit(benchmark::kMillisecond)->Iterations(1);

// 45 questions with photos, four versions with the key, to a PDF; then its peak memory in a child.
void BM_PrintPhotos(benchmark::State &state)
{
    PhotoTest &t = photoTest(45);
    if (!t.ready)
        return state.SkipWithError("the photos could not be made");
    const QString pdf = t.dir.filePath(u"zdjecia.pdf"_s);
    const auto print = [&t, &pdf] {
        TestPrinter printer(t.ws.test, *t.ws.workingTest);
        PrintOptions options;
        options.versions = 4;
        options.key = PrintOptions::Key::AfterTest;
        options.seed = 2026;
        return printer.printToFile(options, pdf).ok;
    };
    for (auto _ : state) {
        if (!print())
            state.SkipWithError("printing failed");
    }
    state.counters["peak_MB"] = static_cast<double>(peakKbDuring([&print] { print(); })) / 1024;
    state.counters["pdf_MB"] = static_cast<double>(QFileInfo(pdf).size()) / 1e6;
    state.counters["photos_MB"] = static_cast<double>(t.bytes) / 1e6;
}
BENCHMARK(BM_PrintPhotos)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
