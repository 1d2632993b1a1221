// The JSON that `zadanix import` reads; what it accepts must also turn back into JSON.
#include "DocumentJson.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const std::optional<DocumentSnapshot> document =
        DocumentJson::fromJson(QByteArrayView(data, static_cast<qsizetype>(size)), &error);
    if (document)
        DocumentJson::toJson(*document);
    return 0;
}
