#pragma once

#include <QString>
#include <QStringList>

class StudentList;
class Workspace;

// List documents: test lists (.skg, "Selt0"), question-set lists (.skz, "Selz0") and student lists
// (.sku, "Selu0"). Version 40 is one XML member; version 35 coded text lines (read only). Lists are
// read straight from the file, without a working archive.

// Author, date and remarks of a test list or a question-set list.
struct ListInfo {
    QString author;
    QString date;
    QString remarks;
};

// Fill `info` and replace `entries` with the entry lines, in order. Failures are logged (the test
// list also shows a message); the fields then hold what was read before the failure.
bool ReadTestList(Workspace &ws, const QString &path, ListInfo &info, QStringList &entries);
bool ReadSetList(Workspace &ws, const QString &path, ListInfo &info, QStringList &entries);
// Resets `list` and reads the file into it.
bool ReadStudentList(Workspace &ws, const QString &path, StudentList &list);

// Write a version-40 document; a failure is logged and shown and leaves the file at `path` as it was.
bool WriteTestList(Workspace &ws, const QString &path, const ListInfo &info, const QStringList &entries);
bool WriteSetList(Workspace &ws, const QString &path, const ListInfo &info, const QStringList &entries);
bool WriteStudentList(Workspace &ws, const QString &path, const StudentList &list);
