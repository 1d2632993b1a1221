#include "core/TestModel.h"

#include "core/TextHelpers.h"

void TestModel::resetTest()
{
    header = TestHeader{};
    header.date = todayText();
    questionsLeftOut = 0;
    for (int k = 1; k <= kMaxQuestions; ++k)
        blankQuestion(k);
}

void TestModel::blankQuestion(int k)
{
    if (k < 1 || k > kMaxQuestions)
        return;
    question(k) = Question{};
}

void SingleQuestion::resetSingleQuestion()
{
    const QString keepSavedAt = savedAt;
    const QString keepPath = filePath;
    *this = SingleQuestion{};
    savedAt = keepSavedAt;
    filePath = keepPath;
}
