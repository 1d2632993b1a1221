#pragma once

#include "grading/PaperGrader.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>

class Workspace;

// The paper-grading window without its widgets: scans read in the background, page by page, the
// results of the test the workspace holds, the marks a person settles, and the CSV and PDF of the
// table. Talks to the user through the workspace's Prompts.
class GradingSession : public QObject {
    Q_OBJECT

public:
    explicit GradingSession(Workspace &ws, QObject *parent = nullptr);
    ~GradingSession() override;

    // "Dodaj skany ...": asks for scan files (several at once) and reads them.
    void chooseScan();
    // Starts reading the files' pages in the background, one file after another; false while other
    // files are being read.
    bool addScans(const QStringList &paths);
    bool addScan(const QString &path) { return addScans({path}); }
    bool busy() const { return m_worker.joinable() && !m_done; }
    // Blocks until the file being read is done (tests, closing the window).
    void wait();

    const PaperGrader &grader() const { return m_grader; }
    // Problems met while reading, one line each, as the command-line tool reports them.
    const QStringList &messages() const { return m_messages; }
    int pagesRead() const { return m_pagesRead; }

    // The person's decision on an uncertain row.
    void settle(int sheet, int question, const QString &letters);

    // "Zapisz wyniki ..." and "Drukuj tabelę ...": ask for a file name, then write.
    void saveResults();
    void printResults();
    bool writeCsv(const QString &path, QString *why) const;
    bool writeTablePdf(const QString &path, QString *why) const;

signals:
    // A page was read: pages done so far (a file's page count is not known upfront for pictures, so
    // the window shows pages, not a share).
    void progress(int pages);
    void changed();
    void finished();

private:
    void take(const QString &file, int page, const SheetReading &reading, const QString &problem);
    void stopWorker();

    Workspace &m_ws;
    TestModel m_test; // a copy: the grades stay those of the test as it was when the window opened
    PaperGrader m_grader;
    QStringList m_messages;
    int m_pagesRead = 0;
    std::thread m_worker;
    std::atomic<bool> m_done{true};
    std::atomic<bool> m_stop{false};
};
