#include "testeditor/SetGeneration.h"

#include "storage/ArchiveAccess.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class SetGenerationRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.createWorkingArchives();
        folder = t.dir.filePath(u"Zestaw"_s);
        ASSERT_TRUE(QDir().mkpath(folder));
    }

    // A test of `count` questions, question 2 with a text attachment, written to a file.
    QString writeTest(int count)
    {
        Workspace &ws = t.ws;
        ws.test.resetTest();
        ws.test.header.questionCount = count;
        for (int k = 1; k <= count; ++k) {
            Question &q = ws.test.question(k);
            q.text = u"Pytanie %1 źdźbło"_s.arg(k);
            q.answers[0] = u"tak"_s;
            q.answers[1] = u"nie"_s;
            q.answers[2] = u"nie wiem"_s;
            q.correct = u"10000"_s;
            q.unfinished = 0;
        }
        if (count >= 2) {
            EXPECT_TRUE(PutStream(u"opis.txt"_s, QByteArrayView("tekst do pytania"), *ws.workingTest));
            ws.test.question(2).textName = u"opis.txt"_s;
        }
        const QString path = t.dir.filePath(u"algebra.skt"_s);
        EXPECT_TRUE(WriteTestDocument(ws, path));
        // The run starts from a model and working archive that know nothing of the test.
        ws.test.resetTest();
        DeleteAllMembers(*ws.workingTest);
        return path;
    }

    SetGeneration setFor(const QString &test, const QString &prefix = u"q"_s) const
    {
        SetGeneration g;
        g.sourceTest = test;
        g.targetFolder = folder;
        g.prefix = prefix;
        return g;
    }

    QStringList filesInFolder() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    TempWorkspace t;
    ScriptedPrompts prompts;
    QString folder;
};

} // namespace

TEST(SetGeneration, PrefixKeepsLettersDigitsAndUnderscore)
{
    const std::pair<QString, bool> characters[] = {
        {u"a"_s, true},  {u"Z"_s, true},   {u"0"_s, true},  {u"9"_s, true},       {u"_"_s, true},
        {u" "_s, false}, {u"-"_s, false},  {u"."_s, false}, {u"ą"_s, false},      {u"Ż"_s, false},
        {u"/"_s, false}, {u"\\"_s, false}, {u"*"_s, false}, {u"\u0661"_s, false}, // an Arabic-Indic one
    };
    for (const auto &[c, allowed] : characters)
        EXPECT_EQ(SetGeneration::isPrefixCharacter(c.at(0)), allowed) << c.toStdString();

    EXPECT_EQ(SetGeneration::filterPrefix(u"a b-c"_s), u"abc"_s);
    EXPECT_EQ(SetGeneration::filterPrefix(u"Zad_1.ł"_s), u"Zad_1"_s);
    EXPECT_TRUE(SetGeneration::isValidPrefix(u"alg_2"_s));
    EXPECT_FALSE(SetGeneration::isValidPrefix(u""_s));
    EXPECT_FALSE(SetGeneration::isValidPrefix(u"../x"_s));

    // The field's edits as it reports them: pasted, then erased.
    SetGeneration g;
    EXPECT_EQ(g.editPrefix(u"a b-c"_s), u"abc"_s);
    EXPECT_EQ(g.prefix, u"abc"_s);
    g.editPrefix(u"ab"_s);
    EXPECT_EQ(g.prefix, u"ab"_s);
}

TEST(SetGeneration, GenerateNeedsAllThreeChoices)
{
    SetGeneration g;
    EXPECT_FALSE(g.canGenerate());
    g.sourceTest = u"/a/t.skt"_s;
    g.targetFolder = u"/a"_s;
    EXPECT_FALSE(g.canGenerate());
    g.editPrefix(u"x"_s);
    EXPECT_TRUE(g.canGenerate());
    g.clear();
    EXPECT_FALSE(g.canGenerate());
    EXPECT_TRUE(g.sourceTest.isEmpty() && g.targetFolder.isEmpty() && g.prefix.isEmpty());
}

TEST(SetGeneration, FileNames)
{
    EXPECT_EQ(SetGeneration::questionFilePath(u"/home/n/Zestaw"_s, u"alg"_s, 3),
              u"/home/n/Zestaw/alg3.skq"_s);
    EXPECT_EQ(SetGeneration::questionFilePath(u"/"_s, u"q"_s, 12), u"/q12.skq"_s);
}

TEST_F(SetGenerationRun, WritesOneFilePerQuestion)
{
    const QString test = writeTest(12);
    const SetGeneration::Result r = setFor(test).generate(t.ws);
    EXPECT_TRUE(r.testRead);
    EXPECT_EQ(r.written, 12);
    EXPECT_EQ(r.failedQuestion, 0);
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastMessageText().toStdString();
    QStringList expected;
    for (int n = 1; n <= 12; ++n)
        expected << u"q%1.skq"_s.arg(n);
    expected.sort();
    EXPECT_EQ(filesInFolder(), expected);

    // Each file holds its own question, attachments included.
    t.ws.question.resetSingleQuestion();
    ASSERT_TRUE(ReadQuestionDocument(t.ws, folder + u"/q7.skq"_s));
    EXPECT_EQ(t.ws.question.text, u"Pytanie 7 źdźbło"_s);
    EXPECT_EQ(t.ws.question.correct, u"10000"_s);
    std::unique_ptr<TVfsPAK> second = NewArchive();
    ASSERT_TRUE(OpenArchive(folder + u"/q2.skq"_s, *second));
    EXPECT_EQ(ExtractStream(u"opis.txt", *second), QByteArray("tekst do pytania"));
}

TEST_F(SetGenerationRun, ExistingFilesAreReplaced)
{
    const QString test = writeTest(2);
    QFile old(folder + u"/q1.skq"_s);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("stary plik");
    old.close();
    EXPECT_EQ(setFor(test).generate(t.ws).written, 2);
    t.ws.question.resetSingleQuestion();
    ASSERT_TRUE(ReadQuestionDocument(t.ws, folder + u"/q1.skq"_s));
    EXPECT_EQ(t.ws.question.text, u"Pytanie 1 źdźbło"_s);
}

TEST_F(SetGenerationRun, StopsAtTheFirstQuestionThatCannotBeWritten)
{
    const QString test = writeTest(8);
    // Question 5's name is taken by a folder, so that file cannot be made.
    ASSERT_TRUE(QDir().mkpath(folder + u"/q5.skq/x"_s));
    const SetGeneration::Result r = setFor(test).generate(t.ws);
    EXPECT_TRUE(r.testRead);
    EXPECT_EQ(r.written, 4);
    EXPECT_EQ(r.failedQuestion, 5);
    EXPECT_EQ(filesInFolder(), (QStringList{u"q1.skq"_s, u"q2.skq"_s, u"q3.skq"_s, u"q4.skq"_s}));
    ASSERT_FALSE(prompts.messages.isEmpty());
    const ScriptedPrompts::Message &m = prompts.messages.constLast();
    EXPECT_EQ(m.text, u"Problemy z utworzeniem pytania nr 5\rZgłoś problem autorowi."_s);
    EXPECT_EQ(m.kind, MessageKind::CloseOnly);
    EXPECT_EQ(m.icon, MessageIcon::QuestionIcon);
}

TEST_F(SetGenerationRun, MissingFolderFailsAtTheFirstQuestion)
{
    const QString test = writeTest(3);
    SetGeneration g = setFor(test);
    g.targetFolder = t.dir.filePath(u"nie/ma"_s);
    const SetGeneration::Result r = g.generate(t.ws);
    EXPECT_EQ(r.written, 0);
    EXPECT_EQ(r.failedQuestion, 1);
    EXPECT_EQ(prompts.lastMessageText(), u"Problemy z utworzeniem pytania nr 1\rZgłoś problem autorowi."_s);
}

TEST_F(SetGenerationRun, NothingHappensWithoutAReadableTestOrAPrefix)
{
    const QString test = writeTest(3);
    // An empty or refused prefix: the run does not start, not even the reading.
    for (const QString &prefix : {u""_s, u"a b"_s, u"../q"_s}) {
        const SetGeneration::Result r = setFor(test, prefix).generate(t.ws);
        EXPECT_FALSE(r.testRead) << prefix.toStdString();
        EXPECT_EQ(r.written, 0);
    }
    EXPECT_EQ(t.ws.test.header.questionCount, 0);

    const SetGeneration::Result r = setFor(t.dir.filePath(u"brak.skt"_s)).generate(t.ws);
    EXPECT_FALSE(r.testRead);
    EXPECT_EQ(r.written, 0);
    EXPECT_TRUE(filesInFolder().isEmpty());
}

TEST_F(SetGenerationRun, EmptyTestWritesNothing)
{
    const QString test = writeTest(0);
    const SetGeneration::Result r = setFor(test).generate(t.ws);
    EXPECT_TRUE(r.testRead);
    EXPECT_EQ(r.written, 0);
    EXPECT_EQ(r.failedQuestion, 0);
    EXPECT_TRUE(filesInFolder().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
}
