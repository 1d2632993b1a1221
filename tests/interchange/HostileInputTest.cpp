#include "SampleTests.h"
#include "interchange/InterchangeFormat.h"
#include "interchange/QuestionTransfer.h"
#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"
#include "support/DocumentTest.h"

#include <functional>

using namespace Qt::StringLiterals;
using Issue = InterchangeNote::Issue;

namespace {

QByteArray repeated(const QByteArray &piece, qsizetype bytes)
{
    return piece.repeated(bytes / piece.size() + 1);
}

bool hasIssue(const InterchangeContent &c, Issue issue)
{
    return std::any_of(c.notes.begin(), c.notes.end(),
                       [issue](const InterchangeNote &n) { return n.issue == issue; });
}

TEST(HostileInput, FiftyMegabytesOfGiftStopAtTheQuestionCap)
{
    const QByteArray file = repeated("Pytanie {=a ~b ~c}\r\n\r\n", qsizetype(50) << 20);
    const InterchangeContent c = Interchange::read(InterchangeFormat::Gift, file);
    EXPECT_TRUE(c.error.isEmpty());
    EXPECT_EQ(c.questions.size(), Interchange::MaxQuestionsInFile);
    ASSERT_EQ(c.notes.size(), 1);
    EXPECT_EQ(c.notes[0].issue, Issue::TooManyQuestions);
    EXPECT_EQ(c.notes[0].line, 2 * Interchange::MaxQuestionsInFile + 1);
}

TEST(HostileInput, LargerFilesAreRefusedBeforeReading)
{
    const QByteArray file(Interchange::MaxFileBytes + 1, 'x');
    for (InterchangeFormat f : {InterchangeFormat::Moodle, InterchangeFormat::Gift, InterchangeFormat::Aiken})
        EXPECT_FALSE(Interchange::read(f, file).error.isEmpty());
}

// Files that would take time growing with the square of their size in a careless reader: five
// megabytes of each are read at once.
struct Flood {
    const char *name;
    InterchangeFormat format;
    QByteArray file;
};

QByteArray moodleText(const QByteArray &html)
{
    return "<quiz><question type=\"multichoice\"><questiontext><text>" + html +
           "</text></questiontext></question></quiz>";
}

const QList<Flood> &floods()
{
    constexpr qsizetype size = qsizetype(5) << 20;
    static const QList<Flood> list = {
        {"GiftOpeningBraces", InterchangeFormat::Gift, repeated("{", size)},
        {"GiftClosingBraces", InterchangeFormat::Gift, "Pytanie " + repeated("}", size)},
        {"GiftUnclosedBlock", InterchangeFormat::Gift, "Pytanie {" + repeated("~a =b #c ", size)},
        {"GiftBackslashes", InterchangeFormat::Gift, repeated("\\", size) + "{=a ~b ~c}"},
        {"GiftTitleColons", InterchangeFormat::Gift, "::" + repeated(":", size)},
        {"GiftWeights", InterchangeFormat::Gift, "P {" + repeated("~%", size) + "}"},
        {"AikenAnswers", InterchangeFormat::Aiken, "Pytanie\n" + repeated("A. a\n", size)},
        {"AikenText", InterchangeFormat::Aiken, repeated("A", size)},
        {"MoodleTagOpenings", InterchangeFormat::Moodle, moodleText(repeated("&lt;", size / 4))},
        {"MoodleAmpersands", InterchangeFormat::Moodle, moodleText(repeated("&amp;", size / 5))},
        {"MoodleComments", InterchangeFormat::Moodle, moodleText(repeated("&lt;!--", size / 7))},
        {"MoodlePre", InterchangeFormat::Moodle, moodleText(repeated("&lt;pre&gt;&lt;", size / 12))},
        {"MoodleQuestions", InterchangeFormat::Moodle,
         "<quiz>" + repeated("<question type=\"x\"/>", size) + "</quiz>"},
    };
    return list;
}

class Floods : public ::testing::TestWithParam<Flood> {};

TEST_P(Floods, AreReadInLinearTime)
{
    const InterchangeContent c = Interchange::read(GetParam().format, GetParam().file);
    EXPECT_LE(c.questions.size(), Interchange::MaxQuestionsInFile);
}

INSTANTIATE_TEST_SUITE_P(Files, Floods, ::testing::ValuesIn(floods()),
                         [](const ::testing::TestParamInfo<Flood> &info) {
                             return std::string(info.param.name);
                         });

TEST(HostileInput, MoodleXmlWithADocumentTypeIsRefused)
{
    const QByteArray laughs =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [\n<!ENTITY a \"aaaaaaaaaa\">\n"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n"
        "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">\n<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">\n]>\n"
        "<quiz><question "
        "type=\"multichoice\"><questiontext><text>&g;</text></questiontext></question></quiz>";
    const QByteArray external =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n"
        "<quiz><question type=\"multichoice\"><questiontext><text>&x;</text></questiontext>"
        "<answer fraction=\"100\"><text>a</text></answer><answer fraction=\"0\"><text>b</text></answer>"
        "<answer fraction=\"0\"><text>c</text></answer></question></quiz>";
    for (const QByteArray &file : {laughs, external}) {
        const InterchangeContent c = Interchange::read(InterchangeFormat::Moodle, file);
        EXPECT_TRUE(c.error.contains(u"DTD"_s)) << c.error.toStdString();
        EXPECT_TRUE(c.questions.isEmpty());
    }
    // An entity nobody declared is damage, not a fetch.
    const InterchangeContent c = Interchange::read(
        InterchangeFormat::Moodle, "<quiz><question type=\"multichoice\"><questiontext><text>&x;</text>"
                                   "</questiontext></question></quiz>");
    EXPECT_TRUE(c.questions.isEmpty());
    EXPECT_TRUE(hasIssue(c, Issue::Damaged));
}

TEST(HostileInput, DeepMoodleXmlIsRefused)
{
    const QByteArray deep = "<quiz>" + QByteArray("<a>").repeated(100000) + "</quiz>";
    EXPECT_FALSE(Interchange::read(InterchangeFormat::Moodle, deep).error.isEmpty());
    EXPECT_FALSE(Interchange::read(InterchangeFormat::Moodle, "").error.isEmpty());
    EXPECT_FALSE(Interchange::read(InterchangeFormat::Moodle, "<lista/>").error.isEmpty());
    EXPECT_FALSE(Interchange::read(InterchangeFormat::Moodle, "\x01\x02 binary").error.isEmpty());
}

TEST(AttachmentNames, AreStorableWhateverTheyCameAs)
{
    const QString longName = QString(300, u'x') + u".jpg"_s;
    const QList<std::pair<QString, QString>> cases = {
        {u"../../etc/passwd.jpg"_s, u"passwd.jpg"_s},
        {u"C:\\Users\\Ania\\Pulpit\\obraz.JPG"_s, u"obraz.JPG"_s},
        {u"/tmp/"_s, u"obraz.jpg"_s},
        {u""_s, u"obraz.jpg"_s},
        {u"..."_s, u"obraz.jpg"_s},
        {u"a:b*c?<d>|\"e.jpg"_s, u"a_b_c__d___e.jpg"_s},
        {u"日本.jpg"_s, u"__.jpg"_s},
        {u"zdjęcie\t1.jpeg"_s, u"zdjęcie_1.jpeg.jpg"_s},
        {u" kropka. .jpg"_s, u"kropka.jpg"_s},
    };
    for (const auto &[wanted, stored] : cases) {
        const QString name = QuestionTransfer::storableName(wanted, u"obraz"_s, u".jpg"_s);
        EXPECT_EQ(name, stored) << wanted.toStdString();
        EXPECT_TRUE(TVfsPAK::nameProblem(name).isEmpty());
    }
    const QString cut = QuestionTransfer::storableName(longName, u"obraz"_s, u".jpg"_s);
    EXPECT_TRUE(TVfsPAK::nameProblem(cut).isEmpty());
    EXPECT_TRUE(cut.endsWith(u".jpg"_s));
}

class StoredMembers : public DocumentTest {};

TEST_F(StoredMembers, AreUniqueAndSharedWhenTheSame)
{
    TVfsPAK &work = *t.ws.workingTest;
    EXPECT_EQ(QuestionTransfer::storeMember(work, u"obraz.jpg"_s, "A"), u"obraz.jpg"_s);
    EXPECT_EQ(QuestionTransfer::storeMember(work, u"OBRAZ.jpg"_s, "A"), u"OBRAZ.jpg"_s);
    EXPECT_EQ(QuestionTransfer::storeMember(work, u"obraz.jpg"_s, "B"), u"obraz_2.jpg"_s);
    EXPECT_EQ(QuestionTransfer::storeMember(work, u"obraz.jpg"_s, "C"), u"obraz_3.jpg"_s);
    EXPECT_EQ(QuestionTransfer::storeMember(work, u"obraz.jpg"_s, "B"), u"obraz_2.jpg"_s);
    QStringList names;
    ListMembers(names, work);
    EXPECT_EQ(names, (QStringList{u"obraz.jpg"_s, u"obraz_2.jpg"_s, u"obraz_3.jpg"_s}));
}

// A picture named with folders in a platform's file comes into the test under its bare name, and a
// second picture of that name under another one.
TEST_F(StoredMembers, PicturesWithFoldersInTheirNames)
{
    const QByteArray jpeg = SampleTests::jpeg();
    const QByteArray gif = SampleTests::gif();
    const auto question = [](const QByteArray &name, const QByteArray &bytes) {
        return "<question type=\"multichoice\"><questiontext><text><![CDATA[P <img src=\"@@PLUGINFILE@@/" +
               name + "\">]]></text><file name=\"" + name + "\" encoding=\"base64\">" + bytes.toBase64() +
               "</file></questiontext><answer fraction=\"100\"><text>a</text></answer><answer fraction=\"0\">"
               "<text>b</text></answer><answer fraction=\"0\"><text>c</text></answer></question>";
    };
    const InterchangeContent c =
        Interchange::read(InterchangeFormat::Moodle, "<quiz>" + question("../../x.jpg", jpeg) +
                                                         question("a\\b\\x.jpg", gif) + "</quiz>");
    ASSERT_EQ(c.questions.size(), 2);
    t.ws.test.resetTest();
    QList<InterchangeNote> notes;
    EXPECT_EQ(QuestionTransfer::appendToTest(t.ws.test, *t.ws.workingTest, c.questions, notes).count, 2);
    EXPECT_EQ(t.ws.test.question(1).imageName, u"x.jpg"_s);
    // The GIF keeps its content and takes the extension that says what it is.
    EXPECT_EQ(t.ws.test.question(2).imageName, u"x.gif"_s);
    EXPECT_EQ(ExtractStream(u"x.jpg", *t.ws.workingTest), jpeg);
    EXPECT_EQ(ExtractStream(u"x.gif", *t.ws.workingTest), gif);
}

} // namespace
