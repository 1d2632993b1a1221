#include "print/TestPrinter.h"

#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/TVfsPAK.h"
#include "support/DocumentFixtures.h"
#include "support/GifFixture.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"
#include "support/PdfProbe.h"
#include "support/TempWorkspace.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// Question k's text and answers carry tokens ("Q07", "Q07-a3" for answer index 3 in the test) so that
// the printout can be read back without knowing how the printer orders things.
QString questionToken(int k)
{
    return u"Q%1"_s.arg(k, 2, 10, QChar(u'0'));
}

QString answerToken(int k, int a)
{
    return questionToken(k) + u"-a"_s + QString::number(a);
}

class TestPrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString missing = PdfProbe::missingTools();
        if (!missing.isEmpty())
            GTEST_FAIL() << missing.toStdString();
        t.ws.createWorkingArchives();
    }

    // A test of `count` questions, every text with Polish letters and its tokens.
    void makeTest(int count, int answerCount, bool multiple)
    {
        TestModel &m = t.ws.test;
        m.resetTest();
        m.header.questionCount = count;
        m.header.answerCount = answerCount;
        m.header.multipleChoice = multiple ? 1 : 0;
        m.header.testName = u"Sprawdzian: żółć i gęśl"_s;
        m.header.author = u"Łucja Źdźbło"_s;
        m.header.date = u"2026-12-10"_s;
        m.header.time = 30;
        for (int k = 1; k <= count; ++k) {
            Question &q = m.question(k);
            q.text = questionToken(k) + u" Które zdanie o jeżu jest prawdziwe? ĄĘŁŃÓŚŹŻ"_s;
            for (int a = 0; a < answerCount; ++a)
                q.answers[static_cast<size_t>(a)] = answerToken(k, a) + u" źdźbło"_s;
            QString mask = u"00000"_s;
            mask[(k - 1) % answerCount] = u'1';
            if (multiple && k % 2 == 0)
                mask[(k + 1) % answerCount] = u'1';
            q.correct = mask;
        }
    }

    void attach(const QString &name, const QByteArray &bytes)
    {
        ASSERT_TRUE(PutStream(name, bytes, *t.ws.workingTest));
    }

    PrintResult print(const PrintOptions &options, const QString &name = u"out.pdf"_s)
    {
        TestPrinter printer(t.ws.test, *t.ws.workingTest);
        PrintResult r = printer.printToFile(options, file(name));
        decoded = printer.picturesDecoded();
        return r;
    }

    QString file(const QString &name) const { return t.dir.filePath(name); }

    TempWorkspace t;
    int decoded = 0;
};

// Every needle found after the one before it.
::testing::AssertionResult inOrder(const QString &haystack, const QStringList &needles)
{
    qsizetype from = 0;
    for (const QString &n : needles) {
        const qsizetype at = haystack.indexOf(n, from);
        if (at < 0)
            return ::testing::AssertionFailure()
                   << "\"" << n.toStdString() << "\" missing after position " << from << " in:\n"
                   << haystack.toStdString();
        from = at + n.size();
    }
    return ::testing::AssertionSuccess();
}

struct PrintCase {
    const char *name;
    bool multiple;
    int answers;
    bool picture;
    bool passage;
    enum Damage { None, DamagedPicture, MissingPicture, MissingPassage } damage;
};

class PrintCases : public TestPrinterTest, public ::testing::WithParamInterface<PrintCase> {};

// One version in the test's own order: the head, every question with its answers in order, the
// attachments in their places, and the key.
TEST_P(PrintCases, PrintsTheWholeTestInOrder)
{
    const PrintCase &c = GetParam();
    makeTest(3, c.answers, c.multiple);
    Question &q2 = t.ws.test.question(2);
    if (c.picture || c.damage == PrintCase::DamagedPicture || c.damage == PrintCase::MissingPicture)
        q2.imageName = u"MAPA.JPG"_s;
    if (c.picture)
        attach(q2.imageName, JpegFixture::gradientJpeg(240, 160));
    if (c.damage == PrintCase::DamagedPicture)
        attach(q2.imageName, JpegFixture::gradientJpeg(240, 160).left(300));
    if (c.passage || c.damage == PrintCase::MissingPassage)
        q2.textName = u"WIERSZ.TXT"_s;
    if (c.passage)
        attach(q2.textName, Cp1250::fromUnicode(u"Pszczółka Maja\r\nleci nad łąką.\r\n"_s));

    PrintOptions options;
    options.key = PrintOptions::Key::AfterTest;
    const PrintResult r = print(options);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_FALSE(r.plan.shuffled);
    const QString text = PdfProbe::text(file(u"out.pdf"_s));

    QStringList expected = {u"Sprawdzian: żółć i gęśl"_s,
                            u"Autor: Łucja Źdźbło"_s,
                            u"Data: 2026-12-10"_s,
                            u"Czas: 30 min"_s,
                            u"3 pytania"_s,
                            u"Imię i nazwisko:"_s,
                            u"Klasa:"_s,
                            u"Data:"_s};
    for (int k = 1; k <= 3; ++k) {
        if (k == 2 && c.passage)
            expected << u"Pszczółka Maja"_s << u"leci nad łąką."_s;
        if (k == 2 && c.damage == PrintCase::MissingPassage)
            expected << u"[Brak tekstu „WIERSZ.TXT” w pliku testu.]"_s;
        expected << u"%1. "_s.arg(k) << questionToken(k) + u" Które zdanie o jeżu jest prawdziwe? ĄĘŁŃÓŚŹŻ"_s;
        if (k == 2 && c.damage == PrintCase::DamagedPicture)
            expected << u"[Obraz „MAPA.JPG” jest uszkodzony i nie został wydrukowany.]"_s;
        if (k == 2 && c.damage == PrintCase::MissingPicture)
            expected << u"[Brak obrazu „MAPA.JPG” w pliku testu.]"_s;
        for (int a = 0; a < c.answers; ++a)
            expected << answerLetter(a) + u". "_s + answerToken(k, a) + u" źdźbło"_s;
    }
    expected << u"Strona 1 z 1"_s << u"Klucz odpowiedzi"_s;
    EXPECT_TRUE(inOrder(text, expected));
    EXPECT_FALSE(text.contains(answerToken(1, c.answers))) << "an answer beyond the count was printed";
    EXPECT_FALSE(text.contains(u"Wersja"_s)) << "one version in order has no letter";
    EXPECT_TRUE(
        text.contains(c.multiple ? u"wszystkie poprawne odpowiedzi"_s : u"jedną poprawną odpowiedź"_s));

    const QList<PdfProbe::Image> images = PdfProbe::images(file(u"out.pdf"_s));
    ASSERT_EQ(images.size(), c.picture ? 1 : 0);
    if (c.picture) {
        // Small pictures print at their screen size, pixels untouched.
        EXPECT_EQ(images[0].width, 240);
        EXPECT_EQ(images[0].height, 160);
        EXPECT_NEAR(images[0].xPpi, 96, 1);
    }
    const bool damaged = c.damage != PrintCase::None;
    ASSERT_EQ(r.problems.size(), damaged ? 1 : 0);
    if (damaged) {
        EXPECT_EQ(r.problems[0].question, 2);
        EXPECT_EQ(r.problems[0].picture, c.damage != PrintCase::MissingPassage);
        EXPECT_EQ(r.problems[0].reason.isEmpty(), c.damage != PrintCase::DamagedPicture);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tests, PrintCases,
    ::testing::Values(PrintCase{"single3", false, 3, false, false, PrintCase::None},
                      PrintCase{"single4Picture", false, 4, true, false, PrintCase::None},
                      PrintCase{"multiple5Passage", true, 5, false, true, PrintCase::None},
                      PrintCase{"multiple4Both", true, 4, true, true, PrintCase::None},
                      PrintCase{"damagedPicture", false, 3, false, false, PrintCase::DamagedPicture},
                      PrintCase{"missingPicture", true, 5, false, false, PrintCase::MissingPicture},
                      PrintCase{"missingPassage", false, 4, false, false, PrintCase::MissingPassage}),
    [](const ::testing::TestParamInfo<PrintCase> &info) { return std::string(info.param.name); });

// What a printout of several versions holds, read back from its text.
struct ReadVersion {
    QList<int> questions;      // printed order, question numbers in the test
    QList<QList<int>> answers; // per printed question, answer indexes in the test in printed order
    QMap<int, QString> key;    // printed number -> letters in the key
};

// Splits the text at the student lines (one per version) and the key titles.
QList<ReadVersion> readVersions(const QString &text, int versions)
{
    QList<ReadVersion> out(versions);
    const QStringList parts = text.split(u"Imię i nazwisko:"_s);
    const qsizetype keyAt = text.indexOf(u"Klucz odpowiedzi"_s);
    static const QRegularExpression token(u"Q(\\d\\d)(?:-a(\\d))?"_s);
    for (int v = 0; v < versions && v + 1 < parts.size(); ++v) {
        QString part = parts[v + 1];
        if (v + 1 == versions && keyAt >= 0)
            part = part.left(part.indexOf(u"Klucz odpowiedzi"_s));
        for (auto it = token.globalMatch(part); it.hasNext();) {
            const auto m = it.next();
            const int k = m.captured(1).toInt();
            if (m.captured(2).isEmpty()) {
                out[v].questions << k;
                out[v].answers << QList<int>();
            } else if (!out[v].answers.isEmpty()) {
                EXPECT_EQ(out[v].questions.last(), k) << "answer of another question under question " << k;
                out[v].answers.last() << m.captured(2).toInt();
            }
        }
    }
    if (keyAt < 0)
        return out;
    const QStringList keys = text.mid(keyAt).split(u"Klucz odpowiedzi"_s, Qt::SkipEmptyParts);
    static const QRegularExpression entry(u"(\\d+)\\.\\s+([A-E](?:, [A-E])*|—)"_s);
    int v = 0;
    for (const QString &k : keys) {
        if (!k.contains(u"WERSJA"_s) && versions > 1)
            continue; // the running head of a key page
        if (v >= versions)
            break;
        for (auto it = entry.globalMatch(k); it.hasNext();) {
            const auto m = it.next();
            out[v].key.insert(m.captured(1).toInt(), m.captured(2));
        }
        ++v;
    }
    return out;
}

TEST_F(TestPrinterTest, EveryVersionHoldsEveryQuestionOnceAndItsKeyFollowsTheMasks)
{
    makeTest(12, 5, true);
    PrintOptions options;
    options.versions = 4;
    options.key = PrintOptions::Key::AfterTest;
    options.seed = 31337;
    const PrintResult r = print(options);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const QString text = PdfProbe::text(file(u"out.pdf"_s));
    const QList<ReadVersion> read = readVersions(text, 4);

    QList<QList<int>> orders;
    bool answersMoved = false;
    for (int v = 0; v < 4; ++v) {
        const ReadVersion &version = read[v];
        QList<int> sorted = version.questions;
        std::sort(sorted.begin(), sorted.end());
        QList<int> all(12);
        std::iota(all.begin(), all.end(), 1);
        ASSERT_EQ(sorted, all) << "version " << v;
        orders << version.questions;
        ASSERT_EQ(version.key.size(), 12) << "version " << v << "\n" << text.toStdString();
        for (int p = 0; p < 12; ++p) {
            const Question &q = t.ws.test.question(version.questions[p]);
            QList<int> answerSet = version.answers[p];
            std::sort(answerSet.begin(), answerSet.end());
            ASSERT_EQ(answerSet, QList<int>({0, 1, 2, 3, 4}));
            answersMoved = answersMoved || version.answers[p] != QList<int>({0, 1, 2, 3, 4});
            // The letters the key gives are those whose answer the document's mask marks correct.
            QStringList letters;
            for (int printed = 0; printed < 5; ++printed) {
                if (q.correct[version.answers[p][printed]] == u'1')
                    letters << QString(QChar(u'A' + printed));
            }
            EXPECT_EQ(version.key.value(p + 1), letters.join(u", "_s))
                << "version " << v << ", question " << p + 1;
        }
    }
    EXPECT_TRUE(answersMoved);
    EXPECT_GE(QSet<QList<int>>(orders.begin(), orders.end()).size(), 3) << "the versions hardly differ";
    EXPECT_TRUE(
        inOrder(text, {u"WERSJA"_s, u"A"_s, u"WERSJA"_s, u"B"_s, u"WERSJA"_s, u"C"_s, u"WERSJA"_s, u"D"_s}));
    EXPECT_TRUE(text.contains(u"Ziarno losowania: 31337"_s));
}

TEST_F(TestPrinterTest, TheSameSeedGivesTheSamePrintoutAndTheKeyAlone)
{
    makeTest(10, 4, false);
    PrintOptions options;
    options.versions = 3;
    options.key = PrintOptions::Key::AfterTest;
    options.seed = 7;
    ASSERT_TRUE(print(options, u"a.pdf"_s).ok);
    ASSERT_TRUE(print(options, u"b.pdf"_s).ok);
    const QString first = PdfProbe::text(file(u"a.pdf"_s));
    EXPECT_EQ(first, PdfProbe::text(file(u"b.pdf"_s)));

    options.seed = 8;
    ASSERT_TRUE(print(options, u"c.pdf"_s).ok);
    EXPECT_NE(first, PdfProbe::text(file(u"c.pdf"_s)));

    // A lost key printed again on its own: the same pages as the key after the test.
    options.seed = 7;
    options.key = PrintOptions::Key::Only;
    ASSERT_TRUE(print(options, u"key.pdf"_s).ok);
    const QString key = PdfProbe::text(file(u"key.pdf"_s));
    EXPECT_FALSE(key.contains(u"Imię i nazwisko"_s));
    EXPECT_TRUE(first.endsWith(key)) << key.toStdString();
}

TEST_F(TestPrinterTest, ADrawnSeedIsShownAndPrintsTheSameVersionsAgain)
{
    makeTest(8, 3, false);
    PrintOptions options;
    options.versions = 2;
    options.key = PrintOptions::Key::AfterTest;
    const PrintResult drawn = print(options, u"a.pdf"_s);
    ASSERT_TRUE(drawn.ok);
    ASSERT_TRUE(drawn.plan.shuffled);
    const QString text = PdfProbe::text(file(u"a.pdf"_s));
    const QRegularExpressionMatch shown = QRegularExpression(u"Ziarno losowania: (\\d+)"_s).match(text);
    ASSERT_TRUE(shown.hasMatch());
    options.seed = shown.captured(1).toUInt();
    ASSERT_TRUE(print(options, u"b.pdf"_s).ok);
    EXPECT_EQ(text, PdfProbe::text(file(u"b.pdf"_s)));
}

// Pictures of every shape, larger and smaller than the column: all keep their proportions, none is
// stored or printed larger than its own size, and each is stored once however many versions show it.
TEST_F(TestPrinterTest, PicturesKeepTheirProportionsAndAreStoredOnce)
{
    const struct {
        int width, height;
        const char *kind;
    } shapes[] = {
        {2400, 600, "jpg"}, {300, 1500, "jpg"}, {200, 160, "gif"}, {1600, 1200, "bmp"}, {700, 700, "jpg"}};
    makeTest(10, 4, false);
    for (int k = 1; k <= 10; ++k) {
        const auto &s = shapes[(k - 1) % 5];
        Question &q = t.ws.test.question(k);
        q.imageName = u"P%1.%2"_s.arg((k - 1) % 5).arg(QString::fromLatin1(s.kind).toUpper());
        const QImage image = JpegFixture::gradient(s.width, s.height);
        QByteArray bytes;
        if (QByteArrayView(s.kind) == "jpg") {
            bytes = JpegFixture::encode(image, 90);
        } else if (QByteArrayView(s.kind) == "gif") {
            bytes = GifFixture::encode(image);
        } else {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "BMP");
        }
        attach(q.imageName, bytes);
    }
    PrintOptions options;
    options.versions = 3;
    options.seed = 1;
    const PrintResult r = print(options);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.problems.isEmpty());
    EXPECT_EQ(decoded, 5);

    const QList<PdfProbe::Image> images = PdfProbe::images(file(u"out.pdf"_s));
    ASSERT_EQ(images.size(), 30);
    QSet<int> objects;
    for (const PdfProbe::Image &image : images) {
        objects.insert(image.object);
        const auto &shape = *std::find_if(std::begin(shapes), std::end(shapes), [&](const auto &s) {
            return std::abs(double(s.width) / s.height - double(image.width) / image.height) < 0.02;
        });
        EXPECT_LE(image.width, shape.width);
        EXPECT_NEAR(double(image.width) / image.height, double(shape.width) / shape.height, 0.01);
        // Printed no larger than on screen, and not finer than a printer needs.
        EXPECT_GE(image.xPpi, 95);
        EXPECT_LE(image.xPpi, 305);
        EXPECT_NEAR(image.xPpi, image.yPpi, 2) << "stretched";
    }
    EXPECT_EQ(objects.size(), 5);

    // Each question whole on its page: its text and its answers on the same page.
    const QStringList pages = PdfProbe::pages(file(u"out.pdf"_s));
    EXPECT_EQ(pages.size(), r.pages);
    for (int k = 1; k <= 10; ++k) {
        int holding = 0;
        for (const QString &page : pages) {
            if (page.contains(questionToken(k) + u' '))
                holding += page.contains(answerToken(k, 3)) ? 1 : 100;
        }
        EXPECT_EQ(holding, 3) << "question " << k;
    }
    EXPECT_LE(r.pages, 3 * 10);
}

TEST_F(TestPrinterTest, TheGradingScaleShowsThePointsOfThisTest)
{
    makeTest(20, 4, false);
    TestHeader &h = t.ws.test.header;
    h.gradingOn = 1;
    h.thresholds = {90, 75, 50, 30, 10};
    PrintOptions options;
    options.key = PrintOptions::Key::Only;
    ASSERT_TRUE(print(options).ok);
    const QString text = PdfProbe::text(file(u"out.pdf"_s)).simplified();
    EXPECT_TRUE(
        inOrder(text, {u"razem 20 pkt"_s, u"celujący od 90% 18–20 pkt"_s, u"bardzo dobry od 75% 15–17 pkt"_s,
                       u"dobry od 50% 10–14 pkt"_s, u"dostateczny od 30% 6–9 pkt"_s,
                       u"dopuszczający od 10% 2–5 pkt"_s, u"niedostateczny poniżej 10% 0–1 pkt"_s}));

    h.gradingOn = 0;
    ASSERT_TRUE(print(options).ok);
    EXPECT_FALSE(PdfProbe::text(file(u"out.pdf"_s)).contains(u"Skala ocen"_s));
}

TEST_F(TestPrinterTest, LongPassagesAndEmptyTestsStillPrint)
{
    makeTest(2, 3, false);
    QString poem;
    for (int i = 1; i <= 150; ++i)
        poem += u"Wers %1 długiego tekstu.\r\n"_s.arg(i);
    t.ws.test.question(1).textName = u"DLUGI.TXT"_s;
    attach(u"DLUGI.TXT"_s, Cp1250::fromUnicode(poem));
    const PrintResult r = print({});
    ASSERT_TRUE(r.ok);
    EXPECT_GE(r.pages, 3);
    const QString text = PdfProbe::text(file(u"out.pdf"_s));
    EXPECT_TRUE(
        inOrder(text, {u"Wers 1 długiego"_s, u"Strona 1 z"_s, u"Wers 150 długiego"_s, questionToken(1)}));

    t.ws.test.resetTest();
    t.ws.test.header.testName = u"Pusty"_s;
    PrintOptions withKey;
    withKey.key = PrintOptions::Key::AfterTest;
    ASSERT_TRUE(print(withKey).ok);
    EXPECT_TRUE(inOrder(PdfProbe::text(file(u"out.pdf"_s)),
                        {u"Pusty"_s, u"0 pytań"_s, u"Test nie zawiera pytań."_s}));
}

TEST_F(TestPrinterTest, AFailedWriteLeavesThePreviousFileAndNoLeftovers)
{
    makeTest(3, 3, false);
    const QString target = file(u"out.pdf"_s);
    ASSERT_TRUE(PakBytes::writeFile(target, "old printout"));
    {
        DocumentFixtures::FileSizeLimit limit(2000);
        const PrintResult r = print({});
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.isEmpty());
    }
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old printout"));
    EXPECT_EQ(QDir(t.dir.path()).entryList({u"out.pdf*"_s}, QDir::Files), QStringList{u"out.pdf"_s});

    const PrintResult noFolder = print({}, u"brak/out.pdf"_s);
    EXPECT_FALSE(noFolder.ok);
    EXPECT_FALSE(QFileInfo::exists(file(u"brak"_s)));

    PrintOptions tooMany;
    tooMany.versions = 27;
    EXPECT_FALSE(print(tooMany).ok);
}

} // namespace
