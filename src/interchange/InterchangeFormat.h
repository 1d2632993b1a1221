#pragma once

#include "interchange/InterchangeQuestion.h"

#include <QByteArray>
#include <optional>

// The formats questions travel in, by name ("moodle", "gift", "aiken", "docx", "odt") or by content.
// The word processors' documents are only read here; a test goes back to them through the print.
enum class InterchangeFormat { Moodle, Gift, Aiken, Docx, Odt };

namespace Interchange {

std::optional<InterchangeFormat> formatFromName(QStringView name);
QString formatName(InterchangeFormat format);
// The usual file extension, with the dot.
QString formatExtension(InterchangeFormat format);

bool isWordProcessor(InterchangeFormat format);

// A .docx or .odt by its zip package; Moodle XML when the file starts as XML; Aiken when a line starts with
// "ANSWER:"; GIFT when it has an answer block in braces outside comment lines; otherwise Aiken.
InterchangeFormat detectFormat(QByteArrayView bytes);

InterchangeContent read(InterchangeFormat format, QByteArrayView bytes);
// `category` is the test's name (Aiken has no place for it).
QByteArray write(InterchangeFormat format, const QString &category,
                 const QList<InterchangeQuestion> &questions, QList<InterchangeNote> &notes);

} // namespace Interchange
