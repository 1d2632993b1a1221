#pragma once

#include "interchange/InterchangeQuestion.h"
#include "interchange/WordDocument.h"

#include <QByteArrayView>

// The questions of a test as teachers write it in a word processor: numbered by hand ("1.",
// "Zadanie 1.") or by automatic numbering, answers lettered by hand ("a)", "A.", "(a)") or one list
// level down, one a paragraph or several in one line; the right answer bold, underlined, highlighted,
// coloured or starred, named on an "Odpowiedź: B" line or in an answer key at the end. Places are
// paragraphs of the document.
namespace WordQuestions {

// A .docx or .odt package, told apart by content.
bool looksLike(QByteArrayView bytes);
InterchangeContent read(QByteArrayView bytes);
// The questions of a document already read.
InterchangeContent recognise(const WordDocument &document);

} // namespace WordQuestions
