// Student list (.sku), versions 35 (an index member and one member per class) and 40.
#include "FuzzEnvironment.h"
#include "documents/ListDocuments.h"
#include "core/StudentList.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzEnvironment &env = FuzzEnvironment::get();
    StudentList list;
    ReadStudentList(env.ws(), env.inputFile(data, size, u"u.sku"_s), list);
    return 0;
}
