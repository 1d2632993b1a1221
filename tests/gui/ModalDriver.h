#pragma once

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

// Drives a modal window from inside its exec(): queue the step first, then make the call that shows
// the window. The step gets the window that is modal at that moment.
inline void whenModal(std::function<void(QWidget *)> step)
{
    QTimer::singleShot(0, [step = std::move(step)] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            ADD_FAILURE() << "no modal window is open";
            return;
        }
        step(modal);
    });
}

// As whenModal, once the modal window is the one named `name` (a window opened by a queued start-up
// step or by a drop may come a few event rounds later).
inline void whenModalNamed(const QString &name, std::function<void(QWidget *)> step, int rounds = 200)
{
    QTimer::singleShot(0, [name, step = std::move(step), rounds]() mutable {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name && modal->isVisible()) {
            step(modal);
            return;
        }
        if (rounds <= 0) {
            ADD_FAILURE() << "no modal window named " << name.toStdString();
            return;
        }
        whenModalNamed(name, std::move(step), rounds - 1);
    });
}

// Closes a modal window a broken test left open, so that the test fails instead of hanging. Lives
// for one test.
class ModalWatchdog {
public:
    explicit ModalWatchdog(int milliseconds = 10000)
    {
        QTimer::singleShot(milliseconds, &m_guard, [] {
            while (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "modal window left open: " << dialog->objectName().toStdString();
                dialog->done(0);
            }
        });
    }

private:
    QObject m_guard;
};

// Types text that may hold Polish letters (QTest::keyClicks knows only ASCII).
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// Press, release, double-click and release at a point, as the window system delivers a double-click
// (QTest's double-click alone comes without the press before it).
inline void doubleClickAt(QWidget *surface, QPoint at)
{
    QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(surface, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, at);
}
