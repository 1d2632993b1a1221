#include "question/QuestionInfo.h"

#include "QuestionFixture.h"
#include "question/QuestionProperties.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/TVfsPAK.h"

using namespace Qt::StringLiterals;

namespace {

const QString kFits =
    u"Typ pytania i ilość odpowiedzi zgodna z tworzonym testem. Pytanie można dołączyć do testu"_s;
const QString kMisfit =
    u"Typ pytania lub ilość odpowiedzi niezgodne z tworzonym testem. Pytania nie można dołączyć "
    u"do testu. "_s;

class Info : public QuestionFixture {
protected:
    // A four-answer multiple-choice question read from "zadanie.skq", offered to a matching test.
    void SetUp() override
    {
        QuestionFixture::SetUp();
        t.ws.workMode = WorkTest;
        t.ws.test.header.answerCount = 4;
        t.ws.test.header.multipleChoice = 1;
        SingleQuestion &q = t.ws.question;
        q.fileName = u"zadanie.skq"_s;
        q.multipleChoice = 1;
        q.answerCount = 4;
        q.text = u"Które miasta leżą nad Wisłą?"_s;
        q.answers = {u"Kraków"_s, u"Poznań"_s, u"Toruń"_s, u"Łódź"_s, QString()};
        q.correct = u"10100"_s;
        q.comment = u"Wisła płynie przez Kraków i Toruń."_s;
    }
    void questionMember(const QString &name, QByteArrayView bytes)
    {
        ASSERT_TRUE(PutStream(name, bytes, *t.ws.workingQuestion));
    }
    void testMember(const QString &name, QByteArrayView bytes)
    {
        ASSERT_TRUE(PutStream(name, bytes, *t.ws.workingTest));
    }
    QByteArray inTest(const QString &name) const
    {
        return ExtractStream(name, *t.ws.workingTest).value_or(QByteArray("<absent>"));
    }
    QStringList testMembers() const
    {
        QStringList names;
        ListMembers(names, *t.ws.workingTest);
        return names;
    }
    QuestionInfo info{t.ws, &link};
};

} // namespace

TEST_F(Info, ReportLabels)
{
    const QuestionInfo::Report r = info.fillInfoReport();
    EXPECT_EQ(r.fileLine, u"Info o pliku: zadanie.skq"_s);
    EXPECT_EQ(r.typeLine, u"Test wielokrotnego wyboru"_s);
    EXPECT_EQ(r.countLine, u"Ilość odpowiedzi: 4"_s);
    EXPECT_EQ(r.text, u"Które miasta leżą nad Wisłą?"_s);
    EXPECT_EQ(r.answers[0], u"Kraków"_s);
    EXPECT_EQ(r.answers[3], u"Łódź"_s);
    EXPECT_EQ(r.answers[4], QString());
    EXPECT_EQ(r.correctLine, u"Poprawne odpowiedzi:   Nr 1  Nr 3"_s);
    EXPECT_EQ(r.textLine, u"Pytaniu nie towarzyszy dodatkowy tekst"_s);
    EXPECT_EQ(r.imageLine, u"Pytaniu nie towarzyszy obraz"_s);
    EXPECT_EQ(r.commentLine, u"Wisła płynie przez Kraków i Toruń."_s);
    EXPECT_EQ(r.verdict, kFits);
    EXPECT_TRUE(r.fits);

    SingleQuestion &q = t.ws.question;
    q.multipleChoice = 0;
    q.correct = u"01010"_s;
    q.textName = u"opis.txt"_s;
    q.imageName = u"mapa.gif"_s;
    q.comment.clear();
    const QuestionInfo::Report s = info.fillInfoReport();
    EXPECT_EQ(s.typeLine, u"Test jednokrotnego wyboru"_s);
    EXPECT_EQ(s.correctLine, u"Poprawne odpowiedzi:   Nr 2  Nr 4"_s);
    EXPECT_EQ(s.textLine, u"Plik tekstu: opis.txt"_s);
    EXPECT_EQ(s.imageLine, u"Plik obrazu: mapa.gif"_s);
    EXPECT_EQ(s.commentLine, u"Brak komentarza do pytania"_s);
}

// The fifth answer has a line of its own and its mark is reported, only for a five-answer question.
TEST_F(Info, FifthAnswerIsShownForAFiveAnswerQuestion)
{
    SingleQuestion &q = t.ws.question;
    q.answers[4] = u"Gdańsk"_s;
    q.correct = u"00001"_s;
    EXPECT_EQ(info.fillInfoReport().answers[4], QString());
    EXPECT_EQ(info.fillInfoReport().correctLine, u"Poprawne odpowiedzi: "_s);
    q.answerCount = 5;
    EXPECT_EQ(info.fillInfoReport().answers[4], u"Gdańsk"_s);
    EXPECT_EQ(info.fillInfoReport().correctLine, u"Poprawne odpowiedzi:   Nr 5"_s);
}

TEST_F(Info, VerdictComparesTypeAndCount)
{
    const struct {
        int testCount, testType;
        bool fits;
    } cases[] = {{4, 1, true}, {3, 1, false}, {4, 0, false}, {5, 1, false}};
    for (const auto &c : cases) {
        t.ws.test.header.answerCount = c.testCount;
        t.ws.test.header.multipleChoice = c.testType;
        const QuestionInfo::Report r = info.fillInfoReport();
        EXPECT_EQ(r.fits, c.fits) << c.testCount << " " << c.testType;
        EXPECT_EQ(r.verdict, c.fits ? kFits : kMisfit);
    }
    // A question that does not fit is never added.
    EXPECT_EQ(info.addQuestionFromFile(), QuestionInfo::Outcome::NotAdded);
    EXPECT_EQ(t.ws.test.header.questionCount, 0);
}

TEST_F(Info, AddingAppendsTheQuestionDoneAndModified)
{
    t.ws.test.header.questionCount = 2;
    t.ws.question.answerCount = 5;
    t.ws.test.header.answerCount = 5;
    t.ws.question.answers[4] = u"Gdańsk"_s;
    EXPECT_EQ(info.addQuestionFromFile(), QuestionInfo::Outcome::Added);
    EXPECT_EQ(t.ws.test.header.questionCount, 3);
    const Question &r = t.ws.test.question(3);
    EXPECT_EQ(r.text, u"Które miasta leżą nad Wisłą?"_s);
    EXPECT_EQ(r.answers[4], u"Gdańsk"_s);
    EXPECT_EQ(r.correct, u"10100"_s);
    EXPECT_EQ(r.comment, u"Wisła płynie przez Kraków i Toruń."_s);
    EXPECT_EQ(r.unfinished, 0);
    EXPECT_EQ(r.textName, QString());
    EXPECT_TRUE(testMembers().isEmpty());
    EXPECT_EQ(link.appended, QList<int>{3});
    EXPECT_EQ(link.modifiedCalls, 1);
}

TEST_F(Info, AttachmentsWithoutClashAreCopied)
{
    t.ws.question.textName = u"opis.txt"_s;
    t.ws.question.imageName = u"mapa.GIF"_s;
    questionMember(u"opis.txt"_s, "tekst");
    questionMember(u"mapa.GIF"_s, "obraz");
    EXPECT_EQ(info.addQuestionFromFile(), QuestionInfo::Outcome::Added);
    EXPECT_EQ(inTest(u"opis.txt"_s), "tekst");
    EXPECT_EQ(inTest(u"mapa.GIF"_s), "obraz");
    const Question &r = t.ws.test.question(1);
    EXPECT_EQ(r.textName, u"opis.txt"_s);
    EXPECT_EQ(r.imageName, u"mapa.GIF"_s);
    EXPECT_EQ(r.textSource, QString());
    EXPECT_EQ(t.ws.lastAttachments.textName, u"opis.txt"_s);
    EXPECT_EQ(t.ws.lastAttachments.imageName, u"mapa.GIF"_s);
    EXPECT_TRUE(prompts.clashRequests.isEmpty());
}

TEST_F(Info, ClashAnswers)
{
    const struct {
        ClashAnswer::Result text;
        const char16_t *textTyped;
        ClashAnswer::Result image; // asked only when the text was not cancelled
        const char16_t *imageTyped;
        bool added;
        const char16_t *textName;
        const char16_t *imageName;
        QStringList members;
    } cases[] = {
        {ClashAnswer::OtherFile,
         u"inny.dat",
         ClashAnswer::SameFile,
         u"",
         true,
         u"inny.txt",
         u"mapa.GIF",
         {u"opis.txt"_s, u"mapa.GIF"_s, u"inny.txt"_s}},
        {ClashAnswer::SameFile,
         u"",
         ClashAnswer::OtherFile,
         u"kat/plan",
         true,
         u"opis.txt",
         u"plan.GIF",
         {u"opis.txt"_s, u"mapa.GIF"_s, u"plan.GIF"_s}},
        {ClashAnswer::Cancel,
         u"",
         ClashAnswer::SameFile,
         u"",
         false,
         u"",
         u"",
         {u"opis.txt"_s, u"mapa.GIF"_s}},
        {ClashAnswer::SameFile,
         u"",
         ClashAnswer::Cancel,
         u"",
         false,
         u"",
         u"",
         {u"opis.txt"_s, u"mapa.GIF"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.text) + " " + std::to_string(c.image));
        ASSERT_TRUE(DeleteAllMembers(*t.ws.workingTest));
        t.ws.test.resetTest();
        t.ws.test.header.answerCount = 4;
        t.ws.test.header.multipleChoice = 1;
        link.appended.clear();
        prompts.clashRequests.clear();
        testMember(u"opis.txt"_s, Cp1250::fromUnicode(u"w teście"));
        testMember(u"mapa.GIF"_s, "obraz w teście");
        questionMember(u"OPIS.txt"_s, "z pytania");
        questionMember(u"mapa.GIF"_s, "obraz z pytania");
        t.ws.question.textName = u"OPIS.txt"_s;
        t.ws.question.imageName = u"mapa.GIF"_s;
        prompts.queueClash(c.text, QString::fromUtf16(c.textTyped));
        if (c.text != ClashAnswer::Cancel)
            prompts.queueClash(c.image, QString::fromUtf16(c.imageTyped));

        EXPECT_EQ(info.addQuestionFromFile(),
                  c.added ? QuestionInfo::Outcome::Added : QuestionInfo::Outcome::NotAdded);
        EXPECT_EQ(prompts.clashRequests[0].inTestText, u"w teście"_s);
        EXPECT_EQ(prompts.clashRequests[0].incomingText, u"z pytania"_s);
        EXPECT_EQ(t.ws.test.header.questionCount, c.added ? 1 : 0);
        EXPECT_EQ(link.appended.size(), c.added ? 1 : 0);
        if (c.added) {
            EXPECT_EQ(t.ws.test.question(1).textName.toLower(), QString::fromUtf16(c.textName).toLower());
            EXPECT_EQ(t.ws.test.question(1).imageName, QString::fromUtf16(c.imageName));
        }
        EXPECT_EQ(testMembers(), c.members);
        EXPECT_EQ(inTest(u"opis.txt"_s), Cp1250::fromUnicode(u"w teście"));
    }
}

// A typed name the test already holds (ignoring case) would replace that file for every question using
// it: refused, and nothing is added.
TEST_F(Info, ATypedNameInUseIsRefused)
{
    t.ws.test.header.answerCount = 4;
    t.ws.test.header.multipleChoice = 1;
    testMember(u"opis.txt"_s, Cp1250::fromUnicode(u"w teście"));
    testMember(u"plan.GIF"_s, "plan w teście");
    questionMember(u"opis.txt"_s, "z pytania");
    t.ws.question.textName = u"opis.txt"_s;
    prompts.queueClash(ClashAnswer::OtherFile, u"kat/OPIS.dat"_s);
    EXPECT_EQ(info.addQuestionFromFile(), QuestionInfo::Outcome::NotAdded);
    EXPECT_EQ(prompts.messageTexts(),
              QStringList{u"W teście jest już plik o nazwie „OPIS.txt”.\rWpisz inną nazwę pliku."_s});
    EXPECT_EQ(t.ws.test.header.questionCount, 0);
    EXPECT_EQ(testMembers(), (QStringList{u"opis.txt"_s, u"plan.GIF"_s}));

    prompts.queueClash(ClashAnswer::OtherFile, u"opis2"_s);
    EXPECT_EQ(info.addQuestionFromFile(), QuestionInfo::Outcome::Added);
    EXPECT_EQ(t.ws.test.question(1).textName, u"opis2.txt"_s);
    EXPECT_EQ(testMembers(), (QStringList{u"opis.txt"_s, u"plan.GIF"_s, u"opis2.txt"_s}));
    EXPECT_EQ(inTest(u"opis.txt"_s), Cp1250::fromUnicode(u"w teście"));
    EXPECT_EQ(inTest(u"opis2.txt"_s), "z pytania");
}

TEST_F(Info, AMissingAttachmentIsLeftOutAndSaid)
{
    t.ws.question.textName = u"zgubiony.txt"_s;
    EXPECT_EQ(info.addQuestionFromFile(), QuestionInfo::Outcome::Added);
    EXPECT_EQ(t.ws.test.question(1).textName, QString());
    EXPECT_TRUE(prompts.lastMessageText().contains(u"zgubiony.txt"_s));
    EXPECT_TRUE(testMembers().isEmpty());
}

TEST_F(Info, AFullTestTakesNoMore)
{
    t.ws.test.header.questionCount = kMaxQuestions;
    EXPECT_EQ(info.addQuestionFromFile(), QuestionInfo::Outcome::NotAdded);
    EXPECT_EQ(t.ws.test.header.questionCount, kMaxQuestions);
    EXPECT_EQ(prompts.messages.size(), 1);
}

// --- Properties ------------------------------------------------------------------------------------

TEST_F(Info, PropertiesOfATestQuestionAsStored)
{
    t.ws.test.header.questionCount = 1;
    Question &q = t.ws.test.question(1);
    q.text = u"Pytanie"_s;
    q.answers[0] = u"Odpowiedź, która ma znacznie więcej niż siedemdziesiąt znaków, więc zostanie ucięta."_s;
    q.answers[1] = QString(80, u'x');
    q.correct = u"01001"_s;
    q.textName = u"opis.txt"_s;
    q.imageName = u"zepsuty.jpg"_s;
    testMember(u"opis.txt"_s, "Ala\r\nma  kota");
    testMember(u"zepsuty.jpg"_s, "nie JPEG");
    const QuestionProperties p = QuestionProperties::fromTestQuestion(t.ws, 1);
    EXPECT_EQ(p.text, u"Pytanie"_s);
    EXPECT_EQ(p.answers[0], u"Odpowiedź, która ma znacznie więcej niż siedemdziesiąt znaków, więc "_s);
    EXPECT_EQ(p.answers[1], QString());
    EXPECT_EQ(p.correctLine, u"Poprawne odpowiedzi:   Nr 2  Nr 5"_s);
    EXPECT_EQ(p.comment, u"Brak komentarza do pytania"_s);
    EXPECT_EQ(p.fragment, u"Ala ma kota "_s);
    // A damaged picture: the panel says so, the log has it.
    EXPECT_TRUE(p.pictureShown);
    EXPECT_TRUE(p.picture.isNull());
    EXPECT_TRUE(p.pictureNote.contains(u"zepsuty.jpg"_s));
    EXPECT_TRUE(t.logTexts().contains(u"Problem z wczytaniem pliku obrazu z PakTemp"_s));

    q.textName.clear();
    q.imageName = u"dobry.bmp"_s;
    testMember(u"dobry.bmp"_s, bmp(7, 5));
    const QuestionProperties r = QuestionProperties::fromTestQuestion(t.ws, 1);
    EXPECT_EQ(r.fragment, u"Pytanie nie zawiera dodatkowego tekstu"_s);
    EXPECT_EQ(r.picture.size(), QSize(7, 5));
}

TEST_F(Info, PropertiesFromTheEditorInATestUseTheFieldsAsTyped)
{
    t.ws.test.header.questionCount = 1;
    t.ws.test.header.multipleChoice = 0;
    t.ws.test.question(1).text = u"zapisane"_s;
    ASSERT_TRUE(editor.fillFromTest(1));
    editor.fields.text = u"wpisane"_s;
    editor.fields.answers[2] = u"trzecia"_s;
    editor.fields.comment = u"uwaga"_s;
    editor.fields.radio = 3;
    const QuestionProperties p = QuestionProperties::fromEditorInTest(editor);
    EXPECT_EQ(p.text, u"wpisane"_s);
    EXPECT_EQ(p.answers[2], u"trzecia"_s);
    EXPECT_EQ(p.comment, u"uwaga"_s);
    EXPECT_EQ(p.correctLine, u"Poprawne odpowiedzi:   Nr 3"_s);
    EXPECT_FALSE(p.pictureShown);

    t.ws.test.header.multipleChoice = 1;
    editor.fields.checked = {true, false, false, true, true};
    EXPECT_EQ(QuestionProperties::fromEditorInTest(editor).correctLine,
              u"Poprawne odpowiedzi:   Nr 1  Nr 4  Nr 5"_s);
}

TEST_F(Info, PropertiesOfASingleQuestion)
{
    t.ws.workMode = WorkSingleQuestion;
    editor.newSingleQuestion();
    SingleQuestion &q = t.ws.question;
    // Nothing read and nothing typed.
    QuestionProperties p = QuestionProperties::fromSingle(editor);
    EXPECT_EQ(p.text, u"Brak pytania"_s);
    EXPECT_EQ(p.answers[0], u"Brak odpowiedzi"_s);
    EXPECT_EQ(p.answers[3], QString());
    EXPECT_EQ(p.fragment, u"Pytanie nie zawiera dodatkowego\rpliku tekstowego"_s);
    EXPECT_FALSE(p.pictureShown);
    EXPECT_EQ(p.comment, u"Brak komentarza do pytania"_s);

    // Read from a file, then edited: the stored text wins over the typed one; texts are not shortened.
    q.text = u"z pliku"_s;
    q.answerCount = 4;
    q.answers[3] = QString(90, u'y');
    q.correct = u"00010"_s;
    editor.fields.text = u"wpisane"_s;
    editor.fields.answers[1] = u"druga wpisana"_s;
    editor.fields.comment = u"komentarz w oknie"_s;
    q.textName = u"opis.txt"_s;
    ASSERT_TRUE(PutStream(u"opis.txt"_s, "pierwszy\r\ndrugi", *t.ws.workingQuestion));
    p = QuestionProperties::fromSingle(editor);
    EXPECT_EQ(p.text, u"z pliku"_s);
    EXPECT_EQ(p.answers[1], u"druga wpisana"_s);
    EXPECT_EQ(p.answers[3], QString(90, u'y'));
    EXPECT_EQ(p.answers[4], QString());
    EXPECT_EQ(p.correctLine, u"Poprawne odpowiedzi:   Nr 4"_s);
    EXPECT_EQ(p.fragment, u"pierwszy\rdrugi"_s);
    EXPECT_EQ(p.comment, u"komentarz w oknie"_s);

    // The source path wins over the archive; a missing member still opens and says it is missing.
    q.textSource = diskFile(u"z dysku.txt"_s, "z dysku");
    EXPECT_EQ(QuestionProperties::fromSingle(editor).fragment, u"z dysku"_s);
    q.textSource.clear();
    q.imageName = u"brak.gif"_s;
    ASSERT_TRUE(DeleteMember(u"opis.txt"_s, *t.ws.workingQuestion));
    p = QuestionProperties::fromSingle(editor);
    EXPECT_TRUE(p.fragment.contains(u"opis.txt"_s));
    EXPECT_TRUE(p.pictureShown);
    EXPECT_TRUE(p.pictureNote.contains(u"brak.gif"_s));
}
