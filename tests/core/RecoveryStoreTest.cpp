#include "core/RecoveryStore.h"

#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using PakBytes::readFile;
using PakBytes::writeFile;

namespace {

const QString kOffer = u"Program nie został poprawnie zamknięty. Czy przywrócić niezapisaną pracę?"_s;

class RecoveryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { t.ws.prompts = &prompts; }

    QString folder() const { return t.dir.filePath(u"Odzysk"_s); }

    // An editor's copy: the bytes stand for what its document writer writes.
    static void keep(RecoveryStore &store, const QString &slot, const QString &ext, const QByteArray &bytes,
                     const QString &original, const QDateTime &at)
    {
        ASSERT_TRUE(writeFile(store.copyPath(slot, ext), bytes));
        ASSERT_TRUE(store.recordCopy(slot, ext, original, at));
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    const QDateTime at{QDate(2025, 3, 4), QTime(10, 20, 30)};
};

} // namespace

TEST_F(RecoveryStoreTest, CopiesOfARunThatDiedAreOfferedToTheNextOnlyOnce)
{
    auto crashed = std::make_unique<RecoveryStore>(folder());
    ASSERT_TRUE(crashed->start());
    keep(*crashed, u"test"_s, u"skt"_s, "test bytes", u"/home/n/ulamki.skt"_s, at);
    keep(*crashed, u"pytanie"_s, u"skq"_s, "question bytes", {}, at.addSecs(60));

    RecoveryStore running(folder());
    ASSERT_TRUE(running.start());
    EXPECT_TRUE(running.leftBehind().isEmpty()); // that editor is still open

    crashed.reset(); // the process ends without removing its folder, as after a kill
    RecoveryStore next(folder());
    ASSERT_TRUE(next.start());
    const QList<RecoveryStore::Copy> copies = next.leftBehind();
    ASSERT_EQ(copies.size(), 2);
    EXPECT_EQ(copies[0].original, u"/home/n/ulamki.skt"_s);
    EXPECT_EQ(copies[0].writtenAt, at);
    EXPECT_EQ(readFile(copies[0].file), "test bytes"_ba);
    EXPECT_TRUE(copies[1].original.isEmpty());
    // Claimed by `next` until answered: the other running editor does not see them too.
    EXPECT_TRUE(running.leftBehind().isEmpty());

    for (const RecoveryStore::Copy &c : copies)
        next.drop(c);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2); // the two live runs
    next.removeAll();
    running.removeAll();
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(RecoveryStoreTest, KilledProcessLeavesItsCopiesForTheNextStart)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        RecoveryStore store(folder());
        const bool kept =
            store.start() && writeFile(store.copyPath(u"uczniowie"_s, u"sku"_s), "list") &&
            store.recordCopy(u"uczniowie"_s, u"sku"_s, u"/szkola.sku"_s, QDateTime::currentDateTime());
        ::_exit(kept ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_EQ(status, 0);
    RecoveryStore next(folder());
    ASSERT_TRUE(next.start());
    const QList<RecoveryStore::Copy> copies = next.leftBehind();
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(copies[0].original, u"/szkola.sku"_s);
}

TEST_F(RecoveryStoreTest, OfferAnswers)
{
    struct Case {
        const char *name;
        MessageResult answer;
        int returned;
        int leftForNextStart;
    };
    const Case cases[] = {
        {"yes restores", MessageResult::Yes, 1, 0},
        {"no removes", MessageResult::No, 0, 0},
        {"cancel decides later", MessageResult::Cancel, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder()).removeRecursively();
        prompts.messages.clear();
        {
            RecoveryStore crashed(folder());
            ASSERT_TRUE(crashed.start());
            keep(crashed, u"test"_s, u"skt"_s, "t", u"/home/n/ulamki.skt"_s, at);
        }
        RecoveryStore store(folder());
        ASSERT_TRUE(store.start());
        prompts.queueAnswer(c.answer);
        const QList<RecoveryStore::Copy> restored = offerRecovery(t.ws, store);
        EXPECT_EQ(restored.size(), c.returned);
        ASSERT_EQ(prompts.messageTexts(), QStringList{kOffer + u"\rulamki.skt, 2025-03-04 10:20:30"_s});
        for (const RecoveryStore::Copy &copy : restored)
            store.drop(copy); // opened in its editor
        store.removeAll();
        RecoveryStore later(folder());
        ASSERT_TRUE(later.start());
        EXPECT_EQ(later.leftBehind().size(), c.leftForNextStart);
        later.removeAll();
    }
}

TEST_F(RecoveryStoreTest, CopyWithoutARecordIsKeptAsideAndReported)
{
    {
        RecoveryStore crashed(folder());
        ASSERT_TRUE(crashed.start());
        ASSERT_TRUE(writeFile(crashed.copyPath(u"test"_s, u"skt"_s), "unsaved work"));
        ASSERT_TRUE(writeFile(crashed.copyPath(u"test"_s, u"skt"_s) + u".info"_s, "{damaged"));
    }
    RecoveryStore store(folder());
    ASSERT_TRUE(store.start());
    EXPECT_TRUE(offerRecovery(t.ws, store).isEmpty());
    ASSERT_EQ(prompts.messages.size(), 1); // nothing to offer, one warning
    EXPECT_TRUE(prompts.messages[0].text.startsWith(u"Nie można odczytać kopii niezapisanej pracy."_s));
    const QStringList aside = QDir(folder() + u"/Uszkodzone"_s).entryList(QDir::Files);
    ASSERT_EQ(aside.size(), 2); // the copy and its record
    EXPECT_TRUE(aside.first().endsWith(u"test.skt"_s));
    EXPECT_EQ(readFile(folder() + u"/Uszkodzone/"_s + aside.first()), "unsaved work"_ba);
    EXPECT_EQ(t.logTexts().size(), 1);
}

TEST_F(RecoveryStoreTest, SavedOrDroppedDocumentLosesItsCopy)
{
    RecoveryStore store(folder());
    ASSERT_TRUE(store.start());
    keep(store, u"test"_s, u"skt"_s, "t", u"/a.skt"_s, at);
    store.removeCopy(u"test"_s, u"skt"_s);
    EXPECT_FALSE(QFile::exists(store.copyPath(u"test"_s, u"skt"_s)));
    EXPECT_EQ(QDir(store.runFolder()).entryList(QDir::Files), QStringList());
}
