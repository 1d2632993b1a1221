#include "students/TFEdycjaUcznia.h"

#include "core/Workspace.h"
#include "students/StudentListEditor.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::EdycjaUcznia;

TFEdycjaUcznia::TFEdycjaUcznia(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FEdycjaUcznia"_s, u"listaucz_new.htm"_s, parent), m_ws(ws)
{
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});
    setStyleSheet(u"QLineEdit { border: none; background: transparent; color: #2e2e2e; padding: 0 4px;"
                  u" selection-background-color: #e8a93c; }"_s);
    m_firstName = new QLineEdit(this);
    m_firstName->setObjectName(u"EImie"_s);
    m_firstName->setGeometry(G::firstName);
    m_surname = new QLineEdit(this);
    m_surname->setObjectName(u"ENazwisko"_s);
    m_surname->setGeometry(G::surname);
    setFocusChain({m_firstName, m_surname});

    addAcceptCancelLabels(u"Lwprowadz"_s, G::accept, G::cancel);
}

void TFEdycjaUcznia::fill(const QString &firstName, const QString &surname)
{
    m_firstName->setText(firstName);
    m_surname->setText(surname);
}

bool TFEdycjaUcznia::run(QString &firstName, QString &surname, QPoint at)
{
    fill(firstName, surname);
    m_firstName->selectAll();
    m_firstName->setFocus();
    placeAt(at);
    if (exec() != QDialog::Accepted)
        return false;
    firstName = m_firstName->text();
    surname = m_surname->text();
    return true;
}

bool TFEdycjaUcznia::acceptKey()
{
    if (StudentListEditor::checkStudentDialog(m_ws, m_firstName->text(), m_surname->text()))
        accept();
    return true;
}

bool TFEdycjaUcznia::cancelKey()
{
    reject();
    return true;
}

