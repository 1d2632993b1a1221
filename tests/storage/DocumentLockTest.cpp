#include "storage/DocumentLock.h"

#include "storage/AtomicFile.h"
#include "support/PakBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using PakBytes::readFile;
using PakBytes::writeFile;
using Result = DocumentLock::Result;

namespace {

// Runs `body` in a second process, which is what another running editor is; its exit status is
// the answer.
int inOtherProcess(const std::function<int()> &body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

class DocumentLockTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(writeFile(doc, "teacher's work")); }

    QTemporaryDir dir;
    const QString doc = dir.filePath(u"test.skt"_s);
};

} // namespace

TEST_F(DocumentLockTest, SecondHolderIsToldTheFileIsInUseUntilTheFirstLetsGo)
{
    DocumentLock first;
    DocumentLock second;
    EXPECT_EQ(first.lock(doc), Result::Locked);
    EXPECT_TRUE(first.isLocked());
    EXPECT_EQ(second.lock(doc), Result::InUse);
    EXPECT_FALSE(second.isLocked());
    EXPECT_EQ(inOtherProcess([this] {
                  DocumentLock other;
                  return static_cast<int>(other.lock(doc));
              }),
              static_cast<int>(Result::InUse));

    first.release();
    EXPECT_EQ(second.lock(doc), Result::Locked);
    {
        DocumentLock scoped;
        EXPECT_EQ(scoped.lock(dir.filePath(u"inny.skt"_s)), Result::Unsupported); // no such file
    }
    second.release();
    EXPECT_EQ(inOtherProcess([this] {
                  DocumentLock other;
                  return static_cast<int>(other.lock(doc));
              }),
              static_cast<int>(Result::Locked));
}

TEST_F(DocumentLockTest, OwnSavesPassAndTheLockMovesToTheNewFile)
{
    DocumentLock editor;
    ASSERT_EQ(editor.lock(doc), Result::Locked);
    // Another program's save is refused and leaves nothing behind.
    EXPECT_EQ(inOtherProcess([this] { return AtomicFile::write(doc, "other's work") ? 0 : 1; }), 1);
    EXPECT_EQ(readFile(doc), "teacher's work"_ba);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"test.skt"_s});

    // The holder's save replaces the file, and the new file is as locked as the old one was.
    for (int save = 0; save < 2; ++save) {
        ASSERT_TRUE(AtomicFile::write(doc, "saved"));
        EXPECT_EQ(inOtherProcess([this] {
                      DocumentLock other;
                      return static_cast<int>(other.lock(doc));
                  }),
                  static_cast<int>(Result::InUse));
    }
    EXPECT_EQ(readFile(doc), "saved"_ba);
    editor.release();
    EXPECT_EQ(inOtherProcess([this] { return AtomicFile::write(doc, "other's work") ? 0 : 1; }), 0);
    EXPECT_EQ(readFile(doc), "other's work"_ba);
}

TEST_F(DocumentLockTest, MessageNamesTheFile)
{
    EXPECT_TRUE(DocumentLock::inUseMessage(doc).contains(u"test.skt"_s));
}

TEST_F(DocumentLockTest, LockTakenWhileTheNewFileIsWrittenStillStopsTheRename)
{
    const QString temp = AtomicFile::reserveBeside(doc);
    ASSERT_FALSE(temp.isEmpty());
    ASSERT_TRUE(writeFile(temp, "late save"));

    // Another program opens the document after the save began, and holds it until told.
    int ready[2];
    int done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        DocumentLock editor;
        const char locked = editor.lock(doc) == Result::Locked ? 'y' : 'n';
        char go = 0;
        const bool talked = ::write(ready[1], &locked, 1) == 1 && ::read(done[0], &go, 1) == 1;
        ::_exit(talked ? 0 : 1);
    }
    char locked = 0;
    ASSERT_EQ(::read(ready[0], &locked, 1), 1);
    EXPECT_EQ(locked, 'y');
    QString error;
    EXPECT_FALSE(AtomicFile::replace(temp, doc, &error));
    EXPECT_TRUE(error.endsWith(u"the file is in use by another program."_s)) << error.toStdString();
    EXPECT_EQ(readFile(doc), "teacher's work"_ba);
    EXPECT_FALSE(QFile::exists(temp));
    ASSERT_EQ(::write(done[1], "x", 1), 1);
    int status = -1;
    EXPECT_EQ(::waitpid(pid, &status, 0), pid);
    for (int fd : {ready[0], ready[1], done[0], done[1]})
        ::close(fd);
}
