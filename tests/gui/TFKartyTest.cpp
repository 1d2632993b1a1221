#include "grading/TFKarty.h"

#include "print/AnswerSheet.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "toolkit/LabelButton.h"

#include <QCheckBox>
#include <QFile>
#include <QPainter>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The window shows what the grading session read, and its clicks and keys reach the session.
class TFKartyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        TestModel &m = t.ws.test;
        m.resetTest();
        m.header.questionCount = 2;
        m.header.answerCount = 3;
        for (int k = 1; k <= 2; ++k) {
            m.question(k).text = u"Pytanie %1"_s.arg(k);
            m.question(k).answers = {u"a"_s, u"b"_s, u"c"_s, {}, {}};
            m.question(k).correct = u"00100"_s;
        }
        SheetContent c;
        c.code.fingerprint = testFingerprint(m);
        c.code.questions = 2;
        c.code.answers = 3;
        c.code.pupil = 1;
        c.code.firstName = u"Ewa"_s;
        c.code.surname = u"Śliwa"_s;
        const SheetGeometry g = sheetGeometry(2, 3);
        const qreal k = 150 / 72.0;
        QImage page(qRound(SheetGeometry::kPageWidth * k), qRound(SheetGeometry::kPageHeight * k), QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter p(&page);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        paintAnswerSheet(p, g, c);
        // Question 1: C in ink; question 2: C so faint it needs a person.
        for (int q = 1; q <= 2; ++q) {
            p.setPen(QPen(q == 1 ? QColor(20, 20, 80) : QColor(195, 195, 195), 1.4));
            const QPointF at = g.box(q, 2).centre;
            const qreal r = g.boxHalf * 0.9;
            p.drawLine(at + QPointF(-r, -r), at + QPointF(r, r));
            p.drawLine(at + QPointF(r, -r), at + QPointF(-r, r));
        }
        p.end();
        scan = t.dir.filePath(u"skan.png"_s);
        ASSERT_TRUE(page.save(scan));
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    QString scan;
};

TEST_F(TFKartyTest, ShowsThePupilsAndSettlesADoubtfulMarkWithAClick)
{
    TFKarty window(t.ws);
    EXPECT_TRUE(window.skinLoaded());
    window.show();
    auto *table = window.findChild<QTableWidget *>(u"TWyniki"_s);
    auto *save = window.findChild<LabelButton *>(u"LZapisz"_s);
    auto *settle = window.findChild<LabelButton *>(u"LRozstrzygnij"_s);
    auto *c = window.findChild<QCheckBox *>(u"ChOdp3"_s);
    ASSERT_TRUE(table && save && settle && c);
    EXPECT_FALSE(save->isEnabled());

    prompts.queueFileName(scan);
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    window.session().wait();
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 0)->text(), u"Ewa Śliwa"_s);
    EXPECT_EQ(table->item(0, 3)->text(), u"1 / 2 ?"_s);
    EXPECT_TRUE(settle->isEnabled());

    c->click();
    QTest::mouseClick(settle, Qt::LeftButton);
    EXPECT_EQ(table->item(0, 3)->text(), u"2 / 2"_s);
    EXPECT_EQ(table->item(0, 5)->text(), u"celujący"_s);
    EXPECT_FALSE(settle->isEnabled());

    const QString csv = t.dir.filePath(u"wyniki.csv"_s);
    prompts.queueFileName(csv);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(u"Ewa Śliwa;;A;2;2;100;celujący;C;C"_s));
}

} // namespace
