#pragma once

#include "interchange/InterchangeQuestion.h"

#include <QByteArray>

// Moodle XML for a platform to import: the test's name as a category, then every question as
// <question type="multichoice"> with HTML text, the picture embedded as a base64 <file> shown by an
// <img>, the passage as a preformatted block before the question, the comment as general feedback,
// and answer fractions of 100 divided among the correct answers.
namespace MoodleXmlWriter {

QByteArray write(const QString &category, const QList<InterchangeQuestion> &questions);

} // namespace MoodleXmlWriter
