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
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    const int key = keyEvent->key();
    // Key events pass the window system's window first and then the focus widget; only the widget
    // stage is taken, so that the whole road is one decision.
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab) {
        if (type != QEvent::KeyPress || !widget || widget->isWindow())
            return false;
        // The window's own keys reach it through its keyPressEvent.
        auto *window = qobject_cast<SkinnedWindow *>(widget->window());
        return window && window->fieldKey(keyEvent, widget);
    }
    if (!widget || insideFileDialog(widget))
        return false;
    if (type == QEvent::KeyPress) {
        if (auto *window = qobject_cast<SkinnedWindow *>(widget->window()))
            window->tabPressed();
    }
    return true;
}
