// Test document (.skt): the reader fills the test model and copies the members into the working archive.
#include "FuzzEnvironment.h"
#include "documents/TestDocument.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzEnvironment &env = FuzzEnvironment::get();
    ReadTestDocument(env.ws(), env.inputFile(data, size, u"t.skt"_s));
    return 0;
}
