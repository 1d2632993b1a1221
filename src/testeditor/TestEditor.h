#pragma once

#include "question/TestEditorLink.h"
#include "storage/DocumentLock.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <functional>

class Workspace;

// The test editor without its widgets: the outline of the test in memory (node 0 "Dane ogólne", then
// one node per question), the enabling of the commands, and every command. The window TFTest shows
// the outline and the commands and forwards each click and key here; the question windows reach it
// through TestEditorLink.
class TestEditor : public TestEditorLink {
public:
    struct Node {
        QString label;
        bool done = false;
    };
    enum class Outcome { StayOpen, Close };

    // What the editor opens around itself. Each returns once its window has closed.
    struct Windows {
        // editTestQuestion (k) of the question editor; false when it could not open.
        std::function<bool(int k)> editQuestion;
        // clearAnswerMarks of the question editor.
        std::function<void()> clearAnswerMarks;
        // The test information window over the editor.
        std::function<void()> testInfo;
        // The properties view for question k as stored.
        std::function<void(int k)> properties;
        // The question information window for the question file just read into SingleQuestion; it
        // appends the question through questionAppended when the user accepts.
        std::function<void()> questionInfo;
        // "Drukuj ...   Ctrl+P": empty hides the command.
        std::function<void()> print;
        // "Sprawdź karty odpowiedzi ...": empty hides the command.
        std::function<void()> grade;
    };

    explicit TestEditor(Workspace &ws);

    Workspace &workspace() const { return m_ws; }
    // Set by whoever builds the windows; an empty one is skipped.
    Windows windows;

    // --- State.
    QString testFile;
    bool modified = false;
    bool headerEntered = false;
    // The save button shows exactly while there are changes to save.
    bool saveButtonShown() const { return modified; }
    // The window's top left corner: the clock stands relative to it.
    QPoint where;

    int selectedNode() const { return m_selected; }
    int questionCount() const;
    const QList<Node> &outline() const { return m_outline; }
    // The label rule: "Pytanie nr k", or the first 55 characters of the text with "ng" on.
    QString labelFor(int k) const;

    // --- Enabling.
    bool canAddQuestion() const;   // LNowePytanie and "Nowe z zestawu ..."
    bool canImportByKey() const;   // Ctrl+L
    bool questionSelected() const; // delete, preview, save question as
    bool canMoveUp() const;
    bool canMoveDown() const;
    bool canSave() const;       // Ctrl+S
    bool savingAllowed() const; // save as, save question as: WorkMode 1
    // The context menu's removal entries for the selected question.
    bool canRemoveText() const;
    bool canRemoveImage() const;

    // --- Entry points.
    void newTest();
    // "Otwórz test ...": asks for the file; false when cancelled or not read.
    bool openTestAsk();
    // False (reported) when the file cannot be read or holds what no window can show.
    bool openTest(const QString &path);

    // --- Commands.
    void select(int node);
    bool newQuestion();
    // "Nowe z zestawu ..." (byKey false) and Ctrl+L (byKey true).
    bool importQuestion(bool byKey);
    bool deleteQuestion(int k);
    void deleteSelected();
    void preview();
    void moveUp();
    void moveDown();
    // Enter or a double-click on the selected node.
    void openSelected();
    // Ctrl+S and the save button; asks for a name when the test has no file yet.
    bool save();
    // LZapiszJako (byKey false) and Ctrl+Shift+S (byKey true).
    bool saveAs(bool byKey);
    // Ctrl+Shift+P and the context menu: the selected question as a question file, with the clock.
    bool saveSelectedQuestionAs();
    void removeAttachedText();
    void removeAttachedImage();
    void print();
    // Opens the paper-grading window when the test has questions.
    void gradeSheets();
    // "Importuj pytania ...": Moodle XML, GIFT or Aiken questions appended up to 45.
    void importQuestions();
    Outcome close();

    // The test information window stored the header.
    void headerAccepted();

    // --- TestEditorLink.
    void setNodeLabel(int k, const QString &text) override;
    void setNodeMark(int k) override;
    bool saveQuestionAs(int k) override;
    void setTestModified() override
    {
        modified = true;
        ++m_revision;
    }
    void questionAppended(int k) override;
    QPoint position() const override { return where; }

    void rebuildOutline();

    // Moves with every change: the recovery copy is written again when it moved.
    int revision() const { return m_revision; }
    // The test as it stands, written to `path` without a word to the user.
    bool writeRecoveryCopy(const QString &path);
    // A recovery copy opened as the test of `original` (empty: never saved), marked not saved.
    bool openRecoveryCopy(const QString &copy, const QString &original);

    // Where the context menu stands for a right-button press at `pointer` (window coordinates), with
    // the outline's left edge at `outlineLeft`.
    QPoint contextMenuPosition(QPoint pointer, int outlineLeft) const;

private:
    bool writeTo(const QString &path);
    QString askTestName(const QString &title);
    void showClock(QPoint offset);
    void changed();

    Workspace &m_ws;
    QList<Node> m_outline;
    int m_selected = 0;
    int m_revision = 0;
    // Held while a test file is open, so that another program cannot save over it.
    DocumentLock m_lock;
};
