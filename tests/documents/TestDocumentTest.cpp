#include "documents/TestDocument.h"

#include "storage/ArchiveAccess.h"
#include "storage/FieldCoding.h"
#include "storage/PendingArchive.h"
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

const QString kOpenFailed = u"Problemy z otwarciem pliku testu.\rPrawdopodobnie plik jest uszkodzony."_s;

class TestDocument : public DocumentTest {
protected:
    QString writeXml(const QString &name, const QByteArray &xml,
                     const QList<std::pair<QByteArray, QByteArray>> &more = {})
    {
        QList<std::pair<QByteArray, QByteArray>> members{{"Serr0.xml", xml}};
        members += more;
        return writeArchive(name, members);
    }

    // A test of three questions with attachments in the working archive.
    void fillSample()
    {
        TestModel &m = t.ws.test;
        m.resetTest();
        TestHeader &h = m.header;
        h.answerCount = 4;
        h.multipleChoice = 1;
        h.questionCount = 3;
        h.time = 45;
        h.testName = u"Ułamki zwykłe & dziesiętne"_s;
        h.author = u"Zofia Żółć"_s;
        h.date = u"2024-03-05"_s;
        h.remarks = u"Dla klasy 5b.\r\nPowtórka <przed> sprawdzianem."_s;
        h.gradingOn = 1;
        h.thresholds = {91, 81, 71, 61, 41};
        for (int k = 1; k <= 3; ++k) {
            Question &q = m.question(k);
            q.text = u"Pytanie nr %1: ile to ½ + ¼?"_s.arg(k);
            for (int a = 0; a < 4; ++a)
                q.answers[static_cast<size_t>(a)] = u"odp %1.%2 ąę"_s.arg(k).arg(a + 1);
            q.correct = k == 1 ? u"10000"_s : u"01100"_s;
            q.comment = k == 2 ? u"Komentarz"_s : QString();
            q.unfinished = 0;
        }
        m.question(1).imageName = u"obraz.JPG"_s;
        m.question(2).imageName = u"obraz.JPG"_s; // shared
        m.question(2).textName = u"tekst.TXT"_s;
        ASSERT_TRUE(PutStream(u"obraz.JPG"_s, QByteArray(5000, 'j'), *t.ws.workingTest));
        ASSERT_TRUE(PutStream(u"tekst.TXT"_s, "Ala ma kota.\r\n", *t.ws.workingTest));
        ASSERT_TRUE(PutStream(u"niepotrzebny.GIF"_s, "GIF89a", *t.ws.workingTest)); // named by nobody
    }

};

void expectSameTest(const TestModel &a, const TestModel &b)
{
    EXPECT_EQ(a.header.answerCount, b.header.answerCount);
    EXPECT_EQ(a.header.multipleChoice, b.header.multipleChoice);
    EXPECT_EQ(a.header.questionCount, b.header.questionCount);
    EXPECT_EQ(a.header.time, b.header.time);
    EXPECT_EQ(a.header.testName, b.header.testName);
    EXPECT_EQ(a.header.author, b.header.author);
    EXPECT_EQ(a.header.date, b.header.date);
    EXPECT_EQ(a.header.remarks, b.header.remarks);
    EXPECT_EQ(a.header.gradingOn, b.header.gradingOn);
    EXPECT_EQ(a.header.thresholds, b.header.thresholds);
    for (int k = 1; k <= kMaxQuestions; ++k) {
        const Question &p = a.question(k);
        const Question &q = b.question(k);
        EXPECT_EQ(p.text, q.text) << k;
        EXPECT_EQ(p.answers, q.answers) << k;
        EXPECT_EQ(p.correct, q.correct) << k;
        EXPECT_EQ(p.imageName, q.imageName) << k;
        EXPECT_EQ(p.textName, q.textName) << k;
        EXPECT_EQ(p.comment, q.comment) << k;
        EXPECT_EQ(p.unfinished, q.unfinished) << k;
    }
}

} // namespace

TEST_F(TestDocument, RoundTripKeepsEveryFieldAndTheAttachments)
{
    fillSample();
    const TestModel written = t.ws.test;
    ASSERT_TRUE(WriteTestDocument(t.ws, path(u"ułamki.skt"_s)));

    ASSERT_TRUE(DeleteAllMembers(*t.ws.workingTest));
    t.ws.test.resetTest();
    ASSERT_TRUE(ReadTestDocument(t.ws, path(u"ułamki.skt"_s)));
    expectSameTest(t.ws.test, written);
    QStringList members;
    ListMembers(members, *t.ws.workingTest);
    EXPECT_EQ(members, (QStringList{u"Serr0.xml"_s, u"obraz.JPG"_s, u"tekst.TXT"_s}));
    EXPECT_EQ(ExtractStream(u"tekst.TXT", *t.ws.workingTest), QByteArray("Ala ma kota.\r\n"));
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_TRUE(t.logTexts().isEmpty());
}

TEST_F(TestDocument, WrittenLayoutIsFixed)
{
    fillSample();
    ASSERT_TRUE(WriteTestDocument(t.ws, path(u"t.skt"_s)));

    // The shared picture is stored once; the unnamed member of the working archive is not.
    EXPECT_EQ(memberNames(path(u"t.skt"_s)), (QStringList{u"Serr0.xml"_s, u"obraz.JPG"_s, u"tekst.TXT"_s}));
    TVfsPAK pak;
    ASSERT_TRUE(pak.Open(path(u"t.skt"_s), TVfsPAK::Mode::ReadOnly));
    const QByteArray raw = pak.Extract(u"Serr0.xml").value_or(QByteArray());
    EXPECT_TRUE(raw.startsWith("<?xml")) << raw.left(60).toStdString();
    EXPECT_TRUE(raw.contains("WINDOWS-1250"));

    TpkXML doc;
    ASSERT_TRUE(doc.LoadFromBytes(raw));
    TpkXMLNode *tst = doc.DocumentChild(u"tst");
    EXPECT_EQ(childNames(tst),
              (QStringList{u"ilp"_s, u"typ"_s, u"ilo"_s, u"nmt"_s, u"name"_s, u"tim"_s, u"skl"_s, u"pyt1"_s,
                           u"pyt2"_s, u"pyt3"_s, u"uwg"_s, u"dtu"_s, u"cd"_s}));
    EXPECT_EQ(childNames(tst->ChildByName(u"skl")),
              (QStringList{u"tk"_s, u"cel"_s, u"bdb"_s, u"db"_s, u"dst"_s, u"dp"_s}));
    // Empty values are left out: od5, and kom, plr, plimg where they are empty.
    EXPECT_EQ(childNames(tst->ChildByName(u"pyt1")),
              (QStringList{u"tr"_s, u"od1"_s, u"od2"_s, u"od3"_s, u"od4"_s, u"odp"_s, u"plimg"_s}));
    EXPECT_EQ(childNames(tst->ChildByName(u"pyt2")),
              (QStringList{u"tr"_s, u"od1"_s, u"od2"_s, u"od3"_s, u"od4"_s, u"odp"_s, u"plr"_s, u"plimg"_s,
                           u"kom"_s}));
    EXPECT_EQ(tst->ChildByName(u"cd")->Text(), u"tr"_s);
    EXPECT_EQ(tst->ChildByName(u"ilp")->Text(), EncodeWide(u"3"));
    EXPECT_EQ(tst->ChildByName(u"nmt")->Text(), EncodeWide(u"Ułamki zwykłe & dziesiętne"));
    EXPECT_EQ(tst->ChildByName(u"skl")->ChildByName(u"cel")->Text(), EncodeWide(u"91"));
}

TEST_F(TestDocument, EmptyTestHasNoQuestionElements)
{
    t.ws.test.resetTest();
    t.ws.test.header.time = 0;
    ASSERT_TRUE(WriteTestDocument(t.ws, path(u"pusty.skt"_s)));
    TpkXML doc;
    ASSERT_TRUE(loadMember(path(u"pusty.skt"_s), u"Serr0.xml"_s, doc));
    const QStringList names = childNames(doc.DocumentChild(u"tst"));
    EXPECT_TRUE(names.filter(u"pyt"_s).isEmpty()) << names.join(u',').toStdString();
    EXPECT_TRUE(names.contains(u"tim"_s)); // 0 codes to a non-empty text
    EXPECT_FALSE(names.contains(u"nmt"_s));

    t.ws.test.question(1).text = u"śmieć"_s;
    ASSERT_TRUE(ReadTestDocument(t.ws, path(u"pusty.skt"_s)));
    EXPECT_EQ(t.ws.test.header.questionCount, 0);
    EXPECT_TRUE(t.ws.test.question(1).text.isEmpty());
    EXPECT_EQ(t.ws.test.question(1).unfinished, 1);
}

TEST_F(TestDocument, QuestionsAreFoundByTheirExactNumber)
{
    const QString p =
        writeXml(u"luka.skt"_s, "<?xml version=\"1.0\"?><tst><cd>fa</cd><ilp>3</ilp><ilo>3</ilo>"
                                "<pyt1><tr>jeden</tr></pyt1><pyt2><tr>dwa</tr></pyt2>"
                                "<pyt4><tr>cztery</tr></pyt4><PYT02><tr>zero-dwa</tr></PYT02></tst>");
    ASSERT_TRUE(ReadTestDocument(t.ws, p));
    EXPECT_EQ(t.ws.test.header.questionCount, 3);
    EXPECT_EQ(t.ws.test.question(1).text, u"jeden"_s);
    EXPECT_EQ(t.ws.test.question(2).text, u"dwa"_s);
    EXPECT_TRUE(t.ws.test.question(3).text.isEmpty());
    EXPECT_TRUE(t.ws.test.question(3).correct.isEmpty()); // a missing element reads as empty
    EXPECT_EQ(t.ws.test.question(3).unfinished, 0);
    EXPECT_TRUE(t.ws.test.question(4).text.isEmpty());
    EXPECT_EQ(t.ws.test.question(4).unfinished, 1);
}

TEST_F(TestDocument, MissingMarkerMeansPlainValues)
{
    const QByteArray xml = "<tst><ilp>" + EncodeWide(u"1").toLatin1() + "</ilp><nmt>" +
                           EncodeWide(u"Test").toLatin1() +
                           "</nmt><dtu>2020/01/02</dtu>"
                           "<pyt1><tr>zwykły tekst</tr></pyt1></tst>";
    ASSERT_TRUE(ReadTestDocument(t.ws, writeXml(u"plain.skt"_s, xml)));
    EXPECT_EQ(t.ws.test.header.questionCount, 0); // "MQA=" is no number
    EXPECT_EQ(t.ws.test.header.testName, EncodeWide(u"Test"));
    EXPECT_EQ(t.ws.test.header.date, u"2020/01/02"_s);

    // Upper-case "TR" is not the marker either.
    const QByteArray upper = "<tst><cd>TR</cd><ilp>2</ilp><pyt2><tr>b</tr></pyt2></tst>";
    ASSERT_TRUE(ReadTestDocument(t.ws, writeXml(u"upper.skt"_s, upper)));
    EXPECT_EQ(t.ws.test.header.questionCount, 2);
    EXPECT_EQ(t.ws.test.question(2).text, u"b"_s);
}

TEST_F(TestDocument, Version35IsReadWithTheOldTable)
{
    QStringList lines{u"opis"_s, u"1"_s, u"2"_s, u"Stary test"_s, u"Jan Łęcki"_s, u"4"_s};
    for (int i = 1; i <= 2; ++i)
        lines << u"Treść %1 źdźbło"_s.arg(i) << u"a%1"_s.arg(i) << u"b"_s << u"c"_s << u"d"_s << u"0100"_s
              << (i == 1 ? u"plik.TXT"_s : QString()) << u"rys.BMP"_s << QString();
    const QString p = writeArchive(
        u"stary.skt"_s,
        {{"Serr0.txp", codedLines(lines, t.ws.rng, true)}, {"rys.BMP", "BM"}, {"plik.TXT", "tekst"}});
    ASSERT_TRUE(ReadTestDocument(t.ws, p)) << t.logTexts().join(u'|').toStdString();
    const TestHeader &h = t.ws.test.header;
    EXPECT_EQ(h.multipleChoice, 1);
    EXPECT_EQ(h.questionCount, 2);
    EXPECT_EQ(h.testName, u"Stary test"_s);
    EXPECT_EQ(h.author, u"Jan Łęcki"_s);
    EXPECT_EQ(h.answerCount, 4);
    // What version 35 does not hold keeps the reset values.
    EXPECT_EQ(h.time, 0);
    EXPECT_EQ(h.gradingOn, 0);
    EXPECT_EQ(h.thresholds, (std::array<int, 5>{90, 80, 70, 60, 40}));
    EXPECT_TRUE(h.remarks.isEmpty());
    EXPECT_EQ(h.date, QDate::currentDate().toString(u"yyyy-MM-dd"_s));
    const Question &q1 = t.ws.test.question(1);
    EXPECT_EQ(q1.text, u"Treść 1 źdźbło"_s);
    EXPECT_EQ(q1.answers, (std::array<QString, 5>{u"a1"_s, u"b"_s, u"c"_s, u"d"_s, QString()}));
    EXPECT_EQ(q1.correct, u"0100"_s);
    EXPECT_EQ(q1.textName, u"plik.TXT"_s);
    EXPECT_EQ(q1.imageName, u"rys.BMP"_s);
    EXPECT_EQ(q1.unfinished, 0);
    EXPECT_EQ(t.ws.test.question(2).text, u"Treść 2 źdźbło"_s);
    EXPECT_TRUE(t.ws.test.question(2).textName.isEmpty());
    EXPECT_TRUE(HasMember(u"rys.bmp", *t.ws.workingTest));
}

TEST_F(TestDocument, MoreThan45QuestionsReadTheFirst45)
{
    QByteArray xml = "<tst><cd>fa</cd><ilp>50</ilp>";
    for (int i = 1; i <= 50; ++i)
        xml += "<pyt" + QByteArray::number(i) + "><tr>q" + QByteArray::number(i) + "</tr></pyt" +
               QByteArray::number(i) + ">";
    xml += "<uwg>koniec</uwg></tst>";
    ASSERT_TRUE(ReadTestDocument(t.ws, writeXml(u"duzy.skt"_s, xml)));
    EXPECT_EQ(t.ws.test.header.questionCount, 45);
    EXPECT_EQ(t.ws.test.question(45).text, u"q45"_s);
    EXPECT_EQ(t.ws.test.header.remarks, u"koniec"_s);
    EXPECT_EQ(t.logTexts(), QStringList{u"Odczyt. Test ma więcej pytań niż 45; wczytano pierwsze 45."_s});
}

// Damaged and hostile files: each fails with its entry and the box, or reads what it can; none crashes.
TEST_F(TestDocument, DamagedFiles)
{
    QByteArray deep;
    for (int i = 0; i < 50000; ++i)
        deep += "<a>";
    const QByteArray noPack = "To nie jest archiwum, tylko zwykły tekst.";
    const QByteArray outside = PakBytes::header(12, 128) + PakBytes::entry("Serr0.xml", 12, 999999);
    const QByteArray dirOutside = PakBytes::header(100000, 128) + QByteArray(20, 'x');

    const QString packed = u"Odczyt. Błąd wczytania spakowanej zawartości."_s;
    const QString serr = u"Odczyt. Błąd wczytywania pliku Serr0."_s;
    QStringList twoOld{u"opis"_s, u"0"_s, u"2"_s, u"Nazwa"_s, u"Autor"_s, u"3"_s};
    twoOld << u"t1"_s << u"a"_s << u"b"_s << u"c"_s << u""_s << u"100"_s << u""_s << u""_s
           << u""_s; // question 2 missing

    struct Case {
        const char *what;
        QByteArray file;
        bool present;
        bool ok;
        QStringList log;
        int questions; // -1: whatever the damage leaves
    } cases[] = {
        {"no file", {}, false, false, {packed}, 0},
        {"zero-byte file", {}, true, false, {serr}, 0},
        {"not a PACK archive", noPack, true, false, {packed}, 0},
        {"one-byte file", QByteArray(" ", 1), true, false, {packed}, 0},
        {"member outside the file", outside, true, false, {packed}, 0},
        {"directory outside the file", dirOutside, true, false, {packed}, 0},
        {"no document member", PakBytes::archive({{"obraz.JPG", "x"}}), true, false, {serr}, 0},
        {"truncated XML",
         PakBytes::archive({{"Serr0.xml", "<tst><cd>fa</cd><ilp>1</ilp><pyt1><tr>ab"}}),
         true,
         true,
         {},
         1},
        {"malformed XML",
         PakBytes::archive({{"Serr0.xml", "<tst><ilp>2</x></tst>&&<<"}}),
         true,
         true,
         {},
         -1},
        {"50000 nested elements", PakBytes::archive({{"Serr0.xml", "<tst>" + deep}}), true, true, {}, -1},
        {"foreign Base64 characters",
         PakBytes::archive({{"Serr0.xml", "<tst><cd>tr</cd><ilp>!!ąę€€==</ilp><nmt>*#@~=</nmt></tst>"}}),
         true,
         true,
         {},
         -1},
        {"ilp of a million",
         PakBytes::archive(
             {{"Serr0.xml", "<tst><cd>tr</cd><ilp>" + EncodeWide(u"1000000").toLatin1() + "</ilp></tst>"}}),
         true,
         true,
         {u"Odczyt. Test ma więcej pytań niż 45; wczytano pierwsze 45."_s},
         45},
        {"ilp below zero", PakBytes::archive({{"Serr0.xml", "<tst><ilp>-7</ilp></tst>"}}), true, true, {}, 0},
        {"version 35 header cut short",
         PakBytes::archive({{"Serr0.txp", codedLines({u"opis"_s, u"0"_s, u"2"_s}, t.ws.rng, true)}}),
         true,
         false,
         {u"Odczyt. Ver 35. Błąd dekodowania informacji o teście."_s},
         2},
        {"version 35 count not a number",
         PakBytes::archive({{"Serr0.txp", codedLines({u"opis"_s, u"0"_s, u"dwa"_s, u"a"_s, u"b"_s, u"3"_s},
                                                     t.ws.rng, true)}}),
         true,
         false,
         {u"Odczyt. Ver 35. Błąd dekodowania informacji o teście."_s},
         0},
        {"version 35 question lines missing",
         PakBytes::archive({{"Serr0.txp", codedLines(twoOld, t.ws.rng, true)}}),
         true,
         false,
         {u"Odczyt. Ver 35. Błąd dekodowania pytania nr. 2"_s},
         2},
        {"version 35 empty member",
         PakBytes::archive({{"Serr0.txp", ""}}),
         true,
         false,
         {u"Odczyt. Ver 35. Błąd dekodowania informacji o teście."_s},
         0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString p = path(u"zly.skt"_s);
        QFile::remove(p);
        QFile::remove(t.ws.paths.logPath);
        prompts.messages.clear();
        if (c.present) {
            ASSERT_TRUE(PakBytes::writeFile(p, c.file));
        }
        EXPECT_EQ(ReadTestDocument(t.ws, p), c.ok);
        EXPECT_EQ(t.logTexts(), c.log);
        EXPECT_EQ(prompts.messageTexts(), c.ok ? QStringList() : QStringList{kOpenFailed});
        if (!c.ok) {
            EXPECT_EQ(prompts.messages.constFirst().kind, MessageKind::CloseOnly);
        }
        if (c.questions >= 0) {
            EXPECT_EQ(t.ws.test.header.questionCount, c.questions);
        }
        EXPECT_LE(t.ws.test.header.questionCount, kMaxQuestions);
    }
}

TEST_F(TestDocument, ReadingReplacesTheWorkingArchive)
{
    ASSERT_TRUE(PutStream(u"stary.JPG"_s, "old", *t.ws.workingTest));
    const QString p = writeXml(u"a.skt"_s, "<tst><cd>fa</cd><ilp>0</ilp></tst>", {{"nowy.GIF", "GIF"}});
    ASSERT_TRUE(ReadTestDocument(t.ws, p));
    QStringList members;
    ListMembers(members, *t.ws.workingTest);
    EXPECT_EQ(members, (QStringList{u"Serr0.xml"_s, u"nowy.GIF"_s}));
}

TEST_F(TestDocument, WritingReplacesTheFileWhole)
{
    fillSample();
    const QString p = path(u"t.skt"_s);
    ASSERT_TRUE(WriteTestDocument(t.ws, p));
    t.ws.test.question(1).imageName.clear();
    t.ws.test.question(2).imageName.clear();
    t.ws.test.header.questionCount = 1;
    ASSERT_TRUE(WriteTestDocument(t.ws, p));
    EXPECT_EQ(memberNames(p), QStringList{u"Serr0.xml"_s});
    EXPECT_EQ(filesIn(t.dir.path()), QStringList{u"t.skt"_s});
}

TEST_F(TestDocument, FailedWriteLeavesTheOldFileAndNoLitter)
{
    fillSample();
    const QString p = path(u"t.skt"_s);
    ASSERT_TRUE(WriteTestDocument(t.ws, p));
    const QByteArray old = PakBytes::readFile(p);
    const QStringList before = filesIn(t.dir.path());

    // A picture too big for the file size limit, as on a full disk.
    ASSERT_TRUE(PutStream(u"obraz.JPG"_s, QByteArray(300000, 'p'), *t.ws.workingTest));
    bool written = true;
    {
        FileSizeLimit limit(100000);
        written = WriteTestDocument(t.ws, p);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(PakBytes::readFile(p), old);
    EXPECT_EQ(filesIn(t.dir.path()), before);
    EXPECT_EQ(t.logTexts(), QStringList{u"Zapis. Błąd zapisu pliku testu."_s});
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, u"Wystąpiły problemy z zapisem pliku testu.\rSprawdź plik błędów."_s);

    // A folder that does not exist.
    EXPECT_FALSE(WriteTestDocument(t.ws, path(u"brak/t.skt"_s)));
    EXPECT_FALSE(QFile::exists(path(u"brak"_s)));
}

TEST(PendingArchive, DiscardedWithoutCommit)
{
    QTemporaryDir dir;
    const QString target = dir.path() + u"/a.skt"_s;
    ASSERT_TRUE(PakBytes::writeFile(target, "stary"));
    {
        PendingArchive out(target);
        ASSERT_TRUE(out.isOpen());
        ASSERT_TRUE(PutStream(u"x"_s, "y", out.archive()));
        EXPECT_EQ(filesIn(dir.path()).size(), 2);
    }
    EXPECT_EQ(filesIn(dir.path()), QStringList{u"a.skt"_s});
    EXPECT_EQ(PakBytes::readFile(target), QByteArray("stary"));

    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    PendingArchive out(target);
    ASSERT_TRUE(out.isOpen());
    ASSERT_TRUE(PutStream(u"x"_s, "y", out.archive()));
    ASSERT_TRUE(out.commit());
    EXPECT_EQ(memberNames(target), QStringList{u"x"_s});
    const QFileDevice::Permissions ownerGroupOther{0x7077};
    EXPECT_EQ(QFile::permissions(target) & ownerGroupOther,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);

    PendingArchive intoFolder(dir.path());
    EXPECT_FALSE(intoFolder.isOpen());
    EXPECT_FALSE(intoFolder.commit());
}
