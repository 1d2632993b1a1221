#include "testeditor/TFTest.h"

#include "core/Workspace.h"
#include "question/TFInfoOPytaniu.h"
#include "question/TFPytanie.h"
#include "question/TFWlasnosciPytania.h"
#include "testeditor/TFInfoOTescie.h"
#include "testeditor/TFMenu.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Test;

namespace {

const QString treeStyle = u"QTreeWidget { border: none; background: transparent; color: #2e2e2e; }"
                          u" QTreeWidget::item { height: 20px; }"
                          u" QTreeWidget::item:selected { background: #e8a93c; color: #ffffff; }"_s;

// The two marks: an open amber ring for what is still to do, a white tick on green for what is done.
QIcon markIcon(bool done)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (done) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(76, 140, 74));
        p.drawRoundedRect(QRectF(0.5, 0.5, 13, 13), 3, 3);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(3.5, 7.5), QPointF(6, 10), QPointF(10.5, 4)}));
    } else {
        p.setPen(QPen(QColor(168, 116, 28), 2));
        p.setBrush(QColor(251, 243, 226));
        p.drawEllipse(QRectF(1.5, 1.5, 11, 11));
    }
    return QIcon(pixmap);
}

QLabel *legend(const QString &name, const QString &caption, bool done, const QRect &area, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(area);
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setIndent(22);
    label->setStyleSheet(u"color: #2e2e2e;"_s);
    auto *icon = new QLabel(label);
    icon->setPixmap(markIcon(done).pixmap(14, 14));
    icon->setGeometry(0, (area.height() - 14) / 2, 14, 14);
    return label;
}

} // namespace

TFTest::TFTest(Workspace &ws, QWidget *mainWindow, QWidget *parent)
    : SkinnedWindow(u"FTest"_s, u"test_new.htm"_s, parent), m_ws(ws), m_editor(ws), m_mainWindow(mainWindow)
{
    setHelpOpener(m_ws.helpOpener());
    setObjectName(u"FTest"_s);
    addDragStrip({0, 0, G::width, SkinGeometry::dialogStripHeight});
    m_info = std::make_unique<TFInfoOTescie>(m_editor, this);
    createControls();
    m_editor.windows.testInfo = [this] { m_info->run(pos()); };
    // "Nowe z zestawu ..." shows the question file just read; accepting appends it through the editor.
    auto *questionInfo = new TFInfoOPytaniu(ws, this);
    m_editor.windows.questionInfo = [this, questionInfo] { questionInfo->run(&m_editor); };
    auto *properties = new TFWlasnosciPytania(ws, this);
    m_editor.windows.properties = [this, properties](int k) { properties->showForTestQuestion(k, pos()); };
}

TFTest::~TFTest() = default;

void TFTest::setQuestionEditor(TFPytanie *window)
{
    m_questionWindow = window;
    if (!window)
        return;
    window->setTestEditor(&m_editor, this);
    m_editor.windows.editQuestion = [this](int k) {
        return m_questionWindow && m_questionWindow->editTestQuestion(k);
    };
    m_editor.windows.clearAnswerMarks = [this] {
        if (m_questionWindow)
            m_questionWindow->clearAnswerMarks();
    };
}

void TFTest::createControls()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(u"TVTest"_s);
    m_tree->setGeometry(G::outline);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setIndentation(18);
    m_tree->setUniformRowHeights(true);
    m_tree->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_tree->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setStyleSheet(treeStyle);
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (m_filling || !item)
            return;
        // The menu belongs to the question it was opened on: a selection moved by the keys closes it.
        m_menu->closeContextMenu();
        m_editor.select(item->data(0, Qt::UserRole).toInt());
        refresh();
    });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
            [this] { command([this] { m_editor.openSelected(); }); });

    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setObjectName(u"ScrollBar"_s);
    m_scroll->setGeometry(G::scrollBar);
    m_scroll->hide();
    connect(m_scroll, &QScrollBar::valueChanged, this,
            [this](int row) { m_tree->verticalScrollBar()->setValue(row); });
    connect(m_tree->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int row) {
        if (m_scroll->value() != row)
            m_scroll->setValue(row);
    });

    auto add = [this](const QString &name, const QString &caption, int row, auto step) {
        auto *label = new LabelButton(name, caption, G::command(row), this);
        label->setContentsMargins(8, 0, 0, 0);
        // On the light column white would not read: the hover is the accent's dark tone.
        label->setHoverColour(QColor(168, 116, 28));
        connect(label, &LabelButton::clicked, this, [this, step] { command(step); });
        return label;
    };
    m_newQuestion =
        add(u"LNowePytanie"_s, u"Nowe pytanie       Ctrl+N"_s, 0, [this] { m_editor.newQuestion(); });
    m_import =
        add(u"LNoweZZestawu"_s, u"Nowe z zestawu ..."_s, 1, [this] { m_editor.importQuestion(false); });
    m_delete =
        add(u"LUsunPytanie"_s, u"Usuń pytanie         Del"_s, 2, [this] { m_editor.deleteSelected(); });
    m_preview = add(u"LPodglondPytania"_s, u"Podgląd pytania    Alt+P"_s, 3, [this] { m_editor.preview(); });
    m_moveUp = add(u"LPrzesunWGore"_s, u"Przesuń w górę"_s, 4, [this] { m_editor.moveUp(); });
    m_moveDown = add(u"LPrzesunWDol"_s, u"Przesuń w dół"_s, 5, [this] { m_editor.moveDown(); });
    m_saveAs = add(u"LZapiszJako"_s, u"Zapisz jako ..."_s, 7, [this] { m_editor.saveAs(false); });
    m_print = add(u"LDrukuj"_s, u"Drukuj ...   Ctrl+P"_s, 8, [this] { m_editor.print(); });
    m_grade = add(u"LSprawdzKarty"_s, u"Sprawdź karty odpowiedzi ..."_s, 6, [this] { m_editor.gradeSheets(); });
    m_importMany = add(u"LImportuj"_s, u"Importuj pytania ..."_s, 9, [this] { m_editor.importQuestions(); });

    legend(u"LDoZrobienia"_s, u"To trzeba zrobić"_s, false, G::todoLegend, this);
    legend(u"LZrobione"_s, u"To już zrobiono"_s, true, G::doneLegend, this);

    m_save = new PictureButton(u"ImZapisz"_s, u"zapisz"_s, G::save, this);
    m_close = new PictureButton(u"ImZamknij"_s, u"zamknij"_s, G::close, this);
    for (PictureButton *button : {m_save, m_close})
        button->installEventFilter(this);
    connect(m_save, &PictureButton::clicked, this, [this] { command([this] { m_editor.save(); }); });
    connect(m_close, &PictureButton::clicked, this, &TFTest::closeWindow);

    m_menu = new TFMenu(m_editor, this);
    m_menu->setFocusTarget(m_tree);
    connect(m_menu, &TFMenu::acted, this, [this] { refresh(); });
}

template <typename F> void TFTest::command(F &&step)
{
    m_menu->closeContextMenu();
    m_editor.where = pos();
    step();
    refresh();
    m_tree->setFocus();
}

void TFTest::refresh()
{
    m_filling = true;
    showOutline();
    m_filling = false;

    const bool question = m_editor.questionSelected();
    m_newQuestion->setEnabled(m_editor.canAddQuestion());
    m_import->setEnabled(m_editor.canAddQuestion());
    m_delete->setEnabled(question);
    m_preview->setEnabled(question);
    m_moveUp->setEnabled(m_editor.canMoveUp());
    m_moveDown->setEnabled(m_editor.canMoveDown());
    m_saveAs->setEnabled(m_editor.savingAllowed());
    m_print->setVisible(bool(m_editor.windows.print));
    m_print->setEnabled(m_editor.questionCount() > 0);
    m_grade->setVisible(bool(m_editor.windows.grade));
    m_grade->setEnabled(m_editor.questionCount() > 0);
    m_importMany->setEnabled(m_editor.canAddQuestion());
    m_save->setVisible(m_editor.saveButtonShown());
    showScrollBar();
}

// The items are changed in place: this runs inside the outline's own selection signal, and items
// rebuilt under a press lose it, so the double-click that follows never comes.
void TFTest::showOutline()
{
    const QList<TestEditor::Node> &nodes = m_editor.outline();
    QTreeWidgetItem *header = m_tree->topLevelItem(0);
    if (!header || header->childCount() + 1 != nodes.size()) {
        m_tree->clear();
        header = nullptr;
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            QTreeWidgetItem *item = header ? new QTreeWidgetItem(header) : new QTreeWidgetItem(m_tree);
            item->setData(0, Qt::UserRole, static_cast<int>(i));
            if (!header)
                header = item;
        }
        m_tree->expandAll();
    }
    static const QIcon todo = markIcon(false);
    static const QIcon done = markIcon(true);
    constexpr int doneRole = Qt::UserRole + 1;
    QTreeWidgetItem *current = nullptr;
    for (qsizetype i = 0; header && i < nodes.size(); ++i) {
        QTreeWidgetItem *item = i == 0 ? header : header->child(static_cast<int>(i - 1));
        if (item->text(0) != nodes[i].label)
            item->setText(0, nodes[i].label);
        const QVariant mark = item->data(0, doneRole);
        if (!mark.isValid() || mark.toBool() != nodes[i].done) {
            item->setIcon(0, nodes[i].done ? done : todo);
            item->setData(0, doneRole, nodes[i].done);
        }
        if (i == m_editor.selectedNode())
            current = item;
    }
    if (current) {
        if (m_tree->currentItem() != current)
            m_tree->setCurrentItem(current);
        m_tree->scrollToItem(current);
    }
}

void TFTest::showScrollBar()
{
    const int nodes = static_cast<int>(m_editor.outline().size());
    if (nodes <= G::rows) {
        m_scroll->hide();
        return;
    }
    m_scroll->setRange(0, nodes - G::rows);
    m_scroll->setPageStep(21);
    m_scroll->setSingleStep(20);
    m_scroll->setValue(m_tree->verticalScrollBar()->value());
    m_scroll->show();
}

// --- Entry points -------------------------------------------------------------------------------

void TFTest::prepareNewTest()
{
    m_editor.newTest();
    m_menu->closeContextMenu();
    refresh();
}

bool TFTest::prepareOpenTest(const QString &path)
{
    if (!m_editor.openTest(path))
        return false;
    m_menu->closeContextMenu();
    refresh();
    return true;
}

void TFTest::runModal()
{
    setDragEnabled(m_ws.settings.wo == 0);
    placeAt({m_ws.mainLeft + 8, m_ws.mainTop + 9});
    m_editor.where = pos();
    m_tree->setFocus();
    exec();
}

void TFTest::newTest()
{
    prepareNewTest();
    runModal();
}

void TFTest::openTest()
{
    m_ws.workMode = WorkTest;
    if (!m_editor.openTestAsk()) {
        m_ws.workMode = WorkNothing;
        return;
    }
    refresh();
    runModal();
}

void TFTest::openTestFile(const QString &path)
{
    if (prepareOpenTest(path))
        runModal();
}

void TFTest::openRecoveryCopy(const QString &copy, const QString &original)
{
    if (!m_editor.openRecoveryCopy(copy, original))
        return;
    m_menu->closeContextMenu();
    refresh();
    runModal();
}

bool TFTest::holdsUnsavedWork() const
{
    return m_editor.modified || m_info->holdsUnsavedWork();
}

void TFTest::closeWindow()
{
    m_menu->closeContextMenu();
    m_editor.where = pos();
    if (m_editor.close() == TestEditor::Outcome::Close) {
        done(QDialog::Rejected);
        return;
    }
    refresh();
    m_tree->setFocus();
}

// --- Input --------------------------------------------------------------------------------------

bool TFTest::outlineKey(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    const bool ctrl = mods == Qt::ControlModifier;
    const bool ctrlShift = mods == (Qt::ControlModifier | Qt::ShiftModifier);
    if (ctrl && k == Qt::Key_N) {
        command([this] { m_editor.newQuestion(); });
    } else if (ctrl && k == Qt::Key_L) {
        command([this] { m_editor.importQuestion(true); });
    } else if (mods == Qt::NoModifier && k == Qt::Key_Delete) {
        command([this] { m_editor.deleteSelected(); });
    } else if (mods == Qt::AltModifier && k == Qt::Key_P) {
        command([this] { m_editor.preview(); });
    } else if (mods == Qt::NoModifier && (k == Qt::Key_Return || k == Qt::Key_Enter)) {
        command([this] { m_editor.openSelected(); });
    } else if (ctrl && k == Qt::Key_S) {
        command([this] {
            if (m_editor.canSave())
                m_editor.save();
        });
    } else if (ctrlShift && k == Qt::Key_S) {
        command([this] { m_editor.saveAs(true); });
    } else if (ctrlShift && k == Qt::Key_P) {
        command([this] { m_editor.saveSelectedQuestionAs(); });
    } else if (ctrl && k == Qt::Key_P) {
        command([this] { m_editor.print(); });
    } else if (k == Qt::Key_F1 && mods == Qt::NoModifier) {
        helpRequested();
    } else if (k == Qt::Key_F4 && mods == Qt::AltModifier) {
        // Swallowed: only the close button closes the editor.
    } else if (!key->text().isEmpty() && key->text().at(0).isPrint() && !(mods & Qt::ControlModifier)) {
        // The outline is read-only: typed characters do not search it.
    } else {
        return false;
    }
    return true;
}

void TFTest::rightButtonAt(QPoint inViewport)
{
    if (!m_editor.questionSelected()) {
        m_menu->closeContextMenu();
        return;
    }
    const QPoint inWindow = m_tree->viewport()->mapTo(this, inViewport);
    m_menu->showContextMenu(m_editor.contextMenuPosition(inWindow, m_tree->x()));
}

bool TFTest::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_tree && type == QEvent::KeyPress) {
        if (outlineKey(static_cast<QKeyEvent *>(event)))
            return true;
    }
    if (watched == m_tree->viewport() &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            // The node under the pointer is not selected by it; the menu acts on the selected one.
            if (type == QEvent::MouseButtonPress)
                rightButtonAt(mouse->position().toPoint());
            return true;
        }
        m_menu->closeContextMenu();
    }
    if ((type == QEvent::Enter || type == QEvent::Leave) && (watched == m_save || watched == m_close))
        static_cast<PictureButton *>(watched)->setHighlighted(type == QEvent::Enter);
    return SkinnedWindow::eventFilter(watched, event);
}

void TFTest::keyPressEvent(QKeyEvent *event)
{
    if (!outlineKey(event))
        SkinnedWindow::keyPressEvent(event);
    event->accept();
}

void TFTest::mousePressEvent(QMouseEvent *event)
{
    m_menu->closeContextMenu();
    SkinnedWindow::mousePressEvent(event);
}

void TFTest::moveEvent(QMoveEvent *event)
{
    m_editor.where = pos();
    SkinnedWindow::moveEvent(event);
}

// In window mode 0 the title strip moves the main window with the editor.
void TFTest::dragMovedBy(QPoint delta)
{
    if (m_ws.settings.wo != 0)
        return;
    move(pos() + delta);
    if (m_mainWindow) {
        m_mainWindow->move(m_mainWindow->pos() + delta);
        m_ws.mainLeft = m_mainWindow->x();
        m_ws.mainTop = m_mainWindow->y();
    }
}
