#include "question/TFWstawObraz.h"

#include "toolkit/LabelButton.h"
#include "toolkit/PictureView.h"
#include "toolkit/SkinGeometry.h"
#include "question/ThumbnailStripView.h"

#include <QLabel>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Wstaw;

TFWstawObraz::TFWstawObraz(QuestionEditor &editor, QWidget *parent)
    : TFWstaw(editor, AttachmentCommands::Kind::Image, u"FWstawObraz"_s, u"wstaw_obraz.htm"_s,
              {{u"LNewObraz", u"LOldObraz", u"LListaObrazow", u"LUsunObraz"},
               {u"Nowy plik z dysku ...", u"Ostatnio dołączony", u"Obrazy w teście", u"Usuń obraz z pytania"},
               {u"Wskaż obraz (.jpg, .gif, .bmp) na dysku.", u"Dołącz obraz pokazany obok.",
                u"Wybierz jeden z obrazów, które test już zawiera.", u"Odłącz obraz od tego pytania."},
               u"FWstawObrazSolo",
               u"ImAnulujWstawObraz"},
              parent)
{
    m_previewPanel = new QWidget(this);
    m_previewPanel->setObjectName(u"PPodMiniature"_s);
    m_previewPanel->setGeometry(G::preview.adjusted(1, 1, -1, -1));
    m_miniature = new PictureView(u"ImMiniatura"_s, m_previewPanel);
    m_miniature->setGeometry(m_previewPanel->rect().adjusted(6, 6, -6, -6));
    m_commands.previewBox = m_miniature->size();

    m_listPanel->setObjectName(u"PListaObrazow"_s);
    QPalette pal = m_listPanel->palette();
    pal.setColor(QPalette::Window, QColor(233, 237, 240));
    m_listPanel->setPalette(pal);
    auto *heading = new QLabel(u"Obrazy w teście – kliknij obraz, aby go dołączyć"_s, m_listPanel);
    heading->setGeometry(0, 0, G::list.width(), 24);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_strip = new ThumbnailStripView(u"Obrazki"_s, m_commands.strip, m_listPanel);
    m_strip->setGeometry(G::stripView);
    m_previousArrow = new LabelButton(u"LLastImage"_s, u"◀"_s, G::previousArrow, m_listPanel);
    m_nextArrow = new LabelButton(u"LNastImage"_s, u"▶"_s, G::nextArrow, m_listPanel);
    for (LabelButton *arrow : {m_previousArrow, m_nextArrow}) {
        arrow->setAlignment(Qt::AlignCenter);
        arrow->setAutoFillBackground(true);
        QPalette arrowPal = arrow->palette();
        arrowPal.setColor(QPalette::Window, QColor(110, 136, 152));
        arrow->setPalette(arrowPal);
    }
    m_previousArrow->setToolTip(u"Poprzednie obrazy"_s);
    m_nextArrow->setToolTip(u"Następne obrazy"_s);

    connect(m_nextArrow, &LabelButton::clicked, this, [this] {
        m_commands.strip.next();
        showKindState();
    });
    connect(m_previousArrow, &LabelButton::clicked, this, [this] {
        m_commands.strip.previous();
        showKindState();
    });
    connect(m_strip, &ThumbnailStripView::clickedAt, this,
            [this](int x) { finish(m_commands.pickThumbnailAt(x)); });
}

void TFWstawObraz::showKindState()
{
    m_previewPanel->setVisible(m_commands.picturePreviewShown);
    m_miniature->setPicture(m_commands.picturePreview, m_commands.pictureNote);
    m_nextArrow->setEnabled(m_commands.strip.nextEnabled());
    m_previousArrow->setEnabled(m_commands.strip.previousEnabled());
    m_strip->update();
}
