#include "program/TFWarning.h"

#include "storage/Pictures.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Warning;

TFWarning::TFWarning(QWidget *parent) : SkinnedWindow(u"FWarning"_s, u"komunikat.htm"_s, parent)
{
    // A close request of the window system (Alt+F4) closes the box without an answer.
    setRefusesCloseRequests(false);

    addDragStrip({0, 0, width() - 40, SkinGeometry::dialogStripHeight});
    m_closeLabel = new LabelButton(u"LClose"_s, u"×"_s, SkinGeometry::closeLabel(width()), this);
    m_closeLabel->setAlignment(Qt::AlignCenter);
    QFont big = m_closeLabel->font();
    big.setPixelSize(22);
    m_closeLabel->setFont(big);

    m_icon = new QLabel(this);
    m_icon->setObjectName(u"ImIkona"_s);
    m_icon->setGeometry(G::icon);

    m_text = new QLabel(this);
    m_text->setObjectName(u"LTekstWarning"_s);
    m_text->setGeometry(G::text);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont textFont = m_text->font();
    textFont.setPixelSize(14);
    m_text->setFont(textFont);
    // A text too long for the box is cut after the last whole line: the label's height is a whole
    // number of its own lines.
    m_text->setText(u"x"_s);
    const int oneLine = m_text->heightForWidth(G::text.width());
    m_text->setText(u"x\nx"_s);
    const int lineHeight = m_text->heightForWidth(G::text.width()) - oneLine;
    if (lineHeight > 0)
        m_text->resize(G::text.width(), oneLine + (G::text.height() - oneLine) / lineHeight * lineHeight);

    m_yes = new PictureButton(u"ImButTak"_s, u"buttak"_s, {G::buttonLefts[0], G::buttonTop}, this);
    m_no = new PictureButton(u"ImButNie"_s, u"butnie"_s, {G::buttonLefts[1], G::buttonTop}, this);
    m_cancel = new PictureButton(u"ImButAnuluj"_s, u"butanuluj"_s, {G::buttonLefts[2], G::buttonTop}, this);
    m_close = new PictureButton(u"ImButZamknij"_s, u"butzamknij"_s, {G::buttonLefts[1], G::buttonTop}, this);

    connect(m_yes, &PictureButton::clicked, this, [this] { finish(MessageResult::Yes); });
    connect(m_no, &PictureButton::clicked, this, [this] { finish(MessageResult::No); });
    connect(m_cancel, &PictureButton::clicked, this, [this] { finish(MessageResult::Cancel); });
    connect(m_close, &PictureButton::clicked, this, [this] { finish(MessageResult::Close); });
    connect(m_closeLabel, &LabelButton::clicked, this,
            [this] { finish(yesNoCancel() ? MessageResult::Cancel : MessageResult::Close); });

    prepare(MessageKind::CloseOnly, MessageIcon::InfoIcon, {});
}

MessageResult TFWarning::showMessage(MessageKind kind, MessageIcon icon, const QString &text)
{
    prepare(kind, icon, text);
    centreOnScreen();
    exec();
    return m_answer;
}

void TFWarning::prepare(MessageKind kind, MessageIcon icon, const QString &text)
{
    m_kind = kind;
    m_yes->setHighlighted(true);
    m_no->setHighlighted(false);
    m_cancel->setHighlighted(false);
    m_close->setHighlighted(false);

    const bool three = yesNoCancel();
    m_yes->setVisible(three);
    m_no->setVisible(three);
    m_cancel->setVisible(three);
    m_close->setVisible(!three);
    if (three) {
        m_focused = FocusYes;
    } else {
        m_close->setHighlighted(true);
        m_focused = FocusClose;
    }

    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    shown.replace(u'\r', u'\n');
    m_text->setText(shown);

    QImage picture;
    const QString iconName = icon == MessageIcon::QuestionIcon  ? u"ikopytanie"_s
                             : icon == MessageIcon::WarningIcon ? u"ikouwaga"_s
                                                                : u"ikoinfo"_s;
    LoadSkinImage(iconName, picture);
    m_icon->setPixmap(QPixmap::fromImage(picture));
    m_icon->setProperty("iconName", iconName);

    m_answer = MessageResult::No;
}

void TFWarning::tabPressed()
{
    moveHighlight(+1);
}

void TFWarning::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_F4 && mods == Qt::AltModifier) {
        close();
        return;
    }
    if (key == Qt::Key_F1 && mods == Qt::NoModifier) {
        helpRequested();
        return;
    }
    const bool plain = (mods & ~Qt::ShiftModifier) == Qt::NoModifier;
    switch (key) {
    case Qt::Key_T:
        if (plain && yesNoCancel())
            finish(MessageResult::Yes);
        break;
    case Qt::Key_N:
        if (plain && yesNoCancel())
            finish(MessageResult::No);
        break;
    case Qt::Key_A:
        if (plain && yesNoCancel())
            finish(MessageResult::Cancel);
        break;
    case Qt::Key_Z:
        if (plain && !yesNoCancel())
            finish(MessageResult::Close);
        break;
    case Qt::Key_Escape:
        if (!yesNoCancel())
            finish(MessageResult::Close);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        finish(m_focused == FocusClose ? MessageResult::Close : static_cast<MessageResult>(m_focused));
        break;
    case Qt::Key_Right:
        moveHighlight(+1);
        break;
    case Qt::Key_Left:
        moveHighlight(-1);
        break;
    default:
        break; // every other key is swallowed
    }
}

void TFWarning::finish(MessageResult result)
{
    m_answer = result;
    done(static_cast<int>(result));
}

void TFWarning::moveHighlight(int step)
{
    if (m_focused == FocusClose)
        return;
    button(m_focused)->setHighlighted(false);
    m_focused = (m_focused - 1 + step + 3) % 3 + 1; // yes → no → cancel → yes, and back
    button(m_focused)->setHighlighted(true);
}

PictureButton *TFWarning::button(int focused) const
{
    switch (focused) {
    case FocusYes:
        return m_yes;
    case FocusNo:
        return m_no;
    case FocusCancel:
        return m_cancel;
    default:
        return m_close;
    }
}
