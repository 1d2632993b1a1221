#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

struct EditorSettings;

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

// Which commands of the list window are enabled, for either view.
struct ListEnabling {
    bool canDelete = false;
    bool canEdit = false;
    bool canMoveUp = false;
    bool canMoveDown = false;
    // "Lista uczniów" in the class view, "Importuj listę" in the student view.
    bool listCommand = false;
};

// With no lines everything but the student view's import is off; otherwise delete and edit are on,
// and a move is on unless the current line is already at that end (or nothing is current).
ListEnabling listEnabling(qsizetype lineCount, int current, bool studentView);

// A line of the student view, of an import file or of a version-35 student list, cut at its first
// blank.
struct StudentLineParts {
    QString firstWord;
    QString rest;
};
inline constexpr int kMaxRestLength = 100;
// The part before the first blank, trimmed of blanks; the part after it cut to 100 characters and
// trimmed of blanks. A line without a blank is all first word.
StudentLineParts splitLineAtBlank(const QString &line);

// The display line of a student: first name first when `firstNameFirst` ("fn"), else surname first.
QString studentLine(const Student &student, bool firstNameFirst);
QString studentLine(const QString &firstName, const QString &surname, bool firstNameFirst);
// The reverse, by splitting: the first word goes to the name shown first.
Student studentFromLine(const QString &line, bool firstNameFirst);
QStringList studentLines(const SchoolClass &schoolClass, bool firstNameFirst);

// An empty class with the editor's defaults: time "dft", scale on when "sk" is 1, thresholds "cel",
// "bdb", "db", "dst", "dp".
SchoolClass newClass(const EditorSettings &settings);

// The student list document being edited: its header, its classes, the class selected in the class
// view and whether there are changes to save. Student counts and the total are always derived from
// the classes, so no operation can leave them stale.
class StudentList {
public:
    QString author;
    QString date;
    QString remarks;
    QList<SchoolClass> classes;

    int currentClass = -1; // index into classes, or -1
    bool modified = false;

    int totalStudents() const;
    int classCount() const { return static_cast<int>(classes.size()); }
    int studentCount(int classIndex) const;
    // No classes, no current class, empty author/remarks, today's date, nothing modified.
    void reset();

    bool hasCurrentClass() const { return currentClass >= 0 && currentClass < classes.size(); }
    // -1 or a valid index; false (and no change) for anything else.
    bool setCurrentClass(int index);
    // One line per class: its name.
    QStringList classLines() const;

    // Appends a class made from the dialog's values without students; it becomes current. Returns its
    // index.
    int addClass(const SchoolClass &data);
    // Name, results folder, time, scale and thresholds of the current class from the dialog; its
    // students stay, and the list is modified when anything changed. False when no class is current.
    bool editCurrentClass(const SchoolClass &data);
    // Removes the current class; the same index stays current, or the new last class, or none. False
    // (and no class current) when there was no current class.
    bool deleteCurrentClass();
    // Swap the current class with its neighbour; it stays current. False when not possible.
    bool moveCurrentClassUp();
    bool moveCurrentClassDown();
    // Replaces the students of a class by the students of the lines.
    bool setStudentsFromLines(int classIndex, const QStringList &lines, bool firstNameFirst);

    ListEnabling classViewEnabling() const { return listEnabling(classes.size(), currentClass, false); }
    bool canDelete() const { return classViewEnabling().canDelete; }
    bool canEdit() const { return classViewEnabling().canEdit; }
    bool canMoveUp() const { return classViewEnabling().canMoveUp; }
    bool canMoveDown() const { return classViewEnabling().canMoveDown; }
    bool studentViewEnabled() const { return classViewEnabling().listCommand; }
};
