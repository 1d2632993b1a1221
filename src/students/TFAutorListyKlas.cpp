#include "students/TFAutorListyKlas.h"

#include "students/StudentListEditor.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/TextMemo.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::AutorListyKlas;

TFAutorListyKlas::TFAutorListyKlas(QWidget *parent)
    : SkinnedWindow(u"FAutorListyKlas"_s, u"listaucz_new.htm"_s, parent)
{
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});
    setStyleSheet(u"QLineEdit, QPlainTextEdit { border: none; background: transparent; color: #2e2e2e;"
                  u" padding: 0 4px; selection-background-color: #e8a93c; }"_s);
    m_author = new QLineEdit(this);
    m_author->setObjectName(u"EAutor"_s);
    m_author->setGeometry(G::author);
    m_remarks = new TextMemo(this);
    m_remarks->setObjectName(u"MUwagi"_s);
    m_remarks->setGeometry(G::remarks);
    m_remarks->setTabChangesFocus(false);
    setFocusChain({m_author, m_remarks});
    // Also in the remarks: Enter accepts rather than breaking the line.
    setEnterAcceptsInTextBoxes(true);

    addAcceptCancelLabels(u"Lwprowadz"_s, G::accept, G::cancel);
}

void TFAutorListyKlas::fill(const QString &author, const QString &remarks)
{
    m_author->setText(author);
    m_remarks->setStoredText(remarks);
}

void TFAutorListyKlas::run(StudentListEditor &editor, QPoint at)
{
    m_editor = &editor;
    fill(editor.list.author, editor.list.remarks);
    m_author->setFocus();
    placeAt(at);
    exec();
    m_editor = nullptr;
}

bool TFAutorListyKlas::acceptKey()
{
    if (m_editor && m_editor->acceptListInfo(m_author->text(), m_remarks->storedText()))
        accept();
    return true;
}

bool TFAutorListyKlas::cancelKey()
{
    reject();
    return true;
}

