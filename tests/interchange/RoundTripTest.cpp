#include "SampleTests.h"
#include "interchange/InterchangeFormat.h"
#include "interchange/QuestionTransfer.h"
#include "storage/ArchiveAccess.h"
#include "documents/TestDocument.h"
#include "support/DocumentTest.h"

using namespace Qt::StringLiterals;
using Issue = InterchangeNote::Issue;

namespace {

struct Case {
    int sample;
    InterchangeFormat format;
};

std::string caseName(const ::testing::TestParamInfo<Case> &info)
{
    return SampleTests::all()[info.param.sample].name + std::string("_") +
           Interchange::formatName(info.param.format).toStdString();
}

QList<Issue> issuesOf(const QList<InterchangeNote> &notes)
{
    QList<Issue> out;
    for (const InterchangeNote &n : notes)
        out << n.issue;
    return out;
}

// Aiken keeps a text on one line.
QString oneLine(const QString &text)
{
    QStringList parts;
    for (const QString &line : text.split(u"\r\n"_s)) {
        if (!line.trimmed().isEmpty())
            parts << line.trimmed();
    }
    return parts.join(u' ');
}

// Sample test -> document -> format -> test -> document: what the format holds comes back the same.
class RoundTrip : public DocumentTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        back.ws.createWorkingArchives();
        back.ws.prompts = &prompts;
    }
    void TearDown() override
    {
        back.ws.shutDown();
        DocumentTest::TearDown();
    }

    TempWorkspace back;
};

TEST_P(RoundTrip, GivesTheSameQuestions)
{
    const InterchangeFormat format = GetParam().format;
    Workspace &ws = t.ws;
    ws.test.resetTest();
    SampleTests::all()[GetParam().sample].build(ws);
    ASSERT_TRUE(WriteTestDocument(ws, path(u"probka.skt"_s)));
    ASSERT_TRUE(ReadTestDocument(ws, path(u"probka.skt"_s)));
    const TestModel &original = ws.test;

    QList<InterchangeNote> exportNotes;
    const QList<InterchangeQuestion> questions =
        QuestionTransfer::fromTest(original, *ws.workingTest, exportNotes);
    ASSERT_EQ(questions.size(), original.header.questionCount);
    EXPECT_TRUE(exportNotes.isEmpty());
    QList<InterchangeNote> writeNotes;
    const QByteArray bytes = Interchange::write(format, original.header.testName, questions, writeNotes);
    EXPECT_EQ(Interchange::detectFormat(bytes), format);
    const InterchangeContent content = Interchange::read(format, bytes);
    ASSERT_TRUE(content.error.isEmpty()) << content.error.toStdString();
    EXPECT_TRUE(content.notes.isEmpty()) << content.notes.value(0).englishText().toStdString();

    const bool multiple = original.header.multipleChoice != 0;
    if (format == InterchangeFormat::Aiken && multiple) {
        EXPECT_TRUE(content.questions.isEmpty());
        EXPECT_EQ(issuesOf(writeNotes), QList<Issue>(questions.size(), Issue::NotSingleChoice));
        return;
    }
    // Only what the format cannot carry is named, and only Moodle XML carries everything.
    for (const InterchangeNote &n : std::as_const(writeNotes)) {
        EXPECT_NE(format, InterchangeFormat::Moodle) << n.englishText().toStdString();
        EXPECT_TRUE(!n.skipsQuestion()) << n.englishText().toStdString();
    }

    Workspace &b = back.ws;
    b.test.resetTest();
    QList<InterchangeNote> importNotes;
    const QuestionTransfer::Appended appended =
        QuestionTransfer::appendToTest(b.test, *b.workingTest, content.questions, importNotes);
    EXPECT_TRUE(appended.error.isEmpty());
    EXPECT_TRUE(importNotes.isEmpty()) << importNotes.value(0).englishText().toStdString();
    b.test.header.testName = content.category;
    ASSERT_TRUE(WriteTestDocument(b, path(u"z powrotem.skt"_s)));
    ASSERT_TRUE(ReadTestDocument(b, path(u"z powrotem.skt"_s)));

    const TestHeader &h = b.test.header;
    EXPECT_EQ(h.questionCount, original.header.questionCount);
    EXPECT_EQ(h.answerCount, original.header.answerCount);
    EXPECT_EQ(h.multipleChoice, original.header.multipleChoice);
    EXPECT_EQ(h.testName, format == InterchangeFormat::Aiken ? QString() : original.header.testName);
    const bool full = format == InterchangeFormat::Moodle;
    for (int k = 1; k <= h.questionCount; ++k) {
        SCOPED_TRACE(k);
        const Question &was = original.question(k);
        const Question &is = b.test.question(k);
        EXPECT_EQ(is.text, format == InterchangeFormat::Aiken ? oneLine(was.text) : was.text);
        EXPECT_EQ(is.answers, was.answers);
        EXPECT_EQ(is.correct, was.correct);
        EXPECT_EQ(is.comment, format == InterchangeFormat::Aiken ? QString() : was.comment);
        EXPECT_EQ(is.unfinished, 0);
        EXPECT_EQ(is.imageName, full ? was.imageName : QString());
        EXPECT_EQ(is.textName, full ? was.textName : QString());
        if (full && !was.imageName.isEmpty()) {
            EXPECT_EQ(ExtractStream(is.imageName, *b.workingTest),
                      ExtractStream(was.imageName, *ws.workingTest));
        }
        if (full && !was.textName.isEmpty()) {
            EXPECT_EQ(ExtractStream(is.textName, *b.workingTest),
                      ExtractStream(was.textName, *ws.workingTest));
        }
    }
    if (full) {
        QStringList wasMembers;
        QStringList isMembers;
        ListMembers(wasMembers, *ws.workingTest);
        ListMembers(isMembers, *b.workingTest);
        wasMembers.removeAll(u"Serr0.xml"_s);
        isMembers.removeAll(u"Serr0.xml"_s);
        wasMembers.sort();
        isMembers.sort();
        // Shared pictures and passages stay shared.
        EXPECT_EQ(isMembers, wasMembers);
    }
}

QList<Case> allCases()
{
    QList<Case> cases;
    for (int s = 0; s < SampleTests::all().size(); ++s) {
        for (InterchangeFormat f :
             {InterchangeFormat::Moodle, InterchangeFormat::Gift, InterchangeFormat::Aiken})
            cases.append({s, f});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Samples, RoundTrip, ::testing::ValuesIn(allCases()), caseName);

} // namespace
