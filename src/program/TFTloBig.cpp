#include "program/TFTloBig.h"

#include "storage/Pictures.h"
#include "toolkit/DroppedFiles.h"
#include "toolkit/Resources.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {
// The picture's darkest edge, for a work area larger than the picture.
const QColor surround{52, 73, 90};
} // namespace

TFTloBig::TFTloBig(MainCommands &commands, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_commands(commands)
{
    ensureResources();
    setObjectName(u"FTloBig"_s);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
    LoadSkinImage(u"FTloBig"_s, m_picture);
    // No visible area until the placement is known.
    setGeometry(0, 0, 1, 1);
}

void TFTloBig::applyPlacement(const WindowPlacement &placement)
{
    if (!placement.known)
        return;
    m_placed = true;
    m_covering = !placement.background.isEmpty();
    if (m_covering) {
        m_pictureOffset = placement.backgroundPicture;
        setGeometry(placement.background);
    } else {
        // A window cannot be smaller than one pixel; that pixel stands under the middle of the main
        // window, which stays on top of it.
        m_pictureOffset = {};
        setGeometry(QRect(placement.mainTopLeft + QPoint(kMainWidth / 2, kMainHeight / 2), QSize(1, 1)));
    }
    update();
}

void TFTloBig::followMainWindow(QPoint mainTopLeft)
{
    if (m_covering || !m_placed)
        return;
    move(mainTopLeft + QPoint(kMainWidth / 2, kMainHeight / 2));
}

void TFTloBig::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    emit firstShown();
}

void TFTloBig::closeEvent(QCloseEvent *event)
{
    if (m_mainWindow && m_mainWindow->isVisible()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

void TFTloBig::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized))
        emit restored();
}

void TFTloBig::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), surround);
    if (m_covering && !m_picture.isNull())
        painter.drawImage(m_pictureOffset, m_picture);
}

void TFTloBig::wheelEvent(QWheelEvent *event)
{
    event->accept();
}

void TFTloBig::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFilePaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFTloBig::dragMoveEvent(QDragMoveEvent *event)
{
    if (!droppedFilePaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFTloBig::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedFilePaths(event->mimeData());
    event->acceptProposedAction();
    // The drop is finished first; a message or an editor opened for it must not hold up the desktop.
    QTimer::singleShot(0, this, [this, paths] { m_commands.dropFiles(paths, DropTarget::BackgroundWindow); });
}
