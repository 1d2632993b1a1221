#include "ModalDriver.h"
#include "question/QuestionFixture.h"
#include "question/TFWstawObraz.h"
#include "question/TFWstawTekst.h"
#include "storage/ArchiveAccess.h"
#include "support/WindowTestSupport.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureView.h"
#include "question/ThumbnailStripView.h"

#include <QListWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class TFWstawTest : public QuestionFixture {
protected:
    void SetUp() override
    {
        QuestionFixture::SetUp();
        editor.position = {100, 60};
    }
    static LabelButton *label(QWidget *w, const char16_t *name) { return control<LabelButton>(w, name); }
    void putPictures(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(PutStream(u"p%1.bmp"_s.arg(i), bmp(20 + i, 20), *t.ws.workingTest));
    }
    ModalWatchdog watchdog;
};

} // namespace

TEST_F(TFWstawTest, OpensBesideTheEditorAndEscCancels)
{
    editTestQuestion();
    TFWstawTekst dialog(editor);
    QPoint at;
    int result = -1;
    whenModal([&](QWidget *modal) {
        at = modal->pos();
        QTest::keyClick(modal, Qt::Key_F1);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    dialog.run();
    result = dialog.result();
    EXPECT_EQ(at, QPoint(220, 80));
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(prompts.helpPages, QStringList{u"wstaw_tekst.htm"_s});
    EXPECT_EQ(link.modifiedCalls, 0);
}

TEST_F(TFWstawTest, AltF4DoesNotCloseIt)
{
    editNewSingle();
    TFWstawObraz dialog(editor);
    bool stillOpen = false;
    whenModal([&](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_F4, Qt::AltModifier);
        stillOpen = modal->isVisible();
        QTest::mouseClick(modal->findChild<QWidget *>(u"ImAnulujWstawObraz"_s), Qt::LeftButton);
    });
    dialog.run();
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(dialog.showsSingleQuestionSkin());
    EXPECT_FALSE(label(&dialog, u"LListaObrazow")->isEnabled());
}

TEST_F(TFWstawTest, NewFileClickAttachesAndCloses)
{
    editTestQuestion();
    prompts.queueFileName(diskFile(u"opis.txt"_s, "tekst"));
    TFWstawTekst dialog(editor);
    whenModal([&](QWidget *modal) { QTest::mouseClick(label(modal, u"LNewTekst"), Qt::LeftButton); });
    dialog.run();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(t.ws.test.question(1).textName, u"opis.txt"_s);
    EXPECT_FALSE(dialog.showsSingleQuestionSkin());
}

TEST_F(TFWstawTest, NothingToRemoveKeepsTheDialogOpen)
{
    editTestQuestion();
    TFWstawTekst dialog(editor);
    dialog.prepare();
    dialog.show();
    EXPECT_FALSE(label(&dialog, u"LUsunTekst")->isEnabled());
    EXPECT_FALSE(label(&dialog, u"LOldTekst")->isEnabled());
    EXPECT_EQ(dialog.previewText(), u"Test nie zawiera jeszcze dodatkowych\nplików tekstowych"_s);
    dialog.hide();
}

TEST_F(TFWstawTest, TextListOpensPicksAndClosesOnTheBackground)
{
    ASSERT_TRUE(PutStream(u"a.txt"_s, "pierwszy", *t.ws.workingTest));
    ASSERT_TRUE(PutStream(u"b.txt"_s, "drugi", *t.ws.workingTest));
    editTestQuestion();
    TFWstawTekst dialog(editor);
    dialog.prepare();
    dialog.show();
    EXPECT_EQ(dialog.previewText(), u"drugi "_s);
    QTest::mouseClick(label(&dialog, u"LListaTekstow"), Qt::LeftButton);
    ASSERT_TRUE(dialog.listPanel()->isVisible());
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_EQ(dialog.list()->item(0)->text(), u"pierwszy "_s);
    // A click on the background closes the list.
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(100, 270));
    EXPECT_FALSE(dialog.listPanel()->isVisible());

    QTest::mouseClick(label(&dialog, u"LListaTekstow"), Qt::LeftButton);
    QListWidget *list = dialog.list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(t.ws.test.question(1).textName, u"a.txt"_s);
}

TEST_F(TFWstawTest, StripArrowsAndClicks)
{
    putPictures(4);
    editTestQuestion();
    TFWstawObraz dialog(editor);
    dialog.prepare();
    dialog.show();
    QTest::mouseClick(label(&dialog, u"LListaObrazow"), Qt::LeftButton);
    ASSERT_TRUE(dialog.listPanel()->isVisible());
    EXPECT_EQ(dialog.stripView()->size(), QSize(370, 120));
    EXPECT_TRUE(dialog.nextArrow()->isEnabled());
    EXPECT_FALSE(dialog.previousArrow()->isEnabled());

    QTest::mouseClick(dialog.nextArrow(), Qt::LeftButton);
    EXPECT_FALSE(dialog.nextArrow()->isEnabled());
    EXPECT_TRUE(dialog.previousArrow()->isEnabled());
    EXPECT_EQ(dialog.commands().strip.offset(), -120);

    // Moved by one cell: 10 px into the view is 130 px into the strip, the second picture.
    QTest::mouseClick(dialog.stripView(), Qt::LeftButton, {}, QPoint(10, 60));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(t.ws.test.question(1).imageName, u"p1.bmp"_s);

    dialog.prepare();
    QTest::mouseClick(label(&dialog, u"LListaObrazow"), Qt::LeftButton);
    QTest::mouseClick(dialog.stripView(), Qt::LeftButton, {}, QPoint(3, 60));
    EXPECT_EQ(t.ws.test.question(1).imageName, u"p0.bmp"_s);
    dialog.hide();
}

TEST_F(TFWstawTest, TwoPicturesLeaveBothArrowsDisabled)
{
    putPictures(2);
    editTestQuestion();
    TFWstawObraz dialog(editor);
    dialog.prepare();
    EXPECT_FALSE(dialog.nextArrow()->isEnabled());
    EXPECT_FALSE(dialog.previousArrow()->isEnabled());
    EXPECT_EQ(dialog.commands().strip.width(), 370);
    EXPECT_EQ(dialog.miniature()->objectName(), u"ImMiniatura"_s);
}
