#include "students/TFListaUczniow.h"

#include "core/Workspace.h"
#include "students/TFAutorListyKlas.h"
#include "students/TFEdycjaKlasy.h"
#include "students/TFEdycjaUcznia.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/VScrollBar.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::ListaUczniow;

namespace {

const QString listStyle =
    u"QListWidget { border: none; background: transparent; color: #2e2e2e; outline: none; }"
    u" QListWidget::item { height: 18px; padding: 0 4px; }"
    u" QListWidget::item:selected { background: #e8a93c; color: #2e2e2e; }"_s;

} // namespace

TFListaUczniow::TFListaUczniow(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FListaUczniow"_s, u"listaucz_new.htm"_s, parent), m_ws(ws), m_editor(ws),
      m_classDialog(new TFEdycjaKlasy(ws, this)), m_studentDialog(new TFEdycjaUcznia(ws, this)),
      m_infoDialog(new TFAutorListyKlas(this))
{
    setHelpOpener(m_ws.helpOpener());
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});
    createControls();
    refresh();
}

TFListaUczniow::~TFListaUczniow() = default;

void TFListaUczniow::createControls()
{
    m_heading = new QLabel(this);
    m_heading->setObjectName(u"LWidok"_s);
    m_heading->setGeometry(G::heading);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    m_heading->setStyleSheet(u"QLabel { color: #3e5566; }"_s);

    m_list = new QListWidget(this);
    m_list->setObjectName(u"LBLista"_s);
    m_list->setGeometry(G::list);
    m_list->setStyleSheet(listStyle);
    m_list->setUniformItemSizes(true);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_filling)
            return;
        m_editor.selectLine(row);
        refresh();
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { activated(m_list->row(item)); });

    m_scrollBar = new VScrollBar(u"ListwaV"_s, this);
    m_scrollBar->setGeometry(G::scrollBar);
    m_scrollBar->hintText = [this](int value) {
        return u"Wiersz "_s + QString::number(value + 1) + u" z "_s + QString::number(m_list->count());
    };
    connect(m_scrollBar, &VScrollBar::valueChanged, m_list->verticalScrollBar(), &QScrollBar::setValue);
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, m_scrollBar, &VScrollBar::setValue);
    connect(m_list->verticalScrollBar(), &QScrollBar::rangeChanged, this, &TFListaUczniow::showScrollBar);

    m_new = LabelButton::fieldCommand(u"LNowy"_s, QString(), G::commands.row(0), this);
    m_delete = LabelButton::fieldCommand(u"LUsun"_s, QString(), G::commands.row(1), this);
    m_edit = LabelButton::fieldCommand(u"LEdytuj"_s, QString(), G::commands.row(2), this);
    m_listCommand = LabelButton::fieldCommand(u"LListaUczniow"_s, QString(), G::commands.row(3), this);
    m_moveUp = LabelButton::fieldCommand(u"LPrzesunTop"_s, QString(), G::commands.row(4), this);
    m_moveDown = LabelButton::fieldCommand(u"LPrzesunDown"_s, QString(), G::commands.row(5), this);
    m_moveUp->setText(u"Przesuń w górę"_s);
    m_moveDown->setText(u"Przesuń w dół"_s);
    connect(m_new, &LabelButton::clicked, this, &TFListaUczniow::newItem);
    connect(m_delete, &LabelButton::clicked, this, &TFListaUczniow::deleteItem);
    connect(m_edit, &LabelButton::clicked, this, &TFListaUczniow::editItem);
    connect(m_listCommand, &LabelButton::clicked, this, &TFListaUczniow::listCommand);
    connect(m_moveUp, &LabelButton::clicked, this, &TFListaUczniow::moveUp);
    connect(m_moveDown, &LabelButton::clicked, this, &TFListaUczniow::moveDown);

    m_infoMark = new LabelButton(u"LKreska"_s, u"ℹ"_s, G::infoMark, this);
    m_infoMark->setAlignment(Qt::AlignCenter);
    m_infoMark->setAccessibleName(u"Informacje o liście"_s);
    m_info = new LabelButton(u"LInfoOLiscie"_s, u"Informacje o liście"_s, G::info, this);
    m_info->setContentsMargins(4, 0, 0, 0);
    for (LabelButton *label : {m_infoMark, m_info}) {
        label->setHoverColour(QColor(168, 116, 28));
        connect(label, &LabelButton::clicked, this, &TFListaUczniow::showInfo);
    }

    m_saveAs = new LabelButton(u"LZapiszJako"_s, u"Zapisz jako ..."_s, G::saveAs, this);
    m_saveAs->setAlignment(Qt::AlignCenter);
    connect(m_saveAs, &LabelButton::clicked, this, &TFListaUczniow::saveAs);
    m_save = new PictureButton(u"ImZapisz"_s, u"zapisz"_s, G::save, this);
    m_apply = new PictureButton(u"ImWprowadz"_s, u"wprowadz"_s, G::apply, this);
    m_cancel = new PictureButton(u"ImAnuluj"_s, u"anuluj"_s, G::cancel, this);
    for (PictureButton *button : {m_save, m_apply, m_cancel})
        button->installEventFilter(this);
    connect(m_save, &PictureButton::clicked, this, &TFListaUczniow::save);
    connect(m_apply, &PictureButton::clicked, this, &TFListaUczniow::apply);
    connect(m_cancel, &PictureButton::clicked, this, &TFListaUczniow::cancel);
}

// --- Entry points -------------------------------------------------------------------------------

void TFListaUczniow::newStudentList()
{
    m_editor.newStudentList();
    runModal();
}

void TFListaUczniow::openStudentList()
{
    if (m_editor.openStudentList())
        runModal();
}

void TFListaUczniow::openStudentListFile(const QString &path)
{
    m_ws.workMode = WorkStudentList;
    if (m_editor.openStudentListFile(path))
        runModal();
}

void TFListaUczniow::openRecoveryCopy(const QString &copy, const QString &original)
{
    m_ws.workMode = WorkStudentList;
    if (m_editor.openRecoveryCopy(copy, original))
        runModal();
}

void TFListaUczniow::runModal()
{
    refresh();
    placeAt({m_ws.mainLeft + 160, m_ws.mainTop + 45});
    m_list->setFocus();
    exec();
    // However the window closed, the list is emptied.
    m_editor.windowClosed();
    refresh();
}

// --- Showing ------------------------------------------------------------------------------------

void TFListaUczniow::refresh()
{
    const bool classes = m_editor.view == StudentListEditor::View::Classes;
    m_heading->setText(classes ? u"Klasy"_s
                               : u"Uczniowie klasy "_s +
                                     m_editor.list.classes.value(m_editor.studentView.classIndex).name);
    m_new->setText(classes ? u"Nowa klasa         Ctrl+N"_s : u"Nowy uczeń         Ctrl+N"_s);
    m_delete->setText(classes ? u"Usuń klasę            Del"_s : u"Usuń ucznia           Del"_s);
    m_edit->setText(classes ? u"Edytuj klasę           F2"_s : u"Edytuj ucznia          F2"_s);
    m_listCommand->setText(classes ? u"Lista uczniów      Ctrl+U"_s : u"Importuj listę         Ctrl+I"_s);

    m_filling = true;
    const QStringList lines = m_editor.lines();
    bool same = m_list->count() == lines.size();
    for (int i = 0; same && i < lines.size(); ++i)
        same = m_list->item(i)->text() == lines.at(i);
    if (!same) {
        m_list->clear();
        m_list->addItems(lines);
    }
    const int current = m_editor.currentLine();
    m_list->setCurrentRow(current);
    if (current < 0)
        m_list->clearSelection();
    m_filling = false;
    showScrollBar();

    const ListEnabling enabling = m_editor.enabling();
    m_delete->setEnabled(enabling.canDelete);
    m_edit->setEnabled(enabling.canEdit);
    m_moveUp->setEnabled(enabling.canMoveUp);
    m_moveDown->setEnabled(enabling.canMoveDown);
    m_listCommand->setEnabled(enabling.listCommand);
    m_save->setVisible(m_editor.saveShown());
    m_apply->setVisible(!classes);
}

void TFListaUczniow::showScrollBar()
{
    const QScrollBar *inner = m_list->verticalScrollBar();
    m_scrollBar->setVisible(m_list->count() > G::visibleLines);
    m_scrollBar->setRange(inner->minimum(), inner->maximum());
    m_scrollBar->setSteps(1, std::max(1, G::visibleLines - 1));
    m_scrollBar->setValue(inner->value());
}

// --- Commands -----------------------------------------------------------------------------------

void TFListaUczniow::newItem()
{
    if (m_editor.view == StudentListEditor::View::Classes) {
        SchoolClass data = m_editor.newClassDefaults();
        if (m_classDialog->run(data, pos() + QPoint(167, 110)))
            m_editor.addClass(data);
    } else {
        QString firstName;
        QString surname;
        if (m_studentDialog->run(firstName, surname, pos() + QPoint(166, 196)))
            m_editor.addStudent(firstName, surname);
    }
    refresh();
}

void TFListaUczniow::editItem()
{
    if (m_editor.view == StudentListEditor::View::Classes) {
        if (!m_editor.list.hasCurrentClass())
            return;
        SchoolClass data = m_editor.list.classes.at(m_editor.list.currentClass);
        if (m_classDialog->run(data, pos() + QPoint(167, 110)))
            m_editor.editClass(data);
    } else {
        if (!m_editor.studentView.hasCurrent())
            return;
        // The dialog's fields are always first name and surname, whichever comes first in the line.
        const Student student = m_editor.studentView.currentStudent();
        QString firstName = student.firstName;
        QString surname = student.surname;
        if (m_studentDialog->run(firstName, surname, pos() + QPoint(166, 196)))
            m_editor.editStudent(firstName, surname);
    }
    refresh();
}

void TFListaUczniow::deleteItem()
{
    if (m_editor.view == StudentListEditor::View::Classes)
        m_editor.deleteClass();
    else
        m_editor.deleteStudent();
    refresh();
}

void TFListaUczniow::listCommand()
{
    if (m_editor.view == StudentListEditor::View::Classes)
        m_editor.showStudentView();
    else
        m_editor.importStudents();
    refresh();
}

void TFListaUczniow::moveUp()
{
    if (m_editor.view == StudentListEditor::View::Classes)
        m_editor.moveClassUp();
    else
        m_editor.moveStudentUp();
    refresh();
}

void TFListaUczniow::moveDown()
{
    if (m_editor.view == StudentListEditor::View::Classes)
        m_editor.moveClassDown();
    else
        m_editor.moveStudentDown();
    refresh();
}

void TFListaUczniow::showInfo()
{
    m_infoDialog->run(m_editor, pos() + QPoint(105, 204));
    refresh();
}

void TFListaUczniow::save()
{
    m_editor.save();
    refresh();
}

void TFListaUczniow::saveAs()
{
    m_editor.saveAs();
    refresh();
}

void TFListaUczniow::apply()
{
    if (m_editor.view != StudentListEditor::View::Students)
        return;
    m_editor.applyStudentView();
    refresh();
}

void TFListaUczniow::cancel()
{
    if (m_editor.view == StudentListEditor::View::Students) {
        m_editor.leaveStudentView();
        refresh();
        return;
    }
    if (m_editor.requestClose())
        done(QDialog::Rejected);
    else
        refresh();
}

bool TFListaUczniow::holdsUnsavedWork() const
{
    return m_editor.list.modified ||
           (m_editor.view == StudentListEditor::View::Students && m_editor.studentView.pending);
}

void TFListaUczniow::closeWindow()
{
    if (m_editor.view == StudentListEditor::View::Students && !m_editor.leaveStudentView()) {
        refresh();
        return;
    }
    cancel();
}

void TFListaUczniow::activated(int row)
{
    if (row < 0)
        return;
    m_editor.selectLine(row);
    if (m_editor.view == StudentListEditor::View::Classes)
        listCommand();
    else
        editItem();
}

// --- Input --------------------------------------------------------------------------------------

bool TFListaUczniow::listKey(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    const bool classes = m_editor.view == StudentListEditor::View::Classes;
    if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        // Letters in either case.
        switch (k) {
        case Qt::Key_N:
            newItem();
            return true;
        case Qt::Key_S:
            if (m_editor.saveShortcutEnabled())
                save();
            return true;
        case Qt::Key_U:
            if (classes)
                listCommand();
            return true;
        case Qt::Key_I:
            if (!classes)
                listCommand();
            return true;
        default:
            return false;
        }
    }
    if (mods != Qt::NoModifier)
        return false;
    switch (k) {
    case Qt::Key_Delete:
        if (m_editor.enabling().canDelete)
            deleteItem();
        return true;
    case Qt::Key_F2:
        editItem();
        return true;
    default:
        return false;
    }
}

bool TFListaUczniow::inList() const
{
    // The window's own keys act as in the list.
    return !keyField() || keyField() == m_list;
}

bool TFListaUczniow::acceptKey()
{
    if (!inList())
        return false;
    apply();
    return true;
}

bool TFListaUczniow::cancelKey()
{
    if (!inList())
        return false;
    cancel();
    return true;
}

bool TFListaUczniow::commandKey(const QKeyEvent *key)
{
    return inList() && listKey(key);
}

bool TFListaUczniow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // The mouse wheel does nothing in this window.
    if (type == QEvent::Wheel && (watched == m_list || watched == m_list->viewport()))
        return true;
    if ((type == QEvent::Enter || type == QEvent::Leave) &&
        (watched == m_save || watched == m_apply || watched == m_cancel))
        static_cast<PictureButton *>(watched)->setHighlighted(type == QEvent::Enter);
    return SkinnedWindow::eventFilter(watched, event);
}

