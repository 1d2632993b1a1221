#include "students/StudentView.h"

bool StudentView::open(const StudentList &list, int index, bool fn)
{
    if (index < 0 || index >= list.classes.size())
        return false;
    firstNameFirst = fn;
    classIndex = index;
    lines = studentLines(list.classes.at(index), fn);
    current = lines.isEmpty() ? -1 : 0;
    pending = false;
    return true;
}

void StudentView::close()
{
    lines.clear();
    current = -1;
    classIndex = -1;
    pending = false;
}

bool StudentView::setCurrent(int index)
{
    if (index < -1 || index >= lines.size())
        return false;
    current = index;
    return true;
}

Student StudentView::currentStudent() const
{
    if (!hasCurrent())
        return {};
    return studentFromLine(lines.at(current), firstNameFirst);
}

void StudentView::addStudent(const QString &firstName, const QString &surname)
{
    lines << studentLine(firstName, surname, firstNameFirst);
    current = static_cast<int>(lines.size()) - 1;
    pending = true;
}

bool StudentView::editCurrent(const QString &firstName, const QString &surname)
{
    if (!hasCurrent())
        return false;
    lines[current] = studentLine(firstName, surname, firstNameFirst);
    pending = true;
    return true;
}

bool StudentView::deleteCurrent()
{
    if (!hasCurrent())
        return false;
    lines.removeAt(current);
    if (lines.isEmpty())
        current = -1;
    else if (current > 0)
        --current;
    pending = true;
    return true;
}

// Moving sets the pending flag, unlike the editor this replaces, so leaving the view asks before the
// new order is dropped.
bool StudentView::moveCurrentUp()
{
    if (!canMoveUp())
        return false;
    lines.swapItemsAt(current, current - 1);
    --current;
    pending = true;
    return true;
}

bool StudentView::moveCurrentDown()
{
    if (!canMoveDown())
        return false;
    lines.swapItemsAt(current, current + 1);
    ++current;
    pending = true;
    return true;
}

void StudentView::setImportedLines(const QStringList &imported)
{
    lines = imported;
    if (lines.isEmpty()) {
        current = -1;
        return;
    }
    current = 0;
    pending = true;
}

bool StudentView::applyTo(StudentList &list)
{
    if (classIndex < 0 || classIndex >= list.classes.size())
        return false;
    list.modified = true;
    if (!lines.isEmpty())
        list.setStudentsFromLines(classIndex, lines, firstNameFirst);
    pending = false;
    return true;
}
