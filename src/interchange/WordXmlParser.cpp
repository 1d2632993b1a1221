#include "interchange/WordXmlParser.h"

#include "storage/ZipPackage.h"

using namespace Qt::StringLiterals;

bool WordXmlParser::tooDeep()
{
    if (m_depth <= WordText::MaxDepth)
        return false;
    m_xml.raiseError(u"the XML nests deeper than %1 elements."_s.arg(WordText::MaxDepth));
    return true;
}

bool WordXmlParser::start(const QByteArray &bytes)
{
    m_xml.clear();
    m_xml.addData(bytes);
    m_xml.setNamespaceProcessing(true);
    m_depth = 0;
    while (!m_xml.atEnd()) {
        const auto token = m_xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            m_xml.raiseError(u"the XML declares a document type, which no such document does."_s);
            return false;
        }
        if (token == QXmlStreamReader::StartElement)
            return true;
    }
    return false;
}

void WordXmlParser::limit(const QString &why)
{
    m_limit = why;
    m_xml.raiseError(why);
}

bool WordXmlParser::loadPictures(QString &error)
{
    for (const WordBlock &b : std::as_const(m_doc.blocks)) {
        for (const QString &name : b.pictures) {
            if (m_doc.pictures.contains(name) || m_doc.pictures.size() >= WordText::MaxPictures)
                continue;
            // A picture that cannot be read stays out; its question then says so.
            if (std::optional<QByteArray> picture = m_package.read(name)) {
                m_doc.pictures.insert(name, *picture);
            } else if (m_package.error().contains(u"zip bomb"_s)) {
                error = m_package.error();
                return false;
            }
        }
    }
    return true;
}

QString WordXmlParser::firstText(const QString &member, QStringView name)
{
    const std::optional<QByteArray> bytes = m_package.read(member);
    if (!bytes || !start(*bytes))
        return {};
    while (!m_xml.atEnd()) {
        if (m_xml.readNext() == QXmlStreamReader::StartElement && m_xml.name() == name)
            return m_xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
    }
    return {};
}
