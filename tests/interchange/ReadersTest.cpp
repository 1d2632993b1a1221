#include "SampleTests.h"
#include "interchange/InterchangeFormat.h"
#include "storage/Cp1250.h"
#include "storage/Pictures.h"
#include "support/DocumentTest.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Issue = InterchangeNote::Issue;

namespace {

struct Expected {
    Expected(QString t, QStringList a, QString m, bool mc = false, QString c = {})
        : text(std::move(t)), answers(std::move(a)), mask(std::move(m)), multiple(mc), comment(std::move(c))
    {}
    QString text;
    QStringList answers;
    QString mask; // one character per answer
    bool multiple = false;
    QString comment;
};

QString maskOf(const InterchangeQuestion &q)
{
    QString mask;
    for (bool c : q.correct)
        mask += c ? u'1' : u'0';
    return mask;
}

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
        EXPECT_EQ(q.multipleChoice, expected[i].multiple);
        EXPECT_EQ(q.comment, expected[i].comment);
    }
}

QByteArray utf8Bom(const QString &text)
{
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QByteArray utf16Bom(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return bytes;
}

// Files as a teacher types them in Notepad: a BOM or Windows-1250, CR LF, blank lines.
TEST(HandWrittenFiles, AikenAsTyped)
{
    const QString typed =
        u"Stolica Polski to:\r\nA) Kraków\r\nB) Warszawa\r\nC) Gdańsk\r\nANSWER: B\r\n\r\n\r\n"
        u"Który miesiąc ma 28 dni?\r\nW roku przestępnym ma 29.\r\n\r\nA. styczeń\r\nB. luty\r\nC. marzec\r\n"
        u"D. kwiecień\r\nanswer:b\r\n\r\n"_s;
    const QList<Expected> expected = {
        {u"Stolica Polski to:"_s, {u"Kraków"_s, u"Warszawa"_s, u"Gdańsk"_s}, u"010"_s},
        {u"Który miesiąc ma 28 dni?\r\nW roku przestępnym ma 29."_s,
         {u"styczeń"_s, u"luty"_s, u"marzec"_s, u"kwiecień"_s},
         u"0100"_s},
    };
    for (const QByteArray &bytes : {utf8Bom(typed), Cp1250::fromUnicode(typed), utf16Bom(typed),
                                    QString(typed).replace(u"\r\n"_s, u"\n"_s).toUtf8()}) {
        EXPECT_EQ(Interchange::detectFormat(bytes), InterchangeFormat::Aiken);
        expectQuestions(Interchange::read(InterchangeFormat::Aiken, bytes), expected);
    }
}

TEST(HandWrittenFiles, GiftAsTyped)
{
    const QString typed = u"// Sprawdzian z geografii\r\n$CATEGORY: $course$/top/Geografia 5a\r\n\r\n"
                          u"::Stolica::Stolica Polski to {\r\n  =Warszawa\r\n  ~Kraków\r\n  ~Gdańsk\r\n  "
                          u"####Od 1596 roku.\r\n}\r\n"
                          u"\r\n// rzeki\r\n"
                          u"Które z nich są rzekami?\r\nZaznacz wszystkie. {\r\n~%50%Wisła "
                          u"~%50%Odra\r\n~%-100%Tatry ~Bałtyk}\r\n\r\n"
                          u"Mickiewicz urodził się w {~1797 =1798 ~1799} roku.\r\n\r\n"
                          u"::Znaki::Ile to 3\\:4 \\{dzielenie\\}? {=0,75 ~1\\=1 ~\\#3 \\~ 4}\r\n\r\n"
                          u"[html]<p>Wybierz <b>największą</b>&nbsp;liczbę</p> {=<i>10</i> ~5 ~1}\r\n\r\n"
                          // Arrows in the answers of a question with "~" answers are text, not pairs.
                          u"Jak zrobić kawę?{~idź do kawiarni -> zamów kawę =zmiel ziarna -> zalej wodą "
                          u"~kup herbatę -> zaparz}\r\n"_s;
    const QList<Expected> expected = {
        {u"Stolica Polski to"_s,
         {u"Warszawa"_s, u"Kraków"_s, u"Gdańsk"_s},
         u"100"_s,
         false,
         u"Od 1596 roku."_s},
        {u"Które z nich są rzekami?\r\nZaznacz wszystkie."_s,
         {u"Wisła"_s, u"Odra"_s, u"Tatry"_s, u"Bałtyk"_s},
         u"1100"_s,
         true},
        {u"Mickiewicz urodził się w _____ roku."_s, {u"1797"_s, u"1798"_s, u"1799"_s}, u"010"_s},
        {u"Ile to 3:4 {dzielenie}?"_s, {u"0,75"_s, u"1=1"_s, u"#3 ~ 4"_s}, u"100"_s},
        {u"Wybierz największą liczbę"_s, {u"10"_s, u"5"_s, u"1"_s}, u"100"_s},
        {u"Jak zrobić kawę?"_s,
         {u"idź do kawiarni -> zamów kawę"_s, u"zmiel ziarna -> zalej wodą"_s, u"kup herbatę -> zaparz"_s},
         u"010"_s},
    };
    for (const QByteArray &bytes : {utf8Bom(typed), Cp1250::fromUnicode(typed)}) {
        EXPECT_EQ(Interchange::detectFormat(bytes), InterchangeFormat::Gift);
        const InterchangeContent content = Interchange::read(InterchangeFormat::Gift, bytes);
        expectQuestions(content, expected);
        EXPECT_EQ(content.category, u"Geografia 5a"_s);
        EXPECT_EQ(content.questions.value(0).title, u"Stolica"_s);
    }
}

TEST(HandWrittenFiles, MoodleXmlAsAPlatformExportsIt)
{
    const QByteArray png = SampleTests::png();
    const QByteArray xml =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<quiz>\r\n"
        "<!-- question: 0  -->\r\n  <question type=\"category\">\r\n    <category>\r\n"
        "      <text>$course$/top/Biologia // klasa 7</text>\r\n    </category>\r\n  </question>\r\n"
        "  <question type=\"multichoice\">\r\n    <name><text>Komórka</text></name>\r\n"
        "    <questiontext format=\"html\">\r\n      <text><![CDATA[<p dir=\"ltr\">Kt&oacute;re organelle\r\n"
        "   ma kom\xC3\xB3rka ro\xC5\x9Blinna?</p><p>Zaznacz <strong>wszystkie</strong>.<br>"
        "<img src=\"@@PLUGINFILE@@/kom%C3%B3rka.png\" alt=\"\" width=\"12\"></p>]]></text>\r\n"
        "      <file name=\"kom\xC3\xB3rka.png\" path=\"/\" encoding=\"base64\">" +
        png.toBase64() +
        "</file>\r\n    </questiontext>\r\n"
        "    <generalfeedback format=\"html\"><text><![CDATA[<p>Chloroplasty &amp; ściana.</p>]]></text>"
        "</generalfeedback>\r\n    <defaultgrade>1.0000000</defaultgrade>\r\n    <single>false</single>\r\n"
        "    <shuffleanswers>true</shuffleanswers>\r\n"
        "    <answer fraction=\"50\" format=\"html\"><text><![CDATA[<p>chloroplasty</p>]]></text>"
        "<feedback format=\"html\"><text></text></feedback></answer>\r\n"
        "    <answer fraction=\"50\" format=\"html\"><text>ściana komórkowa</text></answer>\r\n"
        "    <answer fraction=\"-100\" format=\"html\"><text>&amp;lt;brak&amp;gt;</text></answer>\r\n"
        "  </question>\r\n"
        "  <question type=\"multichoice\">\r\n    <name><text>Plain</text></name>\r\n"
        "    <questiontext format=\"plain_text\"><text>Ile nóg\r\nma pająk?</text></questiontext>\r\n"
        "    <answer fraction=\"0\"><text>6</text></answer>\r\n    <answer "
        "fraction=\"100\"><text>8</text></answer>\r\n"
        "    <answer fraction=\"0\"><text>10</text></answer>\r\n  </question>\r\n</quiz>\r\n";
    EXPECT_EQ(Interchange::detectFormat(xml), InterchangeFormat::Moodle);
    const InterchangeContent content = Interchange::read(InterchangeFormat::Moodle, xml);
    expectQuestions(content, {
                                 {u"Które organelle ma komórka roślinna?\r\nZaznacz wszystkie."_s,
                                  {u"chloroplasty"_s, u"ściana komórkowa"_s, u"<brak>"_s},
                                  u"110"_s,
                                  true,
                                  u"Chloroplasty & ściana."_s},
                                 {u"Ile nóg\r\nma pająk?"_s, {u"6"_s, u"8"_s, u"10"_s}, u"010"_s},
                             });
    EXPECT_EQ(content.category, u"Biologia / klasa 7"_s);
    ASSERT_FALSE(content.questions.isEmpty());
    // The PNG came as a JPEG of the same size.
    const InterchangeQuestion &q = content.questions[0];
    EXPECT_EQ(q.pictureName, u"komórka.jpg"_s);
    QImage image;
    ASSERT_TRUE(decodeJpeg(q.picture, image));
    EXPECT_EQ(image.size(), QSize(12, 9));
}

struct SkipCase {
    const char *name;
    InterchangeFormat format;
    QByteArray file;
    Issue issue;
    bool kept; // the question comes in all the same
};

QByteArray moodleQuestion(const QByteArray &inside, const QByteArray &type = "multichoice")
{
    return "<?xml version=\"1.0\"?>\n<quiz>\n<question type=\"" + type + "\">\n" + inside +
           "\n</question>\n</quiz>\n";
}

QByteArray moodleAnswers(const QList<int> &fractions, const QByteArray &single = "true")
{
    QByteArray out = "<questiontext><text>Pytanie</text></questiontext><single>" + single + "</single>";
    for (qsizetype i = 0; i < fractions.size(); ++i)
        out += "<answer fraction=\"" + QByteArray::number(fractions[i]) + "\"><text>odp " +
               QByteArray::number(i) + "</text></answer>";
    return out;
}

QByteArray moodlePicture(const QByteArray &src, const QByteArray &file)
{
    return "<questiontext format=\"html\"><text><![CDATA[Co to? <img src=\"" + src + "\">]]></text>" + file +
           "</questiontext><answer fraction=\"100\"><text>a</text></answer><answer "
           "fraction=\"0\"><text>b</text>"
           "</answer><answer fraction=\"0\"><text>c</text></answer>";
}

const QList<SkipCase> &skipCases()
{
    using F = InterchangeFormat;
    static const QList<SkipCase> cases = {
        {"MoodleTrueFalse", F::Moodle, moodleQuestion(moodleAnswers({100, 0}), "truefalse"), Issue::OtherType,
         false},
        {"MoodleDescription", F::Moodle,
         moodleQuestion("<questiontext><text>Opis</text></questiontext>", "description"), Issue::Description,
         false},
        {"MoodleTwoAnswers", F::Moodle, moodleQuestion(moodleAnswers({100, 0})), Issue::AnswerCount, false},
        {"MoodleSixAnswers", F::Moodle, moodleQuestion(moodleAnswers({100, 0, 0, 0, 0, 0})),
         Issue::AnswerCount, false},
        {"MoodleNoCorrect", F::Moodle, moodleQuestion(moodleAnswers({0, 0, 0})), Issue::NoCorrectAnswer,
         false},
        {"MoodleTwoCorrectInSingle", F::Moodle, moodleQuestion(moodleAnswers({100, 100, 0})),
         Issue::SeveralCorrectInSingle, false},
        {"MoodleEmptyAnswer", F::Moodle,
         moodleQuestion(
             "<questiontext><text>P</text></questiontext><answer fraction=\"100\"><text>a</text></answer>"
             "<answer fraction=\"0\"><text> </text></answer><answer fraction=\"0\"><text>c</text></answer>"),
         Issue::EmptyAnswer, false},
        {"MoodleNoText", F::Moodle,
         moodleQuestion(
             "<answer fraction=\"100\"><text>a</text></answer><answer fraction=\"0\"><text>b</text></answer>"
             "<answer fraction=\"0\"><text>c</text></answer>"),
         Issue::NoText, false},
        {"MoodleUnequalWeights", F::Moodle, moodleQuestion(moodleAnswers({70, 30, 0}, "false")),
         Issue::WeightsSimplified, true},
        {"MoodleAnswerFeedback", F::Moodle,
         moodleQuestion(
             "<questiontext><text>P</text></questiontext><answer fraction=\"100\"><text>a</text>"
             "<feedback><text>Dobrze!</text></feedback></answer><answer fraction=\"0\"><text>b</text>"
             "</answer><answer fraction=\"0\"><text>c</text></answer>"),
         Issue::AnswerFeedbackLeftOut, true},
        {"MoodlePictureNotAPicture", F::Moodle,
         moodleQuestion(moodlePicture("@@PLUGINFILE@@/x.jpg",
                                      "<file name=\"x.jpg\" encoding=\"base64\">" +
                                          QByteArray("\xFF\xD8\xFF not a picture at all").toBase64() +
                                          "</file>")),
         Issue::PictureUnreadable, true},
        {"MoodlePictureNotBase64", F::Moodle,
         moodleQuestion(
             moodlePicture("@@PLUGINFILE@@/x.gif", "<file name=\"x.gif\" encoding=\"base64\">%%%</file>")),
         Issue::PictureUnreadable, true},
        {"MoodlePictureElsewhere", F::Moodle, moodleQuestion(moodlePicture("http://example.com/x.jpg", "")),
         Issue::PictureLeftOut, true},
        {"MoodleCutOff", F::Moodle, "<quiz><question type=\"multichoice\"><questiontext><text>P",
         Issue::Damaged, false},
        {"GiftTrueFalse", F::Gift, "Ziemia jest płaska. {F}\n", Issue::OtherType, false},
        {"GiftEssay", F::Gift, "Opisz wakacje. {}\n", Issue::OtherType, false},
        {"GiftNumerical", F::Gift, "Ile? {#3:1}\n", Issue::OtherType, false},
        {"GiftShortAnswer", F::Gift, "Stolica? {=Warszawa =warszawa}\n", Issue::OtherType, false},
        {"GiftMatching", F::Gift, "Dopasuj {=a -> 1 =b -> 2 =c -> 3}\n", Issue::OtherType, false},
        {"GiftDescription", F::Gift, "Tylko tekst bez odpowiedzi.\n", Issue::Description, false},
        {"GiftNoClosingBrace", F::Gift, "Pytanie {=a ~b ~c\n", Issue::UnbalancedBraces, false},
        {"GiftStrayClosingBrace", F::Gift, "Pytanie } {=a ~b ~c}\n", Issue::UnbalancedBraces, false},
        {"GiftTwoBlocks", F::Gift, "Pytanie {=a ~b ~c} i {=d ~e ~f}\n", Issue::SeveralAnswerBlocks, false},
        {"GiftPicture", F::Gift, "[html]Co to? <img src=\"kot.jpg\"> {=kot ~pies ~mysz}\n",
         Issue::PictureNotCarried, false},
        {"GiftTwoAnswers", F::Gift, "Tak czy nie? {=tak ~nie}\n", Issue::AnswerCount, false},
        {"GiftNoCorrect", F::Gift, "Które? {~%0%a ~b ~c}\n", Issue::NoCorrectAnswer, false},
        {"GiftPartialCredit", F::Gift, "Które? {=a ~%50%b ~c}\n", Issue::WeightsSimplified, true},
        {"AikenNoAnswerLine", F::Aiken, "Pytanie\nA. a\nB. b\nC. c\n", Issue::NoAnswerLine, false},
        {"AikenLetterOfNoAnswer", F::Aiken, "Pytanie\nA. a\nB. b\nC. c\nANSWER: F\n", Issue::BadAnswerLetter,
         false},
        {"AikenTwoLetters", F::Aiken, "Pytanie\nA. a\nB. b\nC. c\nANSWER: A, C\n", Issue::BadAnswerLetter,
         false},
        {"AikenTwoAnswers", F::Aiken, "Pytanie\nA. a\nB. b\nANSWER: A\n", Issue::AnswerCount, false},
        {"AikenSixAnswers", F::Aiken, "Pytanie\nA. a\nB. b\nC. c\nD. d\nE. e\nF. f\nANSWER: A\n",
         Issue::AnswerCount, false},
        {"AikenNoAnswers", F::Aiken, "Pytanie\nANSWER: A\n", Issue::AnswerCount, false},
        {"AikenTextOnly", F::Aiken, "Tylko tekst.\n", Issue::Description, false},
    };
    return cases;
}

class SkipNotes : public ::testing::TestWithParam<SkipCase> {};

// A question that cannot come in is named with the reason; one that comes in without a part says so.
TEST_P(SkipNotes, NameThePlaceAndTheReason)
{
    const SkipCase &c = GetParam();
    // A sound question after the faulty one shows the reader goes on.
    const QByteArray sound = c.format == InterchangeFormat::Gift ? "\n\nDobre {=a ~b ~c}\n"
                             : c.format == InterchangeFormat::Aiken
                                 ? "\n\nDobre\nA. a\nB. b\nC. c\nANSWER: A\n"
                                 : "";
    const InterchangeContent content = Interchange::read(c.format, c.file + sound);
    ASSERT_TRUE(content.error.isEmpty()) << content.error.toStdString();
    ASSERT_EQ(content.notes.size(), 1);
    const InterchangeNote &n = content.notes[0];
    EXPECT_EQ(n.issue, c.issue) << n.englishText().toStdString();
    EXPECT_EQ(n.skipsQuestion(), !c.kept && c.issue != Issue::Damaged);
    EXPECT_GT(n.line, 0);
    EXPECT_FALSE(n.polishText().isEmpty());
    const qsizetype soundCount = sound.isEmpty() ? 0 : 1;
    EXPECT_EQ(content.questions.size(), (c.kept ? 1 : 0) + soundCount);
}

INSTANTIATE_TEST_SUITE_P(Reasons, SkipNotes, ::testing::ValuesIn(skipCases()),
                         [](const ::testing::TestParamInfo<SkipCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(SkipNotes, GiveLineAndNumberInEnglishAndPolish)
{
    const InterchangeContent content =
        Interchange::read(InterchangeFormat::Gift, "Dobre {=a ~b ~c}\n\n// komentarz\nZłe {T}\n");
    ASSERT_EQ(content.notes.size(), 1);
    EXPECT_EQ(content.notes[0].englishText(),
              u"question 2 (line 4): skipped: a question of type \"true/false\", not multiple choice."_s);
    EXPECT_EQ(content.notes[0].polishText(),
              u"Pytanie 2 (wiersz 4): pominięte: pytanie typu \"true/false\", nie wielokrotnego wyboru."_s);
}

} // namespace
