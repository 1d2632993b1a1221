#pragma once

#include <QPoint>
#include <QString>

// What the question windows need of the test editor while they work on a question of the open test:
// its outline, its modified flag (which shows its save button) and its place on the screen. The test editor
// implements it; tests use a recording fake.
class TestEditorLink {
public:
    virtual ~TestEditorLink() = default;

    // The outline node of question k shows `text` as its label.
    virtual void setNodeLabel(int k, const QString &text) = 0;
    // The outline node of question k gets the done mark.
    virtual void setNodeMark(int k) = 0;
    // Writes question k as stored in the test as a single-question document (asking for the name);
    // true when written.
    virtual bool saveQuestionAs(int k) = 0;
    // The test has unsaved changes (and shows its save button).
    virtual void setTestModified() = 0;
    // Question k was appended by the import: its node with the done mark, selected, commands updated.
    virtual void questionAppended(int k) = 0;
    // The test editor's top left corner on the screen.
    virtual QPoint position() const = 0;
};
