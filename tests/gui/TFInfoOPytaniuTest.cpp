#include "question/TFInfoOPytaniu.h"

#include "ModalDriver.h"
#include "question/QuestionFixture.h"
#include "question/TFWlasnosciPytania.h"
#include "storage/ArchiveAccess.h"
#include "toolkit/PictureView.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class QuestionWindows : public QuestionFixture {
protected:
    void SetUp() override
    {
        QuestionFixture::SetUp();
        t.ws.workMode = WorkTest;
        t.ws.test.header.answerCount = 4;
        SingleQuestion &q = t.ws.question;
        q.fileName = u"z.skq"_s;
        q.answerCount = 4;
        q.text = u"Pytanie?"_s;
        q.answers = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s};
        q.correct = u"01000"_s;
    }
    ModalWatchdog watchdog;
};

} // namespace

TEST_F(QuestionWindows, InfoStandsBesideTheTestEditorAndEscAddsNothing)
{
    TFInfoOPytaniu info(t.ws);
    QPoint at;
    whenModal([&](QWidget *modal) {
        at = modal->pos();
        QTest::keyClick(modal, Qt::Key_F1);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    EXPECT_FALSE(info.run(&link));
    EXPECT_EQ(at, QPoint(300 + 190, 200 + 80));
    EXPECT_EQ(prompts.helpPages, QStringList{u"pytanie_about.htm"_s});
    EXPECT_EQ(t.ws.test.header.questionCount, 0);
    EXPECT_EQ(info.labelText(u"LNrPoprawnejOdp"_s), u"Poprawne odpowiedzi:   Nr 2"_s);
    EXPECT_EQ(info.labelText(u"LOdpNr5"_s), QString());
}

TEST_F(QuestionWindows, WprowadzAddsAFittingQuestion)
{
    TFInfoOPytaniu info(t.ws);
    whenModal([&](QWidget *modal) {
        QTest::mouseClick(modal->findChild<QWidget *>(u"ImWprowadz"_s), Qt::LeftButton);
    });
    EXPECT_TRUE(info.run(&link));
    EXPECT_EQ(t.ws.test.header.questionCount, 1);
    EXPECT_EQ(link.appended, QList<int>{1});
}

TEST_F(QuestionWindows, AMisfitHasNoAcceptButton)
{
    t.ws.test.header.multipleChoice = 1;
    TFInfoOPytaniu info(t.ws);
    info.prepare(&link);
    EXPECT_FALSE(info.acceptShown());
    EXPECT_TRUE(info.labelText(u"LPodsumowaniePytanieSolo"_s).startsWith(u"Typ pytania lub ilość"_s));
}

TEST_F(QuestionWindows, PropertiesOfASingleQuestionStandBesideTheEditorAndEscCloses)
{
    editNewSingle();
    editor.position = {40, 30};
    editor.fields.text = u"Wpisane pytanie"_s;
    TFWlasnosciPytania view(t.ws);
    QPoint at;
    whenModal([&](QWidget *modal) {
        at = modal->pos();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    view.showForEditor(editor);
    EXPECT_EQ(at, QPoint(40 + 150, 30 + 50));
    EXPECT_EQ(view.labelText(u"LTrescPytania"_s), u"Wpisane pytanie"_s);
    EXPECT_EQ(view.labelText(u"LOdpNr4"_s), QString());
    EXPECT_FALSE(view.miniatureShown());
}

TEST_F(QuestionWindows, PropertiesOfATestQuestionShowItsPicture)
{
    t.ws.test.header.questionCount = 1;
    t.ws.test.question(1).imageName = u"m.bmp"_s;
    ASSERT_TRUE(PutStream(u"m.bmp"_s, bmp(400, 200, Qt::blue), *t.ws.workingTest));
    TFWlasnosciPytania view(t.ws);
    QPoint at;
    whenModal([&](QWidget *modal) {
        at = modal->pos();
        QTest::mouseClick(modal->findChild<QWidget *>(u"ImZamknij"_s), Qt::LeftButton);
    });
    view.showForTestQuestion(1, {10, 20});
    EXPECT_EQ(at, QPoint(200, 100));
    EXPECT_TRUE(view.miniatureShown());
    // Scaled down to fit the panel, its proportions kept.
    const QRect shown = view.miniature()->pictureRect();
    EXPECT_LE(shown.width(), view.miniature()->width());
    EXPECT_NEAR(shown.width(), shown.height() * 2, 1);
}
