#include "ModalDriver.h"
#include "program/TFWarning.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// One user action in the box.
struct Step {
    enum Kind { Key, Click, ExpectOpen } kind;
    int key = 0;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    const char16_t *control = nullptr;
};
Step key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { return {Step::Key, k, m, nullptr}; }
Step click(const char16_t *control) { return {Step::Click, 0, Qt::NoModifier, control}; }
const Step stillOpen{Step::ExpectOpen, 0, Qt::NoModifier, nullptr};

struct Case {
    const char *name;
    MessageKind kind;
    std::vector<Step> steps;
    MessageResult expected;
};

void runSteps(QWidget *box, const std::vector<Step> &steps)
{
    for (const Step &step : steps) {
        switch (step.kind) {
        case Step::Key:
            QTest::keyClick(box, static_cast<Qt::Key>(step.key), step.modifiers);
            break;
        case Step::Click: {
            auto *control = box->findChild<QWidget *>(QString::fromUtf16(step.control));
            ASSERT_NE(control, nullptr) << QString::fromUtf16(step.control).toStdString();
            ASSERT_TRUE(control->isVisible()) << QString::fromUtf16(step.control).toStdString();
            QTest::mouseClick(control, Qt::LeftButton);
            break;
        }
        case Step::ExpectOpen:
            EXPECT_TRUE(box->isVisible());
            break;
        }
    }
}

class TFWarningAnswers : public ::testing::TestWithParam<Case> {};

TEST_P(TFWarningAnswers, KeysAndClicksGiveTheAnswer)
{
    const Case &c = GetParam();
    TFWarning box;
    ModalWatchdog watchdog;
    whenModal([&](QWidget *modal) {
        ASSERT_EQ(modal, &box);
        runSteps(modal, c.steps);
    });
    const MessageResult result = box.showMessage(c.kind, MessageIcon::InfoIcon, u"\rTreść."_s);
    EXPECT_EQ(int(result), int(c.expected));
    EXPECT_FALSE(box.isVisible());
}

const Qt::KeyboardModifiers alt = Qt::AltModifier;

INSTANTIATE_TEST_SUITE_P(
    CloseOnly, TFWarningAnswers,
    ::testing::Values(
        Case{"Enter", MessageKind::CloseOnly, {key(Qt::Key_Return)}, MessageResult::Close},
        Case{"KeypadEnter", MessageKind::CloseOnly, {key(Qt::Key_Enter, Qt::KeypadModifier)}, MessageResult::Close},
        Case{"Esc", MessageKind::CloseOnly, {key(Qt::Key_Escape)}, MessageResult::Close},
        Case{"Z", MessageKind::CloseOnly, {key(Qt::Key_Z, Qt::ShiftModifier)}, MessageResult::Close},
        Case{"LowerZ", MessageKind::CloseOnly, {key(Qt::Key_Z)}, MessageResult::Close},
        Case{"CloseLabel", MessageKind::CloseOnly, {click(u"LClose")}, MessageResult::Close},
        Case{"CloseButton", MessageKind::CloseOnly, {click(u"ImButZamknij")}, MessageResult::Close},
        Case{"LettersOfHiddenButtonsDoNothing", MessageKind::CloseOnly,
             {key(Qt::Key_T), key(Qt::Key_N), key(Qt::Key_A), stillOpen, key(Qt::Key_Return)}, MessageResult::Close},
        Case{"ArrowsAndTabDoNothing", MessageKind::CloseOnly,
             {key(Qt::Key_Right), key(Qt::Key_Left), key(Qt::Key_Tab), stillOpen, key(Qt::Key_Return)},
             MessageResult::Close},
        Case{"AltF4AnswersNo", MessageKind::CloseOnly, {key(Qt::Key_F4, alt)}, MessageResult::No}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    YesNoCancel, TFWarningAnswers,
    ::testing::Values(
        Case{"EnterAtOnce", MessageKind::YesNoCancel, {key(Qt::Key_Return)}, MessageResult::Yes},
        Case{"RightEnter", MessageKind::YesNoCancel, {key(Qt::Key_Right), key(Qt::Key_Return)}, MessageResult::No},
        Case{"LeftEnter", MessageKind::YesNoCancel, {key(Qt::Key_Left), key(Qt::Key_Return)}, MessageResult::Cancel},
        Case{"RightWrapsAround", MessageKind::YesNoCancel,
             {key(Qt::Key_Right), key(Qt::Key_Right), key(Qt::Key_Right), key(Qt::Key_Return)}, MessageResult::Yes},
        Case{"LeftTwice", MessageKind::YesNoCancel, {key(Qt::Key_Left), key(Qt::Key_Left), key(Qt::Key_Return)},
             MessageResult::No},
        Case{"TabMovesRight", MessageKind::YesNoCancel, {key(Qt::Key_Tab), key(Qt::Key_Return)}, MessageResult::No},
        Case{"TabTwice", MessageKind::YesNoCancel, {key(Qt::Key_Tab), key(Qt::Key_Tab), key(Qt::Key_Return)},
             MessageResult::Cancel},
        Case{"EscDoesNothing", MessageKind::YesNoCancel, {key(Qt::Key_Escape), stillOpen, key(Qt::Key_Return)},
             MessageResult::Yes},
        Case{"CloseLabelCancels", MessageKind::YesNoCancel, {click(u"LClose")}, MessageResult::Cancel},
        Case{"N", MessageKind::YesNoCancel, {key(Qt::Key_N)}, MessageResult::No},
        Case{"ShiftT", MessageKind::YesNoCancel, {key(Qt::Key_T, Qt::ShiftModifier)}, MessageResult::Yes},
        Case{"A", MessageKind::YesNoCancel, {key(Qt::Key_A)}, MessageResult::Cancel},
        Case{"ZDoesNothing", MessageKind::YesNoCancel, {key(Qt::Key_Z), stillOpen, key(Qt::Key_N)}, MessageResult::No},
        Case{"CtrlNDoesNothing", MessageKind::YesNoCancel,
             {key(Qt::Key_N, Qt::ControlModifier), stillOpen, key(Qt::Key_A)}, MessageResult::Cancel},
        Case{"ClickYes", MessageKind::YesNoCancel, {click(u"ImButTak")}, MessageResult::Yes},
        Case{"ClickNo", MessageKind::YesNoCancel, {click(u"ImButNie")}, MessageResult::No},
        Case{"ClickCancel", MessageKind::YesNoCancel, {click(u"ImButAnuluj")}, MessageResult::Cancel},
        Case{"FunctionAndKeypadKeysDoNothing", MessageKind::YesNoCancel,
             {key(Qt::Key_F5), key(Qt::Key_5, Qt::KeypadModifier), key(Qt::Key_Space), key(Qt::Key_Q),
              stillOpen, key(Qt::Key_Right), key(Qt::Key_Return)},
             MessageResult::No},
        Case{"AltF4AnswersNo", MessageKind::YesNoCancel, {key(Qt::Key_F4, alt)}, MessageResult::No}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TFWarning, WindowSystemCloseAnswersNo)
{
    TFWarning box;
    ModalWatchdog watchdog;
    whenModal([](QWidget *modal) {
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        QCoreApplication::instance()->notify(modal, &close); // sendEvent would clear the spontaneous mark
    });
    EXPECT_EQ(box.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon, u"?"_s), MessageResult::No);
}

TEST(TFWarning, HighlightFollowsTheButtonEnterPresses)
{
    TFWarning box;
    box.prepare(MessageKind::YesNoCancel, MessageIcon::QuestionIcon, u"?"_s);
    auto *yes = box.findChild<PictureButton *>(u"ImButTak"_s);
    auto *no = box.findChild<PictureButton *>(u"ImButNie"_s);
    auto *cancel = box.findChild<PictureButton *>(u"ImButAnuluj"_s);
    const auto highlighted = [&] {
        return std::vector<bool>{yes->isHighlighted(), no->isHighlighted(), cancel->isHighlighted()};
    };
    EXPECT_EQ(box.focusedButton(), TFWarning::FocusYes);
    EXPECT_EQ(highlighted(), (std::vector<bool>{true, false, false}));
    QTest::keyClick(&box, Qt::Key_Left);
    EXPECT_EQ(box.focusedButton(), TFWarning::FocusCancel);
    EXPECT_EQ(highlighted(), (std::vector<bool>{false, false, true}));
    QTest::keyClick(&box, Qt::Key_Left);
    EXPECT_EQ(box.focusedButton(), TFWarning::FocusNo);
    EXPECT_EQ(highlighted(), (std::vector<bool>{false, true, false}));

    // Preparing the next message starts again at yes.
    box.prepare(MessageKind::YesNoCancel, MessageIcon::InfoIcon, u"?"_s);
    EXPECT_EQ(box.focusedButton(), TFWarning::FocusYes);
    EXPECT_EQ(highlighted(), (std::vector<bool>{true, false, false}));
}

TEST(TFWarning, KindChoosesTheButtons)
{
    TFWarning box;
    box.show();
    const auto visible = [&](const char16_t *name) { return box.findChild<QWidget *>(QString::fromUtf16(name))->isVisible(); };
    box.prepare(MessageKind::CloseOnly, MessageIcon::WarningIcon, u"!"_s);
    EXPECT_TRUE(visible(u"ImButZamknij"));
    EXPECT_FALSE(visible(u"ImButTak") || visible(u"ImButNie") || visible(u"ImButAnuluj"));
    EXPECT_TRUE(box.findChild<PictureButton *>(u"ImButZamknij"_s)->isHighlighted());
    EXPECT_EQ(box.focusedButton(), TFWarning::FocusClose);

    box.prepare(MessageKind::YesNoCancel, MessageIcon::QuestionIcon, u"?"_s);
    EXPECT_FALSE(visible(u"ImButZamknij"));
    EXPECT_TRUE(visible(u"ImButTak") && visible(u"ImButNie") && visible(u"ImButAnuluj"));
    box.hide();
}

TEST(TFWarning, TextAndIcon)
{
    TFWarning box;
    const struct {
        MessageIcon icon;
        const char16_t *picture;
    } icons[] = {{MessageIcon::InfoIcon, u"ikoinfo"},
                 {MessageIcon::QuestionIcon, u"ikopytanie"},
                 {MessageIcon::WarningIcon, u"ikouwaga"}};
    auto *icon = box.findChild<QLabel *>(u"ImIkona"_s);
    for (const auto &i : icons) {
        box.prepare(MessageKind::CloseOnly, i.icon, u"x"_s);
        EXPECT_EQ(icon->property("iconName").toString(), QString::fromUtf16(i.picture));
        EXPECT_FALSE(icon->pixmap().isNull());
    }
    // A carriage return starts a new line; markup is shown as typed.
    box.prepare(MessageKind::CloseOnly, MessageIcon::InfoIcon, u"\rWpisz <b>nową</b> nazwę.\r\nDrugi wiersz"_s);
    EXPECT_EQ(box.findChild<QLabel *>(u"LTekstWarning"_s)->text(), u"\nWpisz <b>nową</b> nazwę.\nDrugi wiersz"_s);
}

TEST(TFWarning, CentredOnTheScreen)
{
    TFWarning box;
    ModalWatchdog watchdog;
    QPoint centre;
    whenModal([&](QWidget *modal) {
        centre = modal->geometry().center();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    box.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon, u"x"_s);
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((centre - screenCentre).manhattanLength(), 2);
}

} // namespace
