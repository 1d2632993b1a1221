// Any bytes through the Docx reader (a zip package first), and what it reads through the writers.
#include "InterchangeReaderFuzz.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    initialiseInterchangeFuzz(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzInterchangeReader(InterchangeFormat::Docx, data, size);
    return 0;
}
