// The payload of an answer sheet's code, as read from a scan: anyone can print a code, so every byte
// string must be refused or accepted with values in range, and what is accepted must encode back to
// the same code.
#include "FuzzEnvironment.h"
#include "print/SheetCode.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<SheetCode> code = decodeSheetCode(bytes);
    if (!code)
        return 0;
    if (code->version >= code->versions || code->page > code->pages || code->questions > kMaxQuestions ||
        code->firstName.size() > kMaxSheetNameChars)
        std::abort();
    const std::optional<SheetCode> again = decodeSheetCode(encodeSheetCode(*code));
    if (!again || !(*again == *code))
        std::abort();
    return 0;
}
