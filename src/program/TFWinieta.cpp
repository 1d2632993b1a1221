#include "program/TFWinieta.h"

#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"

using namespace Qt::StringLiterals;

TFWinieta::TFWinieta(QWidget *parent) : SkinnedWindow(u"FWinieta"_s, QString(), parent)
{
    m_close = new LabelButton(u"LCloseWinieta"_s, u"Zamknij"_s, SkinGeometry::Winieta::closeLabel, this);
    m_close->setAlignment(Qt::AlignCenter);
    QFont font = m_close->font();
    font.setPixelSize(15);
    m_close->setFont(font);
    connect(m_close, &LabelButton::clicked, this, &QDialog::accept);
}

void TFWinieta::showBy(const QWidget *mainWindow)
{
    m_close->setHot(false);
    if (mainWindow)
        placeAt(mainWindow->pos() + QPoint(260, 160));
    else
        centreOnScreen();
    exec();
}
