#include "interchange/AikenReader.h"

using namespace Qt::StringLiterals;

namespace AikenReader {

namespace {

using Issue = InterchangeNote::Issue;

// "B) text" or "B. text": the letter and the text; no letter when the line is no answer.
std::optional<QChar> answerLetter(QStringView line, QStringView *text)
{
    if (line.size() < 3 || line[0] < u'A' || line[0] > u'Z' || (line[1] != u'.' && line[1] != u')') ||
        !line[2].isSpace())
        return std::nullopt;
    *text = line.sliced(3).trimmed();
    return line[0];
}

// "ANSWER: B" (any case, any spaces): what follows the colon.
std::optional<QStringView> answerLine(QStringView line)
{
    if (!line.startsWith(u"ANSWER", Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView rest = line.sliced(6).trimmed();
    if (!rest.startsWith(u':'))
        return std::nullopt;
    return rest.sliced(1).trimmed();
}

} // namespace

InterchangeContent read(QByteArrayView bytes)
{
    InterchangeContent out;
    if (Interchange::refuseLarge(bytes, out))
        return out;
    const QString text = Interchange::decodeTextFile(bytes);
    int number = 0;
    InterchangeQuestion q;
    QStringList textLines;
    QString letters;
    bool inAnswers = false;
    const auto start = [&](int lineNumber) {
        q = InterchangeQuestion{};
        q.line = lineNumber;
        q.number = ++number;
        textLines.clear();
        letters.clear();
        inAnswers = false;
    };
    const auto textOf = [&]() { return textLines.join(u"\r\n"_s); };

    int lineNumber = 0;
    bool open = false;       // a question has begun
    bool afterBlank = false; // a blank line came after its text
    for (QStringView raw : QStringTokenizer(text, u'\n')) {
        ++lineNumber;
        const QStringView line = raw.trimmed();
        if (line.isEmpty()) {
            afterBlank = open && !inAnswers;
            continue;
        }
        if (const auto given = answerLine(line)) {
            if (!open) {
                start(lineNumber);
                if (Interchange::isFull(out, q))
                    return out;
            }
            q.text = textOf();
            if (!inAnswers) {
                Interchange::note(out.notes, q, Issue::AnswerCount, u"0"_s);
            } else {
                const qsizetype index = given->size() == 1 ? letters.indexOf(given->at(0).toUpper()) : -1;
                if (index < 0) {
                    Interchange::note(out.notes, q, Issue::BadAnswerLetter, given->toString());
                } else {
                    q.correct[index] = true;
                    Interchange::accept(out, std::move(q));
                }
            }
            open = false;
            continue;
        }
        QStringView answerText;
        const std::optional<QChar> letter =
            open && !textLines.isEmpty() ? answerLetter(line, &answerText) : std::nullopt;
        if (letter) {
            afterBlank = false;
            inAnswers = true;
            letters += *letter;
            q.answers.append(answerText.toString());
            q.correct.append(false);
            continue;
        }
        if (open && (inAnswers || afterBlank)) {
            // A text line after the answers, or after a blank line: the question before ended without
            // its answer line, or had no answers at all.
            q.text = textOf();
            Interchange::note(out.notes, q, inAnswers ? Issue::NoAnswerLine : Issue::Description);
            open = false;
        }
        afterBlank = false;
        if (!open) {
            start(lineNumber);
            if (Interchange::isFull(out, q))
                return out;
            open = true;
        }
        textLines.append(line.toString());
    }
    if (open) {
        q.text = textOf();
        Interchange::note(out.notes, q, inAnswers ? Issue::NoAnswerLine : Issue::Description);
    }
    return out;
}

} // namespace AikenReader
