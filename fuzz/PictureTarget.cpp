// Pictures attached to questions: the same bytes as a JPEG, a GIF and a BMP.
#include "FuzzEnvironment.h"
#include "storage/Pictures.h"

#include <QImage>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzEnvironment::get();
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    for (const QString &name : {u"a.jpg"_s, u"a.gif"_s, u"a.bmp"_s}) {
        QImage image;
        decodePicture(bytes, name, image);
    }
    return 0;
}
