#include "interchange/DocxReader.h"

#include "interchange/WordXmlParser.h"
#include "storage/ZipPackage.h"

#include <QXmlStreamReader>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace DocxReader {

namespace {

const QString kMain = u"http://schemas.openxmlformats.org/wordprocessingml/2006/main"_s;
const QString kRelationships = u"http://schemas.openxmlformats.org/officeDocument/2006/relationships"_s;

struct Style {
    QString name;
    QString basedOn;
    int outline = -1;
    QString numId;
    int level = 0;
};

struct Numbering {
    QHash<QString, QString> abstractOf;               // numId -> abstractNumId
    QHash<QString, QHash<int, WordListKind>> kindsOf; // abstractNumId -> level -> kind
};

WordListKind kindOf(QStringView format)
{
    if (format == u"bullet")
        return WordListKind::Bullet;
    if (format == u"lowerLetter" || format == u"upperLetter")
        return WordListKind::Letter;
    if (format == u"none" || format.isEmpty())
        return WordListKind::None;
    return WordListKind::Number;
}

bool isOn(const QXmlStreamAttributes &a)
{
    const QStringView v = a.value(kMain, u"val"_s);
    return !(v == u"0" || v == u"false" || v == u"off" || v == u"none");
}

class Parser : public WordXmlParser {
public:
    using WordXmlParser::WordXmlParser;

    bool run(QString &error);

private:
    bool finish(QString &error, const QString &member);

    void readStyles();
    void readNumbering();
    void readRelationships();
    void readBody();
    void blockContent();
    void paragraph(WordBlock &block, QString *cellText);
    void paragraphContent(WordBlock &block);
    void paragraphProperties(WordBlock &block);
    void runContent(WordBlock &block);
    WordFormat runProperties();
    void pictures(WordBlock &block);
    void table();
    void applyList(WordBlock &block, const QString &numId, int level);
    const Style *styleOf(const QString &id) const;

    QHash<QString, Style> m_styles;
    Numbering m_numbering;
    QHash<QString, QString> m_targets; // relationship id -> package member
};

bool Parser::finish(QString &error, const QString &member)
{
    if (!m_limit.isEmpty()) {
        error = m_limit;
        return false;
    }
    if (m_xml.hasError() && m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
        error = member + u": "_s + m_xml.errorString();
        return false;
    }
    if (m_xml.hasError()) {
        error = member + u": the XML ends too early."_s;
        return false;
    }
    return true;
}

const Style *Parser::styleOf(const QString &id) const
{
    const auto found = m_styles.constFind(id);
    return found == m_styles.constEnd() ? nullptr : &*found;
}

void Parser::readStyles()
{
    const std::optional<QByteArray> bytes = m_package.read(u"word/styles.xml"_s);
    if (!bytes || !start(*bytes))
        return;
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() != u"style") {
            m_xml.skipCurrentElement();
            continue;
        }
        Style style;
        const QString id = m_xml.attributes().value(kMain, u"styleId"_s).toString();
        while (m_xml.readNextStartElement()) {
            const QStringView n = m_xml.name();
            if (n == u"name") {
                style.name = m_xml.attributes().value(kMain, u"val"_s).toString().toLower();
                m_xml.skipCurrentElement();
            } else if (n == u"basedOn") {
                style.basedOn = m_xml.attributes().value(kMain, u"val"_s).toString();
                m_xml.skipCurrentElement();
            } else if (n == u"pPr") {
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() == u"outlineLvl") {
                        style.outline = m_xml.attributes().value(kMain, u"val"_s).toInt();
                        m_xml.skipCurrentElement();
                    } else if (m_xml.name() == u"numPr") {
                        while (m_xml.readNextStartElement()) {
                            if (m_xml.name() == u"numId")
                                style.numId = m_xml.attributes().value(kMain, u"val"_s).toString();
                            else if (m_xml.name() == u"ilvl")
                                style.level = m_xml.attributes().value(kMain, u"val"_s).toInt();
                            m_xml.skipCurrentElement();
                        }
                    } else {
                        m_xml.skipCurrentElement();
                    }
                }
            } else {
                m_xml.skipCurrentElement();
            }
        }
        m_styles.insert(id, style);
    }
    // Styles are helpful, not needed: a damaged styles.xml leaves the paragraphs as they are.
}

void Parser::readNumbering()
{
    const std::optional<QByteArray> bytes = m_package.read(u"word/numbering.xml"_s);
    if (!bytes || !start(*bytes))
        return;
    while (m_xml.readNextStartElement()) {
        const QStringView n = m_xml.name();
        if (n == u"abstractNum") {
            const QString id = m_xml.attributes().value(kMain, u"abstractNumId"_s).toString();
            auto &levels = m_numbering.kindsOf[id];
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() != u"lvl") {
                    m_xml.skipCurrentElement();
                    continue;
                }
                const int level = m_xml.attributes().value(kMain, u"ilvl"_s).toInt();
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() == u"numFmt")
                        levels.insert(level, kindOf(m_xml.attributes().value(kMain, u"val"_s)));
                    m_xml.skipCurrentElement();
                }
            }
        } else if (n == u"num") {
            const QString id = m_xml.attributes().value(kMain, u"numId"_s).toString();
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == u"abstractNumId")
                    m_numbering.abstractOf.insert(id, m_xml.attributes().value(kMain, u"val"_s).toString());
                m_xml.skipCurrentElement();
            }
        } else {
            m_xml.skipCurrentElement();
        }
    }
}

void Parser::readRelationships()
{
    const std::optional<QByteArray> bytes = m_package.read(u"word/_rels/document.xml.rels"_s);
    if (!bytes || !start(*bytes))
        return;
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() == u"Relationship" &&
            m_xml.attributes().value(u"TargetMode"_s).compare(u"External", Qt::CaseInsensitive) != 0) {
            QString target = m_xml.attributes().value(u"Target"_s).toString();
            // Targets are relative to word/ or absolute in the package.
            target = target.startsWith(u'/') ? target.mid(1) : u"word/"_s + target;
            m_targets.insert(m_xml.attributes().value(u"Id"_s).toString(), target);
        }
        m_xml.skipCurrentElement();
    }
}

void Parser::applyList(WordBlock &block, const QString &numId, int level)
{
    if (numId.isEmpty() || numId == u"0"_s) {
        block.listLevel = -1;
        block.listKind = WordListKind::None;
        return;
    }
    const QString abstract = m_numbering.abstractOf.value(numId);
    const auto levels = m_numbering.kindsOf.constFind(abstract);
    block.listLevel = std::clamp(level, 0, 8);
    // A list without its numbering.xml entry still numbers with digits.
    block.listKind = levels == m_numbering.kindsOf.constEnd()
                         ? WordListKind::Number
                         : levels->value(block.listLevel, WordListKind::Number);
    if (block.listKind == WordListKind::None)
        block.listLevel = -1;
}

void Parser::paragraphProperties(WordBlock &block)
{
    QString numId;
    int level = 0;
    bool numbered = false;
    QString styleId;
    while (m_xml.readNextStartElement()) {
        const QStringView n = m_xml.name();
        if (n == u"pStyle") {
            styleId = m_xml.attributes().value(kMain, u"val"_s).toString();
            m_xml.skipCurrentElement();
        } else if (n == u"outlineLvl") {
            block.heading = m_xml.attributes().value(kMain, u"val"_s).toInt() < 9;
            m_xml.skipCurrentElement();
        } else if (n == u"numPr") {
            numbered = true;
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == u"numId")
                    numId = m_xml.attributes().value(kMain, u"val"_s).toString();
                else if (m_xml.name() == u"ilvl")
                    level = m_xml.attributes().value(kMain, u"val"_s).toInt();
                m_xml.skipCurrentElement();
            }
        } else {
            m_xml.skipCurrentElement();
        }
    }
    // The style decides what the paragraph does not say itself, through its parents.
    QString id = styleId;
    bool styleNumbered = false;
    for (int hops = 0; hops < 10 && !id.isEmpty(); ++hops) {
        const Style *s = styleOf(id);
        if (!s)
            break;
        if (s->name == u"title"_s)
            block.title = true;
        if (s->name.startsWith(u"heading"_s) || (s->outline >= 0 && s->outline < 9))
            block.heading = true;
        if (!numbered && !styleNumbered && !s->numId.isEmpty()) {
            styleNumbered = true;
            numId = s->numId;
            level = s->level;
        }
        id = s->basedOn;
    }
    if (block.title)
        block.heading = true;
    if ((numbered || styleNumbered) && !block.heading)
        applyList(block, numId, level);
}

WordFormat Parser::runProperties()
{
    WordFormat f;
    while (m_xml.readNextStartElement()) {
        const QStringView n = m_xml.name();
        const QXmlStreamAttributes a = m_xml.attributes();
        if (n == u"b")
            f.bold = isOn(a);
        else if (n == u"u")
            f.underline = isOn(a);
        else if (n == u"highlight")
            f.highlight = isOn(a);
        else if (n == u"shd") {
            const QString fill = a.value(kMain, u"fill"_s).toString().toUpper();
            if (!fill.isEmpty() && fill != u"AUTO"_s && fill != u"FFFFFF"_s)
                f.highlight = true;
        } else if (n == u"color") {
            const QString c = a.value(kMain, u"val"_s).toString().toUpper();
            f.colour = c == u"AUTO"_s || c == u"000000"_s ? QString() : c;
        }
        m_xml.skipCurrentElement();
    }
    return f;
}

void Parser::pictures(WordBlock &block)
{
    Enter enter(*this);
    if (tooDeep())
        return;
    while (m_xml.readNextStartElement()) {
        const QStringView n = m_xml.name();
        if (n == u"Fallback" || n == u"txbxContent") {
            // The fallback repeats the choice before it; a text box is no part of the paragraph.
            m_xml.skipCurrentElement();
            continue;
        }
        QString id;
        if (n == u"blip")
            id = m_xml.attributes().value(kRelationships, u"embed"_s).toString();
        else if (n == u"imagedata")
            id = m_xml.attributes().value(kRelationships, u"id"_s).toString();
        if (!id.isEmpty()) {
            const QString target = m_targets.value(id);
            if (!target.isEmpty() && !block.pictures.contains(target))
                block.pictures << target;
        }
        pictures(block);
    }
}

void Parser::runContent(WordBlock &block)
{
    WordFormat format;
    while (m_xml.readNextStartElement()) {
        const QStringView n = m_xml.name();
        if (n == u"rPr") {
            format = runProperties();
            continue;
        }
        QString text;
        if (n == u"t") {
            text = m_xml.readElementText(QXmlStreamReader::SkipChildElements);
        } else if (n == u"tab" || n == u"ptab") {
            text = u"\t"_s;
            m_xml.skipCurrentElement();
        } else if (n == u"br") {
            const QStringView type = m_xml.attributes().value(kMain, u"type"_s);
            if (type.isEmpty() || type == u"textWrapping")
                text = u"\n"_s;
            m_xml.skipCurrentElement();
        } else if (n == u"cr") {
            text = u"\n"_s;
            m_xml.skipCurrentElement();
        } else if (n == u"noBreakHyphen") {
            text = u"-"_s;
            m_xml.skipCurrentElement();
        } else if (n == u"drawing" || n == u"pict" || n == u"object" || n == u"AlternateContent") {
            pictures(block);
        } else {
            m_xml.skipCurrentElement();
        }
        if (!text.isEmpty()) {
            if (!block.runs.isEmpty() && block.runs.last().format == format)
                block.runs.last().text += text;
            else
                block.runs.append({text, format});
        }
    }
}

void Parser::paragraphContent(WordBlock &block)
{
    Enter enter(*this);
    if (tooDeep())
        return;
    while (m_xml.readNextStartElement()) {
        const QStringView n = m_xml.name();
        if (n == u"pPr")
            paragraphProperties(block);
        else if (n == u"r")
            runContent(block);
        else if (n == u"del" || n == u"moveFrom")
            m_xml.skipCurrentElement(); // a tracked deletion is not the text
        else if (n == u"hyperlink" || n == u"ins" || n == u"moveTo" || n == u"smartTag" || n == u"sdt" ||
                 n == u"sdtContent" || n == u"fldSimple" || n == u"customXml")
            paragraphContent(block);
        else
            m_xml.skipCurrentElement();
    }
}

void Parser::paragraph(WordBlock &block, QString *cellText)
{
    ++m_paragraphs;
    if (cellText) {
        // In a table cell only the text and the pictures count.
        WordBlock inner;
        paragraphContent(inner);
        if (!cellText->isEmpty())
            *cellText += u'\n';
        *cellText += WordText::plain(inner.text());
        block.pictures += inner.pictures;
        return;
    }
    block.paragraph = m_paragraphs;
    paragraphContent(block);
    for (WordRun &r : block.runs)
        r.text = WordText::plain(r.text);
}

void Parser::table()
{
    WordBlock block;
    block.paragraph = m_paragraphs + 1;
    const auto cells = [&](auto &&self, QString &text) -> void {
        Enter enter(*this);
        if (tooDeep())
            return;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"p")
                paragraph(block, &text);
            else if (m_xml.name() == u"tbl" || m_xml.name() == u"tr" || m_xml.name() == u"tc" ||
                     m_xml.name() == u"sdt" || m_xml.name() == u"sdtContent")
                self(self, text); // a nested table reads as the text of its cell
            else
                m_xml.skipCurrentElement();
        }
    };
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() != u"tr") {
            m_xml.skipCurrentElement();
            continue;
        }
        QStringList row;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != u"tc") {
                m_xml.skipCurrentElement();
                continue;
            }
            QString text;
            cells(cells, text);
            row << text;
        }
        block.table << row;
    }
    if (block.table.isEmpty())
        block.table << QStringList();
    m_doc.blocks.append(std::move(block));
}

void Parser::blockContent()
{
    Enter enter(*this);
    if (tooDeep())
        return;
    while (m_xml.readNextStartElement()) {
        if (m_doc.blocks.size() >= WordText::MaxBlocks) {
            limit(u"more than %1 paragraphs; no test is that long."_s.arg(WordText::MaxBlocks));
            return;
        }
        const QStringView n = m_xml.name();
        if (n == u"p" && m_xml.namespaceUri() == kMain) {
            WordBlock block;
            paragraph(block, nullptr);
            m_doc.blocks.append(std::move(block));
        } else if (n == u"tbl") {
            table();
        } else if (n == u"sdt" || n == u"sdtContent" || n == u"customXml") {
            blockContent();
        } else {
            m_xml.skipCurrentElement();
        }
    }
}

void Parser::readBody()
{
    // <w:document><w:body>
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() == u"body")
            blockContent();
        else
            m_xml.skipCurrentElement();
    }
}

bool Parser::run(QString &error)
{
    readStyles();
    readNumbering();
    readRelationships();
    const std::optional<QByteArray> bytes = m_package.read(u"word/document.xml"_s);
    if (!bytes) {
        error = m_package.error();
        return false;
    }
    if (!start(*bytes)) {
        if (finish(error, u"word/document.xml"_s))
            error = u"word/document.xml holds no document."_s;
        return false;
    }
    readBody();
    if (!finish(error, u"word/document.xml"_s))
        return false;
    if (!loadPictures(error))
        return false;
    m_doc.title = firstText(u"docProps/core.xml"_s, u"title");
    return true;
}

} // namespace

bool looksLike(const ZipPackage &package)
{
    return package.has(u"word/document.xml"_s);
}

bool read(ZipPackage &package, WordDocument &document, QString &error)
{
    Parser parser(package, document);
    return parser.run(error);
}

} // namespace DocxReader
