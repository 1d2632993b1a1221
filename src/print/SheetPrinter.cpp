#include "print/SheetPrinter.h"

#include "print/AnswerSheet.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <map>

using namespace Qt::StringLiterals;

SheetPrinter::SheetPrinter(const TestModel &test, TVfsPAK &attachments) : m_test(test), m_attachments(attachments) {}

PrintResult SheetPrinter::print(PrintOptions options, const SchoolClass *schoolClass, QByteArray &pdf)
{
    PrintResult result;
    if (options.versions < 1 || options.versions > kMaxPrintVersions) {
        result.error = u"the number of versions must be 1 to %1."_s.arg(kMaxPrintVersions);
        return result;
    }
    // The sheets must carry the seed the booklets are shuffled by, so it is fixed here.
    const PrintPlan plan = planPrint(m_test.header, options.versions, options.seed);
    if (plan.shuffled)
        options.seed = plan.seed;
    const SheetGeometry geometry = sheetGeometry(printedQuestionCount(m_test.header), plan.answerCount);
    const QString fingerprint = testFingerprint(m_test);

    struct Sheet {
        SheetContent content;
        const PrintVersion *version = nullptr;
    };
    // Kept alive until the PDF is painted: the booklets' inserts refer to them.
    auto sheets = std::make_shared<QList<Sheet>>();
    const auto addSheet = [&](int version, int pupil, const Student *student) {
        Sheet s;
        SheetCode &c = s.content.code;
        c.fingerprint = fingerprint;
        c.versions = options.versions;
        c.version = version;
        c.shuffled = plan.shuffled;
        c.seed = plan.shuffled ? plan.seed : 0;
        c.pupil = pupil;
        c.questions = geometry.questions;
        c.answers = geometry.answers;
        if (student) {
            c.firstName = student->firstName.trimmed().left(kMaxSheetNameChars);
            c.surname = student->surname.trimmed().left(kMaxSheetNameChars);
            c.className = schoolClass->name.trimmed().left(kMaxSheetNameChars);
            if (schoolClass->gradingOn != 0)
                c.classScale = schoolClass->thresholds;
        }
        s.content.testName = m_test.header.testName;
        s.version = &plan.versions[version];
        sheets->append(s);
    };
    if (schoolClass) {
        if (schoolClass->students.isEmpty()) {
            result.error = u"the class \"%1\" has no pupils."_s.arg(schoolClass->name);
            return result;
        }
        for (int i = 0; i < schoolClass->students.size(); ++i)
            addSheet(i % options.versions, i + 1, &schoolClass->students[i]);
    } else {
        for (int v = 0; v < options.versions; ++v)
            addSheet(v, 0, nullptr);
    }

    auto pages = std::make_shared<std::map<int, QJsonObject>>();
    auto failed = std::make_shared<bool>(false);
    options.booklets.clear();
    for (int i = 0; i < sheets->size(); ++i) {
        PrintOptions::Booklet booklet;
        booklet.version = (*sheets)[i].content.code.version;
        booklet.after.pages = 1;
        booklet.after.paint = [this, sheets, pages, failed, geometry, i](QPainter &p, int, int pdfPage) {
            const Sheet &s = (*sheets)[i];
            if (!paintAnswerSheet(p, geometry, s.content))
                *failed = true;
            QJsonArray bubbles;
            for (const SheetBox &b : geometry.boxes) {
                const int position = b.question - 1;
                const int number = s.version->questions[position];
                const int answer = s.version->answers[position][static_cast<size_t>(b.answer)];
                bubbles.append(QJsonObject{{u"question"_s, b.question},
                                           {u"answer"_s, answerLetter(b.answer)},
                                           {u"x"_s, b.centre.x()},
                                           {u"y"_s, b.centre.y()},
                                           {u"r"_s, geometry.boxHalf},
                                           {u"correct"_s, isCorrectAnswer(m_test.question(number), answer)}});
            }
            (*pages)[pdfPage] = QJsonObject{{u"page"_s, pdfPage + 1},
                                            {u"student"_s, s.content.code.pupilName()},
                                            {u"version"_s, QString(s.version->letter())},
                                            {u"bubbles"_s, bubbles}};
        };
        options.booklets.append(booklet);
    }
    TestPrinter printer(m_test, m_attachments);
    result = printer.print(options, pdf);
    if (result.ok && *failed) {
        result.ok = false;
        result.error = u"the code of an answer sheet could not be made."_s;
        pdf.clear();
    }
    QJsonArray all;
    for (const auto &[page, object] : *pages)
        all.append(object);
    m_layout = QJsonDocument(QJsonObject{{u"pages"_s, all}});
    return result;
}

PrintResult SheetPrinter::printToFile(const PrintOptions &options, const SchoolClass *schoolClass, const QString &path)
{
    QByteArray pdf;
    PrintResult result = print(options, schoolClass, pdf);
    return writtenTo(std::move(result), pdf, path);
}
