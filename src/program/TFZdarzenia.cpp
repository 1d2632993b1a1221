#include "program/TFZdarzenia.h"

#include "core/Workspace.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Zdarzenia;

namespace {

// The list sits in the field drawn on the skin, whose arrow is ButListaPlikow: no frame, no arrow of
// its own, and the list drops below the field instead of over it.
const QString levelListStyle = uR"(
QComboBox { border: none; background: transparent; padding-left: 6px; color: #2e2e2e; combobox-popup: 0; }
QComboBox::drop-down { width: 0; border: none; }
QComboBox QAbstractItemView { background: white; border: 1px solid #6e8898; outline: 0; padding: 2px; }
QComboBox QAbstractItemView::item { min-height: 22px; color: #2e2e2e; }
QComboBox QAbstractItemView::item:!selected { background: white; padding-left: 5px; }
QComboBox QAbstractItemView::item:selected { background: #e8a93c; color: #2e2e2e; padding-left: 5px; }
)"_s;

// The view stands on the white panel of the skin: it paints no background of its own, and its scroll
// bar is a slim handle in the bars' tone.
const QString logViewStyle = uR"(
QPlainTextEdit { border: none; background: transparent; color: #2e2e2e; padding: 3px 0;
                 selection-background-color: #e8a93c; selection-color: #2e2e2e; }
QScrollBar:vertical { background: transparent; width: 12px; margin: 4px 2px 4px 0; }
QScrollBar::handle:vertical { background: #a9bac5; min-height: 28px; border-radius: 4px; margin: 0 1px; }
QScrollBar::handle:vertical:hover { background: #6e8898; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: none; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }
)"_s;

constexpr int levelCount = 6;

} // namespace

TFZdarzenia::TFZdarzenia(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FZdarzenia"_s, u"zdarzenia.htm"_s, parent), m_ws(ws)
{
    m_closeLabel = addStripWithCloseLabel();

    m_levels = new QComboBox(this);
    m_levels->setObjectName(u"CListaPlikow"_s);
    m_levels->setGeometry(G::levelList);
    m_levels->setToolTip(u"Lista plików"_s);
    m_levels->setItemDelegate(new QStyledItemDelegate(m_levels));
    m_levels->setStyleSheet(levelListStyle);
    m_levels->setCursor(Qt::PointingHandCursor);
    // The first item is spelled as the product has always shown it.
    m_levels->addItems(
        {u"Pozom 0"_s, u"Poziom 1"_s, u"Poziom 2"_s, u"Poziom 3"_s, u"Poziom 4"_s, u"Poziom 5"_s});
    m_levels->view()->setMinimumWidth(G::levelList.width() + G::levelListButton.width());
    m_levels->view()->window()->installEventFilter(this);

    m_levelButton = new LabelButton(u"ButListaPlikow"_s, QString(), G::levelListButton, this);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(u"MText"_s);
    m_text->setGeometry(G::log.adjusted(4, 2, -1, -2));
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->viewport()->setAutoFillBackground(false);
    m_text->setStyleSheet(logViewStyle);
    m_text->setPlaceholderText(u"Dziennik jest pusty."_s);
    QFont mono(u"DejaVu Sans Mono"_s);
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(12);
    m_text->setFont(mono);

    QFont commands = font();
    commands.setPixelSize(14);
    const QRect bar(0, G::barTop, width(), height() - G::barTop);
    m_clear =
        new LabelButton(u"LWyczysc"_s, u"Wyczyść"_s, {bar.width() - 236, bar.top() + 10, 110, 32}, this);
    m_close =
        new LabelButton(u"LZamknij"_s, u"Zamknij"_s, {bar.width() - 124, bar.top() + 10, 110, 32}, this);
    for (LabelButton *label : {m_clear, m_close}) {
        label->setFont(commands);
        label->setAlignment(Qt::AlignCenter);
    }
    m_clear->setToolTip(u"Usuwa wszystkie wpisy z dziennika."_s);

    connect(m_levels, &QComboBox::activated, this, &TFZdarzenia::levelChosen);
    connect(m_levelButton, &LabelButton::clicked, this, &TFZdarzenia::toggleLevelList);
    connect(m_clear, &LabelButton::clicked, this, &TFZdarzenia::clearLog);
    connect(m_close, &LabelButton::clicked, this, &TFZdarzenia::accept);
    connect(m_closeLabel, &LabelButton::clicked, this, &TFZdarzenia::accept);
}

void TFZdarzenia::showLogWindow(Workspace &ws, QWidget *mainWindow)
{
    TFZdarzenia window(ws, mainWindow);
    window.run();
}

bool TFZdarzenia::prepare()
{
    const int level = m_ws.log.filterLevel();
    m_levels->setCurrentIndex(level >= 0 && level < levelCount ? level : -1);

    const std::optional<QString> log = m_ws.log.readAll();
    if (!log) {
        m_text->clear();
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Problem z wczytaniem pliku zdarzeń.\rPlik jest uszkodzony."_s);
        return false;
    }
    QString text = *log;
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    m_text->setPlainText(text);
    m_text->moveCursor(QTextCursor::End);
    return true;
}

void TFZdarzenia::run()
{
    if (!prepare())
        return;
    placeAt({m_ws.mainLeft + 100, m_ws.mainTop + 37});
    exec();
}

void TFZdarzenia::toggleLevelList()
{
    if (levelListOpen())
        m_levels->hidePopup();
    else
        m_levels->showPopup();
}

bool TFZdarzenia::levelListOpen() const
{
    return m_levels->view()->isVisible();
}

// The newest entries are at the end of the file: the view opens there.
void TFZdarzenia::showEvent(QShowEvent *event)
{
    SkinnedWindow::showEvent(event);
    m_text->ensureCursorVisible();
}

bool TFZdarzenia::eventFilter(QObject *watched, QEvent *event)
{
    // A press on ButListaPlikow while the list is open closes the list; it must not reach the arrow
    // afterwards, or the list would open again at once.
    if (watched == m_levels->view()->window() && event->type() == QEvent::MouseButtonPress) {
        const QPoint global = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if (m_levelButton->rect().contains(m_levelButton->mapFromGlobal(global)))
            m_levels->view()->window()->setAttribute(Qt::WA_NoMouseReplay);
    } else if (watched == m_levels->view()->window() && event->type() == QEvent::Show) {
        m_levels->view()->window()->setAttribute(Qt::WA_NoMouseReplay, false);
    }
    return SkinnedWindow::eventFilter(watched, event);
}

void TFZdarzenia::levelChosen(int index)
{
    if (index >= 0 && index < levelCount)
        m_ws.setLogLevel(index);
}

void TFZdarzenia::clearLog()
{
    if (m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::InfoIcon,
                         u"Czy rzeczywiście wyczyścić?\rTego nie można cofnąć."_s) != MessageResult::Yes)
        return;
    // A file that could not be emptied keeps its lines on screen too.
    if (m_ws.log.clear())
        m_text->clear();
}
