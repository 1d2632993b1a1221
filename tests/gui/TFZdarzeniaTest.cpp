#include "program/TFZdarzenia.h"

#include "ModalDriver.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "support/WindowTestSupport.h"
#include "toolkit/LabelButton.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kReadProblem = u"Problem z wczytaniem pliku zdarzeń.\rPlik jest uszkodzony."_s;
const QString kClearQuestion = u"Czy rzeczywiście wyczyścić?\rTego nie można cofnąć."_s;

// A workspace with its settings file and a log of two entries, filter 4; the main window at (30, 20).
class TFZdarzeniaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.mainLeft = 30;
        t.ws.mainTop = 20;
        ASSERT_TRUE(WriteDefaultEditorSettings(t.ws));
        t.ws.settings.dfpz = 4;
        ASSERT_TRUE(SaveEditorSettings(t.ws));
        t.ws.log.setFilterLevel(4);
        ASSERT_TRUE(t.ws.log.clear());
        t.ws.logEvent(4, u"Zapisano plik testu."_s);
        t.ws.logEvent(0, u"Błąd przetwarzania listy: źdźbło.sku"_s);
    }

    QComboBox *levels() const { return window.findChild<QComboBox *>(u"CListaPlikow"_s); }
    QPlainTextEdit *view() const { return window.findChild<QPlainTextEdit *>(u"MText"_s); }
    void click(const char16_t *name)
    {
        QWidget *widget = control(&window, name);
        ASSERT_NE(widget, nullptr);
        ::click(widget);
    }
    // Chooses a level the way the user does: the arrow, then the item.
    void chooseLevel(int level)
    {
        click(u"ButListaPlikow");
        ASSERT_TRUE(window.levelListOpen());
        QAbstractItemView *list = levels()->view();
        const QRect item = list->visualRect(list->model()->index(level, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        EXPECT_FALSE(window.levelListOpen());
    }
    int storedLevel() const
    {
        Workspace other;
        other.paths = t.ws.paths;
        LoadEditorSettings(other);
        return other.settings.dfpz;
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    TFZdarzenia window{t.ws};
    ModalWatchdog watchdog;
};

TEST_F(TFZdarzeniaTest, OpensOnTheFilterLevelWithTheWholeLog)
{
    ASSERT_TRUE(window.prepare());
    QStringList items;
    for (int i = 0; i < levels()->count(); ++i)
        items << levels()->itemText(i);
    EXPECT_EQ(items, (QStringList{u"Pozom 0"_s, u"Poziom 1"_s, u"Poziom 2"_s, u"Poziom 3"_s, u"Poziom 4"_s,
                                  u"Poziom 5"_s}));
    EXPECT_EQ(levels()->currentIndex(), 4);
    EXPECT_EQ(levels()->toolTip(), u"Lista plików"_s);
    EXPECT_EQ(window.findChild<QWidget *>(u"LClose"_s)->toolTip(), u"Zamknij"_s);

    const QStringList lines = view()->toPlainText().split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(u" - Zapisano plik testu."_s));
    EXPECT_TRUE(lines[1].endsWith(u" - Błąd przetwarzania listy: źdźbło.sku"_s));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(TFZdarzeniaTest, TheArrowOpensAndClosesTheLevelList)
{
    window.prepare();
    window.show();
    EXPECT_FALSE(window.levelListOpen());
    click(u"ButListaPlikow");
    EXPECT_TRUE(window.levelListOpen());
    click(u"ButListaPlikow");
    EXPECT_FALSE(window.levelListOpen());

    // With the list open a press on the arrow goes to the list's own window, which closes; the list
    // must stay closed when the button is let go over the arrow.
    click(u"ButListaPlikow");
    ASSERT_TRUE(window.levelListOpen());
    QWidget *list = levels()->view()->window();
    auto *arrow = window.findChild<QWidget *>(u"ButListaPlikow"_s);
    const QPoint onArrow = list->mapFromGlobal(arrow->mapToGlobal(arrow->rect().center()));
    QTest::mousePress(list, Qt::LeftButton, {}, onArrow);
    QCoreApplication::processEvents(); // where the press is replayed, it is posted
    QTest::mouseRelease(arrow, Qt::LeftButton, {}, arrow->rect().center());
    EXPECT_FALSE(window.levelListOpen());
    window.hide();
}

TEST_F(TFZdarzeniaTest, ChoosingALevelStoresItAtOnce)
{
    window.prepare();
    window.show();
    const QByteArray logBefore = t.readFile(t.ws.paths.logPath);

    // Level 2 admits only failures: the change entry (level 3) is not written.
    chooseLevel(2);
    EXPECT_EQ(t.ws.log.filterLevel(), 2);
    EXPECT_EQ(storedLevel(), 2);
    EXPECT_EQ(t.readFile(t.ws.paths.logPath), logBefore);

    chooseLevel(3);
    EXPECT_EQ(t.ws.log.filterLevel(), 3);
    EXPECT_EQ(storedLevel(), 3);
    const QStringList texts = t.logTexts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[2], u"Zmieniono poziom zdarzen. Aktualny poziom, to: 3"_s);

    chooseLevel(0);
    EXPECT_EQ(storedLevel(), 0);
    EXPECT_EQ(t.logTexts().size(), 3);
    EXPECT_TRUE(prompts.messages.isEmpty());
    window.hide();
}

TEST_F(TFZdarzeniaTest, OnlyYesEmptiesTheLog)
{
    const struct {
        MessageResult answer;
        bool emptied;
    } cases[] = {{MessageResult::No, false}, {MessageResult::Cancel, false}, {MessageResult::Yes, true}};
    window.prepare();
    const QByteArray before = t.readFile(t.ws.paths.logPath);
    const QString shown = view()->toPlainText();
    for (const auto &c : cases) {
        prompts.messages.clear();
        prompts.queueAnswer(c.answer);
        click(u"LWyczysc");
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(prompts.messages[0].text, kClearQuestion);
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::YesNoCancel);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::InfoIcon);
        if (c.emptied) {
            EXPECT_TRUE(QFile::exists(t.ws.paths.logPath));
            EXPECT_EQ(QFileInfo(t.ws.paths.logPath).size(), 0);
            EXPECT_TRUE(view()->toPlainText().isEmpty());
        } else {
            EXPECT_EQ(t.readFile(t.ws.paths.logPath), before);
            EXPECT_EQ(view()->toPlainText(), shown);
        }
    }
    // The clearing itself is not logged; the next admitted entry is the only line.
    EXPECT_EQ(QFileInfo(t.ws.paths.logPath).size(), 0);
    t.ws.logEvent(4, u"Zapisano plik pytania."_s);
    EXPECT_EQ(t.logTexts(), QStringList{u"Zapisano plik pytania."_s});
}

TEST_F(TFZdarzeniaTest, ALogThatCannotBeReadKeepsTheWindowClosed)
{
    const struct {
        const char *name;
        std::function<void(const QString &)> spoil;
    } cases[] = {
        {"missing", [](const QString &path) { QFile::remove(path); }},
        {"a folder in its place",
         [](const QString &path) {
             QFile::remove(path);
             QDir().mkdir(path);
         }},
    };
    for (const auto &c : cases) {
        c.spoil(t.ws.paths.logPath);
        prompts.messages.clear();
        TFZdarzenia::showLogWindow(t.ws, nullptr); // would wait for the watchdog if it opened
        ASSERT_EQ(prompts.messages.size(), 1) << c.name;
        EXPECT_EQ(prompts.messages[0].text, kReadProblem);
        EXPECT_EQ(prompts.messages[0].kind, MessageKind::CloseOnly);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::InfoIcon);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        QDir().rmdir(t.ws.paths.logPath);
    }
    // The log is not touched (nor made) by the attempt.
    EXPECT_FALSE(QFile::exists(t.ws.paths.logPath));
}

TEST_F(TFZdarzeniaTest, OpensBesideTheMainWindowAndBothCloseControlsClose)
{
    for (const char16_t *control : {u"LZamknij", u"LClose"}) {
        QPoint at;
        QString name;
        whenModal([&](QWidget *modal) {
            at = modal->pos();
            name = modal->objectName();
            auto *close = modal->findChild<LabelButton *>(QString::fromUtf16(control));
            ASSERT_NE(close, nullptr);
            QTest::mouseClick(close, Qt::LeftButton);
        });
        TFZdarzenia::showLogWindow(t.ws, nullptr);
        EXPECT_EQ(name, u"FZdarzenia"_s);
        EXPECT_EQ(at, QPoint(30 + 100, 20 + 37));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_TRUE(prompts.messages.isEmpty());
}

} // namespace
