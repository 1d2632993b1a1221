#include "toolkit/SkinnedWindow.h"

#include "storage/Pictures.h"
#include "toolkit/HelpPages.h"
#include "toolkit/InterfaceColours.h"
#include "toolkit/Resources.h"
#include "toolkit/TabFilter.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {
// Shown where a skin picture is missing, so the window stays usable.
const QColor fallbackBody{233, 237, 240};
} // namespace

SkinnedWindow::SkinnedWindow(const QString &skinName, const QString &helpPage, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_skinName(skinName),
      m_helpPage(helpPage)
{
    ensureResources();
    TabFilter::install();
    setObjectName(skinName);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_OpaquePaintEvent);

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

void SkinnedWindow::placeAt(QPoint topLeft)
{
    move(topLeft);
}

void SkinnedWindow::placeBy(const QWidget *origin, int dx, int dy)
{
    if (origin)
        move(origin->pos() + QPoint(dx, dy));
    else
        centreOnScreen();
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

void SkinnedWindow::helpRequested()
{
    if (!m_helpPage.isEmpty())
        openHelpPage(m_helpPage);
}

void SkinnedWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_skin.isNull())
        painter.fillRect(rect(), fallbackBody);
    else
        painter.drawImage(0, 0, m_skin);
}

void SkinnedWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier)
        helpRequested();
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

bool SkinnedWindow::eventFilter(QObject *watched, QEvent *event)
{
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
        if (m_dragging)
            move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_dragOffset);
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
