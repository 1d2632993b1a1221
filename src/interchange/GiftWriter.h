#pragma once

#include "interchange/InterchangeQuestion.h"

#include <QByteArray>

// GIFT in UTF-8 with CR LF line ends: the test's name as a $CATEGORY, then each question as
// ::title:: [plain] text {=right ~wrong ####comment}, a multiple-choice question with weighted
// ~%50% answers. Every mark inside a text is escaped and a line break written as "\n". Pictures and
// passages cannot be carried: each one left out gets a note.
namespace GiftWriter {

QByteArray write(const QString &category, const QList<InterchangeQuestion> &questions,
                 QList<InterchangeNote> &notes);

} // namespace GiftWriter
