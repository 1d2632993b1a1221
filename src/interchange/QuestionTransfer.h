#pragma once

#include "interchange/InterchangeQuestion.h"

class TVfsPAK;
class TestModel;
struct SingleQuestion;
struct TestHeader;

// Questions between the program's test and single question, with their attachments in a working
// archive, and the interchange formats.
namespace QuestionTransfer {

// Questions 1 to questionCount of the test, their pictures and passages read from `archive`. A
// question no platform could take (no correct answer, an empty answer) is skipped with a note.
QList<InterchangeQuestion> fromTest(const TestModel &test, TVfsPAK &archive, QList<InterchangeNote> &notes);
QList<InterchangeQuestion> fromSingleQuestion(const SingleQuestion &question, TVfsPAK &archive,
                                              QList<InterchangeNote> &notes);
// Whether the header holds something the formats have no place for: author, time, grading, remarks.
bool headerHasMore(const TestHeader &header);

struct Appended {
    int count = 0; // questions appended
    QString error; // the archive could not be written; what was appended so far stays
};
// Appends the questions after the test's last one, up to 45, their attachments stored in `archive`
// under names made storable and unique there. A test without questions takes its answer count and
// choice type from the first question; a question that differs from them is skipped with a note.
Appended appendToTest(TestModel &test, TVfsPAK &archive, const QList<InterchangeQuestion> &questions,
                      QList<InterchangeNote> &notes);
// The question as a single question of its own, its attachments stored in `archive`; false with
// `error` set when the archive cannot be written.
bool toSingleQuestion(const InterchangeQuestion &q, SingleQuestion &out, TVfsPAK &archive,
                      QList<InterchangeNote> &notes, QString &error);

// A member name for a file called `wanted` in some other program: no folder part, no characters an
// archive or a file system cannot hold, `extension` (with its dot) at the end, `fallback` as the stem
// when nothing is left, short enough to be stored.
QString storableName(const QString &wanted, const QString &fallback, const QString &extension);
// Stores `bytes` in the archive under storableName or, when a member of that name holds other bytes,
// under the first free "stem_n" name; a member with the same bytes is used as it is. The name used,
// or empty when the archive cannot be written.
QString storeMember(TVfsPAK &archive, const QString &name, const QByteArray &bytes);

} // namespace QuestionTransfer
