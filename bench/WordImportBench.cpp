#include "interchange/WordQuestions.h"
#include "storage/Pictures.h"
#include "support/JpegFixture.h"
#include "support/WordFixtures.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kQuestions = 200;
constexpr int kPictures = 50;

// A Word test of 200 automatically numbered questions, every fourth with a 640 × 480 photograph,
// the right answers bold, and an answer key at the end for the last fifty.
struct WordFixture {
    QByteArray docx;
    QList<QByteArray> pictures;

    WordFixture()
    {
        using namespace WordFixtures;
        QString body = wpText(u"Sprawdzian końcowy – przyroda"_s);
        WordFixtures::Media media;
        for (int i = 0; i < kPictures; ++i) {
            QImage image = JpegFixture::gradient(640, 480);
            image.setPixelColor(i, i, Qt::red); // fifty different pictures
            pictures << JpegFixture::encode(image, 85);
            media.append({u"image%1.jpeg"_s.arg(i + 1), pictures.last()});
        }
        for (int q = 1; q <= kQuestions; ++q) {
            body += wpListed(u"Pytanie %1: która z odpowiedzi o źdźble trawy jest poprawna?"_s.arg(q), 1, 0);
            if (q % 4 == 0)
                body += wpPicture(q / 4);
            for (int a = 0; a < 4; ++a)
                body += wpListed(u"Odpowiedź %1 do pytania %2"_s.arg(a + 1).arg(q), 1, 1,
                                 q <= 150 && a == q % 4 ? u"<w:b/>"_s : QString());
        }
        body += wpText(u"Klucz odpowiedzi"_s);
        for (int q = 151; q <= kQuestions; ++q)
            body += wpText(u"%1. %2"_s.arg(q).arg(QChar(u'A' + q % 4)));
        docx = WordFixtures::docx(body, questionNumbering(), media);
    }
};

const WordFixture &fixture()
{
    static const WordFixture f;
    return f;
}

// The floor: decoding the fifty pictures, which the import does once each to check them.
double decodeSeconds()
{
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray &p : fixture().pictures) {
        QImage image;
        decodeJpeg(p, image);
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

void BM_ImportWordTest200Questions50Pictures(benchmark::State &state)
{
    const WordFixture &f = fixture();
    qsizetype read = 0;
    for (auto _ : state) {
        const InterchangeContent c = WordQuestions::read(f.docx);
        read = c.questions.size();
        benchmark::DoNotOptimize(c);
    }
    if (read != kQuestions)
        state.SkipWithError("not every question was read");
    const double floor = decodeSeconds();
    state.counters["docx_MB"] = static_cast<double>(f.docx.size()) / 1e6;
    state.counters["decode_floor_ms"] = floor * 1e3;
    state.counters["ratio_to_floor"] =
        benchmark::Counter(floor * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ImportWordTest200Questions50Pictures)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
