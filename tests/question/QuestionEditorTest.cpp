#include "question/QuestionEditor.h"

#include "storage/ArchiveAccess.h"
#include "documents/QuestionDocument.h"
#include "documents/QuestionMessages.h"
#include "storage/TVfsPAK.h"
#include "support/DocumentFixtures.h"
#include "support/DocumentTest.h"
#include "support/PakBytes.h"
#include "support/RecordingTestEditor.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kIncomplete = u"\rWpisz poprawnie pytanie i odpowiedzi."_s;
const QString kNoMark = u"\rZaznacz poprawną odpowiedź."_s;
const QString kAskSave = u"W dokumencie dokonano zmian.\rCzy zapisać zmiany?"_s;
const QString kOpenFailed = u"Problemy z otwarciem pliku pytania.\rPrawdopodobnie plik jest uszkodzony."_s;

using Popup = QuestionEditor::PopupKind;
using Outcome = QuestionEditor::Outcome;

class QuestionEditorTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        editor.setTestEditor(&testEditor);
        editor.position = {100, 50};
    }

    // A test of `count` questions with `answers` answers, in the test editor's work mode.
    void makeTest(int answers, int multiple, int count = 2)
    {
        TestModel &m = t.ws.test;
        m.resetTest();
        m.header.answerCount = answers;
        m.header.multipleChoice = multiple;
        m.header.questionCount = count;
        for (int k = 1; k <= count; ++k) {
            Question &q = m.question(k);
            q.text = u"Pytanie "_s + QString::number(k);
            q.answers = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s};
            q.correct = u"00000"_s;
        }
        t.ws.workMode = WorkTest;
    }

    void typeComplete(int answers)
    {
        editor.setText(u"Stolica Polski?"_s);
        for (int i = 1; i <= answers; ++i)
            editor.setAnswer(i, u"Odpowiedź "_s + QString::number(i));
    }

    // A new single question of `answers` answers, single choice, filled in, in work mode 2.
    void newComplete(int answers = 3)
    {
        t.ws.workMode = WorkSingleQuestion;
        editor.newSingleQuestion();
        if (answers != 3) {
            editor.togglePopup(Popup::Count);
            editor.choosePopupItem(answers - 3);
        }
        typeComplete(answers);
    }

    SingleQuestion readBack(const QString &file)
    {
        Workspace &ws = t.ws;
        const SingleQuestion keep = ws.question;
        ws.question.resetSingleQuestion();
        EXPECT_TRUE(ReadQuestionDocument(ws, file));
        SingleQuestion read = ws.question;
        ws.question = keep;
        return read;
    }

    RecordingTestEditor testEditor;
    QuestionEditor editor{t.ws};
};

// --- In a test ----------------------------------------------------------------------------------

TEST_F(QuestionEditorTest, AThreeAnswerTestShowsAndStoresOnlyThreeAnswers)
{
    makeTest(3, 0);
    ASSERT_TRUE(editor.fillFromTest(1));
    EXPECT_EQ(editor.editMode(), QuestionEditor::EditMode::InTest);
    EXPECT_EQ(editor.fields.answers[3], QString());
    EXPECT_EQ(editor.fields.answers[4], QString());

    editor.setText(u"Ile\r\n\r\nto  jest?"_s);
    editor.setAnswer(1, u"jeden\ndwa"_s);
    editor.setAnswer(4, u"ukryta"_s);
    EXPECT_EQ(editor.commitTestQuestion(), Outcome::Close);
    const Question &q = t.ws.test.question(1);
    EXPECT_EQ(q.text, u"Ile to jest?"_s);
    EXPECT_EQ(q.answers[0], u"jeden dwa"_s);
    EXPECT_EQ(q.answers[3], u"d"_s); // beyond the count: kept as stored
    EXPECT_EQ(q.answers[4], u"e"_s);
    EXPECT_EQ(q.unfinished, 0);
    EXPECT_EQ(testEditor.calls, (QStringList{u"label 1 Ile to jest?"_s, u"mark 1"_s, u"modified"_s}));
    EXPECT_FALSE(editor.questionModified); // test questions are the test editor's to track
}

TEST_F(QuestionEditorTest, OpeningSetsTheMaskOfTheMarks)
{
    struct Case {
        int multiple;
        const char16_t *stored;
        int radio;
        const char16_t *after;
    };
    const Case cases[] = {
        {0, u"00000", 1, u"10000"}, // a blank single-choice question gets answer 1
        {0, u"00100", 3, u"00100"},
        {0, u"01010", 2, u"01000"}, // the first "1" wins
        {1, u"00000", 0, u"00000"},
        {1, u"01010", 0, u"01010"},
    };
    for (const Case &c : cases) {
        makeTest(5, c.multiple);
        t.ws.test.question(2).correct = QString::fromUtf16(c.stored);
        ASSERT_TRUE(editor.fillFromTest(2));
        EXPECT_EQ(editor.fields.radio, c.radio) << QString::fromUtf16(c.stored).toStdString();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(editor.fields.checked[static_cast<size_t>(i)], c.multiple && c.stored[i] == u'1');
        // Opening runs the mark handlers on the record.
        EXPECT_EQ(t.ws.test.question(2).correct, QString::fromUtf16(c.after)) << QString::fromUtf16(c.stored).toStdString();
    }
    EXPECT_TRUE(testEditor.calls.isEmpty());
    EXPECT_FALSE(editor.fillFromTest(3)); // beyond questionCount
}

TEST_F(QuestionEditorTest, AcceptingRefusesIncompleteQuestions)
{
    struct Case {
        int answers;
        int multiple;
        int emptyAnswer; // 0: the text is empty
        bool checkOne;
        QString message;
    };
    const Case cases[] = {
        {3, 0, 0, false, kIncomplete}, {3, 0, 3, false, kIncomplete}, {4, 0, 4, false, kIncomplete},
        {5, 1, 5, true, kIncomplete},  {4, 1, -1, false, kNoMark},
    };
    for (const Case &c : cases) {
        makeTest(c.answers, c.multiple);
        const Question before = t.ws.test.question(1);
        ASSERT_TRUE(editor.fillFromTest(1));
        typeComplete(c.answers);
        if (c.emptyAnswer == 0)
            editor.setText({});
        else if (c.emptyAnswer > 0)
            editor.setAnswer(c.emptyAnswer, {});
        if (c.checkOne)
            editor.setChecked(2, true);
        prompts.messages.clear();
        EXPECT_EQ(editor.commitTestQuestion(), Outcome::StayOpen);
        EXPECT_EQ(prompts.messageTexts(), QStringList{c.message});
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::InfoIcon);
        EXPECT_EQ(t.ws.test.question(1).text, before.text);
        EXPECT_EQ(t.ws.test.question(1).unfinished, 1);
    }
    // Spaces alone count as filled.
    makeTest(3, 0);
    ASSERT_TRUE(editor.fillFromTest(1));
    typeComplete(3);
    editor.setAnswer(2, u"  "_s);
    EXPECT_EQ(editor.commitTestQuestion(), Outcome::Close);
}

TEST_F(QuestionEditorTest, MarksChangeTheRecordAtOnce)
{
    makeTest(5, 1);
    ASSERT_TRUE(editor.fillFromTest(1));
    editor.setChecked(2, true);
    editor.setChecked(5, true);
    EXPECT_EQ(t.ws.test.question(1).correct, u"01001"_s);
    editor.setChecked(2, false);
    EXPECT_EQ(t.ws.test.question(1).correct, u"00001"_s);
    editor.selectAnswerByKey(2); // multiple choice: Ctrl+n does nothing
    EXPECT_EQ(t.ws.test.question(1).correct, u"00001"_s);

    makeTest(3, 0);
    ASSERT_TRUE(editor.fillFromTest(1));
    editor.selectAnswerByKey(4); // beyond three answers
    EXPECT_EQ(editor.fields.radio, 1);
    editor.selectAnswerByKey(2);
    EXPECT_EQ(editor.fields.radio, 2);
    EXPECT_EQ(t.ws.test.question(1).correct, u"01000"_s);
    EXPECT_FALSE(testEditor.testModified);

    // Clearing the marks touches no record.
    editor.clearAnswerMarks();
    EXPECT_EQ(editor.fields.radio, 0);
    EXPECT_EQ(t.ws.test.question(1).correct, u"01000"_s);
    EXPECT_EQ(t.ws.workMode, WorkTest);
}

TEST_F(QuestionEditorTest, AcceptedMaskComesFromTheMarks)
{
    makeTest(5, 0);
    ASSERT_TRUE(editor.fillFromTest(1));
    typeComplete(5);
    editor.selectRadio(5);
    EXPECT_EQ(editor.commitTestQuestion(), Outcome::Close);
    EXPECT_EQ(t.ws.test.question(1).correct, u"00001"_s);
}

TEST_F(QuestionEditorTest, VariableHeadingLabelsTheNodeWithFiftyFiveCharacters)
{
    const QString eighty = QString(80, u'ż');
    for (bool ng : {true, false}) {
        makeTest(3, 0);
        t.ws.settings.ng = ng;
        testEditor.calls.clear();
        ASSERT_TRUE(editor.fillFromTest(2));
        typeComplete(3);
        editor.setText(eighty);
        EXPECT_EQ(editor.commitTestQuestion(), Outcome::Close);
        EXPECT_EQ(testEditor.calls.contains(u"label 2 "_s + QString(55, u'ż')), ng);
        EXPECT_EQ(testEditor.calls.filter(u"label"_s).size(), ng ? 1 : 0);
    }
}

TEST_F(QuestionEditorTest, EscInATestClosesWithoutStoringOrAsking)
{
    makeTest(3, 0);
    ASSERT_TRUE(editor.fillFromTest(1));
    editor.setText(u"zmienione"_s);
    EXPECT_EQ(editor.closeQuestion(), Outcome::Close);
    EXPECT_EQ(t.ws.test.question(1).text, u"Pytanie 1"_s);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(t.ws.workMode, WorkTest);
    EXPECT_FALSE(editor.saveSingleQuestion()); // Ctrl+S does nothing in a test
    EXPECT_TRUE(prompts.fileRequests.isEmpty());
}

TEST_F(QuestionEditorTest, SaveAsFromATestWritesTheQuestionAsShown)
{
    makeTest(4, 1);
    t.ws.test.question(1).imageName = u"mapa.jpg"_s;
    ASSERT_TRUE(PutStream(u"mapa.jpg"_s, "JPEG-bytes", *t.ws.workingTest));
    ASSERT_TRUE(editor.fillFromTest(1));
    typeComplete(4);
    editor.setChecked(3, true);
    const QString out = path(u"z testu.skq"_s);
    prompts.queueFileName(out);
    EXPECT_TRUE(editor.saveSingleQuestionAs());
    EXPECT_EQ(t.ws.test.question(1).text, u"Pytanie 1"_s); // the test is not changed by it
    const SingleQuestion read = readBack(out);
    EXPECT_EQ(read.text, u"Stolica Polski?"_s);
    EXPECT_EQ(read.answerCount, 4);
    EXPECT_EQ(read.multipleChoice, 1);
    EXPECT_EQ(read.correct, u"00100"_s);
    EXPECT_EQ(DocumentFixtures::memberNames(out), (QStringList{u"Sezz0.xml"_s, u"mapa.jpg"_s}));
    EXPECT_EQ(prompts.clockPositions, QList<QPoint>{QPoint(138, 252)});

    // LZapiszPytanieSoloZTestu hands the stored record to the test editor.
    editor.saveTestQuestionAsSingle();
    EXPECT_TRUE(testEditor.calls.contains(u"saveQuestionAs 1"_s));
    EXPECT_EQ(prompts.clockPositions.size(), 2);
}

// --- Single question ----------------------------------------------------------------------------

TEST_F(QuestionEditorTest, TypeAndCountChangeOnlyForANewQuestion)
{
    t.ws.workMode = WorkSingleQuestion;
    editor.newSingleQuestion();
    EXPECT_FALSE(editor.questionModified);
    EXPECT_TRUE(editor.typeAndCountEditable());
    editor.togglePopup(Popup::Count);
    EXPECT_EQ(editor.popupItems(), (QStringList{u"Trzy odpowiedzi"_s, u"Cztery odpowiedzi"_s, u"Pięć odpowiedzi"_s}));
    editor.choosePopupItem(2);
    EXPECT_EQ(t.ws.question.answerCount, 5);
    EXPECT_TRUE(editor.questionModified);
    EXPECT_EQ(editor.popupKind, Popup::None);
    editor.setAnswer(4, u"czwarta"_s);
    editor.setAnswer(5, u"piąta"_s);

    // Five, three, five: the answers typed before come back.
    editor.togglePopup(Popup::Count);
    editor.choosePopupItem(0);
    EXPECT_EQ(editor.answerCount(), 3);
    editor.togglePopup(Popup::Count);
    editor.choosePopupItem(2);
    EXPECT_EQ(editor.fields.answers[3], u"czwarta"_s);
    EXPECT_EQ(editor.fields.answers[4], u"piąta"_s);

    editor.togglePopup(Popup::Type);
    EXPECT_EQ(editor.popupItems(), (QStringList{u"Jednokrotny wybór"_s, u"Wielokrotny wybór"_s}));
    editor.togglePopup(Popup::Count); // a second click closes the open popup
    EXPECT_EQ(editor.popupKind, Popup::None);
    editor.togglePopup(Popup::Type);
    editor.choosePopupItem(1);
    EXPECT_EQ(editor.multipleChoice(), 1);
    EXPECT_EQ(QuestionEditor::typeCaption(1), u"Wielokrotny wybór"_s);

    // A question read from a file keeps its type and count.
    newComplete();
    const QString file = path(u"stare.skq"_s);
    prompts.queueFileName(file);
    ASSERT_TRUE(editor.saveSingleQuestion());
    ASSERT_TRUE(editor.openSingleQuestionFile(file));
    EXPECT_EQ(editor.editMode(), QuestionEditor::EditMode::OpenedSingle);
    editor.togglePopup(Popup::Count);
    EXPECT_EQ(editor.popupKind, Popup::None);
}

TEST_F(QuestionEditorTest, SaveAsksOnceForANameThenWritesThatFile)
{
    newComplete(4);
    editor.selectRadio(3);
    editor.setComment(u"Warszawa\r\nod 1596"_s);
    EXPECT_TRUE(editor.questionModified);
    const QString file = path(u"stolica.skq"_s);
    prompts.queueFileName(file);
    ASSERT_TRUE(editor.saveSingleQuestion());
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_TRUE(prompts.fileRequests[0].save);
    EXPECT_EQ(prompts.fileRequests[0].request.title, u"Zapisz plik pytania jako..."_s);
    EXPECT_EQ(prompts.fileRequests[0].request.defaultExtension, u"skq"_s);
    EXPECT_FALSE(editor.questionModified);
    EXPECT_EQ(t.ws.question.filePath, file);
    EXPECT_EQ(prompts.clockPositions, QList<QPoint>{QPoint(138, 252)});

    const SingleQuestion read = readBack(file);
    EXPECT_EQ(read.answerCount, 4);
    EXPECT_EQ(read.correct, u"00100"_s);
    EXPECT_EQ(read.comment, u"Warszawa od 1596"_s);
    EXPECT_EQ(read.answers[3], u"Odpowiedź 4"_s);

    // The second save writes the same file without asking; Save As always asks.
    editor.setAnswer(1, u"Kraków"_s);
    ASSERT_TRUE(editor.saveSingleQuestion());
    EXPECT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(readBack(file).answers[0], u"Kraków"_s);
    prompts.queueFileName({}); // cancelled
    EXPECT_FALSE(editor.saveSingleQuestionAs());
    EXPECT_EQ(prompts.fileRequests.size(), 2);
}

TEST_F(QuestionEditorTest, IncompleteQuestionIsNotSaved)
{
    t.ws.workMode = WorkSingleQuestion;
    editor.newSingleQuestion();
    editor.togglePopup(Popup::Type);
    editor.choosePopupItem(1);
    typeComplete(3); // multiple choice with nothing checked
    EXPECT_FALSE(editor.saveSingleQuestion());
    EXPECT_FALSE(editor.saveSingleQuestionAs());
    EXPECT_EQ(prompts.messageTexts(), QStringList(2, kIncomplete));
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::WarningIcon);
    EXPECT_TRUE(prompts.fileRequests.isEmpty());
}

TEST_F(QuestionEditorTest, AFailedSaveKeepsTheFileTheWindowAndTheFlag)
{
    newComplete();
    const QString file = path(u"pytanie.skq"_s);
    prompts.queueFileName(file);
    ASSERT_TRUE(editor.saveSingleQuestion());
    const QByteArray before = t.readFile(file);

    editor.setText(QString(20000, u'x'));
    {
        DocumentFixtures::FileSizeLimit limit(4096);
        EXPECT_FALSE(editor.saveSingleQuestion());
    }
    EXPECT_EQ(t.readFile(file), before);
    EXPECT_TRUE(editor.questionModified);
    EXPECT_EQ(t.ws.question.filePath, file);
    EXPECT_EQ(prompts.clockPositions.size(), 1);
    EXPECT_EQ(prompts.lastMessageText(), u"Wystąpiły problemy z utworzeniem pliku pytania.\rSprawdź plik błędów."_s);
}

TEST_F(QuestionEditorTest, ClosingAModifiedQuestionAsks)
{
    struct Case {
        MessageResult answer;
        const char16_t *fileName; // for Yes: the save dialog's answer
        Outcome outcome;
        bool modifiedAfter;
        bool written;
    };
    const Case cases[] = {
        {MessageResult::Cancel, nullptr, Outcome::StayOpen, true, false},
        {MessageResult::No, nullptr, Outcome::Close, false, false},
        {MessageResult::Yes, u"zamkniete.skq", Outcome::Close, false, true},
        {MessageResult::Yes, u"", Outcome::StayOpen, true, false}, // the name was not given
    };
    for (const Case &c : cases) {
        newComplete();
        prompts.messages.clear();
        prompts.queueAnswer(c.answer);
        const QString file = c.fileName && *c.fileName ? path(QString::fromUtf16(c.fileName)) : QString();
        if (c.fileName)
            prompts.queueFileName(file);
        EXPECT_EQ(editor.closeQuestion(), c.outcome);
        EXPECT_EQ(prompts.messageTexts(), QStringList{kAskSave});
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::YesNoCancel);
        EXPECT_EQ(editor.questionModified, c.modifiedAfter);
        EXPECT_EQ(t.ws.workMode, c.outcome == Outcome::Close ? WorkNothing : WorkSingleQuestion);
        EXPECT_EQ(!file.isEmpty() && QFile::exists(file), c.written);
        EXPECT_EQ(editor.fields.text, u"Stolica Polski?"_s);
    }
    // Unchanged: closes without asking.
    t.ws.workMode = WorkSingleQuestion;
    editor.newSingleQuestion();
    prompts.messages.clear();
    EXPECT_EQ(editor.closeQuestion(), Outcome::Close);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(QuestionEditorTest, NextQuestionKeepsTypeAndCount)
{
    newComplete(5);
    editor.togglePopup(Popup::Type);
    editor.choosePopupItem(1);
    editor.setChecked(1, true);
    t.ws.lastAttachments.textName = u"czytanka.txt"_s;
    const QString file = path(u"pierwsze.skq"_s);
    prompts.queueAnswer(MessageResult::Yes);
    prompts.queueFileName(file);
    editor.nextQuestion();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_TRUE(t.ws.question.filePath.isEmpty());
    EXPECT_TRUE(t.ws.lastAttachments.textName.isEmpty());
    EXPECT_EQ(t.ws.question.answerCount, 5);
    EXPECT_EQ(t.ws.question.multipleChoice, 1);
    EXPECT_TRUE(editor.fields.text.isEmpty());
    EXPECT_FALSE(editor.questionModified);
    EXPECT_EQ(editor.editMode(), QuestionEditor::EditMode::NewSingle);

    // Cancel keeps the question.
    typeComplete(5);
    prompts.queueAnswer(MessageResult::Cancel);
    editor.nextQuestion();
    EXPECT_EQ(editor.fields.text, u"Stolica Polski?"_s);
}

TEST_F(QuestionEditorTest, SaveAsKeepsTheAttachmentsOfAQuestionReadFromAFile)
{
    // A question file with a text passage and a picture.
    SingleQuestion &q = t.ws.question;
    q.resetSingleQuestion();
    q.text = u"Pytanie z czytanką"_s;
    q.answers = {u"a"_s, u"b"_s, u"c"_s, {}, {}};
    q.correct = u"01000"_s;
    q.textName = u"czytanka.txt"_s;
    q.imageName = u"obraz.gif"_s;
    ASSERT_TRUE(PutStream(u"czytanka.txt"_s, "Dawno temu...", *t.ws.workingQuestion));
    ASSERT_TRUE(PutStream(u"obraz.gif"_s, "GIF89a", *t.ws.workingQuestion));
    const QString original = path(u"z plikami.skq"_s);
    ASSERT_TRUE(WriteQuestionDocument(t.ws, original, *t.ws.workingQuestion));
    ASSERT_TRUE(DeleteAllMembers(*t.ws.workingQuestion));

    t.ws.workMode = WorkSingleQuestion;
    ASSERT_TRUE(editor.openSingleQuestionFile(original));
    EXPECT_FALSE(editor.questionModified);
    EXPECT_EQ(editor.fields.radio, 2);
    EXPECT_EQ(t.ws.question.fileName, u"z plikami.skq"_s);
    editor.setText(u"Zmienione pytanie"_s);
    const QString copy = path(u"kopia.skq"_s);
    prompts.queueFileName(copy);
    ASSERT_TRUE(editor.saveSingleQuestionAs());
    EXPECT_EQ(t.ws.question.filePath, copy);
    EXPECT_EQ(DocumentFixtures::memberNames(copy),
              (QStringList{u"Sezz0.xml"_s, u"czytanka.txt"_s, u"obraz.gif"_s}));
    EXPECT_EQ(readBack(copy).text, u"Zmienione pytanie"_s);
    EXPECT_EQ(readBack(original).text, u"Pytanie z czytanką"_s);
}

// Cancel leaves the record as it was when the window opened: the marks reach it at once while the window
// is open, and nothing else would tell that they changed.
TEST_F(QuestionEditorTest, CancelPutsTheMarksBackAsTheyWere)
{
    struct Case {
        int multiple;
        const char16_t *stored;
    };
    for (const Case &c : {Case{1, u"01000"}, Case{0, u"00100"}, Case{0, u"00000"}}) {
        for (const bool byEsc : {false, true}) {
            SCOPED_TRACE(QString::fromUtf16(c.stored).toStdString() + (byEsc ? " Esc" : " Anuluj"));
            makeTest(5, c.multiple);
            t.ws.test.question(2).correct = QString::fromUtf16(c.stored);
            ASSERT_TRUE(editor.fillFromTest(2));
            if (c.multiple) {
                editor.setChecked(2, false);
                editor.setChecked(4, true);
            } else {
                editor.selectRadio(5);
            }
            EXPECT_NE(t.ws.test.question(2).correct, QString::fromUtf16(c.stored));
            if (byEsc)
                EXPECT_EQ(editor.closeQuestion(), Outcome::Close);
            else
                editor.cancelTestQuestion();
            EXPECT_EQ(t.ws.test.question(2).correct, QString::fromUtf16(c.stored));
            EXPECT_EQ(t.ws.test.question(2).text, u"Pytanie 2"_s);
        }
    }
    EXPECT_TRUE(testEditor.calls.isEmpty());
}

// Only the answers shown count: a mark left on an answer hidden by a smaller count is no right answer
// and is not written.
TEST_F(QuestionEditorTest, MarksOfHiddenAnswersDoNotCountAndAreNotWritten)
{
    // Five answers, the fifth one right, then three answers.
    newComplete(5);
    editor.togglePopup(Popup::Type);
    editor.choosePopupItem(1);
    editor.setChecked(5, true);
    editor.togglePopup(Popup::Count);
    editor.choosePopupItem(0);
    EXPECT_FALSE(editor.hasCorrectMark());
    const QString out = path(u"ukryta.skq"_s);
    EXPECT_FALSE(editor.saveSingleQuestion());
    EXPECT_EQ(prompts.messageTexts(), QStringList{kIncomplete});
    EXPECT_FALSE(QFile::exists(out));

    editor.setChecked(2, true);
    prompts.queueFileName(out);
    ASSERT_TRUE(editor.saveSingleQuestion());
    const SingleQuestion read = readBack(out);
    EXPECT_EQ(read.answerCount, 3);
    EXPECT_EQ(read.correct, u"01000"_s);
    EXPECT_TRUE(read.answers[3].isEmpty());
    EXPECT_TRUE(read.answers[4].isEmpty());
    // The window keeps the hidden texts and marks: switching back shows them.
    EXPECT_EQ(editor.fields.answers[4], u"Odpowiedź 5"_s);
    EXPECT_TRUE(editor.fields.checked[4]);

    // Single choice: the radio of a hidden answer is no choice.
    newComplete(5);
    editor.selectRadio(5);
    editor.togglePopup(Popup::Count);
    editor.choosePopupItem(1);
    EXPECT_FALSE(editor.hasCorrectMark());
    EXPECT_EQ(editor.maskFromMarks(), u"00000"_s);
    editor.selectRadio(4);
    EXPECT_TRUE(editor.hasCorrectMark());

    // In a three-answer test a mask stored on answer 5 is refused until a shown answer is marked.
    makeTest(3, 1);
    t.ws.test.question(1).correct = u"00001"_s;
    ASSERT_TRUE(editor.fillFromTest(1));
    prompts.messages.clear();
    EXPECT_EQ(editor.commitTestQuestion(), Outcome::StayOpen);
    EXPECT_EQ(prompts.messageTexts(), QStringList{kNoMark});
    editor.setChecked(3, true);
    EXPECT_EQ(editor.commitTestQuestion(), Outcome::Close);
    EXPECT_EQ(t.ws.test.question(1).correct, u"00100"_s);
}

// After a save the attachment chosen on disk lives in the question's working copies: moving or
// deleting the disk file loses nothing, and a disk file that has gone before the save is named.
TEST_F(QuestionEditorTest, ASavedAttachmentNoLongerDependsOnItsDiskFile)
{
    const QString disk = path(u"czytanka.txt"_s);
    ASSERT_TRUE(PakBytes::writeFile(disk, "Dawno temu..."));
    newComplete();
    editor.attachments().textName = u"czytanka.txt"_s;
    editor.attachments().textSource = disk;
    const QString out = path(u"pytanie.skq"_s);
    prompts.queueFileName(out);
    ASSERT_TRUE(editor.saveSingleQuestion());
    EXPECT_TRUE(t.ws.question.textSource.isEmpty());
    for (TVfsPAK *a : {t.ws.workingQuestion.get(), t.ws.workingQuestionAs.get()})
        EXPECT_EQ(ExtractStream(u"czytanka.txt", *a), QByteArray("Dawno temu..."));

    ASSERT_TRUE(QFile::remove(disk));
    editor.setText(u"Drugie wydanie"_s);
    ASSERT_TRUE(editor.saveSingleQuestion());
    const QString copy = path(u"kopia.skq"_s);
    prompts.queueFileName(copy);
    ASSERT_TRUE(editor.saveSingleQuestionAs());
    for (const QString &file : {out, copy}) {
        TVfsPAK pak;
        ASSERT_TRUE(pak.Open(file, TVfsPAK::Mode::ReadOnly));
        EXPECT_EQ(ExtractStream(u"czytanka.txt", pak), QByteArray("Dawno temu..."));
    }
    EXPECT_EQ(readBack(out).text, u"Drugie wydanie"_s);
    EXPECT_TRUE(prompts.messages.isEmpty());

    // A picture chosen on disk and deleted before the save: the save fails naming it, the file stays.
    const QByteArray before = PakBytes::readFile(out);
    editor.attachments().imageName = u"mapa.gif"_s;
    editor.attachments().imageSource = path(u"mapa.gif"_s);
    editor.setText(u"Trzecie wydanie"_s);
    EXPECT_FALSE(editor.saveSingleQuestion());
    EXPECT_EQ(prompts.messageTexts(), QStringList{QuestionMessages::attachmentMissing(path(u"mapa.gif"_s))});
    EXPECT_EQ(PakBytes::readFile(out), before);
    EXPECT_TRUE(editor.questionModified);
    EXPECT_EQ(t.ws.question.imageSource, path(u"mapa.gif"_s));
}

// A recovery copy of a question whose attached disk file has gone still keeps the texts.
TEST_F(QuestionEditorTest, RecoveryCopyLeavesOutAnAttachmentThatHasGone)
{
    newComplete();
    editor.attachments().imageName = u"mapa.gif"_s;
    editor.attachments().imageSource = path(u"mapa.gif"_s);
    const QString copy = path(u"kopia.skq"_s);
    ASSERT_TRUE(editor.writeRecoveryCopy(copy));
    const SingleQuestion read = readBack(copy);
    EXPECT_EQ(read.text, u"Stolica Polski?"_s);
    EXPECT_TRUE(read.imageName.isEmpty());
    EXPECT_EQ(t.ws.question.imageName, u"mapa.gif"_s); // the question itself keeps it
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// Reading a question empties both working copies, so Save As of a question whose member is missing
// cannot take a file of that name from a question read earlier; it fails naming the file.
TEST_F(QuestionEditorTest, SaveAsNeverTakesAMemberOfAnEarlierQuestion)
{
    SingleQuestion &q = t.ws.question;
    q.resetSingleQuestion();
    q.text = u"Pierwsze"_s;
    q.answers = {u"a"_s, u"b"_s, u"c"_s, {}, {}};
    q.correct = u"10000"_s;
    q.imageName = u"obraz.gif"_s;
    ASSERT_TRUE(PutStream(u"obraz.gif"_s, "GIF89a-pierwsze", *t.ws.workingQuestion));
    const QString first = path(u"pierwsze.skq"_s);
    ASSERT_TRUE(WriteQuestionDocument(t.ws, first, *t.ws.workingQuestion));
    // The second names the same picture but lacks it (written by another program).
    const QString second = writeArchive(
        u"drugie.skq"_s, {{"Sezz0.xml", "<pyt><cd>fa</cd><typ>0</typ><ilo>3</ilo><tr>Drugie</tr><od1>a</od1>"
                                        "<od2>b</od2><od3>c</od3><odp>10000</odp><plimg>obraz.gif</plimg></pyt>"}});

    t.ws.workMode = WorkSingleQuestion;
    ASSERT_TRUE(editor.openSingleQuestionFile(first));
    ASSERT_TRUE(editor.openSingleQuestionFile(second));
    EXPECT_FALSE(HasMember(u"obraz.gif", *t.ws.workingQuestionAs));
    const QString copy = path(u"kopia.skq"_s);
    prompts.queueFileName(copy);
    EXPECT_FALSE(editor.saveSingleQuestionAs());
    EXPECT_EQ(prompts.messageTexts(), QStringList{QuestionMessages::attachmentMissing(u"obraz.gif"_s)});
    EXPECT_FALSE(QFile::exists(copy));
}

// A damaged question file (a count outside 3 to 5, a missing count, a choice type outside 0 and 1)
// opens no window and is reported once.
TEST_F(QuestionEditorTest, ADamagedQuestionFileOpensNothing)
{
    t.ws.workMode = WorkSingleQuestion;
    const QByteArray members[] = {"<pyt><cd>fa</cd><typ>0</typ><ilo>7</ilo></pyt>",
                                  "<pyt><cd>fa</cd><typ>0</typ></pyt>",
                                  "<pyt><cd>fa</cd><typ>3</typ><ilo>3</ilo></pyt>"};
    for (const QByteArray &member : members) {
        SCOPED_TRACE(member.toStdString());
        prompts.messages.clear();
        const QString file = writeArchive(u"zle.skq"_s, {{"Sezz0.xml", member}});
        EXPECT_FALSE(editor.openSingleQuestionFile(file));
        EXPECT_EQ(prompts.messageTexts(), QStringList{kOpenFailed});
        EXPECT_TRUE(t.ws.question.filePath.isEmpty());
    }
}

TEST_F(QuestionEditorTest, AFileThatIsNoQuestionIsReportedAndNothingOpens)
{
    const QString junk = path(u"notatki.skq"_s);
    ASSERT_TRUE(PakBytes::writeFile(junk, "to nie jest archiwum"));
    t.ws.workMode = WorkSingleQuestion;
    EXPECT_FALSE(editor.openSingleQuestionFile(junk));
    EXPECT_FALSE(editor.openSingleQuestionFile(path(u"brak.skq"_s)));
    EXPECT_EQ(prompts.messageTexts(), QStringList(2, kOpenFailed));
    EXPECT_TRUE(t.ws.question.filePath.isEmpty());

    // A damaged question member is reported once, by the reader.
    prompts.messages.clear();
    const QString damaged = writeArchive(u"zepsute.skq"_s, {{"Sezz0.txp", "\x01\x02"}});
    EXPECT_FALSE(editor.openSingleQuestionFile(damaged));
    EXPECT_EQ(prompts.messageTexts(), QStringList{kOpenFailed});

    // The open dialog: its title and filter; cancelling does nothing.
    prompts.queueFileName({});
    EXPECT_FALSE(editor.openSingleQuestion());
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(prompts.fileRequests[0].request.title, u"Wskaż plik pytania"_s);
    EXPECT_EQ(prompts.fileRequests[0].request.filter, u"Plik pytania (*.skq)"_s);
}

} // namespace
