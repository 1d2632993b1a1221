#pragma once

#include "interchange/WordDocument.h"

#include <QXmlStreamReader>

class ZipPackage;

// What the .docx and .odt readers share: one XML reader over the package's members, the bound on
// the nesting of their recursive reading, and the pictures the paragraphs name.
class WordXmlParser {
public:
    WordXmlParser(ZipPackage &package, WordDocument &document) : m_package(package), m_doc(document) {}

protected:
    // One level of the recursive reading, which never goes deeper than the XML does.
    struct Enter {
        WordXmlParser &p;
        explicit Enter(WordXmlParser &parser) : p(parser) { ++p.m_depth; }
        ~Enter() { --p.m_depth; }
    };
    // True, with the reader's error raised, beyond WordText::MaxDepth.
    bool tooDeep();
    // The member's XML up to its root element; false at once for a document type declaration,
    // which neither kind of document has and whose entities could make it expand.
    bool start(const QByteArray &bytes);
    // Stops the reading at a bound the document passed.
    void limit(const QString &why);
    // Reads every picture the blocks name, each once; false when the package refuses one as a bomb.
    bool loadPictures(QString &error);
    // The text of the first element named `name` in the member (a title in the properties).
    QString firstText(const QString &member, QStringView name);

    ZipPackage &m_package;
    WordDocument &m_doc;
    QXmlStreamReader m_xml;
    int m_depth = 0;
    int m_paragraphs = 0;
    qsizetype m_characters = 0; // text made so far
    QString m_limit;            // the bound the document passed
};
