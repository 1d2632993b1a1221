#include "students/StudentImport.h"

#include "storage/Cp1250.h"
#include "students/StudentListEditor.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString clump(const QString &line)
{
    return u"Lista zawiera błędy.\rW wierszu "_s + line + u" jest zbitka słowna.Pozycję tę pominięto."_s;
}

class StudentImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.log.setFilterLevel(4);
        editor.newStudentList();
        SchoolClass c = editor.newClassDefaults();
        c.name = u"1a"_s;
        editor.addClass(c);
        editor.list.classes[0].students = {{u"Ola"_s, u"Lis"_s}};
    }

    // Writes `bytes` as the import file and runs the import from the student view.
    bool importBytes(const QByteArray &bytes)
    {
        const QString path = t.dir.filePath(u"uczniowie.txt"_s);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        EXPECT_TRUE(editor.showStudentView());
        prompts.queueFileName(path);
        return editor.importStudents();
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    StudentListEditor editor{t.ws};
};

} // namespace

TEST(StudentImportLines, LineEndsAndEmptyLines)
{
    EXPECT_EQ(importFileLines("Jan Lis\r\nEwa Kot\rAla Mak\nOla Sum"),
              (QStringList{u"Jan Lis"_s, u"Ewa Kot"_s, u"Ala Mak"_s, u"Ola Sum"_s}));
    // Empty lines go; lines of blanks stay (they are word clumps).
    EXPECT_EQ(importFileLines("\r\n\r\nJan Lis\n\n  \n\r"), (QStringList{u"Jan Lis"_s, u"  "_s}));
    EXPECT_TRUE(importFileLines("").isEmpty());
    // Windows-1250 letters.
    EXPECT_EQ(importFileLines(Cp1250::fromUnicode(u"Łucja Żółć")), QStringList{u"Łucja Żółć"_s});
}

// Each file line, first name first, becomes a view line in the order "fn" asks for; word clumps are
// reported one by one and skipped.
TEST_F(StudentImportTest, LinesInDisplayOrderAndWordClumps)
{
    const struct {
        const char *file;
        bool firstNameFirst;
        QStringList view;
        QStringList clumps;
    } cases[] = {
        {"Jan Kowalski\r\n\r\nMaria Nowak-Wiśniewska\r\n",
         false,
         {u"Kowalski Jan"_s, u"Nowak-Wiśniewska Maria"_s},
         {}},
        {"Jan Kowalski\r\n\r\nMaria Nowak\r\n", true, {u"Jan Kowalski"_s, u"Maria Nowak"_s}, {}},
        {"Anna Maria Nowak\n", true, {u"Anna Maria Nowak"_s}, {}},
        {"Anna Maria Nowak\n", false, {u"Maria Nowak Anna"_s}, {}},
        {"Jan     Lis  \n", true, {u"Jan Lis"_s}, {}},
        {"Kowalski\n Jan Lis\nEwa Kot\n   \n",
         true,
         {u"Ewa Kot"_s},
         {u"Kowalski"_s, u" Jan Lis"_s, u"   "_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        t.ws.settings.fn = c.firstNameFirst;
        prompts.messages.clear();
        ASSERT_TRUE(importBytes(Cp1250::fromUnicode(QString::fromUtf8(c.file))));
        EXPECT_EQ(editor.studentView.lines, c.view);
        EXPECT_EQ(editor.studentView.current, 0);
        EXPECT_TRUE(editor.studentView.pending);
        QStringList expected;
        for (const QString &line : c.clumps)
            expected << clump(line);
        EXPECT_EQ(prompts.messageTexts(), expected);
        prompts.queueAnswer(MessageResult::No);
        editor.leaveStudentView();
        prompts.messages.clear();
    }
    EXPECT_EQ(t.logTexts().count(u"Import listy uczniów. Zbitka słowana."_s), 3);
}

// The import replaces the view's lines; the class changes only when the view is applied.
TEST_F(StudentImportTest, ReplacesTheViewAndTheClassOnlyOnApply)
{
    t.ws.settings.fn = true;
    ASSERT_TRUE(importBytes("Jan Lis\r\nEwa Kot\r\n"));
    EXPECT_EQ(editor.studentView.lines, (QStringList{u"Jan Lis"_s, u"Ewa Kot"_s}));
    EXPECT_EQ(editor.list.studentCount(0), 1);
    editor.applyStudentView();
    EXPECT_EQ(editor.list.studentCount(0), 2);
    EXPECT_EQ(editor.list.totalStudents(), 2);
    EXPECT_EQ(editor.list.classes.at(0).students.at(1).surname, u"Kot"_s);
    EXPECT_TRUE(editor.list.modified);
}

TEST_F(StudentImportTest, EmptyUnreadableAndCancelledFilesLeaveTheViewAsItWas)
{
    EXPECT_FALSE(importBytes("\r\n\n\r\n"));
    EXPECT_EQ(prompts.messageTexts(), QStringList{u"Wskazana lista jest pusta."_s});
    EXPECT_EQ(editor.studentView.lines, QStringList{u"Ola Lis"_s});
    EXPECT_FALSE(editor.studentView.pending);
    EXPECT_EQ(prompts.fileRequests.at(0).request.title, u"Wskaż plik z listą uczniów"_s);
    EXPECT_EQ(prompts.fileRequests.at(0).request.filter, u"Plik tekstowy (*.txt)"_s);

    prompts.queueFileName(t.dir.filePath(u"brak.txt"_s));
    EXPECT_FALSE(editor.importStudents());
    EXPECT_TRUE(prompts.lastMessageText().startsWith(u"Nie można odczytać pliku:\r"_s));
    prompts.queueFileName(QString());
    EXPECT_FALSE(editor.importStudents());
    EXPECT_EQ(editor.studentView.lines, QStringList{u"Ola Lis"_s});

    // Only the student view imports.
    ASSERT_TRUE(editor.leaveStudentView());
    EXPECT_FALSE(editor.importStudents());
    EXPECT_EQ(prompts.fileRequests.size(), 3);
}
