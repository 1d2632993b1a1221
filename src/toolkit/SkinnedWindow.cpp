#include "toolkit/SkinnedWindow.h"

#include "storage/Pictures.h"
#include "toolkit/HelpPages.h"
#include "toolkit/InterfaceColours.h"
#include "toolkit/KeyboardReturn.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/DroppedFiles.h"
#include "toolkit/Resources.h"
#include "toolkit/TabFilter.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QTimer>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPolygon>
#include <QRegion>
#include <QScreen>
#include <QTextEdit>

#include <utility>

using namespace Qt::StringLiterals;

namespace {
// Shown where a skin picture is missing, so the window stays usable.
const QColor fallbackBody{233, 237, 240};

// The title each skin shows in its strip (resources/art/make-art.sh draws them), told to the window
// system and to assistive technology, which cannot read the picture.
QString titleOfSkin(const QString &skinName)
{
    static const QHash<QString, QString> titles = {
        {u"FGlowny"_s, u"Zadanix - Edytor"_s},
        {u"FTloBig"_s, u"Zadanix - Edytor"_s},
        {u"FWinieta"_s, u"Zadanix - Edytor"_s},
        {u"FWarning"_s, u"Komunikat"_s},
        {u"FZegar"_s, u"Zapisano"_s},
        {u"FZdarzenia"_s, u"Dziennik zdarzeń"_s},
        {u"FIniEdytor"_s, u"Ustawienia edytora"_s},
        {u"FIniTesty"_s, u"Ustawienia modułów Test i Nauka"_s},
        {u"FDrukuj"_s, u"Drukowanie testu"_s},
        {u"FInfoOPytaniu"_s, u"Informacja o pytaniu"_s},
        {u"FWlasnosciPytania"_s, u"Właściwości pytania"_s},
        {u"FWstawTekst"_s, u"Tekst do pytania w teście"_s},
        {u"FWstawTekstSolo"_s, u"Tekst do pytania"_s},
        {u"FWstawObraz"_s, u"Obraz do pytania w teście"_s},
        {u"FWstawObrazSolo"_s, u"Obraz do pytania"_s},
        {u"FZbieznoscTeksty"_s, u"Taki plik tekstowy już jest w teście"_s},
        {u"FZbieznoscObrazy"_s, u"Taki obraz już jest w teście"_s},
        {u"FTest"_s, u"Test"_s},
        {u"FInfoOTescie"_s, u"Dane ogólne testu"_s},
        {u"FGeneruj"_s, u"Generuj zestaw pytań"_s},
        {u"FKarty"_s, u"Sprawdzanie kart odpowiedzi"_s},
        {u"FListaTestow"_s, u"Lista testów"_s},
        {u"FListaZestawow"_s, u"Lista zestawów pytań"_s},
        {u"FEdycjaWpisu"_s, u"Wpis listy"_s},
        {u"FListaUczniow"_s, u"Lista uczniów"_s},
        {u"FEdycjaKlasy"_s, u"Klasa"_s},
        {u"FEdycjaUcznia"_s, u"Uczeń"_s},
        {u"FAutorListyKlas"_s, u"Informacje o liście"_s},
    };
    if (skinName.startsWith(u"oknopytanienew"_s))
        return u"Pytanie"_s;
    return titles.value(skinName, u"Zadanix - Edytor"_s);
}

SkinnedWindow::ProgramHooks &programHooks()
{
    static SkinnedWindow::ProgramHooks hooks;
    return hooks;
}
} // namespace

void SkinnedWindow::setProgramHooks(ProgramHooks hooks)
{
    programHooks() = std::move(hooks);
}

SkinnedWindow::SkinnedWindow(const QString &skinName, const QString &helpPage, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_skinName(skinName),
      m_helpPage(helpPage)
{
    ensureResources();
    TabFilter::install();
    setObjectName(skinName);
    setWindowTitle(titleOfSkin(skinName));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);

    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(13);
    setFont(font);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, InterfaceColours::normal);
    pal.setColor(QPalette::Window, fallbackBody);
    setPalette(pal);

    if (LoadSkinImage(skinName, m_skin))
        setFixedSize(m_skin.size());
    else
        m_skin = QImage();
}

bool SkinnedWindow::setSkin(const QString &skinName)
{
    if (skinName == m_skinName && !m_skin.isNull())
        return true;
    QImage skin;
    if (!LoadSkinImage(skinName, skin))
        return false;
    // A window that changes its skin changes its title with it (the test list and the set list).
    if (windowTitle() == titleOfSkin(m_skinName))
        setWindowTitle(titleOfSkin(skinName));
    m_skin = skin;
    m_skinName = skinName;
    setFixedSize(m_skin.size());
    update();
    return true;
}

int SkinnedWindow::exec()
{
    const KeyboardReturn keyboard;
    return QDialog::exec();
}

void SkinnedWindow::placeAt(QPoint topLeft)
{
    move(topLeft);
}

void SkinnedWindow::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void SkinnedWindow::cutCorners(int size)
{
    const int w = width();
    const int h = height();
    const QPolygon outline({{size, 0},
                            {w - size, 0},
                            {w, size},
                            {w, h - size},
                            {w - size, h},
                            {size, h},
                            {0, h - size},
                            {0, size}});
    setMask(QRegion(outline));
}

QWidget *SkinnedWindow::addDragStrip(const QRect &area)
{
    if (!m_dragStrip) {
        m_dragStrip = new QWidget(this);
        m_dragStrip->setObjectName(u"LListwa"_s);
        m_dragStrip->installEventFilter(this);
    }
    m_dragStrip->setGeometry(area);
    m_dragStrip->lower();
    return m_dragStrip;
}

LabelButton *SkinnedWindow::addStripWithCloseLabel()
{
    addDragStrip({0, 0, width() - 40, SkinGeometry::dialogStripHeight});
    auto *label = new LabelButton(u"LClose"_s, u"×"_s, SkinGeometry::closeLabel(width()), this);
    label->setAlignment(Qt::AlignCenter);
    label->setToolTip(u"Zamknij"_s);
    QFont big = label->font();
    big.setPixelSize(22);
    label->setFont(big);
    return label;
}

void SkinnedWindow::addAcceptCancelLabels(const QString &acceptName, const QRect &acceptArea,
                                          const QRect &cancelArea)
{
    auto *accept = new LabelButton(acceptName, u"Wprowadź  Enter"_s, acceptArea, this);
    auto *cancel = new LabelButton(u"LAnuluj"_s, u"Anuluj  Esc"_s, cancelArea, this);
    for (LabelButton *label : {accept, cancel})
        label->setAlignment(Qt::AlignCenter);
    connect(accept, &LabelButton::clicked, this, [this] { acceptKey(); });
    connect(cancel, &LabelButton::clicked, this, [this] { cancelKey(); });
}

void SkinnedWindow::helpRequested()
{
    if (m_helpPage.isEmpty())
        return;
    if (m_helpOpener)
        m_helpOpener(m_helpPage);
    else if (programHooks().openHelpPage)
        programHooks().openHelpPage(m_helpPage);
    else
        openHelpPage(m_helpPage);
}

void SkinnedWindow::dragMovedBy(QPoint delta)
{
    move(pos() + delta);
}

void SkinnedWindow::setFocusChain(const QList<QWidget *> &fields)
{
    for (const QPointer<QWidget> &old : std::as_const(m_focusChain)) {
        if (old)
            old->removeEventFilter(this);
    }
    m_focusChain.clear();
    for (QWidget *field : fields) {
        m_focusChain.append(field);
        field->installEventFilter(this);
    }
}

bool SkinnedWindow::moveFocus(int step)
{
    const qsizetype n = m_focusChain.size();
    // The window's own focus field, also while another program has the keyboard.
    const QWidget *current = focusWidget();
    qsizetype focused = -1;
    for (qsizetype i = 0; i < n; ++i) {
        if (current && m_focusChain[i] == current)
            focused = i;
    }
    // With no field focused, Down starts at the first field and Up at the last.
    const qsizetype from = focused >= 0 ? focused : (step > 0 ? n - 1 : 0);
    for (qsizetype tried = 1; tried <= n; ++tried) {
        const qsizetype i = ((from + step * tried) % n + n) % n;
        QWidget *field = m_focusChain[i];
        if (i == focused)
            return false;
        if (field && field->isVisibleTo(this) && field->isEnabled() && field->focusPolicy() != Qt::NoFocus) {
            field->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void SkinnedWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_skin.isNull())
        painter.fillRect(rect(), fallbackBody);
    else
        painter.drawImage(0, 0, m_skin);
}

bool SkinnedWindow::commandKey(const QKeyEvent *)
{
    return false;
}

bool SkinnedWindow::isPlain(const QKeyEvent *key, int k)
{
    return key->key() == k && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool SkinnedWindow::windowKey(const QKeyEvent *key, bool inTextBox)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    if (k == Qt::Key_F4 && mods == Qt::AltModifier)
        return true;
    if (mods == Qt::NoModifier) {
        switch (k) {
        case Qt::Key_F1:
            helpRequested();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (inTextBox && !m_enterAcceptsInTextBoxes)
                return false;
            return acceptKey();
        case Qt::Key_Escape:
            return cancelKey();
        default:
            break;
        }
    }
    return commandKey(key);
}

bool SkinnedWindow::fieldKey(const QKeyEvent *key, const QWidget *field)
{
    const bool textBox = qobject_cast<const QPlainTextEdit *>(field) || qobject_cast<const QTextEdit *>(field);
    const QWidget *outer = std::exchange(m_keyField, field);
    const bool taken = windowKey(key, textBox);
    m_keyField = outer;
    return taken;
}

void SkinnedWindow::keyPressEvent(QKeyEvent *event)
{
    windowKey(event, false);
    // Everything else, Esc, Enter and Alt+F4 included, stops here: a dialog closes only through its
    // own commands.
    event->accept();
}

void SkinnedWindow::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous() && m_refusesCloseRequests) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void SkinnedWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (programHooks().dropFiles && !droppedFilePaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void SkinnedWindow::dragMoveEvent(QDragMoveEvent *event)
{
    if (programHooks().dropFiles && !droppedFilePaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void SkinnedWindow::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedFilePaths(event->mimeData());
    if (!programHooks().dropFiles || paths.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop is finished first; a message or an editor opened for it must not hold up the desktop.
    QTimer::singleShot(0, [paths] {
        if (programHooks().dropFiles)
            programHooks().dropFiles(paths);
    });
}

bool SkinnedWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched != m_dragStrip) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) && mods == Qt::NoModifier) {
            for (const QPointer<QWidget> &field : std::as_const(m_focusChain)) {
                if (field == watched) {
                    moveFocus(key->key() == Qt::Key_Down ? 1 : -1);
                    return true;
                }
            }
        }
    }
    if (watched != m_dragStrip)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_dragEnabled && mouse->button() == Qt::LeftButton) {
            m_dragging = true;
            m_dragOffset = mouse->globalPosition().toPoint() - pos();
        }
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            const QPoint target = static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_dragOffset;
            if (target != pos())
                dragMovedBy(target - pos());
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (m_dragging && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_dragging = false;
            emit dragFinished(pos());
        }
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}
