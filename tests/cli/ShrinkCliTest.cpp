#include "storage/ArchiveAccess.h"
#include "storage/Pictures.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ShrinkRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// "zadanix shrink" on a test with a large photo, a turned one, a small one and a bitmap.
class ShrinkCli : public ::testing::Test {
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
        m.header.questionCount = 4;
        m.header.testName = u"Wycieczka – zdjęcia"_s;
        const QByteArray pictures[] = {
            JpegFixture::gradientJpeg(2000, 1500),
            JpegFixture::withApp1(JpegFixture::gradientJpeg(300, 200), JpegFixture::exifBody(6)),
            JpegFixture::gradientJpeg(300, 200),
            QByteArray(),
        };
        const QString names[] = {u"Góry.jpg"_s, u"pion.JPG"_s, u"mały.jpg"_s, u"plan.bmp"_s};
        for (int k = 1; k <= 4; ++k) {
            Question &q = m.question(k);
            q.text = u"Pytanie %1"_s.arg(k);
            q.correct = u"10000"_s;
            q.imageName = names[k - 1];
            QImage bmp(20, 10, QImage::Format_RGB32);
            bmp.fill(Qt::red);
            const QByteArray bytes = k == 4 ? bmpBytes(bmp) : pictures[k - 1];
            ASSERT_TRUE(PutStream(q.imageName, bytes, *t.ws.workingTest));
        }
        ASSERT_TRUE(WriteTestDocument(t.ws, file(u"wycieczka.skt"_s)));
        original = PakBytes::readFile(file(u"wycieczka.skt"_s));
    }

    static QByteArray bmpBytes(const QImage &image)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return bytes;
    }

    ShrinkRun run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(t.dir.path());
        process.start(program, QStringList{u"shrink"_s} + arguments);
        ShrinkRun r;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return r;
        r.exitCode = process.exitCode();
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    QString file(const QString &name) const { return t.dir.filePath(name); }

    // The size a member of a written test shows at.
    QSize shownSize(const QString &test, const QString &member)
    {
        TVfsPAK pak;
        if (!pak.Open(test, TVfsPAK::Mode::ReadOnly))
            return {};
        return pictureSize(pak.Extract(member).value_or(QByteArray()), member);
    }

    QString program;
    TempWorkspace t;
    ScriptedPrompts prompts;
    QByteArray original;
};

} // namespace

TEST_F(ShrinkCli, ReducesTheLargeAndTurnedPhotosIntoANewFile)
{
    const ShrinkRun dry = run({u"--dry-run"_s, file(u"wycieczka.skt"_s)});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.contains(u"Góry.jpg: 2000 × 1500"_s)) << dry.out.toStdString();
    EXPECT_TRUE(dry.out.contains(u"pion.JPG: 200 × 300"_s)) << dry.out.toStdString();
    EXPECT_FALSE(dry.out.contains(u"mały.jpg"_s));
    EXPECT_EQ(PakBytes::readFile(file(u"wycieczka.skt"_s)), original);

    const ShrinkRun done = run({file(u"wycieczka.skt"_s), file(u"mniejsza.skt"_s)});
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_TRUE(done.out.contains(u"2 pictures reduced"_s)) << done.out.toStdString();
    EXPECT_EQ(PakBytes::readFile(file(u"wycieczka.skt"_s)), original);
    const QString reduced = file(u"mniejsza.skt"_s);
    EXPECT_EQ(shownSize(reduced, u"Góry.jpg"_s), QSize(1600, 1200));
    EXPECT_EQ(shownSize(reduced, u"pion.JPG"_s), QSize(200, 300));
    EXPECT_EQ(shownSize(reduced, u"mały.jpg"_s), QSize(300, 200));
    EXPECT_LT(QFileInfo(reduced).size(), original.size());

    // The reduced test reads back whole, every question with its picture.
    ASSERT_TRUE(ReadTestDocument(t.ws, reduced));
    EXPECT_EQ(t.ws.test.header.testName, u"Wycieczka – zdjęcia"_s);
    EXPECT_EQ(t.ws.test.question(4).imageName, u"plan.bmp"_s);
    QImage image;
    EXPECT_TRUE(ExtractPicture(u"plan.bmp"_s, image, *t.ws.workingTest));
    EXPECT_EQ(jpegOrientation(ExtractStream(u"pion.JPG"_s, *t.ws.workingTest).value_or(QByteArray())), 1);

    // Once reduced, nothing is left to do, and nothing is written.
    const QByteArray before = PakBytes::readFile(reduced);
    const ShrinkRun again = run({reduced});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.out.contains(u"no picture needs reducing"_s));
    EXPECT_EQ(PakBytes::readFile(reduced), before);
}

TEST_F(ShrinkCli, WrongKindsAndUsage)
{
    EXPECT_EQ(run({file(u"wycieczka.skt"_s), file(u"x.skq"_s)}).exitCode, 1);
    EXPECT_EQ(run({file(u"lista.skg"_s)}).exitCode, 1);
    EXPECT_EQ(run({file(u"brak.skt"_s)}).exitCode, 1);
    EXPECT_EQ(run({}).exitCode, 2);
    EXPECT_EQ(run({u"a.skt"_s, u"b.skt"_s, u"c.skt"_s}).exitCode, 2);
    EXPECT_EQ(PakBytes::readFile(file(u"wycieczka.skt"_s)), original);
}
