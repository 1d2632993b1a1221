// PACK archive: open a file read-only and read every member it lists.
#include "FuzzEnvironment.h"
#include "storage/TVfsPAK.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzEnvironment::get().inputFile(data, size, u"a.pak"_s);
    TVfsPAK pak;
    if (!pak.Open(path, TVfsPAK::Mode::ReadOnly))
        return 0;
    for (int i = 0; i < pak.entries().size(); ++i)
        pak.extractAt(i);
    pak.IndexOfName(u"Serr0.xml");
    return 0;
}
