#include "SheetScans.h"
#include "grading/GradingSession.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace SheetScans;

namespace {

// The grading window's work without the window: a scan read in the background, an uncertain row
// settled by a person, the results saved and printed, a failed save reported.
class GradingSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        TestModel &m = t.ws.test;
        m.resetTest();
        m.header.questionCount = 3;
        m.header.answerCount = 3;
        m.header.testName = u"Chemia – pierwiastki"_s;
        for (int k = 1; k <= 3; ++k) {
            m.question(k).text = u"Pytanie %1"_s.arg(k);
            m.question(k).answers = {u"tlen"_s, u"wodór"_s, u"hel"_s, {}, {}};
            m.question(k).correct = u"01000"_s;
        }
        SheetContent c;
        c.code.fingerprint = testFingerprint(m);
        c.code.questions = 3;
        c.code.answers = 3;
        c.code.pupil = 4;
        c.code.firstName = u"Zenon"_s;
        c.code.surname = u"Łój"_s;
        const SheetGeometry g = sheetGeometry(3, 3);
        QImage page = render(g, c, 150);
        draw(page, g, 150, {{1, 1, Mark::PenX}, {2, 0, Mark::PenX}, {3, 1, Mark::Faint}}, 3);
        scan = t.dir.filePath(u"skan.png"_s);
        ASSERT_TRUE(page.save(scan));
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    QString scan;
};

TEST_F(GradingSessionTest, ReadsInTheBackgroundAndLetsAPersonSettleTheDoubtfulRow)
{
    GradingSession session(t.ws);
    int progress = 0;
    QObject::connect(&session, &GradingSession::progress, [&](int pages) { progress = pages; });
    prompts.queueFileName(scan);
    session.chooseScan();
    EXPECT_FALSE(session.addScan(scan)) << "a second file waits for the first";
    session.wait();
    EXPECT_FALSE(session.busy());
    EXPECT_EQ(progress, 1);
    ASSERT_EQ(session.grader().sheets().size(), 1);
    EXPECT_EQ(session.grader().sheets()[0].points, 1);
    ASSERT_EQ(session.grader().reviewItems().size(), 1);
    EXPECT_EQ(session.grader().reviewItems()[0].question, 3);

    session.settle(0, 3, u"B"_s);
    EXPECT_TRUE(session.grader().reviewItems().isEmpty());
    EXPECT_EQ(session.grader().sheets()[0].points, 2);

    const QString csv = t.dir.filePath(u"wyniki.csv"_s);
    prompts.queueFileName(csv);
    session.saveResults();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(u"Zenon Łój;;A;2;3;67;dostateczny;B;A;B"_s));

    const QString pdf = t.dir.filePath(u"wyniki.pdf"_s);
    prompts.queueFileName(pdf);
    session.printResults();
    QFile table(pdf);
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_TRUE(table.read(5) == "%PDF-");
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(GradingSessionTest, AFileThatIsNoScanAndAFailedSaveAreSaid)
{
    GradingSession session(t.ws);
    const QString junk = t.dir.filePath(u"lista.txt"_s);
    ASSERT_TRUE(PakBytes::writeFile(junk, "to nie jest skan"));
    ASSERT_TRUE(session.addScan(junk));
    session.wait();
    ASSERT_EQ(session.messages().size(), 1);
    EXPECT_TRUE(session.messages()[0].startsWith(u"lista.txt: not a scan"_s)) << session.messages()[0].toStdString();

    prompts.queueFileName(t.dir.filePath(u"brak/wyniki.csv"_s));
    session.saveResults();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastMessageText().startsWith(u"Nie udało się zapisać wyników"_s));
}

// Several files chosen at once are read one after another: a file that is no scan is said and the
// rest still read; the same named sheet scanned twice counts once.
TEST_F(GradingSessionTest, SeveralFilesChosenAtOnceAreReadInTurn)
{
    GradingSession session(t.ws);
    const QString junk = t.dir.filePath(u"lista.txt"_s);
    ASSERT_TRUE(PakBytes::writeFile(junk, "to nie jest skan"));
    const QString again = t.dir.filePath(u"skan-2.png"_s);
    ASSERT_TRUE(QFile::copy(scan, again));
    int progress = 0;
    int finished = 0;
    QObject::connect(&session, &GradingSession::progress, [&](int pages) { progress = pages; });
    QObject::connect(&session, &GradingSession::finished, [&] { ++finished; });
    prompts.queueFileName(scan + u'\n' + junk + u'\n' + again);
    session.chooseScan();
    session.wait();
    EXPECT_FALSE(session.busy());
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(progress, 2);
    EXPECT_EQ(session.grader().sheets().size(), 1);
    ASSERT_EQ(session.messages().size(), 2) << session.messages().join(u'\n').toStdString();
    EXPECT_TRUE(session.messages()[0].startsWith(u"lista.txt: not a scan"_s));
    EXPECT_TRUE(session.messages()[1].contains(u"skan-2.png"_s));
}

} // namespace
