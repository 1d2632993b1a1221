#include "print/EditableTest.h"


#include <QBuffer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Qt's text documents measure in pixels of 96 to the inch; the ODF writer turns them into lengths.
constexpr qreal kPixelsPerMm = 96 / 25.4;
constexpr qreal kTextWidthMm = 170;
constexpr qreal kPictureMaxHeightMm = 110;
constexpr qreal kIndent = 8 * kPixelsPerMm;
constexpr qreal kAnswerIndent = 14 * kPixelsPerMm;

QTextCharFormat textFormat(qreal points, bool bold = false, bool italic = false)
{
    QTextCharFormat f;
    f.setFontFamilies({u"DejaVu Serif"_s, u"Times New Roman"_s});
    f.setFontPointSize(points);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    return f;
}

QTextBlockFormat blockFormat(qreal left = 0, qreal top = 0, qreal hanging = 0)
{
    QTextBlockFormat b;
    b.setLeftMargin(left);
    b.setTextIndent(-hanging);
    b.setTopMargin(top);
    return b;
}

// Lines of a text as paragraphs of the same format.
void insertLines(QTextCursor &cursor, const QString &text, const QTextBlockFormat &block,
                 const QTextCharFormat &format, const QString &lead = {},
                 const QTextCharFormat &leadFormat = {})
{
    const QStringList lines = QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        cursor.insertBlock(i == 0 ? block : blockFormat(block.leftMargin()), format);
        if (i == 0 && !lead.isEmpty())
            cursor.insertText(lead, leadFormat);
        cursor.insertText(lines[i], format);
    }
}

} // namespace

EditableTest::EditableTest(TestPrinter &printer, const PrintPlan &plan, PrintResult &result,
                           QTextDocument &document)
    : m_printer(printer), m_plan(plan), m_result(result), m_document(document), m_test(printer.m_test)
{}

QString EditableTest::versionName(const PrintVersion &v) const
{
    return m_plan.shuffled ? u"Wersja "_s + v.letter() : QString();
}

void EditableTest::newPage()
{
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat b = blockFormat();
    if (!std::exchange(m_empty, false))
        b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (m_document.isEmpty() && m_document.blockCount() == 1)
        cursor.setBlockFormat(b);
    else
        cursor.insertBlock(b);
}

void EditableTest::addTest(const PrintVersion &version)
{
    newPage();
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    const TestHeader &h = m_test.header;
    QString title = h.testName.trimmed().isEmpty() ? u"Test"_s : h.testName.trimmed();
    if (!versionName(version).isEmpty())
        title += u" – "_s + versionName(version);
    cursor.setCharFormat(textFormat(16, true));
    cursor.insertText(title);
    QStringList facts;
    if (!h.author.trimmed().isEmpty())
        facts << u"Autor: "_s + h.author.trimmed();
    if (!h.date.trimmed().isEmpty())
        facts << u"Data: "_s + h.date.trimmed();
    if (h.time > 0)
        facts << u"Czas: %1 min"_s.arg(h.time);
    if (!facts.isEmpty())
        insertLines(cursor, facts.join(u"   ·   "_s), blockFormat(0, 4), textFormat(9.5));
    insertLines(cursor, u"Imię i nazwisko: ……………………………………   Klasa: …………   Data: ……………"_s, blockFormat(0, 14),
                textFormat(10));
    insertLines(cursor,
                h.multipleChoice != 0
                    ? u"Zaznacz wszystkie poprawne odpowiedzi; przy pytaniu może być ich kilka."_s
                    : u"Zaznacz jedną poprawną odpowiedź przy każdym pytaniu."_s,
                blockFormat(0, 10), textFormat(10, false, true));
    if (version.questions.isEmpty())
        insertLines(cursor, u"Test nie zawiera pytań."_s, blockFormat(0, 12), textFormat(10, false, true));
    for (int i = 0; i < version.questions.size(); ++i)
        addQuestion(i + 1, version.questions[i], version.answers[i]);
}

void EditableTest::addPassage(int number, const QString &name)
{
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    const TestPrinter::Passage &passage = m_printer.passage(name);
    if (!passage.found) {
        m_result.problems.append({number, name, false, {}});
        insertLines(cursor, u"[Brak tekstu „%1” w pliku testu.]"_s.arg(name), blockFormat(kIndent, 12),
                    textFormat(9.5, false, true));
        return;
    }
    // A box of one cell: the frame word processors keep when the text is edited.
    QTextTableFormat box;
    box.setBorder(1);
    box.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    box.setBorderBrush(QColor(150, 150, 150));
    box.setCellPadding(6);
    box.setCellSpacing(0);
    box.setLeftMargin(kIndent);
    box.setTopMargin(12);
    box.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QTextTable *table = cursor.insertTable(1, 1, box);
    QTextTableCell cell = table->cellAt(0, 0);
    QTextTableCellFormat cellFormat;
    cellFormat.setBackground(QColor(244, 244, 244));
    cellFormat.setBorder(1);
    cellFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    cellFormat.setBorderBrush(QColor(150, 150, 150));
    cellFormat.setPadding(6);
    cell.setFormat(cellFormat);
    // One paragraph with line breaks: Qt's ODF writer makes a cell of every paragraph in a cell.
    QString text = passage.text;
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u'\n', QChar::LineSeparator);
    cell.firstCursorPosition().insertText(text, textFormat(10));
}

void EditableTest::addPicture(int number, const QString &name)
{
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    const TestPrinter::Picture &picture = m_printer.picture(name);
    if (picture.image.isNull()) {
        m_result.problems.append({number, name, true, picture.reason});
        insertLines(cursor,
                    picture.found ? u"[Obraz „%1” jest uszkodzony i nie został wstawiony.]"_s.arg(name)
                                  : u"[Brak obrazu „%1” w pliku testu.]"_s.arg(name),
                    blockFormat(kIndent, 6), textFormat(9.5, false, true));
        return;
    }
    // The size it prints at: its screen size within the column and the height limit.
    const QImage &image = picture.image;
    const qreal naturalW = image.width() / (image.dotsPerMeterX() / 1000.0);
    const qreal naturalH = naturalW * image.height() / image.width();
    const qreal scale = std::min({1.0, (kTextWidthMm - 8) / naturalW, kPictureMaxHeightMm / naturalH});
    const QString resource = u"obraz%1.png"_s.arg(++m_pictures);
    m_document.addResource(QTextDocument::ImageResource, QUrl(resource), image);
    QTextImageFormat f;
    f.setName(resource);
    f.setWidth(std::round(naturalW * scale * kPixelsPerMm));
    f.setHeight(std::round(naturalH * scale * kPixelsPerMm));
    cursor.insertBlock(blockFormat(kIndent, 6));
    cursor.insertImage(f);
}

void EditableTest::addQuestion(int position, int number, const std::array<int, kMaxAnswers> &order)
{
    const Question &q = m_test.question(number);
    if (!q.textName.isEmpty())
        addPassage(number, q.textName);
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    insertLines(cursor, q.text, blockFormat(kIndent, 14, kIndent), textFormat(11),
                QString::number(position) + u".\t"_s, textFormat(11, true));
    if (!q.imageName.isEmpty())
        addPicture(number, q.imageName);
    cursor.movePosition(QTextCursor::End);
    for (int a = 0; a < m_plan.answerCount; ++a) {
        const QString text = q.answers[static_cast<size_t>(order[static_cast<size_t>(a)])];
        insertLines(cursor, text, blockFormat(kAnswerIndent, a == 0 ? 6 : 2, kAnswerIndent - kIndent),
                    textFormat(11), answerLetter(a) + u".\t"_s, textFormat(11, true));
    }
}

void EditableTest::addKey(const PrintVersion &version)
{
    newPage();
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    cursor.setCharFormat(textFormat(16, true));
    cursor.insertText(m_plan.shuffled ? u"Klucz odpowiedzi – "_s + versionName(version)
                                      : u"Klucz odpowiedzi"_s);
    QString facts = m_test.header.testName.trimmed();
    if (m_plan.shuffled)
        facts += u"\nZiarno losowania: %1 (wydruk z tym samym ziarnem powtórzy te wersje)"_s.arg(m_plan.seed);
    if (!facts.trimmed().isEmpty())
        insertLines(cursor, facts.trimmed(), blockFormat(0, 4), textFormat(9.5));
    const int count = static_cast<int>(version.questions.size());
    if (count == 0) {
        insertLines(cursor, u"Test nie zawiera pytań."_s, blockFormat(0, 12), textFormat(10, false, true));
        return;
    }
    cursor.insertBlock(blockFormat(0, 12));
    QTextTableFormat grid;
    grid.setBorder(0.5);
    grid.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    grid.setCellPadding(3);
    grid.setCellSpacing(0);
    grid.setHeaderRowCount(1);
    QTextTable *table = cursor.insertTable(count + 1, 2, grid);
    table->cellAt(0, 0).firstCursorPosition().insertText(u"Pytanie"_s, textFormat(10, true));
    table->cellAt(0, 1).firstCursorPosition().insertText(u"Odpowiedź"_s, textFormat(10, true));
    for (int i = 0; i < count; ++i) {
        const Question &q = m_test.question(version.questions[i]);
        QStringList letters;
        for (int a = 0; a < m_plan.answerCount; ++a) {
            if (isCorrectAnswer(q, version.answers[i][static_cast<size_t>(a)]))
                letters << answerLetter(a);
        }
        table->cellAt(i + 1, 0).firstCursorPosition().insertText(QString::number(i + 1), textFormat(10));
        table->cellAt(i + 1, 1).firstCursorPosition().insertText(
            letters.isEmpty() ? u"—"_s : letters.join(u", "_s), textFormat(10));
    }
}

PrintResult TestPrinter::writeDocument(const PrintOptions &options, QByteArray &odt)
{
    PrintResult result;
    if (!planFor(options, result))
        return result;
    QTextDocument document;
    document.setMetaInformation(QTextDocument::DocumentTitle, m_test.header.testName);
    document.setPageSize(QSizeF(kTextWidthMm * kPixelsPerMm, 247 * kPixelsPerMm));
    EditableTest editable(*this, result.plan, result, document);
    addParts(editable, result.plan, options);
    odt.clear();
    QBuffer buffer(&odt);
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "ODF");
    if (!writer.write(&document)) {
        result.error = u"the document could not be made."_s;
        odt.clear();
        return result;
    }
    result.problems = uniqueProblems(result.problems);
    result.ok = true;
    return result;
}

PrintResult TestPrinter::writeDocumentToFile(const PrintOptions &options, const QString &path)
{
    QByteArray odt;
    PrintResult result = writeDocument(options, odt);
    return writtenTo(std::move(result), odt, path);
}
