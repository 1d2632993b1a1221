#include "core/StudentList.h"

#include "core/EditorSettings.h"
#include "core/TextHelpers.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Only blanks: a tab or another control character is part of the name, as it is no separator either.
QString trimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == u' ')
        ++begin;
    while (end > begin && s.at(end - 1) == u' ')
        --end;
    return s.mid(begin, end - begin).toString();
}

} // namespace

ListEnabling listEnabling(qsizetype lineCount, int current, bool studentView)
{
    ListEnabling e;
    e.listCommand = studentView || lineCount > 0;
    if (lineCount <= 0)
        return e;
    e.canDelete = true;
    e.canEdit = true;
    const bool valid = current >= 0 && current < lineCount;
    e.canMoveUp = valid && current > 0;
    e.canMoveDown = valid && current < lineCount - 1;
    return e;
}

StudentLineParts splitLineAtBlank(const QString &line)
{
    const qsizetype blank = line.indexOf(u' ');
    if (blank < 0)
        return {trimBlanks(line), QString()};
    return {trimBlanks(QStringView(line).left(blank)),
            trimBlanks(QStringView(line).mid(blank + 1).left(kMaxRestLength))};
}

QString studentLine(const QString &firstName, const QString &surname, bool firstNameFirst)
{
    return firstNameFirst ? firstName + u' ' + surname : surname + u' ' + firstName;
}

QString studentLine(const Student &student, bool firstNameFirst)
{
    return studentLine(student.firstName, student.surname, firstNameFirst);
}

Student studentFromLine(const QString &line, bool firstNameFirst)
{
    StudentLineParts parts = splitLineAtBlank(line);
    if (firstNameFirst)
        return {std::move(parts.firstWord), std::move(parts.rest)};
    return {std::move(parts.rest), std::move(parts.firstWord)};
}

QStringList studentLines(const SchoolClass &schoolClass, bool firstNameFirst)
{
    QStringList lines;
    lines.reserve(schoolClass.students.size());
    for (const Student &s : schoolClass.students)
        lines << studentLine(s, firstNameFirst);
    return lines;
}

SchoolClass newClass(const EditorSettings &settings)
{
    SchoolClass c;
    c.time = settings.dft;
    c.gradingOn = settings.sk == 1 ? 1 : 0;
    c.thresholds = {settings.cel, settings.bdb, settings.db, settings.dst, settings.dp};
    return c;
}

int StudentList::totalStudents() const
{
    int total = 0;
    for (const SchoolClass &c : classes)
        total += static_cast<int>(c.students.size());
    return total;
}

int StudentList::studentCount(int classIndex) const
{
    if (classIndex < 0 || classIndex >= classes.size())
        return 0;
    return static_cast<int>(classes.at(classIndex).students.size());
}

void StudentList::reset()
{
    classes.clear();
    author.clear();
    remarks.clear();
    date = todayText();
    currentClass = -1;
    modified = false;
}

bool StudentList::setCurrentClass(int index)
{
    if (index < -1 || index >= classes.size())
        return false;
    currentClass = index;
    return true;
}

QStringList StudentList::classLines() const
{
    QStringList lines;
    lines.reserve(classes.size());
    for (const SchoolClass &c : classes)
        lines << c.name;
    return lines;
}

int StudentList::addClass(const SchoolClass &data)
{
    SchoolClass c = data;
    c.students.clear();
    classes << c;
    currentClass = classCount() - 1;
    modified = true;
    return currentClass;
}

// A real change marks the list modified, unlike the editor this replaces: otherwise closing the window
// would drop the edit without asking.
bool StudentList::editCurrentClass(const SchoolClass &data)
{
    if (!hasCurrentClass())
        return false;
    SchoolClass &c = classes[currentClass];
    if (c.name == data.name && c.resultsFolder == data.resultsFolder && c.time == data.time &&
        c.gradingOn == data.gradingOn && c.thresholds == data.thresholds)
        return true;
    c.name = data.name;
    c.resultsFolder = data.resultsFolder;
    c.time = data.time;
    c.gradingOn = data.gradingOn;
    c.thresholds = data.thresholds;
    modified = true;
    return true;
}

bool StudentList::deleteCurrentClass()
{
    if (!hasCurrentClass()) {
        currentClass = -1;
        return false;
    }
    classes.removeAt(currentClass);
    if (classes.isEmpty())
        currentClass = -1;
    else if (currentClass >= classes.size())
        currentClass = classCount() - 1;
    modified = true;
    return true;
}

bool StudentList::moveCurrentClassUp()
{
    if (!canMoveUp())
        return false;
    classes.swapItemsAt(currentClass, currentClass - 1);
    --currentClass;
    modified = true;
    return true;
}

bool StudentList::moveCurrentClassDown()
{
    if (!canMoveDown())
        return false;
    classes.swapItemsAt(currentClass, currentClass + 1);
    ++currentClass;
    modified = true;
    return true;
}

bool StudentList::setStudentsFromLines(int classIndex, const QStringList &lines, bool firstNameFirst)
{
    if (classIndex < 0 || classIndex >= classes.size())
        return false;
    QList<Student> students;
    students.reserve(lines.size());
    for (const QString &line : lines)
        students << studentFromLine(line, firstNameFirst);
    classes[classIndex].students = std::move(students);
    return true;
}
