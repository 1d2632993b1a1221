#include "app/TFApplication.h"

#include "ModalDriver.h"
#include "ProgramFixture.h"
#include "app/EditorSettings.h"
#include "app/TFGlowny.h"
#include "app/TFTloBig.h"
#include "app/TFWinieta.h"
#include "storage/ArchiveAccess.h"
#include "test/TFTest.h"
#include "storage/Cp1250.h"
#include "support/ScriptedPrompts.h"
#include "toolkit/LabelButton.h"

#include <QDir>
#include <QDropEvent>
#include <QEnterEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {


QStringList logTexts(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList texts;
    for (const QString &line : Cp1250::toUnicode(file.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts))
        texts << line.mid(line.indexOf(u" - "_s) + 3);
    return texts;
}

// The settings as the next start would read them.
std::optional<EditorSettings> settingsOnDisk(const QString &root)
{
    Workspace reader;
    reader.setUpFoldersAndPaths(root);
    if (LoadEditorSettings(reader) != SettingsLoad::Loaded)
        return std::nullopt;
    return reader.settings;
}

void writeWindowMode(const QString &root, int mode)
{
    Workspace writer;
    writer.setUpFoldersAndPaths(root);
    ASSERT_TRUE(WriteDefaultEditorSettings(writer));
    ASSERT_TRUE(UpdateEditorSetting(writer, u"wo"_s, mode));
}

TEST(StartUp, OnAnEmptyDataFolder)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    const QString editor = root + u"/Tevrix/Zadanix/Edycja"_s;
    QStringList workingFiles;
    {
        Program program(root);
        EXPECT_EQ(QGuiApplication::applicationDisplayName(), u"Zadanix - Edytor v. 4.0"_s);
        // Created hidden; nothing happens on disk before the background window is shown.
        EXPECT_FALSE(program.background().isVisible());
        EXPECT_FALSE(program.main().isVisible());
        EXPECT_FALSE(program.app->about().isVisible());
        EXPECT_FALSE(QDir(root + u"/Tevrix"_s).exists());

        program.start();
        EXPECT_TRUE(QDir(editor + u"/Temp"_s).exists());
        const std::optional<EditorSettings> saved = settingsOnDisk(root);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->wo, 0);
        EXPECT_EQ(saved->dfpz, 0);
        EXPECT_EQ(saved->cel, 95);
        EXPECT_EQ(logTexts(editor + u"/Dziennik.txt"_s),
                  QStringList{u"Brak pliku ini. Utworzono nowy plik."_s});
        EXPECT_EQ(program.ws().log.filterLevel(), 0);
        EXPECT_TRUE(program.ws().log.shortDateForm());
        EXPECT_EQ(program.ws().paths.programFolder, root + u"/"_s);

        const Paths &paths = program.ws().paths;
        workingFiles = {paths.tempTestPath, paths.tempQuestionPath, paths.tempQuestionAsPath};
        EXPECT_EQ(workingFiles[0], editor + u"/Temp/Test"_s + QString::number(paths.runNumber) + u".tmp"_s);
        for (const QString &path : workingFiles)
            EXPECT_TRUE(QFile::exists(path)) << path.toStdString();

        EXPECT_TRUE(program.main().isVisible());
        EXPECT_EQ(program.main().pos(), QPoint(118, 79));
        EXPECT_EQ(program.main().openGroupNumber(), 0);
        EXPECT_FALSE(program.background().hasVisibleArea());
        EXPECT_TRUE(program.main().geometry().contains(program.background().geometry()));
        EXPECT_TRUE(program.prompts.messages.isEmpty());
    }
    // The program has ended: the working files are gone, the settings and the log stay.
    for (const QString &path : workingFiles)
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    EXPECT_TRUE(QFile::exists(editor + u"/Edycja.ini"_s));
    EXPECT_EQ(logTexts(editor + u"/Dziennik.txt"_s), QStringList{u"Brak pliku ini. Utworzono nowy plik."_s});
    EXPECT_EQ(QDir(editor + u"/Temp"_s).entryList(QDir::Files), QStringList());
}

struct CommandLineCase {
    const char *name;
    QStringList arguments;
    bool refused;
};

void PrintTo(const CommandLineCase &c, std::ostream *os)
{
    *os << c.name;
}

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, OpensTheFirstArgumentByItsExtension)
{
    QTemporaryDir dir;
    Program program(dir.path(), GetParam().arguments);
    program.start();
    if (GetParam().refused) {
        ASSERT_EQ(program.prompts.messages.size(), 1);
        EXPECT_EQ(program.prompts.messages[0].text,
                  u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania lub listy."_s);
        EXPECT_EQ(program.prompts.messages[0].kind, MessageKind::CloseOnly);
        EXPECT_EQ(program.prompts.messages[0].icon, MessageIcon::WarningIcon);
    } else {
        // A document of a known kind goes to its editor (which may report a missing file); the
        // arguments after it are never looked at.
        EXPECT_FALSE(program.prompts.messageTexts().join(u'|').contains(u"nie obsługuje"_s));
    }
    EXPECT_TRUE(program.main().isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, CommandLine,
    ::testing::Values(CommandLineCase{"None", {}, false},
                      CommandLineCase{"CapitalExtension", {u"/d/plan.SKT"_s}, false},
                      CommandLineCase{"TextFile", {u"/d/notes.txt"_s}, true},
                      CommandLineCase{"OnlyTheFirstCounts", {u"/d/pytanie.skq"_s, u"/d/notes.txt"_s}, false},
                      CommandLineCase{"NoExtension", {u"/d/plan"_s}, true}),
    [](const auto &info) { return std::string(info.param.name); });

struct PlacementCase {
    const char *name;
    int storedMode;
    QRect workArea;
    QPoint mainPos;
    QRect background;     // empty: no visible area
    QPoint pictureOffset; // mode 1 only
};

void PrintTo(const PlacementCase &c, std::ostream *os)
{
    *os << c.name;
}

class Placement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, PlacesBothWindowsForTheStoredMode)
{
    const PlacementCase &c = GetParam();
    QTemporaryDir dir;
    writeWindowMode(dir.path(), c.storedMode);
    Program program(dir.path(), {}, c.workArea);
    program.start();
    EXPECT_EQ(program.main().pos(), c.mainPos);
    EXPECT_EQ(QPoint(program.ws().mainLeft, program.ws().mainTop), c.mainPos);
    if (c.background.isEmpty()) {
        EXPECT_FALSE(program.background().hasVisibleArea());
        EXPECT_TRUE(program.main().geometry().contains(program.background().geometry()));
    } else {
        EXPECT_TRUE(program.background().hasVisibleArea());
        EXPECT_EQ(program.background().geometry(), c.background);
        EXPECT_EQ(program.background().pictureOffset(), c.pictureOffset);
    }
    // The mode is written back as it was read.
    ASSERT_TRUE(settingsOnDisk(dir.path()));
    EXPECT_EQ(settingsOnDisk(dir.path())->wo, c.storedMode);
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, Placement,
    ::testing::Values(
        PlacementCase{"Mode0", 0, smallScreen, {118, 79}, {}, {}},
        PlacementCase{"Mode1", 1, smallScreen, {118, 79}, smallScreen, {-448, -231}},
        PlacementCase{
            "Mode1OnALargeScreen", 1, {0, 0, 2560, 1400}, {886, 410}, {0, 0, 2560, 1400}, {320, 100}},
        PlacementCase{"NarrowWorkArea", 0, {0, 0, 700, 500}, {-44, -40}, {}, {}},
        // An unknown mode moves nothing: the main window stays at the remembered (0, 0).
        PlacementCase{"UnknownMode", 7, smallScreen, {0, 0}, {}, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(StartUp, CtrlF4TwiceComesBackToTheFirstMode)
{
    QTemporaryDir dir;
    Program program(dir.path());
    program.start();
    QTest::keyClick(&program.main(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(program.ws().settings.wo, 1);
    EXPECT_EQ(settingsOnDisk(dir.path())->wo, 1);
    EXPECT_EQ(program.background().geometry(), smallScreen);
    EXPECT_EQ(program.background().pictureOffset(), QPoint(-448, -231));
    EXPECT_EQ(program.main().pos(), QPoint(118, 79));
    EXPECT_TRUE(program.main().isVisible());

    // LBig does the same as Ctrl+F4.
    QTest::mouseClick(program.main().findChild<LabelButton *>(u"LBig"_s), Qt::LeftButton);
    EXPECT_EQ(program.ws().settings.wo, 0);
    EXPECT_EQ(settingsOnDisk(dir.path())->wo, 0);
    EXPECT_FALSE(program.background().hasVisibleArea());
    EXPECT_EQ(program.main().pos(), QPoint(118, 79));
    EXPECT_TRUE(program.prompts.messages.isEmpty());
}

TEST(StartUp, F1InAnyWindowOpensItsPageThroughTheProgram)
{
    QTemporaryDir dir;
    Program program(dir.path());
    program.start();
    ModalWatchdog watchdog;
    whenModal([](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_F1);
        QTest::keyClick(modal, Qt::Key_Escape);
        static_cast<QDialog *>(modal)->reject();
    });
    program.app->editors().editEditorSettings();
    EXPECT_EQ(program.prompts.helpPages, QStringList{u"ustawienia_edytora.htm"_s});
}

TEST(StartUp, InWindowModeZeroTheBackgroundPixelStaysUnderTheMainWindow)
{
    QTemporaryDir dir;
    writeWindowMode(dir.path(), 0);
    Program program(dir.path());
    program.start();
    ASSERT_FALSE(program.background().hasVisibleArea());
    // Dragged away, the main window takes the background's one pixel along, out of sight under it.
    program.main().move(400, 300);
    QCoreApplication::processEvents();
    EXPECT_TRUE(program.main().geometry().contains(program.background().geometry()));
    EXPECT_EQ(program.background().pos(), QPoint(400 + 788 / 2, 300 + 580 / 2));
}

TEST(StartUp, HooksAndClosingOtherWindows)
{
    QTemporaryDir dir;
    Program program(dir.path());
    int logWindows = 0;
    int settingsDialogs = 0;
    int workModeAtSettings = -1;
    using C = ProgramEditors::Command;
    program.app->editors().add({.name = u"fake"_s,
                                .commands = {{C::ShowLog, [&] { ++logWindows; }},
                                             {C::EditEditorSettings,
                                              [&] {
                                                  ++settingsDialogs;
                                                  workModeAtSettings = program.ws().workMode;
                                              }}},
                                .documents = {},
                                .modified = {}});
    program.start();

    QTest::keyClick(&program.main(), Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(logWindows, 1);
    program.main().openGroup(TFGlowny::GroupPomoc);
    QTest::mouseClick(program.main().findChild<LabelButton *>(u"LOpenEdytorIni"_s), Qt::LeftButton);
    EXPECT_EQ(settingsDialogs, 1);
    EXPECT_EQ(workModeAtSettings, 5);

    // Opening a document closes the menu's open group, clears its description and closes the other
    // windows of the program, not the main one.
    program.app->about().show();
    program.main().openGroup(TFGlowny::GroupPomoc);
    auto *item = program.main().findChild<LabelButton *>(u"LOpenEdytorIni"_s);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(item, &enter);
    ASSERT_FALSE(program.main().description().isEmpty());
    EXPECT_TRUE(program.app->commands().openByExtension(u"/d/plan.skt"_s));
    EXPECT_FALSE(program.app->about().isVisible());
    EXPECT_TRUE(program.main().isVisible());
    EXPECT_EQ(program.main().menuPictureName(), u"MStart"_s);
    EXPECT_FALSE(item->isVisible());
    EXPECT_TRUE(program.main().description().isEmpty());
}

TEST(StartUp, AltUAndEditorSettingsOpenTheirWindowsBesideTheMainWindow)
{
    QTemporaryDir dir;
    Program program(dir.path());
    program.start();
    ModalWatchdog watchdog;
    const QPoint main = program.main().pos();

    QString opened;
    QPoint at;
    auto closeIt = [&](QWidget *modal) {
        opened = modal->objectName();
        at = modal->pos();
        qobject_cast<QDialog *>(modal)->done(0);
    };
    whenModal(closeIt);
    QTest::keyClick(&program.main(), Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(opened, u"FZdarzenia"_s);
    EXPECT_EQ(at, main + QPoint(100, 37));

    whenModal(closeIt);
    program.main().openGroup(TFGlowny::GroupPomoc);
    QTest::mouseClick(program.main().findChild<LabelButton *>(u"LOpenEdytorIni"_s), Qt::LeftButton);
    EXPECT_EQ(opened, u"FIniEdytor"_s);
    EXPECT_EQ(at, main + QPoint(162, 38));
    EXPECT_TRUE(program.prompts.messages.isEmpty());
}

TEST(StartUp, LCloseEndsTheProgram)
{
    QTemporaryDir dir;
    Program program(dir.path());
    QSignalSpy finished(program.app.get(), &TFApplication::finished);
    program.start();

    // The background refuses to close while the main window is up.
    EXPECT_FALSE(program.background().close());
    EXPECT_TRUE(program.background().isVisible());
    EXPECT_EQ(finished.size(), 0);

    QTest::mouseClick(program.main().findChild<LabelButton *>(u"LClose"_s), Qt::LeftButton);
    EXPECT_FALSE(program.main().isVisible());
    EXPECT_FALSE(program.background().isVisible());
    EXPECT_EQ(finished.size(), 1);
    EXPECT_TRUE(program.prompts.messages.isEmpty());
}

TEST(StartUp, DropOnTheBackgroundWhileRunning)
{
    QTemporaryDir dir;
    Program program(dir.path(), {}, smallScreen);
    program.start();
    QTest::keyClick(&program.main(), Qt::Key_F4, Qt::ControlModifier);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(u"/d/zadania.doc"_s), QUrl::fromLocalFile(u"/d/plan.skt"_s)});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&program.background(), &enter);
    QDropEvent event(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&program.background(), &event);
    QCoreApplication::processEvents();
    EXPECT_EQ(program.prompts.messageTexts(),
              QStringList{
                  u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania lub listy."_s});

    // After shutdown neither window takes drops.
    program.app->shutDown();
    EXPECT_FALSE(program.background().acceptDrops());
    EXPECT_FALSE(program.main().acceptDrops());
}

// With the program's own windows answering, the clash dialogs stand at the test editor's left + 190,
// top + 80 wherever the test editor has been moved, and refuse a new name the test's files already use.
TEST(StartUp, TheClashDialogsStandBesideTheTestEditorAndRefuseANameInUse)
{
    QTemporaryDir dir;
    TFApplication::Options options;
    options.appDataRoot = dir.path();
    options.programFolder = dir.path();
    options.workArea = smallScreen;
    TFApplication app(options);
    app.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(app.isStarted());
    Workspace &ws = app.workspace();
    ASSERT_NE(ws.prompts, nullptr);
    ASSERT_TRUE(PutStream(u"nowy.txt"_s, "w teście", *ws.workingTest));
    ModalWatchdog watchdog;

    for (const QPoint editorAt : {QPoint(120, 60), QPoint(300, 200)}) {
        app.testEditor().move(editorAt);
        QList<QPoint> places;
        const auto placeAndCancel = [&places] {
            whenModal([&places](QWidget *modal) {
                places << modal->pos();
                QTest::mouseClick(modal->findChild<QWidget *>(u"ImAnuluj"_s), Qt::LeftButton);
            });
        };
        placeAndCancel();
        EXPECT_EQ(ws.prompts->resolveTextClash(u"a.txt"_s, u"a"_s, u"b"_s).result, ClashAnswer::Cancel);
        placeAndCancel();
        EXPECT_EQ(ws.prompts->resolveImageClash(u"a.bmp"_s, {}, u"a.bmp"_s, {}, u"a.bmp"_s).result,
                  ClashAnswer::Cancel);
        EXPECT_EQ(places, QList<QPoint>(2, editorAt + QPoint(190, 80)));
    }

    // "NOWY" would become nowy.txt, which the test holds: the message box says so and the dialog stays.
    QString refusal;
    whenModal([&refusal](QWidget *modal) {
        auto *field = modal->findChild<QLineEdit *>(u"ENowaNazwa"_s);
        QTest::keyClicks(field, u"NOWY"_s);
        whenModal([&refusal](QWidget *box) {
            auto *text = box->findChild<QLabel *>(u"LTekstWarning"_s);
            ASSERT_NE(text, nullptr);
            refusal = text->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTest::mouseClick(modal->findChild<QWidget *>(u"LInnyPlik"_s), Qt::LeftButton);
        EXPECT_TRUE(modal->isVisible());
        QTest::keyClicks(field, u"2"_s);
        QTest::mouseClick(modal->findChild<QWidget *>(u"LInnyPlik"_s), Qt::LeftButton);
    });
    const ClashAnswer answer = ws.prompts->resolveTextClash(u"a.txt"_s, u"a"_s, u"b"_s);
    EXPECT_EQ(answer.result, ClashAnswer::OtherFile);
    EXPECT_EQ(answer.newName, u"NOWY2"_s);
    EXPECT_TRUE(refusal.contains(u"nowy.txt"_s, Qt::CaseInsensitive)) << refusal.toStdString();
}

} // namespace
