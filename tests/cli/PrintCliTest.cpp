#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"
#include "support/JpegFixture.h"
#include "support/PakBytes.h"
#include "support/PdfProbe.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using PakBytes::readFile;
using PakBytes::writeFile;

namespace {

struct PrintRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// "zadanix print" on a test written by the program's own writer: three questions, one with a picture
// and one naming a picture the file lacks.
class PrintCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = QCoreApplication::applicationDirPath() + u"/zadanix"_s;
        if (!QFileInfo(program).isExecutable())
            GTEST_FAIL() << "build the zadanix target first: " << program.toStdString();
        if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
            GTEST_FAIL() << missing.toStdString();
        t.ws.prompts = &prompts;
        t.ws.createWorkingArchives();
        TestModel &m = t.ws.test;
        m.resetTest();
        m.header.questionCount = 3;
        m.header.answerCount = 4;
        m.header.testName = u"Przyroda – rośliny"_s;
        m.header.author = u"Józef Łęcki"_s;
        for (int k = 1; k <= 3; ++k) {
            Question &q = m.question(k);
            q.text = u"Pytanie %1 o źdźbło trawy"_s.arg(k);
            q.answers = {u"pień"_s, u"łodyga"_s, u"korzeń"_s, u"liść"_s, {}};
            q.correct = u"01000"_s;
        }
        m.question(2).imageName = u"LISC.JPG"_s;
        ASSERT_TRUE(PutStream(u"LISC.JPG"_s, JpegFixture::gradientJpeg(120, 90), *t.ws.workingTest));
        ASSERT_TRUE(WriteTestDocument(t.ws, file(u"rosliny.skt"_s)));
    }

    PrintRun run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(t.dir.path());
        process.start(program, QStringList{u"print"_s} + arguments);
        PrintRun r;
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return r;
        r.exitCode = process.exitCode();
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    QString file(const QString &name) const { return t.dir.filePath(name); }

    // Nothing but the files the test made: no PDF, finished or not.
    QStringList pdfFiles() const { return QDir(t.dir.path()).entryList({u"*.pdf*"_s}, QDir::Files); }

    QString program;
    TempWorkspace t;
    ScriptedPrompts prompts;
};

TEST_F(PrintCli, PrintsVersionsWithTheKeyAndTellsTheSeed)
{
    const PrintRun r = run({u"rosliny.skt"_s, u"wydruk.pdf"_s, u"--versions"_s, u"3"_s, u"--key"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QRegularExpressionMatch m =
        QRegularExpression(u"^wydruk\\.pdf: (\\d+) pages, 3 versions with the key, seed (\\d+)\\.\\n$"_s)
            .match(r.out);
    ASSERT_TRUE(m.hasMatch()) << r.out.toStdString();
    const QString text = PdfProbe::text(file(u"wydruk.pdf"_s));
    EXPECT_EQ(PdfProbe::pages(file(u"wydruk.pdf"_s)).size(), m.captured(1).toInt());
    EXPECT_TRUE(text.contains(u"Przyroda – rośliny"_s));
    EXPECT_TRUE(text.contains(u"Ziarno losowania: "_s + m.captured(2)));

    // The seed prints the same versions again, and the key alone.
    const PrintRun again =
        run({u"rosliny.skt"_s, u"b.pdf"_s, u"--versions"_s, u"3"_s, u"--key"_s, u"--seed"_s, m.captured(2)});
    ASSERT_EQ(again.exitCode, 0);
    EXPECT_EQ(PdfProbe::text(file(u"b.pdf"_s)), text);
    const PrintRun key = run(
        {u"rosliny.skt"_s, u"k.pdf"_s, u"--versions"_s, u"3"_s, u"--key-only"_s, u"--seed"_s, m.captured(2)});
    ASSERT_EQ(key.exitCode, 0);
    EXPECT_TRUE(key.out.contains(u"the key of 3 versions"_s)) << key.out.toStdString();
    EXPECT_TRUE(text.endsWith(PdfProbe::text(file(u"k.pdf"_s))));
}

TEST_F(PrintCli, AMissingPictureIsAWarningAndTheRunSucceeds)
{
    t.ws.test.question(3).imageName = u"BRAK.GIF"_s;
    ASSERT_TRUE(WriteTestDocument(t.ws, file(u"rosliny.skt"_s)));
    const PrintRun r = run({u"rosliny.skt"_s, u"wydruk.pdf"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err,
              u"zadanix: warning: rosliny.skt: question 3: the picture \"BRAK.GIF\" is not in the file; "
              u"printed as a note.\n"_s);
    EXPECT_EQ(r.out, u"wydruk.pdf: 1 page, 1 version.\n"_s);
    EXPECT_TRUE(PdfProbe::text(file(u"wydruk.pdf"_s)).contains(u"[Brak obrazu „BRAK.GIF” w pliku testu.]"_s));
}

TEST_F(PrintCli, WrongUsageAndFailuresLeaveNoPdf)
{
    ASSERT_TRUE(writeFile(file(u"zepsuty.skt"_s), "to nie jest archiwum"));
    ASSERT_TRUE(writeFile(file(u"stary.pdf"_s), "old"));
    QFile::setPermissions(file(u"stary.pdf"_s), QFileDevice::ReadOwner);
    const QByteArray test = readFile(file(u"rosliny.skt"_s));
    const struct {
        QStringList arguments;
        int exitCode;
        const char16_t *error; // the start of standard error
    } cases[] = {
        {{}, 2, u"zadanix: wrong number of arguments"},
        {{u"rosliny.skt"_s}, 2, u"zadanix: wrong number of arguments"},
        {{u"rosliny.skt"_s, u"a.pdf"_s, u"--versions"_s, u"0"_s}, 2, u"zadanix: --versions takes"},
        {{u"rosliny.skt"_s, u"a.pdf"_s, u"--versions"_s, u"27"_s}, 2, u"zadanix: --versions takes"},
        {{u"rosliny.skt"_s, u"a.pdf"_s, u"--versions"_s, u"dwa"_s}, 2, u"zadanix: --versions takes"},
        {{u"rosliny.skt"_s, u"a.pdf"_s, u"--seed"_s, u"-1"_s}, 2, u"zadanix: --seed takes"},
        {{u"rosliny.skt"_s, u"a.pdf"_s, u"--seed"_s, u"4294967296"_s}, 2, u"zadanix: --seed takes"},
        {{u"rosliny.skt"_s, u"a.pdf"_s, u"--key"_s, u"--key-only"_s}, 2, u"zadanix: --key and --key-only"},
        {{u"rosliny.skt"_s, u"a.pdf"_s, u"--colour"_s}, 2, u"zadanix: Unknown option"},
        {{u"brak.skt"_s, u"a.pdf"_s}, 1, u"zadanix: brak.skt: no such file."},
        {{u"zepsuty.skt"_s, u"a.pdf"_s}, 1, u"zadanix: zepsuty.skt: "},
        {{u"rosliny.skq"_s, u"a.pdf"_s}, 1, u"zadanix: rosliny.skq: not a test (.skt)."},
        {{u"rosliny.skt"_s, u"nie/ma/a.pdf"_s}, 1, u"zadanix: nie/ma/a.pdf: no such folder."},
        {{u"rosliny.skt"_s, u"."_s}, 1, u"zadanix: .: is a folder."},
        {{u"rosliny.skt"_s, u"rosliny.skt"_s}, 1, u"zadanix: rosliny.skt: that is the test itself."},
        {{u"rosliny.skt"_s, u"stary.pdf"_s}, 1, u"zadanix: stary.pdf: the file is read-only."},
    };
    for (const auto &c : cases) {
        const PrintRun r = run(c.arguments);
        const std::string what = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << what << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QString::fromUtf16(c.error))) << what << "\n" << r.err.toStdString();
        if (c.exitCode == 1) {
            EXPECT_EQ(r.err.count(u'\n'), 1) << what << ": not one line\n" << r.err.toStdString();
        }
        EXPECT_TRUE(r.out.isEmpty()) << what;
    }
    EXPECT_EQ(pdfFiles(), QStringList{u"stary.pdf"_s});
    EXPECT_EQ(readFile(file(u"stary.pdf"_s)), "old");
    EXPECT_EQ(readFile(file(u"rosliny.skt"_s)), test);

    const PrintRun help = run({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(u"Usage: zadanix print TEST.skt OUT.pdf"_s)) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(u"Exit status: 0 done, 1"_s));
}

} // namespace
