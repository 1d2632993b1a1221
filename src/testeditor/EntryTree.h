#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// One entry of the outline: the fields in the order they are written to a line.
struct TreeEntry {
    qint32 number = 0;        // unique within the tree, never reused while the tree lives
    qint32 level = 0;         // 0 for a top-level entry, parent's level + 1 otherwise
    qint32 descendants = 0;   // size of the subtree without the entry itself
    qint32 parentNumber = -1; // number of the parent; -1 at the top level
    qint32 visible = 1;       // 1 shown as a row, 0 hidden inside a collapsed branch
    qint32 state = 0;         // 0 normal, 2 selected; 3 and 4 are drawing variants read from files
    QString name;
    QString link; // an entry with a link takes no children
};

// The outline edited by the test list editor: a flat sequence of entries in pre-order (a branch is
// followed at once by all of its descendants). Holds the selection and the scroll position, but draws
// nothing: every change that alters what is shown ends by calling `changed`, and the window redraws.
//
// Kept after every operation: each subtree is contiguous and `descendants` matches its size; top-level
// entries are visible and the children of an entry are all visible or all hidden (never visible under
// a hidden parent); exactly the selected entry has state 2; selectedRow() counts the visible entries
// before it.
class EntryTree {
public:
    static constexpr int RowHeight = 16;

    enum class DoubleClick { Nothing, Expanded, Collapsed, EditRequested };

    struct NameAndLink {
        QString name;
        QString link;
    };

    // Called after every change of what is shown (entries, selection, expansion, scroll position).
    std::function<void()> changed;

    // Empties the tree; pageRows becomes viewportHeight / 16.
    void reset(int viewportHeight = 0);
    void setPageRows(int rows);

    bool addBelow();
    bool addAbove();
    bool addAtEnd();
    // The new entry's index; -2 when the selected entry has a link; -1 on failure (nothing selected,
    // numbers exhausted, memory).
    int addChild();
    bool deleteSelected();
    // The new index of the selected entry, or -1 when the move is not possible.
    int moveUp();
    int moveDown();
    // Also how the window enables the two move commands.
    bool canMoveUp() const;
    bool canMoveDown() const;

    bool hasSelection() const { return m_selected >= 0; }
    NameAndLink selectedNameAndLink() const;
    void setSelectedNameAndLink(const QString &name, const QString &link);

    // Only for a branch whose first child is hidden / shown; true when something changed.
    bool expandSelected();
    bool collapseSelected();

    // Qt::Key_Up, Key_Down, Key_Left, Key_Right; true when the key was consumed.
    bool keyDown(int key);
    // y on the drawing surface, the scroll offset included.
    void mouseDown(int y);
    DoubleClick doubleClick();
    void scrollTo(int position);

    int countVisible() const;
    // Row drawn at height y of the drawing surface.
    static int rowAt(int y);
    // Index of the entry drawn at visible row `row`, or -1.
    int indexAtRow(int row) const;

    // Appends one line per entry; "*" inside a name or link is written as "@*".
    bool saveLines(QStringList &lines) const;
    // Replaces the tree by the entries of the lines; on any malformed or inconsistent line returns
    // false and leaves the tree as it was.
    bool loadLines(const QStringList &lines);

    const QList<TreeEntry> &entries() const { return m_entries; }
    int selected() const { return m_selected; }
    int selectedRow() const { return m_selectedRow; }
    int lastNumber() const { return m_lastNumber; }
    int pageRows() const { return m_pageRows; }
    int visibleRows() const { return m_visibleRows; }
    int topRow() const { return m_topRow; }

    // The scroll bar beside the drawing.
    bool scrollBarShown() const { return m_visibleRows > m_pageRows; }
    int scrollMaximum() const { return scrollBarShown() ? m_visibleRows - m_pageRows : 0; }
    int scrollLargeStep() const { return m_pageRows - 1; }
    int scrollSmallStep() const { return m_pageRows - 2; }

    // The text of one entry's line, and its reading (false when the line does not parse).
    static QString entryLine(const TreeEntry &entry);
    static bool parseLine(const QString &line, TreeEntry &entry);

private:
    bool createEntry(qsizetype position, qint32 level, qint32 parentNumber);
    bool ensureRoom();
    void growAncestors(qsizetype index, qint32 by);
    void select(int index);
    void recount();
    void notify();
    bool addFirst();

    QList<TreeEntry> m_entries;
    int m_selected = -1;
    int m_selectedRow = -1;
    qint32 m_lastNumber = -1;
    int m_pageRows = 0;
    int m_visibleRows = 0;
    int m_topRow = 0;
};
