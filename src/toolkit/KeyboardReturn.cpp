#include "toolkit/KeyboardReturn.h"

#include <QApplication>

KeyboardReturn::KeyboardReturn()
    : m_window(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow())
{
    if (m_window)
        m_field = m_window->focusWidget();
}

KeyboardReturn::~KeyboardReturn()
{
    if (!m_window || !m_window->isVisible())
        return;
    m_window->activateWindow();
    if (m_field && m_field->isVisible() && m_field->isEnabled() && m_field->window() == m_window)
        m_field->setFocus(Qt::ActiveWindowFocusReason);
}
