#include "SheetScans.h"
#include "grading/ScanFiles.h"
#include "documents/ListDocuments.h"
#include "core/StudentList.h"
#include "documents/TestDocument.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

constexpr double kDpi = 200;

// A class prints its named sheets, the pile is marked and scanned (booklet pages and all, in another
// order, one sheet upside down in a picture of its own), and "zadanix grade" scores it.
class GradeCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = QCoreApplication::applicationDirPath() + u"/zadanix"_s;
        if (!QFileInfo(program).isExecutable())
            GTEST_FAIL() << "build the zadanix target first: " << program.toStdString();
        t.ws.prompts = &prompts;
        t.ws.createWorkingArchives();
        TestModel &m = t.ws.test;
        m.resetTest();
        m.header.questionCount = 6;
        m.header.answerCount = 4;
        m.header.testName = u"Biologia – komórka"_s;
        for (int k = 1; k <= 6; ++k) {
            Question &q = m.question(k);
            q.text = u"Pytanie %1 o jądrze komórkowym"_s.arg(k);
            q.answers = {u"tak"_s, u"nie"_s, u"może"_s, u"żadna"_s, {}};
            QString mask = u"00000"_s;
            mask[(k - 1) % 4] = u'1';
            q.correct = mask;
            q.unfinished = 0;
        }
        ASSERT_TRUE(WriteTestDocument(t.ws, file(u"komorka.skt"_s)));
        StudentList list;
        list.reset();
        SchoolClass c;
        c.name = u"2b"_s;
        c.students = {{u"Łucja"_s, u"Wąs"_s}, {u"Jerzy"_s, u"Żuk"_s}, {u"Ćwik"_s, u"Ślęzak"_s}};
        list.classes = {c};
        ASSERT_TRUE(WriteStudentList(t.ws, file(u"klasy.sku"_s), list));
    }

    CliRun run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(t.dir.path());
        process.start(program, arguments);
        CliRun r;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return r;
        r.exitCode = process.exitCode();
        r.out = process.readAllStandardOutput();
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    QString file(const QString &name) const { return t.dir.filePath(name); }

    static void cross(QImage &page, const QJsonObject &bubble, int grey)
    {
        QImage rgb = page.convertToFormat(QImage::Format_RGB32);
        QPainter p(&rgb);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(kDpi / 72, kDpi / 72);
        const QPointF c(bubble[u"x"_s].toDouble(), bubble[u"y"_s].toDouble());
        const double r = bubble[u"r"_s].toDouble() * 0.9;
        p.setPen(QPen(QColor(grey, grey, grey), 1.4));
        p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        p.drawLine(c + QPointF(r, -r), c + QPointF(-r, r));
        p.end();
        page = rgb.convertToFormat(QImage::Format_Grayscale8);
    }

    static bool writePdf(const QString &path, const QList<QImage> &pages)
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins({});
        writer.setResolution(static_cast<int>(kDpi));
        QPainter p(&writer);
        for (int i = 0; i < pages.size(); ++i) {
            if (i > 0)
                writer.newPage();
            p.drawImage(QPointF(0, 0), pages[i]);
        }
        return p.end();
    }

    QString program;
    TempWorkspace t;
    ScriptedPrompts prompts;
};

TEST_F(GradeCli, PrintsNamedSheetsForAClassAndScoresTheScannedPile)
{
    const CliRun print = run({u"print"_s, u"komorka.skt"_s, u"klasa.pdf"_s, u"--versions"_s, u"2"_s, u"--seed"_s,
                           u"77"_s, u"--sheets"_s, u"--students"_s, u"klasy.sku"_s, u"--class"_s, u"2B"_s,
                           u"--layout"_s, u"uklad.json"_s});
    ASSERT_EQ(print.exitCode, 0) << print.err.toStdString();
    QFile layoutFile(file(u"uklad.json"_s));
    ASSERT_TRUE(layoutFile.open(QIODevice::ReadOnly));
    const QJsonArray sheets = QJsonDocument::fromJson(layoutFile.readAll()).object()[u"pages"_s].toArray();
    ASSERT_EQ(sheets.size(), 3);
    const QStringList names{u"Łucja Wąs"_s, u"Jerzy Żuk"_s, u"Ćwik Ślęzak"_s};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sheets[i][u"student"_s].toString(), names[i]);
        EXPECT_EQ(sheets[i][u"version"_s].toString(), i == 1 ? u"B"_s : u"A"_s);
        EXPECT_EQ(sheets[i][u"bubbles"_s].toArray().size(), 24);
    }

    QList<QImage> pages;
    QString why;
    ASSERT_TRUE(ScanFiles::read(
        file(u"klasa.pdf"_s),
        [&](int, const QImage &image, const QString &) {
            pages.append(image);
            return true;
        },
        &why))
        << why.toStdString();
    // Pupil 1 right everywhere, pupil 2 wrong in question 1, pupil 3 right but with a faint mark in 6.
    for (int i = 0; i < 3; ++i) {
        const QJsonObject sheet = sheets[i].toObject();
        QImage &page = pages[sheet[u"page"_s].toInt() - 1];
        QString firstKey;
        bool faintDone = false;
        for (const QJsonValue &b : sheet[u"bubbles"_s].toArray())
            if (b[u"question"_s].toInt() == 1 && b[u"correct"_s].toBool())
                firstKey = b[u"answer"_s].toString();
        for (const QJsonValue &b : sheet[u"bubbles"_s].toArray()) {
            const QJsonObject bubble = b.toObject();
            const int question = bubble[u"question"_s].toInt();
            const bool correct = bubble[u"correct"_s].toBool();
            const QString letter = bubble[u"answer"_s].toString();
            bool mark = correct;
            if (i == 1 && question == 1)
                mark = letter == (firstKey == u"A"_s ? u"B"_s : u"A"_s);
            if (mark)
                cross(page, bubble, 25);
            if (i == 2 && question == 6 && !correct && !faintDone) {
                cross(page, bubble, 212);
                faintDone = true;
            }
        }
    }
    const QImage upsideDown = pages[sheets[2][u"page"_s].toInt() - 1].mirrored(true, true);
    pages.removeAt(sheets[2][u"page"_s].toInt() - 1);
    std::reverse(pages.begin(), pages.end());
    ASSERT_TRUE(writePdf(file(u"skan.pdf"_s), pages));
    ASSERT_TRUE(upsideDown.save(file(u"ostatnia.png"_s)));

    const CliRun graded = run({u"grade"_s, u"komorka.skt"_s, u"skan.pdf"_s, u"ostatnia.png"_s, u"--out"_s,
                            u"wyniki.csv"_s, u"--review"_s, u"do-przejrzenia"_s});
    QFile csvFile(file(u"wyniki.csv"_s));
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly)) << graded.err.toStdString();
    const QByteArray csv = csvFile.readAll();
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList rows = QString::fromUtf8(csv.mid(3)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4) << csv.toStdString() << graded.err.toStdString();
    EXPECT_EQ(rows[0], u"Uczeń;Klasa;Wersja;Punkty;Maks;Procent;Ocena;1;2;3;4;5;6"_s);
    QStringList scored = rows.mid(1);
    std::sort(scored.begin(), scored.end());
    EXPECT_TRUE(scored[0].startsWith(u"Jerzy Żuk;2b;B;5;6;83;bardzo dobry;"_s)) << scored[0].toStdString();
    EXPECT_TRUE(scored[2].startsWith(u"Łucja Wąs;2b;A;6;6;100;celujący;"_s)) << scored[2].toStdString();
    EXPECT_TRUE(scored[1].startsWith(u"Ćwik Ślęzak;2b;A;5;6;83;bardzo dobry;"_s) && scored[1].endsWith(u";?"_s))
        << scored[1].toStdString();
    EXPECT_EQ(graded.exitCode, 3) << graded.err.toStdString();
    EXPECT_TRUE(graded.err.contains(u"ostatnia.png, page 1 (Ćwik Ślęzak): question 6 needs review."_s))
        << graded.err.toStdString();
    EXPECT_EQ(QDir(file(u"do-przejrzenia"_s)).entryList({u"*.png"_s}).size(), 1);
}

TEST_F(GradeCli, RefusesSheetsOfAnotherTestAndFilesThatAreNoScans)
{
    ASSERT_EQ(run({u"print"_s, u"komorka.skt"_s, u"puste.pdf"_s, u"--sheets"_s}).exitCode, 0);
    t.ws.test.question(3).correct = u"01000"_s;
    ASSERT_TRUE(WriteTestDocument(t.ws, file(u"inny.skt"_s)));
    const CliRun other = run({u"grade"_s, u"inny.skt"_s, u"puste.pdf"_s});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(other.err.contains(QRegularExpression(u"puste.pdf, page \\d+: an answer sheet of another test"_s)))
        << other.err.toStdString();

    QFile fake(file(u"nie-skan.pdf"_s));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("%PDF-1.4\nto nie jest PDF\n");
    fake.close();
    const CliRun bad = run({u"grade"_s, u"komorka.skt"_s, u"nie-skan.pdf"_s});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(u"nie-skan.pdf: not a PDF that can be read."_s)) << bad.err.toStdString();

    const CliRun blank = run({u"grade"_s, u"komorka.skt"_s, u"puste.pdf"_s, u"--out"_s, u"w.csv"_s});
    EXPECT_EQ(blank.exitCode, 0) << blank.err.toStdString();
    EXPECT_TRUE(blank.err.contains(u"sheets read: 1, pages skipped: 2"_s)) << blank.err.toStdString();

    EXPECT_EQ(run({u"grade"_s, u"komorka.skt"_s}).exitCode, 2);
    EXPECT_EQ(run({u"print"_s, u"komorka.skt"_s, u"x.pdf"_s, u"--class"_s, u"2b"_s}).exitCode, 2);
}

} // namespace
