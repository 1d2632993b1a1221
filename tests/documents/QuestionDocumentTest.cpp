#include "documents/QuestionDocument.h"
#include "documents/QuestionMessages.h"

#include "storage/ArchiveAccess.h"
#include "storage/FieldCoding.h"
#include "storage/TVfsPAK.h"
#include "storage/TpkXML.h"
#include "support/DocumentFixtures.h"
#include "support/PakBytes.h"
#include "support/DocumentTest.h"

#include <QDate>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace DocumentFixtures;

namespace {

const QString kOpenFailed = u"Problemy z otwarciem pliku pytania.\rPrawdopodobnie plik jest uszkodzony."_s;
const QString kWriteFailed = u"Wystąpiły problemy z utworzeniem pliku pytania.\rSprawdź plik błędów."_s;
const QString kUnreadable = u"Odczyt. Błąd wczytywania pliku Sezz0."_s;

class QuestionDocument : public DocumentTest {
protected:
    bool read(const QString &p)
    {
        t.ws.question.resetSingleQuestion();
        t.ws.question.filePath = p;
        return ReadQuestionDocument(t.ws, p);
    }

    void fillSample()
    {
        SingleQuestion &q = t.ws.question;
        q.resetSingleQuestion();
        q.storedName = u"Zbiór A"_s;
        q.multipleChoice = 1;
        q.answerCount = 5;
        q.text = u"Które liczby są pierwsze?\r\nWybierz <wszystkie>."_s;
        q.answers = {u"2"_s, u"4"_s, u"5"_s, u"9"_s, u"11 & 13"_s};
        q.correct = u"10101"_s;
        q.comment = u"Pierwsza – ma dwa dzielniki."_s;
        q.textName = u"opis.TXT"_s;
        q.imageName = u"liczby.GIF"_s;
    }

};

} // namespace

TEST_F(QuestionDocument, RoundTripWithAttachmentsFromDiskAndFromTheSource)
{
    fillSample();
    const QString disk = path(u"opis z dysku.txt"_s);
    ASSERT_TRUE(PakBytes::writeFile(disk, "Liczba pierwsza ma dwa dzielniki."));
    t.ws.question.textSource = disk;
    ASSERT_TRUE(PutStream(u"liczby.GIF"_s, "GIF89a-obraz", *t.ws.workingQuestion));
    ASSERT_TRUE(PutStream(u"opis.TXT"_s, "stara treść, zastąpiona plikiem z dysku", *t.ws.workingQuestion));
    const SingleQuestion written = t.ws.question;

    ASSERT_TRUE(WriteQuestionDocument(t.ws, path(u"p.skq"_s), *t.ws.workingQuestion));
    EXPECT_EQ(memberNames(path(u"p.skq"_s)), (QStringList{u"Sezz0.xml"_s, u"opis.TXT"_s, u"liczby.GIF"_s}));

    // Members of a question read earlier: neither working copy keeps them.
    ASSERT_TRUE(PutStream(u"zbędny.JPG"_s, "x", *t.ws.workingQuestion));
    ASSERT_TRUE(PutStream(u"zbędny.JPG"_s, "x", *t.ws.workingQuestionAs));
    ASSERT_TRUE(read(path(u"p.skq"_s)));
    const SingleQuestion &q = t.ws.question;
    EXPECT_EQ(q.storedName, written.storedName);
    EXPECT_EQ(q.multipleChoice, 1);
    EXPECT_EQ(q.answerCount, 5);
    EXPECT_EQ(q.text, written.text);
    EXPECT_EQ(q.answers, written.answers);
    EXPECT_EQ(q.correct, written.correct);
    EXPECT_EQ(q.comment, written.comment);
    EXPECT_EQ(q.textName, u"opis.TXT"_s);
    EXPECT_EQ(q.imageName, u"liczby.GIF"_s);
    EXPECT_TRUE(q.textSource.isEmpty());
    EXPECT_EQ(q.savedAt, QDate::currentDate().toString(u"yyyy/MM/dd"_s));
    for (TVfsPAK *a : {t.ws.workingQuestion.get(), t.ws.workingQuestionAs.get()}) {
        EXPECT_EQ(ExtractStream(u"opis.TXT", *a), QByteArray("Liczba pierwsza ma dwa dzielniki."));
        EXPECT_EQ(ExtractStream(u"liczby.GIF", *a), QByteArray("GIF89a-obraz"));
    }
    EXPECT_FALSE(HasMember(u"zbędny.JPG", *t.ws.workingQuestion)); // emptied before the copy
    EXPECT_FALSE(HasMember(u"zbędny.JPG", *t.ws.workingQuestionAs));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(QuestionDocument, WrittenLayoutLeavesEmptyValuesOut)
{
    SingleQuestion &q = t.ws.question;
    q.resetSingleQuestion();
    q.answerCount = 3;
    q.text = u"2 + 2 = ?"_s;
    q.answers = {u"3"_s, u"4"_s, u"5"_s, QString(), QString()};
    q.correct = u"01000"_s;
    ASSERT_TRUE(WriteQuestionDocument(t.ws, path(u"p.skq"_s), *t.ws.workingQuestion));

    TpkXML doc;
    ASSERT_TRUE(loadMember(path(u"p.skq"_s), u"Sezz0.xml"_s, doc));
    TpkXMLNode *pyt = doc.DocumentChild(u"pyt");
    // "name" is empty as well: the question was never read from a file.
    EXPECT_EQ(childNames(pyt), (QStringList{u"ver"_s, u"typ"_s, u"ilo"_s, u"tr"_s, u"od1"_s, u"od2"_s,
                                            u"od3"_s, u"odp"_s, u"dtu"_s, u"cd"_s}));
    EXPECT_EQ(DecodeWide(pyt->ChildByName(u"ver")->Text()), u"Edytor - Ver.4.0"_s);
    EXPECT_EQ(DecodeWide(pyt->ChildByName(u"typ")->Text()), u"0"_s);
    EXPECT_EQ(DecodeWide(pyt->ChildByName(u"dtu")->Text()), QDate::currentDate().toString(u"yyyy/MM/dd"_s));
    EXPECT_EQ(pyt->ChildByName(u"cd")->Text(), u"tr"_s);

    ASSERT_TRUE(read(path(u"p.skq"_s)));
    EXPECT_TRUE(t.ws.question.comment.isEmpty());
    EXPECT_TRUE(t.ws.question.textName.isEmpty());
    EXPECT_TRUE(t.ws.question.answers[3].isEmpty());
    EXPECT_EQ(t.ws.question.answers[1], u"4"_s);
}

TEST_F(QuestionDocument, Version35)
{
    const QStringList lines{u"Plik pytania z 2003 r."_s,
                            u"Zbiór B"_s,
                            u"0"_s,
                            u"4"_s,
                            u"Stolica Polski?"_s,
                            u"Kraków"_s,
                            u"Warszawa"_s,
                            u"Gniezno"_s,
                            u"Łódź"_s,
                            u"0100"_s,
                            u""_s,
                            u"mapa.BMP"_s,
                            u"Od 1596 r."_s};
    const QString p =
        writeArchive(u"stare.skq"_s, {{"Sezz0.txp", codedLines(lines, t.ws.rng)}, {"mapa.BMP", "BM"}});
    t.ws.question.savedAt = u"2001/01/01"_s;
    ASSERT_TRUE(read(p));
    const SingleQuestion &q = t.ws.question;
    EXPECT_EQ(q.fileName, u"Plik pytania z 2003 r."_s);
    EXPECT_EQ(q.storedName, u"Zbiór B"_s);
    EXPECT_EQ(q.multipleChoice, 0);
    EXPECT_EQ(q.answerCount, 4);
    EXPECT_EQ(q.text, u"Stolica Polski?"_s);
    EXPECT_EQ(q.answers,
              (std::array<QString, 5>{u"Kraków"_s, u"Warszawa"_s, u"Gniezno"_s, u"Łódź"_s, QString()}));
    EXPECT_EQ(q.correct, u"0100"_s);
    EXPECT_TRUE(q.textName.isEmpty());
    EXPECT_EQ(q.imageName, u"mapa.BMP"_s);
    EXPECT_EQ(q.comment, u"Od 1596 r."_s);
    EXPECT_EQ(q.savedAt, u"2001/01/01"_s);
    EXPECT_TRUE(HasMember(u"mapa.BMP", *t.ws.workingQuestion));
}

TEST_F(QuestionDocument, PlainMarkerReadsPlainValues)
{
    const QString p = writeArchive(
        u"fa.skq"_s, {{"Sezz0.xml", "<pyt><cd>fa</cd><typ>1</typ><ilo>4</ilo>"
                                    "<tr>Jawny &amp; czytelny</tr><dtu>2010/05/06</dtu></pyt>"}});
    ASSERT_TRUE(read(p));
    EXPECT_EQ(t.ws.question.multipleChoice, 1);
    EXPECT_EQ(t.ws.question.answerCount, 4);
    EXPECT_EQ(t.ws.question.text, u"Jawny & czytelny"_s);
    EXPECT_EQ(t.ws.question.savedAt, u"2010/05/06"_s);
}

TEST_F(QuestionDocument, WritingTwiceReplacesTheEarlierFile)
{
    fillSample();
    ASSERT_TRUE(PutStream(u"liczby.GIF"_s, "GIF", *t.ws.workingQuestion));
    ASSERT_TRUE(PutStream(u"opis.TXT"_s, "txt", *t.ws.workingQuestion));
    const QString p = path(u"p.skq"_s);
    ASSERT_TRUE(WriteQuestionDocument(t.ws, p, *t.ws.workingQuestion));
    t.ws.question.imageName.clear();
    t.ws.question.text = u"Nowa treść"_s;
    ASSERT_TRUE(WriteQuestionDocument(t.ws, p, *t.ws.workingQuestion));
    EXPECT_EQ(memberNames(p), (QStringList{u"Sezz0.xml"_s, u"opis.TXT"_s}));
    EXPECT_EQ(filesIn(t.dir.path()), QStringList{u"p.skq"_s});
    ASSERT_TRUE(read(p));
    EXPECT_EQ(t.ws.question.text, u"Nowa treść"_s);
}

TEST_F(QuestionDocument, AnAttachmentThatCannotBeHadFailsTheWriteNamingItAndKeepsTheOldFile)
{
    const QString p = path(u"p.skq"_s);
    const QString gone = path(u"usunięty.gif"_s);
    struct Case {
        const char *what;
        QString imageSource;
        bool textMember;
        QString named;
    } cases[] = {
        {"image gone from disk", gone, true, gone},
        {"image source a folder", t.dir.path(), true, t.dir.path()},
        {"text in neither place", {}, false, u"opis.TXT"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        fillSample();
        t.ws.question.text = u"Pierwszy zapis"_s;
        DeleteAllMembers(*t.ws.workingQuestion);
        ASSERT_TRUE(PutStream(u"liczby.GIF"_s, "GIF89a", *t.ws.workingQuestion));
        ASSERT_TRUE(PutStream(u"opis.TXT"_s, "opis", *t.ws.workingQuestion));
        ASSERT_TRUE(WriteQuestionDocument(t.ws, p, *t.ws.workingQuestion));
        const QByteArray old = PakBytes::readFile(p);

        t.ws.question.text = u"Drugi zapis"_s;
        t.ws.question.imageSource = c.imageSource;
        if (!c.textMember)
            DeleteMember(u"opis.TXT", *t.ws.workingQuestion);
        prompts.messages.clear();
        QFile::remove(t.ws.paths.logPath);
        EXPECT_FALSE(WriteQuestionDocument(t.ws, p, *t.ws.workingQuestion));
        EXPECT_EQ(PakBytes::readFile(p), old);
        EXPECT_EQ(prompts.messageTexts(), QStringList{QuestionMessages::attachmentMissing(c.named)});
        EXPECT_TRUE(prompts.lastMessageText().contains(c.named));
        EXPECT_EQ(t.logTexts(), (QStringList{u"Pytanie solo. Ver 40. Błąd zapisu załączników do pytania."_s,
                                             u"Brak pliku załącznika: "_s + c.named}));
    }
}

TEST_F(QuestionDocument, CopyTestQuestion)
{
    TestModel &m = t.ws.test;
    m.header.multipleChoice = 1;
    m.header.answerCount = 4;
    Question &from = m.question(7);
    from.text = u"Siódme"_s;
    from.answers = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, QString()};
    from.correct = u"0011"_s + u"0"_s;
    from.imageName = u"r.JPG"_s;
    from.imageSource = u"/dysk/r.jpg"_s;
    from.textName = u"t.TXT"_s;
    from.comment = u"kom"_s;
    t.ws.question.storedName = u"z poprzedniego odczytu"_s;
    t.ws.question.imageSource = u"/stary/obraz.jpg"_s;
    t.ws.question.textSource = u"/stary/tekst.txt"_s;

    ASSERT_TRUE(CopyTestQuestion(t.ws, 7));
    const SingleQuestion &q = t.ws.question;
    EXPECT_EQ(q.multipleChoice, 1);
    EXPECT_EQ(q.answerCount, 4);
    EXPECT_EQ(q.text, u"Siódme"_s);
    EXPECT_EQ(q.answers, from.answers);
    EXPECT_EQ(q.correct, u"00110"_s);
    EXPECT_EQ(q.imageName, u"r.JPG"_s);
    EXPECT_EQ(q.textName, u"t.TXT"_s);
    EXPECT_EQ(q.comment, u"kom"_s);
    EXPECT_TRUE(q.imageSource.isEmpty());
    EXPECT_TRUE(q.textSource.isEmpty());
    EXPECT_EQ(q.storedName, u"z poprzedniego odczytu"_s);

    // The attachments then come from the test's working archive.
    ASSERT_TRUE(PutStream(u"r.JPG"_s, "jpeg", *t.ws.workingTest));
    ASSERT_TRUE(PutStream(u"t.TXT"_s, "tekst", *t.ws.workingTest));
    ASSERT_TRUE(WriteQuestionDocument(t.ws, path(u"z7.skq"_s), *t.ws.workingTest));
    EXPECT_EQ(memberNames(path(u"z7.skq"_s)), (QStringList{u"Sezz0.xml"_s, u"t.TXT"_s, u"r.JPG"_s}));

    for (int k : {0, 46, -1}) {
        EXPECT_FALSE(CopyTestQuestion(t.ws, k));
    }
    EXPECT_EQ(t.logTexts(),
              QStringList(3, u"Pytanie solo. Ver 40. Błąd przepisywania pytania do pytania solo."_s));
}

TEST_F(QuestionDocument, DamagedFiles)
{
    QByteArray deep;
    for (int i = 0; i < 50000; ++i)
        deep += "<a>";
    const QString old35 = u"Odczyt. Ver 35. Błąd dekodowania pytaniu solo."_s;
    const QString old40 = u"Odczyt. Ver 40. Błąd dekodowania pytaniu solo."_s;
    QStringList twelve{u"opis"_s, u"n"_s, u"0"_s, u"3"_s,   u"t"_s, u"a"_s,
                       u"b"_s,    u"c"_s, u""_s,  u"100"_s, u""_s,  u""_s};
    QStringList badCount = twelve;
    badCount << u"kom"_s;
    badCount[3] = u"trzy"_s;
    QStringList sevenAnswers = badCount;
    sevenAnswers[3] = u"7"_s;
    QByteArray withHole = codedLines(twelve, t.ws.rng);
    withHole.insert(withHole.indexOf("\r\n") + 2, "\r\n"); // an empty line cannot be decoded

    struct Case {
        const char *what;
        QByteArray file;
        bool present;
        bool ok;
        QStringList log;
        bool box;
    } cases[] = {
        {"no file", {}, false, false, {kUnreadable}, false},
        {"not a PACK archive", "zwykły tekst", true, false, {kUnreadable}, false},
        {"directory outside the file", PakBytes::header(5000, 128), true, false, {kUnreadable}, false},
        {"no question member", PakBytes::archive({{"opis.TXT", "x"}}), true, false, {kUnreadable}, false},
        {"truncated XML",
         PakBytes::archive({{"Sezz0.xml", "<pyt><cd>fa</cd><typ>0</typ><ilo>3</ilo><tr>Ala"}}),
         true,
         true,
         {},
         false},
        // What a damaged member loses reads as 0, and no window shows 0 answers: refused as damaged.
        {"truncated before the count",
         PakBytes::archive({{"Sezz0.xml", "<pyt><cd>fa</cd><tr>Ala"}}),
         true,
         false,
         {old40},
         true},
        {"50000 nested elements", PakBytes::archive({{"Sezz0.xml", "<pyt>" + deep}}), true, false, {old40}, true},
        {"foreign Base64 characters",
         PakBytes::archive({{"Sezz0.xml", "<pyt><cd>tr</cd><ilo>ą*ę!</ilo><tr>@@@@====</tr></pyt>"}}),
         true,
         false,
         {old40},
         true},
        {"no count", PakBytes::archive({{"Sezz0.xml", "<pyt><cd>fa</cd><typ>0</typ><tr>T</tr></pyt>"}}), true,
         false, {old40}, true},
        {"two answers", PakBytes::archive({{"Sezz0.xml", "<pyt><cd>fa</cd><typ>0</typ><ilo>2</ilo></pyt>"}}),
         true, false, {old40}, true},
        {"six answers", PakBytes::archive({{"Sezz0.xml", "<pyt><cd>fa</cd><typ>1</typ><ilo>6</ilo></pyt>"}}),
         true, false, {old40}, true},
        {"choice type 2", PakBytes::archive({{"Sezz0.xml", "<pyt><cd>fa</cd><typ>2</typ><ilo>4</ilo></pyt>"}}),
         true, false, {old40}, true},
        {"five answers, multiple choice",
         PakBytes::archive({{"Sezz0.xml", "<pyt><cd>fa</cd><typ>1</typ><ilo>5</ilo></pyt>"}}), true, true, {},
         false},
        {"version 35 cut short",
         PakBytes::archive({{"Sezz0.txp", codedLines(twelve, t.ws.rng)}}),
         true,
         false,
         {old35},
         true},
        {"version 35 count not a number",
         PakBytes::archive({{"Sezz0.txp", codedLines(badCount, t.ws.rng)}}),
         true,
         false,
         {old35},
         true},
        {"version 35 empty line", PakBytes::archive({{"Sezz0.txp", withHole}}), true, false, {old35}, true},
        {"version 35 count 7", PakBytes::archive({{"Sezz0.txp", codedLines(sevenAnswers, t.ws.rng)}}), true,
         false, {old35}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString p = path(u"zle.skq"_s);
        QFile::remove(p);
        QFile::remove(t.ws.paths.logPath);
        prompts.messages.clear();
        if (c.present) {
            ASSERT_TRUE(PakBytes::writeFile(p, c.file));
        }
        EXPECT_EQ(read(p), c.ok);
        EXPECT_EQ(t.logTexts(), c.log);
        EXPECT_EQ(prompts.messageTexts(), c.box ? QStringList{kOpenFailed} : QStringList());
        EXPECT_EQ(t.ws.question.answers.size(), 5u);
    }
}

TEST_F(QuestionDocument, FailedWriteKeepsTheOldFile)
{
    fillSample();
    ASSERT_TRUE(PutStream(u"opis.TXT"_s, "opis", *t.ws.workingQuestion));
    ASSERT_TRUE(PutStream(u"liczby.GIF"_s, "GIF89a", *t.ws.workingQuestion));
    const QString p = path(u"p.skq"_s);
    ASSERT_TRUE(WriteQuestionDocument(t.ws, p, *t.ws.workingQuestion));
    const QByteArray old = PakBytes::readFile(p);

    ASSERT_TRUE(PutStream(u"liczby.GIF"_s, QByteArray(200000, 'g'), *t.ws.workingQuestion));
    bool written = true;
    {
        FileSizeLimit limit(50000);
        written = WriteQuestionDocument(t.ws, p, *t.ws.workingQuestion);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(PakBytes::readFile(p), old);
    EXPECT_EQ(filesIn(t.dir.path()), QStringList{u"p.skq"_s});
    EXPECT_EQ(t.logTexts(), QStringList{u"Pytanie solo. Ver 40. Błąd zapisu załączników do pytania."_s});
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, kWriteFailed);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::CloseOnly);

    EXPECT_FALSE(WriteQuestionDocument(t.ws, path(u"brak/p.skq"_s), *t.ws.workingQuestion));
    EXPECT_EQ(prompts.messages.size(), 2);
}
