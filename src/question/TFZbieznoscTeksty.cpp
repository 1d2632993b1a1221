#include "question/TFZbieznoscTeksty.h"

#include "toolkit/SkinGeometry.h"

#include <QLabel>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Zbieznosc;

namespace {
// A panel shows about twenty lines; a longer text is cut, and laying out a huge one would only cost time.
constexpr qsizetype previewLimit = 4000;

QLabel *textPreview(const QString &name, const QRect &panel, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(panel.adjusted(8, 6, -8, -6));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QString shown(const QString &text)
{
    QString s = text.left(previewLimit);
    s.replace(u"\r\n"_s, u"\n"_s);
    s.replace(u'\r', u'\n');
    return s;
}
} // namespace

TFZbieznoscTeksty::TFZbieznoscTeksty(Prompts &messages, QWidget *parent)
    : TFZbieznosc(u"FZbieznoscTeksty"_s, u"zbieznosc_tekstow.htm"_s, messages, parent)
{
    m_inTest = textPreview(u"LTekstWTescie"_s, G::leftPanel, this);
    m_incoming = textPreview(u"LTekstWPliku"_s, G::rightPanel, this);
}

void TFZbieznoscTeksty::prepare(const QString &name, const QString &inTest, const QString &incoming,
                                const ClashNameCheck &check)
{
    prepareCommon(name, check);
    m_inTest->setText(shown(inTest));
    m_incoming->setText(shown(incoming));
}
