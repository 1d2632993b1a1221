#include "grading/PaperGrader.h"
#include "grading/SheetReader.h"
#include "grading/SheetScans.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <random>

using namespace Qt::StringLiterals;
using namespace SheetScans;

namespace {

SheetContent sheet(int pupil, int questions, int answers)
{
    SheetContent c;
    c.testName = u"Sprawdzian – pomiar"_s;
    c.code.fingerprint = u"0123456789abcdef"_s;
    c.code.versions = 4;
    c.code.version = pupil % 4;
    c.code.shuffled = true;
    c.code.seed = 1234;
    c.code.questions = questions;
    c.code.answers = answers;
    c.code.pupil = pupil;
    c.code.className = u"1a"_s;
    c.code.firstName = u"Uczeń"_s;
    c.code.surname = u"Nr %1"_s.arg(pupil);
    return c;
}

// A few hundred sheets, each marked at random with pen and pencil, fills, cancelled marks and stray
// dots, then spoilt at random. Counts what a teacher cares about: every sheet found, no wrong mark
// taken silently, few marks sent to review.
void BM_GradingAccuracy(benchmark::State &state)
{
    const int sheets = static_cast<int>(state.range(0));
    long found = 0, boxes = 0, wrong = 0, review = 0;
    for (auto _ : state) {
        std::mt19937 random(2026);
        SheetReader reader;
        for (int s = 0; s < sheets; ++s) {
            const int questions = 10 + static_cast<int>(random() % 36);
            const int answers = 3 + static_cast<int>(random() % 3);
            const SheetGeometry g = sheetGeometry(questions, answers);
            const SheetContent content = sheet(s + 1, questions, answers);
            Damage d;
            d.dpi = std::array<double, 3>{150, 200, 300}[random() % 3];
            d.angle = (random() % 4 == 0 ? 180 : 0) + std::uniform_real_distribution<double>(-3, 3)(random);
            d.scale = std::uniform_real_distribution<double>(0.96, 1.02)(random);
            d.blur = random() % 3;
            d.noise = random() % 12;
            d.unevenLight = random() % 2;
            d.jpegQuality = random() % 2 ? 45 + static_cast<int>(random() % 50) : 0;
            QImage page = render(g, content, d.dpi);
            QList<PenMark> marks;
            QList<BoxMark> expected(g.boxes.size(), BoxMark::Empty);
            for (int q = 1; q <= questions; ++q) {
                const int a = static_cast<int>(random() % answers);
                const int kind = static_cast<int>(random() % 10);
                const Mark mark = kind < 4   ? Mark::PenX
                                  : kind < 6 ? Mark::PencilX
                                  : kind < 7 ? Mark::Fill
                                  : kind < 8 ? Mark::Cancelled
                                             : Mark::Dot;
                marks.append({q, a, mark});
                expected[(q - 1) * answers + a] = mark == Mark::Cancelled ? BoxMark::Cancelled
                                                  : mark == Mark::Dot     ? BoxMark::Empty
                                                                          : BoxMark::Marked;
            }
            draw(page, g, d.dpi, marks, static_cast<quint32>(s));
            const SheetReading r = reader.read(damage(page, d, static_cast<quint32>(s)));
            if (r.status != SheetReading::Status::Sheet || !(r.code == content.code))
                continue;
            ++found;
            for (int i = 0; i < r.boxes.size(); ++i) {
                ++boxes;
                const BoxMark m = r.boxes[i].mark;
                if (m == BoxMark::Uncertain)
                    ++review;
                else if ((m == BoxMark::Marked) != (expected[i] == BoxMark::Marked))
                    ++wrong;
            }
        }
    }
    state.counters["sheets"] = sheets;
    state.counters["identified"] = double(found) / state.iterations();
    state.counters["wrong_marks"] = double(wrong) / state.iterations();
    state.counters["review_pct"] = boxes ? 100.0 * review / boxes : 0;
}
BENCHMARK(BM_GradingAccuracy)->Arg(300)->Iterations(1)->Unit(benchmark::kSecond);

// 200 dpi grey A4 scans as JPEG, read back: pages per second against decoding the same files alone.
struct Scans {
    QList<QByteArray> files;
    Scans()
    {
        for (int s = 0; s < 10; ++s) {
            const SheetGeometry g = sheetGeometry(30, 4);
            QImage page = render(g, sheet(s + 1, 30, 4), 200);
            QList<PenMark> marks;
            for (int q = 1; q <= 30; ++q)
                marks.append({q, (q * 7 + s) % 4, q % 5 ? Mark::PenX : Mark::Fill});
            draw(page, g, 200, marks, static_cast<quint32>(s));
            Damage d;
            d.angle = s % 2 ? 180.8 : -0.6;
            d.noise = 4;
            const QImage scan = damage(page, d, static_cast<quint32>(s));
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            scan.save(&buffer, "JPG", 85);
            files.append(bytes);
        }
    }
};

const Scans &scans()
{
    static const Scans s;
    return s;
}

// Both in the same run: the files decoded alone (the floor), then decoded and read as sheets.
void BM_ScanGradeAgainstDecode(benchmark::State &state)
{
    const Scans &s = scans();
    SheetReader reader;
    double floorSeconds = 0, gradeSeconds = 0;
    int read = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        for (const QByteArray &f : s.files)
            benchmark::DoNotOptimize(QImage::fromData(f, "JPG").convertToFormat(QImage::Format_Grayscale8));
        floorSeconds += timer.nsecsElapsed() / 1e9;
        timer.restart();
        for (const QByteArray &f : s.files)
            read += reader.read(QImage::fromData(f, "JPG").convertToFormat(QImage::Format_Grayscale8)).status ==
                    SheetReading::Status::Sheet;
        const double seconds = timer.nsecsElapsed() / 1e9;
        gradeSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const double pages = double(s.files.size()) * state.iterations();
    state.counters["pages_per_s"] = pages / gradeSeconds;
    state.counters["floor_pages_per_s"] = pages / floorSeconds;
    state.counters["x_floor"] = gradeSeconds / floorSeconds;
    state.counters["read"] = read / pages;
}
BENCHMARK(BM_ScanGradeAgainstDecode)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
