#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"
#include "support/TempWorkspace.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Workspace, FoldersAndPaths)
{
    QTemporaryDir dir;
    Workspace ws;
    ws.setUpFoldersAndPaths(dir.path() + u"/"_s);
    const QString base = dir.path() + u"/Tevrix/Zadanix/Edycja"_s;
    EXPECT_TRUE(QDir(base + u"/Temp"_s).exists());
    EXPECT_EQ(ws.paths.appDataRoot, dir.path());
    EXPECT_EQ(ws.paths.iniPath, base + u"/Edycja.ini"_s);
    EXPECT_EQ(ws.paths.logPath, base + u"/Dziennik.txt"_s);
    EXPECT_GE(ws.paths.runNumber, 100);
    EXPECT_LE(ws.paths.runNumber, 999);
    EXPECT_EQ(ws.paths.tempTestPath, base + u"/Temp/Test"_s + QString::number(ws.paths.runNumber) + u".tmp"_s);
    EXPECT_EQ(ws.paths.tempQuestionPath, base + u"/Temp/Pyt"_s + QString::number(ws.paths.runNumber) + u".tmp"_s);
    EXPECT_EQ(ws.paths.tempQuestionAsPath, base + u"/Temp/PytJako.tmp"_s);
    EXPECT_EQ(ws.log.filterLevel(), 2);
    EXPECT_FALSE(QFile::exists(ws.paths.logPath)); // the level-3 entry is filtered out
}

TEST(Workspace, WorkingArchivesLiveUntilShutDown)
{
    TempWorkspace t;
    {
        QFile stale(t.ws.paths.tempQuestionAsPath); // left by an earlier run: replaced
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("stare dane");
    }
    t.ws.createWorkingArchives();
    for (const QString &p : {t.ws.paths.tempTestPath, t.ws.paths.tempQuestionPath, t.ws.paths.tempQuestionAsPath})
        EXPECT_EQ(t.readFile(p), QByteArray("PACK\x0C\0\0\0\0\0\0\0", 12)) << p.toStdString();
    ASSERT_TRUE(PutStream(u"a.txt"_s, "abc", *t.ws.workingTest));
    t.ws.shutDown();
    EXPECT_FALSE(t.ws.workingTest);
    for (const QString &p : {t.ws.paths.tempTestPath, t.ws.paths.tempQuestionPath, t.ws.paths.tempQuestionAsPath})
        EXPECT_FALSE(QFile::exists(p));
}
