// Single question document (.skq).
#include "FuzzEnvironment.h"
#include "documents/QuestionDocument.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzEnvironment &env = FuzzEnvironment::get();
    Workspace &ws = env.ws();
    ws.question.resetSingleQuestion();
    ReadQuestionDocument(ws, env.inputFile(data, size, u"q.skq"_s));
    return 0;
}
