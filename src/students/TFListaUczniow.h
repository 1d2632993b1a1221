#pragma once

#include "students/StudentListEditor.h"
#include "toolkit/SkinnedWindow.h"

class LabelButton;
class PictureButton;
class QLabel;
class QListWidget;
class TFAutorListyKlas;
class TFEdycjaKlasy;
class TFEdycjaUcznia;
class VScrollBar;
class Workspace;

// The class and student list editor: one list box with the classes of the list or the students of
// one class, the commands of either view, and the three dialogs. The behaviour is
// StudentListEditor's; the window shows its lines and forwards every key and click.
class TFListaUczniow : public SkinnedWindow {
    Q_OBJECT

public:
    TFListaUczniow(Workspace &ws, QWidget *parent = nullptr);
    ~TFListaUczniow() override;

    StudentListEditor &editor() { return m_editor; }
    TFEdycjaKlasy &classDialog() { return *m_classDialog; }
    TFEdycjaUcznia &studentDialog() { return *m_studentDialog; }
    TFAutorListyKlas &infoDialog() { return *m_infoDialog; }
    QListWidget *listBox() const { return m_list; }
    VScrollBar *scrollBar() const { return m_scrollBar; }

    // --- Entry points, each showing the window modally until it closes.
    void newStudentList();
    void openStudentList();
    void openStudentListFile(const QString &path);
    // Unsaved work of a crashed run, shown modified; saving writes `original`.
    void openRecoveryCopy(const QString &copy, const QString &original);

    // Everything shown again from the editor.
    void refresh();
    // The list's changes and the students of the view not yet applied.
    bool holdsUnsavedWork() const;
    // Esc in each view: the student view is left first, then the list closes.
    void closeWindow() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool acceptKey() override;
    bool cancelKey() override;
    bool commandKey(const QKeyEvent *key) override;

private:
    void createControls();
    void runModal();
    bool listKey(const QKeyEvent *key);
    bool inList() const;
    void newItem();
    void editItem();
    void deleteItem();
    void listCommand();
    void moveUp();
    void moveDown();
    void showInfo();
    void save();
    void saveAs();
    void apply();
    void cancel();
    void activated(int row);
    void showScrollBar();

    Workspace &m_ws;
    StudentListEditor m_editor;
    TFEdycjaKlasy *m_classDialog;
    TFEdycjaUcznia *m_studentDialog;
    TFAutorListyKlas *m_infoDialog;
    bool m_filling = false;

    QLabel *m_heading;
    QListWidget *m_list;
    VScrollBar *m_scrollBar;
    LabelButton *m_new;
    LabelButton *m_delete;
    LabelButton *m_edit;
    LabelButton *m_listCommand;
    LabelButton *m_moveUp;
    LabelButton *m_moveDown;
    LabelButton *m_infoMark;
    LabelButton *m_info;
    LabelButton *m_saveAs;
    PictureButton *m_save;
    PictureButton *m_apply;
    PictureButton *m_cancel;
};
