#include "SampleTests.h"

#include "core/Workspace.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "support/GifFixture.h"
#include "support/JpegFixture.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace SampleTests {

namespace {

QByteArray encoded(const char *format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    JpegFixture::gradient(12, 9).save(&buffer, format);
    return buffer.data();
}

void setQuestion(Workspace &ws, int k, const QString &text, const QStringList &answers, const QString &mask,
                 const QString &comment = {})
{
    Question &q = ws.test.question(k);
    q.text = text;
    for (qsizetype i = 0; i < answers.size(); ++i)
        q.answers[static_cast<size_t>(i)] = answers[i];
    q.correct = mask;
    q.comment = comment;
    q.unfinished = 0;
}

void put(Workspace &ws, const QString &name, const QByteArray &bytes)
{
    EXPECT_TRUE(PutStream(name, bytes, *ws.workingTest));
}

// Single choice, three answers: texts with what every format has to escape.
void singleThree(Workspace &ws)
{
    TestHeader &h = ws.test.header;
    h.testName = u"Język polski – klasa 5/6"_s;
    h.answerCount = 3;
    h.questionCount = 3;
    setQuestion(
        ws, 1,
        u"Który wyraz jest zapisany poprawnie?\r\nWybierz  jedną odpowiedź: {a} ~b =c #d :e \\f <b> & \"g\""_s,
        {u"źdźbło"_s, u"żdźbło"_s, u"źdzbło"_s}, u"10000"_s,
        u"Źdźbło piszemy przez „ź” i „dź”.\r\nPatrz: słownik."_s);
    setQuestion(ws, 2, u"Ile to jest 2 + 2?"_s, {u"3"_s, u"4"_s, u"5 < 6"_s}, u"01000"_s);
    setQuestion(ws, 3, u"Co przedstawia obrazek?"_s, {u"Las"_s, u"Morze"_s, u"Góry"_s}, u"00100"_s,
                u"Tatry."_s);
    put(ws, u"Góry.JPG"_s, jpeg());
    put(ws, u"czytanka.txt"_s,
        Cp1250::fromUnicode(u"Zażółć gęślą jaźń.\r\n\r\n  Wcięty wiersz <pre> & koniec.\r\n"));
    ws.test.question(3).imageName = u"Góry.JPG"_s;
    ws.test.question(3).textName = u"czytanka.txt"_s;
}

// Multiple choice, five answers: every count of correct answers, pictures of each kind, a passage
// and a picture that two questions share.
void multipleFive(Workspace &ws)
{
    TestHeader &h = ws.test.header;
    h.testName = u"Przyroda"_s;
    h.answerCount = 5;
    h.multipleChoice = 1;
    h.questionCount = 5;
    const QStringList answers = {u"Wisła"_s, u"Odra"_s, u"Warta"_s, u"Bug"_s, u"Narew"_s};
    const QStringList masks = {u"10000"_s, u"11000"_s, u"01110"_s, u"11110"_s, u"11111"_s};
    for (int k = 1; k <= 5; ++k)
        setQuestion(ws, k, u"Pytanie %1: zaznacz rzeki.\r\nDruga linia."_s.arg(k), answers, masks[k - 1],
                    k % 2 ? u"Komentarz %1"_s.arg(k) : QString());
    put(ws, u"mapa.gif"_s, gif());
    put(ws, u"rzeka.BMP"_s, bmp());
    put(ws, u"opis.TXT"_s, Cp1250::fromUnicode(u"Rzeki Polski płyną do Bałtyku.\r\n"));
    ws.test.question(1).imageName = u"mapa.gif"_s;
    ws.test.question(2).imageName = u"mapa.gif"_s;
    ws.test.question(4).imageName = u"rzeka.BMP"_s;
    ws.test.question(2).textName = u"opis.TXT"_s;
    ws.test.question(3).textName = u"opis.TXT"_s;
}

// A full test of single-choice questions with four answers.
void fullFour(Workspace &ws)
{
    TestHeader &h = ws.test.header;
    h.testName = u"Tabliczka mnożenia"_s;
    h.answerCount = 4;
    h.questionCount = 45;
    for (int k = 1; k <= 45; ++k) {
        const int a = k % 9 + 1;
        const int b = k % 7 + 2;
        QString mask = u"00000"_s;
        mask[k % 4] = u'1';
        QStringList answers;
        for (int i = 0; i < 4; ++i)
            answers << QString::number(a * b + (i - k % 4));
        setQuestion(ws, k, u"%1 × %2 = ?"_s.arg(a).arg(b), answers, mask);
    }
}

} // namespace

const QList<Sample> &all()
{
    static const QList<Sample> samples = {
        {"SingleThree", singleThree},
        {"MultipleFive", multipleFive},
        {"FullFour", fullFour},
    };
    return samples;
}

QByteArray jpeg()
{
    return JpegFixture::gradientJpeg(12, 9);
}

QByteArray gif()
{
    return GifFixture::encode(JpegFixture::gradient(10, 7));
}

QByteArray bmp()
{
    return encoded("BMP");
}

QByteArray png()
{
    return encoded("PNG");
}

} // namespace SampleTests
