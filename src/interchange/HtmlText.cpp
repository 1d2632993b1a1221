#include "interchange/HtmlText.h"

#include "interchange/InterchangeQuestion.h"

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace HtmlText {

namespace {

// The named entities editors write for the letters and signs Polish texts use.
constexpr std::array<std::pair<const char16_t *, char16_t>, 44> kEntities{{
    {u"amp", u'&'},      {u"lt", u'<'},       {u"gt", u'>'},       {u"quot", u'"'},     {u"apos", u'\''},
    {u"nbsp", 0x00A0},   {u"oacute", 0x00F3}, {u"Oacute", 0x00D3}, {u"ndash", 0x2013},  {u"mdash", 0x2014},
    {u"hellip", 0x2026}, {u"laquo", 0x00AB},  {u"raquo", 0x00BB},  {u"bdquo", 0x201E},  {u"ldquo", 0x201C},
    {u"rdquo", 0x201D},  {u"lsquo", 0x2018},  {u"rsquo", 0x2019},  {u"sbquo", 0x201A},  {u"copy", 0x00A9},
    {u"reg", 0x00AE},    {u"deg", 0x00B0},    {u"times", 0x00D7},  {u"divide", 0x00F7}, {u"plusmn", 0x00B1},
    {u"middot", 0x00B7}, {u"sup2", 0x00B2},   {u"sup3", 0x00B3},   {u"frac12", 0x00BD}, {u"frac14", 0x00BC},
    {u"frac34", 0x00BE}, {u"micro", 0x00B5},  {u"sect", 0x00A7},   {u"para", 0x00B6},   {u"euro", 0x20AC},
    {u"minus", 0x2212},  {u"le", 0x2264},     {u"ge", 0x2265},     {u"ne", 0x2260},     {u"asymp", 0x2248},
    {u"bull", 0x2022},   {u"shy", 0x00AD},    {u"auml", 0x00E4},   {u"ouml", 0x00F6},
}};

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// The entity at html[i] ('&'): appends what it stands for and returns the position after it. An '&'
// that starts no entity stands for itself.
qsizetype decodeEntity(QStringView html, qsizetype i, QString &out)
{
    // Only a short stretch is looked at, so that a text of ampersands takes linear time.
    const qsizetype found = html.sliced(i + 1, std::min<qsizetype>(12, html.size() - i - 1)).indexOf(u';');
    const qsizetype end = found < 0 ? -1 : i + 1 + found;
    if (end < 0) {
        out += u'&';
        return i + 1;
    }
    const QStringView name = html.sliced(i + 1, end - i - 1);
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X')
                              ? name.sliced(2).toUInt(&ok, 16)
                              : name.sliced(1).toUInt(&ok, 10);
        if (!ok) {
            out += u'&';
            return i + 1;
        }
        const bool valid = code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        const char32_t c = valid ? char32_t(code) : char32_t(0xFFFD);
        out += QStringView(QChar::fromUcs4(c));
        return end + 1;
    }
    for (const auto &[entity, c] : kEntities) {
        if (name == QStringView(entity)) {
            out += QChar(c);
            return end + 1;
        }
    }
    out += u'&';
    return i + 1;
}

QString decodeEntities(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == u'&') {
            i = decodeEntity(text, i, out);
        } else {
            out += text[i];
            ++i;
        }
    }
    return out;
}

// One tag: its name in lower case, whether it closes an element, and its attributes' text.
struct Tag {
    QString name;
    bool closing = false;
    QStringView attributes;
};

Tag parseTag(QStringView inside)
{
    Tag tag;
    qsizetype i = 0;
    if (i < inside.size() && inside[i] == u'/') {
        tag.closing = true;
        ++i;
    }
    const qsizetype start = i;
    while (i < inside.size() && !isSpace(inside[i]) && inside[i] != u'/')
        ++i;
    tag.name = inside.sliced(start, i - start).toString().toLower();
    tag.attributes = inside.sliced(i);
    return tag;
}

// The value of one attribute (quoted or not), entities decoded; empty when absent.
QString attribute(QStringView attributes, QStringView wanted)
{
    qsizetype i = 0;
    const qsizetype n = attributes.size();
    while (i < n) {
        while (i < n && (isSpace(attributes[i]) || attributes[i] == u'/'))
            ++i;
        const qsizetype nameStart = i;
        while (i < n && !isSpace(attributes[i]) && attributes[i] != u'=' && attributes[i] != u'/')
            ++i;
        const QStringView name = attributes.sliced(nameStart, i - nameStart);
        while (i < n && isSpace(attributes[i]))
            ++i;
        QStringView value;
        if (i < n && attributes[i] == u'=') {
            ++i;
            while (i < n && isSpace(attributes[i]))
                ++i;
            if (i < n && (attributes[i] == u'"' || attributes[i] == u'\'')) {
                const QChar quote = attributes[i];
                const qsizetype close = attributes.indexOf(quote, i + 1);
                const qsizetype stop = close < 0 ? n : close;
                value = attributes.sliced(i + 1, stop - i - 1);
                i = close < 0 ? n : close + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !isSpace(attributes[i]))
                    ++i;
                value = attributes.sliced(valueStart, i - valueStart);
            }
        }
        if (name.isEmpty() && i == nameStart)
            ++i; // a stray character
        else if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return decodeEntities(value);
    }
    return {};
}

bool isBlock(const QString &name)
{
    static const QStringList blocks = {u"p"_s,     u"div"_s, u"li"_s,         u"ul"_s, u"ol"_s, u"tr"_s,
                                       u"table"_s, u"h1"_s,  u"h2"_s,         u"h3"_s, u"h4"_s, u"h5"_s,
                                       u"h6"_s,    u"pre"_s, u"blockquote"_s, u"dl"_s, u"dt"_s, u"dd"_s};
    return blocks.contains(name);
}

class Scanner {
public:
    explicit Scanner(QStringView html) : m_html(html) {}

    Content run()
    {
        Content c;
        qsizetype i = 0;
        const qsizetype n = m_html.size();
        bool started = false; // something other than white space or an empty block came before
        while (i < n) {
            const QChar ch = m_html[i];
            if (ch == u'<') {
                if (m_html.sliced(i).startsWith(u"<!--")) {
                    const qsizetype end = m_html.indexOf(u"-->", i + 4);
                    i = end < 0 ? n : end + 3;
                    continue;
                }
                // Once no ">" follows, none will: a text of "<" takes linear time.
                const qsizetype end = m_noTagEnd ? -1 : m_html.indexOf(u'>', i + 1);
                m_noTagEnd = end < 0;
                if (end < 0 || end == i + 1 || isSpace(m_html[i + 1])) {
                    text(ch);
                    ++i;
                    started = true;
                    continue;
                }
                const Tag tag = parseTag(m_html.sliced(i + 1, end - i - 1));
                i = end + 1;
                if (tag.name == u"script"_s || tag.name == u"style"_s) {
                    if (!tag.closing) {
                        const qsizetype close = m_html.indexOf(u"</"_s + tag.name, i, Qt::CaseInsensitive);
                        i = close < 0 ? n : close;
                    }
                    continue;
                }
                if (tag.name == u"pre"_s && !tag.closing) {
                    const qsizetype close = m_html.indexOf(u"</pre"_s, i, Qt::CaseInsensitive);
                    const qsizetype stop = close < 0 ? n : close;
                    const QString inside = preText(m_html.sliced(i, stop - i));
                    if (!started && !c.hasPassage) {
                        c.hasPassage = true;
                        c.passage = inside;
                        c.passageName = attribute(tag.attributes, u"title");
                    } else {
                        breakLine();
                        m_out += inside;
                        breakLine();
                        started = true;
                    }
                    i = close < 0 ? n : close;
                    continue;
                }
                if (tag.name == u"br"_s) {
                    m_out += u'\n';
                    m_pendingSpace = false;
                    started = true;
                } else if (tag.name == u"img"_s) {
                    if (!tag.closing)
                        c.images.append(attribute(tag.attributes, u"src"));
                    started = true;
                } else if (isBlock(tag.name)) {
                    breakLine();
                }
                continue;
            }
            if (isSpace(ch)) {
                m_pendingSpace = true;
                ++i;
                continue;
            }
            started = true;
            if (ch == u'&') {
                QString decoded;
                i = decodeEntity(m_html, i, decoded);
                for (QChar d : std::as_const(decoded))
                    text(d == QChar(0x00A0) ? QChar(u' ') : d);
                continue;
            }
            text(ch);
            ++i;
        }
        // No line breaks before or after the text.
        qsizetype first = 0;
        while (first < m_out.size() && m_out[first] == u'\n')
            ++first;
        qsizetype last = m_out.size();
        while (last > first && m_out[last - 1] == u'\n')
            --last;
        c.text = m_out.mid(first, last - first);
        return c;
    }

private:
    // White space in the source is one space between words; a hard space (&nbsp;) always counts.
    void text(QChar ch)
    {
        if (m_pendingSpace && !m_out.isEmpty() && !m_out.endsWith(u'\n'))
            m_out += u' ';
        m_pendingSpace = false;
        m_out += ch;
    }
    void breakLine()
    {
        m_pendingSpace = false;
        if (!m_out.isEmpty() && !m_out.endsWith(u'\n'))
            m_out += u'\n';
    }
    static QString preText(QStringView inside)
    {
        // Markup inside the block is dropped; a <br> still breaks the line.
        QString out;
        bool noTagEnd = false;
        for (qsizetype i = 0; i < inside.size();) {
            if (inside[i] == u'<' && !noTagEnd) {
                const qsizetype end = inside.indexOf(u'>', i + 1);
                noTagEnd = end < 0;
                if (end > i + 1) {
                    if (parseTag(inside.sliced(i + 1, end - i - 1)).name == u"br"_s)
                        out += u'\n';
                    i = end + 1;
                    continue;
                }
            }
            if (inside[i] == u'&') {
                i = decodeEntity(inside, i, out);
                continue;
            }
            out += inside[i];
            ++i;
        }
        return Interchange::toPlainLineBreaks(out);
    }

    QStringView m_html;
    QString m_out;
    bool m_pendingSpace = false;
    bool m_noTagEnd = false;
};

} // namespace

Content toText(QStringView html)
{
    return Scanner(html).run();
}

QString escape(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += u"&amp;"_s;
            break;
        case u'<':
            out += u"&lt;"_s;
            break;
        case u'>':
            out += u"&gt;"_s;
            break;
        case u'"':
            out += u"&quot;"_s;
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

QString escapePre(QStringView text)
{
    return escape(Interchange::toPlainLineBreaks(text));
}

QString fromText(QStringView text)
{
    const QString plain = Interchange::toPlainLineBreaks(text);
    QString out;
    out.reserve(plain.size() + plain.size() / 8);
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain[i];
        if (c == u'\n') {
            out += u"<br>"_s;
        } else if (c == u' ') {
            // HTML merges spaces and drops them at the ends of lines: only a single space between two
            // other characters stays an ordinary one.
            const bool single = i > 0 && i + 1 < plain.size() &&
                                !QStringLiteral(" \n").contains(plain[i - 1]) &&
                                !QStringLiteral(" \n").contains(plain[i + 1]);
            out += single ? u" "_s : u"&nbsp;"_s;
        } else {
            out += escape(QStringView(&c, 1));
        }
    }
    return out;
}

} // namespace HtmlText
