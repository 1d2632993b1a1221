#pragma once

// Helpers of the window tests: finding a window's controls by name and sending keys and clicks the
// way the user gives them.

#include <QApplication>
#include <QPoint>
#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// The control named `name` (its object name) in `window`; a missing one fails the test.
template <typename W = QWidget> W *control(const QWidget *window, const QString &name)
{
    auto *w = window->findChild<W *>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

template <typename W = QWidget> W *control(const QWidget *window, const char16_t *name)
{
    return control<W>(window, QString::fromUtf16(name));
}

// The field the modal window's keys go to.
inline QWidget *focused()
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal->focusWidget() : nullptr;
}

// A key to the focused field of the modal window.
inline void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(focused(), static_cast<Qt::Key>(k), mods);
}

// A key to the focused field of the modal window, or to the window itself when no field has the focus.
inline void press(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    QWidget *target = modal->focusWidget() ? modal->focusWidget() : modal;
    QTest::keyClick(target, static_cast<Qt::Key>(k), mods);
}

// A left click on `w`, in its middle unless `at` is given.
inline void click(QWidget *w, QPoint at = {})
{
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at.isNull() ? w->rect().center() : at);
}
