#include "toolkit/TabFilter.h"

#include "toolkit/SkinnedWindow.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPointer>

namespace {
bool insideFileDialog(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const QFileDialog *>(w))
            return true;
    }
    return false;
}
} // namespace

void TabFilter::install()
{
    static QPointer<TabFilter> filter;
    QCoreApplication *app = QCoreApplication::instance();
    if (filter || !app)
        return;
    filter = new TabFilter(app);
    app->installEventFilter(filter);
}

bool TabFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab)
        return false;
    // Key events pass the window system's window first and then the focus widget; only the widget
    // stage is taken, so that the whole road is one decision.
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || insideFileDialog(widget))
        return false;
    if (type == QEvent::KeyPress) {
        if (auto *window = qobject_cast<SkinnedWindow *>(widget->window()))
            window->tabPressed();
    }
    return true;
}
