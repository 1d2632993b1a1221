#include "interchange/InterchangeFormat.h"
#include "storage/ArchiveAccess.h"
#include "documents/QuestionDocument.h"
#include "documents/TestDocument.h"
#include "support/DocumentFixtures.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using PakBytes::readFile;
using PakBytes::writeFile;

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// `zadanix export --format` and `import --format` on files written by the program's own writers.
class InterchangeCli : public ::testing::Test {
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

    ToolRun run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(t.dir.path());
        process.start(program, arguments);
        process.closeWriteChannel();
        ToolRun r;
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return r;
        r.exitCode = process.exitCode();
        r.out = process.readAllStandardOutput();
        r.err = process.readAllStandardError();
        return r;
    }

    QString file(const QString &name) const { return t.dir.filePath(name); }

    // A test with a picture; `multiple` makes it multiple choice, `author` fills a field no format holds.
    void writeTest(const QString &name, bool multiple, const QString &author = {})
    {
        Workspace &ws = t.ws;
        ws.test.resetTest();
        TestHeader &h = ws.test.header;
        h.testName = u"Ułamki"_s;
        h.author = author;
        h.answerCount = 3;
        h.multipleChoice = multiple ? 1 : 0;
        h.questionCount = 2;
        for (int k = 1; k <= 2; ++k) {
            Question &q = ws.test.question(k);
            q.text = u"Ile to ½ + %1/2?"_s.arg(k);
            q.answers = {u"1"_s, u"1½"_s, u"2"_s, {}, {}};
            q.correct = k == 1 ? u"10000"_s : (multiple ? u"01100"_s : u"01000"_s);
            q.unfinished = 0;
        }
        ASSERT_TRUE(PutStream(u"koło.jpg"_s, JpegFixture::gradientJpeg(8, 8), *ws.workingTest));
        ws.test.question(2).imageName = u"koło.jpg"_s;
        ASSERT_TRUE(WriteTestDocument(ws, file(name)));
    }

    QString program;
    TempWorkspace t;
    ScriptedPrompts prompts;
};

TEST_F(InterchangeCli, ExportsATestToEachFormat)
{
    writeTest(u"ulamki.skt"_s, false, u"Pani Ania"_s);
    const ToolRun moodle = run({u"export"_s, u"--format"_s, u"moodle"_s, u"ulamki.skt"_s, u"ulamki.xml"_s});
    EXPECT_EQ(moodle.exitCode, 0) << moodle.err.toStdString();
    EXPECT_TRUE(moodle.out.isEmpty());
    EXPECT_EQ(moodle.err, "zadanix: warning: ulamki.skt: the test's author, time, grading scale and "
                          "remarks are not carried by the format.\n");
    const InterchangeContent back =
        Interchange::read(InterchangeFormat::Moodle, readFile(file(u"ulamki.xml"_s)));
    ASSERT_EQ(back.questions.size(), 2);
    EXPECT_EQ(back.category, u"Ułamki"_s);
    EXPECT_EQ(back.questions[1].picture, JpegFixture::gradientJpeg(8, 8));

    // GIFT to standard output, naming the picture it cannot carry.
    const ToolRun gift = run({u"export"_s, u"--format"_s, u"gift"_s, u"ulamki.skt"_s});
    EXPECT_EQ(gift.exitCode, 0);
    EXPECT_TRUE(gift.out.startsWith("$CATEGORY: $course$/Ułamki\r\n"));
    EXPECT_EQ(Interchange::read(InterchangeFormat::Gift, gift.out).questions.size(), 2);
    EXPECT_TRUE(
        gift.err.contains("question 2: picture \"koło.jpg\" left out: the format cannot carry it.\n"));
}

TEST_F(InterchangeCli, ExportFailsWhenNothingCanBeWritten)
{
    writeTest(u"wiele.skt"_s, true);
    const ToolRun r = run({u"export"_s, u"--format"_s, u"aiken"_s, u"wiele.skt"_s, u"wiele.txt"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.endsWith("zadanix: wiele.skt: no question to export.\n")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("question 1: skipped: multiple choice, which Aiken cannot hold."));
    EXPECT_FALSE(QFileInfo::exists(file(u"wiele.txt"_s)));
}

TEST_F(InterchangeCli, ImportsIntoATestWithWarnings)
{
    ASSERT_TRUE(writeFile(file(u"bank.txt"_s),
                          "\xEF\xBB\xBF::A::Stolica? {=Warszawa ~Kraków ~Gdańsk}\r\n\r\n"
                          "Dwie? {=tak ~nie}\r\n\r\nRzeki? {=Wisła ~Tatry ~Bałtyk}\r\n"));
    const ToolRun r = run({u"import"_s, u"--format"_s, u"gift"_s, u"bank.txt"_s, u"bank.skt"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err,
              "zadanix: warning: bank.txt: question 2 (line 3): skipped: 2 answers; a test question has 3 "
              "to 5.\n");
    ASSERT_TRUE(ReadTestDocument(t.ws, file(u"bank.skt"_s)));
    EXPECT_EQ(t.ws.test.header.questionCount, 2);
    EXPECT_EQ(t.ws.test.header.testName, u"bank"_s);
    EXPECT_EQ(t.ws.test.question(2).answers[0], u"Wisła"_s);

    // Nothing readable: exit 1 with one line, and no file.
    ASSERT_TRUE(writeFile(file(u"zle.txt"_s), "Tylko tekst.\n"));
    const ToolRun bad = run({u"import"_s, u"--format"_s, u"aiken"_s, u"zle.txt"_s, u"zle.skt"_s});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.endsWith("zadanix: zle.txt: no question could be read.\n")) << bad.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file(u"zle.skt"_s)));
    const ToolRun dtd = run({u"import"_s, u"--format"_s, u"moodle"_s, u"zle.txt"_s, u"zle.skt"_s});
    EXPECT_EQ(dtd.exitCode, 1);
    EXPECT_EQ(dtd.err.count('\n'), 1) << dtd.err.toStdString();
}

TEST_F(InterchangeCli, SplitWritesOneQuestionFilePerQuestion)
{
    ASSERT_TRUE(writeFile(file(u"mix.txt"_s), "Trzy\nA. a\nB. b\nC. c\nANSWER: C\n\n"
                                              "Cztery\nA. a\nB. b\nC. c\nD. d\nANSWER: D\n"));
    const ToolRun r = run({u"import"_s, u"--format"_s, u"aiken"_s, u"--split"_s, u"mix.txt"_s, u"pytania"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(DocumentFixtures::filesIn(file(u"pytania"_s)), (QStringList{u"mix1.skq"_s, u"mix2.skq"_s}));
    t.ws.question.resetSingleQuestion();
    ASSERT_TRUE(ReadQuestionDocument(t.ws, file(u"pytania/mix2.skq"_s)));
    EXPECT_EQ(t.ws.question.answerCount, 4);
    EXPECT_EQ(t.ws.question.correct, u"00010"_s);
    EXPECT_EQ(t.ws.question.text, u"Cztery"_s);

    // A file with no question to read writes nothing, not even the folder.
    ASSERT_TRUE(writeFile(file(u"zle.txt"_s), "Tylko tekst.\n"));
    const ToolRun bad = run({u"import"_s, u"--format"_s, u"aiken"_s, u"--split"_s, u"zle.txt"_s, u"puste"_s});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.endsWith("zadanix: zle.txt: no question could be read.\n")) << bad.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file(u"puste"_s)));
}

TEST_F(InterchangeCli, WrongUsage)
{
    writeTest(u"t.skt"_s, false);
    const QList<QStringList> usages = {
        {u"export"_s, u"--format"_s, u"word"_s, u"t.skt"_s},
        {u"export"_s, u"--format"_s, u"gift"_s, u"--members"_s, u"m"_s, u"t.skt"_s},
        {u"import"_s, u"--split"_s, u"a.json"_s, u"out"_s},
        {u"export"_s, u"--format"_s, u"gift"_s, u"t.skt"_s, u"a"_s, u"b"_s},
    };
    for (const QStringList &args : usages)
        EXPECT_EQ(run(args).exitCode, 2) << args.join(u' ').toStdString();
    const ToolRun skq = run({u"import"_s, u"--format"_s, u"gift"_s, u"t.skt"_s, u"out.skq"_s});
    EXPECT_EQ(skq.exitCode, 1);
    const ToolRun help = run({u"import"_s, u"--help"_s});
    EXPECT_TRUE(help.out.contains("--split")) << help.out.toStdString();
}

} // namespace
