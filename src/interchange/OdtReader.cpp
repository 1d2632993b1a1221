#include "interchange/OdtReader.h"

#include "interchange/WordXmlParser.h"
#include "storage/ZipPackage.h"

#include <QXmlStreamReader>
#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace OdtReader {

namespace {

const QString kText = u"urn:oasis:names:tc:opendocument:xmlns:text:1.0"_s;
const QString kStyle = u"urn:oasis:names:tc:opendocument:xmlns:style:1.0"_s;
const QString kFo = u"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"_s;
const QString kXlink = u"http://www.w3.org/1999/xlink"_s;
const QString kTable = u"urn:oasis:names:tc:opendocument:xmlns:table:1.0"_s;

// What a style says about characters; what it does not say comes from its parent.
struct TextProperties {
    std::optional<bool> bold, underline, highlight;
    std::optional<QString> colour;

    void under(const TextProperties &parent)
    {
        if (!bold)
            bold = parent.bold;
        if (!underline)
            underline = parent.underline;
        if (!highlight)
            highlight = parent.highlight;
        if (!colour)
            colour = parent.colour;
    }
    WordFormat format() const
    {
        return {bold.value_or(false), underline.value_or(false), highlight.value_or(false),
                colour.value_or(QString())};
    }
};

struct Style {
    QString parent;
    QString displayName;
    QString listStyle;
    TextProperties text;
};

class Parser : public WordXmlParser {
public:
    using WordXmlParser::WordXmlParser;
    bool run(QString &error);

private:
    void readStyles(); // office:styles, office:automatic-styles in the current XML
    void style();
    void listStyle();
    TextProperties resolved(const QString &family, const QString &name) const;
    // Whether the paragraph style or one it derives from is named so ("Title", "Heading").
    bool inChain(const QString &name, QStringView prefix) const;

    void blocks(int listLevel, const QString &listStyleName);
    void list(int level, QString styleName);
    void paragraph(WordBlock &block, const TextProperties &base, QString *cellText);
    void content(WordBlock &block, const TextProperties &format);
    void frame(WordBlock &block);
    void table();
    void add(WordBlock block);

    QHash<QString, Style> m_styles;                       // family + ":" + name
    QHash<QString, QHash<int, WordListKind>> m_listKinds; // list style -> level (from 0) -> kind
};

void Parser::style()
{
    const QXmlStreamAttributes a = m_xml.attributes();
    const QString key =
        a.value(kStyle, u"family"_s).toString() + u':' + a.value(kStyle, u"name"_s).toString();
    Style s;
    s.parent = a.value(kStyle, u"parent-style-name"_s).toString();
    s.displayName = a.value(kStyle, u"display-name"_s).toString();
    s.listStyle = a.value(kStyle, u"list-style-name"_s).toString();
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() == u"text-properties") {
            const QXmlStreamAttributes t = m_xml.attributes();
            if (t.hasAttribute(kFo, u"font-weight"_s)) {
                const QStringView w = t.value(kFo, u"font-weight"_s);
                s.text.bold = w == u"bold" || w.toInt() >= 600;
            }
            if (t.hasAttribute(kStyle, u"text-underline-style"_s))
                s.text.underline = t.value(kStyle, u"text-underline-style"_s) != u"none";
            if (t.hasAttribute(kFo, u"background-color"_s)) {
                const QString c = t.value(kFo, u"background-color"_s).toString().toLower();
                s.text.highlight = c != u"transparent"_s && c != u"#ffffff"_s;
            }
            if (t.hasAttribute(kFo, u"color"_s)) {
                QString c = t.value(kFo, u"color"_s).toString().toUpper();
                if (c.startsWith(u'#'))
                    c.remove(0, 1);
                s.text.colour = c == u"000000"_s ? QString() : c;
            }
        }
        m_xml.skipCurrentElement();
    }
    m_styles.insert(key, s);
}

void Parser::listStyle()
{
    auto &levels = m_listKinds[m_xml.attributes().value(kStyle, u"name"_s).toString()];
    while (m_xml.readNextStartElement()) {
        const QStringView n = m_xml.name();
        const int level = m_xml.attributes().value(kText, u"level"_s).toInt() - 1;
        if (n == u"list-level-style-number") {
            const QStringView f = m_xml.attributes().value(kStyle, u"num-format"_s);
            levels.insert(level, f == u"a" || f == u"A" ? WordListKind::Letter
                                 : f.isEmpty()          ? WordListKind::None
                                                        : WordListKind::Number);
        } else if (n == u"list-level-style-bullet" || n == u"list-level-style-image") {
            levels.insert(level, WordListKind::Bullet);
        }
        m_xml.skipCurrentElement();
    }
}

void Parser::readStyles()
{
    while (m_xml.readNextStartElement()) {
        const QStringView n = m_xml.name();
        if (n == u"styles" || n == u"automatic-styles") {
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == u"style")
                    style();
                else if (m_xml.name() == u"list-style")
                    listStyle();
                else
                    m_xml.skipCurrentElement();
            }
        } else if (n == u"body") {
            return; // content.xml: the body follows
        } else {
            m_xml.skipCurrentElement();
        }
    }
}

TextProperties Parser::resolved(const QString &family, const QString &name) const
{
    TextProperties p;
    QString current = name;
    for (int hops = 0; hops < 16 && !current.isEmpty(); ++hops) {
        const auto found = m_styles.constFind(family + u':' + current);
        if (found == m_styles.constEnd())
            break;
        p.under(found->text);
        current = found->parent;
    }
    return p;
}

bool Parser::inChain(const QString &name, QStringView prefix) const
{
    QString current = name;
    for (int hops = 0; hops < 16 && !current.isEmpty(); ++hops) {
        const auto found = m_styles.constFind(u"paragraph:"_s + current);
        if (current.startsWith(prefix) ||
            (found != m_styles.constEnd() && found->displayName.startsWith(prefix)))
            return true;
        if (found == m_styles.constEnd())
            break;
        current = found->parent;
    }
    return false;
}

void Parser::frame(WordBlock &block)
{
    Enter enter(*this);
    if (tooDeep())
        return;
    // Pictures anywhere in the frame; the text of a caption's box is no part of the paragraph.
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() == u"image") {
            const QString href = m_xml.attributes().value(kXlink, u"href"_s).toString();
            const QString member = href.startsWith(u"./"_s) ? href.mid(2) : href;
            if (!member.isEmpty() && !member.contains(u"://"_s) && !block.pictures.contains(member))
                block.pictures << member;
        }
        frame(block);
    }
}

void Parser::content(WordBlock &block, const TextProperties &format)
{
    Enter enter(*this);
    if (tooDeep())
        return;
    const WordFormat f = format.format();
    const auto append = [&](const QString &text) {
        if (text.isEmpty())
            return;
        m_characters += text.size();
        if (m_characters > WordText::MaxCharacters) {
            limit(u"more than %1 million characters of text; no test is that long."_s.arg(
                WordText::MaxCharacters >> 20));
            return;
        }
        if (!block.runs.isEmpty() && block.runs.last().format == f)
            block.runs.last().text += text;
        else
            block.runs.append({text, f});
    };
    while (!m_xml.atEnd()) {
        const auto token = m_xml.readNext();
        if (token == QXmlStreamReader::EndElement || m_xml.hasError())
            return;
        if (token == QXmlStreamReader::Characters) {
            // Outside text:s, white space in the XML is one space.
            QString text = m_xml.text().toString();
            for (QChar &c : text) {
                if (c == u'\n' || c == u'\r' || c == u'\t')
                    c = u' ';
            }
            QString collapsed;
            for (QChar c : std::as_const(text)) {
                if (c != u' ' || !collapsed.endsWith(u' '))
                    collapsed += c;
            }
            append(collapsed);
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView n = m_xml.name();
        if (n == u"span" || n == u"a" || n == u"ruby" || n == u"ruby-base" || n == u"meta") {
            TextProperties inner =
                resolved(u"text"_s, m_xml.attributes().value(kText, u"style-name"_s).toString());
            inner.under(format);
            content(block, inner);
        } else if (n == u"s") {
            const int count =
                std::clamp(m_xml.attributes().value(kText, u"c"_s).toInt(), 1, WordText::MaxRepeatedSpaces);
            append(QString(count, u' '));
            m_xml.skipCurrentElement();
        } else if (n == u"tab") {
            append(u"\t"_s);
            m_xml.skipCurrentElement();
        } else if (n == u"line-break") {
            append(u"\n"_s);
            m_xml.skipCurrentElement();
        } else if (n == u"frame") {
            frame(block);
        } else {
            // Notes, annotations, bookmarks, tracked changes: no part of the text.
            m_xml.skipCurrentElement();
        }
    }
}

void Parser::paragraph(WordBlock &block, const TextProperties &base, QString *cellText)
{
    ++m_paragraphs;
    const QString styleName = m_xml.attributes().value(kText, u"style-name"_s).toString();
    if (m_xml.name() == u"h" || inChain(styleName, u"Heading"))
        block.heading = true;
    if (inChain(styleName, u"Title"))
        block.title = block.heading = true;
    TextProperties format = resolved(u"paragraph"_s, styleName);
    format.under(base);
    WordBlock inner;
    WordBlock &target = cellText ? inner : block;
    content(target, format);
    for (WordRun &r : target.runs)
        r.text = WordText::plain(r.text);
    if (cellText) {
        if (!cellText->isEmpty())
            *cellText += u'\n';
        *cellText += inner.text();
        block.pictures += inner.pictures;
        return;
    }
    block.paragraph = m_paragraphs;
}

void Parser::add(WordBlock block)
{
    if (m_doc.blocks.size() >= WordText::MaxBlocks) {
        limit(u"more than %1 paragraphs; no test is that long."_s.arg(WordText::MaxBlocks));
        return;
    }
    m_doc.blocks.append(std::move(block));
}

void Parser::list(int level, QString styleName)
{
    Enter enter(*this);
    if (tooDeep())
        return;
    const QString own = m_xml.attributes().value(kText, u"style-name"_s).toString();
    if (!own.isEmpty())
        styleName = own;
    while (m_xml.readNextStartElement()) {
        const bool header = m_xml.name() == u"list-header";
        if (m_xml.name() != u"list-item" && !header) {
            m_xml.skipCurrentElement();
            continue;
        }
        bool first = !header;
        while (m_xml.readNextStartElement()) {
            const QStringView n = m_xml.name();
            if (n == u"p" || n == u"h") {
                WordBlock block;
                const QString paragraphStyle = m_xml.attributes().value(kText, u"style-name"_s).toString();
                paragraph(block, {}, nullptr);
                // Only the item's first paragraph carries its number.
                if (std::exchange(first, false) && !block.heading) {
                    QString listName = styleName;
                    if (listName.isEmpty())
                        listName = m_styles.value(u"paragraph:"_s + paragraphStyle).listStyle;
                    const auto kinds = m_listKinds.constFind(listName);
                    block.listLevel = std::clamp(level, 0, 9);
                    block.listKind = kinds == m_listKinds.constEnd()
                                         ? WordListKind::Number
                                         : kinds->value(block.listLevel, WordListKind::Number);
                    if (block.listKind == WordListKind::None)
                        block.listLevel = -1;
                }
                add(std::move(block));
            } else if (n == u"list") {
                list(level + 1, styleName);
                first = false;
            } else if (n == u"table") {
                table();
            } else {
                m_xml.skipCurrentElement();
            }
        }
    }
}

void Parser::table()
{
    WordBlock block;
    block.paragraph = m_paragraphs + 1;
    const auto cell = [&](auto &&self, QString &text) -> void {
        Enter enter(*this);
        if (tooDeep())
            return;
        while (m_xml.readNextStartElement()) {
            const QStringView n = m_xml.name();
            if (n == u"p" || n == u"h")
                paragraph(block, {}, &text);
            else if (n == u"list" || n == u"list-item" || n == u"table" || n == u"table-row" ||
                     n == u"table-rows" || n == u"table-cell" || n == u"section")
                self(self, text); // nested: the text of the cell
            else
                m_xml.skipCurrentElement();
        }
    };
    const auto rows = [&](auto &&self) -> void {
        Enter enter(*this);
        if (tooDeep())
            return;
        while (m_xml.readNextStartElement()) {
            const QStringView n = m_xml.name();
            if (n == u"table-row") {
                QStringList row;
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() == u"table-cell") {
                        QString text;
                        cell(cell, text);
                        row << text;
                    } else {
                        m_xml.skipCurrentElement();
                    }
                }
                block.table << row;
            } else if (n == u"table-rows" || n == u"table-header-rows" || n == u"table-row-group") {
                self(self);
            } else {
                m_xml.skipCurrentElement();
            }
        }
    };
    rows(rows);
    if (block.table.isEmpty())
        block.table << QStringList();
    add(std::move(block));
}

void Parser::blocks(int listLevel, const QString &listStyleName)
{
    Enter enter(*this);
    if (tooDeep())
        return;
    while (m_xml.readNextStartElement() && m_limit.isEmpty()) {
        const QStringView n = m_xml.name();
        if ((n == u"p" || n == u"h") && m_xml.namespaceUri() == kText) {
            WordBlock block;
            paragraph(block, {}, nullptr);
            add(std::move(block));
        } else if (n == u"list") {
            list(listLevel + 1, listStyleName);
        } else if (n == u"table" && m_xml.namespaceUri() == kTable) {
            table();
        } else if (n == u"section" || n == u"text" || n == u"body" || n == u"index-body") {
            blocks(listLevel, listStyleName);
        } else {
            m_xml.skipCurrentElement();
        }
    }
}

bool Parser::run(QString &error)
{
    if (const std::optional<QByteArray> styles = m_package.read(u"styles.xml"_s); styles && start(*styles))
        readStyles();
    const std::optional<QByteArray> bytes = m_package.read(u"content.xml"_s);
    if (!bytes) {
        error = m_package.error();
        return false;
    }
    if (start(*bytes)) {
        readStyles();
        if (m_xml.name() == u"body" && !m_xml.hasError())
            blocks(-1, {});
    }
    if (!m_limit.isEmpty()) {
        error = m_limit;
        return false;
    }
    if (m_xml.hasError()) {
        error = u"content.xml: "_s + m_xml.errorString();
        return false;
    }
    if (!loadPictures(error))
        return false;
    m_doc.title = firstText(u"meta.xml"_s, u"title");
    return true;
}

} // namespace

bool looksLike(ZipPackage &package)
{
    if (!package.has(u"mimetype"_s))
        return false;
    const std::optional<QByteArray> type = package.read(u"mimetype"_s);
    return type && type->trimmed().startsWith("application/vnd.oasis.opendocument.text");
}

bool read(ZipPackage &package, WordDocument &document, QString &error)
{
    Parser parser(package, document);
    return parser.run(error);
}

} // namespace OdtReader
