#include "ModalDriver.h"
#include "toolkit/InterfaceColours.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinnedWindow.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

using namespace Qt::StringLiterals;

namespace {

// A window of the kind every editor is: the message box's skin, a field, a drag strip.
class SampleWindow : public SkinnedWindow {
public:
    SampleWindow() : SkinnedWindow(u"FWarning"_s, u"komunikat.htm"_s)
    {
        field = new QLineEdit(this);
        field->setGeometry(20, 60, 100, 22);
        other = new QLineEdit(this);
        other->setGeometry(20, 90, 100, 22);
        addDragStrip({0, 0, 300, 34});
    }
    void tabPressed() override { ++tabs; }

    QLineEdit *field;
    QLineEdit *other;
    int tabs = 0;
};

// Counts the Tab presses that reach a widget.
class TabCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Tab)
            ++count;
        return false;
    }
};

// Receives what QDesktopServices would hand to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    UrlRecorder() { QDesktopServices::setUrlHandler(u"file"_s, this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(u"file"_s); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

void sendMouse(QWidget *target, QEvent::Type type, QPoint global)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(target->mapFromGlobal(global)), QPointF(global), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

TEST(SkinnedWindow, TakesItsSizeFromTheSkin)
{
    SampleWindow window;
    EXPECT_TRUE(window.skinLoaded());
    EXPECT_EQ(window.size(), QSize(440, 210));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
}

TEST(SkinnedWindow, KeysThatCloseOrdinaryDialogsAreSwallowed)
{
    SampleWindow window;
    window.show();
    for (const auto &[key, modifiers] : {std::pair{Qt::Key_Escape, Qt::NoModifier},
                                         std::pair{Qt::Key_Return, Qt::NoModifier},
                                         std::pair{Qt::Key_F4, Qt::AltModifier}}) {
        QTest::keyClick(&window, key, modifiers);
        EXPECT_TRUE(window.isVisible()) << key;
        QTest::keyClick(window.field, key, modifiers);
        EXPECT_TRUE(window.isVisible()) << key;
    }
    EXPECT_TRUE(window.isVisible());

    // A close request of the window system (Alt+F4 on most desktops) is refused too…
    QCloseEvent request;
    QSpontaneKeyEvent::setSpontaneous(&request);
    QCoreApplication::instance()->notify(&window, &request); // sendEvent would clear the spontaneous mark
    EXPECT_TRUE(window.isVisible());
    // …while the program itself still closes it.
    window.close();
    EXPECT_FALSE(window.isVisible());
}

TEST(SkinnedWindow, F1OpensTheHelpPageBesideTheProgram)
{
    UrlRecorder recorder;
    SampleWindow window;
    window.show();
    QTest::keyClick(window.field, Qt::Key_F1);
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls[0].toLocalFile(), QCoreApplication::applicationDirPath() + u"/Pomoc/komunikat.htm"_s);
    window.hide();
}

TEST(SkinnedWindow, DragStripMovesTheWindow)
{
    SampleWindow window;
    window.placeAt({100, 120});
    window.show();
    QSignalSpy finished(&window, &SkinnedWindow::dragFinished);
    QWidget *strip = window.findChild<QWidget *>(u"LListwa"_s);
    ASSERT_EQ(strip, window.dragStrip());

    const QPoint start = strip->mapToGlobal(QPoint(50, 10));
    sendMouse(strip, QEvent::MouseButtonPress, start);
    sendMouse(strip, QEvent::MouseMove, start + QPoint(10, 5));
    sendMouse(strip, QEvent::MouseMove, start + QPoint(30, 20));
    sendMouse(strip, QEvent::MouseButtonRelease, start + QPoint(30, 20));
    EXPECT_EQ(window.pos(), QPoint(130, 140));
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished[0][0].toPoint(), QPoint(130, 140));

    // Moving without the button held does nothing; a disabled strip does nothing either.
    sendMouse(strip, QEvent::MouseMove, start + QPoint(90, 90));
    window.setDragEnabled(false);
    sendMouse(strip, QEvent::MouseButtonPress, start);
    sendMouse(strip, QEvent::MouseMove, start + QPoint(50, 50));
    sendMouse(strip, QEvent::MouseButtonRelease, start + QPoint(50, 50));
    EXPECT_EQ(window.pos(), QPoint(130, 140));
    EXPECT_EQ(finished.size(), 1);
    window.hide();
}

TEST(SkinnedWindow, Placement)
{
    SampleWindow origin;
    origin.placeAt({40, 50});
    SampleWindow window;
    window.placeAt(origin.pos() + QPoint(190, 80));
    EXPECT_EQ(window.pos(), QPoint(230, 130));
    window.centreOnScreen();
    EXPECT_EQ(window.geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    window.cutCorners(4);
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(window.mask().contains(QPoint(439, 209)));
    EXPECT_TRUE(window.mask().contains(QPoint(4, 4)));
    EXPECT_TRUE(window.mask().contains(QPoint(220, 0)));
}

TEST(TabFilter, TabNeverReachesTheProgramsWindows)
{
    SampleWindow window;
    window.show();
    TabCounter counter;
    window.field->installEventFilter(&counter);
    QTest::keyClick(window.field, Qt::Key_Tab);
    QTest::keyClick(window.field, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(counter.count, 0);
    EXPECT_EQ(window.tabs, 2);

    // Other keys pass.
    typeText(window.field, u"ąę"_s);
    EXPECT_EQ(window.field->text(), u"ąę"_s);
    window.hide();
}

// A dialog as the editors' dialogs are: a line field, a text box, a field on a panel of its own, and
// hooks that count what reaches them.
class HookWindow : public SkinnedWindow {
public:
    explicit HookWindow(bool enterAcceptsInTextBoxes) : SkinnedWindow(u"FWarning"_s, u"komunikat.htm"_s)
    {
        line = new QLineEdit(this);
        box = new QPlainTextEdit(this);
        auto *panel = new QWidget(this);
        nested = new QLineEdit(panel);
        setEnterAcceptsInTextBoxes(enterAcceptsInTextBoxes);
        setHelpOpener([this](const QString &page) { pages << page; });
    }
    bool acceptKey() override
    {
        ++accepts;
        fields << keyField();
        return true;
    }
    bool cancelKey() override
    {
        ++cancels;
        return true;
    }
    bool commandKey(const QKeyEvent *key) override
    {
        if (key->key() != Qt::Key_F10)
            return false;
        ++commands;
        return true;
    }

    QLineEdit *line;
    QPlainTextEdit *box;
    QLineEdit *nested;
    int accepts = 0;
    int cancels = 0;
    int commands = 0;
    QList<const QWidget *> fields;
    QStringList pages;
};

TEST(SkinnedWindow, EnterEscF1AndCommandKeysOfEveryFieldReachTheWindowOnce)
{
    HookWindow window(false);
    window.show();
    for (QWidget *field : {static_cast<QWidget *>(window.line), static_cast<QWidget *>(window.nested),
                           static_cast<QWidget *>(&window)}) {
        SCOPED_TRACE(field == &window ? "window" : field == window.line ? "line" : "nested");
        window.accepts = window.cancels = window.commands = 0;
        window.pages.clear();
        window.fields.clear();
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(field, Qt::Key_Escape);
        QTest::keyClick(field, Qt::Key_F10);
        QTest::keyClick(field, Qt::Key_F1);
        QTest::keyClick(field, Qt::Key_F4, Qt::AltModifier);
        EXPECT_EQ(window.accepts, 2);
        EXPECT_EQ(window.cancels, 1);
        EXPECT_EQ(window.commands, 1);
        EXPECT_EQ(window.pages, QStringList{u"komunikat.htm"_s});
        EXPECT_TRUE(window.isVisible());
        // The hook is told the field; a key of the window itself has none.
        const QWidget *expected = field == &window ? nullptr : field;
        EXPECT_EQ(window.fields, (QList<const QWidget *>{expected, expected}));
        // Enter with Shift or Ctrl is no accept.
        QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(field, Qt::Key_Escape, Qt::ControlModifier);
        EXPECT_EQ(window.accepts, 2);
        EXPECT_EQ(window.cancels, 1);
    }
    // Typing still reaches the field.
    typeText(window.line, u"ąę"_s);
    EXPECT_EQ(window.line->text(), u"ąę"_s);
    window.hide();
}

TEST(SkinnedWindow, EnterInATextBoxBreaksTheLineUnlessTheWindowSaysOtherwise)
{
    for (const bool accepts : {false, true}) {
        SCOPED_TRACE(accepts);
        HookWindow window(accepts);
        window.show();
        window.box->setFocus();
        typeText(window.box, u"a"_s);
        QTest::keyClick(window.box, Qt::Key_Return);
        typeText(window.box, u"b"_s);
        EXPECT_EQ(window.accepts, accepts ? 1 : 0);
        EXPECT_EQ(window.box->toPlainText(), accepts ? u"ab"_s : u"a\nb"_s);
        // Esc leaves from a text box too.
        QTest::keyClick(window.box, Qt::Key_Escape);
        EXPECT_EQ(window.cancels, 1);
        window.hide();
    }
}

TEST(SkinnedWindow, TheWindowBelowGetsTheKeyboardBackWhenADialogOverItCloses)
{
    ModalWatchdog watchdog;
    SampleWindow below;
    SampleWindow dialog;
    bool dialogShown = false;
    whenModal([&](QWidget *modal) {
        ASSERT_EQ(modal, &below);
        below.other->setFocus();
        whenModal([&](QWidget *over) {
            dialogShown = over == &dialog;
            dialog.reject();
            // The keyboard goes nowhere, as it does without a window manager.
            QWindowSystemInterface::handleWindowActivated(nullptr);
            QWindowSystemInterface::flushWindowSystemEvents();
            EXPECT_EQ(QApplication::activeWindow(), nullptr);
        });
        dialog.exec();
        EXPECT_TRUE(dialogShown);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &below; }, 2000));
        EXPECT_EQ(QApplication::focusWidget(), below.other);
        below.reject();
    });
    below.exec();
}

TEST(TabFilter, FileDialogsKeepTheirTab)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    auto *name = dialog.findChild<QLineEdit *>(u"fileNameEdit"_s);
    ASSERT_NE(name, nullptr);
    TabCounter counter;
    name->installEventFilter(&counter);
    QTest::keyClick(name, Qt::Key_Tab);
    EXPECT_EQ(counter.count, 1);
    dialog.hide();
}

TEST(LabelButton, ColoursFollowTheMouseAndTheEnabledState)
{
    QWidget parent;
    LabelButton label(u"LZapisz"_s, u"Zapisz"_s, {0, 0, 80, 20}, &parent);
    QSignalSpy hovered(&label, &LabelButton::hovered);
    EXPECT_EQ(label.currentColour(), InterfaceColours::normal);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), InterfaceColours::normal);
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&label, &enter);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), InterfaceColours::hover);
    EXPECT_EQ(hovered.size(), 1);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&label, &leave);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), InterfaceColours::normal);

    label.setHot(true);
    label.setEnabled(false);
    EXPECT_EQ(label.palette().color(QPalette::Disabled, QPalette::WindowText), InterfaceColours::disabled);
    EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);
    QCoreApplication::sendEvent(&label, &enter);
    EXPECT_EQ(hovered.size(), 1);
    label.setEnabled(true);
    EXPECT_EQ(label.currentColour(), InterfaceColours::normal);

    label.setNormalColour(InterfaceColours::questionEditor);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), InterfaceColours::questionEditor);
}

TEST(LabelButton, ClickedOnlyWhenReleasedOverAnEnabledLabel)
{
    QWidget parent;
    parent.resize(200, 100);
    LabelButton label(u"LZapisz"_s, u"Zapisz"_s, {0, 0, 80, 20}, &parent);
    parent.show();
    QSignalSpy clicked(&label, &LabelButton::clicked);
    QTest::mouseClick(&label, Qt::LeftButton);
    EXPECT_EQ(clicked.size(), 1);
    QTest::mouseClick(&label, Qt::RightButton);
    EXPECT_EQ(clicked.size(), 1);
    // Pressed on the label, released away from it.
    QTest::mousePress(&label, Qt::LeftButton, {}, {5, 5});
    QTest::mouseRelease(&label, Qt::LeftButton, {}, {150, 60});
    EXPECT_EQ(clicked.size(), 1);
    label.setEnabled(false);
    QTest::mouseClick(&label, Qt::LeftButton);
    EXPECT_EQ(clicked.size(), 1);
}

} // namespace

#include "ToolkitTest.moc"
