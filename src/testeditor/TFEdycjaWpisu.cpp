#include "testeditor/TFEdycjaWpisu.h"

#include "testeditor/TestListEditor.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::EdycjaWpisu;

TFEdycjaWpisu::TFEdycjaWpisu(QWidget *parent)
    : SkinnedWindow(u"FEdycjaWpisu"_s, u"listatest_new.htm"_s, parent)
{
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});
    setStyleSheet(u"QLineEdit { border: none; background: transparent; color: #2e2e2e; padding: 0 4px;"
                  u" selection-background-color: #e8a93c; }"_s);

    m_name = new QLineEdit(this);
    m_name->setObjectName(u"EWpis"_s);
    m_name->setGeometry(G::name);
    m_name->setMaxLength(TestListEditor::kMaxNameLength);
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_editor)
            m_editor->entry.name = text;
    });

    m_link = new QLabel(this);
    m_link->setObjectName(u"LSciezka"_s);
    m_link->setGeometry(G::link);
    m_link->setContentsMargins(4, 0, 4, 0);
    m_link->setTextFormat(Qt::PlainText);

    m_pick = new LabelButton(u"LOpenPlik"_s, u"Wskaż  F10"_s, G::pick, this);
    m_pick->setAlignment(Qt::AlignCenter);
    connect(m_pick, &LabelButton::clicked, this, &TFEdycjaWpisu::pick);
    addAcceptCancelLabels(u"LWprowadz"_s, G::accept, G::cancel);
}

void TFEdycjaWpisu::run(TestListEditor &editor, QPoint at)
{
    m_editor = &editor;
    m_pick->setToolTip(editor.listKind == TestListEditor::Kind::TestList
                           ? u"Wskaż plik testu"_s
                           : u"Wskaż folder z zestawem pytań"_s);
    showFields();
    m_name->selectAll();
    m_name->setFocus();
    placeAt(at);
    exec();
    m_editor = nullptr;
}

void TFEdycjaWpisu::showFields()
{
    if (!m_editor)
        return;
    m_name->setText(m_editor->entry.name);
    // A long link shows its end, where the file's name is.
    m_link->setText(m_editor->entry.shownLink);
    m_link->setToolTip(m_editor->entry.shownLink);
    m_link->setAlignment(m_link->sizeHint().width() > m_link->width() ? Qt::AlignRight | Qt::AlignVCenter
                                                                      : Qt::AlignLeft | Qt::AlignVCenter);
}

void TFEdycjaWpisu::pick()
{
    if (!m_editor)
        return;
    m_editor->pickLink();
    const QString name = m_editor->entry.name;
    showFields();
    m_name->setText(name);
    m_name->setFocus();
}

bool TFEdycjaWpisu::acceptKey()
{
    if (!m_editor)
        return true;
    m_editor->entry.name = m_name->text();
    m_editor->acceptEntry();
    accept();
    return true;
}

bool TFEdycjaWpisu::cancelKey()
{
    reject();
    return true;
}

bool TFEdycjaWpisu::commandKey(const QKeyEvent *key)
{
    if (!isPlain(key, Qt::Key_F10))
        return false;
    pick();
    return true;
}
