#include "interchange/MoodleXmlReader.h"

#include "interchange/HtmlText.h"

#include <QUrl>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace MoodleXmlReader {

namespace {

using Issue = InterchangeNote::Issue;

// Real files nest five elements deep; anything far deeper is not a question bank.
constexpr int kMaxDepth = 64;

struct EmbeddedFile {
    QString name;
    QByteArray base64;
};

// A <questiontext>, <generalfeedback>, <answer> or <feedback>: its text and embedded files.
struct TextBlock {
    QString format;
    QString text;
    QList<EmbeddedFile> files;
    double fraction = 0;
    QString feedback; // <answer> only
};

// Reads the rest of the current element into `block`: <text>, <file> and, inside an answer,
// <feedback>; anything else is passed over.
void readBlock(QXmlStreamReader &xml, TextBlock &block)
{
    block.format = xml.attributes().value(u"format"_s).toString();
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"text") {
            block.text = xml.readElementText(QXmlStreamReader::SkipChildElements);
        } else if (name == u"file") {
            EmbeddedFile f;
            f.name = xml.attributes().value(u"name"_s).toString();
            const bool base64 =
                xml.attributes().value(u"encoding"_s).compare(u"base64", Qt::CaseInsensitive) == 0;
            const QString data = xml.readElementText(QXmlStreamReader::SkipChildElements);
            if (base64)
                f.base64 = data.toLatin1();
            block.files.append(std::move(f));
        } else if (name == u"feedback") {
            TextBlock inner;
            readBlock(xml, inner);
            block.feedback = inner.text;
        } else {
            xml.skipCurrentElement();
        }
    }
}

bool isHtml(const QString &format)
{
    return format.isEmpty() || format == u"html"_s || format == u"moodle_auto_format"_s;
}

QString plainOf(const TextBlock &b, QStringList *images = nullptr)
{
    if (!isHtml(b.format))
        return Interchange::toModelLineBreaks(b.text.trimmed());
    const HtmlText::Content c = HtmlText::toText(b.text);
    if (images)
        *images += c.images;
    return Interchange::toModelLineBreaks(c.text);
}

QByteArray decodeBase64(const QByteArray &text)
{
    QByteArray compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
            compact += c;
    }
    auto decoded = QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

// "@@PLUGINFILE@@/some%20name.png?time=1" gives "some name.png"; a picture from elsewhere gives
// nothing.
QString embeddedName(const QString &src)
{
    const QString prefix = u"@@PLUGINFILE@@/"_s;
    if (!src.startsWith(prefix))
        return {};
    QString rest = src.mid(prefix.size());
    const qsizetype query = rest.indexOf(u'?');
    if (query >= 0)
        rest.truncate(query);
    return QUrl::fromPercentEncoding(rest.toUtf8());
}

class Reader {
public:
    Reader(QByteArrayView bytes, InterchangeContent &out) : m_xml(bytes.toByteArray()), m_out(out)
    {
        m_xml.setNamespaceProcessing(false);
        m_xml.setEntityExpansionLimit(1024);
    }

    void run()
    {
        bool inQuiz = false;
        int depth = 0;
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::DTD) {
                m_out.error = u"the file declares a document type (DTD), which is refused."_s;
                return;
            }
            if (token == QXmlStreamReader::EndElement) {
                --depth;
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (!inQuiz) {
                if (m_xml.name() != u"quiz") {
                    m_out.error =
                        u"not Moodle XML: the document element is <%1>, not <quiz>."_s.arg(m_xml.name());
                    return;
                }
                inQuiz = true;
                ++depth;
                continue;
            }
            if (depth == 1 && m_xml.name() == u"question") {
                if (!readQuestion())
                    return;
                continue;
            }
            if (++depth > kMaxDepth) {
                m_out.error = u"elements nested more than %1 deep."_s.arg(kMaxDepth);
                return;
            }
        }
        if (m_xml.hasError()) {
            const QString why = m_xml.errorString();
            if (!inQuiz) {
                m_out.error =
                    m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && m_xml.lineNumber() <= 1
                        ? u"the file is empty."_s
                        : u"not XML (line %1: %2)."_s.arg(m_xml.lineNumber()).arg(why);
                return;
            }
            m_out.notes.append({static_cast<int>(m_xml.lineNumber()), 0, Issue::Damaged, why});
        } else if (!inQuiz) {
            m_out.error = u"the file is empty."_s;
        }
    }

private:
    // False when the reader is to stop.
    bool readQuestion()
    {
        const QString type = m_xml.attributes().value(u"type"_s).toString();
        InterchangeQuestion q;
        q.line = static_cast<int>(m_xml.lineNumber());
        if (type == u"category"_s) {
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == u"category") {
                    TextBlock b;
                    readBlock(m_xml, b);
                    m_category = Interchange::categoryName(b.text.trimmed());
                } else {
                    m_xml.skipCurrentElement();
                }
            }
            return true;
        }
        q.number = ++m_number;
        if (Interchange::isFull(m_out, q))
            return false;
        if (type != u"multichoice"_s) {
            m_xml.skipCurrentElement();
            if (!m_xml.hasError())
                Interchange::note(m_out.notes, q,
                                  type == u"description"_s ? Issue::Description : Issue::OtherType, type);
            return true;
        }
        TextBlock text;
        TextBlock comment;
        QList<TextBlock> answers;
        bool single = true;
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (name == u"name") {
                TextBlock b;
                readBlock(m_xml, b);
                q.title = b.text.trimmed();
            } else if (name == u"questiontext") {
                readBlock(m_xml, text);
            } else if (name == u"generalfeedback") {
                readBlock(m_xml, comment);
            } else if (name == u"single") {
                const QString v = m_xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
                single = !(v == u"false"_s || v == u"0"_s);
            } else if (name == u"answer") {
                TextBlock a;
                a.fraction = m_xml.attributes().value(u"fraction"_s).toDouble();
                readBlock(m_xml, a);
                answers.append(std::move(a));
            } else {
                m_xml.skipCurrentElement();
            }
        }
        // A question cut off by damage is not taken half-read.
        if (m_xml.hasError())
            return true;

        q.multipleChoice = !single;
        QStringList images;
        if (isHtml(text.format)) {
            const HtmlText::Content c = HtmlText::toText(text.text);
            q.text = Interchange::toModelLineBreaks(c.text);
            if (c.hasPassage) {
                q.passage = Interchange::toModelLineBreaks(c.passage);
                q.passageName = c.passageName;
            }
            images = c.images;
        } else {
            q.text = Interchange::toModelLineBreaks(text.text.trimmed());
        }
        QStringList otherImages; // in the comment and the answers
        q.comment = plainOf(comment, &otherImages);
        QList<double> weights;
        bool answerFeedback = false;
        for (const TextBlock &a : std::as_const(answers)) {
            q.answers.append(plainOf(a, &otherImages));
            q.correct.append(a.fraction > 0);
            weights.append(a.fraction);
            answerFeedback = answerFeedback || !a.feedback.trimmed().isEmpty();
        }
        QString detail;
        if (const auto issue = Interchange::problemOf(q, &detail)) {
            // Judged before the pictures, so that a question skipped anyway is not also told about them.
            if (*issue != Issue::NoText || images.isEmpty()) {
                Interchange::note(m_out.notes, q, *issue, detail);
                return true;
            }
        }
        takePictures(q, images, text.files);
        for (const QString &src : std::as_const(otherImages)) {
            const QString name = embeddedName(src);
            Interchange::note(m_out.notes, q, Issue::PictureLeftOut, name.isEmpty() ? src : name);
        }
        if (answerFeedback)
            Interchange::note(m_out.notes, q, Issue::AnswerFeedbackLeftOut);
        if (!Interchange::weightsAreShares(weights))
            Interchange::note(m_out.notes, q, Issue::WeightsSimplified);
        if (m_out.questions.isEmpty() && m_out.category.isEmpty())
            m_out.category = m_category;
        Interchange::accept(m_out, std::move(q));
        return true;
    }

    // The first picture of the text becomes the question's; any other is named in a note.
    void takePictures(InterchangeQuestion &q, const QStringList &images, const QList<EmbeddedFile> &files)
    {
        for (qsizetype i = 0; i < images.size(); ++i) {
            const QString name = embeddedName(images[i]);
            if (i > 0 || name.isEmpty()) {
                Interchange::note(m_out.notes, q, Issue::PictureLeftOut, name.isEmpty() ? images[i] : name);
                continue;
            }
            const EmbeddedFile *file = nullptr;
            for (const EmbeddedFile &f : files) {
                if (f.name == name)
                    file = &f;
            }
            QString kept = name;
            if (!file || !Interchange::takePicture(decodeBase64(file->base64), kept, q.picture)) {
                Interchange::note(m_out.notes, q, Issue::PictureUnreadable, name);
                continue;
            }
            q.pictureName = kept;
        }
    }

    QXmlStreamReader m_xml;
    InterchangeContent &m_out;
    QString m_category;
    int m_number = 0;
};

} // namespace

InterchangeContent read(QByteArrayView bytes)
{
    InterchangeContent out;
    if (Interchange::refuseLarge(bytes, out))
        return out;
    Reader(bytes, out).run();
    return out;
}

bool looksLike(QByteArrayView bytes)
{
    const QByteArray head = bytes.first(std::min<qsizetype>(bytes.size(), 4096)).toByteArray();
    const qsizetype skip = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const QByteArray start = head.mid(skip).trimmed();
    return start.startsWith("<?xml") || start.startsWith("<quiz") || head.contains("<quiz");
}

} // namespace MoodleXmlReader
