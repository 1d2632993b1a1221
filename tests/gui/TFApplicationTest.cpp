#include "program/TFApplication.h"

#include "ModalDriver.h"
#include "ProgramFixture.h"
#include "core/EditorSettings.h"
#include "program/TFGlowny.h"
#include "program/TFTloBig.h"
#include "program/TFWinieta.h"
#include "program/RecoveryKeeper.h"
#include "question/TFPytanie.h"
#include "settings/ModuleSettings.h"
#include "settings/TFIniTesty.h"
#include "storage/DocumentLock.h"
#include "students/TFListaUczniow.h"
#include "support/DocumentFixtures.h"
#include "storage/ArchiveAccess.h"
#include "testeditor/TFTest.h"
#include "storage/Cp1250.h"
#include "support/ScriptedPrompts.h"
#include "toolkit/LabelButton.h"

#include <QAbstractButton>
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

// --- Drops onto open windows -------------------------------------------------------------------

const QString kUnsavedWork =
    u"\rMasz pootwierane dokumenty, nad którymi pracujesz.\rZamknij je wsześniej, nim otworzysz następne."_s;

// A file dropped on a window of the program, as the window system hands it over.
void dropOn(QWidget *window, const QString &path)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
}

void keyTo(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, static_cast<Qt::Key>(k), mods);
}

void clickOn(QWidget *window, const QString &name)
{
    auto *w = window->findChild<QWidget *>(name);
    ASSERT_NE(w, nullptr) << name.toStdString();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        button->click();
    else
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, 4));
}

// A close command whose question about the changes is answered No.
auto closedWithoutSaving(const QString &command)
{
    return [command](Program &p, QWidget *window) {
        p.prompts.queueAnswer(MessageResult::No);
        clickOn(window, command);
    };
}

// Work that sets no document flag of its own still holds a drop off: typing in a question opened from
// a test, a changed module settings window, students typed into the student view and not applied, a
// changed editor settings dialog. The window stays open with its work; closing it is the user's.
TEST(DropsOnOpenWindows, WorkNotYetStoredAnywhereRefusesTheDrop)
{
    QTemporaryDir dir;
    const QString test = dir.filePath(u"ułamki.skt"_s);
    ASSERT_TRUE(DocumentFixtures::writeSampleTest(test, 2));
    const QString dropped = dir.filePath(u"inne.skq"_s);
    struct Case {
        const char *what;
        QString window; // where the work is and the file is dropped
        std::function<void(Program &)> open;
        std::function<void(Program &, QWidget *)> change;
        std::function<void(Program &, QWidget *)> close;
    };
    // The test opened in its editor, where `keys` open the window of the work; the editor closes after.
    auto inTestEditor = [&test](QList<int> keys) {
        return [&test, keys](Program &p) {
            whenModalNamed(u"FTest"_s, [&p, keys](QWidget *) {
                for (const int k : keys)
                    keyTo(k); // the last returns once the window it opened is closed
                clickOn(&p.app->testEditor(), u"ImZamknij"_s);
            });
            p.app->testEditor().openTestFile(test);
        };
    };
    auto typing = [](const QString &text) {
        return [text](Program &, QWidget *) { typeText(QApplication::activeModalWidget()->focusWidget(), text); };
    };
    const Case cases[] = {
        {"a question of a test, typed in", u"FPytanie"_s, inTestEditor({Qt::Key_Down, Qt::Key_Return}),
         typing(u"Więcej "_s), [](Program &, QWidget *window) { clickOn(window, u"LAnuluj"_s); }},
        {"a test's header, typed in its information window", u"FInfoOTescie"_s,
         inTestEditor({Qt::Key_Return}), typing(u"Nowe "_s), [](Program &, QWidget *) { keyTo(Qt::Key_Escape); }},
        {"the module settings window",
         u"FIniTesty"_s,
         [](Program &p) { p.app->moduleSettings().newTestSettings(); },
         [](Program &, QWidget *window) { clickOn(window, u"CWieleOcen"_s); },
         closedWithoutSaving(u"LCloseIni"_s)},
        {"the editor settings dialog",
         u"FIniEdytor"_s,
         [](Program &p) { p.app->editors().editEditorSettings(); },
         [](Program &, QWidget *window) { clickOn(window, u"ChJestPunktacja"_s); },
         closedWithoutSaving(u"ImAnuluj"_s)},
    };
    for (const Case &c : cases) {
        Program program(dir.path());
        program.start();
        ModalWatchdog watchdog;
        bool stillOpen = false;
        bool refused = false;
        whenModalNamed(c.window, [&](QWidget *window) {
            c.change(program, window);
            dropOn(window, dropped);
            QCoreApplication::processEvents(); // the drop is handed on once the desktop has it back
            refused = program.prompts.messageTexts() == QStringList{kUnsavedWork};
            stillOpen = window->isVisible();
            c.close(program, window);
        });
        c.open(program);
        QCoreApplication::processEvents();
        EXPECT_TRUE(refused) << c.what << ": " << program.prompts.messageTexts().join(u'|').toStdString();
        EXPECT_TRUE(stillOpen) << c.what;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.what;
    }

    // The student view: a student added but not applied, on a list saved with no other change.
    Program program(dir.path());
    program.start();
    ModalWatchdog watchdog;
    bool refused = false;
    whenModalNamed(u"FListaUczniow"_s, [&](QWidget *window) {
        StudentListEditor &e = program.app->studentListEditor().editor();
        SchoolClass c = e.newClassDefaults();
        c.name = u"1a"_s;
        e.addClass(c);
        e.list.modified = false; // as if saved: only the view's students are unsaved work
        ASSERT_TRUE(e.showStudentView());
        e.addStudent(u"Ola"_s, u"Nowak"_s);
        program.app->studentListEditor().refresh();
        dropOn(window, dropped);
        QCoreApplication::processEvents();
        refused = program.prompts.messageTexts() == QStringList{kUnsavedWork};
        EXPECT_TRUE(window->isVisible());
        program.prompts.queueAnswer(MessageResult::No);
        keyTo(Qt::Key_Escape); // the view: not applied
        keyTo(Qt::Key_Escape);
    });
    program.app->studentListEditor().newStudentList();
    EXPECT_TRUE(refused) << program.prompts.messageTexts().join(u'|').toStdString();
    EXPECT_FALSE(program.app->studentListEditor().isVisible());
}

// A drop closes each open window through its own close path: the test editor leaves its test and
// lets go of its file, so other programs may write it again.
TEST(DropsOnOpenWindows, TheClosedTestEditorReleasesItsFile)
{
    QTemporaryDir dir;
    const QString test = dir.filePath(u"ułamki.skt"_s);
    const QString next = dir.filePath(u"następny.skt"_s);
    ASSERT_TRUE(DocumentFixtures::writeSampleTest(test, 2));
    ASSERT_TRUE(DocumentFixtures::writeSampleTest(next, 3));
    Program program(dir.path(), {test});
    ModalWatchdog watchdog;
    DocumentLock other;
    DocumentLock::Result whileOpen = DocumentLock::Result::Unsupported;
    DocumentLock::Result afterDrop = DocumentLock::Result::Unsupported;
    int questionsAfterDrop = 0;
    whenModalNamed(u"FTest"_s, [&](QWidget *window) {
        whileOpen = other.lock(test);
        other.release();
        // The question editor of the test is open too: it closes first, then the test editor.
        whenModalNamed(u"FPytanie"_s, [&](QWidget *question) {
            dropOn(question, next);
            whenModalNamed(u"FTest"_s, [&](QWidget *again) {
                afterDrop = other.lock(test);
                other.release();
                questionsAfterDrop = program.ws().test.header.questionCount;
                clickOn(again, u"ImZamknij"_s);
            });
        });
        keyTo(Qt::Key_Down);
        keyTo(Qt::Key_Return);
        EXPECT_FALSE(window->isVisible());
    });
    program.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return questionsAfterDrop > 0; }, 5000));
    EXPECT_EQ(whileOpen, DocumentLock::Result::InUse);
    EXPECT_EQ(afterDrop, DocumentLock::Result::Locked);
    EXPECT_EQ(questionsAfterDrop, 3);
    EXPECT_TRUE(program.prompts.messages.isEmpty()) << program.prompts.messageTexts().join(u'|').toStdString();
    EXPECT_FALSE(program.app->testEditor().isVisible());
    EXPECT_FALSE(program.app->questionEditor().isVisible());
}

// While the module settings window holds changes a recovery copy of them is kept; closing without
// saving drops it.
TEST(DropsOnOpenWindows, ModuleSettingsKeepARecoveryCopyWhileChanged)
{
    QTemporaryDir dir;
    Program program(dir.path());
    program.start();
    ModalWatchdog watchdog;
    QString copy;
    bool copyWritten = false;
    bool copyHoldsTheChange = false;
    whenModalNamed(u"FIniTesty"_s, [&](QWidget *window) {
        program.app->recovery().tick();
        ASSERT_NE(program.app->recovery().store(), nullptr);
        copy = program.app->recovery().store()->copyPath(u"ustawienia-modulu"_s, u"ini"_s);
        EXPECT_FALSE(QFile::exists(copy)); // nothing changed yet
        clickOn(window, u"CWieleOcen"_s);
        program.app->recovery().tick();
        copyWritten = QFile::exists(copy);
        TestingModuleSettings testing;
        LearningModuleSettings learning;
        copyHoldsTheChange = OpenModuleSettingsFile(program.ws(), copy, testing, learning) ==
                                 ModuleFileKind::Testing &&
                             testing.woc;
        program.prompts.queueAnswer(MessageResult::No);
        clickOn(window, u"LCloseIni"_s);
    });
    program.app->moduleSettings().newTestSettings();
    EXPECT_TRUE(copyWritten);
    EXPECT_TRUE(copyHoldsTheChange);
    program.app->recovery().tick();
    EXPECT_FALSE(QFile::exists(copy));
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
