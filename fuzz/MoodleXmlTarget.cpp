// Any bytes through the Moodle reader.
#include "InterchangeReaderFuzz.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    initialiseInterchangeFuzz(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzInterchangeReader(InterchangeFormat::Moodle, data, size);
    return 0;
}
