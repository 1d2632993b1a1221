#include "program/MainCommands.h"
#include "storage/FieldCoding.h"
#include "storage/TpkXML.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Records which editor was asked to open what.
class RecordingEditors : public DocumentEditors {
public:
    QStringList opened;
    int closes = 0;
    int menuResets = 0;
    bool modified = false;
    void resetMainMenu() override { ++menuResets; }
    void closeOtherWindows() override { ++closes; }
    void openStudentListFile(const QString &p) override { opened << u"students:"_s + p; }
    void openTestListFile(const QString &p) override { opened << u"tests:"_s + p; }
    void openTestFile(const QString &p) override { opened << u"test:"_s + p; }
    void openQuestionFile(const QString &p) override { opened << u"question:"_s + p; }
    void openSetListFile(const QString &p) override { opened << u"sets:"_s + p; }
    bool anyDocumentModified() const override { return modified; }
};

const QString kUnsupportedMain =
    u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania, lub listy."_s;
const QString kUnsupported = u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania lub listy."_s;

} // namespace

TEST(MainCommands, OpensByExtensionIgnoringCase)
{
    TempWorkspace t;
    RecordingEditors editors;
    MainCommands commands(t.ws, editors);
    const std::pair<QString, QString> cases[] = {
        {u"/d/plan.SKT"_s, u"test:/d/plan.SKT"_s},   {u"/d/Plan.skq"_s, u"question:/d/Plan.skq"_s},
        {u"/d/a.sku"_s, u"students:/d/a.sku"_s},     {u"/d/a.Skg"_s, u"tests:/d/a.Skg"_s},
        {u"/d/a.b.skz"_s, u"sets:/d/a.b.skz"_s},
    };
    for (const auto &[path, expected] : cases) {
        editors.opened.clear();
        EXPECT_TRUE(commands.openByExtension(path));
        EXPECT_EQ(editors.opened, QStringList{expected});
    }
    EXPECT_EQ(editors.closes, 5);
    EXPECT_EQ(editors.menuResets, 5);
    for (const QString &path : {u"notes.txt"_s, u"bez_rozszerzenia"_s, u"/d.skt/plik"_s, u"x.skt2"_s})
        EXPECT_FALSE(commands.openByExtension(path)) << path.toStdString();
    EXPECT_EQ(editors.closes, 5); // nothing is closed for an unknown extension
    EXPECT_EQ(editors.menuResets, 5);
}

TEST(MainCommands, DropUsesTheFirstFileAndRefusesWhatItCannotOpen)
{
    TempWorkspace t;
    ScriptedPrompts prompts;
    t.ws.prompts = &prompts;
    RecordingEditors editors;
    MainCommands commands(t.ws, editors);

    commands.dropFiles({u"a.skq"_s, u"b.skt"_s, u"c.sku"_s}, DropTarget::MainWindow);
    EXPECT_EQ(editors.opened, QStringList{u"question:a.skq"_s});
    EXPECT_TRUE(prompts.messages.isEmpty());

    commands.dropFiles({u"notatki"_s, u"b.skt"_s}, DropTarget::MainWindow);
    commands.dropFiles({u"notes.txt"_s}, DropTarget::BackgroundWindow);
    EXPECT_EQ(prompts.messageTexts(), (QStringList{kUnsupportedMain, kUnsupported}));
    EXPECT_EQ(prompts.messages.first().icon, MessageIcon::WarningIcon);

    editors.modified = true;
    editors.opened.clear();
    commands.dropFiles({u"b.skt"_s}, DropTarget::MainWindow);
    EXPECT_TRUE(editors.opened.isEmpty());
    EXPECT_EQ(prompts.lastMessageText(),
              u"\rMasz pootwierane dokumenty, nad którymi pracujesz.\rZamknij je wsześniej, nim otworzysz następne."_s);
}

TEST(MainCommands, PlacementForBothModes)
{
    const WindowPlacement zero = computePlacement(0, QRect(0, 0, 1024, 738));
    EXPECT_TRUE(zero.known);
    EXPECT_EQ(zero.mainTopLeft, QPoint(118, 79));
    EXPECT_TRUE(zero.background.isEmpty());
    const WindowPlacement one = computePlacement(1, QRect(0, 0, 1024, 738));
    EXPECT_EQ(one.background, QRect(0, 0, 1024, 738));
    EXPECT_EQ(one.backgroundPicture, QPoint(-448, -231));
    EXPECT_EQ(computePlacement(0, QRect(0, 0, 700, 500)).mainTopLeft, QPoint(-44, -40)); // truncated toward zero
    EXPECT_FALSE(computePlacement(7, QRect(0, 0, 1024, 738)).known);

    // A primary screen that stands right of another one: everything stays on it.
    const WindowPlacement right = computePlacement(1, QRect(1920, 0, 1024, 738));
    EXPECT_EQ(right.mainTopLeft, QPoint(1920 + 118, 79));
    EXPECT_EQ(right.background, QRect(1920, 0, 1024, 738));
    EXPECT_EQ(right.backgroundPicture, QPoint(-448, -231));
    EXPECT_EQ(computePlacement(0, QRect(0, 40, 1024, 738)).mainTopLeft, QPoint(118, 40 + 79));
}

TEST(MainCommands, StartUpOnAnEmptyDataFolder)
{
    QTemporaryDir data;
    Workspace ws;
    ScriptedPrompts prompts;
    ws.prompts = &prompts;
    RecordingEditors editors;
    MainCommands commands(ws, editors);
    const WindowPlacement p = commands.startUp(QRect(0, 0, 1024, 738), data.path(), data.path());

    EXPECT_TRUE(QDir(data.path() + u"/Tevrix/Zadanix/Edycja/Temp"_s).exists());
    EXPECT_EQ(p.mainTopLeft, QPoint(118, 79));
    EXPECT_EQ(QPoint(ws.mainLeft, ws.mainTop), QPoint(118, 79));
    QFile log(ws.paths.logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray lines = log.readAll();
    EXPECT_EQ(lines.count("\r\n"), 1);
    EXPECT_TRUE(lines.endsWith(" - Brak pliku ini. Utworzono nowy plik.\r\n"));
    for (const QString &f : {ws.paths.tempTestPath, ws.paths.tempQuestionPath, ws.paths.tempQuestionAsPath})
        EXPECT_TRUE(QFile::exists(f));
    EXPECT_EQ(ws.paths.programFolder, data.path() + u'/');

    commands.openCommandLine({u"notes.txt"_s, u"plan.skt"_s});
    EXPECT_EQ(prompts.messageTexts(), QStringList{kUnsupported});
    EXPECT_TRUE(editors.opened.isEmpty()); // further arguments are ignored
    commands.openCommandLine({u"plan.SKT"_s});
    EXPECT_EQ(editors.opened, QStringList{u"test:plan.SKT"_s});

    ws.shutDown();
    EXPECT_TRUE(QDir(ws.paths.tempFolder).isEmpty());
}

TEST(MainCommands, ToggleTwiceStoresTheFirstMode)
{
    TempWorkspace t;
    LoadEditorSettings(t.ws);
    RecordingEditors editors;
    MainCommands commands(t.ws, editors);
    commands.toggleWindowMode(QRect(0, 0, 1024, 738));
    EXPECT_EQ(t.ws.settings.wo, 1);
    commands.toggleWindowMode(QRect(0, 0, 1024, 738));
    TpkXML ini;
    ASSERT_TRUE(ini.LoadFromFile(t.ws.paths.iniPath));
    int wo = -1;
    EXPECT_TRUE(ReadSettingInteger(u"wo"_s, wo, ini));
    EXPECT_EQ(wo, 0);
    EXPECT_EQ(t.ws.settings.wo, 0);
}
