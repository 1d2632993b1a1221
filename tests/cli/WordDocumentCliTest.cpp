#include "interchange/InterchangeFormat.h"
#include "storage/ArchiveAccess.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "support/DocumentFixtures.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "support/WordFixtures.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace WordFixtures;
using PakBytes::readFile;
using PakBytes::writeFile;

namespace {

// "zadanix import --format docx|odt" and "zadanix export --format odt".
class WordDocumentCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = QCoreApplication::applicationDirPath() + u"/zadanix"_s;
        if (!QFileInfo(program).isExecutable())
            GTEST_FAIL() << "build the zadanix target first: " << program.toStdString();
        t.ws.prompts = &prompts;
        t.ws.createWorkingArchives();
    }
    void TearDown() override { t.ws.shutDown(); }

    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(t.dir.path());
        process.start(program, arguments);
        Run r;
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return r;
        r.exitCode = process.exitCode();
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }
    QString file(const QString &name) const { return t.dir.filePath(name); }

    QString program;
    TempWorkspace t;
    ScriptedPrompts prompts;
};

// A Writer test: automatic numbering, a starred and a bold right answer, a picture, an open question,
// and the key at the end.
QByteArray writerTest()
{
    const QString item = u"<text:list-item>"_s, end = u"</text:list-item>"_s;
    const auto answers = [&](const QString &a, const QString &b, const QString &c) {
        return u"<text:list>"_s + item + tp(a) + end + item + tp(b) + end + item + tp(c) + end +
               u"</text:list>"_s;
    };
    return odt(tp(u"Przyroda – sprawdzian"_s, u"T"_s) + tp(u"Imię i nazwisko: ……"_s) +
                   u"<text:list text:style-name=\"L\">"_s + item + tp(u"Co rośnie na łące?"_s) +
                   answers(u"Trawa*"_s, u"Kamień"_s, u"Piasek"_s) + end + item +
                   tp(u"Co widać na zdjęciu?"_s + tPicture(u"lisc.jpg"_s)) +
                   answers(u"Korzeń"_s, tSpan(u"Liść"_s, u"B"_s), u"Pień"_s) + end + item +
                   tp(u"Opisz fotosyntezę."_s) + end + item + tp(u"Ile nóg ma pająk?"_s) +
                   answers(u"6"_s, u"8"_s, u"10"_s) + end + u"</text:list>"_s + tp(u"Klucz"_s) +
                   tp(u"4. B"_s),
               odtStyles(), {{u"lisc.jpg"_s, JpegFixture::gradientJpeg(60, 40)}});
}

TEST_F(WordDocumentCli, ImportsADocumentIntoATestAndNamesWhatItSkipped)
{
    ASSERT_TRUE(writeFile(file(u"przyroda.odt"_s), writerTest()));
    const Run r = run({u"import"_s, u"--format"_s, u"odt"_s, u"przyroda.odt"_s, u"przyroda.skt"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, u"zadanix: warning: przyroda.odt: question 3 (paragraph 11): skipped: text without "
                     u"answers.\n"_s);
    ASSERT_TRUE(ReadTestDocument(t.ws, file(u"przyroda.skt"_s)));
    const TestModel &m = t.ws.test;
    EXPECT_EQ(m.header.testName, u"Przyroda – sprawdzian"_s);
    ASSERT_EQ(m.header.questionCount, 3);
    EXPECT_EQ(m.question(1).correct, u"10000"_s);
    EXPECT_EQ(m.question(1).answers[0], u"Trawa"_s);
    EXPECT_EQ(m.question(2).correct, u"01000"_s);
    EXPECT_EQ(ExtractStream(m.question(2).imageName, *t.ws.workingTest), JpegFixture::gradientJpeg(60, 40));
    EXPECT_EQ(m.question(3).text, u"Ile nóg ma pająk?"_s);
    EXPECT_EQ(m.question(3).correct, u"01000"_s);

    // The same as a Word file given as "docx" by mistake: the content decides.
    const Run split =
        run({u"import"_s, u"--format"_s, u"docx"_s, u"--split"_s, u"przyroda.odt"_s, u"pytania"_s});
    EXPECT_EQ(split.exitCode, 0) << split.err.toStdString();
    EXPECT_EQ(DocumentFixtures::filesIn(file(u"pytania"_s)),
              (QStringList{u"przyroda1.skq"_s, u"przyroda2.skq"_s, u"przyroda3.skq"_s}));

    ASSERT_TRUE(writeFile(file(u"bomba.docx"_s), zip({{u"word/document.xml"_s, QByteArray(60 << 20, '<')}})));
    const Run bomb = run({u"import"_s, u"--format"_s, u"docx"_s, u"bomba.docx"_s, u"bomba.skt"_s});
    EXPECT_EQ(bomb.exitCode, 1);
    EXPECT_TRUE(bomb.err.contains(u"zip bomb"_s)) << bomb.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file(u"bomba.skt"_s)));
}

TEST_F(WordDocumentCli, ExportsAnEditableTestThatReadsBack)
{
    TestModel &m = t.ws.test;
    m.resetTest();
    m.header.testName = u"Ułamki"_s;
    m.header.answerCount = 4;
    m.header.questionCount = 2;
    for (int k = 1; k <= 2; ++k) {
        Question &q = m.question(k);
        q.text = u"Ile to ½ + %1/4?"_s.arg(k);
        q.answers = {u"¾"_s, u"1"_s, u"1¼"_s, u"2"_s, {}};
        q.correct = k == 1 ? u"10000"_s : u"00100"_s;
        q.unfinished = 0;
    }
    ASSERT_TRUE(PutStream(u"koło.jpg"_s, JpegFixture::gradientJpeg(300, 200), *t.ws.workingTest));
    ASSERT_TRUE(PutStream(u"czytanka.txt"_s, "Tekst do przeczytania.", *t.ws.workingTest));
    m.question(2).imageName = u"koło.jpg"_s;
    m.question(1).textName = u"czytanka.txt"_s;
    ASSERT_TRUE(WriteTestDocument(t.ws, file(u"ulamki.skt"_s)));

    const Run r = run({u"export"_s, u"--format"_s, u"odt"_s, u"ulamki.skt"_s, u"ulamki.odt"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray odt = readFile(file(u"ulamki.odt"_s));
    EXPECT_EQ(Interchange::detectFormat(odt), InterchangeFormat::Odt);
    // Our own reader finds the questions, the picture and the key again.
    const InterchangeContent back = Interchange::read(InterchangeFormat::Odt, odt);
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    ASSERT_EQ(back.questions.size(), 2);
    EXPECT_EQ(back.questions[0].text, u"Ile to ½ + 1/4?"_s);
    EXPECT_EQ(back.questions[0].answers, (QStringList{u"¾"_s, u"1"_s, u"1¼"_s, u"2"_s}));
    EXPECT_EQ(back.questions[0].correct, (QList<bool>{true, false, false, false}));
    EXPECT_EQ(back.questions[1].correct, (QList<bool>{false, false, true, false}));
    EXPECT_FALSE(back.questions[1].picture.isEmpty());

    EXPECT_EQ(run({u"export"_s, u"--format"_s, u"docx"_s, u"ulamki.skt"_s, u"u.docx"_s}).exitCode, 2);
    EXPECT_EQ(run({u"export"_s, u"--format"_s, u"odt"_s, u"ulamki.skt"_s}).exitCode, 2);
    // The print writes the same document, in versions.
    const Run versions =
        run({u"print"_s, u"ulamki.skt"_s, u"wersje.odt"_s, u"--versions"_s, u"2"_s, u"--key"_s});
    EXPECT_EQ(versions.exitCode, 0) << versions.err.toStdString();
    EXPECT_TRUE(versions.out.contains(u"a document, 2 versions with the key"_s))
        << versions.out.toStdString();
}

} // namespace
