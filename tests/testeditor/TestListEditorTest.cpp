#include "testeditor/TestListEditor.h"

#include "documents/ListDocuments.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Kind = TestListEditor::Kind;

namespace {

const QString kEditFirst =
    u"Aby edytować wpisy musisz najpierw zapisać listę.\rZapoznaj się z pomocą do programu."_s;
const QString kNoAuthor = u"Wpisz autora listy. To jest konieczne."_s;
const QString kCloseQuestion = u"Zawartość listy uległa zmianie.\rZapisać zmiany?"_s;
constexpr int kViewport = 430;

class TestListEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        editor.position = {100, 40};
    }

    QString file(const QString &name) const { return t.dir.filePath(name); }

    // A new list of the kind with an author, saved as `name`.
    void savedList(Kind kind, const QString &name)
    {
        editor.newList(kind, kViewport);
        editor.addBelow();
        editor.setAuthor(u"Anna Nowak"_s);
        prompts.queueFileName(file(name));
        ASSERT_TRUE(editor.save());
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    TestListEditor editor{t.ws};
};

} // namespace

// Links are relative to the list's folder, so entries can be edited only once the list has a file.
TEST_F(TestListEditorTest, EntriesAreEditedOnlyAfterTheFirstSaveAndLinkRelativeToTheList)
{
    editor.newList(Kind::TestList, kViewport);
    EXPECT_EQ(t.ws.workMode, WorkTestList);
    editor.addBelow();
    EXPECT_FALSE(editor.beginEditEntry());
    EXPECT_EQ(prompts.messageTexts(), QStringList{kEditFirst});

    editor.setAuthor(u"Anna Nowak"_s);
    prompts.queueFileName(file(u"listy/lista.skg"_s));
    QDir(t.dir.path()).mkpath(u"listy/sub"_s);
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(editor.listFolder, file(u"listy/"_s));
    EXPECT_EQ(prompts.clockPositions, (QList<QPoint>{{160, 240}}));
    ASSERT_TRUE(editor.beginEditEntry());
    EXPECT_EQ(editor.entry.name, u"Nowy wpis 0"_s);
    EXPECT_EQ(editor.entry.shownLink, u"Brak pliku testu"_s);

    prompts.queueFileName(file(u"listy/sub/t.skt"_s));
    editor.pickLink();
    ASSERT_EQ(prompts.fileRequests.size(), 2);
    EXPECT_EQ(prompts.fileRequests.at(1).request.title, u"Wskaż plik testu"_s);
    // Written with the separator of the platform the student-side modules run on.
    EXPECT_EQ(editor.entry.shownLink, u"sub\\t.skt"_s);
    editor.entry.name = u"Sprawdzian 1"_s;
    editor.acceptEntry();
    EXPECT_EQ(editor.tree.selectedNameAndLink().name, u"Sprawdzian 1"_s);
    EXPECT_EQ(editor.tree.selectedNameAndLink().link, u"sub\\t.skt"_s);
    EXPECT_TRUE(editor.modified);
}

TEST_F(TestListEditorTest, RelativeLinks)
{
    const struct {
        const char16_t *chosen;
        const char16_t *link; // empty: refused
    } cases[] = {
        {u"/szkola/listy/t.skt", u"t.skt"},
        {u"/szkola/listy/a/b/t.skt", u"a/b/t.skt"},
        {u"/szkola/listy/../listy/t.skt", u"t.skt"},
        {u"/szkola/t.skt", u""},
        {u"/szkola/listy2/t.skt", u""}, // shares the folder's first letters only
        {u"/szkola/listy", u""},        // the folder itself
        {u"", u""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(TestListEditor::relativeLink(u"/szkola/listy/"_s, QString::fromUtf16(c.chosen)),
                  QString::fromUtf16(c.link))
            << QString::fromUtf16(c.chosen).toStdString();
    }
}

// A list saved at the top of a file system ("/x.skg") links "/sub/t.skt" as "sub\t.skt". Only path
// arithmetic: the recovery copy lives in the temporary folder and nothing is written at the top.
TEST_F(TestListEditorTest, AListAtTheTopOfAFileSystemGetsLinks)
{
    EXPECT_EQ(TestListEditor::relativeLink(u"/"_s, u"/sub/t.skt"_s), u"sub/t.skt"_s);
    EXPECT_EQ(TestListEditor::relativeLink(u"/"_s, u"/t.skt"_s), u"t.skt"_s);
    EXPECT_EQ(TestListEditor::relativeLink(u"/"_s, u"/"_s), QString());

    savedList(Kind::TestList, u"kopia.skg"_s);
    ASSERT_TRUE(editor.openRecoveryCopy(Kind::TestList, file(u"kopia.skg"_s), u"/x.skg"_s, kViewport));
    EXPECT_EQ(editor.listFolder, u"/"_s);
    ASSERT_TRUE(editor.beginEditEntry());
    prompts.queueFileName(u"/sub/t.skt"_s);
    editor.pickLink();
    EXPECT_EQ(editor.entry.shownLink, u"sub\\t.skt"_s);
    EXPECT_TRUE(prompts.messageTexts().isEmpty());
}

// A choice outside the list's folder is refused and the field keeps its link; a cancelled choice
// clears it once the entry is accepted; an empty name changes nothing.
TEST_F(TestListEditorTest, PickingOutsideCancellingAndEmptyNames)
{
    savedList(Kind::SetList, u"zestawy.skz"_s);
    QDir(t.dir.path()).mkpath(u"zestaw1"_s);
    ASSERT_TRUE(editor.beginEditEntry());
    EXPECT_EQ(editor.entry.shownLink, u"Brak folderu z pytaniami"_s);
    prompts.queueFolder(file(u"zestaw1"_s));
    editor.pickLink();
    ASSERT_EQ(prompts.folderRequests.size(), 1);
    EXPECT_EQ(prompts.folderRequests.at(0).caption, u"Wskaż folder z zestawem pytań"_s);
    EXPECT_EQ(editor.entry.shownLink, u"zestaw1"_s);

    prompts.queueFolder(u"/gdzie/indziej"_s);
    editor.pickLink();
    EXPECT_EQ(editor.entry.shownLink, u"zestaw1"_s);
    EXPECT_TRUE(prompts.lastMessageText().startsWith(u"Wskazany folder nie leży w folderze listy"_s));

    const QString longName = QString(310, u'x');
    prompts.queueFolder(file(longName));
    editor.pickLink();
    EXPECT_EQ(editor.entry.shownLink, u"zestaw1"_s);
    EXPECT_TRUE(prompts.lastMessageText().startsWith(u"Ścieżka jest za długa"_s));
    editor.acceptEntry();
    EXPECT_EQ(editor.tree.selectedNameAndLink().link, u"zestaw1"_s);

    ASSERT_TRUE(editor.beginEditEntry());
    EXPECT_EQ(editor.entry.shownLink, u"zestaw1"_s);
    prompts.queueFolder(QString());
    editor.pickLink();
    EXPECT_EQ(editor.entry.shownLink, u"Brak folderu z pytaniami"_s);
    editor.acceptEntry();
    EXPECT_TRUE(editor.tree.selectedNameAndLink().link.isEmpty());

    ASSERT_TRUE(editor.beginEditEntry());
    editor.entry.name.clear();
    editor.entry.shownLink = u"zestaw1"_s;
    editor.modified = false;
    editor.acceptEntry();
    EXPECT_EQ(editor.tree.selectedNameAndLink().name, u"Nowy wpis 0"_s);
    EXPECT_TRUE(editor.tree.selectedNameAndLink().link.isEmpty());
    EXPECT_FALSE(editor.modified);
}

TEST_F(TestListEditorTest, SaveAndSaveAs)
{
    editor.newList(Kind::TestList, kViewport);
    editor.addBelow();
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(prompts.messageTexts(), QStringList{kNoAuthor});
    EXPECT_TRUE(prompts.fileRequests.isEmpty());

    editor.setAuthor(u"Jan"_s);
    prompts.queueFileName(QString());
    EXPECT_FALSE(editor.save());
    EXPECT_TRUE(editor.modified);
    prompts.queueFileName(file(u"a.skg"_s));
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(prompts.fileRequests.at(1).request.title, u"Zapisz listę jako..."_s);
    EXPECT_EQ(prompts.fileRequests.at(1).request.defaultExtension, u"skg"_s);
    EXPECT_FALSE(editor.modified);

    // Ctrl+S with no changes does nothing; save as still asks and writes.
    const qsizetype clocks = prompts.clockPositions.size();
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(prompts.clockPositions.size(), clocks);
    prompts.queueFileName(file(u"b.skg"_s));
    ASSERT_TRUE(editor.saveAs());
    EXPECT_TRUE(QFile::exists(file(u"b.skg"_s)));
    EXPECT_EQ(editor.listFile, file(u"b.skg"_s));

    // A failed write keeps the changes.
    editor.addBelow();
    editor.listFile = file(u"brak/c.skg"_s);
    EXPECT_FALSE(editor.save());
    EXPECT_TRUE(editor.modified);
}

// Yes to the close question saves with the same rules as the save command, as the list's own kind;
// a save that does not happen keeps the window open.
TEST_F(TestListEditorTest, ClosingWithChanges)
{
    editor.newList(Kind::SetList, kViewport);
    editor.addBelow();
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_EQ(editor.close(), TestListEditor::Outcome::StayOpen);
    EXPECT_EQ(prompts.messageTexts(), (QStringList{kCloseQuestion, kNoAuthor}));

    editor.setAuthor(u"Jan"_s);
    prompts.queueAnswer(MessageResult::Yes);
    prompts.queueFileName(QString());
    EXPECT_EQ(editor.close(), TestListEditor::Outcome::StayOpen);
    EXPECT_TRUE(editor.modified);
    prompts.queueAnswer(MessageResult::Cancel);
    EXPECT_EQ(editor.close(), TestListEditor::Outcome::StayOpen);

    prompts.queueAnswer(MessageResult::Yes);
    prompts.queueFileName(file(u"z.skz"_s));
    EXPECT_EQ(editor.close(), TestListEditor::Outcome::Close);
    EXPECT_EQ(prompts.fileRequests.constLast().request.filter, u"Plik listy zestawów pytań (*.skz)"_s);
    ListInfo info;
    QStringList lines;
    EXPECT_TRUE(ReadSetList(t.ws, file(u"z.skz"_s), info, lines));
    EXPECT_EQ(info.author, u"Jan"_s);
    EXPECT_EQ(lines.size(), 1);
    EXPECT_EQ(prompts.clockPositions.size(), 1);

    editor.addBelow();
    prompts.queueAnswer(MessageResult::No);
    EXPECT_EQ(editor.close(), TestListEditor::Outcome::Close);
    editor.modified = false;
    EXPECT_EQ(editor.close(), TestListEditor::Outcome::Close);
    EXPECT_EQ(prompts.unusedAnswers(), 0);
}

TEST_F(TestListEditorTest, AddingDeletingAndMoving)
{
    editor.newList(Kind::TestList, kViewport);
    EXPECT_FALSE(editor.hasEntries());
    EXPECT_FALSE(editor.moveUpEnabled());
    EXPECT_FALSE(editor.moveDownEnabled());
    // A branch on an empty tree is the first top-level entry.
    editor.addBranch();
    ASSERT_EQ(editor.tree.entries().size(), 1);
    EXPECT_EQ(editor.tree.entries().at(0).level, 0);
    EXPECT_TRUE(editor.modified);
    EXPECT_FALSE(editor.moveDownEnabled());

    editor.addAtEnd();
    editor.addAbove(); // between the two
    EXPECT_EQ(editor.tree.selected(), 1);
    EXPECT_TRUE(editor.moveUpEnabled());
    EXPECT_TRUE(editor.moveDownEnabled());
    editor.moveUp();
    EXPECT_EQ(editor.tree.selected(), 0);
    EXPECT_FALSE(editor.moveUpEnabled());
    EXPECT_TRUE(editor.moveDownEnabled());

    // No branch under an entry with a link.
    editor.tree.setSelectedNameAndLink(u"Test"_s, u"t.skt"_s);
    editor.addBranch();
    EXPECT_EQ(prompts.lastMessageText(), u"Problem ze wstawieniem elementu.\rNie można wstawić gałęzi, jeśli "
                                         u"element jest odnośnikiem do pliku testu."_s);
    EXPECT_EQ(editor.tree.entries().size(), 3);

    t.ws.settings.al = true;
    prompts.queueAnswer(MessageResult::No);
    EXPECT_FALSE(editor.deleteEntry());
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_TRUE(editor.deleteEntry());
    EXPECT_EQ(editor.tree.entries().size(), 2);
    t.ws.settings.al = false;
    EXPECT_TRUE(editor.deleteEntry());
    EXPECT_TRUE(editor.deleteEntry());
    EXPECT_FALSE(editor.deleteEntry());
    EXPECT_EQ(prompts.messageTexts().count(u"Czy rzeczywiście usunąć?\rTej operacji nie można cofnąć."_s), 2);
}

TEST_F(TestListEditorTest, OpenedListComesBackAsSavedWithItsBranchesCollapsed)
{
    savedList(Kind::TestList, u"lista.skg"_s);
    editor.addBranch();
    editor.addBranch();
    editor.tree.setSelectedNameAndLink(u"Klasówka"_s, u"dział/k.skt"_s);
    editor.addAtEnd();
    editor.setRemarks(u"Pierwsza\nDruga"_s);
    ASSERT_TRUE(editor.save());
    QStringList saved;
    editor.tree.saveLines(saved);

    TestListEditor other(t.ws);
    ASSERT_TRUE(other.openListFile(Kind::TestList, file(u"lista.skg"_s), kViewport));
    QStringList read;
    other.tree.saveLines(read);
    ASSERT_EQ(read.size(), saved.size());
    EXPECT_EQ(other.tree.entries().at(2).link, u"dział/k.skt"_s);
    EXPECT_EQ(other.tree.countVisible(), 2); // the branch is collapsed
    EXPECT_EQ(other.listAuthor, u"Anna Nowak"_s);
    EXPECT_EQ(other.listRemarks, u"Pierwsza\nDruga"_s);
    EXPECT_EQ(other.listDate, editor.listDate);
    EXPECT_TRUE(other.listSaved);
    EXPECT_FALSE(other.modified);
    EXPECT_EQ(other.listFolder, t.dir.path() + u"/"_s);
}

TEST_F(TestListEditorTest, UnreadableListsDoNotOpen)
{
    QFile junk(file(u"zla.skg"_s));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("to nie jest lista");
    junk.close();
    EXPECT_FALSE(editor.openListFile(Kind::TestList, junk.fileName(), kViewport));
    EXPECT_EQ(prompts.lastMessageText(),
              u"Problem z otwarciem pliku listy.\rPrawdopodobnie plik jest uszkodzony."_s);

    // A list whose entry line does not parse.
    const QString broken = file(u"wpis.skz"_s);
    ASSERT_TRUE(WriteSetList(t.ws, broken, {u"A"_s, u"2024-01-01"_s, {}}, {u"x*0*0*-1*1*0*Wpis*"_s}));
    EXPECT_FALSE(editor.openListFile(Kind::SetList, broken, kViewport));
    EXPECT_EQ(prompts.lastMessageText(),
              u"Problem z otwarciem pliku listy.\rPrawdopodobnie plik jest uszkodzony."_s);

    prompts.queueFileName(QString());
    EXPECT_FALSE(editor.openList(Kind::SetList, kViewport));
    EXPECT_EQ(prompts.fileRequests.at(0).request.title, u"Otwórz plik listy zestawów pytań"_s);
}
