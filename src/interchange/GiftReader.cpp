#include "interchange/GiftReader.h"

#include "interchange/HtmlText.h"

using namespace Qt::StringLiterals;

namespace GiftReader {

namespace {

using Issue = InterchangeNote::Issue;

// The position of the first `what` at or after `from` that no backslash escapes; -1 when none.
qsizetype findUnescaped(QStringView s, QStringView what, qsizetype from = 0)
{
    for (qsizetype i = from; i < s.size(); ++i) {
        if (s[i] == u'\\') {
            ++i;
            continue;
        }
        if (s.sliced(i).startsWith(what))
            return i;
    }
    return -1;
}

QString unescape(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size()) {
            const QChar next = s[i + 1];
            if (next == u'n') {
                out += u'\n';
                ++i;
                continue;
            }
            if (QStringView(u"~=#{}:\\").contains(next)) {
                out += next;
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

struct Answer {
    QChar mark; // '=' or '~'
    bool weighted = false;
    double weight = 0;
    QString text;
    QString feedback;
};

class BlockParser {
public:
    BlockParser(QStringView block, InterchangeQuestion &q, QList<InterchangeNote> &notes)
        : m_block(block), m_q(q), m_notes(notes)
    {}

    // False when the question is skipped (the note is made).
    bool parse()
    {
        QStringView rest = m_block.trimmed();
        if (rest.startsWith(u"::")) {
            const qsizetype end = findUnescaped(rest, u"::", 2);
            if (end > 0) {
                m_q.title = unescape(rest.sliced(2, end - 2)).trimmed();
                rest = rest.sliced(end + 2).trimmed();
            }
        }
        const qsizetype open = findUnescaped(rest, u"{");
        const qsizetype firstClose = findUnescaped(rest, u"}");
        if (open < 0)
            return skip(firstClose >= 0 ? Issue::UnbalancedBraces : Issue::Description);
        const qsizetype close = findUnescaped(rest, u"}", open + 1);
        const qsizetype nested = findUnescaped(rest, u"{", open + 1);
        if (close < 0 || firstClose < open || (nested >= 0 && nested < close))
            return skip(Issue::UnbalancedBraces);
        const QStringView after = rest.sliced(close + 1);
        if (findUnescaped(after, u"{") >= 0)
            return skip(Issue::SeveralAnswerBlocks);
        if (findUnescaped(after, u"}") >= 0)
            return skip(Issue::UnbalancedBraces);

        QStringView before = rest.first(open);
        QString format;
        const QStringView lead = before.trimmed();
        if (lead.startsWith(u'[')) {
            const qsizetype end = lead.indexOf(u']');
            if (end > 0) {
                format = lead.sliced(1, end - 1).toString().toLower();
                before = lead.sliced(end + 1);
            }
        }
        QString text = unescape(before);
        if (!after.trimmed().isEmpty())
            text += u"_____"_s + unescape(after);
        text = text.trimmed();
        if (format == u"html"_s) {
            const HtmlText::Content c = HtmlText::toText(text);
            if (!c.images.isEmpty())
                return skip(Issue::PictureNotCarried);
            text = c.text;
        }
        m_q.text = Interchange::toModelLineBreaks(text);
        m_html = format == u"html"_s;
        return parseAnswers(rest.sliced(open + 1, close - open - 1));
    }

private:
    bool skip(Issue issue, const QString &detail = {})
    {
        Interchange::note(m_notes, m_q, issue, detail);
        return false;
    }

    QString plain(QStringView raw) const
    {
        const QString text = unescape(raw).trimmed();
        return Interchange::toModelLineBreaks(m_html ? HtmlText::toText(text).text : text);
    }

    bool parseAnswers(QStringView inner)
    {
        const QStringView trimmed = inner.trimmed();
        if (trimmed.isEmpty())
            return skip(Issue::OtherType, u"essay"_s);
        if (trimmed.startsWith(u'#'))
            return skip(Issue::OtherType, u"numerical"_s);
        const qsizetype word = findUnescaped(trimmed, u"#");
        const QString head = (word < 0 ? trimmed : trimmed.first(word)).trimmed().toString().toUpper();
        if (head == u"T"_s || head == u"F"_s || head == u"TRUE"_s || head == u"FALSE"_s)
            return skip(Issue::OtherType, u"true/false"_s);

        QStringView body = inner;
        const qsizetype general = findUnescaped(inner, u"####");
        if (general >= 0) {
            m_q.comment = plain(inner.sliced(general + 4));
            body = inner.first(general);
        }
        // Answers start at every "=" or "~" no backslash escapes.
        // Past a few answers the question is skipped anyway: the rest are only counted.
        constexpr qsizetype kKeptAnswers = 16;
        QList<Answer> answers;
        qsizetype total = 0;
        qsizetype start = -1;
        const auto finish = [&](qsizetype end) {
            if (start < 0)
                return;
            if (++total <= kKeptAnswers)
                answers.append(answer(body.sliced(start, end - start)));
        };
        for (qsizetype i = 0; i < body.size(); ++i) {
            const QChar c = body[i];
            if (c == u'\\') {
                ++i;
                continue;
            }
            if (c == u'=' || c == u'~') {
                // "->" inside an answer is a matching pair, not a new answer.
                if (c == u'=' && start >= 0 && i + 1 < body.size() && body[i + 1] == u'>')
                    continue;
                finish(i);
                start = i;
            } else if (start < 0 && !c.isSpace()) {
                return skip(Issue::OtherType, u"unknown"_s);
            }
        }
        finish(body.size());

        bool equals = false;
        bool tilde = false;
        bool allPairs = !answers.isEmpty();
        for (const Answer &a : std::as_const(answers)) {
            equals = equals || a.mark == u'=';
            tilde = tilde || a.mark == u'~';
            allPairs = allPairs && a.text.contains(u"->"_s);
        }
        // Matching has only "=" answers, each a pair; with a "~" answer an arrow is just text.
        if (equals && !tilde)
            return skip(Issue::OtherType, allPairs ? u"matching"_s : u"short answer"_s);

        // With a "=" answer only one answer is right; without one the weights say which are.
        m_q.multipleChoice = !equals;
        QList<double> weights;
        bool feedback = false;
        bool partial = false;
        for (const Answer &a : std::as_const(answers)) {
            m_q.answers.append(a.text);
            const bool right = equals ? a.mark == u'=' : a.weighted && a.weight > 0;
            m_q.correct.append(right);
            weights.append(right ? (a.weighted ? a.weight : 100.0) : std::min(a.weight, 0.0));
            partial = partial || (equals && a.mark == u'~' && a.weight > 0);
            feedback = feedback || !a.feedback.isEmpty();
        }
        if (total > kKeptAnswers)
            return skip(Issue::AnswerCount, QString::number(total));
        QString detail;
        if (const auto issue = Interchange::problemOf(m_q, &detail))
            return skip(*issue, detail);
        if (feedback)
            Interchange::note(m_notes, m_q, Issue::AnswerFeedbackLeftOut);
        if (partial || (!equals && !Interchange::weightsAreShares(weights)))
            Interchange::note(m_notes, m_q, Issue::WeightsSimplified);
        return true;
    }

    Answer answer(QStringView raw) const
    {
        Answer a;
        a.mark = raw[0];
        QStringView rest = raw.sliced(1).trimmed();
        if (rest.startsWith(u'%')) {
            const qsizetype end = rest.indexOf(u'%', 1);
            if (end > 0) {
                bool ok = false;
                const double w = rest.sliced(1, end - 1).toDouble(&ok);
                if (ok) {
                    a.weighted = true;
                    a.weight = w;
                }
                rest = rest.sliced(end + 1);
            }
        }
        const qsizetype hash = findUnescaped(rest, u"#");
        a.text = plain(hash < 0 ? rest : rest.first(hash));
        if (hash >= 0)
            a.feedback = plain(rest.sliced(hash + 1));
        return a;
    }

    QStringView m_block;
    InterchangeQuestion &m_q;
    QList<InterchangeNote> &m_notes;
    bool m_html = false;
};

} // namespace

InterchangeContent read(QByteArrayView bytes)
{
    InterchangeContent out;
    if (Interchange::refuseLarge(bytes, out))
        return out;
    const QString text = Interchange::decodeTextFile(bytes);
    QString category;
    int number = 0;
    QString block;
    int blockLine = 0;
    bool full = false;
    const auto flush = [&]() {
        if (block.trimmed().isEmpty()) {
            block.clear();
            return;
        }
        InterchangeQuestion q;
        q.line = blockLine;
        q.number = ++number;
        full = Interchange::isFull(out, q);
        if (!full && BlockParser(block, q, out.notes).parse()) {
            if (out.questions.isEmpty() && out.category.isEmpty())
                out.category = category;
            out.questions.append(std::move(q));
        }
        block.clear();
    };
    int lineNumber = 0;
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        ++lineNumber;
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u"//"))
            continue;
        if (trimmed.isEmpty()) {
            flush();
            if (full)
                return out;
            continue;
        }
        if (block.isEmpty() && trimmed.startsWith(u"$CATEGORY:", Qt::CaseInsensitive)) {
            category = Interchange::categoryName(trimmed.sliced(10));
            continue;
        }
        if (block.isEmpty())
            blockLine = lineNumber;
        else
            block += u'\n';
        block += line;
    }
    if (!full)
        flush();
    return out;
}

} // namespace GiftReader
