#pragma once

#include "core/TestModel.h"
#include "print/PrintPlan.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPainter;
class TVfsPAK;

struct PrintOptions {
    enum class Key { None, AfterTest, Only };
    int versions = 1; // 1..26
    Key key = Key::None;
    std::optional<quint32> seed;

    // Pages of the caller's own after a booklet (answer sheets). The painter's origin is the page's
    // top left corner and its unit the PDF point; `pdfPage` counts the file's pages from 0.
    struct Insert {
        int pages = 0;
        std::function<void(QPainter &painter, int page, int pdfPage)> paint;
    };
    struct Booklet {
        int version = 0; // index into the plan's versions
        Insert after;
    };
    // When not empty: these booklets in this order instead of each version once.
    QList<Booklet> booklets;
};

// An attachment printed as a note instead of itself.
struct AttachmentProblem {
    int question = 0; // number in the test
    QString name;
    bool picture = false;
    QString reason; // empty: not in the test file
};

struct PrintResult {
    bool ok = false;
    QString error; // one line: why nothing was written
    QList<AttachmentProblem> problems;
    PrintPlan plan;
    int pages = 0;
};

// Writes what a successful print made (a PDF or a document) to `path`, whole or not at all; a failed write becomes the
// result's error.
PrintResult writtenTo(PrintResult result, const QByteArray &bytes, const QString &path);

// A test on A4 pages as PDF: a head for the student, the numbered questions with their pictures and
// text passages, each version shuffled by the plan, and the answer key. Attachments come from the
// archive the test's members were read into, and each is decoded once however many versions print it.
// Needs a QGuiApplication (fonts).
class TestPrinter {
public:
    TestPrinter(const TestModel &test, TVfsPAK &attachments);
    ~TestPrinter();
    TestPrinter(const TestPrinter &) = delete;
    TestPrinter &operator=(const TestPrinter &) = delete;

    PrintResult print(const PrintOptions &options, QByteArray &pdf);
    // The PDF written beside `path` and renamed over it when complete: a failure leaves the old file.
    PrintResult printToFile(const PrintOptions &options, const QString &path);
    // The same content as an OpenDocument text a word processor edits (Qt's ODF writer).
    PrintResult writeDocument(const PrintOptions &options, QByteArray &odt);
    PrintResult writeDocumentToFile(const PrintOptions &options, const QString &path);

    // What the pictures and texts turned into, by member name (case-folded); filled while printing.
    struct Picture {
        QImage image; // null when it cannot be printed
        QString reason;
        bool found = false;
    };
    // Any bytes read as Windows-1250 are text, so a text is only ever missing.
    struct Passage {
        QString text;
        bool found = false;
    };

    // Pictures decoded so far: each distinct one once, whatever the number of versions.
    int picturesDecoded() const { return static_cast<int>(m_pictures.size()); }

private:
    const Picture &picture(const QString &name);
    const Passage &passage(const QString &name);

    // The plan the options ask for; false, with the error, for a number of versions out of range.
    bool planFor(const PrintOptions &options, PrintResult &result) const;
    // The versions' tests and keys the options ask for, in the order they are printed.
    template <typename Layout>
    static void addParts(Layout &layout, const PrintPlan &plan, const PrintOptions &options)
    {
        if (options.key != PrintOptions::Key::Only) {
            for (const PrintVersion &v : plan.versions)
                layout.addTest(v);
        }
        if (options.key != PrintOptions::Key::None) {
            for (const PrintVersion &v : plan.versions)
                layout.addKey(v);
        }
    }
    // Each version reports the same attachment again: once each, in the order of the questions.
    static QList<AttachmentProblem> uniqueProblems(const QList<AttachmentProblem> &problems);

    friend class PrintLayout;
    friend class EditableTest;
    const TestModel &m_test;
    TVfsPAK &m_attachments;
    QHash<QString, Picture> m_pictures;
    QHash<QString, Passage> m_passages;
};
