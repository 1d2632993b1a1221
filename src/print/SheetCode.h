#pragma once

#include "core/TestModel.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// What the code on an answer sheet carries: everything grading needs besides the test itself. It is
// plain ASCII (names percent-encoded), versioned and closed by a check sum, so that a misread or a
// hand-made code is refused before any of it is used.
struct SheetCode {
    QString fingerprint;  // testFingerprint() of the test the sheet was printed for
    int versions = 1;     // versions printed, 1..26
    int version = 0;      // 0 for A
    bool shuffled = false;
    quint32 seed = 0;
    int questions = 0;    // rows of the grid
    int answers = 3;      // boxes in a row
    int page = 1;         // page of the sheet, from 1
    int pages = 1;
    int pupil = 0;        // the pupil's place in the class from 1; 0 on a blank sheet
    QString className;
    QString firstName;
    QString surname;
    // The class's grading scale when it has one; the test's own scale comes first anyway.
    std::optional<std::array<int, 5>> classScale;

    bool operator==(const SheetCode &) const = default;
    QString pupilName() const;
};

inline constexpr int kMaxSheetCodeBytes = 900;
inline constexpr int kMaxSheetNameChars = 80;

QByteArray encodeSheetCode(const SheetCode &code);
// Nothing and `why` set for anything that is not a code of ours with every value in range.
std::optional<SheetCode> decodeSheetCode(const QByteArray &bytes, QString *why = nullptr);

// A short hash of what a sheet's key depends on: the questions, their answers and which are right.
QString testFingerprint(const TestModel &test);
