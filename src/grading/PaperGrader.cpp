#include "grading/PaperGrader.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString csvField(const QString &value)
{
    if (!value.contains(u';') && !value.contains(u'"') && !value.contains(u'\n') && !value.contains(u'\r'))
        return value;
    QString quoted = value;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

bool sameSheet(const SheetCode &a, const SheetCode &b)
{
    return a.pupil == b.pupil && a.page == b.page && a.version == b.version && a.className == b.className &&
           a.firstName == b.firstName && a.surname == b.surname;
}

} // namespace

bool GradedSheet::needsReview() const
{
    return std::any_of(answers.begin(), answers.end(), [](const auto &a) { return !a.has_value(); });
}

PaperGrader::PaperGrader(const TestModel &test) : m_test(test), m_fingerprint(testFingerprint(test)) {}

PaperGrader::Outcome PaperGrader::addReading(const SheetReading &reading, const QString &file, int page,
                                             QString *message)
{
    const QString where = u"%1, page %2: "_s.arg(file).arg(page);
    const auto say = [&](const QString &text) {
        if (message)
            *message = where + text;
    };
    switch (reading.status) {
    case SheetReading::Status::NoSheet:
        ++m_skipped;
        return Outcome::Skipped;
    case SheetReading::Status::BadCode:
    case SheetReading::Status::NoMarks:
    case SheetReading::Status::Unreadable:
        say(reading.problem + u'.');
        return Outcome::Unreadable;
    case SheetReading::Status::Sheet:
        break;
    }
    const SheetCode &code = reading.code;
    if (code.fingerprint != m_fingerprint) {
        say(u"an answer sheet of another test (or of this test before its questions changed)."_s);
        return Outcome::OtherTest;
    }
    const int count = printedQuestionCount(m_test.header);
    if (code.questions != count || code.answers != printedAnswerCount(m_test.header)) {
        say(u"the sheet's grid does not fit the test."_s);
        return Outcome::OtherTest;
    }
    if (code.pupil != 0) {
        for (const GradedSheet &s : std::as_const(m_sheets)) {
            if (sameSheet(s.reading.code, code)) {
                say(u"a second scan of the sheet of %1 (first: %2, page %3); counted once."_s.arg(
                    code.pupilName(), s.file, QString::number(s.page)));
                return Outcome::Duplicate;
            }
        }
    }
    GradedSheet sheet;
    sheet.file = file;
    sheet.page = page;
    sheet.reading = reading;
    const PrintPlan plan =
        planPrint(m_test.header, code.versions, code.shuffled ? std::optional<quint32>(code.seed) : std::nullopt);
    const PrintVersion &version = plan.versions[code.version];
    for (int q = 1; q <= count; ++q) {
        QString letters;
        QString key;
        bool uncertain = false;
        const int number = version.questions[q - 1];
        for (int a = 0; a < code.answers; ++a) {
            const BoxMark mark = reading.boxes[(q - 1) * code.answers + a].mark;
            uncertain = uncertain || mark == BoxMark::Uncertain;
            if (mark == BoxMark::Marked)
                letters += answerLetter(a);
            if (isCorrectAnswer(m_test.question(number), version.answers[q - 1][static_cast<size_t>(a)]))
                key += answerLetter(a);
        }
        sheet.answers.append(uncertain ? std::nullopt : std::optional<QString>(letters));
        sheet.correct.append(key);
    }
    score(sheet);
    m_sheets.append(sheet);
    return Outcome::Sheet;
}

QString PaperGrader::gradeFor(int points, int maximum, const std::array<int, 5> &thresholds)
{
    static const char16_t *names[] = {u"celujący",    u"bardzo dobry",  u"dobry",
                                      u"dostateczny", u"dopuszczający", u"niedostateczny"};
    for (int i = 0; i < 5; ++i) {
        // As the printed scale says: the points needed are the threshold's share, rounded up.
        const int needed = static_cast<int>(std::ceil(thresholds[static_cast<size_t>(i)] * maximum / 100.0 - 1e-9));
        if (points >= needed)
            return QString::fromUtf16(names[i]);
    }
    return QString::fromUtf16(names[5]);
}

void PaperGrader::score(GradedSheet &sheet) const
{
    sheet.points = 0;
    sheet.maximum = static_cast<int>(sheet.correct.size());
    for (int q = 0; q < sheet.answers.size(); ++q)
        sheet.points += sheet.answers[q] && *sheet.answers[q] == sheet.correct[q];
    sheet.percent = sheet.maximum ? static_cast<int>(std::lround(100.0 * sheet.points / sheet.maximum)) : 0;
    const std::array<int, 5> defaults{90, 80, 70, 60, 40};
    const std::array<int, 5> &scale = m_test.header.gradingOn != 0      ? m_test.header.thresholds
                                      : sheet.reading.code.classScale ? *sheet.reading.code.classScale
                                                                      : defaults;
    sheet.grade = gradeFor(sheet.points, sheet.maximum, scale);
}

QList<ReviewItem> PaperGrader::reviewItems() const
{
    QList<ReviewItem> items;
    for (int s = 0; s < m_sheets.size(); ++s)
        for (int q = 0; q < m_sheets[s].answers.size(); ++q)
            if (!m_sheets[s].answers[q])
                items.append({s, q + 1});
    return items;
}

void PaperGrader::settle(int sheet, int question, const QString &letters)
{
    if (sheet < 0 || sheet >= m_sheets.size() || question < 1 || question > m_sheets[sheet].answers.size())
        return;
    QString sorted;
    for (int a = 0; a < m_sheets[sheet].reading.code.answers; ++a)
        if (letters.contains(answerLetter(a)))
            sorted += answerLetter(a);
    m_sheets[sheet].answers[question - 1] = sorted;
    score(m_sheets[sheet]);
}

QByteArray PaperGrader::csv() const
{
    QStringList header{u"Uczeń"_s, u"Klasa"_s, u"Wersja"_s, u"Punkty"_s,
                       u"Maks"_s,  u"Procent"_s, u"Ocena"_s};
    for (int q = 1; q <= printedQuestionCount(m_test.header); ++q)
        header << QString::number(q);
    QByteArray out = "\xEF\xBB\xBF";
    out += header.join(u';').toUtf8() + "\r\n";
    for (const GradedSheet &s : m_sheets) {
        const SheetCode &c = s.reading.code;
        QStringList row{csvField(c.pupilName()), csvField(c.className), QString(QChar(u'A' + c.version)),
                        QString::number(s.points), QString::number(s.maximum), QString::number(s.percent),
                        s.grade};
        for (const auto &a : s.answers)
            row << (a ? *a : u"?"_s);
        out += row.join(u';').toUtf8() + "\r\n";
    }
    return out;
}
