// XML tree: load the bytes, save the tree and load the result again.
#include "storage/TpkXML.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TpkXML xml;
    xml.LoadFromBytes(QByteArrayView(data, static_cast<qsizetype>(size)));
    const QByteArray saved = xml.SaveToBytes();
    TpkXML again;
    again.LoadFromBytes(saved);
    return 0;
}
