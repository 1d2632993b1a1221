#include "grading/PaperGrader.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Four questions of three answers; question k's right answer is answer (k - 1) % 3, question 4 has two.
TestModel fourQuestions()
{
    TestModel m;
    m.header.questionCount = 4;
    m.header.answerCount = 3;
    m.header.multipleChoice = 1;
    for (int k = 1; k <= 4; ++k) {
        m.question(k).text = u"Pytanie %1"_s.arg(k);
        m.question(k).answers = {u"a"_s, u"b"_s, u"c"_s, {}, {}};
        QString mask = u"00000"_s;
        mask[(k - 1) % 3] = u'1';
        m.question(k).correct = mask;
    }
    m.question(4).correct = u"10100"_s;
    return m;
}

// A reading as the reader would give it for a sheet of version `version` with `letters` marked per
// sheet question ("?" for an uncertain mark in the row).
SheetReading reading(const TestModel &m, int version, int pupil, const QString &first, const QStringList &letters)
{
    SheetReading r;
    r.status = SheetReading::Status::Sheet;
    SheetCode &c = r.code;
    c.fingerprint = testFingerprint(m);
    c.versions = 2;
    c.version = version;
    c.shuffled = true;
    c.seed = 99;
    c.questions = 4;
    c.answers = 3;
    c.pupil = pupil;
    c.firstName = first;
    c.surname = first.isEmpty() ? QString() : u"Nowak"_s;
    c.className = first.isEmpty() ? QString() : u"1a"_s;
    r.geometry = sheetGeometry(4, 3);
    for (const QString &l : letters)
        for (int a = 0; a < 3; ++a) {
            BoxReading b;
            b.mark = l == u"?"_s && a == 1 ? BoxMark::Uncertain
                     : l.contains(QChar(u'A' + a)) ? BoxMark::Marked
                                                   : BoxMark::Empty;
            r.boxes.append(b);
        }
    return r;
}

// The key of a version as its sheet shows it.
QStringList keyOf(const TestModel &m, int version)
{
    const PrintVersion v = planPrint(m.header, 2, 99u).versions[version];
    QStringList key;
    for (int q = 0; q < 4; ++q) {
        QString letters;
        for (int a = 0; a < 3; ++a)
            if (isCorrectAnswer(m.question(v.questions[q]), v.answers[q][size_t(a)]))
                letters += QChar(u'A' + a);
        key << letters;
    }
    return key;
}

TEST(PaperGrader, ScoresExactAnswersByTheVersionsKeyAndWritesTheSpreadsheet)
{
    const TestModel m = fourQuestions();
    PaperGrader grader(m);
    QStringList b = keyOf(m, 1);
    for (QString &letters : b)
        if (letters.size() == 2)
            letters = letters.left(1); // half of a two-answer question scores nothing
    ASSERT_EQ(grader.addReading(reading(m, 0, 1, u"Żaneta"_s, keyOf(m, 0)), u"a.pdf"_s, 1, nullptr),
              PaperGrader::Outcome::Sheet);
    ASSERT_EQ(grader.addReading(reading(m, 1, 2, u"Łukasz"_s, b), u"a.pdf"_s, 3, nullptr), PaperGrader::Outcome::Sheet);
    QStringList blank{u""_s, u"?"_s, keyOf(m, 0)[2], u"ABC"_s};
    ASSERT_EQ(grader.addReading(reading(m, 0, 0, {}, blank), u"b.png"_s, 1, nullptr), PaperGrader::Outcome::Sheet);

    const QString csv = QString::fromUtf8(grader.csv());
    const QStringList lines = csv.split(u"\r\n"_s);
    ASSERT_TRUE(grader.csv().startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(lines[0], u"Uczeń;Klasa;Wersja;Punkty;Maks;Procent;Ocena;1;2;3;4"_s);
    EXPECT_EQ(lines[1], u"Żaneta Nowak;1a;A;4;4;100;celujący;"_s + keyOf(m, 0).join(u';'));
    EXPECT_EQ(lines[2], u"Łukasz Nowak;1a;B;3;4;75;dobry;"_s + b.join(u';'));
    EXPECT_EQ(lines[3], u";;A;1;4;25;niedostateczny;;?;"_s + keyOf(m, 0)[2] + u";ABC"_s);

    ASSERT_EQ(grader.reviewItems().size(), 1);
    EXPECT_EQ(grader.reviewItems()[0].sheet, 2);
    EXPECT_EQ(grader.reviewItems()[0].question, 2);
    grader.settle(2, 2, keyOf(m, 0)[1]);
    EXPECT_TRUE(grader.reviewItems().isEmpty());
    EXPECT_EQ(grader.sheets()[2].points, 2);
    EXPECT_EQ(grader.sheets()[2].grade, u"dopuszczający"_s);
}

TEST(PaperGrader, RefusesOtherTestsAndCountsARepeatedSheetOnce)
{
    const TestModel m = fourQuestions();
    PaperGrader grader(m);
    const SheetReading first = reading(m, 0, 1, u"Ola"_s, keyOf(m, 0));
    QString message;
    EXPECT_EQ(grader.addReading(first, u"a.pdf"_s, 1, &message), PaperGrader::Outcome::Sheet);
    EXPECT_EQ(grader.addReading(first, u"b.pdf"_s, 4, &message), PaperGrader::Outcome::Duplicate);
    EXPECT_TRUE(message.contains(u"b.pdf, page 4"_s) && message.contains(u"a.pdf, page 1"_s)) << message.toStdString();
    // Copies of a blank sheet are different pupils.
    const SheetReading blank = reading(m, 0, 0, {}, keyOf(m, 0));
    EXPECT_EQ(grader.addReading(blank, u"c.pdf"_s, 1, &message), PaperGrader::Outcome::Sheet);
    EXPECT_EQ(grader.addReading(blank, u"c.pdf"_s, 2, &message), PaperGrader::Outcome::Sheet);

    TestModel changed = m;
    changed.question(2).correct = u"00100"_s;
    PaperGrader other(changed);
    EXPECT_EQ(other.addReading(first, u"a.pdf"_s, 1, &message), PaperGrader::Outcome::OtherTest);
    EXPECT_TRUE(message.startsWith(u"a.pdf, page 1: "_s)) << message.toStdString();
    SheetReading none;
    EXPECT_EQ(other.addReading(none, u"a.pdf"_s, 2, &message), PaperGrader::Outcome::Skipped);
    EXPECT_EQ(other.skipped(), 1);
}

TEST(PaperGrader, GradeScaleIsTheTestsThenTheClasssThenTheUsual)
{
    TestModel m = fourQuestions();
    SheetReading r = reading(m, 0, 1, u"Ola"_s, keyOf(m, 0));
    r.boxes[0].mark = r.boxes[0].mark == BoxMark::Marked ? BoxMark::Empty : BoxMark::Marked; // 3 of 4
    {
        PaperGrader g(m);
        g.addReading(r, u"a"_s, 1, nullptr);
        EXPECT_EQ(g.sheets()[0].grade, u"dobry"_s);
    }
    r.code.classScale = std::array<int, 5>{100, 95, 90, 74, 50};
    {
        PaperGrader g(m);
        g.addReading(r, u"a"_s, 1, nullptr);
        EXPECT_EQ(g.sheets()[0].grade, u"dostateczny"_s);
    }
    m.header.gradingOn = 1;
    m.header.thresholds = {75, 60, 50, 40, 30};
    {
        PaperGrader g(m);
        g.addReading(r, u"a"_s, 1, nullptr);
        EXPECT_EQ(g.sheets()[0].grade, u"celujący"_s);
    }
    EXPECT_EQ(PaperGrader::gradeFor(0, 0, {90, 80, 70, 60, 40}), u"celujący"_s);
    EXPECT_EQ(PaperGrader::gradeFor(17, 30, {90, 80, 70, 60, 40}), u"dopuszczający"_s);
    EXPECT_EQ(PaperGrader::gradeFor(18, 30, {90, 80, 70, 60, 40}), u"dostateczny"_s);
}

} // namespace
