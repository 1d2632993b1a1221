#pragma once

#include "testeditor/TestListEditor.h"
#include "toolkit/SkinnedWindow.h"

#include <QImage>
#include <QList>

class LabelButton;
class PictureButton;
class QLineEdit;
class TFEdycjaWpisu;
class TextMemo;
class VScrollBar;
class Workspace;

// The test list editor window, for test lists and lists of question sets: the outline with its
// scroll bar, the commands, the author and the remarks. The behaviour is TestListEditor's; the
// window draws the outline and forwards every key, click and edit.
class TFListaTestow : public SkinnedWindow {
    Q_OBJECT

public:
    TFListaTestow(Workspace &ws, QWidget *parent = nullptr);
    ~TFListaTestow() override;

    TestListEditor &editor() { return m_editor; }
    TFEdycjaWpisu &entryWindow() { return *m_entryWindow; }
    // The outline's drawing surface and its scroll bar (for tests and the gallery).
    QWidget *treeView() const { return m_treeView; }
    VScrollBar *scrollBar() const { return m_scrollBar; }

    // --- Entry points, each showing the window modally until it closes.
    // "Nowa lista testów" / "Nowa lista pytań": the kind by WorkMode (3 or 10).
    void newTestList();
    void openTestList();
    void openSetList();
    void openTestListFile(const QString &path);
    // Unsaved work of a crashed run (a list of tests or of question sets), shown modified.
    void openRecoveryCopy(TestListEditor::Kind kind, const QString &copy, const QString &original);
    void openSetListFile(const QString &path);

    // Fills an empty list or opens a file without showing the window (the gallery shows it itself).
    void prepareNew(TestListEditor::Kind kind);
    // Everything shown again from the editor.
    void refresh();
    void closeWindow() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool cancelKey() override;
    bool commandKey(const QKeyEvent *key) override;

private:
    void createControls();
    void runModal();
    bool listKey(const QKeyEvent *key, bool inTree);
    void command(void (TestListEditor::*step)());
    void editEntry();
    void removeEntry();
    void save();
    void saveAs();
    void showHeader();
    void showScrollBar();

    Workspace &m_ws;
    TestListEditor m_editor;
    TFEdycjaWpisu *m_entryWindow;
    QImage m_expanded;  // "Left"
    QImage m_collapsed; // "Right"
    bool m_filling = false;

    QWidget *m_treeView;
    VScrollBar *m_scrollBar;
    QLineEdit *m_author;
    TextMemo *m_remarks;
    LabelButton *m_edit;
    LabelButton *m_delete;
    LabelButton *m_moveUp;
    LabelButton *m_moveDown;
    LabelButton *m_saveAs;
    PictureButton *m_save;
    PictureButton *m_cancel;
};
