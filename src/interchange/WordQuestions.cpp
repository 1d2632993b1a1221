#include "interchange/WordQuestions.h"

#include "interchange/DocxReader.h"
#include "interchange/OdtReader.h"
#include "storage/ZipPackage.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace WordQuestions {

namespace {

using Issue = InterchangeNote::Issue;

constexpr auto kOptions =
    QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption;

// "1.", "1)", "12:", "Zadanie 1.", "Pytanie 1:", "Zad. 3" and the text after it.
const QRegularExpression &questionNumber()
{
    static const QRegularExpression re(
        uR"(^\s*(?:(?:zadanie|pytanie|zad\.|pyt\.|question)\s*(\d{1,4})\s*[.):]?|(\d{1,4})\s*[.):])(?:\s+|$)(.*)$)"_s,
        kOptions | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

// "a)", "A.", "(a)", "A)", a star before or after the letter allowed; letters up to H, so that a
// question of more answers than a test holds is seen as such.
const QRegularExpression &answerLetter()
{
    static const QRegularExpression re(uR"(^\s*(\*?)\s*\(?([A-Ha-h])\s*([.)])\s*(\*?)(?=\s|$))"_s, kOptions);
    return re;
}

// "Odpowiedź: B", "Prawidłowa odpowiedź: B, C", "Answer: B", "ANSWER: B".
const QRegularExpression &answerLine()
{
    static const QRegularExpression re(
        uR"(^\s*(?:(?:prawidłowa|poprawna|właściwa|correct)\s+)?(?:odpowiedź|odpowiedzi|odp\.|answer)\s*[:\-–]\s*(.+?)\s*\.?\s*$)"_s,
        kOptions);
    return re;
}

const QRegularExpression &keyHeading()
{
    static const QRegularExpression re(
        uR"(^\s*(?:klucz(?:\s+odpowiedzi)?(?:\s+do\s+testu)?|odpowiedzi|poprawne\s+odpowiedzi|prawidłowe\s+odpowiedzi|answer\s+key|answers|key)\s*[:.]?\s*$)"_s,
        kOptions);
    return re;
}

// "1. B", "1 – B", "1B", "1) b", "1: B, C"; several in a line.
const QRegularExpression &keyEntry()
{
    static const QRegularExpression re(
        uR"((?<![\d\p{L}])(\d{1,4})\s*[.):\-–—=]?\s*([A-Ha-h](?:\s*[,;/+i]\s*[A-Ha-h])*)(?![\p{L}\d]))"_s,
        QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

// The letters "B", "b, d", "A i C"; empty when the text is anything else.
QList<int> lettersOf(QStringView text)
{
    QList<int> letters;
    static const QRegularExpression separators(uR"(\s*(?:,|;|/|\+|\s|\bi\b|\band\b)\s*)"_s, kOptions);
    for (const QString &part : text.toString().split(separators, Qt::SkipEmptyParts)) {
        QString p = part;
        if (p.endsWith(u')') || p.endsWith(u'.'))
            p.chop(1);
        if (p.startsWith(u'('))
            p.remove(0, 1);
        if (p.size() != 1)
            return {};
        const int letter = p[0].toUpper().unicode() - u'A';
        if (letter < 0 || letter >= 26)
            return {};
        if (!letters.contains(letter))
            letters << letter;
    }
    return letters;
}

// A paragraph's text with the format of each character.
struct Paragraph {
    const WordBlock *block = nullptr;
    QString text;
    QList<const WordFormat *> formats;
};

// A piece of a paragraph: a line, or one answer of a line.
struct Piece {
    const Paragraph *paragraph = nullptr;
    qsizetype from = 0;
    qsizetype to = 0;
    QString text() const { return paragraph->text.mid(from, to - from); }
};

struct Answer {
    QString text;
    bool star = false;
    Piece piece;
};

struct Candidate {
    int paragraph = 0;
    int printed = 0; // the number the teacher sees: typed, or its place in the automatic list
    QStringList text;
    QList<Answer> answers;
    QList<int> named; // letters of an "Odpowiedź:" line
    QStringList pictures;
    bool table = false;
    bool answersEnded = false;
};

// Whether every letter of the piece (spaces and stars aside) has the property.
template <typename Has> bool allHave(const Piece &p, Has has)
{
    bool any = false;
    for (qsizetype i = p.from; i < p.to; ++i) {
        const QChar c = p.paragraph->text[i];
        if (c.isSpace() || c == u'*')
            continue;
        any = true;
        if (!has(*p.paragraph->formats[i]))
            return false;
    }
    return any;
}

// The colour of the piece's letters when they share one; "?" when they do not.
QString colourOf(const Piece &p)
{
    std::optional<QString> colour;
    for (qsizetype i = p.from; i < p.to; ++i) {
        const QChar c = p.paragraph->text[i];
        if (c.isSpace() || c == u'*')
            continue;
        const QString &here = p.paragraph->formats[i]->colour;
        if (colour && *colour != here)
            return u"?"_s;
        colour = here;
    }
    return colour.value_or(QString());
}

// The answers that stand out by their format from the others, or nothing.
QList<int> markedByFormat(const QList<Answer> &answers)
{
    const qsizetype n = answers.size();
    using Test = bool (*)(const WordFormat &);
    const Test tests[] = {[](const WordFormat &f) { return f.highlight; },
                          [](const WordFormat &f) { return f.bold; },
                          [](const WordFormat &f) { return f.underline; }};
    for (Test test : tests) {
        QList<int> marked;
        for (int i = 0; i < n; ++i) {
            if (allHave(answers[i].piece, test))
                marked << i;
        }
        if (!marked.isEmpty() && marked.size() < n)
            return marked;
    }
    // Colour: the answers in the colour fewer answers have, or in a colour beside the automatic one.
    QHash<QString, QList<int>> byColour;
    for (int i = 0; i < n; ++i)
        byColour[colourOf(answers[i].piece)] << i;
    if (byColour.size() == 2 && !byColour.contains(u"?"_s)) {
        const auto a = byColour.constBegin();
        const auto b = std::next(a);
        if (a->size() != b->size())
            return a->size() < b->size() ? *a : *b;
        return a.key().isEmpty() ? *b : *a;
    }
    return {};
}

class Recogniser {
public:
    explicit Recogniser(const WordDocument &doc) : m_doc(doc) {}
    InterchangeContent run();

private:
    void line(const Paragraph &p, qsizetype from, qsizetype to, bool first);
    bool answers(const Paragraph &p, qsizetype from, qsizetype to);
    void addAnswer(const Paragraph &p, qsizetype from, qsizetype to, bool star);
    void keyLine(const QString &text);
    void keyTable(const QList<QStringList> &table);
    void close();
    void build(Candidate &c);

    const WordDocument &m_doc;
    InterchangeContent m_content;
    QList<Candidate> m_questions;
    std::optional<Candidate> m_open;
    QHash<int, QList<int>> m_key;
    bool m_inKey = false;
    int m_questionLevel = -1;
    QString m_title;
    QString m_firstHeading;
};

void Recogniser::close()
{
    if (m_open)
        m_questions.append(std::move(*m_open));
    m_open.reset();
}

void Recogniser::addAnswer(const Paragraph &p, qsizetype from, qsizetype to, bool star)
{
    while (from < to && p.text[from].isSpace())
        ++from;
    while (to > from && p.text[to - 1].isSpace())
        --to;
    // A star right before or after the answer's text marks it.
    if (from < to && p.text[from] == u'*') {
        star = true;
        ++from;
    }
    if (to > from && p.text[to - 1] == u'*') {
        star = true;
        --to;
    }
    Answer a;
    a.piece = {&p, from, to};
    a.text = p.text.mid(from, to - from).trimmed();
    a.star = star;
    m_open->answers.append(a);
}

// Hand-lettered answers from `from`: one, or several in one line after tabs or wide spaces.
bool Recogniser::answers(const Paragraph &p, qsizetype from, qsizetype to)
{
    const QString line = p.text.mid(from, to - from);
    QRegularExpressionMatch m = answerLetter().match(line);
    if (!m.hasMatch())
        return false;
    const int letter = m.captured(2).at(0).toUpper().unicode() - u'A';
    if (letter != m_open->answers.size())
        return false;
    // Where the next answers start: their letters in order, after a tab, two spaces or, with ")",
    // one space.
    QList<std::pair<qsizetype, bool>> starts{
        {m.capturedEnd(0), !m.captured(1).isEmpty() || !m.captured(4).isEmpty()}};
    QList<qsizetype> ends;
    int next = letter + 1;
    static const QRegularExpression further(uR"((\t|\s{2,}|\s)(\*?)\(?([A-Ha-h])([.)])(\*?)(?=\s|$))"_s,
                                            QRegularExpression::UseUnicodePropertiesOption);
    for (auto it = further.globalMatch(line, m.capturedEnd(0)); it.hasNext();) {
        const QRegularExpressionMatch f = it.next();
        const int l = f.captured(3).at(0).toUpper().unicode() - u'A';
        const bool wide = f.captured(1) != u" "_s;
        if (l != next || (!wide && f.captured(4) != u")"_s))
            continue;
        // The same spelling of the letter as the first answer's.
        if (f.captured(3).at(0).isUpper() != m.captured(2).at(0).isUpper())
            continue;
        ends << f.capturedStart(0);
        starts.append({f.capturedEnd(0), !f.captured(2).isEmpty() || !f.captured(5).isEmpty()});
        ++next;
    }
    ends << line.size();
    for (qsizetype i = 0; i < starts.size(); ++i)
        addAnswer(p, from + starts[i].first, from + ends[i], starts[i].second);
    return true;
}

void Recogniser::keyLine(const QString &text)
{
    for (auto it = keyEntry().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QList<int> letters = lettersOf(m.captured(2));
        if (!letters.isEmpty())
            m_key.insert(m.captured(1).toInt(), letters);
    }
}

void Recogniser::keyTable(const QList<QStringList> &table)
{
    // Numbers in the first row and letters in the second, or a row per question.
    static const QRegularExpression number(uR"(^\s*(\d{1,4})\s*[.)]?\s*$)"_s);
    if (table.size() >= 2 && !table[0].isEmpty() &&
        std::all_of(table[0].begin(), table[0].end(),
                    [](const QString &c) { return number.match(c).hasMatch(); })) {
        for (qsizetype r = 0; r + 1 < table.size(); r += 2) {
            for (qsizetype c = 0; c < std::min(table[r].size(), table[r + 1].size()); ++c) {
                const QList<int> letters = lettersOf(table[r + 1][c].trimmed());
                if (!letters.isEmpty())
                    m_key.insert(number.match(table[r][c]).captured(1).toInt(), letters);
            }
        }
        return;
    }
    for (const QStringList &row : table)
        keyLine(row.join(u' '));
}

void Recogniser::line(const Paragraph &p, qsizetype from, qsizetype to, bool first)
{
    const WordBlock &b = *p.block;
    const QString text = p.text.mid(from, to - from);
    const QString trimmed = text.trimmed();
    if (m_inKey) {
        keyLine(text);
        return;
    }
    if (first && keyHeading().match(trimmed).hasMatch()) {
        close();
        m_inKey = true;
        return;
    }
    if (first && b.heading) {
        close();
        if (b.title && m_title.isEmpty() && m_questions.isEmpty())
            m_title = trimmed;
        if (m_firstHeading.isEmpty() && m_questions.isEmpty())
            m_firstHeading = trimmed;
        return;
    }
    if (trimmed.isEmpty())
        return;
    if (m_open && !m_open->answers.isEmpty()) {
        const QRegularExpressionMatch named = answerLine().match(trimmed);
        if (named.hasMatch()) {
            const QList<int> letters = lettersOf(named.captured(1));
            if (!letters.isEmpty()) {
                m_open->named = letters;
                m_open->answersEnded = true;
                return;
            }
        }
    }
    const bool listed = first && b.listLevel >= 0;
    // A new question: the number typed, or the automatic number of the questions' level.
    const QRegularExpressionMatch typed = questionNumber().match(text);
    const bool automatic = listed && b.listKind == WordListKind::Number && b.listLevel == m_questionLevel;
    if (automatic || (typed.hasMatch() && !listed)) {
        close();
        Candidate c;
        c.paragraph = b.paragraph;
        c.printed = automatic ? static_cast<int>(m_questions.size()) + 1
                              : (typed.captured(1) + typed.captured(2)).toInt();
        const QString rest = automatic ? text.trimmed() : typed.captured(3).trimmed();
        if (!rest.isEmpty())
            c.text << rest;
        m_open = std::move(c);
        return;
    }
    if (!m_open)
        return; // a title, instructions, name lines before the first question
    if (m_open->answersEnded)
        return;
    if (listed && (b.listKind == WordListKind::Letter || b.listKind == WordListKind::Bullet ||
                   b.listLevel > m_questionLevel)) {
        addAnswer(p, from, to, false);
        return;
    }
    if (answers(p, from, to))
        return;
    if (!first && !m_open->answers.isEmpty() && m_open->answers.last().piece.paragraph == &p) {
        // A soft line break inside an answer: the answer goes on.
        Answer &last = m_open->answers.last();
        last.text += u' ' + trimmed;
        last.piece.to = to;
        return;
    }
    if (m_open->answers.isEmpty())
        m_open->text << trimmed;
    else
        m_open->answersEnded = true; // text after the answers is no part of the question
}

void Recogniser::build(Candidate &c)
{
    InterchangeQuestion q;
    q.line = c.paragraph;
    q.lineIsParagraph = true;
    q.number = static_cast<int>(m_content.seen) + 1;
    q.text = c.text.join(u"\r\n"_s);
    if (Interchange::isFull(m_content, q))
        return;
    for (const Answer &a : std::as_const(c.answers))
        q.answers << a.text;
    q.correct = QList<bool>(q.answers.size(), false);
    QList<int> right = c.named;
    for (int i : std::as_const(c.named)) {
        if (i >= c.answers.size()) {
            Interchange::note(m_content.notes, q, Issue::BadAnswerLetter, QString(QChar(u'A' + i)));
            return;
        }
    }
    if (right.isEmpty())
        right = m_key.value(c.printed);
    if (right.isEmpty()) {
        for (int i = 0; i < c.answers.size(); ++i) {
            if (c.answers[i].star)
                right << i;
        }
    }
    if (right.isEmpty())
        right = markedByFormat(c.answers);
    for (int i : std::as_const(right)) {
        if (i >= 0 && i < q.correct.size())
            q.correct[i] = true;
    }
    q.multipleChoice = q.correctCount() > 1;

    if (c.answers.isEmpty()) {
        Interchange::note(m_content.notes, q, c.table ? Issue::MatchingTable : Issue::Description);
        return;
    }
    if (!c.pictures.isEmpty()) {
        const QString member = c.pictures.first();
        QString name = QFileInfo(member).fileName();
        QByteArray kept;
        if (Interchange::takePicture(m_doc.pictures.value(member), name, kept)) {
            q.picture = kept;
            q.pictureName = name;
        } else {
            Interchange::note(m_content.notes, q, Issue::PictureUnreadable, name);
        }
        if (c.pictures.size() > 1)
            Interchange::note(m_content.notes, q, Issue::ExtraPictures, QString::number(c.pictures.size()));
    }
    Interchange::accept(m_content, std::move(q));
}

InterchangeContent Recogniser::run()
{
    QList<Paragraph> paragraphs;
    paragraphs.reserve(m_doc.blocks.size());
    for (const WordBlock &b : m_doc.blocks) {
        Paragraph p;
        p.block = &b;
        for (const WordRun &r : b.runs) {
            p.text += r.text;
            p.formats.insert(p.formats.size(), r.text.size(), &r.format);
        }
        paragraphs.append(std::move(p));
    }
    // The questions' level: the highest level automatic numbers stand on before the key.
    for (const WordBlock &b : m_doc.blocks) {
        if (keyHeading().match(b.text().trimmed()).hasMatch())
            break;
        if (b.listKind == WordListKind::Number && (m_questionLevel < 0 || b.listLevel < m_questionLevel))
            m_questionLevel = b.listLevel;
    }
    for (const Paragraph &p : std::as_const(paragraphs)) {
        const WordBlock &b = *p.block;
        if (b.isTable()) {
            if (m_inKey)
                keyTable(b.table);
            else if (m_open && m_open->answers.isEmpty())
                m_open->table = true;
            continue;
        }
        qsizetype from = 0;
        bool first = true;
        while (from <= p.text.size()) {
            qsizetype to = p.text.indexOf(u'\n', from);
            if (to < 0)
                to = p.text.size();
            line(p, from, to, first);
            first = false;
            from = to + 1;
        }
        if (m_open && !m_inKey) {
            for (const QString &picture : b.pictures)
                m_open->pictures << picture;
        }
    }
    close();
    for (Candidate &c : m_questions) {
        build(c);
        if (m_content.seen > Interchange::MaxQuestionsInFile)
            break;
    }
    m_content.category = !m_title.isEmpty() ? m_title : !m_doc.title.isEmpty() ? m_doc.title : m_firstHeading;
    return std::move(m_content);
}

} // namespace

bool looksLike(QByteArrayView bytes)
{
    return ZipPackage::looksLike(bytes);
}

InterchangeContent recognise(const WordDocument &document)
{
    return Recogniser(document).run();
}

InterchangeContent read(QByteArrayView bytes)
{
    InterchangeContent content;
    if (Interchange::refuseLarge(bytes, content))
        return content;
    ZipPackage package;
    if (!package.open(bytes.toByteArray())) {
        content.error = package.error();
        return content;
    }
    WordDocument document;
    QString error;
    bool read = false;
    if (DocxReader::looksLike(package))
        read = DocxReader::read(package, document, error);
    else if (OdtReader::looksLike(package))
        read = OdtReader::read(package, document, error);
    else
        error = u"neither a Word document (.docx) nor an OpenDocument text (.odt)."_s;
    if (!read) {
        content.error = error;
        return content;
    }
    return recognise(document);
}

} // namespace WordQuestions
