#include "question/TFZbieznosc.h"

#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Zbieznosc;

TFZbieznosc::TFZbieznosc(const QString &skinName, const QString &helpPage, Prompts &messages, QWidget *parent)
    : SkinnedWindow(skinName, helpPage, parent), m_messages(messages)
{
    addDragStrip({0, 0, width() - 40, SkinGeometry::dialogStripHeight});
    m_closeLabel = new LabelButton(u"LClose"_s, u"×"_s, SkinGeometry::closeLabel(width()), this);
    m_closeLabel->setAlignment(Qt::AlignCenter);
    QFont big = m_closeLabel->font();
    big.setPixelSize(22);
    m_closeLabel->setFont(big);

    m_nameLine = new QLabel(this);
    m_nameLine->setObjectName(u"LNazwa"_s);
    m_nameLine->setGeometry(G::nameLine);
    m_nameLine->setTextFormat(Qt::PlainText);

    m_newName = new QLineEdit(this);
    m_newName->setObjectName(u"ENowaNazwa"_s);
    m_newName->setGeometry(G::newName);
    m_newName->setFrame(false);

    m_sameFile = new LabelButton(u"LTenSamPlik"_s, u"To ten sam plik"_s, G::sameFile, this);
    m_otherFile = new LabelButton(u"LInnyPlik"_s, u"To inny plik"_s, G::otherFile, this);
    m_cancel = new PictureButton(u"ImAnuluj"_s, u"anuluj"_s, G::cancel, this);
    m_sameFile->setToolTip(u"Plik w teście i nowy plik są tym samym plikiem."_s);
    m_otherFile->setToolTip(u"Dodaj nowy plik pod nazwą wpisaną obok „Nowa nazwa”."_s);
    QFont commands = m_sameFile->font();
    commands.setPixelSize(14);
    m_sameFile->setFont(commands);
    m_otherFile->setFont(commands);

    connect(m_sameFile, &LabelButton::clicked, this, &TFZbieznosc::sameFile);
    connect(m_otherFile, &LabelButton::clicked, this, &TFZbieznosc::otherFile);
    connect(m_cancel, &PictureButton::clicked, this, &TFZbieznosc::cancel);
    connect(m_closeLabel, &LabelButton::clicked, this, &TFZbieznosc::cancel);
}

ClashAnswer TFZbieznosc::answer() const
{
    ClashAnswer a;
    a.result = static_cast<ClashAnswer::Result>(m_result);
    a.newName = m_newNameResult;
    return a;
}

ClashAnswer TFZbieznosc::ask()
{
    m_newName->setFocus();
    exec();
    return answer();
}

void TFZbieznosc::prepareCommon(const QString &name, const ClashNameCheck &check)
{
    m_check = check;
    m_newName->clear();
    m_result = ClashAnswer::Cancel;
    m_newNameResult.clear();
    const QString line = u"W teście jest już plik o nazwie „%1”."_s.arg(name);
    m_nameLine->setText(m_nameLine->fontMetrics().elidedText(line, Qt::ElideMiddle, G::nameLine.width()));
}

void TFZbieznosc::sameFile()
{
    m_newNameResult.clear();
    m_result = ClashAnswer::SameFile;
    done(m_result);
}

void TFZbieznosc::otherFile()
{
    if (m_newName->text().isEmpty()) {
        m_messages.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, u"\rWpisz nową nazwę pliku."_s);
        return;
    }
    // A name already taken would replace that file for every question using it.
    if (const QString refusal = m_check ? m_check(m_newName->text()) : QString(); !refusal.isEmpty()) {
        m_messages.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, refusal);
        m_newName->setFocus();
        return;
    }
    m_newNameResult = m_newName->text();
    m_result = ClashAnswer::OtherFile;
    done(m_result);
}

void TFZbieznosc::cancel()
{
    m_newNameResult.clear();
    m_result = ClashAnswer::Cancel;
    done(m_result);
}
