#pragma once

#include "interchange/InterchangeQuestion.h"

#include <QByteArrayView>

// Moodle XML: <quiz> with <question type="..."> elements. Multiple-choice questions come in with
// their HTML turned into plain text, the first picture of the text (embedded as a base64 <file>) and
// a <pre> block the text starts with as the reading passage. A document type declaration is refused
// before anything it declares is used, so neither entity expansion nor external entities can happen.
namespace MoodleXmlReader {

InterchangeContent read(QByteArrayView bytes);
// Whether the bytes look like Moodle XML (an XML declaration or a <quiz> near the start).
bool looksLike(QByteArrayView bytes);

} // namespace MoodleXmlReader
