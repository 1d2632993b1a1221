#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class QIODevice;

// The XML tree behind every document member and settings file. A tolerant reader and a fixed-layout
// writer, not a conforming XML processor: texts and attribute values are kept escaped exactly as they
// stand in the file; the accessors unescape and the setters escape.

// Escaping used by every setter: & < > " ' and then the codes 1..31 as "&#n;".
QString EscapeXmlText(QStringView s);
QString EscapeXmlText(const QString &s);
// Undoes EscapeXmlText in reverse order, "&amp;" last, so every text survives a round trip.
QString UnescapeXmlText(QStringView s);
QString UnescapeXmlText(const QString &s);
// Replaces every occurrence of pattern (matched ignoring case) left to right, without rescanning
// replacements. A source shorter than the pattern, or an empty pattern, comes back unchanged.
QString replaceIgnoringCase(const QString &source, QStringView pattern, QStringView replacement);

struct TpkXMLAttr {
    QString name;
    QString value; // escaped, as in the file

    QString Value() const { return UnescapeXmlText(value); }
    void SetValue(const QString &v) { value = EscapeXmlText(v); }
};

class TpkXMLAttrs {
public:
    int count() const { return static_cast<int>(items_.size()); }
    TpkXMLAttr *at(int i);
    const TpkXMLAttr *at(int i) const;
    // Name compared ignoring case; occurrence 0 is the first match.
    TpkXMLAttr *find(QStringView name, int occurrence = 0);
    TpkXMLAttr *findOrAdd(QStringView name);
    TpkXMLAttr *add(const QString &name, const QString &escapedValue);
    void clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<TpkXMLAttr>> items_;
};

class TpkXMLNode {
public:
    enum Kind : int { Element = 0, Instruction = 1, Declaration = 2, Comment = 3, Binary = 4, RawBinary = 5 };

    TpkXMLNode() = default;
    explicit TpkXMLNode(const QString &name, int kind = Element) : name(name), kind(kind) {}
    ~TpkXMLNode();
    TpkXMLNode(const TpkXMLNode &) = delete;
    TpkXMLNode &operator=(const TpkXMLNode &) = delete;
    TpkXMLNode(TpkXMLNode &&other) noexcept = default;
    TpkXMLNode &operator=(TpkXMLNode &&other) noexcept;

    QString name;
    QString cdata;     // content of the last CDATA section met directly inside
    QByteArray binary; // kinds 4 and 5 only
    // Side by side, so a node takes no padding: a large file is mostly nodes.
    int kind = Element;
    bool closed = false; // end tag matched during a load

    TpkXMLAttrs &attrs() { return attrs_; }
    const TpkXMLAttrs &attrs() const { return attrs_; }

    int childCount() const { return static_cast<int>(children_.size()); }
    TpkXMLNode *child(int i) const;
    int indexOfChild(const TpkXMLNode *c) const;
    // Children named `name` ignoring case (and of kind `kindFilter` unless it is -1); the match number
    // `occurrence`. Without one, appends a child of that name and kind when `create` is set.
    TpkXMLNode *ChildByName(QStringView name, int occurrence = 0, int kindFilter = -1, bool create = true);
    TpkXMLNode *addChild(const QString &name, int kind = Element);
    TpkXMLNode *appendChild(std::unique_ptr<TpkXMLNode> node);
    void moveChild(int from, int to);

    QString Text() const { return UnescapeXmlText(text_); }
    void SetText(const QString &t) { text_ = EscapeXmlText(t); }
    const QString &rawText() const { return text_; }
    void setRawText(const QString &escaped) { text_ = escaped; }
    void appendRawText(QStringView escaped) { text_.append(escaped); }

    // Frees the children and the attributes and empties the text.
    void clear();

private:
    // Iterative, so a very deep tree cannot exhaust the stack.
    void releaseChildren();

    QString text_;
    TpkXMLAttrs attrs_;
    std::vector<std::unique_ptr<TpkXMLNode>> children_;
};

class TpkXML {
public:
    struct Options {
        bool unicodeOutput = false; // UTF-16LE with FF FE instead of Windows-1250
        QString indent = QStringLiteral("\t");
        QString lineBreak = QStringLiteral("\r\n");
        bool writeEmptyElements = false;
        bool writeEmptyAttributes = false;
        bool selfCloseEmpty = true;
        bool trimText = true;
        bool writeDeclaration = true;
    };

    // Deeper element nesting fails a load; the program's documents are three levels deep.
    static constexpr int kMaxDepth = 512;

    Options options;
    bool repairUnclosed = false; // kept for completeness; mismatched end tags always fail the load

    TpkXMLNode &root() { return root_; }
    const TpkXMLNode &root() const { return root_; }

    // A failed load keeps the nodes parsed before the fault.
    bool LoadFromBytes(QByteArrayView bytes);
    bool LoadFromStream(QIODevice &in); // from the current position to the end
    bool LoadFromFile(const QString &path); // false when missing; the tree is untouched then
    bool SaveToStream(QIODevice &out); // false when a write fails
    QByteArray SaveToBytes();
    // Writes through a temporary file in the same folder; the old file survives any failure.
    bool SaveToFile(const QString &path, QString *error = nullptr);

    // First top-level node of that name (ignoring case), appended as an element when missing.
    TpkXMLNode *DocumentChild(QStringView name);

    // Why the last load failed (empty after success).
    const QString &errorString() const { return error_; }
    // The upper-cased name of the end tag that failed the last load, if one did.
    const QString &mismatchedEndTag() const { return mismatchedEndTag_; }

private:
    TpkXMLNode root_;
    QString error_;
    QString mismatchedEndTag_;
};
