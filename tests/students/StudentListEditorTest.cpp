#include "students/StudentListEditor.h"

#include "documents/ListDocuments.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kConfirm = u"Czy rzeczywiście usunąć?\rTej operacji nie można cofnąć."_s;
const QString kNeedsAuthor = u"Wprowadź informacje o liście.\rTo jest konieczne."_s;

class StudentListEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.mainLeft = 10;
        t.ws.mainTop = 20;
        editor.newStudentList();
    }

    void addClass(const QString &name)
    {
        SchoolClass c = editor.newClassDefaults();
        c.name = name;
        editor.addClass(c);
    }

    // Two classes, 1a with two students, an author; modified.
    void fillSample()
    {
        addClass(u"1a"_s);
        addClass(u"1b"_s);
        editor.selectLine(0);
        ASSERT_TRUE(editor.showStudentView());
        editor.addStudent(u"Jan"_s, u"Kowalski"_s);
        editor.addStudent(u"Anna"_s, u"Nowak"_s);
        editor.applyStudentView();
        ASSERT_TRUE(editor.acceptListInfo(u"Maria Wiśniewska"_s, u"uwagi\r\ndo listy"_s));
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    StudentListEditor editor{t.ws};
};

} // namespace

TEST_F(StudentListEditorTest, NewListNeedsAnAuthorBeforeSaving)
{
    addClass(u"1a"_s);
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(prompts.messageTexts(), QStringList{kNeedsAuthor});
    EXPECT_EQ(prompts.messages.at(0).icon, MessageIcon::InfoIcon);
    EXPECT_TRUE(prompts.fileRequests.isEmpty());
    EXPECT_FALSE(editor.saveAs());
    EXPECT_TRUE(editor.list.modified);

    EXPECT_FALSE(editor.acceptListInfo(QString(), u"x"_s));
    EXPECT_EQ(prompts.lastMessageText(), u"Wprowadź dane autora listy.\rTo jest konieczne."_s);
    EXPECT_TRUE(editor.list.author.isEmpty());
}

TEST_F(StudentListEditorTest, SaveAsksForAPathOnceAndShowsTheClock)
{
    fillSample();
    const QString file = t.dir.filePath(u"klasy.sku"_s);
    prompts.queueFileName(file);
    ASSERT_TRUE(editor.save());
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    const FileDialogRequest &r = prompts.fileRequests.at(0).request;
    EXPECT_TRUE(prompts.fileRequests.at(0).save);
    EXPECT_EQ(r.title, u"Zapisz listę uczniów jako..."_s);
    EXPECT_EQ(r.defaultExtension, u"sku"_s);
    EXPECT_EQ(r.startFolder, t.ws.paths.programFolder);
    EXPECT_EQ(prompts.clockPositions, QList<QPoint>{QPoint(250, 260)});
    EXPECT_FALSE(editor.list.modified);
    EXPECT_EQ(editor.path, file);

    // Moving a class and saving again writes the new order to the same file, without asking.
    editor.selectLine(0);
    ASSERT_TRUE(editor.moveClassDown());
    EXPECT_TRUE(editor.list.modified);
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(prompts.fileRequests.size(), 1);

    StudentListEditor other(t.ws);
    ASSERT_TRUE(other.openStudentListFile(file));
    EXPECT_EQ(other.lines(), (QStringList{u"1b"_s, u"1a"_s}));
    EXPECT_EQ(other.list.totalStudents(), 2);
    EXPECT_EQ(other.list.author, u"Maria Wiśniewska"_s);
    EXPECT_EQ(other.currentLine(), 0);
    EXPECT_FALSE(other.list.modified);
}

TEST_F(StudentListEditorTest, CancelledOrFailedSaveKeepsTheListModified)
{
    fillSample();
    prompts.queueFileName(QString());
    EXPECT_FALSE(editor.save());
    EXPECT_TRUE(editor.list.modified);
    EXPECT_TRUE(editor.path.isEmpty());

    prompts.queueFileName(t.dir.filePath(u"brak/folderu/klasy.sku"_s));
    EXPECT_FALSE(editor.saveAs());
    EXPECT_TRUE(editor.list.modified);
    EXPECT_TRUE(prompts.clockPositions.isEmpty());
    EXPECT_TRUE(editor.path.isEmpty());
}

TEST_F(StudentListEditorTest, DeletionAsksWhenAlIsOn)
{
    fillSample();
    editor.selectLine(1);
    prompts.queueAnswer(MessageResult::No);
    EXPECT_FALSE(editor.deleteClass());
    EXPECT_EQ(editor.lines().size(), 2);
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_TRUE(editor.deleteClass());
    EXPECT_EQ(editor.lines(), QStringList{u"1a"_s});
    EXPECT_EQ(prompts.messageTexts(), (QStringList{kConfirm, kConfirm}));
    EXPECT_EQ(prompts.messages.at(0).kind, MessageKind::YesNoCancel);

    t.ws.settings.al = false;
    ASSERT_TRUE(editor.showStudentView());
    EXPECT_TRUE(editor.deleteStudent());
    EXPECT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(editor.deleteClass());
    EXPECT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(editor.list.totalStudents(), 0);
    EXPECT_EQ(prompts.unusedAnswers(), 0);
}

TEST_F(StudentListEditorTest, StudentViewNeedsACurrentClass)
{
    EXPECT_FALSE(editor.enabling().listCommand);
    EXPECT_FALSE(editor.showStudentView());
    EXPECT_EQ(prompts.lastMessageText(), u"Wybierz klasę do której chcesz przygotować listę uczniów."_s);
    EXPECT_EQ(prompts.messages.constLast().icon, MessageIcon::WarningIcon);
    EXPECT_EQ(editor.view, StudentListEditor::View::Classes);

    addClass(u"1a"_s);
    ASSERT_TRUE(editor.showStudentView());
    EXPECT_EQ(editor.view, StudentListEditor::View::Students);
    EXPECT_FALSE(editor.saveShown());
    // An empty class: only the import is on.
    const ListEnabling e = editor.enabling();
    EXPECT_TRUE(e.listCommand);
    EXPECT_FALSE(e.canDelete || e.canEdit || e.canMoveUp || e.canMoveDown);
}

TEST_F(StudentListEditorTest, StudentLinesFollowFn)
{
    t.ws.settings.fn = false;
    addClass(u"1a"_s);
    ASSERT_TRUE(editor.showStudentView());
    editor.addStudent(u"Anna"_s, u"Nowak"_s);
    EXPECT_EQ(editor.lines(), QStringList{u"Nowak Anna"_s});
    editor.applyStudentView();
    EXPECT_EQ(editor.list.classes.at(0).students.at(0).firstName, u"Anna"_s);
    EXPECT_EQ(editor.list.classes.at(0).students.at(0).surname, u"Nowak"_s);
}

TEST_F(StudentListEditorTest, LeavingTheStudentViewAsksAboutPendingChanges)
{
    fillSample();
    editor.selectLine(0);
    ASSERT_TRUE(editor.showStudentView());
    EXPECT_TRUE(editor.leaveStudentView()); // nothing pending: no question
    EXPECT_TRUE(prompts.messages.isEmpty());

    const QString question = u"Zawartość listy uległa zmianie.\rWprowadzić zmiany?"_s;
    ASSERT_TRUE(editor.showStudentView());
    editor.addStudent(u"Ewa"_s, u"Lis"_s);
    prompts.queueAnswer(MessageResult::Cancel);
    EXPECT_FALSE(editor.leaveStudentView());
    EXPECT_EQ(editor.view, StudentListEditor::View::Students);
    prompts.queueAnswer(MessageResult::No);
    EXPECT_TRUE(editor.leaveStudentView());
    EXPECT_EQ(editor.list.studentCount(0), 2);

    ASSERT_TRUE(editor.showStudentView());
    editor.addStudent(u"Ewa"_s, u"Lis"_s);
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_TRUE(editor.leaveStudentView());
    EXPECT_EQ(editor.view, StudentListEditor::View::Classes);
    EXPECT_EQ(editor.list.studentCount(0), 3);
    EXPECT_EQ(editor.list.totalStudents(), 3);
    EXPECT_EQ(prompts.messageTexts(), (QStringList{question, question, question}));
}

TEST_F(StudentListEditorTest, ClosingAsksToSaveAndEmptiesTheList)
{
    fillSample();
    const QString question = u"Zawartość listy uległa zmianie.\rZapisać zmiany?"_s;
    prompts.queueAnswer(MessageResult::Cancel);
    EXPECT_FALSE(editor.requestClose());
    EXPECT_EQ(editor.lines().size(), 2);

    // Yes with a save that does not happen keeps the window open with its changes: a cancelled
    // name, a failed write, no author.
    prompts.queueAnswer(MessageResult::Yes);
    prompts.queueFileName(QString());
    EXPECT_FALSE(editor.requestClose());
    EXPECT_EQ(editor.lines().size(), 2);
    EXPECT_TRUE(editor.list.modified);

    prompts.queueAnswer(MessageResult::Yes);
    prompts.queueFileName(t.dir.filePath(u"brak/folderu/lista.sku"_s));
    EXPECT_FALSE(editor.requestClose());
    EXPECT_EQ(editor.lines().size(), 2);
    EXPECT_TRUE(editor.list.modified);

    const QString author = editor.list.author;
    editor.list.author.clear();
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_FALSE(editor.requestClose());
    EXPECT_TRUE(editor.list.modified);
    editor.list.author = author;
    const qsizetype asked = prompts.messages.size();

    // A save that succeeds closes the window and empties the list.
    const QString file = t.dir.filePath(u"lista.sku"_s);
    prompts.queueAnswer(MessageResult::Yes);
    prompts.queueFileName(file);
    EXPECT_TRUE(editor.requestClose());
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_TRUE(editor.list.classes.isEmpty());
    EXPECT_FALSE(editor.list.modified);
    EXPECT_EQ(t.ws.workMode, WorkStudentList);
    EXPECT_EQ(prompts.messageTexts().first(2), (QStringList{question, question}));
    EXPECT_EQ(prompts.messageTexts().at(asked - 2), question);
    EXPECT_EQ(prompts.messageTexts().at(asked - 1), kNeedsAuthor);

    editor.newStudentList();
    EXPECT_TRUE(editor.requestClose()); // not modified: no question
    EXPECT_EQ(prompts.messages.size(), asked + 1);
}

TEST_F(StudentListEditorTest, UnreadableFileKeepsTheWindowClosedSilently)
{
    EXPECT_FALSE(editor.openStudentListFile(t.dir.filePath(u"brak.sku"_s)));
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_TRUE(editor.list.classes.isEmpty());

    prompts.queueFileName(QString());
    EXPECT_FALSE(editor.openStudentList());
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(prompts.fileRequests.at(0).request.title, u"Otwórz plik listy uczniów"_s);
    EXPECT_FALSE(prompts.fileRequests.at(0).save);
}

TEST_F(StudentListEditorTest, DialogChecks)
{
    SchoolClass c = editor.newClassDefaults();
    EXPECT_FALSE(StudentListEditor::checkClassDialog(t.ws, c));
    c.name = u"2b"_s;
    EXPECT_TRUE(StudentListEditor::checkClassDialog(t.ws, c));
    EXPECT_FALSE(StudentListEditor::checkStudentDialog(t.ws, u"Jan"_s, QString()));
    EXPECT_FALSE(StudentListEditor::checkStudentDialog(t.ws, QString(), u"Lis"_s));
    EXPECT_TRUE(StudentListEditor::checkStudentDialog(t.ws, u"Jan"_s, u"Lis"_s));
    EXPECT_EQ(prompts.messageTexts(), QStringList(3, u"Wpisz poprawnie wymagane dane."_s));
}

TEST_F(StudentListEditorTest, EditingClassDataOrListInfoMarksModified)
{
    fillSample();
    prompts.queueFileName(t.dir.filePath(u"k.sku"_s));
    ASSERT_TRUE(editor.save());
    editor.selectLine(1);
    SchoolClass same = editor.list.classes.at(1);
    ASSERT_TRUE(editor.editClass(same));
    EXPECT_FALSE(editor.list.modified);
    same.time = 45;
    ASSERT_TRUE(editor.editClass(same));
    EXPECT_TRUE(editor.list.modified);
    ASSERT_TRUE(editor.save());
    ASSERT_TRUE(editor.acceptListInfo(editor.list.author, u"nowe uwagi"_s));
    EXPECT_TRUE(editor.list.modified);
}
