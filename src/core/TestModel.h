#pragma once

#include <QString>

#include <array>

// The one test and the one single question the program holds in memory. Field names follow the
// document keys they are stored under.

inline constexpr int kMaxQuestions = 45;
inline constexpr int kMaxAnswers = 5;

struct TestHeader {
    int answerCount = 3;    // "ilo": 3, 4 or 5
    int multipleChoice = 0; // "typ"
    int questionCount = 0;  // "ilp": 0..45
    int time = 0;           // "tim": 0..300
    QString testName;       // "nmt"
    QString author;         // "name"
    QString date;           // "dtu"
    QString remarks;        // "uwg"
    int gradingOn = 0;      // "skl"/"tk"
    std::array<int, 5> thresholds{90, 80, 70, 60, 40}; // "cel", "bdb", "db", "dst", "dp"
};

struct Question {
    QString text;                                // "tr"
    std::array<QString, kMaxAnswers> answers;    // "od1".."od5"
    QString correct = QStringLiteral("00000");   // "odp": one "1"/"0" per answer, answer 1 first
    QString imageName;                           // "plimg"
    QString imageSource;                         // disk path the image came from (not stored)
    QString textName;                            // "plr"
    QString textSource;                          // disk path the text came from (not stored)
    QString comment;                             // "kom"
    int unfinished = 1;                          // added and not yet accepted in the question editor
};

class TestModel {
public:
    TestHeader header;
    // Records 1..45; record k is questions[k - 1].
    std::array<Question, kMaxQuestions> questions;
    // Questions a file held beyond the 45 the model takes: the reader reads the first 45 and counts the
    // rest here, so the editor can tell the user before a save drops them.
    int questionsLeftOut = 0;

    Question &question(int k) { return questions[static_cast<size_t>(k - 1)]; }
    const Question &question(int k) const { return questions[static_cast<size_t>(k - 1)]; }

    void resetTest();
    void blankQuestion(int k);
};

struct SingleQuestion {
    QString fileName;       // file name of the question file, without folder
    QString storedName;     // "name", passed through unchanged
    int multipleChoice = 0; // "typ"
    int answerCount = 3;    // "ilo"
    QString text;           // "tr"
    std::array<QString, kMaxAnswers> answers;
    QString correct = QStringLiteral("00000");
    QString imageName;      // "plimg"
    QString textName;       // "plr"
    QString imageSource;
    QString textSource;
    QString comment;        // "kom"
    QString savedAt;        // "dtu"; not reset
    QString filePath;       // kept by the reset; cleared by the question editor's entry points

    void resetSingleQuestion();
};
