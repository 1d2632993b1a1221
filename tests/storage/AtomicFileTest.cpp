#include "storage/AtomicFile.h"

#include "support/PakBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using PakBytes::readFile;
using PakBytes::writeFile;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    QString file(const QString &name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::System); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(AtomicFileTest, WriteReplacesTheContentAndLeavesNoTemporaryFile)
{
    ASSERT_TRUE(writeFile(file(u"a.ini"_s), "old content, longer than the new one"));
    ASSERT_TRUE(AtomicFile::write(file(u"a.ini"_s), "new"));
    EXPECT_EQ(readFile(file(u"a.ini"_s)), "new"_ba);
    EXPECT_TRUE(AtomicFile::write(file(u"fresh.ini"_s), ""));
    EXPECT_EQ(files(), QStringList({u"a.ini"_s, u"fresh.ini"_s}));
}

TEST_F(AtomicFileTest, ReadOnlyFileIsRefusedAndKept)
{
    // The rename would succeed (the folder is writable), so the refusal must come from the file itself.
    ASSERT_TRUE(writeFile(file(u"test.skt"_s), "teacher's work"));
    ASSERT_TRUE(QFile::setPermissions(file(u"test.skt"_s), QFileDevice::ReadOwner | QFileDevice::ReadOther));
    QString error;
    EXPECT_FALSE(AtomicFile::write(file(u"test.skt"_s), "overwritten", &error));
    EXPECT_TRUE(error.contains(u"read-only"_s)) << error.toStdString();
    EXPECT_TRUE(AtomicFile::reserveBeside(file(u"test.skt"_s)).isEmpty());
    EXPECT_EQ(readFile(file(u"test.skt"_s)), "teacher's work"_ba);
    EXPECT_EQ(files(), QStringList{u"test.skt"_s});
}

TEST_F(AtomicFileTest, SymbolicLinkIsFollowedAndStaysALink)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"real"_s));
    const QString real = file(u"real/list.skz"_s);
    ASSERT_TRUE(writeFile(real, "old"));
    ASSERT_TRUE(QFile::link(real, file(u"link.skz"_s)));

    ASSERT_TRUE(AtomicFile::write(file(u"link.skz"_s), "new"));
    EXPECT_TRUE(QFileInfo(file(u"link.skz"_s)).isSymLink());
    EXPECT_EQ(readFile(real), "new"_ba);
    EXPECT_EQ(QDir(file(u"real"_s)).entryList(QDir::Files), QStringList{u"list.skz"_s});

    // A link to a file not there yet creates that file.
    ASSERT_TRUE(QFile::link(file(u"real/new.skz"_s), file(u"dangling.skz"_s)));
    ASSERT_TRUE(AtomicFile::write(file(u"dangling.skz"_s), "made"));
    EXPECT_TRUE(QFileInfo(file(u"dangling.skz"_s)).isSymLink());
    EXPECT_EQ(readFile(file(u"real/new.skz"_s)), "made"_ba);
}

TEST_F(AtomicFileTest, FolderOrMissingFolderIsRefused)
{
    EXPECT_FALSE(AtomicFile::write(dir.path(), "x"));
    EXPECT_FALSE(AtomicFile::write(file(u"missing/a.ini"_s), "x"));
    EXPECT_TRUE(files().isEmpty());
}

namespace {

// Which flushes a save asked for, and whether they fail: the files and folders of a disk that
// reports an I/O error at fsync.
struct SyncRecord {
    int files = 0;
    int folders = 0;
    bool failFiles = false;
    bool failFolders = false;
};
SyncRecord syncRecord;

int recordingSync(int fd)
{
    struct stat st {};
    const bool folder = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    ++(folder ? syncRecord.folders : syncRecord.files);
    if (folder ? syncRecord.failFolders : syncRecord.failFiles) {
        errno = EIO;
        return -1;
    }
    return 0;
}

class DurableSave : public AtomicFileTest {
protected:
    void SetUp() override
    {
        syncRecord = {};
        AtomicFile::setSyncCall(&recordingSync);
    }
    void TearDown() override { AtomicFile::setSyncCall(nullptr); }
};

} // namespace

TEST_F(DurableSave, NewFileIsFlushedBeforeTheRenameAndTheFolderAfter)
{
    ASSERT_TRUE(AtomicFile::write(file(u"a.skt"_s), "new"));
    EXPECT_EQ(syncRecord.files, 1);
    EXPECT_EQ(syncRecord.folders, 1);
}

TEST_F(DurableSave, FailedFlushOfTheNewFileIsAFailedSaveThatKeepsTheOldFile)
{
    ASSERT_TRUE(writeFile(file(u"a.skt"_s), "teacher's work"));
    syncRecord.failFiles = true;
    QString error;
    EXPECT_FALSE(AtomicFile::write(file(u"a.skt"_s), "new", &error));
    EXPECT_TRUE(error.contains(u"disk"_s)) << error.toStdString();
    EXPECT_EQ(readFile(file(u"a.skt"_s)), "teacher's work"_ba);
    EXPECT_EQ(files(), QStringList{u"a.skt"_s});
    EXPECT_EQ(syncRecord.folders, 0); // never renamed
}

TEST_F(DurableSave, FailedFlushOfTheFolderIsReported)
{
    syncRecord.failFolders = true;
    QString error;
    EXPECT_FALSE(AtomicFile::write(file(u"a.skt"_s), "new", &error));
    EXPECT_TRUE(error.contains(u"folder"_s)) << error.toStdString();
}
