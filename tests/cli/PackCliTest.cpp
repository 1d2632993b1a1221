#include "support/PakBytes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using PakBytes::readFile;
using PakBytes::writeFile;

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the built `zadanix` found next to the test program.
class PackCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = QCoreApplication::applicationDirPath() + u"/zadanix"_s;
        if (!QFileInfo(program).isExecutable())
            GTEST_FAIL() << "build the zadanix target first: " << program.toStdString();
    }

    CliResult run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(program, arguments);
        CliResult result;
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = process.exitCode();
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QString file(const QString &name) const { return dir.filePath(name); }

    QString program;
    QTemporaryDir dir;
};

} // namespace

TEST_F(PackCliTest, VersionAndHelp)
{
    const CliResult version = run({u"--version"_s});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "zadanix 4.0\n");

    for (const QStringList &args : {QStringList{u"--help"_s}, QStringList{u"pack"_s, u"--help"_s}}) {
        const CliResult help = run(args);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.contains("Usage: zadanix")) << help.out.toStdString();
        EXPECT_TRUE(help.out.contains("pack"));
        EXPECT_TRUE(help.err.isEmpty());
    }
}

TEST_F(PackCliTest, WrongUsageExitsWithTwoAndShowsUsage)
{
    const QList<QStringList> cases = {
        {},
        {u"frobnicate"_s},
        {u"--no-such-option"_s},
        {u"pack"_s},
        {u"pack"_s, u"bogus"_s, u"a.pak"_s},
        {u"pack"_s, u"list"_s},
        {u"pack"_s, u"list"_s, u"a.pak"_s, u"extra"_s},
        {u"pack"_s, u"add"_s, u"a.pak"_s},
        {u"pack"_s, u"extract"_s, u"a.pak"_s, u"x"_s, u"out"_s, u"extra"_s},
        {u"pack"_s, u"delete"_s, u"a.pak"_s},
        {u"pack"_s, u"list"_s, u"--force"_s, u"a.pak"_s},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains("Usage: zadanix")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(PackCliTest, CreateAddListExtractDelete)
{
    const QByteArray binary("\0\1\r\n\xFF\x1A end", 10);
    ASSERT_TRUE(writeFile(file(u"Serr0.xml"_s), "<xml/>"));
    ASSERT_TRUE(writeFile(file(u"blob.bin"_s), binary));

    EXPECT_EQ(run({u"pack"_s, u"create"_s, u"a.skt"_s}).exitCode, 0);
    EXPECT_EQ(readFile(file(u"a.skt"_s)), PakBytes::header(12, 0));
    EXPECT_EQ(run({u"pack"_s, u"add"_s, u"a.skt"_s, u"Serr0.xml"_s}).exitCode, 0);
    EXPECT_EQ(run({u"pack"_s, u"add"_s, u"a.skt"_s, u"blob.bin"_s, u"Żółw.jpg"_s}).exitCode, 0);

    const CliResult list = run({u"pack"_s, u"list"_s, u"a.skt"_s});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(list.out), u"Serr0.xml\t12\t6\nŻółw.jpg\t18\t10\n"_s);

    const CliResult extracted = run({u"pack"_s, u"extract"_s, u"a.skt"_s, u"żółw.JPG"_s});
    EXPECT_EQ(extracted.exitCode, 0);
    EXPECT_EQ(extracted.out, binary);
    EXPECT_EQ(run({u"pack"_s, u"extract"_s, u"a.skt"_s, u"serr0.xml"_s, u"copy.xml"_s}).exitCode, 0);
    EXPECT_EQ(readFile(file(u"copy.xml"_s)), "<xml/>");

    // Adding under an existing name replaces the member.
    ASSERT_TRUE(writeFile(file(u"Serr0.xml"_s), "<new/>"));
    EXPECT_EQ(run({u"pack"_s, u"add"_s, u"a.skt"_s, u"Serr0.xml"_s, u"SERR0.XML"_s}).exitCode, 0);
    EXPECT_EQ(readFile(file(u"a.skt"_s)),
              PakBytes::archive({{"\xAF\xF3\xB3w.jpg", binary}, {"SERR0.XML", "<new/>"}}));

    EXPECT_EQ(run({u"pack"_s, u"delete"_s, u"a.skt"_s, u"żółw.jpg"_s}).exitCode, 0);
    EXPECT_EQ(readFile(file(u"a.skt"_s)), PakBytes::archive({{"SERR0.XML", "<new/>"}}));
}

TEST_F(PackCliTest, FailuresExitWithOneAndNameTheFile)
{
    const QByteArray damaged = "PACK"_ba + PakBytes::int32(9999) + PakBytes::int32(0);
    const QByteArray good = PakBytes::archive({{"a.txt", "a"}});
    ASSERT_TRUE(writeFile(file(u"bad.pak"_s), damaged));
    ASSERT_TRUE(writeFile(file(u"good.pak"_s), good));
    ASSERT_TRUE(writeFile(file(u"x.txt"_s), "x"));

    const struct {
        QStringList args;
        const char *named;
    } cases[] = {
        {{u"pack"_s, u"list"_s, u"missing.pak"_s}, "missing.pak"},
        {{u"pack"_s, u"add"_s, u"missing.pak"_s, u"x.txt"_s}, "missing.pak"},
        {{u"pack"_s, u"extract"_s, u"missing.pak"_s, u"a.txt"_s}, "missing.pak"},
        {{u"pack"_s, u"delete"_s, u"missing.pak"_s, u"a.txt"_s}, "missing.pak"},
        {{u"pack"_s, u"list"_s, u"bad.pak"_s}, "bad.pak"},
        {{u"pack"_s, u"add"_s, u"bad.pak"_s, u"x.txt"_s}, "bad.pak"},
        {{u"pack"_s, u"delete"_s, u"bad.pak"_s, u"a.txt"_s}, "bad.pak"},
        {{u"pack"_s, u"extract"_s, u"good.pak"_s, u"b.txt"_s}, "good.pak"},
        {{u"pack"_s, u"delete"_s, u"good.pak"_s, u"b.txt"_s}, "good.pak"},
        {{u"pack"_s, u"add"_s, u"good.pak"_s, u"no-such-file.txt"_s}, "no-such-file.txt"},
        {{u"pack"_s, u"add"_s, u"good.pak"_s, u"x.txt"_s, QString(120, u'n')}, "good.pak"},
        {{u"pack"_s, u"create"_s, u"good.pak"_s}, "good.pak"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliResult r = run(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.startsWith("zadanix: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.named)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(readFile(file(u"bad.pak"_s)), damaged);
    EXPECT_EQ(readFile(file(u"good.pak"_s)), good);
    EXPECT_FALSE(QFileInfo::exists(file(u"missing.pak"_s)));

    EXPECT_EQ(run({u"pack"_s, u"create"_s, u"--force"_s, u"good.pak"_s}).exitCode, 0);
    EXPECT_EQ(readFile(file(u"good.pak"_s)), PakBytes::header(12, 0));
}
