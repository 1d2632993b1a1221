#include "testeditor/TFMenu.h"

#include "testeditor/TestEditor.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Menu;

TFMenu::TFMenu(TestEditor &editor, QWidget *parent) : QFrame(parent), m_editor(editor)
{
    setObjectName(u"FMenu"_s);
    setStyleSheet(u"QFrame#FMenu { background: #e9edf0; border: 1px solid #3e5566; border-radius: 5px; }"
                  u" QFrame[separator=\"true\"] { background: #b4c2cc; }"_s);
    struct Item {
        const char16_t *name;
        const char16_t *caption;
        bool separatorAfter;
    };
    static constexpr Item items[] = {
        {u"LInfoOPytaniu", u"Informacje o pytaniu", true},
        {u"LEdytujPytanie", u"Edytuj pytanie", false},
        {u"LUsunPytanie", u"Usuń pytanie", true},
        {u"LZapiszPytanieJako", u"Zapisz pytanie jako...", true},
        {u"LUsunTekst", u"Usuń dowiązany tekst", false},
        {u"LUsunObraz", u"Usuń dowiązany obraz", false},
    };
    int y = 4;
    for (size_t i = 0; i < 6; ++i) {
        auto *label = new LabelButton(QString::fromUtf16(items[i].name), QString::fromUtf16(items[i].caption),
                                      {2, y, G::width - 4, G::itemHeight}, this);
        label->setContentsMargins(14, 0, 0, 0);
        label->setHoverColour(QColor(168, 116, 28));
        connect(label, &LabelButton::clicked, this, [this, i] { run(static_cast<Entry>(i)); });
        m_entries[i] = label;
        y += G::itemHeight;
        if (items[i].separatorAfter) {
            auto *line = new QFrame(this);
            line->setProperty("separator", true);
            line->setGeometry(10, y + 3, G::width - 20, 1);
            y += G::separatorHeight;
        }
    }
    resize(G::width, y + 4);
    hide();
}

void TFMenu::showContextMenu(QPoint topLeft)
{
    // Never for "Dane ogólne".
    if (!m_editor.questionSelected()) {
        closeContextMenu();
        return;
    }
    m_question = m_editor.selectedNode();
    entry(RemoveText)->setEnabled(m_editor.canRemoveText());
    entry(RemoveImage)->setEnabled(m_editor.canRemoveImage());
    for (LabelButton *e : m_entries)
        e->setHot(false);
    // Kept inside the editor, where it can be seen.
    if (QWidget *p = parentWidget()) {
        topLeft.setX(std::clamp(topLeft.x(), 0, std::max(0, p->width() - width())));
        topLeft.setY(std::clamp(topLeft.y(), 0, std::max(0, p->height() - height())));
    }
    move(topLeft);
    show();
    raise();
}

void TFMenu::closeContextMenu()
{
    if (!isVisible())
        return;
    hide();
    if (m_focusTarget)
        m_focusTarget->setFocus();
}

void TFMenu::run(Entry e)
{
    closeContextMenu();
    // Only on the question the menu was opened for.
    if (m_question < 1 || m_editor.selectedNode() != m_question) {
        emit acted();
        return;
    }
    switch (e) {
    case Info:
        m_editor.preview();
        break;
    case Edit:
        m_editor.openSelected();
        break;
    case Delete:
        m_editor.deleteSelected();
        break;
    case SaveAs:
        m_editor.saveSelectedQuestionAs();
        break;
    case RemoveText:
        m_editor.removeAttachedText();
        break;
    case RemoveImage:
        m_editor.removeAttachedImage();
        break;
    }
    if (m_focusTarget)
        m_focusTarget->setFocus();
    emit acted();
}
