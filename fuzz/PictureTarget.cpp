// Pictures attached to questions: the same bytes as a JPEG, a GIF and a BMP, at their own size, as a
// thumbnail, and their size and orientation from the header alone.
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
        decodePicture(bytes, name, image, nullptr, fitInto({110, 110}));
        pictureSize(bytes, name);
    }
    jpegOrientation(bytes);
    return 0;
}
