#pragma once

#include "testeditor/TestEditor.h"
#include "toolkit/SkinnedWindow.h"

#include <QPointer>
#include <memory>

class LabelButton;
class PictureButton;
class QScrollBar;
class QTreeWidget;
class TFInfoOTescie;
class TFMenu;
class TFPytanie;
class Workspace;

// The test editor window: the outline of the test on the left with its own scroll bar, the commands
// on the right, the save and close buttons, the context menu. The behaviour is TestEditor's; the
// window shows its outline and enabling and forwards every click and key.
class TFTest : public SkinnedWindow {
    Q_OBJECT

public:
    // mainWindow: where the editor stands and what moves with it in window mode 0.
    TFTest(Workspace &ws, QWidget *mainWindow, QWidget *parent = nullptr);
    ~TFTest() override;

    TestEditor &editor() { return m_editor; }
    // The question editor: editTestQuestion and clearAnswerMarks for this editor's questions.
    void setQuestionEditor(TFPytanie *window);

    // --- Entry points, each showing the window modally until it closes.
    void newTest();
    void openTest();
    void openTestFile(const QString &path);
    // A recovery copy of a test left behind, shown as the unsaved work on `original`.
    void openRecoveryCopy(const QString &copy, const QString &original);

    // The window filled for a new test or the test at `path`, without showing it; false when it must
    // not open.
    void prepareNewTest();
    bool prepareOpenTest(const QString &path);

    // The editor's state shown again: outline, selection, enabling, save button.
    void refresh();
    TFMenu *contextMenu() const { return m_menu; }
    TFInfoOTescie *testInfoWindow() const { return m_info.get(); }
    QTreeWidget *outlineView() const { return m_tree; }
    // ImZamknij: asks when modified, leaves the test and frees its file.
    void closeWindow() override;
    // The test's changes and a header changed in its information window and not yet accepted.
    bool holdsUnsavedWork() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void dragMovedBy(QPoint delta) override;

private:
    void createControls();
    void runModal();
    // Closes the context menu, runs the command, shows the result, gives the outline the focus.
    template <typename F> void command(F &&step);
    bool outlineKey(const QKeyEvent *key);
    void rightButtonAt(QPoint inViewport);
    void showOutline();
    void showScrollBar();

    Workspace &m_ws;
    TestEditor m_editor;
    QPointer<QWidget> m_mainWindow;
    QPointer<TFPytanie> m_questionWindow;
    std::unique_ptr<TFInfoOTescie> m_info;
    bool m_filling = false;

    QTreeWidget *m_tree;
    QScrollBar *m_scroll;
    LabelButton *m_newQuestion;
    LabelButton *m_import;
    LabelButton *m_delete;
    LabelButton *m_preview;
    LabelButton *m_moveUp;
    LabelButton *m_moveDown;
    LabelButton *m_print;
    LabelButton *m_grade;
    LabelButton *m_importMany;
    LabelButton *m_saveAs;
    PictureButton *m_save;
    PictureButton *m_close;
    TFMenu *m_menu;
};
