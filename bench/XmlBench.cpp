#include "storage/TpkXML.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// Coded values look like Base64 of UTF-16LE text: only the Base64 alphabet, a multiple of 4 long.
QString base64Like(QRandomGenerator &random, int length)
{
    static const char16_t alphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QString s(length / 4 * 4, Qt::Uninitialized);
    for (QChar &c : s)
        c = QChar(alphabet[random.bounded(64)]);
    if (s.size() >= 2)
        s[s.size() - 1] = u'=';
    return s;
}

// A full test: header values, 45 questions of ten values each, notes, and the coding marker.
QByteArray testDocument()
{
    QRandomGenerator random(45);
    TpkXML xml;
    TpkXMLNode *tst = xml.DocumentChild(u"tst");
    for (const char16_t *key : {u"ilp", u"typ", u"ilo", u"nmt", u"name", u"tim"})
        tst->addChild(QString::fromUtf16(key))->SetText(base64Like(random, 12 + random.bounded(40)));
    TpkXMLNode *skl = tst->addChild(u"skl"_s);
    for (const char16_t *key : {u"tk", u"cel", u"bdb", u"db", u"dst", u"dp"})
        skl->addChild(QString::fromUtf16(key))->SetText(base64Like(random, 8));
    for (int i = 1; i <= 45; ++i) {
        TpkXMLNode *pyt = tst->addChild(u"pyt"_s + QString::number(i));
        pyt->addChild(u"tr"_s)->SetText(base64Like(random, 200 + random.bounded(200)));
        for (int k = 1; k <= 5; ++k)
            pyt->addChild(u"od"_s + QString::number(k))
                ->SetText(base64Like(random, 100 + random.bounded(150)));
        pyt->addChild(u"odp"_s)->SetText(base64Like(random, 16));
        pyt->addChild(u"plr"_s)->SetText(base64Like(random, 20 + random.bounded(40)));
        pyt->addChild(u"plimg"_s)->SetText(base64Like(random, 20 + random.bounded(40)));
        pyt->addChild(u"kom"_s)->SetText(base64Like(random, 100 + random.bounded(300)));
    }
    tst->addChild(u"uwg"_s)->SetText(base64Like(random, 120));
    tst->addChild(u"dtu"_s)->SetText(base64Like(random, 28));
    tst->addChild(u"cd"_s)->SetText(u"tr"_s);
    return xml.SaveToBytes();
}

const QByteArray &document()
{
    static const QByteArray bytes = testDocument();
    return bytes;
}

void BM_XmlParseTest(benchmark::State &state)
{
    const QByteArray &bytes = document();
    for (auto _ : state) {
        TpkXML xml;
        const bool ok = xml.LoadFromBytes(bytes);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_XmlParseTest);

// Parse and read every question value, as the test reader does.
void BM_XmlParseAndReadTest(benchmark::State &state)
{
    const QByteArray &bytes = document();
    static const char16_t *const keys[] = {u"tr",  u"od1", u"od2",   u"od3", u"od4",
                                           u"od5", u"odp", u"plimg", u"kom", u"plr"};
    for (auto _ : state) {
        TpkXML xml;
        xml.LoadFromBytes(bytes);
        TpkXMLNode *tst = xml.DocumentChild(u"tst");
        qsizetype total = 0;
        for (int i = 1; i <= 45; ++i) {
            TpkXMLNode *pyt = tst->ChildByName(u"pyt"_s + QString::number(i));
            for (const char16_t *key : keys)
                total += pyt->ChildByName(QStringView(key))->Text().size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_XmlParseAndReadTest);

void BM_XmlSaveTest(benchmark::State &state)
{
    TpkXML xml;
    xml.LoadFromBytes(document());
    qsizetype size = 0;
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        xml.SaveToStream(out);
        size = out.size();
        benchmark::DoNotOptimize(out.data().constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_XmlSaveTest);

// The floor: copying the same bytes once.
void BM_XmlCopyFloor(benchmark::State &state)
{
    const QByteArray &bytes = document();
    QByteArray copy(bytes.size(), Qt::Uninitialized);
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.constData(), static_cast<size_t>(bytes.size()));
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_XmlCopyFloor);

} // namespace
