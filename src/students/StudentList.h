#pragma once

#include <QList>
#include <QString>

#include <array>

struct Student {
    QString firstName;
    QString surname;
};

struct SchoolClass {
    QList<Student> students;
    QString name;
    QString resultsFolder;
    int time = 0;
    int gradingOn = 0;
    std::array<int, 5> thresholds{90, 80, 70, 60, 40};
};

class StudentList {
public:
    QString author;
    QString date;
    QString remarks;
    QList<SchoolClass> classes;

    int totalStudents() const;
    // No classes, empty author and remarks, today's date.
    void reset();
};
