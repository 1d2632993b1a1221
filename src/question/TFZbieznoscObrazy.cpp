#include "question/TFZbieznoscObrazy.h"

#include "storage/Pictures.h"
#include "toolkit/SkinGeometry.h"

#include <QLabel>
#include <QPixmap>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Zbieznosc;

namespace {
QLabel *picturePreview(const QString &name, const QRect &panel, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(panel.adjusted(4, 4, -4, -4));
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(95, 114, 128)); // the note shown instead of a picture
    label->setPalette(pal);
    return label;
}

// Fits the picture into the panel without enlarging it; a picture that cannot be read says so.
void showPicture(QLabel *label, const QByteArray &bytes, const QString &fileName)
{
    QImage image;
    if (!decodePicture(bytes, fileName, image, nullptr, fitInto(label->size())) || image.isNull()) {
        label->setPixmap({});
        label->setText(u"Nie można pokazać tego obrazu."_s);
        return;
    }
    label->setText({});
    label->setPixmap(QPixmap::fromImage(image));
}
} // namespace

TFZbieznoscObrazy::TFZbieznoscObrazy(Prompts &messages, QWidget *parent)
    : TFZbieznosc(u"FZbieznoscObrazy"_s, u"zbieznosc_obrazow.htm"_s, messages, parent)
{
    m_inTest = picturePreview(u"ImObrazWTescie"_s, G::leftPanel, this);
    m_incoming = picturePreview(u"ImObrazWPliku"_s, G::rightPanel, this);
}

void TFZbieznoscObrazy::prepare(const QString &name, const QByteArray &inTest, const QString &inTestName,
                                const QByteArray &incoming, const QString &incomingName,
                                const ClashNameCheck &check)
{
    prepareCommon(name, check);
    showPicture(m_inTest, inTest, inTestName);
    showPicture(m_incoming, incoming, incomingName);
}
