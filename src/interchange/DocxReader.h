#pragma once

#include "interchange/WordDocument.h"

class ZipPackage;

// A Word document (.docx): word/document.xml with the styles, the automatic numbering of
// numbering.xml and the pictures its relationships name.
namespace DocxReader {

bool looksLike(const ZipPackage &package);
// False, with `error` set, when the document cannot be read.
bool read(ZipPackage &package, WordDocument &document, QString &error);

} // namespace DocxReader
