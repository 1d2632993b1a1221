#include "question/TFWlasnosciPytania.h"

#include "core/Workspace.h"
#include "question/QuestionEditor.h"
#include "question/TestEditorLink.h"
#include "toolkit/PictureButton.h"
#include "toolkit/PictureView.h"
#include "toolkit/SkinGeometry.h"

#include <QLabel>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::WlasnosciPytania;

namespace {
constexpr QPoint kInTestOffset{190, 80};
constexpr QPoint kSingleOffset{150, 50};
// The panels show far less; a long text would only slow the label down.
constexpr int kShownCharacters = 3000;

QString shown(const QString &s)
{
    return s.left(kShownCharacters).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
}
} // namespace

TFWlasnosciPytania::TFWlasnosciPytania(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FWlasnosciPytania"_s, u"pytanie_wlasnosci.htm"_s, parent), m_ws(ws)
{
    setHelpOpener(m_ws.helpOpener());
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});
    m_text = addLabel(u"LTrescPytania"_s, G::text.adjusted(8, 4, -8, -4), true);
    QPalette muted = palette();
    muted.setColor(QPalette::WindowText, QColor(95, 114, 128));
    for (int i = 0; i < kMaxAnswers; ++i) {
        m_answers.append(addLabel(u"LOdpNr%1"_s.arg(i + 1), G::answer(i), false));
        QLabel *number = addLabel(QString(), G::answerNumber(i), false);
        number->setText(u"%1."_s.arg(i + 1));
        number->setPalette(muted);
        m_numbers.append(number);
    }
    m_correct = addLabel(u"LNrPoprawnejOdp"_s, G::correct, false);
    m_comment = addLabel(u"LKomentarz"_s, G::comment.adjusted(8, 4, -8, -4), true);
    m_fragment = addLabel(u"LFragmentTekstu"_s, G::fragment.adjusted(8, 4, -8, -4), true);
    QFont small = m_fragment->font();
    small.setPixelSize(12);
    m_fragment->setFont(small);

    m_picturePanel = new QWidget(this);
    m_picturePanel->setObjectName(u"PPodMiniature"_s);
    m_picturePanel->setGeometry(G::picture.adjusted(1, 1, -1, -1));
    m_miniature = new PictureView(u"ImMiniatura"_s, m_picturePanel);
    m_miniature->setGeometry(m_picturePanel->rect().adjusted(4, 4, -4, -4));

    m_close = new PictureButton(u"ImZamknij"_s, u"zamknij"_s, G::close, this);
    connect(m_close, &PictureButton::clicked, this, &QDialog::accept);
}

QLabel *TFWlasnosciPytania::addLabel(const QString &name, const QRect &area, bool wrap)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setGeometry(area);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    label->setAlignment(wrap ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void TFWlasnosciPytania::fill(const QuestionProperties &p)
{
    m_text->setText(shown(p.text));
    for (int i = 0; i < kMaxAnswers; ++i) {
        const QString line = shown(p.answers[i]).replace(u'\n', u' ');
        QLabel *label = m_answers[i];
        label->setText(label->fontMetrics().elidedText(line, Qt::ElideRight, label->width()));
        label->setToolTip(label->text() == line ? QString() : line);
        m_numbers[i]->setVisible(!line.isEmpty());
    }
    m_correct->setText(p.correctLine);
    m_comment->setText(shown(p.comment));
    m_fragment->setText(shown(p.fragment));
    m_picturePanel->setVisible(p.pictureShown);
    m_miniature->setPicture(p.picture, p.pictureNote);
}

void TFWlasnosciPytania::showForEditor(QuestionEditor &editor)
{
    if (editor.inTest()) {
        fill(QuestionProperties::fromEditorInTest(editor));
        if (TestEditorLink *test = editor.testEditor())
            placeAt(test->position() + kInTestOffset);
        else
            placeAt(editor.position + kInTestOffset);
    } else {
        fill(QuestionProperties::fromSingle(editor));
        placeAt(editor.position + kSingleOffset);
    }
    exec();
}

void TFWlasnosciPytania::showForTestQuestion(int k, QPoint testEditorPosition)
{
    fill(QuestionProperties::fromTestQuestion(m_ws, k));
    placeAt(testEditorPosition + kInTestOffset);
    exec();
}

QString TFWlasnosciPytania::labelText(const QString &name) const
{
    const auto *label = findChild<QLabel *>(name);
    return label ? label->text() : QString();
}

bool TFWlasnosciPytania::miniatureShown() const
{
    return m_picturePanel->isVisibleTo(this);
}

bool TFWlasnosciPytania::cancelKey()
{
    accept();
    return true;
}
