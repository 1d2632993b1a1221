#include "program/TFGlowny.h"

#include "ModalDriver.h"
#include "RecordingEditors.h"
#include "program/MainCommands.h"
#include "program/TFTloBig.h"
#include "program/TFWinieta.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "toolkit/InterfaceColours.h"
#include "toolkit/LabelButton.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QStringList groupHeaders = {u"LTesty"_s, u"LPytania"_s, u"LListy"_s, u"LUstawienia"_s, u"LPomoc"_s};
// Every item of each group, top to bottom.
const QList<QStringList> groupItems = {
    {u"LNewTest"_s, u"LOpenTest"_s},
    {u"LNewPytanie"_s, u"LOpenPytanie"_s, u"LKreska"_s, u"LGenerujZestaw"_s},
    {u"LNewListaUczniow"_s, u"LOpenListaUczniow"_s, u"LNewListaTestow"_s, u"LOpenListaTestow"_s,
     u"LNewListaPytan"_s, u"LOpenListaPytan"_s},
    {u"LNewIniTest"_s, u"LNewIniNauka"_s, u"LOpenIni"_s},
    {u"LOProgramie"_s, u"LHelp"_s, u"LOpenEdytorIni"_s},
};

const QString unsupportedOnMain =
    u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania, lub listy."_s;
const QString unsupportedOnBackground =
    u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania lub listy."_s;
const QString unsavedWork =
    u"\rMasz pootwierane dokumenty, nad którymi pracujesz.\rZamknij je wsześniej, nim otworzysz następne."_s;

// The main window, shown, with recording editors and scripted prompts.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : editors(tw.ws), commands(tw.ws, editors), window(tw.ws, commands, editors)
    {
        tw.ws.prompts = &prompts;
        window.setAboutWindow(&about);
        window.show();
    }
    ~MainWindowTest() override { window.hide(); }

    LabelButton *control(const QString &name)
    {
        auto *label = window.findChild<LabelButton *>(name);
        EXPECT_NE(label, nullptr) << name.toStdString();
        return label;
    }
    QStringList visibleItems()
    {
        QStringList visible;
        for (const QStringList &items : groupItems) {
            for (const QString &name : items) {
                if (control(name)->isVisibleTo(&window))
                    visible << name;
            }
        }
        return visible;
    }
    QStringList visibleHeaders()
    {
        QStringList visible;
        for (const QString &name : groupHeaders) {
            if (control(name)->isVisibleTo(&window))
                visible << name;
        }
        return visible;
    }
    // Moves the mouse over the middle of a control (or a point of the window), as the user would.
    void hover(QWidget *widget)
    {
        QTest::mouseMove(&window, widget->mapTo(&window, widget->rect().center()));
    }
    void hover(QPoint point) { QTest::mouseMove(&window, point); }
    void openGroupOf(const QString &item)
    {
        for (int g = 0; g < 5; ++g) {
            if (groupItems[g].contains(item))
                QTest::mouseClick(control(groupHeaders[g]), Qt::LeftButton);
        }
    }

    TempWorkspace tw;
    ScriptedPrompts prompts;
    RecordingEditors editors;
    MainCommands commands;
    TFWinieta about;
    TFGlowny window;
};

TEST_F(MainWindowTest, ShownWithEveryGroupClosed)
{
    EXPECT_EQ(window.size(), QSize(788, 580));
    EXPECT_EQ(window.openGroupNumber(), 0);
    EXPECT_EQ(window.menuPictureName(), u"MStart"_s);
    EXPECT_EQ(visibleHeaders(), groupHeaders);
    EXPECT_TRUE(visibleItems().isEmpty());
    // The corners are cut by 4 px.
    EXPECT_FALSE(window.mask().contains(QPoint(1, 1)));
    EXPECT_FALSE(window.mask().contains(QPoint(786, 578)));
    EXPECT_TRUE(window.mask().contains(QPoint(4, 1)));

    // Showing the window again closes the open group.
    QTest::mouseClick(control(u"LListy"_s), Qt::LeftButton);
    window.hide();
    window.show();
    EXPECT_EQ(window.openGroupNumber(), 0);
    EXPECT_TRUE(visibleItems().isEmpty());
}

TEST_F(MainWindowTest, OpeningAGroupHidesTheOthersItems)
{
    QTest::mouseClick(control(u"LListy"_s), Qt::LeftButton);
    EXPECT_EQ(window.openGroupNumber(), 3);
    EXPECT_EQ(window.menuPictureName(), u"MListy"_s);
    EXPECT_EQ(visibleItems(), groupItems[2]);
    EXPECT_FALSE(control(u"LListy"_s)->isVisibleTo(&window));

    QTest::mouseClick(control(u"LTesty"_s), Qt::LeftButton);
    EXPECT_EQ(window.openGroupNumber(), 1);
    EXPECT_EQ(window.menuPictureName(), u"MTesty"_s);
    EXPECT_EQ(visibleItems(), groupItems[0]);
    EXPECT_EQ(visibleHeaders(), (QStringList{u"LPytania"_s, u"LListy"_s, u"LUstawienia"_s, u"LPomoc"_s}));
}

// The headers and the open group's items take the places the menu picture draws them at: each item
// under its own header, the next header below the last item, nothing outside the picture.
TEST_F(MainWindowTest, ItemsStandBetweenTheirHeaderAndTheNext)
{
    const QRect picture = window.findChild<QWidget *>(u"ImMenu"_s)->geometry();
    for (int g = 1; g <= 5; ++g) {
        SCOPED_TRACE(g);
        window.openGroup(g);
        const QRect header = control(groupHeaders[g - 1])->geometry();
        const int nextTop = g < 5 ? control(groupHeaders[g])->geometry().top() : picture.bottom();
        int previousBottom = header.bottom();
        for (const QString &name : groupItems[g - 1]) {
            const QRect item = control(name)->geometry();
            EXPECT_GT(item.top(), previousBottom) << name.toStdString();
            EXPECT_LT(item.bottom(), nextTop) << name.toStdString();
            EXPECT_TRUE(picture.contains(item)) << name.toStdString();
            previousBottom = item.bottom();
        }
        for (int k = 1; k < 5; ++k)
            EXPECT_GT(control(groupHeaders[k])->geometry().top(),
                      control(groupHeaders[k - 1])->geometry().bottom());
        EXPECT_TRUE(picture.contains(control(groupHeaders[4])->geometry()));
    }
}

struct CommandCase {
    const char16_t *item;
    const char16_t *caption;
    const char16_t *call; // what the editors hear, with the WorkMode in force
    bool staysLit;        // the test commands leave the item in the hover colour
};

void PrintTo(const CommandCase &c, std::ostream *os)
{
    *os << QString::fromUtf16(c.item).toStdString();
}

class MainWindowCommands : public MainWindowTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(MainWindowCommands, SetWorkModeAndCallTheirEditor)
{
    const CommandCase &c = GetParam();
    const QString name = QString::fromUtf16(c.item);
    tw.ws.workMode = 42; // stays when the command sets no WorkMode of its own
    openGroupOf(name);
    LabelButton *item = control(name);
    EXPECT_EQ(item->text(), QString::fromUtf16(c.caption));
    hover(item);
    EXPECT_FALSE(window.description().isEmpty());
    QTest::mouseClick(item, Qt::LeftButton);
    EXPECT_EQ(editors.calls, QStringList{QString::fromUtf16(c.call)});
    EXPECT_TRUE(window.description().isEmpty());
    EXPECT_EQ(item->isHot(), c.staysLit);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Menu, MainWindowCommands,
    ::testing::Values(CommandCase{u"LNewTest", u"Nowy test", u"newTest@1", true},
                      CommandCase{u"LOpenTest", u"Otwórz test ...", u"openTest@1", true},
                      CommandCase{u"LNewPytanie", u"Nowe pytanie", u"newQuestion@2", false},
                      CommandCase{u"LOpenPytanie", u"Otwórz pytanie ...", u"openQuestion@2", false},
                      CommandCase{u"LGenerujZestaw", u"Generuj zestaw ...", u"generateSet@3", false},
                      CommandCase{u"LNewListaUczniow", u"Nowa lista uczniów", u"newStudentList@4", false},
                      CommandCase{u"LOpenListaUczniow", u"Otwórz listę uczniów ...", u"openStudentList@42",
                                  false},
                      CommandCase{u"LNewListaTestow", u"Nowa lista testów", u"newTestList@3", false},
                      CommandCase{u"LOpenListaTestow", u"Otwórz listę testów ...", u"openTestList@42", false},
                      CommandCase{u"LNewListaPytan", u"Nowa lista pytań", u"newTestList@10", false},
                      CommandCase{u"LOpenListaPytan", u"Otwórz listę pytań", u"openSetList@42", false},
                      CommandCase{u"LNewIniTest", u"Nowy plik Test.ini", u"newTestSettings@6", false},
                      CommandCase{u"LNewIniNauka", u"Nowy plik Nauka.ini", u"newLearningSettings@7", false},
                      CommandCase{u"LOpenIni", u"Otwórz plik ini ...", u"openModuleSettings@8", false},
                      CommandCase{u"LOpenEdytorIni", u"Ustawienia Edytora", u"editEditorSettings@5", false}),
    [](const auto &info) { return QString::fromUtf16(info.param.item).toStdString(); });

TEST_F(MainWindowTest, AboutHelpAndSeparator)
{
    ModalWatchdog watchdog;
    tw.ws.workMode = 42;
    window.move(30, 40);
    QTest::mouseClick(control(u"LPomoc"_s), Qt::LeftButton);
    EXPECT_EQ(control(u"LHelp"_s)->text(), u"Pomoc                 F1          "_s);
    EXPECT_EQ(control(u"LOProgramie"_s)->text(), u"O programie"_s);

    // "O programie": the about window, modal, at the main window's left + 260, top + 160.
    bool shown = false;
    whenModal([&](QWidget *modal) {
        shown = true;
        EXPECT_EQ(modal, &about);
        EXPECT_EQ(modal->pos(), QPoint(290, 200));
        EXPECT_EQ(modal->size(), QSize(366, 239));
        QTest::mouseClick(modal->findChild<LabelButton *>(u"LCloseWinieta"_s), Qt::LeftButton);
    });
    QTest::mouseClick(control(u"LOProgramie"_s), Qt::LeftButton);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(about.isVisible());

    // "Pomoc" opens the contents of the help pages and nothing else.
    hover(control(u"LHelp"_s));
    QTest::mouseClick(control(u"LHelp"_s), Qt::LeftButton);
    EXPECT_EQ(prompts.helpPages, QStringList{u"index.htm"_s});
    EXPECT_FALSE(window.description().isEmpty());

    // The separator line of Pytania does nothing.
    QTest::mouseClick(control(u"LPytania"_s), Qt::LeftButton);
    QTest::mouseClick(control(u"LKreska"_s), Qt::LeftButton);
    EXPECT_TRUE(editors.calls.isEmpty());
    EXPECT_EQ(qobject_cast<LabelButton *>(control(u"LKreska"_s))->currentColour(), InterfaceColours::normal);
    EXPECT_EQ(tw.ws.workMode, 42);
}

TEST_F(MainWindowTest, HintsFollowTheMouse)
{
    const struct {
        const char16_t *item;
        const char16_t *headline;
    } headlines[] = {
        {u"LNewTest", u"Tworzy od podstaw nowy test."},
        {u"LOpenTest", u"Otwiera do edycji istniejący test."},
        {u"LNewPytanie", u"Tworzy nowe pytanie."},
        {u"LOpenPytanie", u"Otwiera do edycji istniejące pytanie."},
        {u"LGenerujZestaw", u"Generuje zestaw pytań na podstawie testu."},
        {u"LNewListaUczniow", u"Tworzy nową listę uczniów."},
        {u"LOpenListaUczniow", u"Otwiera do edycji listę uczniów."},
        {u"LNewListaTestow", u"Tworzy nową listę testów."},
        {u"LOpenListaTestow", u"Otwiera do edycji listę testów."},
        {u"LNewListaPytan", u"Tworzy nową listę zestawów pytań."},
        {u"LOpenListaPytan", u"Otwiera do edycji listę zestawów pytań."},
        {u"LNewIniTest", u"Tworzy nowy plik ustawień modułu Test."},
        {u"LNewIniNauka", u"Tworzy nowy plik ustawień modułu Nauka."},
        {u"LOpenIni", u"Otwiera do edycji plik ini."},
        {u"LOProgramie", u"Krótka informacja o programie."},
        {u"LHelp", u"Pomoc do programu."},
        {u"LOpenEdytorIni", u"Zmienia ustawienia edytora testów."},
    };
    for (const auto &h : headlines) {
        const QString name = QString::fromUtf16(h.item);
        SCOPED_TRACE(name.toStdString());
        openGroupOf(name);
        hover(control(name));
        const QStringList lines = window.description().split(u'\n');
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines[0], QString::fromUtf16(h.headline));
        EXPECT_TRUE(lines[1].isEmpty());
        EXPECT_GT(lines[2].size(), 20);
        EXPECT_TRUE(control(name)->isHot());
    }
    EXPECT_EQ(window.description(), u"Zmienia ustawienia edytora testów.\n\n"
                                    u"Tutaj zmienisz opcje edytora, z którego właśnie korzystasz."_s);

    // The next item takes over: the one before goes back to the normal colour.
    hover(control(u"LOProgramie"_s));
    EXPECT_EQ(window.description(), u"Krótka informacja o programie.\n\nKto, kiedy, wersja programu."_s);
    EXPECT_FALSE(control(u"LOpenEdytorIni"_s)->isHot());

    // The menu picture below the items and the window's background clear the panel.
    hover(QPoint(150, 520));
    EXPECT_TRUE(window.description().isEmpty());
    EXPECT_FALSE(control(u"LOProgramie"_s)->isHot());
    hover(control(u"LHelp"_s));
    EXPECT_FALSE(window.description().isEmpty());
    hover(QPoint(600, 300));
    EXPECT_TRUE(window.description().isEmpty());
    // A group header has no hint either.
    hover(control(u"LHelp"_s));
    hover(control(u"LTesty"_s));
    EXPECT_TRUE(window.description().isEmpty());
}

TEST_F(MainWindowTest, Keys)
{
    QSignalSpy toggles(&window, &TFGlowny::windowModeToggleRequested);

    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(prompts.helpPages, QStringList{u"index.htm"_s});
    QTest::keyClick(&window, Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(editors.calls, QStringList{u"showLogWindow@0"_s});
    QTest::keyClick(&window, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(toggles.size(), 1);

    // Alt+F4, other Alt keys and U, F4 without their modifier do nothing.
    for (const auto &[key, modifiers] :
         {std::pair{Qt::Key_F4, Qt::AltModifier}, std::pair{Qt::Key_X, Qt::AltModifier},
          std::pair{Qt::Key_F1, Qt::AltModifier}, std::pair{Qt::Key_U, Qt::NoModifier},
          std::pair{Qt::Key_F4, Qt::NoModifier}, std::pair{Qt::Key_U, Qt::ControlModifier},
          std::pair{Qt::Key_Escape, Qt::NoModifier}}) {
        QTest::keyClick(&window, key, modifiers);
        EXPECT_TRUE(window.isVisible()) << key;
    }
    EXPECT_EQ(prompts.helpPages.size(), 1);
    EXPECT_EQ(editors.calls.size(), 1);
    EXPECT_EQ(toggles.size(), 1);

    // The window system's close request (Alt+F4 on the desktop) is refused as well.
    QCloseEvent request;
    QSpontaneKeyEvent::setSpontaneous(&request);
    QCoreApplication::instance()->notify(&window, &request);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, WindowButtons)
{
    QSignalSpy toggles(&window, &TFGlowny::windowModeToggleRequested);
    QSignalSpy closes(&window, &TFGlowny::closeRequested);
    QSignalSpy minimizes(&window, &TFGlowny::minimizeRequested);
    QTest::mouseClick(control(u"LBig"_s), Qt::LeftButton);
    QTest::mouseClick(control(u"LClose"_s), Qt::LeftButton);
    QTest::mouseClick(control(u"LMinimize"_s), Qt::LeftButton);
    EXPECT_EQ(toggles.size(), 1);
    EXPECT_EQ(closes.size(), 1);
    EXPECT_EQ(minimizes.size(), 1);
}

void sendMouse(QWidget *widget, QEvent::Type type, QPoint global)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, widget->mapFromGlobal(global), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void drag(QWidget *strip, QPoint by)
{
    const QPoint start = strip->mapToGlobal(QPoint(60, 20));
    sendMouse(strip, QEvent::MouseButtonPress, start);
    sendMouse(strip, QEvent::MouseMove, start + by);
    sendMouse(strip, QEvent::MouseButtonRelease, start + by);
}

TEST_F(MainWindowTest, TitleStripDragsOnlyInWindowMode0)
{
    tw.ws.mainLeft = 100;
    tw.ws.mainTop = 50;
    window.hide();
    window.show();
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    QWidget *strip = window.findChild<QWidget *>(u"LListwa"_s);
    ASSERT_NE(strip, nullptr);

    drag(strip, {25, 15});
    EXPECT_EQ(window.pos(), QPoint(125, 65));
    EXPECT_EQ(QPoint(tw.ws.mainLeft, tw.ws.mainTop), QPoint(125, 65));

    tw.ws.settings.wo = 1;
    window.windowModeChanged();
    drag(strip, {25, 15});
    EXPECT_EQ(window.pos(), QPoint(125, 65));
    EXPECT_EQ(QPoint(tw.ws.mainLeft, tw.ws.mainTop), QPoint(125, 65));
}

// Drops on the main and the background window.
struct DropCase {
    const char *name;
    QStringList paths;
    bool unsavedWork;
    QStringList calls;
    QString mainMessage;       // empty: none
    QString backgroundMessage; // empty: none
};

void PrintTo(const DropCase &c, std::ostream *os)
{
    *os << c.name;
}

class Drops : public ::testing::TestWithParam<DropCase> {};

void drop(QWidget *target, const QStringList &paths)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
    EXPECT_TRUE(event.isAccepted());
    // The drop is finished before anything is opened.
    QCoreApplication::processEvents();
}

TEST_P(Drops, OpenTheFirstFileByItsExtension)
{
    const DropCase &c = GetParam();
    for (const bool onMain : {true, false}) {
        SCOPED_TRACE(onMain ? "main window" : "background");
        TempWorkspace tw;
        ScriptedPrompts prompts;
        tw.ws.prompts = &prompts;
        RecordingEditors editors(tw.ws);
        editors.modified = c.unsavedWork;
        MainCommands commands(tw.ws, editors);
        TFGlowny window(tw.ws, commands, editors);
        TFTloBig background(commands);
        drop(onMain ? static_cast<QWidget *>(&window) : &background, c.paths);
        EXPECT_EQ(editors.calls, c.calls);
        const QString expected = onMain ? c.mainMessage : c.backgroundMessage;
        if (expected.isEmpty()) {
            EXPECT_TRUE(prompts.messages.isEmpty());
        } else {
            ASSERT_EQ(prompts.messages.size(), 1);
            EXPECT_EQ(prompts.messages[0].text, expected);
            EXPECT_EQ(prompts.messages[0].kind, MessageKind::CloseOnly);
            EXPECT_EQ(prompts.messages[0].icon, MessageIcon::WarningIcon);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    MainAndBackground, Drops,
    ::testing::Values(
        DropCase{"ThreeFilesOpenTheFirst",
                 {u"/d/pytanie.skq"_s, u"/d/test.skt"_s, u"/d/klasa.sku"_s},
                 false,
                 {u"resetMainMenu"_s, u"closeOtherWindows"_s, u"openQuestionFile /d/pytanie.skq"_s},
                 {},
                 {}},
        DropCase{"CapitalExtension",
                 {u"/d/Plan.SKQ"_s},
                 false,
                 {u"resetMainMenu"_s, u"closeOtherWindows"_s, u"openQuestionFile /d/Plan.SKQ"_s},
                 {},
                 {}},
        DropCase{"StudentList",
                 {u"/d/a.Sku"_s},
                 false,
                 {u"resetMainMenu"_s, u"closeOtherWindows"_s, u"openStudentListFile /d/a.Sku"_s},
                 {},
                 {}},
        DropCase{"TestList",
                 {u"/d/b.skg"_s},
                 false,
                 {u"resetMainMenu"_s, u"closeOtherWindows"_s, u"openTestListFile /d/b.skg"_s},
                 {},
                 {}},
        DropCase{"SetList",
                 {u"/d/c.skz"_s},
                 false,
                 {u"resetMainMenu"_s, u"closeOtherWindows"_s, u"openSetListFile /d/c.skz"_s},
                 {},
                 {}},
        DropCase{"Test",
                 {u"/d/plan.skt"_s},
                 false,
                 {u"resetMainMenu"_s, u"closeOtherWindows"_s, u"openTestFile /d/plan.skt"_s},
                 {},
                 {}},
        DropCase{"NoExtension", {u"/d/plan"_s}, false, {}, unsupportedOnMain, unsupportedOnBackground},
        DropCase{"DotOnlyInTheFolder",
                 {u"/d/wersja.skt/plan"_s},
                 false,
                 {},
                 unsupportedOnMain,
                 unsupportedOnBackground},
        DropCase{"OtherExtension",
                 {u"/d/notatki.txt"_s, u"/d/plan.skt"_s},
                 false,
                 {},
                 unsupportedOnMain,
                 unsupportedOnBackground},
        DropCase{"UnsavedWork", {u"/d/plan.skt"_s}, true, {}, unsavedWork, unsavedWork}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
