#include "storage/FieldCoding.h"
#include "storage/TpkXML.h"
#include "support/TempWorkspace.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Rewrites Edycja.ini with `edit` applied to its tree.
template <typename Edit>
void editIni(TempWorkspace &t, Edit edit)
{
    TpkXML doc;
    ASSERT_TRUE(doc.LoadFromFile(t.ws.paths.iniPath));
    edit(doc);
    ASSERT_TRUE(doc.SaveToFile(t.ws.paths.iniPath));
}

void dropKey(TpkXML &doc, const QString &key)
{
    doc.DocumentChild(u"Ini")->ChildByName(key)->clear(); // empty elements are left out when saved
}

} // namespace

TEST(EditorSettings, FirstStartWritesDefaultsAndLogsOneLine)
{
    TempWorkspace t;
    EXPECT_EQ(LoadEditorSettings(t.ws), SettingsLoad::Missing);
    EXPECT_EQ(t.logTexts(), QStringList{u"Brak pliku ini. Utworzono nowy plik."_s});
    const QByteArray bytes = t.readFile(t.ws.paths.iniPath);
    EXPECT_TRUE(bytes.startsWith("<?xml encoding=\"WINDOWS-1250\"?>\r\n<Ini>\r\n\t<ed>")) << bytes.constData();

    TpkXML doc;
    ASSERT_TRUE(doc.LoadFromFile(t.ws.paths.iniPath));
    const QStringList order = {u"ed"_s, u"al"_s, u"ng"_s, u"dfto"_s, u"sw"_s, u"clg"_s, u"fn"_s, u"dfe"_s,
                               u"dft"_s, u"sk"_s, u"cel"_s, u"bdb"_s, u"db"_s, u"dst"_s, u"dp"_s, u"wo"_s, u"dfpz"_s,
                               u"zdz"_s};
    TpkXMLNode *ini = doc.DocumentChild(u"Ini");
    ASSERT_EQ(ini->childCount(), order.size());
    for (int i = 0; i < order.size(); ++i)
        EXPECT_EQ(ini->child(i)->name, order[i]);
    int cel = 0;
    EXPECT_TRUE(ReadSettingInteger(u"cel"_s, cel, doc));
    EXPECT_EQ(cel, 95);
    EXPECT_EQ(ReadSettingFlag(u"dfe"_s, doc), false);
}

TEST(EditorSettings, ReadsBackWhatWasSaved)
{
    TempWorkspace t;
    LoadEditorSettings(t.ws);
    t.ws.settings.al = false;
    t.ws.settings.dfe = true;
    t.ws.settings.cel = 99;
    t.ws.settings.dfpz = 4;
    ASSERT_TRUE(SaveEditorSettings(t.ws));
    t.ws.settings = EditorSettings{};
    QFile::remove(t.ws.paths.logPath);
    EXPECT_EQ(LoadEditorSettings(t.ws), SettingsLoad::Loaded);
    EXPECT_FALSE(t.ws.settings.al);
    EXPECT_TRUE(t.ws.settings.dfe);
    EXPECT_EQ(t.ws.settings.cel, 99);
    EXPECT_EQ(t.ws.log.filterLevel(), 4);
}

TEST(EditorSettings, DamagedFilesAreRebuilt)
{
    struct Case {
        const char *what;
        std::function<void(TempWorkspace &)> damage;
        SettingsLoad outcome;
        QString logLine;
    };
    const Case cases[] = {
        {"foreign header",
         [](TempWorkspace &t) {
             editIni(t, [&](TpkXML &d) { WriteSettingString(u"ed"_s, u"Tester"_s, d, t.ws.rng); });
         },
         SettingsLoad::WrongHeader, u"Błędny nagłówek pliku ini. Utworzono nowy plik."_s},
        {"header missing", [](TempWorkspace &t) { editIni(t, [](TpkXML &d) { dropKey(d, u"ed"_s); }); },
         SettingsLoad::Damaged, u"Uszkodzony plik ini. Utworzono nowy plik."_s},
        {"flag missing", [](TempWorkspace &t) { editIni(t, [](TpkXML &d) { dropKey(d, u"al"_s); }); },
         SettingsLoad::Damaged, u"Uszkodzony plik ini. Utworzono nowy plik."_s},
        {"not XML at all",
         [](TempWorkspace &t) {
             QFile f(t.ws.paths.iniPath);
             f.open(QIODevice::WriteOnly);
             f.write("\x00\x01garbage", 9);
         },
         SettingsLoad::Damaged, u"Uszkodzony plik ini. Utworzono nowy plik."_s},
        {"truncated after the header",
         [](TempWorkspace &t) {
             // Cut at a fixed point after the header: the coded header's length varies with its filler.
             QFile f(t.ws.paths.iniPath);
             f.open(QIODevice::ReadWrite);
             const qsizetype end = f.readAll().indexOf("</ed>\r\n");
             ASSERT_GT(end, 0);
             f.resize(end + 7);
         },
         SettingsLoad::Damaged, u"Uszkodzony plik ini. Utworzono nowy plik."_s},
    };
    for (const Case &c : cases) {
        TempWorkspace t;
        t.ws.settings.cel = 11;
        SaveEditorSettings(t.ws); // a file with a changed value, so the rebuild shows
        c.damage(t);
        QFile::remove(t.ws.paths.logPath);
        t.ws.log.setFilterLevel(2);
        EXPECT_EQ(LoadEditorSettings(t.ws), c.outcome) << c.what;
        EXPECT_EQ(t.logTexts(), QStringList{c.logLine}) << c.what;
        EXPECT_EQ(t.ws.settings.cel, 95) << c.what; // values read before the failure are defaults again
        EXPECT_EQ(LoadEditorSettings(t.ws), SettingsLoad::Loaded) << c.what;
    }
}

TEST(EditorSettings, MissingIntegerReadsAsZero)
{
    TempWorkspace t;
    LoadEditorSettings(t.ws);
    editIni(t, [](TpkXML &d) { dropKey(d, u"dp"_s); });
    EXPECT_EQ(LoadEditorSettings(t.ws), SettingsLoad::Loaded);
    EXPECT_EQ(t.ws.settings.dp, 0);
    EXPECT_EQ(t.ws.settings.dst, 50);
}

TEST(EditorSettings, UpdateOnMissingFileLeavesAHeaderlessFile)
{
    TempWorkspace t;
    ASSERT_TRUE(UpdateEditorSetting(t.ws, u"wo"_s, 1));
    EXPECT_EQ(LoadEditorSettings(t.ws), SettingsLoad::Damaged);
    EXPECT_EQ(t.ws.settings.wo, 0);
}

TEST(EditorSettings, FailedWriteKeepsDefaultsInMemoryAndLogs)
{
    TempWorkspace t;
    t.ws.paths.iniPath = t.dir.path() + u"/brak/brak/Edycja.ini"_s; // two missing levels: cannot be made
    EXPECT_FALSE(WriteDefaultEditorSettings(t.ws));
    EXPECT_EQ(t.logTexts(), QStringList{u"Problem z zapisem nowego pliku ini."_s});
    EXPECT_EQ(t.ws.settings.cel, 95);
    EXPECT_FALSE(SaveEditorSettings(t.ws));
    EXPECT_EQ(t.logTexts().last(), u"Problem z zapisem zmian w ini."_s);
}
