#include "print/TestPrinter.h"

#include "storage/ArchiveAccess.h"
#include "storage/AtomicFile.h"
#include "storage/Cp1250.h"
#include "storage/Pictures.h"
#include "storage/TVfsPAK.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Device units per inch; 720 makes a typographic point ten units.
constexpr int kResolution = 720;
constexpr qreal kUnitsPerMm = kResolution / 25.4;
// Pictures are shown on screen one pixel to a pixel; on paper that is 96 to the inch at most.
constexpr qreal kScreenDpi = 96.0;
// Finer than a printer resolves; larger pictures are reduced to it before they go into the file.
constexpr qreal kPictureDpi = 300.0;
// A passage longer than this is cut: no test needs it, and a damaged member could be huge.
constexpr int kMaxPassageChars = 100000;

constexpr qreal mm(qreal v)
{
    return v * kUnitsPerMm;
}

// A4 with margins every office printer prints.
constexpr qreal kMarginSide = 18;
constexpr qreal kMarginTop = 12;
constexpr qreal kMarginBottom = 12;
constexpr qreal kContentWidthMm = 210 - 2 * kMarginSide;
constexpr qreal kHeadBand = mm(9); // running head: test name and version, then a rule
constexpr qreal kFootBand = mm(8); // page number
constexpr qreal kIndent = mm(8);   // question text after its number
constexpr qreal kAnswerMark = mm(3.2);
constexpr qreal kAnswerLetter = kIndent + mm(5.5);
constexpr qreal kAnswerText = kIndent + mm(11.5);
constexpr qreal kPictureMaxHeightMm = 110;
constexpr qreal kFramePadding = mm(2.5);

const QColor kInk(20, 20, 20);
const QColor kSoft(90, 90, 90);
const QColor kRule(150, 150, 150);
const QColor kPassageFill(244, 244, 244);

QString gradeName(int i)
{
    static const char16_t *names[] = {u"celujący",    u"bardzo dobry",  u"dobry",
                                      u"dostateczny", u"dopuszczający", u"niedostateczny"};
    return QString::fromUtf16(names[i]);
}

QStringList paragraphs(const QString &text)
{
    static const QRegularExpression breaks(u"\r\n|\n|\r"_s);
    return text.split(breaks);
}

QFont makeFont(qreal points, bool bold = false, bool italic = false, bool sans = false)
{
    QFont f(sans ? u"DejaVu Sans"_s : u"DejaVu Serif"_s);
    f.setStyleHint(sans ? QFont::SansSerif : QFont::Serif);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// One line or block of a printed part. Rows of one group stay on one page when the group fits on a
// page; rows of one frame get one box drawn around them on each page they reach.
struct Row {
    qreal height = 0;
    qreal spaceBefore = 0; // dropped at the top of a page
    int group = -1;
    int frame = -1;
    std::function<void(QPainter &, qreal top)> paint;
};

// A run of pages with its own numbering: one version of the test, or one version's key.
struct Part {
    QString runningLeft;
    QString runningRight;
    QList<Row> rows;
    // Filled by the pagination: per page, each row's index and top.
    QList<QList<std::pair<int, qreal>>> pages;
    PrintOptions::Insert after; // the caller's pages after it
};

} // namespace

// Lays out and paints the parts; all measuring is done against the PDF writer itself.
class PrintLayout {
public:
    PrintLayout(TestPrinter &printer, QPdfWriter &writer, const PrintPlan &plan, PrintResult &result)
        : m_printer(printer), m_writer(writer), m_plan(plan), m_result(result), m_test(printer.m_test)
    {
        m_width = mm(kContentWidthMm);
        const QRectF page = writer.pageLayout().paintRectPixels(kResolution);
        m_bodyHeight = page.height() - kHeadBand - kFootBand;
    }

    void addTest(const PrintVersion &version, const PrintOptions::Insert &after = {});
    void addKey(const PrintVersion &version);
    void paginate();
    int pageCount() const;
    bool paint();

private:
    int newGroup() { return ++m_groups; }
    int newFrame() { return ++m_frames; }
    QString versionName(const PrintVersion &v) const
    {
        return m_plan.shuffled ? u"Wersja "_s + v.letter() : QString();
    }

    // Lines of wrapped text, one row each. `first` paints beside the first line (a question number).
    void addText(Part &part, const QString &text, const QFont &font, qreal left, int group, int frame,
                 qreal spaceBefore, const std::function<void(QPainter &, qreal)> &first = {},
                 const QColor &colour = kInk);
    void addHead(Part &part, const QString &title, const QString &subtitle, const QString &version,
                 int group);
    void addStudentLines(Part &part, int group);
    void addQuestion(Part &part, int position, int number, const std::array<int, kMaxAnswers> &order);
    void addNote(Part &part, const QString &text, qreal left, int group);
    void addGradingScale(Part &part);

    void paintPage(QPainter &p, const Part &part, int page);

    TestPrinter &m_printer;
    QPdfWriter &m_writer;
    const PrintPlan &m_plan;
    PrintResult &m_result;
    const TestModel &m_test;
    qreal m_width = 0;
    qreal m_bodyHeight = 0;
    int m_groups = 0;
    int m_frames = 0;
    QList<Part> m_parts;
};

void PrintLayout::addText(Part &part, const QString &text, const QFont &font, qreal left, int group,
                          int frame, qreal spaceBefore, const std::function<void(QPainter &, qreal)> &first,
                          const QColor &colour)
{
    const qreal width = m_width - left - (frame >= 0 ? 2 * kFramePadding : 0);
    const qreal x = left + (frame >= 0 ? kFramePadding : 0);
    const qreal lineHeight = QFontMetricsF(font, &m_writer).height() * 1.18;
    bool firstLine = true;
    for (const QString &paragraph : paragraphs(text)) {
        auto layout = std::make_shared<QTextLayout>(paragraph, font, &m_writer);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout->setTextOption(option);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine())
            line.setLineWidth(width);
        layout->endLayout();
        for (int i = 0; i < std::max(1, layout->lineCount()); ++i) {
            Row row;
            row.group = group;
            row.frame = frame;
            row.spaceBefore = firstLine ? spaceBefore : 0;
            row.height = lineHeight;
            if (i < layout->lineCount()) {
                row.paint = [layout, i, x, colour, extra = firstLine ? first : nullptr](QPainter &p,
                                                                                        qreal top) {
                    const QTextLine line = layout->lineAt(i);
                    p.setPen(colour);
                    line.draw(&p, QPointF(x, top - line.y()));
                    if (extra)
                        extra(p, top);
                };
            }
            part.rows.append(std::move(row));
            firstLine = false;
        }
    }
}

void PrintLayout::addHead(Part &part, const QString &title, const QString &subtitle, const QString &version,
                          int group)
{
    const QFont titleFont = makeFont(16, true, false, true);
    const qreal boxWidth = version.isEmpty() ? 0 : mm(26);
    auto layout = std::make_shared<QTextLayout>(title, titleFont, &m_writer);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(m_width - boxWidth - (boxWidth > 0 ? mm(4) : 0));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    const qreal boxHeight = version.isEmpty() ? 0 : mm(15);
    Row head;
    head.group = group;
    head.height = std::max(y, boxHeight);
    const QFont boxSmall = makeFont(8, false, false, true);
    const QFont boxBig = makeFont(20, true, false, true);
    const qreal width = m_width;
    head.paint = [layout, version, boxWidth, boxHeight, boxSmall, boxBig, width](QPainter &p, qreal top) {
        p.setPen(kInk);
        layout->draw(&p, QPointF(0, top));
        if (version.isEmpty())
            return;
        const QRectF box(width - boxWidth, top, boxWidth, boxHeight);
        p.setPen(QPen(kInk, mm(0.35)));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(box, mm(1.5), mm(1.5));
        p.setFont(boxSmall);
        p.drawText(box.adjusted(0, mm(1), 0, 0), Qt::AlignHCenter | Qt::AlignTop, u"WERSJA"_s);
        p.setFont(boxBig);
        p.drawText(box.adjusted(0, mm(3), 0, 0), Qt::AlignCenter, version.right(1));
    };
    part.rows.append(std::move(head));
    if (!subtitle.isEmpty())
        addText(part, subtitle, makeFont(9.5, false, false, true), 0, group, -1, mm(1.5), {}, kSoft);
}

void PrintLayout::addStudentLines(Part &part, int group)
{
    Row row;
    row.group = group;
    row.spaceBefore = mm(5);
    row.height = mm(9);
    const QFont label = makeFont(10, false, false, true);
    const qreal width = m_width;
    row.paint = [label, width](QPainter &p, qreal top) {
        p.setFont(label);
        const QFontMetricsF fm(label, p.device());
        const qreal base = top + mm(6);
        // Name takes most of the line; class and date get room for what a pupil writes there.
        const struct {
            const char16_t *text;
            qreal share;
        } fields[] = {{u"Imię i nazwisko:", 0.56}, {u"Klasa:", 0.18}, {u"Data:", 0.26}};
        qreal x = 0;
        for (const auto &f : fields) {
            const QString text = QString::fromUtf16(f.text);
            const qreal end = x + width * f.share - (x + width * f.share < width ? mm(4) : 0);
            p.setPen(kInk);
            p.drawText(QPointF(x, base), text);
            const qreal lineStart = x + fm.horizontalAdvance(text) + mm(1.5);
            p.setPen(QPen(kInk, mm(0.2), Qt::DotLine));
            p.drawLine(QPointF(lineStart, base + mm(0.8)), QPointF(end, base + mm(0.8)));
            x += width * f.share;
        }
    };
    part.rows.append(std::move(row));
}

void PrintLayout::addNote(Part &part, const QString &text, qreal left, int group)
{
    addText(part, text, makeFont(9.5, false, true, true), left, group, -1, mm(1), {}, kSoft);
}

void PrintLayout::addQuestion(Part &part, int position, int number, const std::array<int, kMaxAnswers> &order)
{
    const Question &q = m_test.question(number);
    const int group = newGroup();
    const qreal gap = mm(5);
    bool started = false;
    auto spaceBefore = [&]() { return std::exchange(started, true) ? mm(1.5) : gap; };

    if (!q.textName.isEmpty()) {
        const TestPrinter::Passage &passage = m_printer.passage(q.textName);
        if (!passage.found) {
            m_result.problems.append({number, q.textName, false, {}});
            const qsizetype first = part.rows.size();
            addNote(part, u"[Brak tekstu „%1” w pliku testu.]"_s.arg(q.textName), kIndent, group);
            part.rows[first].spaceBefore = spaceBefore();
        } else {
            const int frame = newFrame();
            Row top;
            top.group = group;
            top.frame = frame;
            top.spaceBefore = spaceBefore();
            top.height = kFramePadding;
            part.rows.append(top);
            addText(part, passage.text, makeFont(10), kIndent, group, frame, 0);
            Row bottom;
            bottom.group = group;
            bottom.frame = frame;
            bottom.height = kFramePadding;
            part.rows.append(bottom);
            // Clear of the box's frame.
            Row gapRow;
            gapRow.group = group;
            gapRow.height = mm(1.5);
            part.rows.append(gapRow);
        }
    }

    const QFont textFont = makeFont(11);
    const QFont numberFont = makeFont(11, true);
    const QString label = QString::number(position) + u'.';
    addText(part, q.text.isEmpty() ? u" "_s : q.text, textFont, kIndent, group, -1, spaceBefore(),
            [label, numberFont](QPainter &p, qreal top) {
                p.setFont(numberFont);
                const QFontMetricsF fm(numberFont, p.device());
                p.drawText(QPointF(0, top + fm.ascent()), label);
            });

    if (!q.imageName.isEmpty()) {
        const TestPrinter::Picture &picture = m_printer.picture(q.imageName);
        if (picture.image.isNull()) {
            m_result.problems.append({number, q.imageName, true, picture.reason});
            addNote(part,
                    picture.found
                        ? u"[Obraz „%1” jest uszkodzony i nie został wydrukowany.]"_s.arg(q.imageName)
                        : u"[Brak obrazu „%1” w pliku testu.]"_s.arg(q.imageName),
                    kIndent, group);
        } else {
            // The printed size: the picture's own at screen size, reduced to the column and a height
            // that leaves room for the answers.
            const QSize px = picture.image.size();
            const qreal naturalW = px.width() / (picture.image.dotsPerMeterX() / 1000.0);
            const qreal naturalH = naturalW * px.height() / px.width();
            const qreal scale = std::min(
                {1.0, (kContentWidthMm - kIndent / kUnitsPerMm) / naturalW, kPictureMaxHeightMm / naturalH});
            const QSizeF size(mm(naturalW * scale), mm(naturalH * scale));
            Row row;
            row.group = group;
            row.spaceBefore = mm(2);
            row.height = size.height();
            const QImage image = picture.image;
            row.paint = [image, size](QPainter &p, qreal top) {
                p.drawImage(QRectF(QPointF(kIndent, top), size), image);
            };
            part.rows.append(std::move(row));
        }
    }

    const bool multiple = m_test.header.multipleChoice != 0;
    const QFont letterFont = makeFont(11, true);
    for (int a = 0; a < m_plan.answerCount; ++a) {
        const QString letter = answerLetter(a) + u'.';
        const QString text = q.answers[static_cast<size_t>(order[static_cast<size_t>(a)])];
        addText(part, text.isEmpty() ? u" "_s : text, textFont, kAnswerText, group, -1,
                a == 0 ? mm(2.5) : mm(1.2), [letter, letterFont, multiple](QPainter &p, qreal top) {
                    p.setFont(letterFont);
                    const QFontMetricsF fm(letterFont, p.device());
                    const qreal base = top + fm.ascent();
                    const qreal middle = base - fm.xHeight() / 2;
                    p.setPen(QPen(kInk, mm(0.3)));
                    p.setBrush(Qt::NoBrush);
                    const QRectF mark(kIndent, middle - kAnswerMark / 2, kAnswerMark, kAnswerMark);
                    if (multiple)
                        p.drawRect(mark);
                    else
                        p.drawEllipse(mark);
                    p.drawText(QPointF(kAnswerLetter, base), letter);
                });
    }
}

void PrintLayout::addTest(const PrintVersion &version, const PrintOptions::Insert &after)
{
    Part part;
    part.after = after;
    part.runningLeft = m_test.header.testName;
    part.runningRight = versionName(version);
    const int head = newGroup();
    const TestHeader &h = m_test.header;
    QStringList facts;
    if (!h.author.trimmed().isEmpty())
        facts << u"Autor: "_s + h.author.trimmed();
    if (!h.date.trimmed().isEmpty())
        facts << u"Data: "_s + h.date.trimmed();
    if (h.time > 0)
        facts << u"Czas: %1 min"_s.arg(h.time);
    const int count = static_cast<int>(version.questions.size());
    facts << (count == 1 ? u"1 pytanie"_s
              : (count % 10 >= 2 && count % 10 <= 4 && (count % 100 < 10 || count % 100 >= 20))
                  ? u"%1 pytania"_s.arg(count)
                  : u"%1 pytań"_s.arg(count));
    addHead(part, h.testName.trimmed().isEmpty() ? u"Test"_s : h.testName.trimmed(), facts.join(u"   ·   "_s),
            versionName(version), head);
    addStudentLines(part, head);
    addText(part,
            h.multipleChoice != 0
                ? u"Zaznacz wszystkie poprawne odpowiedzi (☐); przy pytaniu może być ich kilka."_s
                : u"Zaznacz jedną poprawną odpowiedź (◯) przy każdym pytaniu."_s,
            makeFont(10, false, true), 0, head, -1, mm(4), {}, kSoft);
    Row rule;
    rule.group = head;
    rule.spaceBefore = mm(1);
    rule.height = mm(2);
    const qreal width = m_width;
    rule.paint = [width](QPainter &p, qreal top) {
        p.setPen(QPen(kRule, mm(0.25)));
        p.drawLine(QPointF(0, top + mm(1)), QPointF(width, top + mm(1)));
    };
    part.rows.append(std::move(rule));

    if (version.questions.isEmpty())
        addNote(part, u"Test nie zawiera pytań."_s, 0, newGroup());
    for (int i = 0; i < version.questions.size(); ++i)
        addQuestion(part, i + 1, version.questions[i], version.answers[i]);
    m_parts.append(std::move(part));
}

void PrintLayout::addGradingScale(Part &part)
{
    const TestHeader &h = m_test.header;
    const int total = static_cast<int>(printedQuestionCount(h));
    const int group = newGroup();
    addText(part, u"Skala ocen (1 punkt za pytanie, razem %1 pkt)"_s.arg(total),
            makeFont(11, true, false, true), 0, group, -1, mm(8));
    // Points needed for each grade: the threshold's share of the total, rounded up.
    std::array<int, 6> from{};
    for (int i = 0; i < 5; ++i)
        from[static_cast<size_t>(i)] =
            static_cast<int>(std::ceil(h.thresholds[static_cast<size_t>(i)] * total / 100.0));
    from[5] = 0;
    const QFont font = makeFont(10, false, false, true);
    for (int i = 0; i < 6; ++i) {
        const int low = from[static_cast<size_t>(i)];
        const int high = i == 0 ? total : from[static_cast<size_t>(i - 1)] - 1;
        const QString percent = i < 5 ? u"od %1%"_s.arg(h.thresholds[static_cast<size_t>(i)])
                                      : u"poniżej %1%"_s.arg(h.thresholds[4]);
        const QString points = low > high    ? u"—"_s
                               : low == high ? u"%1 pkt"_s.arg(low)
                                             : u"%1–%2 pkt"_s.arg(low).arg(high);
        Row row;
        row.group = group;
        row.spaceBefore = i == 0 ? mm(2) : 0;
        row.height = mm(6);
        const QString grade = gradeName(i);
        row.paint = [font, grade, percent, points](QPainter &p, qreal top) {
            p.setFont(font);
            p.setPen(kInk);
            const qreal base = top + mm(4.2);
            p.drawText(QPointF(mm(4), base), grade);
            p.drawText(QPointF(mm(50), base), percent);
            p.drawText(QPointF(mm(85), base), points);
            p.setPen(QPen(QColor(210, 210, 210), mm(0.15)));
            p.drawLine(QPointF(mm(2), top + mm(5.8)), QPointF(mm(120), top + mm(5.8)));
        };
        part.rows.append(std::move(row));
    }
}

void PrintLayout::addKey(const PrintVersion &version)
{
    Part part;
    part.runningLeft = m_test.header.testName;
    part.runningRight = m_plan.shuffled ? u"Klucz – wersja "_s + version.letter() : u"Klucz odpowiedzi"_s;
    const int head = newGroup();
    QString facts = m_test.header.testName.trimmed();
    if (m_plan.shuffled)
        facts += u"\nZiarno losowania: %1 (wydruk z tym samym ziarnem powtórzy te wersje)"_s.arg(m_plan.seed);
    addHead(part, u"Klucz odpowiedzi"_s, facts, versionName(version), head);

    // Column by column, fifteen to a column: 45 questions fill three.
    const int count = static_cast<int>(version.questions.size());
    constexpr int perColumn = 15;
    const int rows = std::min(count, perColumn);
    const QFont numberFont = makeFont(11, true, false, true);
    const QFont lettersFont = makeFont(11, false, false, true);
    QList<std::pair<QString, QString>> entries;
    for (int i = 0; i < count; ++i) {
        const Question &q = m_test.question(version.questions[i]);
        QStringList letters;
        for (int a = 0; a < m_plan.answerCount; ++a) {
            if (isCorrectAnswer(q, version.answers[i][static_cast<size_t>(a)]))
                letters << answerLetter(a);
        }
        entries.append({QString::number(i + 1) + u'.', letters.isEmpty() ? u"—"_s : letters.join(u", "_s)});
    }
    const int group = newGroup();
    for (int r = 0; r < rows; ++r) {
        Row row;
        row.group = group;
        row.spaceBefore = r == 0 ? mm(6) : 0;
        row.height = mm(7);
        QList<std::pair<QString, QString>> cells;
        for (int c = r; c < count; c += perColumn)
            cells.append(entries[c]);
        row.paint = [cells, numberFont, lettersFont](QPainter &p, qreal top) {
            const qreal base = top + mm(5);
            for (int c = 0; c < cells.size(); ++c) {
                const qreal x = c * mm(58);
                p.setPen(kInk);
                p.setFont(numberFont);
                p.drawText(QRectF(x, top, mm(10), mm(7)), Qt::AlignRight | Qt::AlignVCenter, cells[c].first);
                p.setFont(lettersFont);
                p.drawText(QPointF(x + mm(13), base), cells[c].second);
                p.setPen(QPen(QColor(210, 210, 210), mm(0.15)));
                p.drawLine(QPointF(x, top + mm(6.8)), QPointF(x + mm(50), top + mm(6.8)));
            }
        };
        part.rows.append(std::move(row));
    }
    if (count == 0)
        addNote(part, u"Test nie zawiera pytań."_s, 0, group);
    if (m_test.header.gradingOn != 0)
        addGradingScale(part);
    m_parts.append(std::move(part));
}

void PrintLayout::paginate()
{
    for (Part &part : m_parts) {
        part.pages.clear();
        part.pages.emplaceBack();
        qreal y = 0;
        for (int i = 0; i < part.rows.size(); ++i) {
            const Row &row = part.rows[i];
            const bool pageEmpty = part.pages.last().isEmpty();
            // A group starts on a new page when it does not fit here but would on a page of its own.
            if (!pageEmpty && (i == 0 || part.rows[i - 1].group != row.group)) {
                qreal groupHeight = 0;
                for (int j = i; j < part.rows.size() && part.rows[j].group == row.group; ++j)
                    groupHeight += part.rows[j].height + (j == i ? 0 : part.rows[j].spaceBefore);
                if (y + row.spaceBefore + groupHeight > m_bodyHeight && groupHeight <= m_bodyHeight) {
                    part.pages.emplaceBack();
                    y = 0;
                }
            }
            if (!part.pages.last().isEmpty() && y + row.spaceBefore + row.height > m_bodyHeight) {
                part.pages.emplaceBack();
                y = 0;
            }
            if (!part.pages.last().isEmpty())
                y += row.spaceBefore;
            part.pages.last().append({i, y});
            y += row.height;
        }
    }
}

int PrintLayout::pageCount() const
{
    int pages = 0;
    for (const Part &part : m_parts)
        pages += static_cast<int>(part.pages.size()) + std::max(0, part.after.pages);
    return pages;
}

void PrintLayout::paintPage(QPainter &p, const Part &part, int page)
{
    const qreal bodyTop = kHeadBand;
    const QFont running = makeFont(8.5, false, false, true);
    p.setFont(running);
    p.setPen(kSoft);
    const QRectF headText(0, 0, m_width, kHeadBand - mm(3));
    const QString right = part.runningRight;
    const qreal rightWidth =
        right.isEmpty() ? 0 : QFontMetricsF(running, &m_writer).horizontalAdvance(right) + mm(6);
    const QString left =
        QFontMetricsF(running, &m_writer).elidedText(part.runningLeft, Qt::ElideRight, m_width - rightWidth);
    p.drawText(headText, Qt::AlignLeft | Qt::AlignBottom, left);
    p.drawText(headText, Qt::AlignRight | Qt::AlignBottom, right);
    p.setPen(QPen(kRule, mm(0.2)));
    p.drawLine(QPointF(0, kHeadBand - mm(2)), QPointF(m_width, kHeadBand - mm(2)));

    const auto &placed = part.pages[page];
    // Boxes first, so that the text stands on them.
    QHash<int, QRectF> frames;
    for (const auto &[index, y] : placed) {
        const Row &row = part.rows[index];
        if (row.frame < 0)
            continue;
        const QRectF area(kIndent, bodyTop + y, m_width - kIndent, row.height);
        frames[row.frame] = frames.contains(row.frame) ? frames[row.frame].united(area) : area;
    }
    for (const QRectF &box : std::as_const(frames)) {
        p.setPen(QPen(kRule, mm(0.3)));
        p.setBrush(kPassageFill);
        p.drawRect(box);
    }
    p.setBrush(Qt::NoBrush);
    for (const auto &[index, y] : placed) {
        const Row &row = part.rows[index];
        if (row.paint)
            row.paint(p, bodyTop + y);
    }

    p.setFont(running);
    p.setPen(kSoft);
    const QRectF foot(0, kHeadBand + m_bodyHeight, m_width, kFootBand);
    p.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
               u"Strona %1 z %2"_s.arg(page + 1).arg(part.pages.size()));
}

bool PrintLayout::paint()
{
    QPainter p;
    if (!p.begin(&m_writer))
        return false;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    bool first = true;
    int pdfPage = 0;
    for (const Part &part : std::as_const(m_parts)) {
        for (int page = 0; page < part.pages.size(); ++page) {
            if (!std::exchange(first, false) && !m_writer.newPage())
                return false;
            paintPage(p, part, page);
            ++pdfPage;
        }
        for (int page = 0; page < part.after.pages && part.after.paint; ++page) {
            if (!std::exchange(first, false) && !m_writer.newPage())
                return false;
            p.save();
            // Page corner as origin, points as unit, whatever the margins and resolution.
            const QMarginsF margins = m_writer.pageLayout().margins(QPageLayout::Point);
            p.scale(kResolution / 72.0, kResolution / 72.0);
            p.translate(-margins.left(), -margins.top());
            part.after.paint(p, page, pdfPage);
            p.restore();
            ++pdfPage;
        }
    }
    return p.end();
}

TestPrinter::TestPrinter(const TestModel &test, TVfsPAK &attachments)
    : m_test(test), m_attachments(attachments)
{}

TestPrinter::~TestPrinter() = default;

const TestPrinter::Picture &TestPrinter::picture(const QString &name)
{
    const QString key = name.toCaseFolded();
    if (const auto found = m_pictures.constFind(key); found != m_pictures.constEnd())
        return *found;
    Picture &picture = m_pictures[key];
    const std::optional<QByteArray> bytes = ExtractStream(name, m_attachments);
    picture.found = bytes.has_value();
    if (!bytes)
        return picture;
    // The largest size it can be printed at: its screen size, within the column and the height
    // limit. Beyond the printer's resolution at that size, pixels only make the file larger, so the
    // picture is decoded at that size.
    const QSize shown = pictureSize(*bytes, name, &picture.reason);
    const qreal naturalWidthMm = shown.width() * 25.4 / kScreenDpi;
    QSize target = shown;
    if (!shown.isEmpty()) {
        const qreal widestMm = std::min({naturalWidthMm, kContentWidthMm - kIndent / kUnitsPerMm,
                                         kPictureMaxHeightMm * shown.width() / shown.height()});
        const int targetWidth = std::max(1, static_cast<int>(std::lround(widestMm / 25.4 * kPictureDpi)));
        if (targetWidth < shown.width())
            target = {targetWidth,
                      std::max(1, static_cast<int>(std::lround(static_cast<double>(shown.height()) *
                                                               targetWidth / shown.width())))};
    }
    QImage image;
    if (shown.isEmpty() ||
        !decodePicture(*bytes, name, image, &picture.reason, [target](QSize) { return target; })) {
        if (picture.reason.isEmpty())
            picture.reason = u"cannot be decoded"_s;
        return picture;
    }
    // Paper has no transparency: what shows through is white.
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
        p.end();
        image = flat;
    }
    // The layout reads the screen size back from the resolution.
    image.setDotsPerMeterX(qRound(image.width() / naturalWidthMm * 1000.0));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    picture.image = image;
    return picture;
}

const TestPrinter::Passage &TestPrinter::passage(const QString &name)
{
    const QString key = name.toCaseFolded();
    if (const auto found = m_passages.constFind(key); found != m_passages.constEnd())
        return *found;
    Passage &passage = m_passages[key];
    const std::optional<QByteArray> bytes = ExtractStream(name, m_attachments);
    passage.found = bytes.has_value();
    if (!bytes)
        return passage;
    QString text = Cp1250::toUnicode(*bytes);
    if (text.size() > kMaxPassageChars) {
        text.truncate(kMaxPassageChars);
        text += u" […]"_s;
    }
    // Control characters other than line breaks are no text a teacher wrote.
    for (QChar &c : text) {
        if (c.unicode() < 32 && c != u'\n' && c != u'\r')
            c = c == u'\t' ? u' ' : QChar(u'\uFFFD');
    }
    // The file's last line break would print as an empty line in the box.
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    passage.text = text;
    return passage;
}

PrintResult TestPrinter::print(const PrintOptions &options, QByteArray &pdf)
{
    PrintResult result;
    if (!planFor(options, result))
        return result;

    pdf.clear();
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginSide, kMarginTop, kMarginSide, kMarginBottom),
                                     QPageLayout::Millimeter));
    writer.setTitle(m_test.header.testName);
    writer.setCreator(u"Zadanix - Edytor "_s + QStringLiteral(ZADANIX_VERSION));

    PrintLayout layout(*this, writer, result.plan, result);
    if (options.key != PrintOptions::Key::Only && !options.booklets.isEmpty()) {
        for (const PrintOptions::Booklet &b : options.booklets) {
            if (b.version < 0 || b.version >= result.plan.versions.size()) {
                result.error = u"a booklet of a version that is not printed."_s;
                return result;
            }
            layout.addTest(result.plan.versions[b.version], b.after);
        }
    } else if (options.key != PrintOptions::Key::Only) {
        for (const PrintVersion &v : std::as_const(result.plan.versions))
            layout.addTest(v);
    }
    if (options.key != PrintOptions::Key::None) {
        for (const PrintVersion &v : std::as_const(result.plan.versions))
            layout.addKey(v);
    }
    layout.paginate();
    result.pages = layout.pageCount();
    if (!layout.paint()) {
        result.error = u"the PDF could not be made."_s;
        pdf.clear();
        return result;
    }
    buffer.close();
    result.problems = uniqueProblems(result.problems);
    result.ok = true;
    return result;
}

bool TestPrinter::planFor(const PrintOptions &options, PrintResult &result) const
{
    if (options.versions < 1 || options.versions > kMaxPrintVersions) {
        result.error = u"the number of versions must be 1 to %1."_s.arg(kMaxPrintVersions);
        return false;
    }
    result.plan = planPrint(m_test.header, options.versions, options.seed);
    return true;
}

QList<AttachmentProblem> TestPrinter::uniqueProblems(const QList<AttachmentProblem> &problems)
{
    QList<AttachmentProblem> unique;
    for (const AttachmentProblem &problem : problems) {
        if (std::none_of(unique.begin(), unique.end(), [&](const AttachmentProblem &u) {
                return u.question == problem.question && u.picture == problem.picture;
            }))
            unique.append(problem);
    }
    std::sort(unique.begin(), unique.end(), [](const AttachmentProblem &a, const AttachmentProblem &b) {
        return std::tie(a.question, a.picture) < std::tie(b.question, b.picture);
    });
    return unique;
}

PrintResult writtenTo(PrintResult result, const QByteArray &bytes, const QString &path)
{
    if (!result.ok)
        return result;
    QString why;
    if (!AtomicFile::write(path, bytes, &why)) {
        result.ok = false;
        result.error = why;
    }
    return result;
}

PrintResult TestPrinter::printToFile(const PrintOptions &options, const QString &path)
{
    QByteArray pdf;
    PrintResult result = print(options, pdf);
    return writtenTo(std::move(result), pdf, path);
}
