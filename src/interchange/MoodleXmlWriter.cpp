#include "interchange/MoodleXmlWriter.h"

#include "interchange/HtmlText.h"

#include <QUrl>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace MoodleXmlWriter {

namespace {

void textElement(QXmlStreamWriter &xml, const QString &element, const QString &format, const QString &text)
{
    xml.writeStartElement(element);
    if (!format.isEmpty())
        xml.writeAttribute(u"format"_s, format);
    xml.writeTextElement(u"text"_s, text);
    xml.writeEndElement();
}

QString titleOf(const InterchangeQuestion &q)
{
    return q.title.isEmpty() ? u"Pytanie %1"_s.arg(q.number) : q.title;
}

QString questionHtml(const InterchangeQuestion &q)
{
    QString html;
    if (!q.passage.isEmpty())
        html += u"<pre title=\""_s + HtmlText::escape(q.passageName) + u"\">"_s +
                HtmlText::escapePre(q.passage) + u"</pre>"_s;
    html += u"<p>"_s + HtmlText::fromText(q.text) + u"</p>"_s;
    if (!q.picture.isEmpty()) {
        const QString src = u"@@PLUGINFILE@@/"_s + QString::fromUtf8(QUrl::toPercentEncoding(q.pictureName));
        html += u"<p><img src=\""_s + HtmlText::escape(src) + u"\" alt=\""_s +
                HtmlText::escape(q.pictureName) + u"\"></p>"_s;
    }
    return html;
}

} // namespace

QByteArray write(const QString &category, const QList<InterchangeQuestion> &questions)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(u"quiz"_s);
    if (!category.trimmed().isEmpty()) {
        xml.writeStartElement(u"question"_s);
        xml.writeAttribute(u"type"_s, u"category"_s);
        textElement(xml, u"category"_s, {}, Interchange::categoryPath(category));
        xml.writeEndElement();
    }
    for (const InterchangeQuestion &q : questions) {
        xml.writeStartElement(u"question"_s);
        xml.writeAttribute(u"type"_s, u"multichoice"_s);
        textElement(xml, u"name"_s, {}, titleOf(q));
        xml.writeStartElement(u"questiontext"_s);
        xml.writeAttribute(u"format"_s, u"html"_s);
        xml.writeTextElement(u"text"_s, questionHtml(q));
        if (!q.picture.isEmpty()) {
            xml.writeStartElement(u"file"_s);
            xml.writeAttribute(u"name"_s, q.pictureName);
            xml.writeAttribute(u"path"_s, u"/"_s);
            xml.writeAttribute(u"encoding"_s, u"base64"_s);
            xml.writeCharacters(QString::fromLatin1(q.picture.toBase64()));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        textElement(xml, u"generalfeedback"_s, u"html"_s,
                    q.comment.isEmpty() ? QString() : HtmlText::fromText(q.comment));
        xml.writeTextElement(u"defaultgrade"_s, u"1"_s);
        xml.writeTextElement(u"penalty"_s, u"0"_s);
        xml.writeTextElement(u"hidden"_s, u"0"_s);
        xml.writeTextElement(u"single"_s, q.multipleChoice ? u"false"_s : u"true"_s);
        // The order the teacher gave the answers is kept; a platform can still be told to shuffle.
        xml.writeTextElement(u"shuffleanswers"_s, u"false"_s);
        xml.writeTextElement(u"answernumbering"_s, u"abc"_s);
        const QString share = Interchange::shareText(q.correctCount());
        for (qsizetype i = 0; i < q.answers.size(); ++i) {
            xml.writeStartElement(u"answer"_s);
            xml.writeAttribute(u"fraction"_s, i < q.correct.size() && q.correct[i] ? share : u"0"_s);
            xml.writeAttribute(u"format"_s, u"html"_s);
            xml.writeTextElement(u"text"_s, HtmlText::fromText(q.answers[i]));
            textElement(xml, u"feedback"_s, u"html"_s, {});
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

} // namespace MoodleXmlWriter
