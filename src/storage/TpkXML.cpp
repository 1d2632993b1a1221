#include "storage/TpkXML.h"

#include "storage/AtomicFile.h"

#include "storage/Cp1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// Replaces into `out`; false (and `out` untouched) when nothing matched.
bool replaceInto(QStringView source, QStringView pattern, QStringView replacement, QString &out)
{
    if (pattern.isEmpty() || source.size() < pattern.size())
        return false;
    qsizetype hit = source.indexOf(pattern, 0, Qt::CaseInsensitive);
    if (hit < 0)
        return false;
    QString result;
    result.reserve(source.size() + replacement.size() - pattern.size());
    qsizetype from = 0;
    while (hit >= 0) {
        result.append(source.mid(from, hit - from));
        result.append(replacement);
        from = hit + pattern.size();
        hit = source.indexOf(pattern, from, Qt::CaseInsensitive);
    }
    result.append(source.mid(from));
    out = std::move(result);
    return true;
}

void replaceInPlace(QString &text, QStringView pattern, QStringView replacement)
{
    QString replaced;
    if (replaceInto(text, pattern, replacement, replaced))
        text = std::move(replaced);
}

bool needsEscaping(QStringView s)
{
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if ((u >= 1 && u <= 31) || u == u'&' || u == u'<' || u == u'>' || u == u'"' || u == u'\'')
            return true;
    }
    return false;
}

// "&#1;" .. "&#31;", built once.
const std::array<QString, 32> &charReferences()
{
    static const std::array<QString, 32> refs = [] {
        std::array<QString, 32> r;
        for (int code = 1; code < 32; ++code)
            r[code] = u"&#"_s + QString::number(code) + u';';
        return r;
    }();
    return refs;
}

QString escapeSlow(QString text)
{
    replaceInPlace(text, u"&", u"&amp;");
    replaceInPlace(text, u"<", u"&lt;");
    replaceInPlace(text, u">", u"&gt;");
    replaceInPlace(text, u"\"", u"&quot;");
    replaceInPlace(text, u"'", u"&apos;");
    const auto &refs = charReferences();
    for (int code = 1; code < 32; ++code) {
        const QChar c(static_cast<char16_t>(code));
        if (text.contains(c))
            replaceInPlace(text, QStringView(&c, 1), refs[code]);
    }
    return text;
}

QString unescapeSlow(QString text)
{
    if (text.contains(u"&#")) {
        const auto &refs = charReferences();
        for (int code = 1; code < 32; ++code) {
            const QChar c(static_cast<char16_t>(code));
            replaceInPlace(text, refs[code], QStringView(&c, 1));
        }
    }
    replaceInPlace(text, u"&apos;", u"'");
    replaceInPlace(text, u"&quot;", u"\"");
    replaceInPlace(text, u"&gt;", u">");
    replaceInPlace(text, u"&lt;", u"<");
    replaceInPlace(text, u"&amp;", u"&");
    return text;
}

inline bool isSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r';
}

// Text read between tags is trimmed of everything below code 33.
QStringView trimLow(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() < 33)
        ++b;
    while (e > b && s[e - 1].unicode() < 33)
        --e;
    return s.sliced(b, e - b);
}

class Parser {
public:
    Parser(QStringView text, QByteArrayView raw, bool utf16, bool trim)
        : s_(text), n_(text.size()), raw_(raw), utf16_(utf16), trim_(trim)
    {
    }

    // The content of the root node, with an explicit stack instead of recursion.
    bool parse(TpkXMLNode &root)
    {
        std::vector<TpkXMLNode *> open{&root};
        while (true) {
            TpkXMLNode *node = open.back();
            const QStringView between = readUpToTag();
            const QStringView text = trim_ ? trimLow(between) : between;
            if (!text.isEmpty()) {
                if (node->rawText().isEmpty() && text.size() <= kSharedTextLength)
                    node->setRawText(shared(text));
                else
                    node->appendRawText(text);
            }
            if (pos_ >= n_)
                return true; // the input may end inside open elements
            ++pos_;          // the "<"

            if (pos_ < n_ && s_[pos_] == u'/') {
                ++pos_;
                const qsizetype start = pos_;
                while (pos_ < n_ && !isSpace(s_[pos_]) && s_[pos_] != u'>')
                    ++pos_;
                const QStringView endName = s_.sliced(start, pos_ - start);
                skipSpace();
                if (pos_ >= n_) {
                    endTag = endName.toString().toUpper();
                    error = u"Niedokończony znacznik końcowy </%1"_s.arg(endName);
                    return false;
                }
                const QChar c = s_[pos_++];
                if (c == u'>' && endName.compare(node->name, Qt::CaseInsensitive) == 0) {
                    node->closed = true;
                    open.pop_back();
                    if (open.empty())
                        return true;
                    skipSpace();
                    continue;
                }
                endTag = endName.toString().toUpper();
                error = u"Nieoczekiwany znacznik końcowy </%1>"_s.arg(endName);
                return false;
            }

            Tag tag = parseTag();
            if (tag.result == TagFailed)
                return false;
            if (tag.result == TagCdata) {
                node->cdata = tag.cdata;
                continue;
            }
            TpkXMLNode *child = node->appendChild(std::move(tag.node));
            if (!tag.empty) {
                if (open.size() > static_cast<size_t>(TpkXML::kMaxDepth)) {
                    error = u"Elementy zagnieżdżone głębiej niż %1 poziomów"_s.arg(TpkXML::kMaxDepth);
                    return false;
                }
                open.push_back(child);
                continue;
            }
            skipSpace();
        }
    }

    QString error;
    QString endTag;

private:
    enum TagResult { TagNode, TagCdata, TagFailed };
    struct Tag {
        TagResult result = TagFailed;
        std::unique_ptr<TpkXMLNode> node;
        bool empty = false;
        QString cdata;
    };

    // Element names and short texts repeat: the nodes share one string for them, so a file of many
    // like elements costs a node per element and not a string besides.
    static constexpr qsizetype kSharedTextLength = 8;
    QString shared(QStringView s)
    {
        for (const QString &r : recent_) {
            if (r.size() == s.size() && r == s)
                return r;
        }
        QString made = s.toString();
        recent_[nextRecent_++ % recent_.size()] = made;
        return made;
    }

    void skipSpace()
    {
        while (pos_ < n_ && isSpace(s_[pos_]))
            ++pos_;
    }

    QStringView readUpToTag()
    {
        const qsizetype start = pos_;
        const qsizetype lt = s_.indexOf(u'<', pos_);
        pos_ = lt < 0 ? n_ : lt;
        return s_.sliced(start, pos_ - start);
    }

    bool lookingAt(qsizetype at, QStringView what) const
    {
        return at + what.size() <= n_ && s_.sliced(at, what.size()).compare(what, Qt::CaseInsensitive) == 0;
    }

    Tag fail(const QString &why)
    {
        error = why;
        return {};
    }

    Tag unfinished() { return fail(u"Niedokończony znacznik"_s); }

    // One tag, starting after its "<".
    Tag parseTag()
    {
        Tag tag;
        if (pos_ >= n_)
            return unfinished();
        int kind = TpkXMLNode::Element;
        qsizetype nameStart = pos_;
        const QChar first = s_[pos_];
        if (first == u'!') {
            if (lookingAt(pos_ + 1, u"[CDATA[")) {
                const qsizetype start = pos_ + 8;
                const qsizetype end = s_.indexOf(u"]]>", start);
                if (end < 0)
                    return unfinished();
                tag.cdata = s_.sliced(start, end - start).toString();
                pos_ = end + 3;
                tag.result = TagCdata;
                return tag;
            }
            if (lookingAt(pos_ + 1, u"--")) {
                const qsizetype start = pos_ + 3;
                const qsizetype end = s_.indexOf(u"-->", start);
                if (end < 0)
                    return unfinished();
                tag.node = std::make_unique<TpkXMLNode>(QString(), TpkXMLNode::Comment);
                tag.node->setRawText(trimLow(s_.sliced(start, end - start)).toString());
                tag.empty = true;
                pos_ = end + 3;
                tag.result = TagNode;
                return tag;
            }
            kind = TpkXMLNode::Declaration;
            tag.empty = true;
            nameStart = ++pos_;
        } else if (first == u'?') {
            kind = TpkXMLNode::Instruction;
            tag.empty = true;
            nameStart = ++pos_;
        } else if (first == u'&') {
            kind = TpkXMLNode::Binary;
            nameStart = ++pos_;
        } else {
            ++pos_; // whatever it is, the first character belongs to the name
        }
        while (pos_ < n_) {
            const QChar c = s_[pos_];
            if (isSpace(c) || c == u'/' || c == u'>')
                break;
            ++pos_;
        }
        tag.node = std::make_unique<TpkXMLNode>(shared(s_.sliced(nameStart, pos_ - nameStart)), kind);
        TpkXMLNode &node = *tag.node;

        skipSpace();
        if (pos_ >= n_)
            return unfinished();
        bool attributes = true;
        if (s_[pos_] == u'/') {
            if (pos_ + 1 >= n_ || s_[pos_ + 1] != u'>')
                return fail(u"Błędny znacznik <%1"_s.arg(node.name));
            tag.empty = true;
            pos_ += 2;
            attributes = false;
        } else if (s_[pos_] == u'>') {
            ++pos_;
            attributes = false;
        }

        while (attributes) {
            skipSpace();
            if (pos_ >= n_)
                return unfinished();
            if (s_[pos_] == u'/' && pos_ + 1 < n_ && s_[pos_ + 1] == u'>') {
                tag.empty = true;
                pos_ += 2;
                break;
            }
            if (s_[pos_] == u'>') {
                ++pos_;
                break;
            }
            const qsizetype start = pos_;
            while (pos_ < n_) {
                const QChar c = s_[pos_];
                if (isSpace(c) || c == u'=' || c == u'>')
                    break;
                ++pos_;
            }
            if (pos_ >= n_)
                return unfinished();
            QStringView attrName = s_.sliced(start, pos_ - start);
            if (kind == TpkXMLNode::Instruction && attrName == u"?") {
                if (s_[pos_] != u'>')
                    return fail(u"Błędny znacznik <?%1"_s.arg(node.name));
                ++pos_;
                break;
            }
            QStringView value;
            qsizetype look = pos_;
            while (look < n_ && isSpace(s_[look]))
                ++look;
            if (look < n_ && s_[look] == u'=') {
                pos_ = look + 1;
                skipSpace();
                if (pos_ >= n_)
                    return unfinished();
                if (s_[pos_] != u'"' && s_[pos_] != u'\'')
                    return fail(u"Wartość atrybutu %1 bez cudzysłowu"_s.arg(attrName));
                const qsizetype valueStart = ++pos_;
                while (pos_ < n_ && s_[pos_] != u'"' && s_[pos_] != u'\'')
                    ++pos_;
                if (pos_ >= n_)
                    return unfinished();
                value = s_.sliced(valueStart, pos_ - valueStart);
                ++pos_;
            } else if (attrName.size() > 1 && isQuote(attrName.front()) && isQuote(attrName.back())) {
                value = attrName.sliced(1, attrName.size() - 2);
                attrName = {};
            }
            node.attrs().add(trimLow(attrName).toString(), value.toString());
        }

        if (kind == TpkXMLNode::Binary) {
            if (!readBinary(node))
                return unfinished();
        } else {
            if (trim_)
                skipSpace();
            const QStringView text = readUpToTag();
            node.setRawText((trim_ ? trimLow(text) : text).toString());
        }
        tag.result = TagNode;
        return tag;
    }

    static bool isQuote(QChar c) { return c == u'"' || c == u'\''; }

    // The length prefix and the bytes after it come from the raw input: one character per byte for
    // 8-bit text, two bytes per character after the FF FE mark for UTF-16.
    qsizetype byteOffset(qsizetype charPos) const { return utf16_ ? 2 + 2 * charPos : charPos; }

    bool readBinary(TpkXMLNode &node)
    {
        const qsizetype at = byteOffset(pos_);
        if (raw_.size() - at < 4)
            return false;
        const quint32 length = qFromLittleEndian<quint32>(raw_.data() + at);
        const qint64 start = at + 4;
        const qint64 remaining = raw_.size() - start;
        if (static_cast<qint64>(length) <= remaining)
            node.binary = raw_.sliced(start, length).toByteArray();
        const qint64 end = start + static_cast<qint64>(length);
        // Past the bytes in any case; a length running off the end ends the input.
        const qint64 next = utf16_ ? (end - 2 + 1) / 2 : end;
        pos_ = static_cast<qsizetype>(std::min<qint64>(next, n_));
        return true;
    }

    QStringView s_;
    qsizetype n_;
    qsizetype pos_ = 0;
    std::array<QString, 8> recent_;
    size_t nextRecent_ = 0;
    QByteArrayView raw_;
    bool utf16_;
    bool trim_;
};

// Builds the whole file in one buffer; text is converted once per stretch between binary blocks.
class Writer {
public:
    explicit Writer(const TpkXML::Options &options) : o_(options) {}

    QByteArray write(const TpkXMLNode &root)
    {
        if (o_.unicodeOutput)
            out_.append("\xFF\xFE", 2);
        std::vector<Frame> open{{&root, 0, false}};
        QString pad;
        while (!open.empty()) {
            Frame &frame = open.back();
            if (frame.next < frame.node->childCount()) {
                const TpkXMLNode &child = *frame.node->child(frame.next++);
                bool selfClosing = false;
                if (begin(child, pad, selfClosing)) {
                    open.push_back({&child, 0, selfClosing});
                    if (open.size() <= kIndentedLevels + 1)
                        pad += o_.indent;
                }
                continue;
            }
            const Frame done = frame;
            open.pop_back();
            if (!open.empty()) {
                if (open.size() <= kIndentedLevels)
                    pad.chop(o_.indent.size());
                end(*done.node, pad, done.selfClosing);
            }
        }
        flush();
        return std::move(out_);
    }

private:
    // Deeper elements start where this level does: indenting every level would make the output grow
    // with the square of the depth, and a deep tree read from a hostile file would save many times
    // larger than it was read. The program's own documents are three levels deep.
    static constexpr size_t kIndentedLevels = 8;

    struct Frame {
        const TpkXMLNode *node;
        int next;
        bool selfClosing;
    };

    static bool hasValuedAttribute(const TpkXMLAttrs &attrs)
    {
        for (int i = 0; i < attrs.count(); ++i) {
            // An escaped value is empty exactly when its unescaped form is.
            if (!attrs.at(i)->value.isEmpty())
                return true;
        }
        return false;
    }

    // Everything up to the children; false when the node is left out or has nothing more to write.
    bool begin(const TpkXMLNode &x, const QString &pad, bool &selfClosing)
    {
        const bool content = !x.cdata.isEmpty() || x.childCount() > 0;
        const bool binaryKind = x.kind == TpkXMLNode::Binary || x.kind == TpkXMLNode::RawBinary;
        selfClosing = x.rawText().isEmpty() && !content && o_.selfCloseEmpty && !binaryKind;
        const TpkXMLAttrs &attrs = x.attrs();
        if (selfClosing && !hasValuedAttribute(attrs) && !(attrs.count() > 0 && o_.writeEmptyAttributes)
            && !o_.writeEmptyElements)
            return false;

        text_ += pad;
        if (x.kind == TpkXMLNode::Comment) {
            text_ += u"<!-- "_s;
            text_ += x.Text();
            text_ += u" -->"_s;
            text_ += o_.lineBreak;
            return false;
        }
        switch (x.kind) {
        case TpkXMLNode::Instruction: text_ += u"<?"; break;
        case TpkXMLNode::Declaration: text_ += u"<!"; break;
        case TpkXMLNode::Binary: text_ += u"<&"; break;
        default: text_ += u'<'; break;
        }
        text_ += x.name;
        for (int i = 0; i < attrs.count(); ++i) {
            const TpkXMLAttr &a = *attrs.at(i);
            if (a.value.isEmpty() && !o_.writeEmptyAttributes)
                continue;
            text_ += u' ';
            text_ += a.name;
            text_ += u"=\"";
            text_ += a.value;
            text_ += u'"';
        }
        if (x.kind == TpkXMLNode::Instruction)
            text_ += u"?>";
        else
            text_ += selfClosing ? u"/>" : u">";

        if (binaryKind) {
            flush();
            if (x.kind == TpkXMLNode::Binary) {
                char length[4];
                qToLittleEndian<quint32>(static_cast<quint32>(x.binary.size()), length);
                out_.append(length, 4);
            }
            out_.append(x.binary);
        } else {
            text_ += x.rawText();
        }
        if (content)
            text_ += o_.lineBreak;
        if (!x.cdata.isEmpty()) {
            QString cdata = replaceIgnoringCase(x.cdata, u"[CDATA[", u"_CDATA_");
            cdata = replaceIgnoringCase(cdata, u"]]>", u"__>");
            text_ += pad;
            text_ += o_.indent;
            text_ += u"<![CDATA["_s;
            text_ += cdata;
            text_ += u"]]>";
            text_ += o_.lineBreak;
        }
        return true;
    }

    void end(const TpkXMLNode &x, const QString &pad, bool selfClosing)
    {
        if (x.childCount() > 0 || !x.cdata.isEmpty())
            text_ += pad;
        if (!selfClosing && x.kind != TpkXMLNode::Instruction) {
            text_ += u"</";
            text_ += x.name;
            text_ += u'>';
        }
        text_ += o_.lineBreak;
    }

    void flush()
    {
        if (text_.isEmpty())
            return;
        if (o_.unicodeOutput) {
            const qsizetype at = out_.size();
            out_.resize(at + 2 * text_.size());
            qToLittleEndian<quint16>(text_.utf16(), text_.size(), out_.data() + at);
        } else if (out_.isEmpty()) {
            out_ = Cp1250::fromUnicode(text_);
        } else {
            out_.append(Cp1250::fromUnicode(text_));
        }
        text_.clear();
    }

    const TpkXML::Options &o_;
    QString text_;
    QByteArray out_;
};

} // namespace

QString EscapeXmlText(QStringView s)
{
    return needsEscaping(s) ? escapeSlow(s.toString()) : s.toString();
}

QString EscapeXmlText(const QString &s)
{
    return needsEscaping(s) ? escapeSlow(s) : s;
}

QString UnescapeXmlText(QStringView s)
{
    return s.contains(u'&') ? unescapeSlow(s.toString()) : s.toString();
}

QString UnescapeXmlText(const QString &s)
{
    return s.contains(u'&') ? unescapeSlow(s) : s;
}

QString replaceIgnoringCase(const QString &source, QStringView pattern, QStringView replacement)
{
    QString out;
    return replaceInto(source, pattern, replacement, out) ? out : source;
}

// --- TpkXMLAttrs ---

TpkXMLAttr *TpkXMLAttrs::at(int i)
{
    return i >= 0 && i < count() ? items_[static_cast<size_t>(i)].get() : nullptr;
}

const TpkXMLAttr *TpkXMLAttrs::at(int i) const
{
    return i >= 0 && i < count() ? items_[static_cast<size_t>(i)].get() : nullptr;
}

TpkXMLAttr *TpkXMLAttrs::find(QStringView name, int occurrence)
{
    for (const auto &a : items_) {
        if (QStringView(a->name).compare(name, Qt::CaseInsensitive) == 0 && occurrence-- == 0)
            return a.get();
    }
    return nullptr;
}

TpkXMLAttr *TpkXMLAttrs::findOrAdd(QStringView name)
{
    if (TpkXMLAttr *a = find(name))
        return a;
    return add(name.toString(), QString());
}

TpkXMLAttr *TpkXMLAttrs::add(const QString &name, const QString &escapedValue)
{
    items_.push_back(std::make_unique<TpkXMLAttr>(TpkXMLAttr{name, escapedValue}));
    return items_.back().get();
}

// --- TpkXMLNode ---

TpkXMLNode::~TpkXMLNode()
{
    releaseChildren();
}

TpkXMLNode &TpkXMLNode::operator=(TpkXMLNode &&other) noexcept
{
    if (this != &other) {
        releaseChildren(); // before the vector is overwritten, which would recurse
        name = std::move(other.name);
        kind = other.kind;
        cdata = std::move(other.cdata);
        binary = std::move(other.binary);
        closed = other.closed;
        text_ = std::move(other.text_);
        attrs_ = std::move(other.attrs_);
        children_ = std::move(other.children_);
        other.children_.clear();
    }
    return *this;
}

void TpkXMLNode::releaseChildren()
{
    std::vector<std::unique_ptr<TpkXMLNode>> pending = std::move(children_);
    children_.clear();
    while (!pending.empty()) {
        std::unique_ptr<TpkXMLNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto &c : node->children_)
            pending.push_back(std::move(c));
        node->children_.clear();
    }
}

void TpkXMLNode::clear()
{
    releaseChildren();
    text_.clear();
    attrs_.clear();
}

TpkXMLNode *TpkXMLNode::child(int i) const
{
    return i >= 0 && i < childCount() ? children_[static_cast<size_t>(i)].get() : nullptr;
}

int TpkXMLNode::indexOfChild(const TpkXMLNode *c) const
{
    for (size_t i = 0; i < children_.size(); ++i) {
        if (children_[i].get() == c)
            return static_cast<int>(i);
    }
    return -1;
}

TpkXMLNode *TpkXMLNode::ChildByName(QStringView name, int occurrence, int kindFilter, bool create)
{
    for (const auto &c : children_) {
        if (kindFilter >= 0 && c->kind != kindFilter)
            continue;
        if (QStringView(c->name).compare(name, Qt::CaseInsensitive) == 0 && occurrence-- == 0)
            return c.get();
    }
    if (!create)
        return nullptr;
    return addChild(name.toString(), kindFilter >= 0 ? kindFilter : Element);
}

TpkXMLNode *TpkXMLNode::addChild(const QString &name, int kind)
{
    return appendChild(std::make_unique<TpkXMLNode>(name, kind));
}

TpkXMLNode *TpkXMLNode::appendChild(std::unique_ptr<TpkXMLNode> node)
{
    children_.push_back(std::move(node));
    return children_.back().get();
}

void TpkXMLNode::moveChild(int from, int to)
{
    const int n = childCount();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    auto node = std::move(children_[static_cast<size_t>(from)]);
    children_.erase(children_.begin() + from);
    children_.insert(children_.begin() + to, std::move(node));
}

// --- TpkXML ---

bool TpkXML::LoadFromBytes(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return false;
    root_.clear();
    root_.cdata.clear();
    root_.binary.clear();
    root_.closed = false;
    error_.clear();
    mismatchedEndTag_.clear();
    if (bytes.size() < 2) {
        error_ = u"Za krótki plik XML"_s;
        return false;
    }

    QString text;
    const bool utf16 = static_cast<uchar>(bytes[0]) == 0xFF && static_cast<uchar>(bytes[1]) == 0xFE;
    if (utf16) {
        const qsizetype units = (bytes.size() - 2) / 2;
        text.resize(units);
        qFromLittleEndian<quint16>(bytes.data() + 2, units, text.data());
    } else {
        text = Cp1250::toUnicode(bytes);
    }
    options.unicodeOutput = utf16;

    Parser parser(text, bytes, utf16, options.trimText);
    const bool ok = parser.parse(root_);
    if (!ok) {
        error_ = parser.error;
        mismatchedEndTag_ = parser.endTag;
    }
    return ok;
}

bool TpkXML::LoadFromStream(QIODevice &in)
{
    const QByteArray bytes = in.readAll();
    return LoadFromBytes(bytes);
}

bool TpkXML::LoadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        error_ = u"Nie można otworzyć pliku %1"_s.arg(QDir::toNativeSeparators(path));
        return false;
    }
    return LoadFromStream(file);
}

QByteArray TpkXML::SaveToBytes()
{
    if (options.writeDeclaration) {
        TpkXMLNode *decl = root_.ChildByName(u"xml", 0, TpkXMLNode::Instruction, true);
        root_.moveChild(root_.indexOfChild(decl), 0);
        decl->attrs().findOrAdd(u"encoding")->SetValue(options.unicodeOutput ? u"UTF-16"_s : u"WINDOWS-1250"_s);
    }
    return Writer(options).write(root_);
}

bool TpkXML::SaveToStream(QIODevice &out)
{
    const QByteArray bytes = SaveToBytes();
    return out.write(bytes) == bytes.size();
}

bool TpkXML::SaveToFile(const QString &path, QString *error)
{
    auto failed = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    // Only the last folder level is made; its parent has to exist.
    if (!QFileInfo::exists(folder) && !QDir().mkdir(folder))
        return failed(u"Nie można utworzyć folderu %1"_s.arg(QDir::toNativeSeparators(folder)));

    QString why;
    if (!AtomicFile::write(info.absoluteFilePath(), SaveToBytes(), &why))
        return failed(u"Nie można zapisać pliku %1: %2"_s.arg(QDir::toNativeSeparators(path), why));
    return true;
}

TpkXMLNode *TpkXML::DocumentChild(QStringView name)
{
    return root_.ChildByName(name, 0, -1, true);
}
