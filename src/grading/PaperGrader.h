#pragma once

#include "core/TestModel.h"
#include "grading/SheetReader.h"
#include "print/PrintPlan.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One pupil's sheet as read and scored.
struct GradedSheet {
    QString file;
    int page = 0; // page of the file, from 1
    SheetReading reading;
    // Per question on the sheet: the letters marked in alphabetical order, or nothing while a mark in
    // its row is uncertain.
    QList<std::optional<QString>> answers;
    QList<QString> correct; // the key's letters per question on the sheet
    int points = 0;
    int maximum = 0;
    int percent = 0;
    QString grade;
    bool needsReview() const;
};

// A mark sent to a person: where it is.
struct ReviewItem {
    int sheet = 0;    // index into sheets()
    int question = 0; // on the sheet, from 1
};

// Scores the sheets of one test. A page is a sheet of this test, a page without a sheet (a booklet
// page, a blank page), a sheet of another test, or a scan that cannot be used.
class PaperGrader {
public:
    enum class Outcome { Sheet, Duplicate, Skipped, OtherTest, Unreadable };

    explicit PaperGrader(const TestModel &test);

    // `message` gets a line for everything but a sheet and a skipped page.
    Outcome addReading(const SheetReading &reading, const QString &file, int page, QString *message);

    const QList<GradedSheet> &sheets() const { return m_sheets; }
    QList<ReviewItem> reviewItems() const;
    int skipped() const { return m_skipped; }

    // A person's decision on a question whose marks were uncertain: the letters marked.
    void settle(int sheet, int question, const QString &letters);

    // The results as a spreadsheet reads them: UTF-8 with a byte-order mark, fields between ";".
    QByteArray csv() const;
    static QString gradeFor(int points, int maximum, const std::array<int, 5> &thresholds);

private:
    void score(GradedSheet &sheet) const;

    const TestModel &m_test;
    QString m_fingerprint;
    QList<GradedSheet> m_sheets;
    int m_skipped = 0;
};
