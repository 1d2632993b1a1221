#include "print/TFDrukuj.h"

#include "ModalDriver.h"
#include "documents/ListDocuments.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "support/WindowTestSupport.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class TFDrukujTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.createWorkingArchives();
        t.ws.test.header.questionCount = 1;
        t.ws.test.header.testName = u"Ułamki"_s;
        t.ws.test.question(1).text = u"Ile to jest ½ + ½?"_s;
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
};

// The controls reach the form and show what it holds.
TEST_F(TFDrukujTest, ControlsChangeTheOptions)
{
    TFDrukuj dialog(t.ws);
    EXPECT_TRUE(dialog.skinLoaded());
    auto *versions = control<QLineEdit>(&dialog, u"EWersje");
    auto *arrows = control<UpDown>(&dialog, u"UpWersje");
    auto *key = control<QCheckBox>(&dialog, u"ChKlucz");
    auto *keyOnly = control<QCheckBox>(&dialog, u"ChSamKlucz");
    dialog.show();
    EXPECT_EQ(versions->text(), u"1"_s);
    EXPECT_FALSE(keyOnly->isEnabled());
    QTest::mouseClick(arrows->upArrow(), Qt::LeftButton);
    QTest::mouseClick(arrows->upArrow(), Qt::LeftButton);
    EXPECT_EQ(versions->text(), u"3"_s);
    EXPECT_EQ(dialog.form().versions, 3);

    key->click();
    EXPECT_TRUE(dialog.form().key);
    EXPECT_TRUE(keyOnly->isEnabled());
    keyOnly->click();
    EXPECT_TRUE(dialog.form().keyOnly);
    key->click();
    EXPECT_FALSE(keyOnly->isChecked());
    EXPECT_FALSE(dialog.form().keyOnly);

    auto *seed = control<QLineEdit>(&dialog, u"EZiarno");
    QTest::keyClicks(seed, u"12x3"_s);
    EXPECT_EQ(dialog.form().seedText, u"123"_s);

    auto *editable = control<QCheckBox>(&dialog, u"ChDokument");
    EXPECT_FALSE(editable->isChecked());
    editable->click();
    EXPECT_TRUE(dialog.form().editable);
}

// "Drukuj" asks for the file and prints; the dialog closes after a print and stays after a cancel.
TEST_F(TFDrukujTest, PrintAsksForTheFileAndClosesWhenPrinted)
{
    ModalWatchdog watchdog;
    TFDrukuj dialog(t.ws);
    dialog.show();
    prompts.queueFileName({});
    QTest::mouseClick(control<PictureButton>(&dialog, u"ImDrukuj"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts.fileRequests.size(), 1);

    prompts.queueFileName(t.dir.filePath(u"ulamki.pdf"_s));
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(PakBytes::readFile(t.dir.filePath(u"ulamki.pdf"_s)).startsWith("%PDF"));
    EXPECT_EQ(prompts.clockPositions.size(), 1);
}

// Answer sheets: the class row is on only with the sheets; "Lista ..." reads a student list into the
// class chooser; the editable document turns the sheets off.
TEST_F(TFDrukujTest, AnswerSheetsForAClassChosenFromAStudentList)
{
    StudentList list;
    list.reset();
    SchoolClass c;
    c.name = u"3b"_s;
    c.students = {{u"Łucja"_s, u"Śliwa"_s}, {u"Piotr"_s, u"Gęś"_s}};
    list.classes = {c};
    const QString sku = t.dir.filePath(u"klasy.sku"_s);
    ASSERT_TRUE(WriteStudentList(t.ws, sku, list));

    TFDrukuj dialog(t.ws);
    auto *sheets = control<QCheckBox>(&dialog, u"ChKarty");
    auto *chooser = control<QComboBox>(&dialog, u"CbKlasa");
    auto *pick = control<QPushButton>(&dialog, u"BtLista");
    auto *editable = control<QCheckBox>(&dialog, u"ChDokument");
    dialog.show();
    EXPECT_FALSE(chooser->isEnabled());
    EXPECT_FALSE(pick->isEnabled());
    sheets->click();
    EXPECT_TRUE(dialog.form().sheets);
    EXPECT_TRUE(chooser->isEnabled());
    EXPECT_EQ(chooser->count(), 1);

    prompts.queueFileName(sku);
    QTest::mouseClick(pick, Qt::LeftButton);
    ASSERT_EQ(chooser->count(), 2);
    EXPECT_EQ(chooser->itemText(1), u"3b (uczniów: 2)"_s);
    EXPECT_EQ(chooser->currentIndex(), 1);
    EXPECT_EQ(dialog.form().classIndex, 0);
    chooser->setCurrentIndex(0);
    Q_EMIT chooser->activated(0);
    EXPECT_EQ(dialog.form().classIndex, -1);

    editable->click();
    EXPECT_FALSE(sheets->isChecked());
    EXPECT_FALSE(chooser->isEnabled());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

} // namespace
