#include "interchange/GiftWriter.h"

using namespace Qt::StringLiterals;

namespace GiftWriter {

namespace {

QString escape(const QString &text)
{
    const QString plain = Interchange::toPlainLineBreaks(text.trimmed());
    QString out;
    out.reserve(plain.size() + 8);
    for (QChar c : plain) {
        if (c == u'\n') {
            out += u"\\n"_s;
            continue;
        }
        if (QStringView(u"~=#{}:\\").contains(c))
            out += u'\\';
        out += c;
    }
    return out;
}

} // namespace

QByteArray write(const QString &category, const QList<InterchangeQuestion> &questions,
                 QList<InterchangeNote> &notes)
{
    using Issue = InterchangeNote::Issue;
    QString out;
    if (!category.trimmed().isEmpty())
        out += u"$CATEGORY: "_s + Interchange::categoryPath(category) + u"\r\n\r\n"_s;
    for (const InterchangeQuestion &q : questions) {
        if (!q.picture.isEmpty() || !q.pictureName.isEmpty())
            Interchange::note(notes, q, Issue::PictureLeftOut, q.pictureName);
        if (!q.passage.isEmpty() || !q.passageName.isEmpty())
            Interchange::note(notes, q, Issue::PassageLeftOut, q.passageName);
        const QString title = q.title.isEmpty() ? u"Pytanie %1"_s.arg(q.number) : q.title;
        out += u"::"_s + escape(title) + u"::[plain]"_s + escape(q.text) + u" {\r\n"_s;
        const QString share = Interchange::shareText(q.correctCount());
        for (qsizetype i = 0; i < q.answers.size(); ++i) {
            const bool right = i < q.correct.size() && q.correct[i];
            out += u'\t';
            if (q.multipleChoice)
                out += right ? u"~%"_s + share + u'%' : u"~"_s;
            else
                out += right ? u"="_s : u"~"_s;
            out += escape(q.answers[i]) + u"\r\n"_s;
        }
        if (!q.comment.trimmed().isEmpty())
            out += u"\t####"_s + escape(q.comment) + u"\r\n"_s;
        out += u"}\r\n\r\n"_s;
    }
    return out.toUtf8();
}

} // namespace GiftWriter
