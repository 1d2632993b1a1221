#include "ModalDriver.h"
#include "question/TFZegar.h"
#include "program/WindowPrompts.h"

#include <QMovie>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Counts how often a window is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

TEST(TFZegar, ShowsTheAnimationAtThePlaceAndClosesItself)
{
    TFZegar clock;
    EXPECT_EQ(clock.duration(), 2000);
    EXPECT_EQ(clock.size(), QSize(44, 44));
    clock.setDuration(20);
    ModalWatchdog watchdog;
    bool seen = false;
    whenModal([&](QWidget *modal) {
        seen = true;
        EXPECT_EQ(modal, &clock);
        EXPECT_EQ(modal->pos(), QPoint(338, 402));
        EXPECT_EQ(clock.animation()->state(), QMovie::Running);
        EXPECT_EQ(clock.animation()->frameCount(), 8);
        auto *timer = clock.findChild<QTimer *>(u"Zegar"_s);
        ASSERT_NE(timer, nullptr);
        EXPECT_TRUE(timer->isActive());
    });
    clock.showAt(338, 402);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(clock.isVisible());
    EXPECT_EQ(clock.animation()->state(), QMovie::NotRunning);
}

TEST(TFZegar, KeysDoNotCloseIt)
{
    TFZegar clock;
    clock.setDuration(200);
    ModalWatchdog watchdog;
    bool openAfterKeys = false;
    whenModal([&](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_Escape);
        QTest::keyClick(modal, Qt::Key_Return);
        QTest::keyClick(modal, Qt::Key_F4, Qt::AltModifier);
        openAfterKeys = modal->isVisible();
    });
    clock.showAt(10, 10);
    EXPECT_TRUE(openAfterKeys);
}

TEST(TFZegar, TwoSavesShowTheClockTwiceOneAfterTheOther)
{
    WindowPrompts prompts;
    prompts.setClockDuration(10);
    ShowCounter counter;
    prompts.clock().installEventFilter(&counter);
    ModalWatchdog watchdog;
    prompts.showSavedClock(5, 6);
    EXPECT_FALSE(prompts.clock().isVisible());
    prompts.showSavedClock(7, 8);
    EXPECT_EQ(counter.shows, 2);
    EXPECT_EQ(prompts.clock().pos(), QPoint(7, 8));
}

} // namespace
