#pragma once

#include "interchange/InterchangeQuestion.h"

#include <QByteArray>

// Aiken in UTF-8 with CR LF line ends: the text on one line, the answers as "A. ...", then
// "ANSWER: X" and a blank line. It holds single-choice questions and nothing more: a multiple-choice
// question is skipped, and a picture, passage or comment left out, each with a note; line breaks in
// a text become spaces.
namespace AikenWriter {

QByteArray write(const QList<InterchangeQuestion> &questions, QList<InterchangeNote> &notes);

} // namespace AikenWriter
