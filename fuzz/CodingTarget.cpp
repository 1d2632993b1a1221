// Value codings: the document coding (Base64 of UTF-16LE) and both settings codings, straight and
// through the typed readers of a settings file.
#include "storage/FieldCoding.h"
#include "storage/TpkXML.h"

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    DecodeWide(QString::fromLatin1(bytes));
    DecodeSetting(bytes);
    DecodeSettingOld(bytes);

    TpkXML doc;
    doc.LoadFromBytes(bytes);
    int number = 0;
    int error = 0;
    ReadSettingString(u"sct"_s, doc);
    ReadSettingInteger(u"wo"_s, number, doc);
    ReadSettingFlag(u"al"_s, doc);
    const bool coded = IsDocumentCoded(doc, u"tst"_s);
    ReadDocString(coded, {u"tst"_s, u"name"_s}, doc, error);
    ReadDocInteger(coded, {u"tst"_s, u"ilp"_s}, doc, error);
    return 0;
}
