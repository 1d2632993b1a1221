#include "interchange/InterchangeFormat.h"
#include "interchange/QuestionImport.h"
#include "interchange/WordQuestions.h"
#include "storage/ArchiveAccess.h"
#include "support/DocumentTest.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"
#include "support/WordFixtures.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace WordFixtures;
using Issue = InterchangeNote::Issue;

namespace {

const QString kBold = u"<w:b/>"_s;

QString maskOf(const InterchangeQuestion &q)
{
    QString mask;
    for (bool c : q.correct)
        mask += c ? u'1' : u'0';
    return mask;
}

struct Expected {
    QString text;
    QStringList answers;
    QString mask;
};

void expectQuestions(const InterchangeContent &content, const QList<Expected> &expected)
{
    ASSERT_TRUE(content.error.isEmpty()) << content.error.toStdString();
    for (const InterchangeNote &n : content.notes)
        ADD_FAILURE() << n.englishText().toStdString();
    ASSERT_EQ(content.questions.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const InterchangeQuestion &q = content.questions[i];
        EXPECT_EQ(q.text, expected[i].text);
        EXPECT_EQ(q.answers, expected[i].answers);
        EXPECT_EQ(maskOf(q), expected[i].mask);
        EXPECT_EQ(q.multipleChoice, expected[i].mask.count(u'1') > 1);
    }
}

const QStringList kRzeki{u"Wisła"_s, u"Odra"_s, u"Warta"_s};

struct Convention {
    const char *name;
    QByteArray document;
    QList<Expected> expected;
};

// One small document a convention, each as teachers write it.
QList<Convention> conventions()
{
    const Expected rzeka{u"Najdłuższa rzeka Polski to:"_s, kRzeki, u"100"_s};
    const Expected odra{u"Która rzeka płynie przez Wrocław?"_s, kRzeki, u"010"_s};
    return {
        {"HandNumbersLettersBold",
         docx(wpText(u"Sprawdzian z geografii"_s) + wpText(u"Imię i nazwisko: ……………"_s) +
              wpText(u"1. Najdłuższa rzeka Polski to:"_s) + wp(wr(u"a) "_s) + wr(u"Wisła"_s, kBold)) +
              wpText(u"b) Odra"_s) + wpText(u"c) Warta"_s)),
         {rzeka}},
        {"ParenNumbersCapitalDotUnderlined",
         docx(wpText(u"1) Która rzeka płynie przez Wrocław?"_s) + wpText(u"A. Wisła"_s) +
              wp(wr(u"B. "_s) + wr(u"Odra"_s, u"<w:u w:val=\"single\"/>"_s)) + wpText(u"C. Warta"_s)),
         {odra}},
        {"ZadanieParenthesisedHighlighted",
         docx(wpText(u"Zadanie 1. Najdłuższa rzeka Polski to:"_s) +
              wpText(u"(a) Wisła"_s, u"<w:highlight w:val=\"yellow\"/>"_s) + wpText(u"(b) Odra"_s) +
              wpText(u"(c) Warta"_s)),
         {rzeka}},
        {"PytanieColonColoured",
         docx(wpText(u"Pytanie 1: Która rzeka płynie przez Wrocław?"_s) + wpText(u"A) Wisła"_s) +
              wpText(u"B) Odra"_s, u"<w:color w:val=\"FF0000\"/>"_s) + wpText(u"C) Warta"_s)),
         {odra}},
        {"StarBeforeAndAfter",
         docx(wpText(u"1. Najdłuższa rzeka Polski to:"_s) + wpText(u"*a) Wisła"_s) + wpText(u"b) Odra"_s) +
              wpText(u"c) Warta"_s) + wpText(u"2. Która rzeka płynie przez Wrocław?"_s) +
              wpText(u"a) Wisła"_s) + wpText(u"b) Odra*"_s) + wpText(u"c) Warta"_s)),
         {rzeka, odra}},
        {"AnswersInOneLineAfterTabs",
         docx(wpText(u"1. 2 + 2 = ?"_s) + wp(wr(u"A) 3\tB) "_s) + wr(u"4"_s, kBold) + wr(u"\tC) 5"_s))),
         {{u"2 + 2 = ?"_s, {u"3"_s, u"4"_s, u"5"_s}, u"010"_s}}},
        {"AnswersInOneLineAfterSpaces",
         docx(wpText(u"1. 2 + 3 = ?"_s) + wpText(u"A) 4   B) 6   *C) 5"_s)),
         {{u"2 + 3 = ?"_s, {u"4"_s, u"6"_s, u"5"_s}, u"001"_s}}},
        {"AnswersAfterLineBreaks",
         docx(wp(wr(u"1. Stolica Polski?\na) Kraków\n"_s) + wr(u"b) Warszawa"_s, kBold) +
                 wr(u"\nc) Gniezno"_s))),
         {{u"Stolica Polski?"_s, {u"Kraków"_s, u"Warszawa"_s, u"Gniezno"_s}, u"010"_s}}},
        {"OdpowiedzLines",
         docx(wpText(u"1. Najdłuższa rzeka Polski to:"_s) + wpText(u"a) Wisła"_s) + wpText(u"b) Odra"_s) +
              wpText(u"c) Warta"_s) + wpText(u"Odpowiedź: A"_s) +
              wpText(u"2. Która rzeka płynie przez Wrocław?"_s) + wpText(u"a) Wisła"_s) +
              wpText(u"b) Odra"_s) + wpText(u"c) Warta"_s) + wpText(u"Prawidłowa odpowiedź: B"_s) +
              wpText(u"3. Rzeki?"_s) + wpText(u"a) Wisła"_s) + wpText(u"b) Tatry"_s) + wpText(u"c) Odra"_s) +
              wpText(u"Answer: A, C"_s) + wpText(u"4. Góry?"_s) + wpText(u"A. Wisła"_s) +
              wpText(u"B. Tatry"_s) + wpText(u"C. Odra"_s) + wpText(u"ANSWER: B"_s)),
         {rzeka,
          odra,
          {u"Rzeki?"_s, {u"Wisła"_s, u"Tatry"_s, u"Odra"_s}, u"101"_s},
          {u"Góry?"_s, {u"Wisła"_s, u"Tatry"_s, u"Odra"_s}, u"010"_s}}},
        {"KeyAsLines",
         docx(wpText(u"1. Najdłuższa rzeka Polski to:"_s) + wpText(u"a) Wisła"_s) + wpText(u"b) Odra"_s) +
              wpText(u"c) Warta"_s) + wpText(u"2. Która rzeka płynie przez Wrocław?"_s) +
              wpText(u"a) Wisła"_s) + wpText(u"b) Odra"_s) + wpText(u"c) Warta"_s) + wpText(u"3. Rzeki?"_s) +
              wpText(u"a) Wisła"_s) + wpText(u"b) Tatry"_s) + wpText(u"c) Odra"_s) +
              wpText(u"Klucz odpowiedzi"_s, kBold) + wpText(u"1. A"_s) + wpText(u"2 – B"_s) +
              wpText(u"3A, C"_s)),
         {rzeka, odra, {u"Rzeki?"_s, {u"Wisła"_s, u"Tatry"_s, u"Odra"_s}, u"101"_s}}},
        {"KeyAsTable",
         docx(wpText(u"1. Najdłuższa rzeka Polski to:"_s) + wpText(u"a) Wisła"_s) + wpText(u"b) Odra"_s) +
              wpText(u"c) Warta"_s) + wpText(u"2. Która rzeka płynie przez Wrocław?"_s) +
              wpText(u"a) Wisła"_s) + wpText(u"b) Odra"_s) + wpText(u"c) Warta"_s) + wpText(u"Odpowiedzi"_s) +
              u"<w:tbl><w:tr><w:tc>"_s + wpText(u"Nr"_s) + u"</w:tc><w:tc>"_s + wpText(u"Odp."_s) +
              u"</w:tc></w:tr><w:tr><w:tc>"_s + wpText(u"1"_s) + u"</w:tc><w:tc>"_s + wpText(u"A"_s) +
              u"</w:tc></w:tr><w:tr><w:tc>"_s + wpText(u"2"_s) + u"</w:tc><w:tc>"_s + wpText(u"B"_s) +
              u"</w:tc></w:tr></w:tbl>"_s),
         {rzeka, odra}},
        {"KeyAsTransposedTable",
         docx(wpText(u"1. Najdłuższa rzeka Polski to:"_s) + wpText(u"a) Wisła"_s) + wpText(u"b) Odra"_s) +
              wpText(u"c) Warta"_s) + wpText(u"2. Która rzeka płynie przez Wrocław?"_s) +
              wpText(u"a) Wisła"_s) + wpText(u"b) Odra"_s) + wpText(u"c) Warta"_s) + wpText(u"Answer key"_s) +
              u"<w:tbl><w:tr><w:tc>"_s + wpText(u"1"_s) + u"</w:tc><w:tc>"_s + wpText(u"2"_s) +
              u"</w:tc></w:tr><w:tr><w:tc>"_s + wpText(u"a"_s) + u"</w:tc><w:tc>"_s + wpText(u"b"_s) +
              u"</w:tc></w:tr></w:tbl>"_s),
         {rzeka, odra}},
        {"WordAutomaticNumbering",
         docx(wpText(u"Kartkówka"_s) + wpListed(u"Najdłuższa rzeka Polski to:"_s, 1, 0) +
                  wpListed(u"Wisła"_s, 1, 1, kBold) + wpListed(u"Odra"_s, 1, 1) + wpListed(u"Warta"_s, 1, 1) +
                  wpListed(u"Która rzeka płynie przez Wrocław?"_s, 1, 0) + wpListed(u"Wisła"_s, 1, 1) +
                  wpListed(u"Odra"_s, 1, 1) + wpListed(u"Warta"_s, 1, 1) + wpText(u"Klucz"_s) +
                  wpText(u"2. B"_s),
              questionNumbering()),
         {rzeka, odra}},
        {"WriterAutomaticNumbering",
         odt(u"<text:list text:style-name=\"L\"><text:list-item>"_s +
                 tp(tText(u"Najdłuższa rzeka Polski to:"_s)) + u"<text:list><text:list-item>"_s +
                 tp(tSpan(u"Wisła"_s, u"B"_s)) + u"</text:list-item><text:list-item>"_s +
                 tp(tText(u"Odra"_s)) + u"</text:list-item><text:list-item>"_s + tp(tText(u"Warta"_s)) +
                 u"</text:list-item></text:list></text:list-item><text:list-item>"_s +
                 tp(tText(u"Która rzeka płynie przez Wrocław?"_s)) + u"<text:list><text:list-item>"_s +
                 tp(tText(u"Wisła"_s)) + u"</text:list-item><text:list-item>"_s +
                 tp(tSpan(u"Odra"_s, u"U"_s)) + u"</text:list-item><text:list-item>"_s +
                 tp(tText(u"Warta"_s)) + u"</text:list-item></text:list></text:list-item></text:list>"_s,
             odtStyles()),
         {rzeka, odra}},
        {"WriterHandLettersHighlightAndColour",
         odt(tp(tText(u"1. Najdłuższa rzeka Polski to:"_s)) +
                 tp(tText(u"A) "_s) + tSpan(u"Wisła"_s, u"H"_s)) + tp(tText(u"B) Odra"_s)) +
                 tp(tText(u"C) Warta"_s)) + tp(tText(u"2. Która rzeka płynie przez Wrocław?"_s)) +
                 tp(tText(u"A) Wisła"_s)) + tp(tSpan(u"B) Odra"_s, u"R"_s)) + tp(tText(u"C) Warta"_s)),
             odtStyles()),
         {rzeka, odra}},
        {"AnswerGoesOnAfterASoftBreak",
         docx(wpText(u"1. Co robi pszczoła?"_s) + wpText(u"a) zbiera nektar\ni pyłek"_s, kBold) +
              wpText(u"b) śpi"_s) + wpText(u"c) pływa"_s)),
         {{u"Co robi pszczoła?"_s, {u"zbiera nektar i pyłek"_s, u"śpi"_s, u"pływa"_s}, u"100"_s}}},
        {"SeveralRightAnswers",
         docx(wpText(u"1. Które są rzekami?"_s) + wpText(u"a) Wisła"_s, kBold) + wpText(u"b) Tatry"_s) +
              wpText(u"c) Odra"_s, kBold) + wpText(u"d) Bałtyk"_s)),
         {{u"Które są rzekami?"_s, {u"Wisła"_s, u"Tatry"_s, u"Odra"_s, u"Bałtyk"_s}, u"1010"_s}}},
        {"TextAsTyped",
         docx(wp(wr(u"1. Co znaczy „żółć”\u00a0—\u00a0"_s) + wr(u"zgad"_s) +
                 wr(u"nij?\nPodpowiedź: kolor."_s)) +
              wpText(u"a) Barwę"_s, kBold) + wpText(u"b) Smak"_s) + wpText(u"c) Dźwięk"_s)),
         {{u"Co znaczy „żółć” — zgadnij?\r\nPodpowiedź: kolor."_s,
           {u"Barwę"_s, u"Smak"_s, u"Dźwięk"_s},
           u"100"_s}}},
    };
}

class WordConventions : public ::testing::TestWithParam<int> {};

TEST_P(WordConventions, ReadAsTheTeacherMeantThem)
{
    const Convention c = conventions()[GetParam()];
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(c.document.isEmpty());
    expectQuestions(Interchange::read(Interchange::detectFormat(c.document), c.document), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, WordConventions, ::testing::Range(0, static_cast<int>(conventions().size())),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string(conventions()[info.param].name);
                         });

TEST(WordDocuments, FormatToldByContent)
{
    const QByteArray d = docx(wpText(u"1. x"_s));
    const QByteArray o = odt(tp(u"1. x"_s));
    EXPECT_EQ(Interchange::detectFormat(d), InterchangeFormat::Docx);
    EXPECT_EQ(Interchange::detectFormat(o), InterchangeFormat::Odt);
    // The name given does not matter between the two.
    EXPECT_TRUE(Interchange::read(InterchangeFormat::Odt, d).error.isEmpty());
    EXPECT_TRUE(Interchange::read(InterchangeFormat::Docx, o).error.isEmpty());
    EXPECT_EQ(Interchange::formatFromName(u"DOCX"), InterchangeFormat::Docx);
}

TEST(WordDocuments, TitleHeadingsAndInstructionsAreNoQuestions)
{
    const QString styles = u"<w:style w:styleId=\"Tytu\"><w:name w:val=\"Title\"/></w:style>"
                           u"<w:style w:styleId=\"Nagwek1\"><w:name w:val=\"heading 1\"/></w:style>"_s;
    const QByteArray d =
        docx(wp(wr(u"Sprawdzian: "_s) + wr(u"rzeki"_s), u"<w:pStyle w:val=\"Tytu\"/>"_s) +
                 wp(wr(u"Część 1"_s), u"<w:pStyle w:val=\"Nagwek1\"/>"_s) +
                 wpText(u"Imię i nazwisko: ………   Klasa: ……"_s) + wpText(u"Zaznacz jedną odpowiedź."_s) +
                 wpText(u"1. Najdłuższa rzeka Polski to:"_s) + wpText(u"a) Wisła"_s, kBold) +
                 wpText(u"b) Odra"_s) + wpText(u"c) Warta"_s),
             {}, {}, styles);
    const InterchangeContent c = Interchange::read(InterchangeFormat::Docx, d);
    ASSERT_EQ(c.questions.size(), 1);
    EXPECT_EQ(c.category, u"Sprawdzian: rzeki"_s);
    EXPECT_EQ(c.questions[0].number, 1);

    // Without a title the first heading names the test.
    const QByteArray o = odt(u"<text:h text:outline-level=\"1\">Kartkówka z przyrody</text:h>"_s +
                             tp(u"Pytanie 1: Najdłuższa rzeka Polski to:"_s) + tp(u"A) Wisła*"_s) +
                             tp(u"B) Odra"_s) + tp(u"C) Warta"_s));
    EXPECT_EQ(Interchange::read(InterchangeFormat::Odt, o).category, u"Kartkówka z przyrody"_s);
}

TEST(WordDocuments, WhatCannotBeAQuestionIsSkippedWithItsPlace)
{
    const QString six = wpText(u"a) 1"_s) + wpText(u"b) 2"_s) + wpText(u"c) 3"_s, kBold) + wpText(u"d) 4"_s) +
                        wpText(u"e) 5"_s) + wpText(u"f) 6"_s);
    const QByteArray d = docx(
        wpText(u"Test"_s) +                                                     // paragraph 1
        wpText(u"1. Opisz cykl wody w przyrodzie."_s) + wpText(u"……………………"_s) + // 2, 3
        wpText(u"2. Ziemia jest płaska."_s) + wpText(u"a) Prawda"_s) + wpText(u"b) Fałsz"_s, kBold) + // 4-6
        wpText(u"3. Połącz rzeki z miastami."_s) + u"<w:tbl><w:tr><w:tc>"_s + wpText(u"Wisła"_s) +    // 7, 8
        u"</w:tc><w:tc>"_s + wpText(u"Kraków"_s) + u"</w:tc></w:tr></w:tbl>"_s +                      // 9
        wpText(u"4. Ile?"_s) + six + // 10, 11-16
        wpText(u"5. Bez odpowiedzi zaznaczonej"_s) + wpText(u"a) x"_s) + wpText(u"b) y"_s) +
        wpText(u"c) z"_s) + wpText(u"6. Najdłuższa rzeka?"_s) + wpText(u"a) Wisła"_s) + wpText(u"b) Odra"_s) +
        wpText(u"c) Warta"_s) + wpText(u"Odpowiedź: D"_s) + wpText(u"7. Dobre?"_s) +
        wpText(u"a) tak"_s, kBold) + wpText(u"b) nie"_s) + wpText(u"c) może"_s));
    const InterchangeContent c = Interchange::read(InterchangeFormat::Docx, d);
    ASSERT_TRUE(c.error.isEmpty());
    ASSERT_EQ(c.questions.size(), 1);
    EXPECT_EQ(c.questions[0].text, u"Dobre?"_s);
    QStringList texts;
    for (const InterchangeNote &n : c.notes)
        texts << n.englishText();
    EXPECT_EQ(texts,
              (QStringList{
                  u"question 1 (paragraph 2): skipped: text without answers."_s,
                  u"question 2 (paragraph 4): skipped: 2 answers; a test question has 3 to 5."_s,
                  u"question 3 (paragraph 7): skipped: its answers are a table (matching), not a list of "
                  u"choices."_s,
                  u"question 4 (paragraph 10): skipped: 6 answers; a test question has 3 to 5."_s,
                  u"question 5 (paragraph 17): skipped: no answer is marked correct."_s,
                  u"question 6 (paragraph 21): skipped: \"ANSWER: D\" names no answer."_s,
              }));
    EXPECT_EQ(c.notes[0].polishText(), u"Pytanie 1 (akapit 2): pominięte: tekst bez odpowiedzi."_s);
}

QByteArray png(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(20, 120, 200, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A PNG chunk's checksum (CRC-32 of its type and data).
quint32 crc32(QByteArrayView bytes)
{
    quint32 c = 0xFFFFFFFFu;
    for (char b : bytes) {
        c ^= static_cast<quint8>(b);
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return ~c;
}

TEST(WordDocuments, PicturesInOrRightAfterAQuestion)
{
    const QByteArray jpeg = JpegFixture::gradientJpeg(40, 30);
    QByteArray hugePng = png(2, 2);
    // The header claims 100000 × 100000 pixels, with a checksum that fits the claim.
    hugePng.replace(16, 8, QByteArray::fromHex("000186a0000186a0"));
    const quint32 crc = crc32(QByteArrayView(hugePng).sliced(12, 17));
    for (int i = 0; i < 4; ++i)
        hugePng[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    const QString answers = wpText(u"a) Wisła"_s, kBold) + wpText(u"b) Odra"_s) + wpText(u"c) Warta"_s);
    const QByteArray d =
        docx(wpPicture(1) + // before the first question: no question's
                 wpText(u"1. Rzeka na zdjęciu?"_s) + wpPicture(1) + answers + wpText(u"2. A na tym?"_s) +
                 answers + wpPicture(2) + // right after the answers
                 wpText(u"3. Dwa zdjęcia?"_s) + wpPicture(1) + wpPicture(2) + answers +
                 wpText(u"4. Ogromne?"_s) + wpPicture(3) + answers,
             {}, {{u"image1.jpeg"_s, jpeg}, {u"image2.png"_s, png(30, 20)}, {u"image3.png"_s, hugePng}});
    const InterchangeContent c = Interchange::read(InterchangeFormat::Docx, d);
    ASSERT_EQ(c.questions.size(), 4);
    EXPECT_EQ(c.questions[0].picture, jpeg); // a JPEG as it is
    EXPECT_EQ(c.questions[0].pictureName, u"image1.jpg"_s);
    EXPECT_TRUE(c.questions[1].picture.startsWith("\xFF\xD8\xFF")); // a PNG made a JPEG
    EXPECT_EQ(c.questions[1].pictureName, u"image2.jpg"_s);
    EXPECT_EQ(c.questions[2].picture, jpeg);
    EXPECT_TRUE(c.questions[3].picture.isEmpty());
    ASSERT_EQ(c.notes.size(), 2);
    EXPECT_EQ(c.notes[0].issue, Issue::ExtraPictures);
    EXPECT_EQ(c.notes[0].number, 3);
    EXPECT_EQ(c.notes[1].issue, Issue::PictureUnreadable);
    EXPECT_EQ(c.notes[1].number, 4);
}

TEST(WordDocuments, HostilePackagesGiveAClearError)
{
    // A member that expands far beyond its compressed size.
    const QByteArray bomb = zip({{u"word/document.xml"_s, QByteArray(50 << 20, ' ')}});
    ASSERT_LT(bomb.size(), 1 << 20);
    EXPECT_TRUE(Interchange::read(InterchangeFormat::Docx, bomb).error.contains(u"zip bomb"_s));

    QString deep;
    for (int i = 0; i < 5000; ++i)
        deep += u"<w:sdt><w:sdtContent>"_s;
    EXPECT_TRUE(Interchange::read(InterchangeFormat::Docx, docx(deep)).error.contains(u"deeper"_s));
    QString deepOdt;
    for (int i = 0; i < 5000; ++i)
        deepOdt += u"<text:list><text:list-item>"_s;
    EXPECT_TRUE(Interchange::read(InterchangeFormat::Odt, odt(deepOdt)).error.contains(u"deeper"_s));

    // A few bytes of XML that would expand to much text.
    QString spaces;
    for (int i = 0; i < 10000; ++i)
        spaces += u"<text:s text:c=\"1000\"/>"_s;
    EXPECT_TRUE(
        Interchange::read(InterchangeFormat::Odt, odt(tp(spaces))).error.contains(u"million characters"_s));

    const QByteArray dtd = zip({{u"word/document.xml"_s,
                                 "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaa\">]><w:document/>"}});
    EXPECT_TRUE(Interchange::read(InterchangeFormat::Docx, dtd).error.contains(u"document type"_s));

    const QByteArray good = docx(wpText(u"1. x"_s));
    QByteArray cut = good.left(good.size() / 2);
    EXPECT_FALSE(Interchange::read(InterchangeFormat::Docx, cut).error.isEmpty());
    QByteArray flipped = good;
    flipped[flipped.indexOf("word/document.xml") + 40] ^= 0x55; // damaged compressed data
    EXPECT_FALSE(Interchange::read(InterchangeFormat::Docx, "PK\x03\x04 not really").error.isEmpty());
    EXPECT_TRUE(
        Interchange::read(InterchangeFormat::Docx, zip({{u"inne.txt"_s, "x"}})).error.contains(u"neither"_s));
    EXPECT_TRUE(
        Interchange::read(InterchangeFormat::Docx, docx(u"<w:p><w:r><w:t>niedomknięte"_s)).error.size() > 0);
    // Whatever a damaged member does, it is an error or a reading, never a crash.
    Interchange::read(InterchangeFormat::Docx, flipped);
}

// "Importuj pytania ..." in the test editor with a Word document: the questions, the picture, the
// test's name, and the one message naming what was skipped.
class WordImportCommand : public DocumentTest {};

TEST_F(WordImportCommand, AppendsTheQuestionsAndListsWhatWasSkipped)
{
    t.ws.test.resetTest();
    const QByteArray jpeg = JpegFixture::gradientJpeg(20, 20);
    const QByteArray d =
        docx(wpText(u"Sprawdzian – rzeki"_s, kBold) + wpListed(u"Najdłuższa rzeka?"_s, 1, 0) + wpPicture(1) +
                 wpListed(u"Wisła*"_s, 1, 1) + wpListed(u"Odra"_s, 1, 1) + wpListed(u"Warta"_s, 1, 1) +
                 wpListed(u"Opisz Wisłę."_s, 1, 0) + wpListed(u"Rzeka Wrocławia?"_s, 1, 0) +
                 wpListed(u"Wisła"_s, 1, 1) + wpListed(u"Odra"_s, 1, 1) + wpListed(u"Warta"_s, 1, 1) +
                 wpText(u"Klucz odpowiedzi"_s) + wpText(u"3. B"_s),
             questionNumbering(), {{u"image1.jpg"_s, jpeg}});
    const QString p = path(u"rzeki.docx"_s);
    ASSERT_TRUE(PakBytes::writeFile(p, d));
    prompts.queueFileName(p);
    const QuestionImport::Result r = QuestionImport::run(t.ws);
    EXPECT_EQ(r.appended, 2);
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_TRUE(prompts.fileRequests[0].request.filter.contains(u"*.docx *.odt"_s));
    EXPECT_EQ(prompts.lastMessageText(),
              u"Dołączono pytania: 2.\r\rPytanie 2 (akapit 7): pominięte: tekst bez odpowiedzi."_s);
    const TestModel &m = t.ws.test;
    ASSERT_EQ(m.header.questionCount, 2);
    EXPECT_EQ(m.question(1).correct, u"10000"_s);
    EXPECT_EQ(m.question(2).correct, u"01000"_s);
    EXPECT_EQ(ExtractStream(m.question(1).imageName, *t.ws.workingTest), jpeg);
}

// Documents LibreOffice wrote (tests/fixtures/word/make-word-fixtures.sh), each as .docx and .odt:
// the same questions come out of both.
class WrittenByAWordProcessor : public ::testing::TestWithParam<const char *> {};

TEST_P(WrittenByAWordProcessor, AutomaticNumberingFormatsPictureAndKeyTable)
{
    const QString name = QString::fromLatin1(GetParam());
    const InterchangeContent c = WordQuestions::read(
        PakBytes::readFile(QStringLiteral(ZADANIX_FIXTURES) + u"/word/automatyczna."_s + name));
    ASSERT_TRUE(c.error.isEmpty()) << c.error.toStdString();
    EXPECT_EQ(c.category, u"Przyroda – sprawdzian 3"_s);
    ASSERT_EQ(c.questions.size(), 4);
    const QList<Expected> expected{
        {u"Która roślina rośnie na łące?"_s, {u"Koniczyna"_s, u"Sosna"_s, u"Grzybień"_s}, u"100"_s},
        {u"Co widać na zdjęciu „łąka o świcie”?"_s,
         {u"Las"_s, u"Łąkę"_s, u"Morze"_s, u"Pustynię"_s},
         u"0100"_s},
        {u"Które zwierzęta żyją na łące?"_s, {u"Zając"_s, u"Foka"_s, u"Skowronek"_s, u"Rekin"_s}, u"1010"_s},
        {u"Ile nóg ma pająk?"_s, {u"6"_s, u"8"_s, u"10"_s}, u"010"_s},
    };
    for (qsizetype i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c.questions[i].text.trimmed(), expected[i].text);
        EXPECT_EQ(c.questions[i].answers, expected[i].answers);
        EXPECT_EQ(maskOf(c.questions[i]), expected[i].mask);
    }
    EXPECT_TRUE(c.questions[1].picture.startsWith("\xFF\xD8\xFF"));
    ASSERT_EQ(c.notes.size(), 2);
    EXPECT_EQ(c.notes[0].issue, Issue::Description);
    EXPECT_EQ(c.notes[0].number, 3);
    EXPECT_EQ(c.notes[1].issue, Issue::AnswerCount);
    EXPECT_EQ(c.notes[1].number, 4);
}

TEST_P(WrittenByAWordProcessor, TypedNumbersStarsLinesAndKeyLines)
{
    const QString name = QString::fromLatin1(GetParam());
    const InterchangeContent c =
        WordQuestions::read(PakBytes::readFile(QStringLiteral(ZADANIX_FIXTURES) + u"/word/reczna."_s + name));
    EXPECT_EQ(c.category, u"Matematyka – kartkówka"_s);
    expectQuestions(
        c, {
               {u"Ile to jest 2 + 2?"_s, {u"3"_s, u"4"_s, u"5"_s}, u"010"_s},
               {u"Który ułamek jest największy?"_s, {u"½"_s, u"⅓"_s, u"¼"_s}, u"100"_s},
               {u"Liczba pierwsza to:"_s, {u"4"_s, u"7"_s, u"9"_s}, u"010"_s},
               {u"Kwadrat ma boków:"_s, {u"trzy"_s, u"cztery"_s, u"pięć"_s}, u"010"_s},
               {u"Wynik działania 10 : 2 to „pięć”."_s, {u"tak"_s, u"nie"_s, u"nie wiem"_s}, u"100"_s},
               {u"Zaokrąglij 4,6 do całości."_s, {u"4"_s, u"5"_s, u"6"_s}, u"010"_s},
           });
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WrittenByAWordProcessor, ::testing::Values("docx", "odt"));

} // namespace
