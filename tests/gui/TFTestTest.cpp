#include "testeditor/TFTest.h"

#include "ModalDriver.h"
#include "ProgramFixture.h"
#include "question/TFPytanie.h"
#include "documents/QuestionDocument.h"
#include "documents/TestDocument.h"
#include "support/DocumentFixtures.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "support/WindowTestSupport.h"
#include "testeditor/TFGeneruj.h"
#include "testeditor/TFInfoOTescie.h"
#include "testeditor/TFMenu.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void clickLabel(QWidget *label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, 4));
}

// Writes a test of `count` questions "Q1" … with three answers at `path`.
void writeTest(const QString &path, int count)
{
    ASSERT_TRUE(DocumentFixtures::writeSampleTest(path, count));
}

TestModel readTest(const QString &path)
{
    TempWorkspace t;
    t.ws.createWorkingArchives();
    EXPECT_TRUE(ReadTestDocument(t.ws, path));
    TestModel m = t.ws.test;
    t.ws.shutDown();
    return m;
}

class TFTestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.createWorkingArchives();
        t.ws.prompts = &prompts;
        t.ws.mainLeft = 50;
        t.ws.mainTop = 40;
        window = std::make_unique<TFTest>(t.ws, nullptr);
    }
    void TearDown() override { t.ws.shutDown(); }

    bool enabled(const QString &name) const { return control(window.get(), name)->isEnabled(); }
    // The question editor and the header window replaced by records of what was opened.
    void recordOpenings()
    {
        window->editor().windows.editQuestion = [this](int k) {
            questionsOpened << k;
            return true;
        };
        window->editor().windows.testInfo = [this] { ++headersOpened; };
    }
    QList<int> questionsOpened;
    int headersOpened = 0;

    TempWorkspace t;
    ScriptedPrompts prompts;
    std::unique_ptr<TFTest> window;
    ModalWatchdog watchdog;
};

TEST_F(TFTestTest, ANewTestWithTheKeys)
{
    t.ws.settings.al = true;
    t.ws.settings.ng = false;
    bool infoShown = false;
    whenModal([&](QWidget *modal) {
        EXPECT_EQ(modal->objectName(), u"FTest"_s);
        EXPECT_EQ(modal->pos(), QPoint(58, 49));
        EXPECT_FALSE(control(modal, u"ImZapisz"_s)->isVisible());
        EXPECT_FALSE(enabled(u"LNowePytanie"_s));
        EXPECT_FALSE(enabled(u"LNoweZZestawu"_s));
        EXPECT_FALSE(enabled(u"LUsunPytanie"_s));
        key(Qt::Key_N, Qt::ControlModifier); // before the header: nothing
        EXPECT_EQ(t.ws.test.header.questionCount, 0);
        key(Qt::Key_A); // typed characters are ignored
        // Enter on "Dane ogólne": the header window; Enter in its name field accepts and closes it.
        whenModal([&](QWidget *info) {
            infoShown = info->objectName() == u"FInfoOTescie"_s;
            EXPECT_EQ(info->pos(), modal->pos() + QPoint(40, 14));
            typeText(focused(), u"Ułamki"_s);
            key(Qt::Key_Down);
            typeText(focused(), u"Ja"_s);
            key(Qt::Key_Return);
        });
        key(Qt::Key_Return);
        EXPECT_TRUE(infoShown);
        EXPECT_EQ(t.ws.test.header.testName, u"Ułamki"_s);
        EXPECT_TRUE(enabled(u"LNowePytanie"_s));
        EXPECT_TRUE(control(modal, u"ImZapisz"_s)->isVisible());

        key(Qt::Key_N, Qt::ControlModifier);
        key(Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(t.ws.test.header.questionCount, 2);
        auto *tree = control<QTreeWidget>(modal, u"TVTest"_s);
        EXPECT_EQ(tree->currentItem()->text(0), u"Pytanie nr 2"_s);
        EXPECT_EQ(focused(), tree);
        EXPECT_TRUE(enabled(u"LUsunPytanie"_s));
        EXPECT_TRUE(enabled(u"LPrzesunWGore"_s));
        EXPECT_FALSE(enabled(u"LPrzesunWDol"_s));

        key(Qt::Key_Up);
        EXPECT_EQ(window->editor().selectedNode(), 1);
        EXPECT_FALSE(enabled(u"LPrzesunWGore"_s));
        EXPECT_TRUE(enabled(u"LPrzesunWDol"_s));
        prompts.queueAnswer(MessageResult::Yes);
        key(Qt::Key_Delete);
        EXPECT_EQ(t.ws.test.header.questionCount, 1);
        EXPECT_EQ(window->editor().selectedNode(), 1);

        key(Qt::Key_Up);
        key(Qt::Key_Delete); // on "Dane ogólne": nothing
        EXPECT_FALSE(enabled(u"LUsunPytanie"_s));
        EXPECT_FALSE(enabled(u"LPodglondPytania"_s));

        key(Qt::Key_F4, Qt::AltModifier);
        EXPECT_TRUE(modal->isVisible());
        key(Qt::Key_F1);
        // Close with changes: Cancel stays, No leaves.
        prompts.queueAnswer(MessageResult::Cancel);
        clickLabel(control(modal, u"ImZamknij"_s));
        EXPECT_TRUE(modal->isVisible());
        prompts.queueAnswer(MessageResult::No);
        clickLabel(control(modal, u"ImZamknij"_s));
    });
    window->newTest();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompts.helpPages, QStringList{u"test_new.htm"_s});
    EXPECT_EQ(t.ws.workMode, WorkNothing);
    EXPECT_EQ(prompts.unusedAnswers(), 0);
}

TEST_F(TFTestTest, TheContextMenu)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"menu.skt"_s);
    writeTest(file, 3);
    t.ws.settings.al = true;
    whenModal([&](QWidget *modal) {
        auto *tree = control<QTreeWidget>(modal, u"TVTest"_s);
        TFMenu *menu = window->contextMenu();
        const QPoint at = tree->visualItemRect(tree->topLevelItem(0)).center();
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
        EXPECT_FALSE(menu->isVisible()); // not for "Dane ogólne"

        key(Qt::Key_Down);
        key(Qt::Key_Down);
        // The node under the pointer is not selected by the right button.
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(window->editor().selectedNode(), 2);
        EXPECT_EQ(menu->pos(), tree->viewport()->mapTo(modal, at));
        EXPECT_TRUE(menu->entry(TFMenu::Info)->isEnabled());
        EXPECT_TRUE(menu->entry(TFMenu::SaveAs)->isEnabled());
        EXPECT_FALSE(menu->entry(TFMenu::RemoveText)->isEnabled());
        EXPECT_FALSE(menu->entry(TFMenu::RemoveImage)->isEnabled());

        // "Usuń pytanie" answered No: the question stays, the menu is gone, the outline has the focus.
        prompts.queueAnswer(MessageResult::No);
        clickLabel(menu->entry(TFMenu::Delete));
        EXPECT_FALSE(menu->isVisible());
        EXPECT_EQ(t.ws.test.header.questionCount, 3);
        EXPECT_EQ(focused(), tree);

        // A click on the outline closes it; so does any command.
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
        EXPECT_TRUE(menu->isVisible());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        EXPECT_FALSE(menu->isVisible());
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
        key(Qt::Key_N, Qt::ControlModifier);
        EXPECT_FALSE(menu->isVisible());
        prompts.queueAnswer(MessageResult::No);
        clickLabel(control(modal, u"ImZamknij"_s));
    });
    window->openTestFile(file);
    EXPECT_FALSE(window->isVisible());
}

// A question that is not selected opens at the first double-click: the press that selects it is not
// lost to the outline redrawn under it.
TEST_F(TFTestTest, ADoubleClickOpensTheNodeUnderIt)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"dwuklik.skt"_s);
    writeTest(file, 3);
    recordOpenings();
    whenModal([&](QWidget *modal) {
        auto *tree = control<QTreeWidget>(modal, u"TVTest"_s);
        QTreeWidgetItem *header = tree->topLevelItem(0);
        ASSERT_EQ(header->childCount(), 3);
        auto doubleClick = [&](QTreeWidgetItem *item) {
            doubleClickAt(tree->viewport(), tree->visualItemRect(item).center());
        };
        doubleClick(header->child(1));
        EXPECT_EQ(window->editor().selectedNode(), 2);
        doubleClick(header->child(2));
        doubleClick(header);
        EXPECT_EQ(window->editor().selectedNode(), 0);
        clickLabel(control(modal, u"ImZamknij"_s));
    });
    window->openTestFile(file);
    EXPECT_EQ(questionsOpened, (QList<int>{2, 3}));
    EXPECT_EQ(headersOpened, 1);
}

// The menu belongs to the question it was opened on: a selection moved by the arrow keys closes it,
// and no entry ever acts on another node ("Dane ogólne" least of all).
TEST_F(TFTestTest, TheContextMenuActsOnlyOnItsQuestion)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"menu.skt"_s);
    writeTest(file, 3);
    recordOpenings();
    whenModal([&](QWidget *modal) {
        auto *tree = control<QTreeWidget>(modal, u"TVTest"_s);
        TFMenu *menu = window->contextMenu();
        const QPoint at = tree->visualItemRect(tree->topLevelItem(0)).center();
        for (const int k : {Qt::Key_Down, Qt::Key_Up}) {
            key(Qt::Key_Down);
            key(Qt::Key_Down);
            QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
            ASSERT_TRUE(menu->isVisible());
            key(k);
            EXPECT_FALSE(menu->isVisible());
            EXPECT_EQ(focused(), tree);
            key(Qt::Key_Home);
        }
        // However the selection gets to "Dane ogólne" with the menu up, "Edytuj pytanie" opens nothing.
        key(Qt::Key_Down);
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
        ASSERT_TRUE(menu->isVisible());
        window->editor().select(0);
        clickLabel(menu->entry(TFMenu::Edit));
        EXPECT_FALSE(menu->isVisible());
        // And with "Dane ogólne" selected the menu does not show, even when asked directly.
        menu->showContextMenu({10, 10});
        EXPECT_FALSE(menu->isVisible());
        // On its own question it acts.
        key(Qt::Key_Down);
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
        clickLabel(menu->entry(TFMenu::Edit));
        clickLabel(control(modal, u"ImZamknij"_s));
    });
    window->openTestFile(file);
    EXPECT_EQ(questionsOpened, QList<int>{1});
    EXPECT_EQ(headersOpened, 0);
}

TEST_F(TFTestTest, ImportThroughTheInformationWindowAndPreview)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"import.skt"_s);
    writeTest(file, 1);
    const QString single = dir.filePath(u"pytanie.skq"_s);
    {
        TempWorkspace q;
        q.ws.createWorkingArchives();
        q.ws.question.resetSingleQuestion();
        q.ws.question.text = u"Z zestawu"_s;
        q.ws.question.answers = {u"x"_s, u"y"_s, u"z"_s, {}, {}};
        q.ws.question.correct = u"00100"_s;
        ASSERT_TRUE(WriteQuestionDocument(q.ws, single, *q.ws.workingQuestion));
        q.ws.shutDown();
    }
    QStringList shown;
    whenModal([&](QWidget *modal) {
        prompts.queueFileName(single);
        whenModal([&](QWidget *info) {
            shown << info->objectName();
            clickLabel(control(info, u"ImWprowadz"_s));
        });
        key(Qt::Key_L, Qt::ControlModifier);
        EXPECT_EQ(t.ws.test.header.questionCount, 2);
        EXPECT_EQ(window->editor().selectedNode(), 2);
        EXPECT_TRUE(window->editor().outline()[2].done);
        EXPECT_TRUE(control(modal, u"ImZapisz"_s)->isVisible());
        whenModal([&](QWidget *properties) {
            shown << properties->objectName();
            QTest::keyClick(properties, Qt::Key_Escape);
        });
        key(Qt::Key_P, Qt::AltModifier);
        prompts.queueAnswer(MessageResult::No);
        clickLabel(control(modal, u"ImZamknij"_s));
    });
    window->openTestFile(file);
    EXPECT_EQ(shown.size(), 2);
    EXPECT_EQ(t.ws.test.question(2).text, u"Z zestawu"_s);
    EXPECT_EQ(t.ws.test.question(2).correct, u"00100"_s);
}

TEST_F(TFTestTest, TheScrollBarAppearsFrom23Nodes)
{
    QTemporaryDir dir;
    for (int count : {21, 22, 30}) {
        const QString file = dir.filePath(u"t"_s + QString::number(count) + u".skt"_s);
        writeTest(file, count);
        ASSERT_TRUE(window->prepareOpenTest(file));
        auto *bar = control<QScrollBar>(window.get(), u"ScrollBar"_s);
        EXPECT_EQ(!bar->isHidden(), count + 1 >= 23) << count;
        if (!bar->isHidden()) {
            EXPECT_EQ(bar->maximum(), count + 1 - 22);
            EXPECT_EQ(bar->pageStep(), 21);
            EXPECT_EQ(bar->singleStep(), 20);
            // The last question selected: the outline and its bar stand at the last row.
            window->editor().select(count);
            window->refresh();
            window->show();
            QCoreApplication::processEvents();
            auto *tree = control<QTreeWidget>(window.get(), u"TVTest"_s);
            EXPECT_EQ(bar->value(), tree->verticalScrollBar()->value());
            EXPECT_EQ(bar->value(), bar->maximum());
            bar->setValue(0);
            EXPECT_EQ(tree->verticalScrollBar()->value(), 0);
            window->hide();
        }
    }
}

TEST_F(TFTestTest, TheHeaderWindowLocksItsChoicesOnceTheTestHasQuestions)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"z.skt"_s);
    writeTest(file, 1);
    ASSERT_TRUE(window->prepareOpenTest(file));
    TFInfoOTescie *info = window->testInfoWindow();
    info->prepare();
    for (const QString &name :
         {u"RTestPojedynczy"_s, u"RTestWielokrotny"_s, u"RTrzyOdp"_s, u"RCzteryOdp"_s, u"RPiecOdp"_s})
        EXPECT_FALSE(control(info, name)->isEnabled()) << name.toStdString();
    EXPECT_TRUE(control<QRadioButton>(info, u"RTrzyOdp"_s)->isChecked());
    EXPECT_TRUE(control<QLineEdit>(info, u"ECzas"_s)->isReadOnly());
    EXPECT_EQ(control<QLineEdit>(info, u"ENazwaTestu"_s)->text(), u"Ułamki"_s);
}

TEST(SetGenerationWindow, PrefixFilterButtonAndIcon)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"zrodlo.skt"_s);
    writeTest(file, 2);
    TempWorkspace t;
    t.ws.createWorkingArchives();
    ScriptedPrompts prompts;
    t.ws.prompts = &prompts;
    t.ws.settings.clg = true;
    TFGeneruj window(t.ws);
    window.setIconDuration(0);
    ModalWatchdog watchdog;
    bool iconWasShown = false;
    whenModal([&](QWidget *modal) {
        auto *prefix = control<QLineEdit>(modal, u"EPrzedrostek"_s);
        EXPECT_EQ(focused(), prefix);
        QWidget *button = control(modal, u"PPodGeneruj"_s);
        EXPECT_FALSE(button->isVisible());
        QTest::keyClicks(prefix, u"a b-c"_s);
        EXPECT_EQ(prefix->text(), u"abc"_s);
        prompts.queueFileName(file);
        clickLabel(control(modal, u"LPlikZTestem"_s));
        EXPECT_FALSE(button->isVisible());
        prompts.queueFolder(dir.path() + u"/"_s);
        clickLabel(control(modal, u"LFolderNaPytania"_s));
        EXPECT_TRUE(button->isVisible());
        EXPECT_EQ(prompts.folderRequests[0].caption, u"Wskaż folder docelowy"_s);
        EXPECT_EQ(prompts.folderRequests[0].prompt, u"Wybierz folder "_s);
        clickLabel(control(modal, u"ImGeneruj"_s));
        iconWasShown = window.iconShown();
    });
    window.showGeneration();
    EXPECT_TRUE(iconWasShown);
    EXPECT_FALSE(window.isVisible()); // "clg": closed when the icon went
    EXPECT_TRUE(QFile::exists(dir.filePath(u"abc1.skq"_s)));
    EXPECT_TRUE(QFile::exists(dir.filePath(u"abc2.skq"_s)));
    EXPECT_EQ(t.ws.workMode, WorkNothing);
    t.ws.shutDown();
}

// The icon tells that questions were written: also when the run stopped at a later one, never when
// it stopped at the first.
TEST(SetGenerationWindow, TheIconShowsWhenAQuestionWasWritten)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"zrodlo.skt"_s);
    writeTest(file, 6);
    // A folder in the way of question 5's file.
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"zestaw/q5.skq"_s));
    const struct {
        const char16_t *folder;
        int failed;
        bool icon;
    } cases[] = {{u"brak", 1, false}, {u"zestaw", 5, true}};
    for (const auto &c : cases) {
        TempWorkspace t;
        t.ws.createWorkingArchives();
        ScriptedPrompts prompts;
        t.ws.prompts = &prompts;
        TFGeneruj window(t.ws);
        window.prepare();
        window.generation().sourceTest = file;
        window.generation().targetFolder = dir.filePath(QString::fromUtf16(c.folder));
        window.generation().prefix = u"q"_s;
        window.generate();
        EXPECT_EQ(window.iconShown(), c.icon) << c.failed << prompts.messageTexts().join(u'|').toStdString();
        EXPECT_EQ(prompts.lastMessageText(),
                  u"Problemy z utworzeniem pytania nr "_s + QString::number(c.failed) + u"\rZgłoś problem autorowi."_s);
        for (int n = 1; n < c.failed; ++n)
            EXPECT_TRUE(QFile::exists(dir.filePath(QString::fromUtf16(c.folder) + u"/q"_s + QString::number(n) +
                                                   u".skq"_s)))
                << n;
        EXPECT_FALSE(QFile::exists(dir.filePath(u"zestaw/q6.skq"_s)));
        t.ws.shutDown();
    }
}

// --- Through the whole program ------------------------------------------------------------------

TEST(TestEditorInTheProgram, CommandLineTestEditedWithTheKeyboardAndSaved)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"ułamki.skt"_s);
    writeTest(file, 3);
    Program program(dir.path(), {file});
    ModalWatchdog watchdog;
    QPoint editorAt;
    bool questionEdited = false;
    whenModalNamed(u"FTest"_s, [&](QWidget *modal) {
        editorAt = modal->pos();
        key(Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(program.ws().test.header.questionCount, 4);
        whenModal([&](QWidget *question) {
            questionEdited = question->objectName() == u"FPytanie"_s;
            typeText(focused(), u"Ile to 1/2 + 1/4?"_s);
            for (const QString &answer : {u"3/4"_s, u"2/6"_s, u"1"_s}) {
                key(Qt::Key_Down);
                typeText(focused(), answer);
            }
            key(Qt::Key_Return);
        });
        key(Qt::Key_Return);
        // Question 2 goes, answered Yes ("T") to the question.
        for (int i = 0; i < 2; ++i)
            key(Qt::Key_Up);
        EXPECT_EQ(program.app->testEditor().editor().selectedNode(), 2);
        program.prompts.queueAnswer(MessageResult::Yes);
        key(Qt::Key_Delete);
        key(Qt::Key_S, Qt::ControlModifier);
        clickLabel(control(modal, u"ImZamknij"_s));
    });
    program.start();
    EXPECT_TRUE(questionEdited);
    EXPECT_FALSE(program.app->testEditor().isVisible());
    EXPECT_EQ(program.ws().workMode, WorkNothing);
    EXPECT_EQ(program.prompts.messageTexts(),
              QStringList{u"Czy rzeczywiście usunąć?\rTej operacji nie można cofnąć."_s});
    EXPECT_EQ(program.prompts.clockPositions, QList<QPoint>{editorAt + QPoint(190, 180)});
    const TestModel m = readTest(file);
    ASSERT_EQ(m.header.questionCount, 3);
    EXPECT_EQ(m.question(1).text, u"Q1"_s);
    EXPECT_EQ(m.question(2).text, u"Q3"_s);
    EXPECT_EQ(m.question(3).text, u"Ile to 1/2 + 1/4?"_s);
    EXPECT_EQ(m.question(3).answers[0], u"3/4"_s);
    EXPECT_EQ(m.question(3).answers[2], u"1"_s);
    EXPECT_EQ(m.question(3).correct, u"10000"_s);
    EXPECT_EQ(m.header.testName, u"Ułamki"_s);
}

} // namespace
