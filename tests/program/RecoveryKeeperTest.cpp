#include "program/RecoveryKeeper.h"

#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// An editor whose document is a text file: its copy is the text.
struct FakeEditor {
    bool modified = false;
    int revision = 0;
    QString text;
    QString original;
    int writes = 0;
    QStringList restored;

    RecoveryKeeper::Editor entry(const QString &slot)
    {
        return {.slot = slot,
                .extension = u"skq"_s,
                .modified = [this] { return modified; },
                .revision = [this] { return revision; },
                .writeCopy =
                    [this](const QString &path) {
                        ++writes;
                        QFile f(path);
                        return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0;
                    },
                .original = [this] { return original; },
                .restore =
                    [this](const QString &copy, const QString &from) {
                        QFile f(copy);
                        restored << (f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString()) +
                                        u" -> "_s + from;
                    }};
    }
};

TEST(RecoveryKeeper, CopiesFollowChangesAndGoWhenSaved)
{
    TempWorkspace t;
    ScriptedPrompts prompts;
    t.ws.prompts = &prompts;
    FakeEditor editor;
    RecoveryKeeper keeper(t.ws);
    keeper.add(editor.entry(u"pytanie"_s));
    const QString folder = t.dir.path() + u"/Odzysk"_s;
    ASSERT_TRUE(keeper.start(folder, 1000000));
    const QString copy = keeper.store()->copyPath(u"pytanie"_s, u"skq"_s);

    keeper.tick(); // nothing modified: nothing written
    EXPECT_EQ(editor.writes, 0);
    EXPECT_FALSE(QFile::exists(copy));

    editor.modified = true;
    editor.revision = 1;
    editor.text = u"pierwsza wersja"_s;
    editor.original = u"/szkoła/pytanie.skq"_s;
    keeper.tick();
    keeper.tick(); // no change since: not written again
    EXPECT_EQ(editor.writes, 1);
    EXPECT_TRUE(QFile::exists(copy));
    editor.revision = 2;
    keeper.tick();
    EXPECT_EQ(editor.writes, 2);

    editor.modified = false; // saved
    keeper.tick();
    EXPECT_FALSE(QFile::exists(copy));

    editor.modified = true;
    editor.revision = 3;
    keeper.tick();
    EXPECT_TRUE(QFile::exists(copy));
    keeper.finish(); // a normal exit leaves nothing to offer
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_TRUE(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace
