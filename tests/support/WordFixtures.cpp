#include "support/WordFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace WordFixtures {

QByteArray zip(const QList<Member> &members)
{
    QTemporaryDir dir;
    const QByteArray path = dir.filePath(u"p.zip"_s).toUtf8();
    int error = 0;
    zip_t *z = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z)
        return {};
    for (const Member &m : members) {
        // libzip reads the bytes at zip_close, so they stay in `members` until then.
        zip_source_t *source =
            zip_source_buffer(z, m.bytes.constData(), static_cast<zip_uint64_t>(m.bytes.size()), 0);
        const zip_int64_t index = zip_file_add(z, m.name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            continue;
        }
        if (m.stored)
            zip_set_file_compression(z, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(z) != 0) {
        zip_discard(z);
        return {};
    }
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QByteArray docx(const QString &body, const QString &numbering, const Media &media, const QString &styles)
{
    const QString ns = u"xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                       u"xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
                       u"xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
                       u"xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                       u"xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\""_s;
    QList<Member> members;
    members.append({u"[Content_Types].xml"_s,
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
                    "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
                    "Extension=\"xml\" ContentType=\"application/xml\"/></Types>"});
    members.append({u"word/document.xml"_s,
                    (u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document "_s + ns +
                     u"><w:body>"_s + body + u"</w:body></w:document>"_s)
                        .toUtf8()});
    if (!numbering.isEmpty())
        members.append(
            {u"word/numbering.xml"_s, (u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:numbering "_s + ns +
                                       u'>' + numbering + u"</w:numbering>"_s)
                                          .toUtf8()});
    if (!styles.isEmpty())
        members.append({u"word/styles.xml"_s, (u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:styles "_s +
                                               ns + u'>' + styles + u"</w:styles>"_s)
                                                  .toUtf8()});
    QString rels = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
                   u"xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"_s;
    for (qsizetype i = 0; i < media.size(); ++i) {
        rels += u"<Relationship Id=\"rId%1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                u"relationships/image\" Target=\"media/%2\"/>"_s.arg(i + 1)
                    .arg(media[i].first);
        members.append({u"word/media/"_s + media[i].first, media[i].second});
    }
    members.append({u"word/_rels/document.xml.rels"_s, (rels + u"</Relationships>"_s).toUtf8()});
    return zip(members);
}

QString wp(const QString &runs, const QString &pPr)
{
    return u"<w:p>"_s + (pPr.isEmpty() ? QString() : u"<w:pPr>"_s + pPr + u"</w:pPr>"_s) + runs + u"</w:p>"_s;
}

QString wr(const QString &text, const QString &rPr)
{
    QString inner;
    QString piece;
    const auto flush = [&] {
        if (!piece.isEmpty())
            inner += u"<w:t xml:space=\"preserve\">"_s + escaped(piece) + u"</w:t>"_s;
        piece.clear();
    };
    for (QChar c : text) {
        if (c == u'\t' || c == u'\n') {
            flush();
            inner += c == u'\t' ? u"<w:tab/>"_s : u"<w:br/>"_s;
        } else {
            piece += c;
        }
    }
    flush();
    return u"<w:r>"_s + (rPr.isEmpty() ? QString() : u"<w:rPr>"_s + rPr + u"</w:rPr>"_s) + inner +
           u"</w:r>"_s;
}

QString wpText(const QString &text, const QString &rPr)
{
    return wp(wr(text, rPr));
}

QString wpListed(const QString &text, int numId, int level, const QString &rPr)
{
    return wp(wr(text, rPr),
              u"<w:numPr><w:ilvl w:val=\"%1\"/><w:numId w:val=\"%2\"/></w:numPr>"_s.arg(level).arg(numId));
}

QString wpPicture(int relationship)
{
    return wp(
        u"<w:r><w:drawing><wp:inline><a:graphic><a:graphicData><pic:pic><pic:blipFill><a:blip "
        u"r:embed=\"rId%1\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing>"
        u"</w:r>"_s.arg(relationship));
}

QString questionNumbering()
{
    return u"<w:abstractNum w:abstractNumId=\"7\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"decimal\"/></w:lvl>"
           u"<w:lvl w:ilvl=\"1\"><w:numFmt w:val=\"lowerLetter\"/></w:lvl></w:abstractNum>"
           u"<w:num w:numId=\"1\"><w:abstractNumId w:val=\"7\"/></w:num>"_s;
}

QByteArray odt(const QString &body, const QString &styles, const Media &media)
{
    const QString ns = u"xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                       u"xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
                       u"xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                       u"xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                       u"xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
                       u"xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
                       u"xmlns:xlink=\"http://www.w3.org/1999/xlink\""_s;
    QList<Member> members;
    members.append({u"mimetype"_s, "application/vnd.oasis.opendocument.text", true});
    members.append(
        {u"content.xml"_s, (u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "_s + ns +
                            u"><office:automatic-styles>"_s + styles +
                            u"</office:automatic-styles><office:body><office:text>"_s + body +
                            u"</office:text></office:body></office:document-content>"_s)
                               .toUtf8()});
    members.append({u"META-INF/manifest.xml"_s,
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
                    "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\"/>"});
    for (const auto &[name, bytes] : media)
        members.append({u"Pictures/"_s + name, bytes});
    return zip(members);
}

QString tp(const QString &content, const QString &style)
{
    return (style.isEmpty() ? u"<text:p>"_s : u"<text:p text:style-name=\""_s + style + u"\">"_s) + content +
           u"</text:p>"_s;
}

QString tText(const QString &text)
{
    QString out;
    for (QChar c : text) {
        if (c == u'\t')
            out += u"<text:tab/>"_s;
        else if (c == u'\n')
            out += u"<text:line-break/>"_s;
        else
            out += escaped(QString(c));
    }
    return out;
}

QString tSpan(const QString &text, const QString &style)
{
    return u"<text:span text:style-name=\""_s + style + u"\">"_s + tText(text) + u"</text:span>"_s;
}

QString tPicture(const QString &name)
{
    return u"<draw:frame draw:name=\"x\"><draw:image xlink:href=\"Pictures/"_s + name +
           u"\"/></draw:frame>"_s;
}

QString odtStyles()
{
    return u"<style:style style:name=\"B\" style:family=\"text\"><style:text-properties "
           u"fo:font-weight=\"bold\"/>"
           u"</style:style>"
           u"<style:style style:name=\"U\" style:family=\"text\"><style:text-properties "
           u"style:text-underline-style=\"solid\"/></style:style>"
           u"<style:style style:name=\"H\" style:family=\"text\"><style:text-properties "
           u"fo:background-color=\"#ffff00\"/></style:style>"
           u"<style:style style:name=\"R\" style:family=\"text\"><style:text-properties "
           u"fo:color=\"#ff0000\"/>"
           u"</style:style>"
           u"<style:style style:name=\"T\" style:family=\"paragraph\" style:display-name=\"Title\"/>"
           u"<text:list-style style:name=\"L\"><text:list-level-style-number text:level=\"1\" "
           u"style:num-format=\"1\"/><text:list-level-style-number text:level=\"2\" style:num-format=\"a\"/>"
           u"</text:list-style>"_s;
}

} // namespace WordFixtures
