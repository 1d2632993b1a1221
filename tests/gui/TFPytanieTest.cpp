#include "question/TFPytanie.h"

#include "ModalDriver.h"
#include "ProgramFixture.h"
#include "documents/ListDocuments.h"
#include "students/TFListaUczniow.h"
#include "program/TFGlowny.h"
#include "storage/ArchiveAccess.h"
#include "documents/QuestionDocument.h"
#include "support/RecordingTestEditor.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "support/WindowTestSupport.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <map>
#include <qpa/qplatformdrag.h>
#include <csignal>
#include <qpa/qwindowsysteminterface.h>

using namespace Qt::StringLiterals;

namespace {

// Writes a question document with the given texts at `path`, through a workspace of its own.
void writeQuestion(const QString &path, const QString &text, const QStringList &answers, const QString &correct,
                   int multiple = 0)
{
    TempWorkspace t;
    t.ws.createWorkingArchives();
    SingleQuestion &q = t.ws.question;
    q.resetSingleQuestion();
    q.text = text;
    q.answerCount = static_cast<int>(answers.size());
    q.multipleChoice = multiple;
    for (qsizetype i = 0; i < answers.size(); ++i)
        q.answers[static_cast<size_t>(i)] = answers[i];
    q.correct = correct;
    ASSERT_TRUE(WriteQuestionDocument(t.ws, path, *t.ws.workingQuestion));
    t.ws.shutDown();
}

SingleQuestion readQuestion(const QString &path)
{
    TempWorkspace t;
    t.ws.createWorkingArchives();
    t.ws.question.resetSingleQuestion();
    EXPECT_TRUE(ReadQuestionDocument(t.ws, path));
    SingleQuestion q = t.ws.question;
    t.ws.shutDown();
    return q;
}

// The window alone, in a workspace of its own; the main window stands at (50, 40).
class TFPytanieTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.createWorkingArchives();
        t.ws.prompts = &prompts;
        t.ws.mainLeft = 50;
        t.ws.mainTop = 40;
        window = std::make_unique<TFPytanie>(t.ws, nullptr);
        window->setTestEditor(&testEditor, nullptr);
    }
    void TearDown() override { t.ws.shutDown(); }

    void makeTest(int answers, int multiple)
    {
        t.ws.test.resetTest();
        t.ws.test.header.answerCount = answers;
        t.ws.test.header.multipleChoice = multiple;
        t.ws.test.header.questionCount = 1;
        t.ws.test.question(1).text = u"Ile?"_s;
        t.ws.test.question(1).answers = {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
        t.ws.workMode = WorkTest;
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    RecordingTestEditor testEditor;
    std::unique_ptr<TFPytanie> window;
    ModalWatchdog watchdog;
};

TEST_F(TFPytanieTest, LayoutFollowsTheAnswerCountAndTheChoiceType)
{
    struct Case {
        int answers;
        int multiple;
    };
    // The captions exactly as the program words them.
    const std::map<int, QString> expectedCount = {
        {3, u"Trzy odpowiedzi"_s}, {4, u"Cztery odpowiedzi"_s}, {5, u"Pięć odpowiedzi"_s}};
    const std::map<int, QString> expectedType = {{0, u"Jednokrotny wybór"_s}, {1, u"Wielokrotny wybór"_s}};
    for (const Case c : {Case{3, 0}, Case{4, 1}, Case{5, 0}, Case{3, 1}}) {
        makeTest(c.answers, c.multiple);
        whenModal([&](QWidget *modal) {
            EXPECT_EQ(modal->height(), SkinGeometry::Pytanie::height(c.answers));
            for (int i = 1; i <= 5; ++i) {
                const QString n = QString::number(i);
                EXPECT_EQ(control(modal, u"EOdp"_s + n)->isVisible(), i <= c.answers) << i;
                EXPECT_EQ(control(modal, u"ROdp"_s + n)->isVisible(), c.multiple == 0 && i <= c.answers);
                EXPECT_EQ(control(modal, u"ChOdp"_s + n)->isVisible(), c.multiple == 1 && i <= c.answers);
            }
            // The caption is the plain text; the popup's arrow stands beside it.
            EXPECT_EQ(control<LabelButton>(modal, u"LIleOdpowiedzi"_s)->text(), expectedCount.at(c.answers));
            EXPECT_EQ(control<LabelButton>(modal, u"LJednokrotny"_s)->text(), expectedType.at(c.multiple));
            EXPECT_TRUE(control(modal, u"LIleOdpowiedziStrzalka"_s)->isVisible());
            EXPECT_FALSE(control(modal, u"LJednokrotny"_s)->isEnabled()); // a test's type is fixed
            EXPECT_TRUE(control(modal, u"LWprowadz"_s)->isVisible());
            EXPECT_FALSE(control(modal, u"PMenuPytanieSolo"_s)->isVisible());
            EXPECT_EQ(focused(), control(modal, u"MTekst"_s));
            key(Qt::Key_Escape);
        });
        ASSERT_TRUE(window->editTestQuestion(1));
    }
}

TEST_F(TFPytanieTest, KeysOfANewSingleQuestion)
{
    t.ws.workMode = WorkSingleQuestion;
    whenModal([&](QWidget *modal) {
        EXPECT_EQ(modal->pos(), QPoint(58, 49));
        EXPECT_TRUE(control(modal, u"LJednokrotny"_s)->isEnabled());
        auto *text = control<QPlainTextEdit>(modal, u"MTekst"_s);
        ASSERT_EQ(focused(), text);
        typeText(text, u"Gdzie leży Kraków?"_s);
        key(Qt::Key_Return); // no line break, and outside a test nothing happens
        EXPECT_EQ(text->toPlainText(), u"Gdzie leży Kraków?"_s);
        key(Qt::Key_Down);
        EXPECT_EQ(focused(), control(modal, u"EOdp1"_s));
        key(Qt::Key_Up);
        EXPECT_EQ(focused(), text);
        key(Qt::Key_Up); // wraps to the last shown mark
        EXPECT_EQ(focused(), control(modal, u"ROdp3"_s));
        key(Qt::Key_Up);
        key(Qt::Key_Up);
        key(Qt::Key_Up);
        EXPECT_EQ(focused(), control(modal, u"EPodpowiedz"_s)); // hidden answers 4 and 5 are skipped
        key(Qt::Key_2, Qt::ControlModifier);
        EXPECT_TRUE(control<QRadioButton>(modal, u"ROdp2"_s)->isChecked());
        key(Qt::Key_4, Qt::ControlModifier); // beyond three answers
        EXPECT_TRUE(control<QRadioButton>(modal, u"ROdp2"_s)->isChecked());
        key(Qt::Key_F4, Qt::AltModifier);
        key(Qt::Key_F1);
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(prompts.helpPages, QStringList{u"pytanie_new.htm"_s});
        prompts.queueAnswer(MessageResult::No);
        key(Qt::Key_Escape);
    });
    window->newSingleQuestion();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompts.messageTexts(), QStringList{u"W dokumencie dokonano zmian.\rCzy zapisać zmiany?"_s});
    EXPECT_EQ(t.ws.workMode, WorkNothing);
    EXPECT_EQ(t.ws.question.correct, u"01000"_s);
}

TEST_F(TFPytanieTest, PopupSwitchesCountAndKeepsHiddenAnswers)
{
    t.ws.workMode = WorkSingleQuestion;
    whenModal([&](QWidget *modal) {
        auto *count = control<LabelButton>(modal, u"LIleOdpowiedzi"_s);
        QTest::mouseClick(count, Qt::LeftButton);
        auto *popup = control(modal, u"PMenu"_s);
        ASSERT_TRUE(popup->isVisible());
        QTest::mouseClick(control(popup, u"Menu3"_s), Qt::LeftButton); // five answers
        EXPECT_FALSE(popup->isVisible());
        EXPECT_EQ(modal->height(), SkinGeometry::Pytanie::height(5));
        auto *fifth = control<QLineEdit>(modal, u"EOdp5"_s);
        EXPECT_TRUE(fifth->isVisible());
        fifth->setFocus();
        typeText(fifth, u"piąta"_s);
        QTest::mouseClick(count, Qt::LeftButton);
        QTest::mouseClick(control(popup, u"Menu1"_s), Qt::LeftButton); // three
        EXPECT_FALSE(fifth->isVisible());
        // A click on the text field closes an open popup.
        QTest::mouseClick(count, Qt::LeftButton);
        ASSERT_TRUE(popup->isVisible());
        QTest::mouseClick(control<QPlainTextEdit>(modal, u"MTekst"_s)->viewport(), Qt::LeftButton);
        EXPECT_FALSE(popup->isVisible());
        QTest::mouseClick(count, Qt::LeftButton);
        QTest::mouseClick(control(popup, u"Menu3"_s), Qt::LeftButton); // back to five
        EXPECT_EQ(fifth->text(), u"piąta"_s);
        // The type: the check boxes replace the radio marks.
        QTest::mouseClick(control(modal, u"LJednokrotny"_s), Qt::LeftButton);
        QTest::mouseClick(control(popup, u"Menu2"_s), Qt::LeftButton);
        EXPECT_TRUE(control(modal, u"ChOdp1"_s)->isVisible());
        EXPECT_FALSE(control(modal, u"ROdp1"_s)->isVisible());
        prompts.queueAnswer(MessageResult::No);
        QTest::mouseClick(control(modal, u"LZamknijPytanieSolo"_s), Qt::LeftButton);
    });
    window->newSingleQuestion();
    EXPECT_EQ(t.ws.question.answerCount, 5);
    EXPECT_EQ(t.ws.question.multipleChoice, 1);
}

TEST_F(TFPytanieTest, EnterAcceptsATestQuestionAndEscDropsTheTexts)
{
    makeTest(3, 1);
    whenModal([&](QWidget *modal) {
        typeText(focused(), u"Nowa treść "_s);
        QTest::mouseClick(control(modal, u"ChOdp3"_s), Qt::LeftButton);
        EXPECT_EQ(t.ws.test.question(1).correct, u"00100"_s); // marks reach the record at once
        key(Qt::Key_Escape);
    });
    ASSERT_TRUE(window->editTestQuestion(1));
    EXPECT_EQ(t.ws.test.question(1).text, u"Ile?"_s);
    EXPECT_EQ(t.ws.test.question(1).correct, u"00000"_s); // and go back with the texts
    EXPECT_TRUE(testEditor.calls.isEmpty());

    // LAnuluj does the same.
    whenModal([&](QWidget *modal) {
        QTest::mouseClick(control(modal, u"ChOdp2"_s), Qt::LeftButton);
        QTest::mouseClick(control(modal, u"LAnuluj"_s), Qt::LeftButton);
    });
    ASSERT_TRUE(window->editTestQuestion(1));
    EXPECT_EQ(t.ws.test.question(1).correct, u"00000"_s);

    whenModal([&](QWidget *modal) {
        typeText(focused(), u"Więcej: "_s);
        QTest::mouseClick(control(modal, u"ChOdp3"_s), Qt::LeftButton);
        control(modal, u"MTekst"_s)->setFocus();
        key(Qt::Key_Enter);
    });
    ASSERT_TRUE(window->editTestQuestion(1));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(t.ws.test.question(1).text, u"Więcej: Ile?"_s);
    EXPECT_EQ(t.ws.test.question(1).correct, u"00100"_s);
    EXPECT_TRUE(testEditor.calls.contains(u"mark 1"_s));
}

// Enter and Esc never reach a field as characters, with any modifier; only the plain keys are commands.
TEST_F(TFPytanieTest, ShiftEnterAndShiftEscPutNothingIntoTheFields)
{
    makeTest(3, 0);
    whenModal([&](QWidget *modal) {
        auto *text = control<QPlainTextEdit>(modal, u"MTekst"_s);
        ASSERT_EQ(focused(), text);
        text->moveCursor(QTextCursor::End);
        const Qt::KeyboardModifiers modifiers[] = {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
                                                   Qt::ShiftModifier | Qt::KeypadModifier};
        for (const Qt::KeyboardModifiers mods : modifiers) {
            key(Qt::Key_Return, mods);
            key(Qt::Key_Enter, mods);
            key(Qt::Key_Escape, mods);
        }
        EXPECT_EQ(text->toPlainText(), u"Ile?"_s);
        auto *answer = control<QLineEdit>(modal, u"EOdp1"_s);
        answer->setFocus();
        key(Qt::Key_Return, Qt::ShiftModifier);
        key(Qt::Key_Escape, Qt::ShiftModifier);
        EXPECT_EQ(answer->text(), u"1"_s);
        EXPECT_TRUE(modal->isVisible());
        EXPECT_TRUE(prompts.messages.isEmpty());
        key(Qt::Key_Escape);
    });
    ASSERT_TRUE(window->editTestQuestion(1));
    EXPECT_EQ(t.ws.test.question(1).text, u"Ile?"_s);
    EXPECT_TRUE(testEditor.calls.isEmpty());
}

TEST_F(TFPytanieTest, MissingArtworkIsReportedAndTheWindowDoesNotOpen)
{
    // No test editor question 2 exists, and nothing opens for it either.
    makeTest(3, 0);
    EXPECT_FALSE(window->editTestQuestion(2));
    // A count the artwork does not have keeps the controls as they are.
    EXPECT_TRUE(window->applyLayout(7, 0));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

} // namespace

// The program's artwork gone while it lives, as in a damaged installation. Outside the unnamed
// namespace: the resource macros declare the resource's functions where they stand.
struct ArtworkMissing {
    ArtworkMissing() { Q_CLEANUP_RESOURCE(zadanix); }
    ~ArtworkMissing() { Q_INIT_RESOURCE(zadanix); }
    ArtworkMissing(const ArtworkMissing &) = delete;
    ArtworkMissing &operator=(const ArtworkMissing &) = delete;
};

namespace {

// Whatever opens a single question, a window that cannot be laid out opens nothing and holds
// nothing: the file is free for others and the work mode is back to 0.
TEST_F(TFPytanieTest, ALayoutThatFailsGivesBackTheFileAndTheWorkMode)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"trzy.skq"_s);
    writeQuestion(file, u"Ile?"_s, {u"1"_s, u"2"_s, u"3"_s}, u"10000"_s);
    const QString copy = dir.filePath(u"kopia.skq"_s);
    ASSERT_TRUE(QFile::copy(file, copy));
    const struct {
        const char *entry;
        std::function<void()> open;
    } cases[] = {
        {"new question", [&] { window->newSingleQuestion(); }},
        {"open question",
         [&] {
             prompts.queueFileName(file);
             window->openSingleQuestion();
         }},
        {"opened by extension", [&] { window->openSingleQuestionFile(file); }},
        {"recovery copy", [&] { window->openRecoveryCopy(copy, file); }},
    };
    for (const auto &c : cases) {
        // Shown for five answers, the window needs other artwork for the three of each question here.
        ASSERT_TRUE(window->applyLayout(5, 0));
        prompts.messages.clear();
        t.ws.workMode = WorkSingleQuestion; // as the main window sets it
        bool opened = false;
        // A window that opens anyway is closed again: the case fails instead of hanging.
        QTimer::singleShot(0, [&] {
            opened = window->isVisible();
            if (opened)
                window->done(QDialog::Rejected);
        });
        {
            const ArtworkMissing gone;
            c.open();
        }
        QCoreApplication::processEvents();
        EXPECT_FALSE(opened) << c.entry;
        EXPECT_EQ(prompts.messageTexts(),
                  QStringList{u"Program jest uszkodzony.\rZainstaluj program ponownie."_s})
            << c.entry;
        EXPECT_EQ(t.ws.workMode, WorkNothing) << c.entry;
        DocumentLock other;
        EXPECT_EQ(other.lock(file), DocumentLock::Result::Locked) << c.entry;
    }
}

// --- Through the whole program ------------------------------------------------------------------

TEST(QuestionEditorInTheProgram, CommandLineQuestionEditedWithTheKeyboardAndSaved)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"pająk.skq"_s);
    writeQuestion(file, u"Ile nóg ma pająk?"_s, {u"6"_s, u"8"_s, u"10"_s, u"4"_s}, u"01000"_s);
    Program program(dir.path(), {file});
    ModalWatchdog watchdog;
    QPoint editorAt;
    whenModalNamed(u"FPytanie"_s, [&](QWidget *modal) {
        editorAt = modal->pos();
        key(Qt::Key_End, Qt::ControlModifier);
        typeText(focused(), u" Policz."_s);
        key(Qt::Key_Down);
        key(Qt::Key_A, Qt::ControlModifier);
        typeText(focused(), u"sześć"_s);
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        key(Qt::Key_A, Qt::ControlModifier);
        typeText(focused(), u"dziesięć"_s);
        key(Qt::Key_3, Qt::ControlModifier);
        key(Qt::Key_S, Qt::ControlModifier);
        key(Qt::Key_Escape);
    });
    program.start();
    EXPECT_FALSE(program.app->questionEditor().isVisible());
    EXPECT_TRUE(program.prompts.messages.isEmpty());
    EXPECT_TRUE(program.prompts.fileRequests.isEmpty()); // Ctrl+S wrote the file it was opened from
    EXPECT_EQ(program.prompts.clockPositions, QList<QPoint>{editorAt + QPoint(38, 202)});
    EXPECT_EQ(program.ws().workMode, WorkNothing);
    const SingleQuestion q = readQuestion(file);
    EXPECT_EQ(q.text, u"Ile nóg ma pająk? Policz."_s);
    EXPECT_EQ(q.answers[0], u"sześć"_s);
    EXPECT_EQ(q.answers[1], u"8"_s);
    EXPECT_EQ(q.answers[2], u"dziesięć"_s);
    EXPECT_EQ(q.answers[3], u"4"_s);
    EXPECT_EQ(q.correct, u"00100"_s);
    EXPECT_EQ(q.answerCount, 4);
}

// Drags as the window system delivers them: a window under an application-modal one is blocked by Qt.
bool dropFile(QWidget *window, const QString &path)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at(window->width() / 2, window->height() / 2);
    const auto drag = QWindowSystemInterface::handleDrag(window->windowHandle(), &mime, at, Qt::CopyAction,
                                                         Qt::LeftButton, Qt::NoModifier);
    if (!drag.isAccepted())
        return false;
    return QWindowSystemInterface::handleDrop(window->windowHandle(), &mime, at, Qt::CopyAction, Qt::LeftButton,
                                              Qt::NoModifier)
        .isAccepted();
}

TEST(QuestionEditorInTheProgram, ADropOnAnOpenEditorReachesTheProgram)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(u"pierwsze.skq"_s);
    const QString second = dir.filePath(u"drugie.skq"_s);
    writeQuestion(first, u"Pierwsze"_s, {u"a"_s, u"b"_s, u"c"_s}, u"10000"_s);
    writeQuestion(second, u"Drugie"_s, {u"d"_s, u"e"_s, u"f"_s}, u"00100"_s);
    Program program(dir.path(), {first});
    ModalWatchdog watchdog;
    bool mainTookIt = true;
    bool editorTookIt = false;
    QString shownAfterDrop;
    whenModalNamed(u"FPytanie"_s, [&](QWidget *modal) {
        // The main window is blocked by the modal editor: Qt refuses the drag there.
        mainTookIt = dropFile(&program.main(), second);
        editorTookIt = dropFile(modal, second);
        // The editor closes and opens again on the dropped file once its loop has ended.
        whenModalNamed(u"FPytanie"_s, [&](QWidget *again) {
            shownAfterDrop = control<QPlainTextEdit>(again, u"MTekst"_s)->toPlainText();
            key(Qt::Key_Escape);
        });
    });
    program.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shownAfterDrop.isEmpty(); }, 5000));
    EXPECT_FALSE(mainTookIt);
    EXPECT_TRUE(editorTookIt);
    EXPECT_EQ(shownAfterDrop, u"Drugie"_s);
    EXPECT_TRUE(program.prompts.messages.isEmpty());
    EXPECT_FALSE(program.app->questionEditor().isVisible());
}

TEST(QuestionEditorInTheProgram, ADropWhileTheQuestionIsModifiedIsRefused)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(u"pierwsze.skq"_s);
    const QString second = dir.filePath(u"drugie.skq"_s);
    writeQuestion(first, u"Pierwsze"_s, {u"a"_s, u"b"_s, u"c"_s}, u"10000"_s);
    writeQuestion(second, u"Drugie"_s, {u"d"_s, u"e"_s, u"f"_s}, u"00100"_s);
    Program program(dir.path(), {first});
    ModalWatchdog watchdog;
    QString shownAfterDrop;
    whenModalNamed(u"FPytanie"_s, [&](QWidget *modal) {
        typeText(focused(), u"Zmiana "_s);
        EXPECT_TRUE(dropFile(modal, second));
        QTimer::singleShot(0, [&, modal] {
            shownAfterDrop = control<QPlainTextEdit>(modal, u"MTekst"_s)->toPlainText();
            program.prompts.queueAnswer(MessageResult::No);
            key(Qt::Key_Escape);
        });
    });
    program.start();
    EXPECT_EQ(shownAfterDrop, u"Zmiana Pierwsze"_s);
    EXPECT_EQ(program.prompts.messageTexts(),
              (QStringList{u"\rMasz pootwierane dokumenty, nad którymi pracujesz.\rZamknij je wsześniej, nim "
                           u"otworzysz następne."_s,
                           u"W dokumencie dokonano zmian.\rCzy zapisać zmiany?"_s}));
    EXPECT_EQ(readQuestion(first).text, u"Pierwsze"_s);
}

// The run to be killed (`what` of zadanix_killed_run on `document`, with its data in `folder`), a
// process of its own. True when it ended killed by SIGKILL.
bool runKilledChild(const QString &what, const QString &folder, const QString &document)
{
    QProcess child;
    child.start(QString::fromUtf8(ZADANIX_KILLED_RUN), {what, folder, document});
    if (!child.waitForFinished(60000))
        return false;
    return child.exitStatus() == QProcess::CrashExit && child.exitCode() == SIGKILL;
}

TEST(QuestionEditorInTheProgram, WorkOfAKilledRunComesBack)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"pająk.skq"_s);
    writeQuestion(file, u"Ile nóg ma pająk?"_s, {u"6"_s, u"8"_s, u"10"_s}, u"01000"_s);

    // The first run edits the question, its recovery copy is written, and it is killed.
    ASSERT_TRUE(runKilledChild(u"question"_s, dir.path(), file));
    EXPECT_EQ(readQuestion(file).text, u"Ile nóg ma pająk?"_s);

    // The next start offers it; Yes opens it modified, and Ctrl+S writes the original file.
    Program program(dir.path());
    ModalWatchdog watchdog;
    program.prompts.queueAnswer(MessageResult::Yes);
    QString shown;
    whenModalNamed(u"FPytanie"_s, [&](QWidget *modal) {
        shown = control<QPlainTextEdit>(modal, u"MTekst"_s)->toPlainText();
        key(Qt::Key_S, Qt::ControlModifier);
        key(Qt::Key_Escape);
    });
    program.start();
    ASSERT_FALSE(program.prompts.messages.isEmpty());
    EXPECT_TRUE(program.prompts.messages[0].text.startsWith(
        u"Program nie został poprawnie zamknięty. Czy przywrócić niezapisaną pracę?\rpająk.skq, "_s));
    EXPECT_EQ(shown, u"Ile nóg ma pająk? Policz nogi."_s);
    EXPECT_TRUE(program.prompts.fileRequests.isEmpty());
    EXPECT_EQ(readQuestion(file).text, u"Ile nóg ma pająk? Policz nogi."_s);

    // Nothing is offered again.
    program.app.reset();
    Program again(dir.path());
    again.start();
    EXPECT_TRUE(again.prompts.messages.isEmpty());
}

TEST(QuestionEditorInTheProgram, AQuestionOpenInAnotherProgramIsNotOpenedHere)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"wspólne.skq"_s);
    writeQuestion(file, u"Wspólne"_s, {u"a"_s, u"b"_s, u"c"_s}, u"10000"_s);
    DocumentLock other; // another editor has it open
    ASSERT_EQ(other.lock(file), DocumentLock::Result::Locked);
    Program program(dir.path(), {file});
    program.start();
    EXPECT_EQ(program.prompts.messageTexts(), QStringList{DocumentLock::inUseMessage(file)});
    EXPECT_FALSE(program.app->questionEditor().isVisible());
}

TEST(QuestionEditorInTheProgram, AStudentListOfAKilledRunComesBack)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"klasy.sku"_s);
    {
        TempWorkspace t;
        StudentList list;
        list.reset();
        list.author = u"Anna Nowak"_s;
        SchoolClass a = newClass(t.ws.settings);
        a.name = u"3a"_s;
        list.addClass(a);
        ASSERT_TRUE(WriteStudentList(t.ws, file, list));
    }
    ASSERT_TRUE(runKilledChild(u"student-list"_s, dir.path(), file));

    Program program(dir.path());
    ModalWatchdog watchdog;
    program.prompts.queueAnswer(MessageResult::Yes);
    bool modified = false;
    whenModalNamed(u"FListaUczniow"_s, [&](QWidget *modal) {
        modified = program.app->studentListEditor().editor().list.modified;
        QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_S, Qt::ControlModifier);
        program.app->studentListEditor().done(QDialog::Rejected);
    });
    program.start();
    EXPECT_TRUE(modified);
    StudentList read;
    TempWorkspace t;
    ASSERT_TRUE(ReadStudentList(t.ws, file, read));
    EXPECT_EQ(read.classLines(), (QStringList{u"3a"_s, u"3b"_s}));
}

} // namespace
