#include "testeditor/TFListaTestow.h"

#include "core/Workspace.h"
#include "storage/Pictures.h"
#include "testeditor/EntryTreeDrawing.h"
#include "testeditor/TFEdycjaWpisu.h"
#include "toolkit/Accessibility.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/TextMemo.h"
#include "toolkit/VScrollBar.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <functional>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::ListaTestow;

namespace {

// The outline's drawing surface: the rows of the tree from its scroll position, clicks and
// double-clicks by height on the surface.
class EntryTreeView : public QWidget, public Accessibility::RowSource {
public:
    EntryTreeView(const EntryTree &tree, const QImage &expanded, const QImage &collapsed, QWidget *parent)
        : QWidget(parent), m_tree(tree), m_expanded(expanded), m_collapsed(collapsed)
    {
        Accessibility::install();
        setObjectName(u"ImDrzewo"_s);
        setAccessibleName(u"Wpisy listy"_s);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // The rows shown (a collapsed branch hides its children), for assistive technology.
    int accessibleRowCount() const override { return m_tree.visibleRows(); }
    QString accessibleRowText(int row) const override
    {
        const int index = m_tree.indexAtRow(row);
        return index >= 0 ? m_tree.entries().at(index).name : QString();
    }
    bool accessibleRowSelected(int row) const override
    {
        return m_tree.selected() >= 0 && m_tree.indexAtRow(row) == m_tree.selected();
    }

    std::function<void(int surfaceY)> pressed;
    std::function<void()> doubleClicked;

    int surfaceTop() const { return m_tree.topRow() * EntryTree::RowHeight; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        EntryTreeDrawing::draw(p, m_tree, m_expanded, m_collapsed, width(), height(), surfaceTop());
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        setFocus(Qt::MouseFocusReason);
        if (event->button() == Qt::LeftButton && pressed)
            pressed(event->position().toPoint().y() + surfaceTop());
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && doubleClicked)
            doubleClicked();
    }
    void wheelEvent(QWheelEvent *event) override { event->ignore(); }

private:
    const EntryTree &m_tree;
    const QImage &m_expanded;
    const QImage &m_collapsed;
};

} // namespace

TFListaTestow::TFListaTestow(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FListaTestow"_s, u"listatest_new.htm"_s, parent), m_ws(ws), m_editor(ws),
      m_entryWindow(new TFEdycjaWpisu(this))
{
    setHelpOpener(m_ws.helpOpener());
    // The two expander pictures live as long as the window.
    LoadSkinImage(u"Left"_s, m_expanded);
    LoadSkinImage(u"Right"_s, m_collapsed);
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});
    createControls();
    m_editor.tree.changed = [this] {
        if (m_treeView)
            m_treeView->update();
        showScrollBar();
    };
    prepareNew(TestListEditor::Kind::TestList);
}

TFListaTestow::~TFListaTestow()
{
    m_editor.tree.changed = nullptr;
}

void TFListaTestow::createControls()
{
    setStyleSheet(u"QLineEdit, QPlainTextEdit { border: none; background: transparent; color: #2e2e2e;"
                  u" padding: 0 4px; selection-background-color: #e8a93c; }"_s);

    auto *view = new EntryTreeView(m_editor.tree, m_expanded, m_collapsed, this);
    view->setGeometry(G::tree);
    view->pressed = [this](int y) {
        m_editor.tree.mouseDown(y);
        refresh();
    };
    view->doubleClicked = [this] {
        if (m_editor.tree.doubleClick() == EntryTree::DoubleClick::EditRequested)
            editEntry();
        refresh();
    };
    m_treeView = view;

    m_scrollBar = new VScrollBar(u"ListwaV"_s, this);
    m_scrollBar->setGeometry(G::scrollBar);
    m_scrollBar->hintText = [this](int value) {
        return u"Wiersz "_s + QString::number(value + 1) + u" z "_s +
               QString::number(m_editor.tree.visibleRows());
    };
    connect(m_scrollBar, &VScrollBar::valueChanged, this, [this](int value) {
        if (value != m_editor.tree.topRow())
            m_editor.tree.scrollTo(value);
    });

    const auto add = [this](const QString &name, const QString &caption, int row,
                            void (TestListEditor::*step)()) {
        LabelButton *label = LabelButton::fieldCommand(name, caption, G::commands.row(row), this);
        connect(label, &LabelButton::clicked, this, [this, step] { command(step); });
        return label;
    };
    add(u"LNowyPonizej"_s, u"Nowy poniżej         Ctrl+N"_s, 0, &TestListEditor::addBelow);
    add(u"LNowyPowyzej"_s, u"Nowy powyżej       Ctrl+P"_s, 1, &TestListEditor::addAbove);
    add(u"LNowyNaKoncu"_s, u"Nowy na końcu     Ctrl+K"_s, 2, &TestListEditor::addAtEnd);
    add(u"LDodajGalez"_s, u"Nowa gałąź           Ctrl+G"_s, 3, &TestListEditor::addBranch);
    m_edit = LabelButton::fieldCommand(u"LEdytujWpis"_s, u"Edytuj wpis             F2"_s, G::commands.row(4), this);
    connect(m_edit, &LabelButton::clicked, this, &TFListaTestow::editEntry);
    m_delete = LabelButton::fieldCommand(u"LUsunWpis"_s, u"Usuń wpis              Del"_s, G::commands.row(5), this);
    connect(m_delete, &LabelButton::clicked, this, &TFListaTestow::removeEntry);
    m_moveUp = add(u"LPrzesunWGore"_s, u"Przesuń w górę"_s, 6, &TestListEditor::moveUp);
    m_moveDown = add(u"LPrzesunWDol"_s, u"Przesuń w dół"_s, 7, &TestListEditor::moveDown);

    m_author = new QLineEdit(this);
    m_author->setObjectName(u"EAutorListy"_s);
    m_author->setGeometry(G::author);
    connect(m_author, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_filling) {
            m_editor.setAuthor(text);
            showHeader();
        }
    });
    m_remarks = new TextMemo(this);
    m_remarks->setObjectName(u"MUwagi"_s);
    m_remarks->setGeometry(G::remarks);
    m_remarks->setTabChangesFocus(false);
    connect(m_remarks, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling) {
            m_editor.setRemarks(m_remarks->storedText());
            showHeader();
        }
    });
    setFocusChain({m_author, m_remarks});

    m_saveAs = new LabelButton(u"LZapiszJako"_s, u"Zapisz jako ..."_s, G::saveAs, this);
    m_saveAs->setAlignment(Qt::AlignCenter);
    connect(m_saveAs, &LabelButton::clicked, this, &TFListaTestow::saveAs);
    m_save = new PictureButton(u"ImZapisz"_s, u"zapisz"_s, G::save, this);
    m_cancel = new PictureButton(u"ImAnuluj"_s, u"anuluj"_s, G::cancel, this);
    for (PictureButton *button : {m_save, m_cancel})
        button->installEventFilter(this);
    connect(m_save, &PictureButton::clicked, this, &TFListaTestow::save);
    connect(m_cancel, &PictureButton::clicked, this, &TFListaTestow::closeWindow);
}

// --- Entry points -------------------------------------------------------------------------------

void TFListaTestow::prepareNew(TestListEditor::Kind kind)
{
    m_editor.newList(kind, G::tree.height());
    refresh();
}

void TFListaTestow::newTestList()
{
    prepareNew(m_ws.workMode == WorkSetList ? TestListEditor::Kind::SetList : TestListEditor::Kind::TestList);
    runModal();
}

void TFListaTestow::openTestList()
{
    if (m_editor.openList(TestListEditor::Kind::TestList, G::tree.height()))
        runModal();
}

void TFListaTestow::openSetList()
{
    if (m_editor.openList(TestListEditor::Kind::SetList, G::tree.height()))
        runModal();
}

void TFListaTestow::openTestListFile(const QString &path)
{
    if (m_editor.openListFile(TestListEditor::Kind::TestList, path, G::tree.height()))
        runModal();
}

void TFListaTestow::openRecoveryCopy(TestListEditor::Kind kind, const QString &copy, const QString &original)
{
    m_ws.workMode = kind == TestListEditor::Kind::TestList ? WorkTestList : WorkSetList;
    if (m_editor.openRecoveryCopy(kind, copy, original, G::tree.height()))
        runModal();
}

void TFListaTestow::openSetListFile(const QString &path)
{
    if (m_editor.openListFile(TestListEditor::Kind::SetList, path, G::tree.height()))
        runModal();
}

void TFListaTestow::runModal()
{
    refresh();
    placeAt({m_ws.mainLeft + 74, m_ws.mainTop + 20});
    m_editor.position = pos();
    m_treeView->setFocus();
    exec();
    m_editor.windowClosed();
}

// --- Showing ------------------------------------------------------------------------------------

void TFListaTestow::refresh()
{
    // The same window under the title of its kind; the window keeps its name.
    setSkin(m_editor.listKind == TestListEditor::Kind::TestList ? u"FListaTestow"_s : u"FListaZestawow"_s);
    m_filling = true;
    if (m_author->text() != m_editor.listAuthor)
        m_author->setText(m_editor.listAuthor);
    if (m_remarks->storedText() != m_editor.listRemarks)
        m_remarks->setStoredText(m_editor.listRemarks);
    m_filling = false;
    showHeader();
    const bool entries = m_editor.hasEntries();
    m_edit->setEnabled(entries);
    m_delete->setEnabled(entries);
    m_moveUp->setEnabled(m_editor.moveUpEnabled());
    m_moveDown->setEnabled(m_editor.moveDownEnabled());
    m_treeView->update();
    showScrollBar();
}

void TFListaTestow::showHeader()
{
    m_save->setVisible(m_editor.modified);
}

void TFListaTestow::showScrollBar()
{
    const EntryTree &tree = m_editor.tree;
    m_scrollBar->setVisible(tree.scrollBarShown());
    m_scrollBar->setRange(0, tree.scrollMaximum());
    m_scrollBar->setSteps(tree.scrollSmallStep(), tree.scrollLargeStep());
    m_scrollBar->setValue(tree.topRow());
}

// --- Commands -----------------------------------------------------------------------------------

void TFListaTestow::command(void (TestListEditor::*step)())
{
    (m_editor.*step)();
    refresh();
}

void TFListaTestow::editEntry()
{
    if (!m_editor.hasEntries())
        return;
    if (m_editor.beginEditEntry())
        m_entryWindow->run(m_editor, pos() + QPoint(80, 150));
    refresh();
    m_treeView->setFocus();
}

void TFListaTestow::removeEntry()
{
    if (!m_editor.hasEntries())
        return;
    m_editor.deleteEntry();
    refresh();
}

void TFListaTestow::save()
{
    m_editor.position = pos();
    m_editor.save();
    refresh();
}

void TFListaTestow::saveAs()
{
    m_editor.position = pos();
    m_editor.saveAs();
    refresh();
}

void TFListaTestow::closeWindow()
{
    m_editor.position = pos();
    const TestListEditor::Outcome outcome = m_editor.close();
    refresh();
    if (outcome == TestListEditor::Outcome::Close)
        done(QDialog::Rejected);
}

// --- Input --------------------------------------------------------------------------------------

bool TFListaTestow::listKey(const QKeyEvent *key, bool inTree)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    if (mods == Qt::ControlModifier) {
        switch (k) {
        case Qt::Key_N:
            command(&TestListEditor::addBelow);
            return true;
        case Qt::Key_P:
            command(&TestListEditor::addAbove);
            return true;
        case Qt::Key_K:
            command(&TestListEditor::addAtEnd);
            return true;
        case Qt::Key_G:
            command(&TestListEditor::addBranch);
            return true;
        case Qt::Key_S:
            if (m_editor.modified)
                save();
            return true;
        default:
            return false;
        }
    }
    if (mods != Qt::NoModifier)
        return false;
    switch (k) {
    case Qt::Key_F2:
        editEntry();
        return true;
    case Qt::Key_Delete:
        // In the author and remarks fields Del deletes text.
        if (!inTree)
            return false;
        removeEntry();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!inTree)
            return false;
        m_editor.tree.keyDown(k);
        refresh();
        return true;
    default:
        return false;
    }
}

bool TFListaTestow::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::Enter || event->type() == QEvent::Leave) &&
        (watched == m_save || watched == m_cancel))
        static_cast<PictureButton *>(watched)->setHighlighted(event->type() == QEvent::Enter);
    return SkinnedWindow::eventFilter(watched, event);
}

bool TFListaTestow::cancelKey()
{
    closeWindow();
    return true;
}

bool TFListaTestow::commandKey(const QKeyEvent *key)
{
    // Keys that reach the window itself (nothing focused) act as in the outline.
    return listKey(key, !keyField() || keyField() == m_treeView);
}

