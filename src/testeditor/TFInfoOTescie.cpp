#include "testeditor/TFInfoOTescie.h"

#include "core/Workspace.h"
#include "testeditor/TestEditor.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/UpDown.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::InfoOTescie;

namespace {

const QString fieldStyle =
    u"QLineEdit, QPlainTextEdit { border: none; background: transparent; color: #2e2e2e;"
    u" padding: 0 4px; selection-background-color: #e8a93c; }"
    u" QRadioButton, QCheckBox { color: #2e2e2e; }"_s;

QLineEdit *numberField(const QString &name, const QRect &area, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(area);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

QRadioButton *radio(const QString &name, const QString &caption, const QRect &area, QWidget *parent)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(area);
    button->setStyle(SkinStyle::instance());
    return button;
}

} // namespace

TFInfoOTescie::TFInfoOTescie(TestEditor &editor, QWidget *parent)
    : SkinnedWindow(u"FInfoOTescie"_s, u"test_about.htm"_s, parent), m_info(editor), m_editor(editor)
{
    setHelpOpener(m_editor.workspace().helpOpener());
    setObjectName(u"FInfoOTescie"_s);
    setStyleSheet(fieldStyle);
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});

    m_name = new QLineEdit(this);
    m_name->setObjectName(u"ENazwaTestu"_s);
    m_name->setGeometry(G::name);
    m_author = new QLineEdit(this);
    m_author->setObjectName(u"EAutorTestu"_s);
    m_author->setGeometry(G::author);
    m_comment = new QPlainTextEdit(this);
    m_comment->setObjectName(u"MKomentarz"_s);
    m_comment->setGeometry(G::comment);
    m_comment->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_comment->setTabChangesFocus(false);

    m_time = numberField(u"ECzas"_s, G::time, this);
    m_timeArrows = new UpDown(u"UpDown"_s, G::timeArrows, this);
    connect(m_timeArrows, &UpDown::stepped, this, [this](int direction) {
        takeValues();
        m_info.stepTime(direction);
        showValues();
    });

    m_single = radio(u"RTestPojedynczy"_s, u"Test pojedynczego wyboru"_s, G::singleChoice, this);
    m_multiple = radio(u"RTestWielokrotny"_s, u"Test wielokrotnego wyboru"_s, G::multipleChoice, this);
    auto *types = new QButtonGroup(this);
    types->addButton(m_single);
    types->addButton(m_multiple);
    const QString countNames[] = {u"RTrzyOdp"_s, u"RCzteryOdp"_s, u"RPiecOdp"_s};
    const QString countCaptions[] = {u"Trzy odpowiedzi"_s, u"Cztery odpowiedzi"_s, u"Pięć odpowiedzi"_s};
    auto *counts = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        m_counts[static_cast<size_t>(i)] = radio(countNames[i], countCaptions[i], G::answers(3 + i), this);
        counts->addButton(m_counts[static_cast<size_t>(i)]);
    }

    m_scale = new QCheckBox(u"Test ma własną skalę ocen"_s, this);
    m_scale->setObjectName(u"ChJestSkala"_s);
    m_scale->setGeometry(G::scale);
    m_scale->setStyle(SkinStyle::instance());

    const QString fieldNames[] = {u"ECel"_s, u"EBdb"_s, u"EDb"_s, u"EDst"_s, u"EDp"_s};
    const QString arrowNames[] = {u"UpCel"_s, u"UpBdb"_s, u"UpDb"_s, u"UpDst"_s, u"UpDp"_s};
    for (int i = 0; i < 5; ++i) {
        m_thresholds[static_cast<size_t>(i)] = numberField(fieldNames[i], G::threshold(i), this);
        auto *arrows = new UpDown(arrowNames[i], G::thresholdArrows(i), this);
        connect(arrows, &UpDown::stepped, this, [this, i](int direction) {
            takeValues();
            m_info.stepThreshold(i, direction);
            showValues();
        });
    }

    m_accept = new PictureButton(u"ImZatwierdz"_s, u"zatwierdz"_s, G::accept, this);
    m_cancel = new PictureButton(u"ImAnuluj"_s, u"anuluj"_s, G::cancel, this);
    for (PictureButton *button : {m_accept, m_cancel})
        button->installEventFilter(this);
    connect(m_accept, &PictureButton::clicked, this, &TFInfoOTescie::acceptButton);
    connect(m_cancel, &PictureButton::clicked, this, [this] { done(QDialog::Rejected); });

    // Enter in the comment accepts too; Shift+Enter breaks its line.
    setEnterAcceptsInTextBoxes(true);
    setFocusChain(
        {m_name, m_author, m_comment, m_single, m_multiple, m_counts[0], m_counts[1], m_counts[2], m_scale});
}

void TFInfoOTescie::prepare()
{
    m_info.fill();
    showValues();
    m_filled = shownValues();
}

void TFInfoOTescie::run(QPoint editorAt)
{
    prepare();
    placeAt(editorAt + QPoint(40, 14));
    m_name->setFocus();
    exec();
}

void TFInfoOTescie::showValues()
{
    const TestInfo::Fields &f = m_info.fields;
    if (m_name->text() != f.name)
        m_name->setText(f.name);
    if (m_author->text() != f.author)
        m_author->setText(f.author);
    if (m_comment->toPlainText() != f.comment)
        m_comment->setPlainText(f.comment);
    m_time->setText(QString::number(f.time));
    m_single->setChecked(f.multipleChoice == 0);
    m_multiple->setChecked(f.multipleChoice == 1);
    for (int i = 0; i < 3; ++i)
        m_counts[static_cast<size_t>(i)]->setChecked(f.answerCount == 3 + i);
    for (QRadioButton *r : {m_single, m_multiple, m_counts[0], m_counts[1], m_counts[2]})
        r->setEnabled(m_info.choicesEnabled);
    m_scale->setChecked(f.scale);
    for (size_t i = 0; i < 5; ++i)
        m_thresholds[i]->setText(QString::number(f.thresholds[i]));
}

TestInfo::Fields TFInfoOTescie::shownValues() const
{
    TestInfo::Fields f = m_info.fields;
    f.name = m_name->text();
    f.author = m_author->text();
    f.comment = m_comment->toPlainText();
    f.multipleChoice = m_multiple->isChecked() ? 1 : 0;
    for (int i = 0; i < 3; ++i) {
        if (m_counts[static_cast<size_t>(i)]->isChecked())
            f.answerCount = 3 + i;
    }
    f.scale = m_scale->isChecked();
    return f;
}

void TFInfoOTescie::acceptAndClose()
{
    takeValues();
    m_info.accept();
    done(QDialog::Accepted);
}

void TFInfoOTescie::acceptButton()
{
    takeValues();
    if (m_info.accept())
        done(QDialog::Accepted);
}

bool TFInfoOTescie::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::Leave) && (watched == m_accept || watched == m_cancel))
        static_cast<PictureButton *>(watched)->setHighlighted(type == QEvent::Enter);
    return SkinnedWindow::eventFilter(watched, event);
}

bool TFInfoOTescie::inTextField() const
{
    const QWidget *field = keyField();
    return field && (field == m_name || field == m_author || field == m_comment);
}

bool TFInfoOTescie::acceptKey()
{
    if (!inTextField())
        return false;
    acceptAndClose();
    return true;
}

bool TFInfoOTescie::cancelKey()
{
    if (!inTextField())
        return false;
    done(QDialog::Rejected);
    return true;
}
