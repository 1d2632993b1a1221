#include "interchange/AikenWriter.h"

using namespace Qt::StringLiterals;

namespace AikenWriter {

namespace {

// One line; `joined` is set when line breaks had to go.
QString oneLine(const QString &text, bool &joined)
{
    const QStringList lines = Interchange::toPlainLineBreaks(text.trimmed()).split(u'\n');
    QStringList kept;
    for (const QString &line : lines) {
        if (!line.trimmed().isEmpty())
            kept << line.trimmed();
    }
    joined = joined || lines.size() > 1;
    return kept.join(u' ');
}

} // namespace

QByteArray write(const QList<InterchangeQuestion> &questions, QList<InterchangeNote> &notes)
{
    using Issue = InterchangeNote::Issue;
    QString out;
    for (const InterchangeQuestion &q : questions) {
        if (q.multipleChoice || q.correctCount() != 1) {
            Interchange::note(notes, q, Issue::NotSingleChoice);
            continue;
        }
        if (!q.picture.isEmpty() || !q.pictureName.isEmpty())
            Interchange::note(notes, q, Issue::PictureLeftOut, q.pictureName);
        if (!q.passage.isEmpty() || !q.passageName.isEmpty())
            Interchange::note(notes, q, Issue::PassageLeftOut, q.passageName);
        if (!q.comment.trimmed().isEmpty())
            Interchange::note(notes, q, Issue::CommentLeftOut);
        bool joined = false;
        out += oneLine(q.text, joined) + u"\r\n"_s;
        QChar answer = u'A';
        for (qsizetype i = 0; i < q.answers.size(); ++i) {
            const QChar letter(u'A' + static_cast<char16_t>(i));
            out += letter + u". "_s + oneLine(q.answers[i], joined) + u"\r\n"_s;
            if (i < q.correct.size() && q.correct[i])
                answer = letter;
        }
        out += u"ANSWER: "_s + answer + u"\r\n\r\n"_s;
        if (joined)
            Interchange::note(notes, q, Issue::LineBreaksJoined);
    }
    return out.toUtf8();
}

} // namespace AikenWriter
