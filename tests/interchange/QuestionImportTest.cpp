#include "interchange/QuestionImport.h"

#include "SampleTests.h"
#include "storage/ArchiveAccess.h"
#include "support/DocumentTest.h"
#include "support/PakBytes.h"

using namespace Qt::StringLiterals;

namespace {

class QuestionImportCommand : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        t.ws.test.resetTest();
    }

    // A test of `count` single-choice questions with three answers.
    void fillTest(int count)
    {
        TestHeader &h = t.ws.test.header;
        h.testName = u"Mój test"_s;
        h.questionCount = count;
        for (int k = 1; k <= count; ++k) {
            Question &q = t.ws.test.question(k);
            q.text = u"Pytanie %1"_s.arg(k);
            q.answers = {u"a"_s, u"b"_s, u"c"_s, {}, {}};
            q.correct = u"10000"_s;
            q.unfinished = 0;
        }
    }

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString p = path(name);
        EXPECT_TRUE(PakBytes::writeFile(p, bytes));
        return p;
    }

    QuestionImport::Result chooseAndImport(const QString &p)
    {
        prompts.queueFileName(p);
        return QuestionImport::run(t.ws);
    }
};

TEST_F(QuestionImportCommand, AppendsWhatFitsAndListsWhatWasSkipped)
{
    fillTest(2);
    const QString p = file(u"pytania.txt"_s, "// z dziennika\r\n"
                                             "Stolica? {=Warszawa ~Kraków ~Gdańsk}\r\n\r\n"
                                             "Cztery? {=a ~b ~c ~d}\r\n\r\n"
                                             "Ziemia jest okrągła. {T}\r\n\r\n"
                                             "Rzeki? {=Wisła ~Tatry ~Bałtyk}\r\n");
    const QuestionImport::Result r = chooseAndImport(p);
    EXPECT_TRUE(r.chosen);
    EXPECT_EQ(r.appended, 2);
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(prompts.fileRequests[0].request.title, u"Importuj pytania"_s);

    const TestModel &m = t.ws.test;
    EXPECT_EQ(m.header.questionCount, 4);
    EXPECT_EQ(m.header.testName, u"Mój test"_s);
    EXPECT_EQ(m.question(3).text, u"Stolica?"_s);
    EXPECT_EQ(m.question(3).answers[1], u"Kraków"_s);
    EXPECT_EQ(m.question(3).correct, u"10000"_s);
    EXPECT_EQ(m.question(3).unfinished, 0);
    EXPECT_EQ(m.question(4).text, u"Rzeki?"_s);

    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::WarningIcon);
    EXPECT_EQ(prompts.messages[0].text,
              u"Dołączono pytania: 2.\r\r"
              u"Pytanie 2 (wiersz 4): pominięte: inna liczba odpowiedzi lub rodzaj wyboru niż w teście.\r"
              u"Pytanie 3 (wiersz 6): pominięte: pytanie typu \"true/false\", nie wielokrotnego wyboru."_s);
}

TEST_F(QuestionImportCommand, AnEmptyTestTakesItsShapeAndNameFromTheFile)
{
    const QByteArray jpeg = SampleTests::jpeg();
    const QString p = file(
        u"bank.xml"_s,
        "<?xml version=\"1.0\"?><quiz><question type=\"category\"><category><text>$course$/top/Fizyka</text>"
        "</category></question><question type=\"multichoice\"><questiontext><text><![CDATA[<pre "
        "title=\"opis.txt\">"
        "Ciało spada.</pre><p>Co działa?</p><img src=\"@@PLUGINFILE@@/spadek.jpg\">]]></text>"
        "<file name=\"spadek.jpg\" encoding=\"base64\">" +
            jpeg.toBase64() +
            "</file></questiontext><single>false</single>"
            "<answer fraction=\"50\"><text>grawitacja</text></answer><answer "
            "fraction=\"50\"><text>opór</text>"
            "</answer><answer fraction=\"0\"><text>magnes</text></answer><answer "
            "fraction=\"0\"><text>nic</text>"
            "</answer></question></quiz>");
    EXPECT_EQ(chooseAndImport(p).appended, 1);
    const TestModel &m = t.ws.test;
    EXPECT_EQ(m.header.testName, u"Fizyka"_s);
    EXPECT_EQ(m.header.answerCount, 4);
    EXPECT_EQ(m.header.multipleChoice, 1);
    EXPECT_EQ(m.question(1).correct, u"11000"_s);
    EXPECT_EQ(m.question(1).imageName, u"spadek.jpg"_s);
    EXPECT_EQ(m.question(1).textName, u"opis.txt"_s);
    EXPECT_EQ(ExtractStream(u"spadek.jpg", *t.ws.workingTest), jpeg);
    EXPECT_EQ(ExtractStream(u"opis.txt", *t.ws.workingTest), QByteArray("Ciało spada.").replace("ł", "\xB3"));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::InfoIcon);
    EXPECT_EQ(prompts.messages[0].text, u"Dołączono pytania: 1."_s);
}

TEST_F(QuestionImportCommand, StopsAtFortyFiveQuestions)
{
    fillTest(43);
    const QString p =
        file(u"a.txt"_s, "P1\nA. a\nB. b\nC. c\nANSWER: A\n\nP2\nA. a\nB. b\nC. c\nANSWER: B\n\n"
                         "P3\nA. a\nB. b\nC. c\nANSWER: C\n\nP4\nA. a\nB. b\nC. c\nANSWER: A\n");
    EXPECT_EQ(chooseAndImport(p).appended, 2);
    EXPECT_EQ(t.ws.test.header.questionCount, 45);
    EXPECT_EQ(t.ws.test.question(45).text, u"P2"_s);
    EXPECT_EQ(prompts.lastMessageText(),
              u"Dołączono pytania: 2.\r\r"
              u"Pytanie 3 (wiersz 13): pominięte: test mieści najwyżej 45 pytań.\r"
              u"Pytanie 4 (wiersz 19): pominięte: test mieści najwyżej 45 pytań."_s);

    // A full test does not ask for a file.
    prompts.messages.clear();
    EXPECT_FALSE(QuestionImport::run(t.ws).chosen);
    EXPECT_TRUE(prompts.fileRequests.size() == 1);
    EXPECT_EQ(prompts.lastMessageText(), u"Test zawiera już 45 pytań; nie można dołączyć następnych."_s);
}

TEST_F(QuestionImportCommand, ListsAtMostFifteenNotes)
{
    QByteArray bad;
    for (int i = 0; i < 20; ++i)
        bad += "Pytanie {T}\n\n";
    EXPECT_EQ(chooseAndImport(file(u"zle.gift"_s, bad)).appended, 0);
    const QStringList lines = prompts.lastMessageText().split(u'\r');
    ASSERT_EQ(lines.size(), 2 + QuestionImport::MaxListedNotes + 1);
    EXPECT_EQ(lines[0], u"Nie dołączono żadnego pytania z pliku zle.gift."_s);
    EXPECT_EQ(lines.last(), u"… i 5 dalszych uwag."_s);
    EXPECT_EQ(t.ws.test.header.questionCount, 0);
}

TEST_F(QuestionImportCommand, CancelAndUnreadableFilesChangeNothing)
{
    fillTest(1);
    prompts.queueFileName({});
    EXPECT_FALSE(QuestionImport::run(t.ws).chosen);
    EXPECT_TRUE(prompts.messages.isEmpty());

    const QString p = file(u"zly.xml"_s, "<?xml version=\"1.0\"?><!DOCTYPE quiz [<!ENTITY x \"y\">]><quiz/>");
    const QuestionImport::Result r = chooseAndImport(p);
    EXPECT_TRUE(r.chosen);
    EXPECT_EQ(r.appended, 0);
    EXPECT_EQ(t.ws.test.header.questionCount, 1);
    EXPECT_EQ(prompts.lastMessageText(),
              u"Nie udało się odczytać pytań z pliku zly.xml.\rPlik nie jest w formacie "
              u"Moodle XML, GIFT ani Aiken, nie jest dokumentem Word (.docx) ani Writer (.odt) albo jest "
              u"uszkodzony."_s);
    EXPECT_TRUE(t.logTexts().last().contains(u"DTD"_s));

    EXPECT_EQ(QuestionImport::importFile(t.ws, path(u"nie ma.txt"_s)).appended, 0);
    EXPECT_EQ(prompts.messages.size(), 2);
}

} // namespace
