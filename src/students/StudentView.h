#pragma once

#include "core/StudentList.h"

#include <QStringList>

// The student view of the list window: a working copy of one class's students as display lines
// ("fn" decides which name comes first). The class itself changes only when the view is applied.
class StudentView {
public:
    QStringList lines;
    int current = -1;     // selected line, or -1
    int classIndex = -1;  // the class the view was opened for
    bool pending = false; // changes not yet applied
    bool firstNameFirst = true;

    // Fills the view from a class of the list: its lines, the first selected, nothing pending. False
    // (and no change) when there is no such class.
    bool open(const StudentList &list, int classIndex, bool firstNameFirst);
    void close();

    bool isEmpty() const { return lines.isEmpty(); }
    bool hasCurrent() const { return current >= 0 && current < lines.size(); }
    bool setCurrent(int index);

    // The current line split into the dialog's two fields.
    Student currentStudent() const;
    // A line from the dialog's fields, appended and selected.
    void addStudent(const QString &firstName, const QString &surname);
    // The current line rebuilt from the dialog's fields. False when nothing is current.
    bool editCurrent(const QString &firstName, const QString &surname);
    // Removes the current line; the previous line becomes current (the first stays first), none when
    // the view is empty. False when nothing is current.
    bool deleteCurrent();
    // Swap the current line with its neighbour; it stays current. These count as changes to apply.
    bool moveCurrentUp();
    bool moveCurrentDown();
    // The lines of an import replace the view: with at least one, the first is selected and the view
    // has pending changes; with none the view is left empty.
    void setImportedLines(const QStringList &imported);

    // Apply: marks the list modified; a view with lines replaces the class's students (an empty view
    // leaves them as they were). Clears the pending flag. False when the class no longer exists.
    bool applyTo(StudentList &list);

    ListEnabling enabling() const { return listEnabling(lines.size(), current, true); }
    bool canDelete() const { return enabling().canDelete; }
    bool canEdit() const { return enabling().canEdit; }
    bool canMoveUp() const { return enabling().canMoveUp; }
    bool canMoveDown() const { return enabling().canMoveDown; }
    bool importEnabled() const { return enabling().listCommand; }
};
