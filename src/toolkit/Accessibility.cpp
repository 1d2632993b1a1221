#include "toolkit/Accessibility.h"

#include "toolkit/CommandAccessible.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"

#include <QAccessibleWidget>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

class RowsAccessible;

// One row of a RowSource: its text and whether it is the selected one.
class RowAccessible : public QAccessibleInterface {
public:
    RowAccessible(RowsAccessible *list, int row) : m_list(list), m_row(row) {}

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    RowsAccessible *m_list;
    int m_row;
};

class RowsAccessible : public QAccessibleWidget {
public:
    RowsAccessible(QWidget *widget, const Accessibility::RowSource *rows)
        : QAccessibleWidget(widget, QAccessible::List), m_rows(rows)
    {}
    // As Qt's own item views do: the rows' interfaces are registered and go with the list's.
    ~RowsAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_children))
            QAccessible::deleteAccessibleInterface(id);
    }

    const Accessibility::RowSource *rows() const { return m_rows; }

    int childCount() const override { return m_rows->accessibleRowCount(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const QAccessible::Id id = m_children.value(index))
            return QAccessible::accessibleInterface(id);
        auto *row = new RowAccessible(const_cast<RowsAccessible *>(this), index);
        m_children.insert(index, QAccessible::registerAccessibleInterface(row));
        return row;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto it = m_children.cbegin(); it != m_children.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key() < childCount() ? it.key() : -1;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override
    {
        for (int i = 0; i < childCount(); ++i) {
            if (m_rows->accessibleRowSelected(i))
                return child(i);
        }
        return nullptr;
    }

private:
    const Accessibility::RowSource *m_rows;
    mutable QHash<int, QAccessible::Id> m_children;
};

bool RowAccessible::isValid() const
{
    return m_list->isValid() && m_row < m_list->childCount();
}

QWindow *RowAccessible::window() const
{
    return m_list->window();
}

QAccessibleInterface *RowAccessible::parent() const
{
    return m_list;
}

QString RowAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid())
        return {};
    return m_list->rows()->accessibleRowText(m_row);
}

QAccessible::State RowAccessible::state() const
{
    QAccessible::State s;
    s.selectable = true;
    s.selected = isValid() && m_list->rows()->accessibleRowSelected(m_row);
    s.focused = s.selected && m_list->state().focused;
    return s;
}

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == u"LabelButton"_s || className == u"PictureButton"_s) {
        if (qobject_cast<LabelButton *>(object) || qobject_cast<PictureButton *>(object))
            return new CommandAccessible(static_cast<QWidget *>(object));
    }
    // A row surface is a plain widget subclass without a class name of its own.
    if (className == u"QWidget"_s && object->isWidgetType()) {
        if (const auto *rows = dynamic_cast<const Accessibility::RowSource *>(object))
            return new RowsAccessible(static_cast<QWidget *>(object), rows);
    }
    return nullptr;
}

} // namespace

namespace Accessibility {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace Accessibility
