#include "interchange/InterchangeFormat.h"

#include "interchange/AikenReader.h"
#include "interchange/AikenWriter.h"
#include "interchange/GiftReader.h"
#include "interchange/GiftWriter.h"
#include "interchange/MoodleXmlReader.h"
#include "interchange/MoodleXmlWriter.h"
#include "interchange/WordQuestions.h"

using namespace Qt::StringLiterals;

namespace Interchange {

std::optional<InterchangeFormat> formatFromName(QStringView name)
{
    if (name.compare(u"moodle", Qt::CaseInsensitive) == 0)
        return InterchangeFormat::Moodle;
    if (name.compare(u"gift", Qt::CaseInsensitive) == 0)
        return InterchangeFormat::Gift;
    if (name.compare(u"aiken", Qt::CaseInsensitive) == 0)
        return InterchangeFormat::Aiken;
    if (name.compare(u"docx", Qt::CaseInsensitive) == 0)
        return InterchangeFormat::Docx;
    if (name.compare(u"odt", Qt::CaseInsensitive) == 0)
        return InterchangeFormat::Odt;
    return std::nullopt;
}

QString formatName(InterchangeFormat format)
{
    switch (format) {
    case InterchangeFormat::Moodle:
        return u"moodle"_s;
    case InterchangeFormat::Gift:
        return u"gift"_s;
    case InterchangeFormat::Aiken:
        return u"aiken"_s;
    case InterchangeFormat::Docx:
        return u"docx"_s;
    case InterchangeFormat::Odt:
        return u"odt"_s;
    }
    return {};
}

QString formatExtension(InterchangeFormat format)
{
    switch (format) {
    case InterchangeFormat::Moodle:
        return u".xml"_s;
    case InterchangeFormat::Docx:
        return u".docx"_s;
    case InterchangeFormat::Odt:
        return u".odt"_s;
    default:
        return u".txt"_s;
    }
}

bool isWordProcessor(InterchangeFormat format)
{
    return format == InterchangeFormat::Docx || format == InterchangeFormat::Odt;
}

InterchangeFormat detectFormat(QByteArrayView bytes)
{
    if (WordQuestions::looksLike(bytes)) {
        // An OpenDocument package starts with its uncompressed "mimetype" member.
        const QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), 160));
        return head.indexOf("mimetype") == 30 && head.indexOf("application/vnd.oasis.opendocument.text") > 30
                   ? InterchangeFormat::Odt
                   : InterchangeFormat::Docx;
    }
    if (MoodleXmlReader::looksLike(bytes))
        return InterchangeFormat::Moodle;
    // Aiken's "ANSWER:" lines are unmistakable (GIFT escapes the colon); otherwise an answer block, a
    // "{" no backslash escapes on a line that is no comment, makes GIFT.
    const QString text = decodeTextFile(bytes.first(std::min<qsizetype>(bytes.size(), 1 << 20)));
    bool brace = false;
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u"//"))
            continue;
        if (trimmed.startsWith(u"ANSWER", Qt::CaseInsensitive) &&
            trimmed.sliced(6).trimmed().startsWith(u':'))
            return InterchangeFormat::Aiken;
        for (qsizetype i = 0; i < line.size() && !brace; ++i) {
            if (line[i] == u'\\')
                ++i;
            else if (line[i] == u'{')
                brace = true;
        }
    }
    return brace ? InterchangeFormat::Gift : InterchangeFormat::Aiken;
}

InterchangeContent read(InterchangeFormat format, QByteArrayView bytes)
{
    switch (format) {
    case InterchangeFormat::Moodle:
        return MoodleXmlReader::read(bytes);
    case InterchangeFormat::Gift:
        return GiftReader::read(bytes);
    case InterchangeFormat::Aiken:
        return AikenReader::read(bytes);
    case InterchangeFormat::Docx:
    case InterchangeFormat::Odt:
        // Which of the two it is, the package itself tells.
        return WordQuestions::read(bytes);
    }
    return {};
}

QByteArray write(InterchangeFormat format, const QString &category,
                 const QList<InterchangeQuestion> &questions, QList<InterchangeNote> &notes)
{
    switch (format) {
    case InterchangeFormat::Moodle:
        return MoodleXmlWriter::write(category, questions);
    case InterchangeFormat::Gift:
        return GiftWriter::write(category, questions, notes);
    case InterchangeFormat::Aiken:
        return AikenWriter::write(questions, notes);
    case InterchangeFormat::Docx:
    case InterchangeFormat::Odt:
        break;
    }
    return {};
}

} // namespace Interchange
