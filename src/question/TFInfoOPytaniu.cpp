#include "question/TFInfoOPytaniu.h"

#include "core/Workspace.h"
#include "question/TestEditorLink.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"

#include <QLabel>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::InfoOPytaniu;

namespace {
constexpr QPoint kOffset{190, 80};

QString oneLine(const QString &s)
{
    QString out = s;
    return out.replace(u"\r\n"_s, u" "_s).replace(u'\r', u' ').replace(u'\n', u' ');
}
} // namespace

TFInfoOPytaniu::TFInfoOPytaniu(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FInfoOPytaniu"_s, u"pytanie_about.htm"_s, parent), m_ws(ws)
{
    setHelpOpener(m_ws.helpOpener());
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});
    m_file = addLabel(u"LNazwaPlikuPytania"_s, G::fileLine);
    QFont bold = m_file->font();
    bold.setBold(true);
    bold.setPixelSize(14);
    m_file->setFont(bold);
    m_type = addLabel(u"LTypTestu"_s, G::typeLine);
    m_count = addLabel(u"LIloscOdpowiedzi"_s, G::countLine);
    m_text = addLabel(u"LTrescPytania"_s, G::text.adjusted(8, 4, -8, -4), true);
    QPalette muted = palette();
    muted.setColor(QPalette::WindowText, QColor(95, 114, 128));
    for (int i = 0; i < kMaxAnswers; ++i) {
        m_answers.append(addLabel(u"LOdpNr%1"_s.arg(i + 1), G::answer(i)));
        QLabel *number = addLabel(QString(), G::answerNumber(i));
        number->setText(u"%1."_s.arg(i + 1));
        number->setPalette(muted);
        m_numbers.append(number);
    }
    m_correct = addLabel(u"LNrPoprawnejOdp"_s, G::correct);
    m_textName = addLabel(u"LNazwaTekstu"_s, G::textName);
    m_imageName = addLabel(u"LNazwaObrazu"_s, G::imageName);
    m_comment = addLabel(u"LKomentarz"_s, G::comment);
    m_verdict = addLabel(u"LPodsumowaniePytanieSolo"_s, G::verdict.adjusted(10, 4, -10, -4), true);
    m_verdict->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_acceptPanel = new QWidget(this);
    m_acceptPanel->setObjectName(u"PPodWprowadz"_s);
    m_acceptPanel->setGeometry(QRect(G::accept, SkinGeometry::pictureButtonSize));
    m_accept = new PictureButton(u"ImWprowadz"_s, u"wprowadz"_s, {0, 0}, m_acceptPanel);
    m_cancel = new PictureButton(u"ImAnuluj"_s, u"anuluj"_s, G::cancel, this);
    connect(m_accept, &PictureButton::clicked, this, &TFInfoOPytaniu::addQuestion);
    connect(m_cancel, &PictureButton::clicked, this, &QDialog::reject);
}

QLabel *TFInfoOPytaniu::addLabel(const QString &name, const QRect &area, bool wrap)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setGeometry(area);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    label->setAlignment(wrap ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void TFInfoOPytaniu::prepare(TestEditorLink *testEditor)
{
    m_test = testEditor;
    m_added = false;
    const QuestionInfo::Report r = QuestionInfo(m_ws, m_test).fillInfoReport();
    const auto elided = [](QLabel *label, const QString &text) {
        const QString line = oneLine(text);
        label->setText(label->fontMetrics().elidedText(line, Qt::ElideRight, label->width()));
        label->setToolTip(label->text() == line ? QString() : text);
    };
    elided(m_file, r.fileLine);
    m_type->setText(r.typeLine);
    m_count->setText(r.countLine);
    m_text->setText(QString(r.text).replace(u'\r', u'\n'));
    const int lines = m_ws.question.answerCount >= kMaxAnswers ? kMaxAnswers : kMaxAnswers - 1;
    for (int i = 0; i < kMaxAnswers; ++i) {
        elided(m_answers[i], r.answers[i]);
        m_numbers[i]->setVisible(i < lines);
    }
    m_correct->setText(r.correctLine);
    elided(m_textName, r.textLine);
    elided(m_imageName, r.imageLine);
    elided(m_comment, r.commentLine);
    m_verdict->setText(r.verdict);
    m_acceptPanel->setVisible(r.fits);
}

bool TFInfoOPytaniu::run(TestEditorLink *testEditor)
{
    prepare(testEditor);
    if (testEditor)
        placeAt(testEditor->position() + kOffset);
    else
        centreOnScreen();
    exec();
    return m_added;
}

QString TFInfoOPytaniu::labelText(const QString &name) const
{
    const auto *label = findChild<QLabel *>(name);
    return label ? label->text() : QString();
}

bool TFInfoOPytaniu::acceptShown() const
{
    return m_acceptPanel->isVisibleTo(this);
}

void TFInfoOPytaniu::addQuestion()
{
    if (!acceptShown())
        return;
    m_added = QuestionInfo(m_ws, m_test).addQuestionFromFile() == QuestionInfo::Outcome::Added;
    // The window closes whether or not a clash dialog was cancelled.
    accept();
}

bool TFInfoOPytaniu::cancelKey()
{
    reject();
    return true;
}
