#pragma once

#include "interchange/WordDocument.h"

class ZipPackage;

// An OpenDocument text (.odt, what Writer saves): content.xml with the styles of styles.xml, its
// lists (text:list) and the pictures under Pictures/.
namespace OdtReader {

// A package whose "mimetype" member names an OpenDocument text.
bool looksLike(ZipPackage &package);
// False, with `error` set, when the document cannot be read.
bool read(ZipPackage &package, WordDocument &document, QString &error);

} // namespace OdtReader
