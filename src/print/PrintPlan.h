#pragma once

#include "core/TestModel.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

// Which question and which answer stands where in each printed version of a test. Shuffling is
// driven by our own generator, so a seed gives the same versions on every machine and Qt version:
// a key lost after the printing can be made again from the seed it shows.

inline constexpr int kMaxPrintVersions = 26;

struct PrintVersion {
    int index = 0;        // 0 for A, 1 for B, ...
    QList<int> questions; // printed position -> question number in the test (1-based)
    // Per printed question: printed answer position -> answer index in the test (0-based); only the
    // first answerCount entries matter.
    QList<std::array<int, kMaxAnswers>> answers;

    QChar letter() const { return QChar(u'A' + index); }
};

struct PrintPlan {
    bool shuffled = false; // false: one version in the test's own order
    quint32 seed = 0;      // meaningful when shuffled
    int answerCount = 3;
    QList<PrintVersion> versions;
};

// `versions` (1..26) shuffled versions when there are several or a seed is given; one version in the
// test's own order otherwise. Without a seed, one is drawn.
PrintPlan planPrint(const TestHeader &header, int versions, std::optional<quint32> seed);

// The test's answer count within what can be printed (3..5) and its question count within 0..45.
int printedAnswerCount(const TestHeader &header);
int printedQuestionCount(const TestHeader &header);

// Whether answer `answer` (0-based) of the question is correct by its mask.
bool isCorrectAnswer(const Question &question, int answer);

// "A" .. "E" for a printed answer position (0-based).
QString answerLetter(int position);
