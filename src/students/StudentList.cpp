#include "students/StudentList.h"

#include "app/TextHelpers.h"

int StudentList::totalStudents() const
{
    int total = 0;
    for (const SchoolClass &c : classes)
        total += static_cast<int>(c.students.size());
    return total;
}

void StudentList::reset()
{
    classes.clear();
    author.clear();
    remarks.clear();
    date = todayText();
}
