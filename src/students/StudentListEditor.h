#pragma once

#include "core/StudentList.h"
#include "students/StudentView.h"

#include <QString>
#include <QStringList>

class Workspace;

// The class and student list editor without its widgets: the list, the view shown (classes, or the
// students of one class), the file it came from, and every command of the window. Questions, file
// names and the save clock go through the workspace's prompts; the dialogs' values come in as
// arguments, already checked by the check* functions below.
class StudentListEditor {
public:
    enum class View { Classes, Students };

    explicit StudentListEditor(Workspace &ws);

    StudentList list;
    StudentView studentView;
    View view = View::Classes;
    QString path;       // the list's file; empty for a new list
    QString lastFolder; // where the next file dialog starts; empty: the program's folder

    // New list: an empty list of today, no file, nothing modified, class view.
    void newStudentList();
    // Asks for a file and opens it; false when cancelled or unreadable.
    bool openStudentList();
    // Reads the list at `filePath`; false (the reader has logged why, and the window stays closed)
    // when it cannot be read. Otherwise the first class is current and nothing is modified.
    bool openStudentListFile(const QString &filePath);
    // The window has closed, for whatever reason: the list is emptied.
    void windowClosed();

    // The lines of the list box and the selected one, for the view shown.
    QStringList lines() const;
    int currentLine() const;
    void selectLine(int index);
    ListEnabling enabling() const;
    // Save is offered in the class view; Ctrl+S works in either view while the list is modified.
    bool saveShown() const { return view == View::Classes; }
    bool saveShortcutEnabled() const { return list.modified; }

    // Class view.
    SchoolClass newClassDefaults() const;
    void addClass(const SchoolClass &fromDialog);
    // False when no class is current.
    bool editClass(const SchoolClass &fromDialog);
    // Asks first when "al" is on; false when not confirmed or there was nothing to delete.
    bool deleteClass();
    bool moveClassUp();
    bool moveClassDown();
    // The students of the current class; with none current a warning is shown and false returned.
    bool showStudentView();
    bool save();
    bool saveAs();
    // Recovery of unsaved work: the list as it stands written to `copy` without a word to the user,
    // and a copy opened modified, saving to `original`.
    bool writeRecoveryCopy(const QString &copy);
    bool openRecoveryCopy(const QString &copy, const QString &original);
    // Esc or the cancel button: true when the window may close (the list is then emptied).
    bool requestClose();

    // Student view.
    void addStudent(const QString &firstName, const QString &surname);
    bool editStudent(const QString &firstName, const QString &surname);
    bool deleteStudent();
    // LListaUczniow and Ctrl+I in the student view: the view's lines from a text file.
    bool importStudents();
    bool moveStudentUp();
    bool moveStudentDown();
    // Enter: the view's lines become the class's students; back to the class view.
    void applyStudentView();
    // Esc: true when the class view is shown again.
    bool leaveStudentView();

    // The dialogs' acceptance rules: false, with the message shown, when a required field is empty.
    static bool checkClassDialog(Workspace &ws, const SchoolClass &data);
    static bool checkStudentDialog(Workspace &ws, const QString &firstName, const QString &surname);
    // The list information dialog: stores author and remarks unless the author is empty.
    bool acceptListInfo(const QString &author, const QString &remarks);

private:
    bool confirmDeletion();
    bool writeTo(const QString &filePath);
    QString askSavePath();
    QString startFolder() const;
    void rememberFolder(const QString &filePath);

    Workspace &m_ws;
};
