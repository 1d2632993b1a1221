#include "question/TFPytanie.h"

#include "core/Workspace.h"
#include "question/TFWlasnosciPytania.h"
#include "question/TFWstawObraz.h"
#include "question/TFWstawTekst.h"
#include "question/TestEditorLink.h"
#include "toolkit/InterfaceColours.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/SkinStyle.h"

#include <QButtonGroup>
#include <QLabel>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Pytanie;

namespace {

const QString fieldStyle = u"QLineEdit, QPlainTextEdit { border: none; background: transparent; color: #2e2e2e;"
                           u" padding: 0 4px; selection-background-color: #e8a93c; }"_s;
const QString popupStyle =
    u"QFrame#PMenu { background: #ffffff; border: 1px solid #3e5566; border-radius: 3px; }"_s;

QString skinFor(int answers)
{
    return u"oknopytanienew"_s + QString::number(answers);
}

LabelButton *commandLabel(const QString &name, const QString &caption, const QRect &area, QWidget *parent)
{
    auto *label = new LabelButton(name, caption, area, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TFPytanie::TFPytanie(Workspace &ws, QWidget *mainWindow, QWidget *parent)
    : SkinnedWindow(skinFor(5), u"pytanie_new.htm"_s, parent), m_ws(ws), m_editor(ws), m_mainWindow(mainWindow)
{
    setHelpOpener(m_ws.helpOpener());
    setObjectName(u"FPytanie"_s);
    m_shownCount = 5;
    addDragStrip({0, 0, G::width, SkinGeometry::dialogStripHeight});
    createControls();
    applyLayout(3, 0);
    // The attachment dialogs and the properties view live as long as the editor: each dialog's file
    // chooser remembers its folder.
    auto *texts = new TFWstawTekst(m_editor, this);
    auto *images = new TFWstawObraz(m_editor, this);
    auto *properties = new TFWlasnosciPytania(ws, this);
    m_dialogs = {
        .textAttachment = [texts](QuestionEditor &) { texts->run(); },
        .imageAttachment = [images](QuestionEditor &) { images->run(); },
        .properties = [properties](QuestionEditor &editor) { properties->showForEditor(editor); },
    };
}

TFPytanie::~TFPytanie() = default;

void TFPytanie::setTestEditor(TestEditorLink *link, QWidget *window)
{
    m_editor.setTestEditor(link);
    m_testWindow = window;
}

void TFPytanie::createControls()
{
    setStyleSheet(fieldStyle);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(u"MTekst"_s);
    m_text->setGeometry(G::text);
    m_text->setTabChangesFocus(false);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            m_editor.setText(m_text->toPlainText());
    });

    QList<QWidget *> chain{m_text};
    for (int i = 1; i <= kMaxAnswers; ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(u"EOdp"_s + QString::number(i));
        connect(field, &QLineEdit::textChanged, this, [this, i](const QString &text) {
            if (!m_filling)
                m_editor.setAnswer(i, text);
        });
        m_answers[static_cast<size_t>(i - 1)] = field;
        chain << field;
    }
    m_comment = new QLineEdit(this);
    m_comment->setObjectName(u"EPodpowiedz"_s);
    connect(m_comment, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_filling)
            m_editor.setComment(text);
    });
    chain << m_comment;

    // The two groups of marks; one of them is shown, by the choice type.
    m_radioPanel = new QWidget(this);
    m_radioPanel->setObjectName(u"POdpPojedyncze"_s);
    m_checkPanel = new QWidget(this);
    m_checkPanel->setObjectName(u"POdpWielokrotne"_s);
    auto *radios = new QButtonGroup(this);
    for (int i = 1; i <= kMaxAnswers; ++i) {
        const QString caption = u"Nr "_s + QString::number(i);
        auto *radio = new QRadioButton(caption, m_radioPanel);
        radio->setObjectName(u"ROdp"_s + QString::number(i));
        radio->setStyle(SkinStyle::instance());
        radio->setCursor(Qt::PointingHandCursor);
        radios->addButton(radio, i);
        connect(radio, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !m_filling) {
                m_editor.selectRadio(i);
                showPopup();
            }
        });
        auto *check = new QCheckBox(caption, m_checkPanel);
        check->setObjectName(u"ChOdp"_s + QString::number(i));
        check->setStyle(SkinStyle::instance());
        check->setCursor(Qt::PointingHandCursor);
        connect(check, &QCheckBox::toggled, this, [this, i](bool on) {
            if (!m_filling)
                m_editor.setChecked(i, on);
        });
        m_radios[static_cast<size_t>(i - 1)] = radio;
        m_checks[static_cast<size_t>(i - 1)] = check;
    }
    for (QRadioButton *radio : m_radios)
        chain << radio;
    for (QCheckBox *check : m_checks)
        chain << check;
    setFocusChain(chain);
    for (QWidget *w : std::as_const(chain))
        w->installEventFilter(this);
    // Clicks in the text land on its viewport.
    m_text->viewport()->installEventFilter(this);

    // The band under the title strip: type, count, attachments, properties.
    m_typeLabel = new LabelButton(u"LJednokrotny"_s, {}, G::typeLabel, this);
    m_countLabel = new LabelButton(u"LIleOdpowiedzi"_s, {}, G::countLabel, this);
    // On the band's light field: white would not read there, so they light in the accent's dark tone.
    for (LabelButton *label : {m_typeLabel, m_countLabel}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setHoverColour(QColor(168, 116, 28));
        // The arrow that tells of the popup stands beside the caption, which stays the plain text.
        label->setContentsMargins(14, 0, 0, 0);
        auto *arrow = new QLabel(u"▾"_s, label);
        arrow->setObjectName(label->objectName() + u"Strzalka"_s);
        arrow->setGeometry(0, 0, 14, label->height());
        arrow->setAlignment(Qt::AlignCenter);
        arrow->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    connect(m_typeLabel, &LabelButton::clicked, this,
            [this] { popupClicked(QuestionEditor::PopupKind::Type); });
    connect(m_countLabel, &LabelButton::clicked, this,
            [this] { popupClicked(QuestionEditor::PopupKind::Count); });
    m_textAttachment = commandLabel(u"LPlikZTekstem"_s, u"Tekst  Alt+T"_s, G::textAttachment, this);
    m_imageAttachment = commandLabel(u"LPlikZObrazem"_s, u"Obraz  Alt+O"_s, G::imageAttachment, this);
    m_properties = commandLabel(u"LZobaczWlasnosci"_s, u"Właściwości"_s, G::properties, this);
    m_textAttachment->setToolTip(u"Plik z tekstem dołączony do pytania"_s);
    m_imageAttachment->setToolTip(u"Obraz dołączony do pytania"_s);
    m_properties->setToolTip(u"Podsumowanie pytania"_s);
    connect(m_textAttachment, &LabelButton::clicked, this, [this] { openDialog(m_dialogs.textAttachment); });
    connect(m_imageAttachment, &LabelButton::clicked, this, [this] {
        m_editor.closePopup();
        showPopup();
        openDialog(m_dialogs.imageAttachment);
    });
    connect(m_properties, &LabelButton::clicked, this, [this] { openDialog(m_dialogs.properties); });

    m_popup = new QFrame(this);
    m_popup->setObjectName(u"PMenu"_s);
    m_popup->setStyleSheet(popupStyle);
    m_popup->installEventFilter(this);
    for (int i = 0; i < 3; ++i) {
        auto *item = new LabelButton(u"Menu"_s + QString::number(i + 1), {},
                                     {1, 1 + i * G::popupItemHeight, G::popupWidth - 2, G::popupItemHeight},
                                     m_popup);
        item->setContentsMargins(12, 0, 0, 0);
        item->setHoverColour(InterfaceColours::questionEditor);
        connect(item, &LabelButton::clicked, this, [this, i] { popupItemChosen(i); });
        m_popupItems[static_cast<size_t>(i)] = item;
    }
    m_popup->hide();

    // The command bar: a test question's commands, covered by the single question's panel.
    m_testPanel = new QWidget(this);
    m_testPanel->setObjectName(u"PPodTest"_s);
    m_accept = commandLabel(u"LWprowadz"_s, u"Wprowadź  Enter"_s, {20, 10, 150, 32}, m_testPanel);
    m_cancel = commandLabel(u"LAnuluj"_s, u"Anuluj  Esc"_s, {180, 10, 130, 32}, m_testPanel);
    m_saveFromTest =
        commandLabel(u"LZapiszPytanieSoloZTestu"_s, u"Zapisz jako pytanie ..."_s, {500, 10, 240, 32}, m_testPanel);
    connect(m_accept, &LabelButton::clicked, this, &TFPytanie::accept);
    connect(m_cancel, &LabelButton::clicked, this, &TFPytanie::cancelOrClose);
    connect(m_saveFromTest, &LabelButton::clicked, this, [this] { m_editor.saveTestQuestionAsSingle(); });

    m_singlePanel = new QWidget(this);
    m_singlePanel->setObjectName(u"PMenuPytanieSolo"_s);
    m_save = commandLabel(u"LZapiszPytanieSolo"_s, u"Zapisz  Ctrl+S"_s, {14, 10, 140, 32}, m_singlePanel);
    m_saveAs = commandLabel(u"LZapiszJako"_s, u"Zapisz jako ...  Ctrl+J"_s, {160, 10, 200, 32}, m_singlePanel);
    m_next = commandLabel(u"LNastepnePytanieSolo"_s, u"Następne pytanie"_s, {380, 10, 180, 32}, m_singlePanel);
    m_close = commandLabel(u"LZamknijPytanieSolo"_s, u"Zamknij  Esc"_s, {600, 10, 146, 32}, m_singlePanel);
    connect(m_save, &LabelButton::clicked, this, [this] { m_editor.saveSingleQuestion(); });
    connect(m_saveAs, &LabelButton::clicked, this, [this] { m_editor.saveSingleQuestionAs(); });
    connect(m_next, &LabelButton::clicked, this, &TFPytanie::nextQuestion);
    connect(m_close, &LabelButton::clicked, this, &TFPytanie::cancelOrClose);
}

bool TFPytanie::applyLayout(int n, int m)
{
    if (n >= 3 && n <= 5) {
        if (n != m_shownCount) {
            if (!setSkin(skinFor(n))) {
                showLayoutFailure();
                return false;
            }
            m_shownCount = n;
        }
        for (int i = 1; i <= kMaxAnswers; ++i) {
            const bool shown = i <= n;
            QLineEdit *field = m_answers[static_cast<size_t>(i - 1)];
            field->setGeometry(G::answer(i));
            field->setVisible(shown);
            m_radios[static_cast<size_t>(i - 1)]->setGeometry(G::mark(i));
            m_radios[static_cast<size_t>(i - 1)]->setVisible(shown);
            m_checks[static_cast<size_t>(i - 1)]->setGeometry(G::mark(i));
            m_checks[static_cast<size_t>(i - 1)]->setVisible(shown);
        }
        m_countLabel->setText(QuestionEditor::countCaption(n));
        m_comment->setGeometry(G::comment(n));
        for (QWidget *panel : {m_radioPanel, m_checkPanel})
            panel->setGeometry(G::marks(n));
        for (QWidget *panel : {m_testPanel, m_singlePanel})
            panel->setGeometry(0, G::barTop(n), G::width, G::barHeight);
    }
    m_typeLabel->setText(QuestionEditor::typeCaption(m));
    m_radioPanel->setVisible(m == 0);
    m_checkPanel->setVisible(m == 1);
    // Only a new single question may change them; disabled labels show the arrow pointer.
    const bool editable = m_editor.typeAndCountEditable();
    m_typeLabel->setEnabled(editable);
    m_countLabel->setEnabled(editable);
    m_editor.closePopup();
    showPopup();
    return true;
}

void TFPytanie::refresh()
{
    applyLayout(m_editor.answerCount(), m_editor.multipleChoice());
    showFields();
    showCommands();
}

void TFPytanie::showLayoutFailure()
{
    m_ws.logEvent(0, u"Błąd wczytywania danych z res - brak obrazu."_s);
    m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                     u"Program jest uszkodzony.\rZainstaluj program ponownie."_s);
}

void TFPytanie::showFields()
{
    m_filling = true;
    const QuestionEditor::Fields &f = m_editor.fields;
    if (m_text->toPlainText() != f.text)
        m_text->setPlainText(f.text);
    for (int i = 0; i < kMaxAnswers; ++i)
        m_answers[static_cast<size_t>(i)]->setText(f.answers[static_cast<size_t>(i)]);
    m_comment->setText(f.comment);
    m_filling = false;
    showMarks();
}

void TFPytanie::showMarks()
{
    m_filling = true;
    const QuestionEditor::Fields &f = m_editor.fields;
    // An exclusive group cannot show no selection; it is lifted while the marks are set.
    QButtonGroup *group = m_radios[0]->group();
    group->setExclusive(false);
    for (int i = 1; i <= kMaxAnswers; ++i) {
        m_radios[static_cast<size_t>(i - 1)]->setChecked(f.radio == i);
        m_checks[static_cast<size_t>(i - 1)]->setChecked(f.checked[static_cast<size_t>(i - 1)]);
    }
    group->setExclusive(true);
    m_filling = false;
}

void TFPytanie::showPopup()
{
    const QStringList items = m_editor.popupItems();
    if (items.isEmpty()) {
        m_popup->hide();
        return;
    }
    const LabelButton *under =
        m_editor.popupKind == QuestionEditor::PopupKind::Type ? m_typeLabel : m_countLabel;
    for (int i = 0; i < 3; ++i) {
        LabelButton *item = m_popupItems[static_cast<size_t>(i)];
        item->setVisible(i < items.size());
        item->setText(items.value(i));
        item->setHot(false);
    }
    m_popup->setGeometry(under->x(), under->geometry().bottom() + 4, G::popupWidth,
                         static_cast<int>(items.size()) * G::popupItemHeight + 2);
    m_popup->show();
    m_popup->raise();
}

void TFPytanie::showCommands()
{
    const bool single = !m_editor.inTest();
    m_singlePanel->setVisible(single);
    m_testPanel->setVisible(!single);
}

void TFPytanie::runModal(QPoint at)
{
    showCommands();
    setDragEnabled(m_ws.settings.wo == 0);
    placeAt(at);
    m_text->setFocus();
    exec();
    m_editor.windowClosed();
}

// --- Entry points -------------------------------------------------------------------------------

bool TFPytanie::showPrepared()
{
    // Filling the widgets is no edit: a recovery copy stays modified, anything else unmodified.
    const bool modified = m_editor.questionModified;
    if (!applyLayout(m_editor.answerCount(), m_editor.multipleChoice())) {
        m_editor.notOpened();
        return false;
    }
    showFields();
    showCommands();
    m_editor.questionModified = modified;
    return true;
}

void TFPytanie::openPrepared(bool prepared)
{
    if (prepared && showPrepared())
        runModal({m_ws.mainLeft + 8, m_ws.mainTop + 9});
}

bool TFPytanie::prepareTestQuestion(int k)
{
    return m_editor.fillFromTest(k) && showPrepared();
}

bool TFPytanie::editTestQuestion(int k)
{
    if (!prepareTestQuestion(k))
        return false;
    runModal(m_testWindow ? m_testWindow->pos() : QPoint(m_ws.mainLeft + 8, m_ws.mainTop + 9));
    return true;
}

void TFPytanie::clearAnswerMarks()
{
    m_editor.clearAnswerMarks();
    showMarks();
}

bool TFPytanie::prepareNewSingleQuestion()
{
    m_editor.newSingleQuestion();
    return showPrepared();
}

void TFPytanie::newSingleQuestion()
{
    m_editor.newSingleQuestion();
    openPrepared(true);
}

void TFPytanie::openSingleQuestion()
{
    openPrepared(m_editor.openSingleQuestion());
}

void TFPytanie::openSingleQuestionFile(const QString &path)
{
    openPrepared(m_editor.openSingleQuestionFile(path));
}

void TFPytanie::openRecoveryCopy(const QString &copy, const QString &original)
{
    openPrepared(m_editor.openRecoveryCopy(copy, original));
}

// --- Commands -----------------------------------------------------------------------------------

void TFPytanie::accept()
{
    if (!m_editor.inTest())
        return;
    if (m_editor.commitTestQuestion() == QuestionEditor::Outcome::Close)
        done(QDialog::Accepted);
}

void TFPytanie::cancelOrClose()
{
    if (m_editor.inTest()) {
        // The texts typed since the window opened are dropped and the marks put back as they were.
        m_editor.cancelTestQuestion();
        done(QDialog::Rejected);
        return;
    }
    if (m_editor.closeQuestion() == QuestionEditor::Outcome::Close) {
        m_text->setFocus();
        done(QDialog::Rejected);
    }
}

void TFPytanie::nextQuestion()
{
    m_editor.nextQuestion();
    if (!applyLayout(m_ws.question.answerCount, m_ws.question.multipleChoice))
        return;
    showFields();
    m_text->setFocus();
}

void TFPytanie::popupClicked(QuestionEditor::PopupKind kind)
{
    m_editor.togglePopup(kind);
    showPopup();
}

void TFPytanie::popupItemChosen(int index)
{
    m_editor.choosePopupItem(index);
    applyLayout(m_ws.question.answerCount, m_ws.question.multipleChoice);
    showFields();
}

void TFPytanie::openDialog(const std::function<void(QuestionEditor &)> &dialog)
{
    if (!dialog)
        return;
    m_editor.position = pos();
    dialog(m_editor);
}

// --- Input --------------------------------------------------------------------------------------

bool TFPytanie::editorKey(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    // Enter and Esc never reach a field, whatever the modifiers: Shift+Enter would break the text's
    // line. Only the plain keys are commands; outside a test Enter does nothing.
    if (k == Qt::Key_Return || k == Qt::Key_Enter) {
        if (mods == Qt::NoModifier)
            accept();
        return true;
    }
    if (k == Qt::Key_Escape) {
        if (mods == Qt::NoModifier)
            cancelOrClose();
        return true;
    }
    if (mods == Qt::ControlModifier && k >= Qt::Key_1 && k <= Qt::Key_4) {
        m_editor.selectAnswerByKey(k - Qt::Key_0);
        showMarks();
        return true;
    }
    if (mods == Qt::ControlModifier && k == Qt::Key_S) {
        m_editor.position = pos();
        m_editor.saveSingleQuestion();
        return true;
    }
    if (mods == Qt::ControlModifier && k == Qt::Key_J) {
        m_editor.position = pos();
        m_editor.saveSingleQuestionAs();
        return true;
    }
    if (mods == Qt::AltModifier && k == Qt::Key_T) {
        openDialog(m_dialogs.textAttachment);
        return true;
    }
    if (mods == Qt::AltModifier && k == Qt::Key_O) {
        m_editor.closePopup();
        showPopup();
        openDialog(m_dialogs.imageAttachment);
        return true;
    }
    if (k == Qt::Key_F1 && mods == Qt::NoModifier) {
        helpRequested();
        return true;
    }
    // Alt+F4 and other Alt keys do nothing here.
    return k == Qt::Key_F4 && mods == Qt::AltModifier;
}

bool TFPytanie::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && watched != dragStrip() && watched != m_popup) {
        if (editorKey(static_cast<QKeyEvent *>(event)))
            return true;
    }
    // A click in the text, an answer field, a mark or the popup's picture closes the popup.
    if (type == QEvent::MouseButtonPress && m_editor.popupKind != QuestionEditor::PopupKind::None &&
        watched != m_typeLabel && watched != m_countLabel) {
        m_editor.closePopup();
        showPopup();
    }
    return SkinnedWindow::eventFilter(watched, event);
}

void TFPytanie::keyPressEvent(QKeyEvent *event)
{
    // Keys that reach the window itself (no field focused) act as in the fields.
    if (!editorKey(event))
        SkinnedWindow::keyPressEvent(event);
    event->accept();
}

void TFPytanie::mousePressEvent(QMouseEvent *event)
{
    m_editor.closePopup();
    showPopup();
    SkinnedWindow::mousePressEvent(event);
}

void TFPytanie::showEvent(QShowEvent *event)
{
    m_editor.position = pos();
    SkinnedWindow::showEvent(event);
}

// In window mode 0 the title strip moves the main window, the test editor and this window together.
void TFPytanie::dragMovedBy(QPoint delta)
{
    if (m_ws.settings.wo != 0)
        return;
    move(pos() + delta);
    m_editor.position = pos();
    if (m_testWindow)
        m_testWindow->move(m_testWindow->pos() + delta);
    if (m_mainWindow) {
        m_mainWindow->move(m_mainWindow->pos() + delta);
        m_ws.mainLeft = m_mainWindow->x();
        m_ws.mainTop = m_mainWindow->y();
    }
}
