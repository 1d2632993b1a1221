#pragma once

#include "interchange/InterchangeQuestion.h"

#include <QByteArrayView>

// Aiken, the simplest typed format: the question (on one line or more), the answers each on a line
// of its own after a capital letter and "." or ")", then "ANSWER: X". Single choice only, no
// feedback. Blank lines may stand between questions and between a text and its answers; the lines
// of a text follow one another.
namespace AikenReader {

InterchangeContent read(QByteArrayView bytes);

} // namespace AikenReader
