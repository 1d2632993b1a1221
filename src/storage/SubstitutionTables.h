#pragma once

// Byte substitution of the settings coding: `decode` undoes `encode`; `decodeOld` reads the values of
// old (version 35) test documents.
namespace SubstitutionTables {

unsigned char encode(unsigned char b);
unsigned char decode(unsigned char b);
unsigned char decodeOld(unsigned char b);

} // namespace SubstitutionTables
