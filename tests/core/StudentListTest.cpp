#include "core/StudentList.h"

#include "core/EditorSettings.h"
#include "core/TextHelpers.h"
#include "students/StudentView.h"

#include <gtest/gtest.h>
#include <random>

using namespace Qt::StringLiterals;

namespace {

SchoolClass classNamed(const QString &name, const QStringList &firstNames = {})
{
    SchoolClass c;
    c.name = name;
    for (const QString &f : firstNames)
        c.students << Student{f, u"Nowak"_s};
    return c;
}

// A list of three classes with 2, 0 and 3 students, not modified, the first class current.
StudentList sampleList()
{
    StudentList list;
    list.reset();
    list.classes << classNamed(u"1a"_s, {u"Jan"_s, u"Ewa"_s}) << classNamed(u"1b"_s)
                 << classNamed(u"2a"_s, {u"Ola"_s, u"Piotr"_s, u"Zofia"_s});
    list.currentClass = 0;
    return list;
}

QStringList namesOf(const StudentList &list)
{
    return list.classLines();
}

int countedStudents(const StudentList &list)
{
    int total = 0;
    for (const SchoolClass &c : list.classes)
        total += static_cast<int>(c.students.size());
    return total;
}

} // namespace

TEST(StudentList, ResetGivesAnEmptyListOfToday)
{
    StudentList list = sampleList();
    list.author = u"Anna"_s;
    list.remarks = u"uwagi"_s;
    list.modified = true;
    list.reset();
    EXPECT_TRUE(list.classes.isEmpty());
    EXPECT_TRUE(list.author.isEmpty());
    EXPECT_TRUE(list.remarks.isEmpty());
    EXPECT_EQ(list.date, todayText());
    EXPECT_EQ(list.currentClass, -1);
    EXPECT_FALSE(list.modified);
    EXPECT_EQ(list.totalStudents(), 0);
}

TEST(StudentList, NewClassTakesTheEditorDefaults)
{
    EditorSettings settings;
    SchoolClass c = newClass(settings);
    EXPECT_EQ(c.time, 0);
    EXPECT_EQ(c.gradingOn, 0);
    EXPECT_EQ(c.thresholds, (std::array<int, 5>{95, 85, 70, 50, 30}));
    EXPECT_TRUE(c.name.isEmpty());
    EXPECT_TRUE(c.resultsFolder.isEmpty());
    EXPECT_TRUE(c.students.isEmpty());

    settings.dft = 45;
    settings.sk = 1;
    settings.cel = 90;
    settings.bdb = 75;
    settings.db = 60;
    settings.dst = 45;
    settings.dp = 30;
    c = newClass(settings);
    EXPECT_EQ(c.time, 45);
    EXPECT_EQ(c.gradingOn, 1);
    EXPECT_EQ(c.thresholds, (std::array<int, 5>{90, 75, 60, 45, 30}));
    settings.sk = 2; // only 1 turns the scale on
    EXPECT_EQ(newClass(settings).gradingOn, 0);
}

TEST(StudentList, AddAndEditClass)
{
    StudentList list = sampleList();
    SchoolClass data = classNamed(u"3c"_s, {u"ignored"_s});
    data.time = 40;
    EXPECT_EQ(list.addClass(data), 3);
    EXPECT_EQ(list.currentClass, 3);
    EXPECT_TRUE(list.modified);
    EXPECT_TRUE(list.classes.at(3).students.isEmpty());
    EXPECT_EQ(list.classes.at(3).time, 40);
    EXPECT_EQ(namesOf(list), (QStringList{u"1a"_s, u"1b"_s, u"2a"_s, u"3c"_s}));

    list.modified = false;
    list.currentClass = 2;
    SchoolClass edit = classNamed(u"2A"_s);
    edit.resultsFolder = u"/wyniki/2a"_s;
    edit.time = 300;
    edit.gradingOn = 1;
    edit.thresholds = {99, 80, 60, 40, 10};
    ASSERT_TRUE(list.editCurrentClass(edit));
    const SchoolClass &c = list.classes.at(2);
    EXPECT_EQ(c.name, u"2A"_s);
    EXPECT_EQ(c.resultsFolder, u"/wyniki/2a"_s);
    EXPECT_EQ(c.time, 300);
    EXPECT_EQ(c.gradingOn, 1);
    EXPECT_EQ(c.thresholds, edit.thresholds);
    EXPECT_EQ(c.students.size(), 3); // students stay
    EXPECT_TRUE(list.modified);

    list.currentClass = -1;
    EXPECT_FALSE(list.editCurrentClass(edit));
}

TEST(StudentList, DeleteKeepsTheIndexOrTakesTheNewLast)
{
    StudentList list = sampleList();
    list.currentClass = 2;
    ASSERT_TRUE(list.deleteCurrentClass());
    EXPECT_EQ(list.currentClass, 1); // the last of three gone: the second is current
    EXPECT_EQ(list.totalStudents(), 2);
    EXPECT_TRUE(list.modified);

    list.currentClass = 0;
    ASSERT_TRUE(list.deleteCurrentClass());
    EXPECT_EQ(list.currentClass, 0);
    EXPECT_EQ(namesOf(list), QStringList{u"1b"_s});
    EXPECT_EQ(list.totalStudents(), 0);

    ASSERT_TRUE(list.deleteCurrentClass());
    EXPECT_EQ(list.currentClass, -1);
    const ListEnabling e = list.classViewEnabling();
    EXPECT_FALSE(e.canDelete);
    EXPECT_FALSE(e.canEdit);
    EXPECT_FALSE(e.canMoveUp);
    EXPECT_FALSE(e.canMoveDown);
    EXPECT_FALSE(e.listCommand);
    EXPECT_FALSE(list.deleteCurrentClass());
}

TEST(StudentList, MovesSwapWithTheNeighbour)
{
    StudentList list = sampleList();
    EXPECT_FALSE(list.canMoveUp());
    EXPECT_FALSE(list.moveCurrentClassUp());
    EXPECT_FALSE(list.modified);
    ASSERT_TRUE(list.moveCurrentClassDown());
    EXPECT_EQ(namesOf(list), (QStringList{u"1b"_s, u"1a"_s, u"2a"_s}));
    EXPECT_EQ(list.currentClass, 1);
    EXPECT_TRUE(list.modified);
    ASSERT_TRUE(list.moveCurrentClassDown());
    EXPECT_EQ(list.currentClass, 2);
    EXPECT_FALSE(list.canMoveDown());
    EXPECT_FALSE(list.moveCurrentClassDown());
    ASSERT_TRUE(list.moveCurrentClassUp());
    EXPECT_EQ(namesOf(list), (QStringList{u"1b"_s, u"1a"_s, u"2a"_s}));
    EXPECT_EQ(list.classes.at(1).students.size(), 2); // the students travel with their class
}

TEST(StudentList, EnablingRules)
{
    struct Case {
        qsizetype lines;
        int current;
        bool studentView;
        ListEnabling expected;
    };
    const Case cases[] = {
        {0, -1, false, {false, false, false, false, false}},
        {0, -1, true, {false, false, false, false, true}},
        {1, 0, false, {true, true, false, false, true}},
        {3, 0, false, {true, true, false, true, true}},
        {3, 1, true, {true, true, true, true, true}},
        {3, 2, true, {true, true, true, false, true}},
        {3, -1, false, {true, true, false, false, true}},
    };
    for (const Case &c : cases) {
        const ListEnabling e = listEnabling(c.lines, c.current, c.studentView);
        const auto where = ::testing::Message()
                           << c.lines << " lines, current " << c.current << ", view " << c.studentView;
        EXPECT_EQ(e.canDelete, c.expected.canDelete) << where;
        EXPECT_EQ(e.canEdit, c.expected.canEdit) << where;
        EXPECT_EQ(e.canMoveUp, c.expected.canMoveUp) << where;
        EXPECT_EQ(e.canMoveDown, c.expected.canMoveDown) << where;
        EXPECT_EQ(e.listCommand, c.expected.listCommand) << where;
    }
}

TEST(StudentList, SplittingALine)
{
    const std::tuple<QString, QString, QString> cases[] = {
        {u"Anna Nowak"_s, u"Anna"_s, u"Nowak"_s},
        {u"Nowak Kowalska Anna"_s, u"Nowak"_s, u"Kowalska Anna"_s},
        {u"Kowalski"_s, u"Kowalski"_s, u""_s},
        {u" Jan Kowalski"_s, u""_s, u"Jan Kowalski"_s},
        {u"Jan    Kowalski  "_s, u"Jan"_s, u"Kowalski"_s},
        {u"   "_s, u""_s, u""_s},
        {u""_s, u""_s, u""_s},
        {u"Jan\tKowalski"_s, u"Jan\tKowalski"_s, u""_s}, // only a blank separates
        {u"Maria Nowak-Wiśniewska"_s, u"Maria"_s, u"Nowak-Wiśniewska"_s},
        {u"Ewa "_s + QString(99, u'x') + u"yz"_s, u"Ewa"_s, QString(99, u'x') + u"y"_s},
        {u"Ewa   "_s + QString(100, u'x'), u"Ewa"_s, QString(98, u'x')}, // cut before trimming
        {u"Ewa "_s + QString(100, u'x'), u"Ewa"_s, QString(100, u'x')},
        {u"Jan "_s, u"Jan"_s, u""_s},
        {u" "_s, u""_s, u""_s},
        // Only blanks are trimmed: what separates nothing is part of the name.
        {u"\tJan Kowalski\t"_s, u"\tJan"_s, u"Kowalski\t"_s},
        {u"Jan \tKowalski"_s, u"Jan"_s, u"\tKowalski"_s},
        {u"Jan\u00a0Kowalski"_s, u"Jan\u00a0Kowalski"_s, u""_s},
        {u"\tKowalski\r"_s, u"\tKowalski\r"_s, u""_s},
    };
    for (const auto &[line, first, rest] : cases) {
        const StudentLineParts parts = splitLineAtBlank(line);
        EXPECT_EQ(parts.firstWord, first) << line.toStdString();
        EXPECT_EQ(parts.rest, rest) << line.toStdString();
    }
}

TEST(StudentList, DisplayOrderFollowsFn)
{
    const Student anna{u"Anna"_s, u"Nowak"_s};
    EXPECT_EQ(studentLine(anna, true), u"Anna Nowak"_s);
    EXPECT_EQ(studentLine(anna, false), u"Nowak Anna"_s);

    Student s = studentFromLine(u"Anna Nowak"_s, true);
    EXPECT_EQ(s.firstName, u"Anna"_s);
    EXPECT_EQ(s.surname, u"Nowak"_s);
    s = studentFromLine(u"Nowak Anna"_s, false);
    EXPECT_EQ(s.firstName, u"Anna"_s);
    EXPECT_EQ(s.surname, u"Nowak"_s);
    // The second word of a two-word name in front moves into the other field.
    s = studentFromLine(u"Nowak Kowalska Anna"_s, false);
    EXPECT_EQ(s.surname, u"Nowak"_s);
    EXPECT_EQ(s.firstName, u"Kowalska Anna"_s);
    s = studentFromLine(studentLine(Student{u"Anna Maria"_s, u"Nowak"_s}, true), true);
    EXPECT_EQ(s.firstName, u"Anna"_s);
    EXPECT_EQ(s.surname, u"Maria Nowak"_s);

    const StudentList list = sampleList();
    EXPECT_EQ(studentLines(list.classes.at(0), true), (QStringList{u"Jan Nowak"_s, u"Ewa Nowak"_s}));
    EXPECT_EQ(studentLines(list.classes.at(0), false), (QStringList{u"Nowak Jan"_s, u"Nowak Ewa"_s}));
}

TEST(StudentView, OpensOnAClassAndAppliesBack)
{
    StudentList list = sampleList();
    StudentView view;
    EXPECT_FALSE(view.open(list, 5, true));
    ASSERT_TRUE(view.open(list, 0, false));
    EXPECT_EQ(view.lines, (QStringList{u"Nowak Jan"_s, u"Nowak Ewa"_s}));
    EXPECT_EQ(view.current, 0);
    EXPECT_FALSE(view.pending);

    view.addStudent(u"Zenon"_s, u"Kowalski"_s);
    EXPECT_EQ(view.lines.constLast(), u"Kowalski Zenon"_s);
    EXPECT_EQ(view.current, 2);
    EXPECT_TRUE(view.pending);
    EXPECT_EQ(list.totalStudents(), 5); // nothing reaches the class before apply

    ASSERT_TRUE(view.setCurrent(1));
    const Student ewa = view.currentStudent();
    EXPECT_EQ(ewa.firstName, u"Ewa"_s);
    EXPECT_EQ(ewa.surname, u"Nowak"_s);
    ASSERT_TRUE(view.editCurrent(u"Ewa"_s, u"Lis"_s));
    EXPECT_EQ(view.lines.at(1), u"Lis Ewa"_s);

    ASSERT_TRUE(view.applyTo(list));
    EXPECT_FALSE(view.pending);
    EXPECT_TRUE(list.modified);
    ASSERT_EQ(list.classes.at(0).students.size(), 3);
    EXPECT_EQ(list.classes.at(0).students.at(1).surname, u"Lis"_s);
    EXPECT_EQ(list.classes.at(0).students.at(2).firstName, u"Zenon"_s);
    EXPECT_EQ(list.studentCount(0), 3);
    EXPECT_EQ(list.totalStudents(), 6);
}

TEST(StudentView, DeleteSelectsThePreviousLine)
{
    StudentList list = sampleList();
    StudentView view;
    ASSERT_TRUE(view.open(list, 2, true));
    view.setCurrent(2);
    ASSERT_TRUE(view.deleteCurrent());
    EXPECT_EQ(view.current, 1);
    view.setCurrent(0);
    ASSERT_TRUE(view.deleteCurrent());
    EXPECT_EQ(view.current, 0); // the first stays first
    EXPECT_EQ(view.lines, QStringList{u"Piotr Nowak"_s});
    ASSERT_TRUE(view.deleteCurrent());
    EXPECT_EQ(view.current, -1);
    EXPECT_FALSE(view.deleteCurrent());
    EXPECT_FALSE(view.canDelete());
    EXPECT_TRUE(view.importEnabled());
    EXPECT_TRUE(view.pending);

    // An empty view leaves the class's students as they were, but the list is modified.
    list.modified = false;
    ASSERT_TRUE(view.applyTo(list));
    EXPECT_EQ(list.studentCount(2), 3);
    EXPECT_TRUE(list.modified);
}

TEST(StudentView, MovesAndImport)
{
    StudentList list = sampleList();
    StudentView view;
    ASSERT_TRUE(view.open(list, 2, true));
    EXPECT_FALSE(view.moveCurrentUp());
    EXPECT_FALSE(view.pending);
    ASSERT_TRUE(view.moveCurrentDown());
    EXPECT_EQ(view.current, 1);
    EXPECT_EQ(view.lines.at(1), u"Ola Nowak"_s);
    EXPECT_TRUE(view.pending);

    view.pending = false;
    view.setImportedLines({});
    EXPECT_TRUE(view.lines.isEmpty());
    EXPECT_EQ(view.current, -1);
    EXPECT_FALSE(view.pending);
    view.setImportedLines({u"Jan Kowalski"_s, u"Maria Nowak-Wiśniewska"_s});
    EXPECT_EQ(view.current, 0);
    EXPECT_TRUE(view.pending);
    ASSERT_TRUE(view.applyTo(list));
    EXPECT_EQ(list.studentCount(2), 2);
    EXPECT_EQ(list.classes.at(2).students.at(1).surname, u"Nowak-Wiśniewska"_s);
}

TEST(StudentList, TotalsStayExactThroughAnySequence)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        StudentList list;
        list.reset();
        StudentView view;
        EditorSettings settings;
        for (int step = 0; step < 200; ++step) {
            switch (pick(9)) {
            case 0: {
                SchoolClass c = newClass(settings);
                c.name = u"k"_s + QString::number(step);
                list.addClass(c);
                break;
            }
            case 1:
                if (pick(3) == 0)
                    list.deleteCurrentClass();
                break;
            case 2:
                list.moveCurrentClassUp();
                break;
            case 3:
                list.moveCurrentClassDown();
                break;
            case 4:
                list.setCurrentClass(pick(static_cast<int>(list.classes.size()) + 1) - 1);
                break;
            case 5:
                if (list.hasCurrentClass())
                    view.open(list, list.currentClass, pick(2) == 0);
                break;
            case 6:
                view.addStudent(u"Imię"_s + QString::number(step), u"Nazwisko"_s);
                break;
            case 7:
                view.deleteCurrent();
                break;
            case 8:
                if (view.classIndex >= 0 && view.classIndex < list.classes.size())
                    view.applyTo(list);
                view.close();
                break;
            }
            ASSERT_EQ(list.totalStudents(), countedStudents(list)) << "seed " << seed << " step " << step;
            ASSERT_TRUE(list.currentClass >= -1 && list.currentClass < list.classes.size());
        }
    }
}
