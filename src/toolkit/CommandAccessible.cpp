#include "toolkit/CommandAccessible.h"

#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"

#include <QHash>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// A key as the captions write it: "Ctrl+N", "F2", "Del", "Enter", "Esc", "Ctrl+Shift+S".
bool looksLikeKey(const QString &s)
{
    static const QRegularExpression key(
        u"^((Ctrl|Shift|Alt)\\+)*(F([1-9]|1[0-2])|Enter|Esc|Del|Ins|Home|End|Tab|[A-Z0-9])$"_s);
    return key.match(s).hasMatch();
}

// Captions of one sign read as the word they stand for.
QString wordForSign(const QString &caption)
{
    static const QHash<QString, QString> words = {
        {u"×"_s, u"Zamknij"_s},   {u"ℹ"_s, u"Informacje"_s}, {u"▲"_s, u"Więcej"_s},
        {u"▼"_s, u"Mniej"_s},     {u"◀"_s, u"Poprzedni"_s},  {u"▶"_s, u"Następny"_s},
    };
    return words.value(caption, caption);
}

} // namespace

CommandAccessible::CommandAccessible(QWidget *button) : QAccessibleWidget(button, QAccessible::Button) {}

CommandAccessible::Parts CommandAccessible::split(const QString &caption, const QString &toolTip)
{
    static const QRegularExpression gap(u"\\s{2,}"_s);
    const QString trimmed = caption.trimmed();
    const qsizetype last = trimmed.lastIndexOf(gap);
    if (last > 0) {
        const QString tail = trimmed.sliced(last).trimmed();
        if (looksLikeKey(tail))
            return {trimmed.first(last).simplified(), tail};
    }
    static const QRegularExpression hinted(u"\\(([^()]+)\\)\\s*$"_s);
    const QRegularExpressionMatch m = hinted.match(toolTip);
    if (m.hasMatch() && looksLikeKey(m.captured(1)))
        return {wordForSign(trimmed.simplified()), m.captured(1)};
    return {wordForSign(trimmed.simplified()), {}};
}

CommandAccessible::Parts CommandAccessible::parts() const
{
    const QWidget *w = widget();
    if (const auto *label = qobject_cast<const LabelButton *>(w))
        return split(label->text(), label->toolTip());
    // The word and the key of the picture buttons, by the control's name.
    static const QHash<QString, Parts> pictures = {
        {u"ImZapisz"_s, {u"Zapisz"_s, u"Ctrl+S"_s}},   {u"ImAnuluj"_s, {u"Anuluj"_s, u"Esc"_s}},
        {u"ImWprowadz"_s, {u"Wprowadź"_s, u"Enter"_s}}, {u"ImZamknij"_s, {u"Zamknij"_s, u"Esc"_s}},
        {u"ImDrukuj"_s, {u"Drukuj"_s, {}}},             {u"ImGeneruj"_s, {u"Generuj"_s, {}}},
        {u"ImZatwierdz"_s, {u"Zatwierdź"_s, {}}},       {u"ImButTak"_s, {u"Tak"_s, u"T"_s}},
        {u"ImButNie"_s, {u"Nie"_s, u"N"_s}},            {u"ImButAnuluj"_s, {u"Anuluj"_s, u"A"_s}},
        {u"ImButZamknij"_s, {u"Zamknij"_s, u"Z"_s}},
    };
    return pictures.value(w->objectName(), {w->objectName(), {}});
}

QString CommandAccessible::text(QAccessible::Text t) const
{
    const QWidget *w = widget();
    switch (t) {
    case QAccessible::Name:
        return w->accessibleName().isEmpty() ? parts().name : w->accessibleName();
    case QAccessible::Accelerator:
        return parts().key;
    case QAccessible::Description:
        return w->accessibleDescription().isEmpty() ? w->toolTip() : w->accessibleDescription();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State CommandAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = false;
    return s;
}

QStringList CommandAccessible::actionNames() const
{
    return {pressAction()};
}

void CommandAccessible::doAction(const QString &actionName)
{
    // As a click: a disabled or hidden command does nothing.
    QWidget *w = widget();
    if (actionName != pressAction() || !w->isEnabled() || !w->isVisibleTo(w->window()))
        return;
    if (auto *label = qobject_cast<LabelButton *>(w))
        emit label->clicked();
    else if (auto *picture = qobject_cast<PictureButton *>(w))
        emit picture->clicked();
}

QStringList CommandAccessible::keyBindingsForAction(const QString &actionName) const
{
    const QString key = parts().key;
    if (actionName != pressAction() || key.isEmpty())
        return {};
    return {key};
}
