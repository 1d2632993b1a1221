#include "core/TestModel.h"
#include "core/TextHelpers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(TextHelpers, TodayTextPadsMonthAndDay)
{
    EXPECT_EQ(todayText(QDate(2026, 3, 5)), u"2026-03-05"_s);
    EXPECT_EQ(todayText(QDate(2026, 12, 10)), u"2026-12-10"_s);
}

TEST(TextHelpers, NormaliseText)
{
    const std::pair<QString, QString> cases[] = {
        {u"dwa\r\n   słowa"_s, u"dwa słowa"_s},
        {u"  a  "_s, u" a "_s}, // ends not trimmed, runs collapsed
        {u"\r"_s, u" "_s},
        {u""_s, u""_s},
        {u"bez zmian"_s, u"bez zmian"_s},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(normaliseText(in), out) << in.toStdString();
}

TEST(TextHelpers, ShortenText)
{
    const QString seventy(70, u'x');
    EXPECT_EQ(shortenText(seventy), seventy);
    EXPECT_EQ(shortenText(QString(100, u'x')), u""_s);
    const QString s = QString(69, u'a') + u" bbbb"_s; // blank at position 70
    EXPECT_EQ(shortenText(s), QString(69, u'a') + u' ');
    const QString dots = u"Zdanie. "_s + QString(80, u'x');
    EXPECT_EQ(shortenText(dots), u"Zdanie. "_s);
    EXPECT_EQ(shortenText(u"Ala. Ola"_s, 6), u"Ala. "_s);
}

TEST(TestModel, ResetGivesBlankRecordsAndDefaults)
{
    TestModel m;
    m.header.answerCount = 5;
    m.header.questionCount = 12;
    m.header.thresholds = {1, 2, 3, 4, 5};
    m.question(45).text = u"x"_s;
    m.question(3).correct = u"10000"_s;
    m.question(3).unfinished = 0;
    m.resetTest();
    EXPECT_EQ(m.header.answerCount, 3);
    EXPECT_EQ(m.header.multipleChoice, 0);
    EXPECT_EQ(m.header.questionCount, 0);
    EXPECT_EQ(m.header.thresholds, (std::array<int, 5>{90, 80, 70, 60, 40}));
    EXPECT_EQ(m.header.date, todayText());
    for (int k = 1; k <= kMaxQuestions; ++k) {
        EXPECT_TRUE(m.question(k).text.isEmpty());
        EXPECT_EQ(m.question(k).correct, u"00000"_s);
        EXPECT_EQ(m.question(k).unfinished, 1);
    }
}

TEST(TestModel, SingleQuestionResetKeepsDateAndPath)
{
    SingleQuestion q;
    q.text = u"t"_s;
    q.answerCount = 5;
    q.correct = u"01000"_s;
    q.savedAt = u"2026/01/02"_s;
    q.filePath = u"/x/y.skq"_s;
    q.resetSingleQuestion();
    EXPECT_TRUE(q.text.isEmpty());
    EXPECT_EQ(q.answerCount, 3);
    EXPECT_EQ(q.correct, u"00000"_s);
    EXPECT_EQ(q.savedAt, u"2026/01/02"_s);
    EXPECT_EQ(q.filePath, u"/x/y.skq"_s);
}
