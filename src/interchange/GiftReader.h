#pragma once

#include "interchange/InterchangeQuestion.h"

#include <QByteArrayView>

// GIFT, the plain-text format with marks: questions separated by blank lines, an optional ::title::,
// the text, and the answers in braces ({=right ~wrong}, or weighted ~%50% answers for multiple
// choice), "#" feedback of an answer and "####" feedback of the question. "//" starts a comment line
// and "\" escapes the marks. Other question kinds (true/false, short answer, matching, numerical,
// essay, descriptions) are skipped with a note.
namespace GiftReader {

InterchangeContent read(QByteArrayView bytes);

} // namespace GiftReader
