#include "testeditor/TestEditor.h"

#include "storage/ArchiveAccess.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "support/DocumentFixtures.h"
#include "support/DocumentTest.h"
#include "testeditor/TestInfo.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kAskDelete = u"Czy rzeczywiście usunąć?\rTej operacji nie można cofnąć."_s;
const QString kAskSave = u"W dokumencie dokonano zmian.\rCzy zapisać zmiany?"_s;
const QString kDamaged = u"Problemy z otwarciem pliku testu.\rPrawdopodobnie plik jest uszkodzony."_s;

class TestEditorTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        editor.where = {100, 50};
        editor.windows.clearAnswerMarks = [this] { calls << u"clearMarks"_s; };
        editor.windows.editQuestion = [this](int k) {
            calls << u"edit "_s + QString::number(k);
            return true;
        };
        editor.windows.testInfo = [this] { calls << u"info"_s; };
        editor.windows.properties = [this](int k) { calls << u"properties "_s + QString::number(k); };
        editor.windows.questionInfo = [this] { calls << u"questionInfo "_s + t.ws.question.text; };
    }

    // A new test whose header has been accepted, with `count` questions named "P1", "P2" ...
    void headerAndQuestions(int count)
    {
        editor.newTest();
        editor.headerAccepted();
        for (int k = 1; k <= count; ++k) {
            ASSERT_TRUE(editor.newQuestion());
            t.ws.test.question(k).text = u"P"_s + QString::number(k);
        }
        editor.rebuildOutline();
        calls.clear();
    }

    QStringList texts() const
    {
        QStringList out;
        for (int k = 1; k <= t.ws.test.header.questionCount; ++k)
            out << t.ws.test.question(k).text;
        return out;
    }

    TestEditor editor{t.ws};
    QStringList calls;
};

TEST_F(TestEditorTest, ANewTestTakesQuestionsOnlyAfterItsHeader)
{
    t.ws.settings.ng = true;
    editor.newTest();
    EXPECT_EQ(t.ws.workMode, WorkTest);
    ASSERT_EQ(editor.outline().size(), 1);
    EXPECT_EQ(editor.outline()[0].label, u"Dane ogólne"_s);
    EXPECT_FALSE(editor.outline()[0].done);
    EXPECT_FALSE(editor.newQuestion());
    EXPECT_FALSE(editor.canAddQuestion());
    EXPECT_EQ(t.ws.test.header.questionCount, 0);
    EXPECT_FALSE(editor.saveButtonShown());

    editor.headerAccepted();
    EXPECT_TRUE(editor.outline()[0].done);
    EXPECT_TRUE(editor.saveButtonShown());
    ASSERT_TRUE(editor.newQuestion());
    ASSERT_EQ(editor.outline().size(), 2);
    EXPECT_EQ(editor.outline()[1].label, u"Pytanie nr 1"_s);
    EXPECT_FALSE(editor.outline()[1].done);
    EXPECT_EQ(editor.selectedNode(), 1);
    EXPECT_TRUE(editor.modified);
    EXPECT_FALSE(editor.canMoveUp());
    EXPECT_FALSE(editor.canMoveDown());
    EXPECT_EQ(calls, QStringList{u"clearMarks"_s});

    // With "dfe" the new question opens in the question editor at once.
    t.ws.settings.dfe = true;
    calls.clear();
    ASSERT_TRUE(editor.newQuestion());
    EXPECT_EQ(calls, QStringList{u"edit 2"_s});
    EXPECT_TRUE(editor.canMoveUp());
}

TEST_F(TestEditorTest, LabelsFollowTheNgSetting)
{
    struct Case {
        bool ng;
        QString text;
        QString label;
    };
    const QString eighty = QString(40, u'a') + QString(40, u'b');
    const Case cases[] = {
        {true, eighty, eighty.left(55)},
        {true, {}, u"Pytanie nr 1"_s},
        {false, eighty, u"Pytanie nr 1"_s},
        {true, u"Krótkie"_s, u"Krótkie"_s},
    };
    for (const Case &c : cases) {
        t.ws.settings.ng = c.ng;
        headerAndQuestions(1);
        t.ws.test.question(1).text = c.text;
        editor.rebuildOutline();
        EXPECT_EQ(editor.outline()[1].label, c.label) << c.text.toStdString();
    }
}

TEST_F(TestEditorTest, SelectionAfterDeleting)
{
    struct Case {
        int count;
        int deleted;
        int selected;
        QStringList left;
    };
    const Case cases[] = {
        {3, 1, 1, {u"P2"_s, u"P3"_s}},
        {3, 3, 2, {u"P1"_s, u"P2"_s}},
        {3, 2, 1, {u"P1"_s, u"P3"_s}},
        {1, 1, 0, {}},
    };
    t.ws.settings.al = false;
    for (const Case &c : cases) {
        headerAndQuestions(c.count);
        editor.select(c.deleted);
        editor.deleteSelected();
        EXPECT_EQ(editor.selectedNode(), c.selected) << c.count << " " << c.deleted;
        EXPECT_EQ(texts(), c.left);
        EXPECT_EQ(editor.outline().size(), c.left.size() + 1);
        EXPECT_TRUE(t.ws.test.question(c.count).text.isEmpty()); // the old last record is blank
        EXPECT_TRUE(editor.modified);
        EXPECT_TRUE(editor.saveButtonShown());
    }
    // Nothing is left: delete, preview and both moves are off, and Del does nothing.
    EXPECT_FALSE(editor.questionSelected());
    EXPECT_FALSE(editor.canMoveUp());
    EXPECT_FALSE(editor.canMoveDown());
    editor.deleteSelected();
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(TestEditorTest, DeletingAsksFirstWithAl)
{
    t.ws.settings.al = true;
    for (MessageResult answer : {MessageResult::No, MessageResult::Cancel, MessageResult::Yes}) {
        headerAndQuestions(2);
        editor.modified = false;
        editor.select(2);
        prompts.queueAnswer(answer);
        editor.deleteSelected();
        EXPECT_EQ(prompts.lastMessageText(), kAskDelete);
        EXPECT_EQ(t.ws.test.header.questionCount, answer == MessageResult::Yes ? 1 : 2);
        EXPECT_EQ(editor.modified, answer == MessageResult::Yes);
    }
}

TEST_F(TestEditorTest, The45thQuestionDisablesBothAddingCommands)
{
    headerAndQuestions(44);
    EXPECT_TRUE(editor.canAddQuestion());
    ASSERT_TRUE(editor.newQuestion());
    EXPECT_EQ(t.ws.test.header.questionCount, 45);
    EXPECT_FALSE(editor.canAddQuestion());
    EXPECT_FALSE(editor.canImportByKey());
    EXPECT_FALSE(editor.newQuestion());
    EXPECT_FALSE(editor.importQuestion(false));
    EXPECT_FALSE(editor.importQuestion(true));
    EXPECT_TRUE(prompts.fileRequests.isEmpty());
    EXPECT_EQ(t.ws.test.header.questionCount, 45);
    EXPECT_EQ(editor.outline().size(), 46);

    t.ws.settings.al = false;
    editor.deleteSelected();
    EXPECT_TRUE(editor.canAddQuestion());
    EXPECT_TRUE(editor.canImportByKey());
}

TEST_F(TestEditorTest, MovingFollowsTheQuestion)
{
    t.ws.settings.ng = true;
    headerAndQuestions(3);
    t.ws.test.question(2).unfinished = 0;
    editor.rebuildOutline();
    editor.select(2);
    editor.modified = false;
    editor.moveUp();
    EXPECT_EQ(texts(), (QStringList{u"P2"_s, u"P1"_s, u"P3"_s}));
    EXPECT_EQ(editor.selectedNode(), 1);
    EXPECT_FALSE(editor.canMoveUp());
    EXPECT_TRUE(editor.modified);
    EXPECT_EQ(editor.outline()[1].label, u"P2"_s);
    EXPECT_TRUE(editor.outline()[1].done);
    EXPECT_FALSE(editor.outline()[2].done);

    editor.moveDown();
    editor.moveDown();
    EXPECT_EQ(texts(), (QStringList{u"P1"_s, u"P3"_s, u"P2"_s}));
    EXPECT_EQ(editor.selectedNode(), 3);
    EXPECT_FALSE(editor.canMoveDown());
    EXPECT_TRUE(editor.outline()[3].done);
    EXPECT_EQ(editor.outline()[3].label, u"P2"_s);
}

TEST_F(TestEditorTest, OpeningANodeOpensItsWindow)
{
    headerAndQuestions(2);
    editor.select(0);
    editor.openSelected();
    editor.preview(); // not for the header
    editor.select(2);
    editor.openSelected();
    editor.preview();
    EXPECT_EQ(calls, (QStringList{u"info"_s, u"edit 2"_s, u"properties 2"_s}));
}

TEST_F(TestEditorTest, SavingANewTestAsksForItsNameAndShowsTheClock)
{
    t.ws.log.setFilterLevel(5);
    headerAndQuestions(1);
    const QString file = path(u"nowy.skt"_s);
    prompts.queueFileName(file);
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(prompts.fileRequests[0].request.title, u"Zapisz jako ..."_s);
    EXPECT_EQ(prompts.fileRequests[0].request.defaultExtension, u"skt"_s);
    EXPECT_EQ(editor.testFile, file);
    EXPECT_FALSE(editor.modified);
    EXPECT_FALSE(editor.saveButtonShown());
    EXPECT_EQ(prompts.clockPositions, QList<QPoint>{QPoint(290, 230)});
    EXPECT_TRUE(t.logTexts().contains(u"Zapisano plik testu."_s));

    // Ctrl+S without changes does nothing; save as by its key: no log line, the clock elsewhere.
    EXPECT_FALSE(editor.canSave());
    const QString other = path(u"drugi.skt"_s);
    prompts.queueFileName(other);
    ASSERT_TRUE(editor.saveAs(true));
    EXPECT_EQ(editor.testFile, other);
    EXPECT_EQ(prompts.clockPositions.last(), QPoint(300, 190));
    EXPECT_FALSE(t.logTexts().contains(u"Zapisano plik testu jako."_s));
    prompts.queueFileName(path(u"trzeci.skt"_s));
    ASSERT_TRUE(editor.saveAs(false));
    EXPECT_EQ(prompts.clockPositions.last(), QPoint(290, 230));
    EXPECT_TRUE(t.logTexts().contains(u"Zapisano plik testu jako."_s));

    // A cancelled name changes nothing.
    editor.modified = true;
    prompts.queueFileName({});
    EXPECT_FALSE(editor.saveAs(false));
    EXPECT_EQ(editor.testFile, path(u"trzeci.skt"_s));
    EXPECT_TRUE(editor.modified);
}

TEST_F(TestEditorTest, ClosingWithChanges)
{
    struct Case {
        MessageResult answer;
        TestEditor::Outcome outcome;
        bool written;
    };
    const Case cases[] = {
        {MessageResult::Cancel, TestEditor::Outcome::StayOpen, false},
        {MessageResult::No, TestEditor::Outcome::Close, false},
        {MessageResult::Yes, TestEditor::Outcome::Close, true},
    };
    for (const Case &c : cases) {
        headerAndQuestions(1);
        editor.testFile = path(u"zamykany.skt"_s);
        QFile::remove(editor.testFile);
        prompts.queueAnswer(c.answer);
        EXPECT_EQ(editor.close(), c.outcome);
        EXPECT_EQ(prompts.lastMessageText(), kAskSave);
        EXPECT_EQ(QFile::exists(editor.testFile), c.written);
        if (c.outcome == TestEditor::Outcome::StayOpen) {
            EXPECT_TRUE(editor.modified);
            EXPECT_EQ(t.ws.workMode, WorkTest);
            EXPECT_EQ(t.ws.test.header.questionCount, 1);
        } else {
            EXPECT_FALSE(editor.modified);
            EXPECT_EQ(t.ws.workMode, WorkNothing);
        }
    }
}

TEST_F(TestEditorTest, AFailedSaveKeepsTheChangesAndTheWindow)
{
    headerAndQuestions(2);
    editor.testFile = path(u"brak/folderu/test.skt"_s);
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_EQ(editor.close(), TestEditor::Outcome::StayOpen);
    EXPECT_TRUE(editor.modified);
    EXPECT_TRUE(editor.saveButtonShown());
    EXPECT_EQ(t.ws.workMode, WorkTest);
    EXPECT_TRUE(prompts.clockPositions.isEmpty());
    EXPECT_EQ(prompts.messages.size(), 2); // the question and the writer's message
    EXPECT_EQ(texts(), (QStringList{u"P1"_s, u"P2"_s}));
}

TEST_F(TestEditorTest, RoundTripOfThreeQuestionsSharingAPicture)
{
    headerAndQuestions(3);
    ASSERT_TRUE(PutStream(u"RYS.JPG"_s, QByteArray("obraz"), *t.ws.workingTest));
    for (int k = 1; k <= 3; ++k) {
        Question &q = t.ws.test.question(k);
        q.answers = {u"a"_s, u"b"_s, u"c"_s, {}, {}};
        q.correct = u"10000"_s;
        q.imageName = u"RYS.JPG"_s;
    }
    const QString file = path(u"trzy.skt"_s);
    editor.testFile = file;
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(DocumentFixtures::memberNames(file), (QStringList{u"Serr0.xml"_s, u"RYS.JPG"_s}));

    TestEditor reopened(t.ws);
    ASSERT_TRUE(reopened.openTest(file));
    EXPECT_TRUE(reopened.headerEntered);
    EXPECT_FALSE(reopened.modified);
    EXPECT_EQ(reopened.selectedNode(), 0);
    ASSERT_EQ(reopened.outline().size(), 4);
    for (const TestEditor::Node &node : reopened.outline())
        EXPECT_TRUE(node.done) << node.label.toStdString();
    EXPECT_EQ(texts(), (QStringList{u"P1"_s, u"P2"_s, u"P3"_s}));
}

TEST_F(TestEditorTest, FilesNoWindowCanShowAreRefusedOrBroughtIntoRange)
{
    struct Case {
        QByteArray xml;
        bool opens;
    };
    const Case cases[] = {
        {"<tst><cd>fa</cd><ilp>1</ilp><ilo>6</ilo><typ>0</typ><pyt1><tr>a</tr></pyt1></tst>", false},
        {"<tst><cd>fa</cd><ilp>1</ilp><ilo>4</ilo><typ>2</typ><pyt1><tr>a</tr></pyt1></tst>", false},
        {"<tst><cd>fa</cd><ilp>1</ilp><ilo>4</ilo><typ>1</typ><tim>333</tim>"
         "<skl><tk>1</tk><cel>120</cel><bdb>80</bdb><db>70</db><dst>60</dst><dp>3</dp></skl></tst>",
         true},
    };
    for (const Case &c : cases) {
        prompts.messages.clear();
        const QString file = writeArchive(u"dziwny.skt"_s, {{"Serr0.xml", c.xml}});
        EXPECT_EQ(editor.openTest(file), c.opens) << c.xml.constData();
        if (!c.opens) {
            EXPECT_EQ(prompts.messageTexts(), QStringList{kDamaged});
            continue;
        }
        const TestHeader &h = t.ws.test.header;
        EXPECT_EQ(h.time, 300);
        EXPECT_EQ(h.thresholds, (std::array<int, 5>{99, 80, 70, 60, 10}));
    }
    // The shown values are what a save writes.
    const QString saved = path(u"zapisany.skt"_s);
    ASSERT_TRUE(WriteTestDocument(t.ws, saved));
    ASSERT_TRUE(editor.openTest(saved));
    EXPECT_EQ(t.ws.test.header.time, 300);
}

TEST_F(TestEditorTest, ATestOfMoreThan45QuestionsOpensWithTheFirst45AndSaysSo)
{
    QByteArray xml = "<tst><cd>fa</cd><ilp>48</ilp><ilo>3</ilo>";
    for (int i = 1; i <= 48; ++i)
        xml += "<pyt" + QByteArray::number(i) + "><tr>q" + QByteArray::number(i) + "</tr></pyt" +
               QByteArray::number(i) + ">";
    xml += "</tst>";
    ASSERT_TRUE(editor.openTest(writeArchive(u"duzy.skt"_s, {{"Serr0.xml", xml}})));
    EXPECT_EQ(t.ws.test.header.questionCount, 45);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text,
              u"Plik testu zawiera więcej niż 45 pytań.\rWczytano pierwsze 45, pominięto 3."_s);
    EXPECT_FALSE(editor.canAddQuestion());
    // A test that fits says nothing.
    editor.newTest();
    prompts.messages.clear();
    ASSERT_TRUE(
        editor.openTest(writeArchive(u"maly.skt"_s, {{"Serr0.xml", "<tst><ilp>1</ilp><ilo>3</ilo></tst>"}})));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(TestEditorTest, RemovingAttachmentsAndSavingAQuestionAsAFile)
{
    headerAndQuestions(2);
    ASSERT_TRUE(PutStream(u"OPIS.TXT"_s, QByteArray("tekst"), *t.ws.workingTest));
    Question &q = t.ws.test.question(2);
    q.textName = u"OPIS.TXT"_s;
    q.answers = {u"a"_s, u"b"_s, u"c"_s, {}, {}};
    editor.select(1);
    EXPECT_FALSE(editor.canRemoveText());
    EXPECT_FALSE(editor.canRemoveImage());
    editor.select(2);
    EXPECT_TRUE(editor.canRemoveText());
    EXPECT_FALSE(editor.canRemoveImage());

    const QString single = path(u"jedno.skq"_s);
    prompts.queueFileName(single);
    ASSERT_TRUE(editor.saveSelectedQuestionAs());
    EXPECT_EQ(prompts.fileRequests.last().request.title, u"Zapisz plik pytania jako..."_s);
    EXPECT_EQ(prompts.clockPositions, QList<QPoint>{QPoint(290, 230)});
    EXPECT_EQ(DocumentFixtures::memberNames(single), (QStringList{u"Sezz0.xml"_s, u"OPIS.TXT"_s}));

    editor.modified = false;
    editor.removeAttachedText();
    EXPECT_TRUE(q.textName.isEmpty());
    EXPECT_TRUE(editor.modified);
    EXPECT_TRUE(editor.saveButtonShown());
    EXPECT_TRUE(HasMember(u"OPIS.TXT"_s, *t.ws.workingTest)); // the member stays in the working archive
}

TEST_F(TestEditorTest, ImportReadsTheFileThenOpensTheInformationWindow)
{
    headerAndQuestions(1);
    t.ws.question.resetSingleQuestion();
    t.ws.question.text = u"Z pliku"_s;
    const QString file = path(u"z_pliku.skq"_s);
    ASSERT_TRUE(WriteQuestionDocument(t.ws, file, *t.ws.workingQuestion));
    t.ws.question.resetSingleQuestion();

    prompts.queueFileName({});
    EXPECT_FALSE(editor.importQuestion(false));
    EXPECT_TRUE(calls.isEmpty());
    prompts.queueFileName(file);
    EXPECT_TRUE(editor.importQuestion(false));
    EXPECT_EQ(prompts.fileRequests.last().request.title, u"Wskaż plik pytania"_s);
    EXPECT_EQ(calls, QStringList{u"questionInfo Z pliku"_s});
    EXPECT_EQ(t.ws.question.fileName, u"z_pliku.skq"_s);

    // The information window appends it: selected, marked done, the test changed.
    t.ws.test.header.questionCount = 2;
    t.ws.test.question(2).unfinished = 0;
    editor.modified = false;
    editor.questionAppended(2);
    EXPECT_EQ(editor.selectedNode(), 2);
    EXPECT_TRUE(editor.outline()[2].done);
    EXPECT_TRUE(editor.modified);
}

TEST_F(TestEditorTest, ContextMenuPlacement)
{
    headerAndQuestions(20);
    struct Case {
        int selected;
        QPoint pointer;
        QPoint menu;
    };
    const Case cases[] = {
        {3, {100, 120}, {100, 120}}, {18, {100, 300}, {100, 150}},
        {3, {250, 120}, {100, 120}}, {17, {217, 300}, {217, 300}}, // 200 px from the outline: not more
        {17, {218, 300}, {68, 300}},
    };
    for (const Case &c : cases) {
        editor.select(c.selected);
        EXPECT_EQ(editor.contextMenuPosition(c.pointer, 17), c.menu) << c.selected;
    }
}

// --- Test information ---------------------------------------------------------------------------

class TestInfoTest : public TestEditorTest {
protected:
    TestInfo info{editor};
};

TEST_F(TestInfoTest, NewTestStartsFromTheSettings)
{
    struct Case {
        bool sw;
        bool dfto;
        int multiple;
        int answers;
    };
    for (const Case c : {Case{false, true, 1, 3}, Case{true, false, 0, 4}}) {
        t.ws.settings.sw = c.sw;
        t.ws.settings.dfto = c.dfto;
        editor.newTest();
        info.fill();
        EXPECT_EQ(info.fields.multipleChoice, c.multiple);
        EXPECT_EQ(info.fields.answerCount, c.answers);
        EXPECT_TRUE(info.fields.name.isEmpty());
        EXPECT_EQ(info.fields.time, 0);
        EXPECT_FALSE(info.fields.scale);
        EXPECT_EQ(info.fields.thresholds, TestInfo::defaultScale);
        EXPECT_TRUE(info.choicesEnabled);
    }
}

TEST_F(TestInfoTest, AnEnteredHeaderFillsTheWindowAndQuestionsLockTheChoices)
{
    headerAndQuestions(1);
    TestHeader &h = t.ws.test.header;
    h.answerCount = 5;
    h.multipleChoice = 1;
    h.testName = u"Ułamki"_s;
    h.time = 45;
    h.gradingOn = 1;
    h.thresholds = {95, 85, 75, 55, 35};
    info.fill();
    EXPECT_EQ(info.fields.answerCount, 5);
    EXPECT_EQ(info.fields.multipleChoice, 1);
    EXPECT_EQ(info.fields.name, u"Ułamki"_s);
    EXPECT_EQ(info.fields.time, 45);
    EXPECT_TRUE(info.fields.scale);
    EXPECT_EQ(info.fields.thresholds, (std::array<int, 5>{95, 85, 75, 55, 35}));
    EXPECT_FALSE(info.choicesEnabled);
    // Even if the fields said otherwise, a test with questions keeps its count and type.
    info.fields.author = u"Ja"_s;
    info.fields.answerCount = 3;
    info.fields.multipleChoice = 0;
    ASSERT_TRUE(info.accept());
    EXPECT_EQ(h.answerCount, 5);
    EXPECT_EQ(h.multipleChoice, 1);
}

TEST_F(TestInfoTest, AcceptingChecksEverythingBeforeStoring)
{
    struct Case {
        QString name;
        QString author;
        bool scale;
        std::array<int, 5> thresholds;
        QString message; // empty: stored
        std::array<int, 5> stored;
        QString storedName;
    };
    const std::array<int, 5> tie{90, 80, 80, 60, 40};
    const std::array<int, 5> falling{91, 81, 71, 51, 11};
    const Case cases[] = {
        {u"Test"_s, u"Ja"_s, true, tie, u"Ustaw poprawnie progi procentowe."_s, {}, {}},
        {u"Test"_s, u"Ja"_s, false, tie, {}, TestInfo::defaultScale, u"Test"_s},
        {u"Test"_s, u"Ja"_s, true, falling, {}, falling, u"Test"_s},
        {{}, u"Ja"_s, false, tie, u"Wpisz poprawnie nazwę i autora testu."_s, {}, {}},
        {u"Test"_s, {}, true, tie, u"Wpisz poprawnie nazwę i autora testu."_s, {}, {}},
        {u"dwa\r\nwiersze   i\tspacje"_s,
         u"Ja"_s,
         false,
         tie,
         {},
         TestInfo::defaultScale,
         u"dwa wiersze i\tspacje"_s},
        {u"   "_s, u"Ja"_s, false, tie, {}, TestInfo::defaultScale, u" "_s},
    };
    for (const Case &c : cases) {
        editor.newTest();
        info.fill();
        prompts.messages.clear();
        info.fields.name = c.name;
        info.fields.author = c.author;
        info.fields.scale = c.scale;
        info.fields.thresholds = c.thresholds;
        info.fields.time = 30;
        info.fields.answerCount = 4;
        const bool stored = info.accept();
        EXPECT_EQ(stored, c.message.isEmpty()) << c.name.toStdString();
        const TestHeader &h = t.ws.test.header;
        if (!stored) {
            EXPECT_EQ(prompts.messageTexts(), QStringList{c.message});
            EXPECT_TRUE(h.testName.isEmpty()); // nothing of the header stored
            EXPECT_EQ(h.time, 0);
            EXPECT_EQ(h.answerCount, 3);
            EXPECT_FALSE(editor.headerEntered);
            continue;
        }
        EXPECT_TRUE(prompts.messages.isEmpty());
        EXPECT_EQ(h.testName, c.storedName);
        EXPECT_EQ(h.thresholds, c.stored);
        EXPECT_EQ(h.gradingOn, c.scale ? 1 : 0);
        EXPECT_EQ(h.time, 30);
        EXPECT_EQ(h.answerCount, 4);
        EXPECT_TRUE(editor.headerEntered);
        EXPECT_TRUE(editor.modified);
        EXPECT_TRUE(editor.outline()[0].done);
    }
}

TEST_F(TestInfoTest, ArrowsStayWithinTheirRanges)
{
    editor.newTest();
    info.fill();
    info.stepTime(-1);
    EXPECT_EQ(info.fields.time, 0);
    for (int i = 0; i < 70; ++i)
        info.stepTime(+1);
    EXPECT_EQ(info.fields.time, 300);
    info.stepTime(-1);
    EXPECT_EQ(info.fields.time, 295);
    for (int i = 0; i < 20; ++i)
        info.stepThreshold(0, +1);
    EXPECT_EQ(info.fields.thresholds[0], 99);
    for (int i = 0; i < 40; ++i)
        info.stepThreshold(4, -1);
    EXPECT_EQ(info.fields.thresholds[4], 10);
    info.stepThreshold(7, +1); // no such threshold
}

} // namespace
