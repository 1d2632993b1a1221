#pragma once

#include "interchange/InterchangeQuestion.h"

#include <QByteArrayView>

// Aiken, the simplest typed format: the question (on one line or more), the answers each on a line
// of its own after a capital letter and "." or ")", then "ANSWER: X". Single choice only, no
// feedback. Blank lines between questions are allowed and so are blank lines inside one.
namespace AikenReader {

InterchangeContent read(QByteArrayView bytes);

} // namespace AikenReader
