#include "storage/FieldCoding.h"

#include "storage/Cp1250.h"
#include "storage/SubstitutionTables.h"
#include "storage/TpkXML.h"

#include <QRandomGenerator>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

int base64Value(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 26;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 52;
    if (c == u'+')
        return 62;
    if (c == u'/')
        return 63;
    return 0; // foreign characters and padding count as zero bits
}

TpkXMLNode *walk(const DocPath &path, TpkXML &doc)
{
    if (path.size() < 2 || path.size() > 4)
        return nullptr;
    TpkXMLNode *node = doc.DocumentChild(path.first());
    for (qsizetype i = 1; node && i < path.size(); ++i)
        node = node->ChildByName(path[i]);
    return node;
}

TpkXMLNode *settingNode(const QString &key, TpkXML &doc)
{
    TpkXMLNode *ini = doc.DocumentChild(u"Ini");
    return ini ? ini->ChildByName(key) : nullptr;
}

std::optional<QByteArray> decodeSettingWith(QByteArrayView coded, unsigned char (*table)(unsigned char))
{
    if (coded.isEmpty())
        return std::nullopt;
    const auto lead = static_cast<unsigned char>(coded[0]);
    if (lead == 0xFE)
        return QByteArray();
    qsizetype skip = 0;
    switch (lead) {
    case 0x93: skip = 6; break;
    case 0xA0: skip = 3; break;
    case 0xA1: skip = 4; break;
    case 0xA7: skip = 5; break;
    default: break;
    }
    QByteArrayView body = coded;
    if (skip > 0)
        body = skip >= coded.size() ? QByteArrayView() : coded.sliced(skip).first(qMin<qsizetype>(500, coded.size() - skip));
    QByteArray out(body.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < body.size(); ++i)
        out[i] = static_cast<char>(table(static_cast<unsigned char>(body[i])));
    return out;
}

} // namespace

QString EncodeWide(QStringView text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        bytes[2 * i] = static_cast<char>(u & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(u >> 8);
    }
    return QString::fromLatin1(bytes.toBase64());
}

QByteArray DecodeBytes(QStringView base64)
{
    QByteArray out;
    if (base64.size() < 4)
        return out;
    const qsizetype groups = base64.size() / 4;
    out.reserve(groups * 3);
    for (qsizetype g = 0; g < groups; ++g) {
        const QChar *c = base64.data() + 4 * g;
        const quint32 bits = (quint32(base64Value(c[0].unicode())) << 18) | (quint32(base64Value(c[1].unicode())) << 12) |
                             (quint32(base64Value(c[2].unicode())) << 6) | quint32(base64Value(c[3].unicode()));
        out.append(static_cast<char>((bits >> 16) & 0xFF));
        if (c[2] == u'=')
            continue; // one byte
        out.append(static_cast<char>((bits >> 8) & 0xFF));
        if (c[3] == u'=')
            continue; // two bytes
        out.append(static_cast<char>(bits & 0xFF));
    }
    return out;
}

QString DecodeWide(QStringView base64)
{
    const QByteArray bytes = DecodeBytes(base64);
    const qsizetype units = bytes.size() / 2; // an odd last byte is dropped
    QString out(units, Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < units; ++i)
        dst[i] = QChar(char16_t(static_cast<unsigned char>(bytes[2 * i]) |
                                (static_cast<unsigned char>(bytes[2 * i + 1]) << 8)));
    return out;
}

QString ReadDocString(bool coded, const DocPath &path, TpkXML &doc, int &error)
{
    error = DocOk;
    TpkXMLNode *node = walk(path, doc);
    if (!node) {
        error = DocTreeError;
        return {};
    }
    const QString text = node->Text();
    return coded ? DecodeWide(text) : text;
}

int ReadDocInteger(bool coded, const DocPath &path, TpkXML &doc, int &error)
{
    const QString text = ReadDocString(coded, path, doc, error);
    if (error != DocOk)
        return 0;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        error = DocNotInteger;
        return 0;
    }
    return value;
}

void WriteDocString(bool coded, const DocPath &path, const QString &value, TpkXML &doc, int &error)
{
    error = DocOk;
    const QString stored = coded ? EncodeWide(value) : value;
    TpkXMLNode *node = walk(path, doc);
    if (!node) {
        error = DocTreeError;
        return;
    }
    node->SetText(stored);
}

void WriteDocInteger(bool coded, const DocPath &path, qint64 value, TpkXML &doc, int &error)
{
    error = DocOk;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max()) {
        error = DocNotInteger;
        return;
    }
    WriteDocString(coded, path, QString::number(value), doc, error);
}

bool IsDocumentCoded(TpkXML &doc, const QString &documentElement)
{
    TpkXMLNode *top = doc.DocumentChild(documentElement);
    TpkXMLNode *marker = top ? top->ChildByName(u"cd") : nullptr;
    return marker && marker->Text() == u"tr"_s;
}

QByteArray EncodeSetting(QByteArrayView text, QRandomGenerator &rng)
{
    const auto filler = [&rng](QByteArray &out, int count) {
        for (int i = 0; i < count; ++i)
            out.append(static_cast<char>(33 + rng.bounded(200)));
    };
    QByteArray out;
    if (text.isEmpty()) {
        out.append(static_cast<char>(0xFE));
        filler(out, 3 + static_cast<int>(rng.bounded(8)));
        return out;
    }
    static constexpr unsigned char kLead[] = {0xA0, 0xA1, 0xA7};
    const int k = static_cast<int>(rng.bounded(3));
    out.reserve(text.size() + 5);
    out.append(static_cast<char>(kLead[k]));
    filler(out, 2 + k);
    for (char c : text)
        out.append(static_cast<char>(SubstitutionTables::encode(static_cast<unsigned char>(c))));
    return out;
}

std::optional<QByteArray> DecodeSetting(QByteArrayView coded)
{
    return decodeSettingWith(coded, &SubstitutionTables::decode);
}

std::optional<QByteArray> DecodeSettingOld(QByteArrayView coded)
{
    return decodeSettingWith(coded, &SubstitutionTables::decodeOld);
}

void WriteSettingString(const QString &key, const QString &value, TpkXML &doc, QRandomGenerator &rng)
{
    if (TpkXMLNode *node = settingNode(key, doc))
        node->SetText(Cp1250::toUnicode(EncodeSetting(Cp1250::fromUnicode(value), rng)));
}

void WriteSettingInteger(const QString &key, qint64 value, TpkXML &doc, QRandomGenerator &rng)
{
    WriteSettingString(key, QString::number(value), doc, rng);
}

void WriteSettingFlag(const QString &key, bool value, TpkXML &doc, QRandomGenerator &rng)
{
    WriteSettingString(key, value ? u"1"_s : u"0"_s, doc, rng);
}

std::optional<QString> ReadSettingString(const QString &key, TpkXML &doc)
{
    TpkXMLNode *node = settingNode(key, doc);
    if (!node)
        return std::nullopt;
    const std::optional<QByteArray> bytes = DecodeSetting(Cp1250::fromUnicode(node->Text()));
    if (!bytes)
        return std::nullopt;
    return Cp1250::toUnicode(*bytes);
}

bool ReadSettingInteger(const QString &key, int &target, TpkXML &doc)
{
    target = 0;
    const std::optional<QString> text = ReadSettingString(key, doc);
    if (!text)
        return false;
    bool ok = false;
    const int value = text->toInt(&ok);
    if (!ok)
        return false;
    target = value;
    return true;
}

std::optional<bool> ReadSettingFlag(const QString &key, TpkXML &doc)
{
    const std::optional<QString> text = ReadSettingString(key, doc);
    if (!text)
        return std::nullopt;
    return *text == u"1"_s;
}
