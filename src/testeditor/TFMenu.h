#pragma once

#include <QFrame>
#include <array>

class LabelButton;
class TestEditor;

// The test editor's context menu: six entries on the selected question, drawn over the editor. Every
// entry closes the menu first, then acts; whenever it closes the focus goes back to `focusTarget`.
class TFMenu : public QFrame {
    Q_OBJECT

public:
    enum Entry { Info, Edit, Delete, SaveAs, RemoveText, RemoveImage };

    TFMenu(TestEditor &editor, QWidget *parent);

    void setFocusTarget(QWidget *target) { m_focusTarget = target; }
    // showContextMenu: evaluates the two removal entries and shows the menu at `topLeft` (in the
    // parent's coordinates) for the selected question; with "Dane ogólne" selected nothing shows.
    void showContextMenu(QPoint topLeft);
    // closeContextMenu: closes it if open.
    void closeContextMenu();
    LabelButton *entry(Entry e) const { return m_entries[static_cast<size_t>(e)]; }

signals:
    // An entry acted; the editor shows its state again.
    void acted();

private:
    void run(Entry e);

    TestEditor &m_editor;
    QWidget *m_focusTarget = nullptr;
    int m_question = 0; // the question the menu was opened for
    std::array<LabelButton *, 6> m_entries{};
};
