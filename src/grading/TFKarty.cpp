#include "grading/TFKarty.h"

#include "core/Workspace.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/SkinStyle.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

// Where the controls stand over the skin FKarty (800 × 580, command bar from y = 528), which
// resources/art/make-art.sh draws with the same numbers.
constexpr QRect tableArea{17, 47, 446, 420};
constexpr QRect sheetArea{481, 47, 302, 250};
constexpr QRect reviewArea{481, 331, 302, 72};
constexpr int reviewCaptionTop = 307;
constexpr int lettersTop = 410;
constexpr QRect progressArea{17, 480, 446, 18};
constexpr QRect statusArea{17, 500, 766, 24};
constexpr int barTop = 528;

const QString tableStyle = u"QTableWidget { border: none; background: white; color: #2e2e2e; gridline-color: #e3eaf0;"
                           u" selection-background-color: #e8a93c; selection-color: #2e2e2e; }"
                           u" QHeaderView::section { background: #e9edf0; color: #3e5566; border: none;"
                           u" border-bottom: 1px solid #b4c2cc; padding: 3px; }"_s;

// The straightened grid with each box's reading drawn over it: green marked, red uncertain, grey
// cancelled.
QImage marksOver(const SheetReading &r)
{
    QImage image = r.grid.convertToFormat(QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal k = SheetReader::kPixelsPerPoint;
    const QPointF origin = r.geometry.gridRect().topLeft();
    for (int i = 0; i < r.boxes.size() && i < r.geometry.boxes.size(); ++i) {
        const BoxMark m = r.boxes[i].mark;
        if (m == BoxMark::Empty)
            continue;
        const QColor colour = m == BoxMark::Marked      ? QColor(30, 150, 60)
                              : m == BoxMark::Uncertain ? QColor(220, 40, 40)
                                                        : QColor(120, 120, 120);
        p.setPen(QPen(colour, 5));
        const QPointF c = (r.geometry.boxes[i].centre - origin) * k;
        const qreal h = (r.geometry.boxHalf + 2.5) * k;
        p.drawRect(QRectF(c.x() - h, c.y() - h, 2 * h, 2 * h));
    }
    p.end();
    return image;
}

} // namespace

TFKarty::TFKarty(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FKarty"_s, u"karty.htm"_s, parent), m_session(ws)
{
    m_closeLabel = addStripWithCloseLabel();

    m_table = new QTableWidget(0, 6, this);
    m_table->setObjectName(u"TWyniki"_s);
    m_table->setGeometry(tableArea);
    m_table->setHorizontalHeaderLabels(
        {u"Uczeń"_s, u"Klasa"_s, u"Wersja"_s, u"Punkty"_s, u"Procent"_s, u"Ocena"_s});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 6; ++c)
        m_table->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    m_table->setStyleSheet(tableStyle);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) { showSheet(row); });

    m_sheetView = new QLabel(this);
    m_sheetView->setObjectName(u"ImKarta"_s);
    m_sheetView->setGeometry(sheetArea);
    m_sheetView->setAlignment(Qt::AlignCenter);
    m_reviewCaption = new QLabel(this);
    m_reviewCaption->setObjectName(u"LDoPrzejrzenia"_s);
    m_reviewCaption->setGeometry(sheetArea.left(), reviewCaptionTop, sheetArea.width(), 22);
    m_reviewView = new QLabel(this);
    m_reviewView->setObjectName(u"ImWiersz"_s);
    m_reviewView->setGeometry(reviewArea);
    m_reviewView->setAlignment(Qt::AlignCenter);
    for (int a = 0; a < kMaxAnswers; ++a) {
        auto *box = new QCheckBox(QString(QChar(u'A' + a)), this);
        box->setObjectName(u"ChOdp%1"_s.arg(a + 1));
        box->setGeometry(sheetArea.left() + a * 42, lettersTop, 40, 24);
        box->setStyle(SkinStyle::instance());
        box->setCursor(Qt::PointingHandCursor);
        m_letters.append(box);
    }
    m_settle = new LabelButton(u"LRozstrzygnij"_s, u"Rozstrzygnij"_s, {sheetArea.left() + 212, lettersTop - 4, 92, 32}, this);
    connect(m_settle, &LabelButton::clicked, this, &TFKarty::settleCurrent);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"PPostep"_s);
    m_progress->setGeometry(progressArea);
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(u"LStan"_s);
    m_status->setGeometry(statusArea);
    QPalette muted = m_status->palette();
    muted.setColor(QPalette::WindowText, QColor(95, 114, 128));
    m_status->setPalette(muted);

    const int y = barTop + 10;
    m_add = new LabelButton(u"LDodaj"_s, u"Dodaj skany ...   Ctrl+O"_s, {14, y, 190, 32}, this);
    m_save = new LabelButton(u"LZapisz"_s, u"Zapisz wyniki ...   Ctrl+S"_s, {214, y, 200, 32}, this);
    m_print = new LabelButton(u"LDrukuj"_s, u"Drukuj tabelę ...   Ctrl+P"_s, {424, y, 210, 32}, this);
    m_close = new LabelButton(u"LZamknij"_s, u"Zamknij"_s, {width() - 124, y, 110, 32}, this);
    connect(m_add, &LabelButton::clicked, this, [this] { m_session.chooseScan(); });
    connect(m_save, &LabelButton::clicked, this, [this] { m_session.saveResults(); });
    connect(m_print, &LabelButton::clicked, this, [this] { m_session.printResults(); });
    connect(m_close, &LabelButton::clicked, this, &TFKarty::accept);
    connect(m_closeLabel, &LabelButton::clicked, this, &TFKarty::accept);

    connect(&m_session, &GradingSession::progress, this, [this](int pages) {
        m_status->setText(u"Odczytywanie skanów: strona %1 ..."_s.arg(pages));
    });
    connect(&m_session, &GradingSession::changed, this, &TFKarty::showValues);
    connect(&m_session, &GradingSession::finished, this, &TFKarty::showValues);
    showValues();
}

TFKarty::~TFKarty()
{
    m_session.disconnect(this);
}

void TFKarty::showGradingWindow(Workspace &ws, QWidget *editor)
{
    TFKarty window(ws, editor);
    if (editor)
        window.placeAt(editor->pos() + QPoint(60, 40));
    else
        window.centreOnScreen();
    window.exec();
}

void TFKarty::showValues()
{
    const QList<GradedSheet> &sheets = m_session.grader().sheets();
    const int current = m_table->currentRow();
    m_table->setRowCount(static_cast<int>(sheets.size()));
    for (int r = 0; r < sheets.size(); ++r) {
        const GradedSheet &s = sheets[r];
        const SheetCode &c = s.reading.code;
        const QStringList cells{c.pupilName().isEmpty() ? u"(bez nazwiska, %1 s. %2)"_s.arg(s.file).arg(s.page)
                                                        : c.pupilName(),
                                c.className, QString(QChar(u'A' + c.version)),
                                u"%1 / %2"_s.arg(s.points).arg(s.maximum) + (s.needsReview() ? u" ?"_s : QString()),
                                u"%1%"_s.arg(s.percent), s.grade};
        for (int col = 0; col < cells.size(); ++col) {
            QTableWidgetItem *item = m_table->item(r, col);
            if (!item) {
                item = new QTableWidgetItem;
                m_table->setItem(r, col, item);
            }
            item->setText(cells[col]);
            item->setForeground(s.needsReview() ? QColor(190, 30, 30) : QColor(46, 46, 46));
        }
    }
    if (current < 0 && !sheets.isEmpty())
        m_table->setCurrentCell(0, 0);
    const bool busy = m_session.busy();
    m_progress->setRange(0, busy ? 0 : 1);
    m_progress->setValue(busy ? 0 : 1);
    m_add->setEnabled(!busy);
    m_save->setEnabled(!busy && !sheets.isEmpty());
    m_print->setEnabled(!busy && !sheets.isEmpty());
    if (!busy) {
        const int review = static_cast<int>(m_session.grader().reviewItems().size());
        QString status = u"Karty: %1, pominięte strony: %2, znaki do rozstrzygnięcia: %3."_s.arg(sheets.size())
                             .arg(m_session.grader().skipped())
                             .arg(review);
        if (!m_session.messages().isEmpty())
            status += u"  "_s + m_session.messages().last();
        m_status->setText(status);
        m_status->setToolTip(m_session.messages().join(u'\n'));
    }
    showSheet(m_table->currentRow());
    showReview();
}

void TFKarty::showSheet(int sheet)
{
    const QList<GradedSheet> &sheets = m_session.grader().sheets();
    if (sheet < 0 || sheet >= sheets.size()) {
        m_sheetView->clear();
        m_shownSheet = -1;
        return;
    }
    m_shownSheet = sheet;
    const QImage image = marksOver(sheets[sheet].reading);
    m_sheetView->setPixmap(QPixmap::fromImage(
        image.scaled(sheetArea.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TFKarty::showReview()
{
    const QList<ReviewItem> items = m_session.grader().reviewItems();
    const bool any = !items.isEmpty();
    for (QCheckBox *box : std::as_const(m_letters))
        box->setChecked(false);
    m_settle->setEnabled(any);
    if (!any) {
        m_reviewCaption->setText(u"Nie ma znaków do rozstrzygnięcia."_s);
        m_reviewView->clear();
        for (QCheckBox *box : std::as_const(m_letters))
            box->setVisible(false);
        return;
    }
    const ReviewItem &item = items.first();
    const GradedSheet &s = m_session.grader().sheets()[item.sheet];
    const QString who = s.reading.code.pupilName().isEmpty() ? u"karta bez nazwiska"_s : s.reading.code.pupilName();
    m_reviewCaption->setText(u"Rozstrzygnij: %1, pytanie %2 (%3 z %4)"_s.arg(who)
                                 .arg(item.question)
                                 .arg(1)
                                 .arg(items.size()));
    const QRectF row = s.reading.geometry.rowRect(item.question).translated(-s.reading.geometry.gridRect().topLeft());
    const qreal k = SheetReader::kPixelsPerPoint;
    const QImage picture = s.reading.grid.copy(QRectF(row.topLeft() * k, row.size() * k).toRect());
    m_reviewView->setPixmap(QPixmap::fromImage(
        picture.scaled(reviewArea.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    for (int a = 0; a < m_letters.size(); ++a) {
        const bool shown = a < s.reading.code.answers;
        const qsizetype at = qsizetype(item.question - 1) * s.reading.code.answers + a;
        m_letters[a]->setVisible(shown);
        // Only the question's own boxes: past its answers lie the next question's.
        m_letters[a]->setChecked(shown && at < s.reading.boxes.size() &&
                                 s.reading.boxes[at].mark == BoxMark::Marked);
    }
}

void TFKarty::settleCurrent()
{
    const QList<ReviewItem> items = m_session.grader().reviewItems();
    if (items.isEmpty())
        return;
    QString letters;
    for (int a = 0; a < m_letters.size(); ++a)
        if (m_letters[a]->isVisible() && m_letters[a]->isChecked())
            letters += QChar(u'A' + a);
    m_session.settle(items.first().sheet, items.first().question, letters);
}

void TFKarty::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_O:
            m_session.chooseScan();
            return;
        case Qt::Key_S:
            if (m_save->isEnabled())
                m_session.saveResults();
            return;
        case Qt::Key_P:
            if (m_print->isEnabled())
                m_session.printResults();
            return;
        default:
            break;
        }
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_settle->isEnabled()) {
        settleCurrent();
        return;
    }
    SkinnedWindow::keyPressEvent(event);
}
