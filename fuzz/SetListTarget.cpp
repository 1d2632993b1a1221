// Question-set list (.skz), versions 35 and 40.
#include "FuzzEnvironment.h"
#include "documents/ListDocuments.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzEnvironment &env = FuzzEnvironment::get();
    ListInfo info;
    QStringList entries;
    ReadSetList(env.ws(), env.inputFile(data, size, u"l.skz"_s), info, entries);
    return 0;
}
