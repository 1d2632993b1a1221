#pragma once

#include "print/TestPrinter.h"

class QTextDocument;

// The printed test as a text document a teacher can go on editing in a word processor: for each
// version its head, the numbered questions with lettered answers, pictures at the size they print
// at, passages in a box; each key on a page of its own as a table. Attachments are the printer's,
// decoded once.
class EditableTest {
public:
    EditableTest(TestPrinter &printer, const PrintPlan &plan, PrintResult &result, QTextDocument &document);

    void addTest(const PrintVersion &version);
    void addKey(const PrintVersion &version);

private:
    void addQuestion(int position, int number, const std::array<int, kMaxAnswers> &order);
    void addPassage(int number, const QString &name);
    void addPicture(int number, const QString &name);
    void newPage();
    QString versionName(const PrintVersion &v) const;

    TestPrinter &m_printer;
    const PrintPlan &m_plan;
    PrintResult &m_result;
    QTextDocument &m_document;
    const TestModel &m_test;
    bool m_empty = true; // nothing written yet: the first part needs no page break
    int m_pictures = 0;
};
