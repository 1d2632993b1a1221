#include "print/TFDrukuj.h"

#include "ModalDriver.h"
#include "support/PakBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/UpDown.h"

#include <QCheckBox>
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

    template <typename T> T *control(QWidget &window, const char16_t *name)
    {
        T *c = window.findChild<T *>(QString::fromUtf16(name));
        EXPECT_NE(c, nullptr) << QString::fromUtf16(name).toStdString();
        return c;
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
};

// The controls reach the form and show what it holds.
TEST_F(TFDrukujTest, ControlsChangeTheOptions)
{
    TFDrukuj dialog(t.ws);
    EXPECT_TRUE(dialog.skinLoaded());
    auto *versions = control<QLineEdit>(dialog, u"EWersje");
    auto *arrows = control<UpDown>(dialog, u"UpWersje");
    auto *key = control<QCheckBox>(dialog, u"ChKlucz");
    auto *keyOnly = control<QCheckBox>(dialog, u"ChSamKlucz");
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

    auto *seed = control<QLineEdit>(dialog, u"EZiarno");
    QTest::keyClicks(seed, u"12x3"_s);
    EXPECT_EQ(dialog.form().seedText, u"123"_s);

    auto *editable = control<QCheckBox>(dialog, u"ChDokument");
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
    QTest::mouseClick(control<PictureButton>(dialog, u"ImDrukuj"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts.fileRequests.size(), 1);

    prompts.queueFileName(t.dir.filePath(u"ulamki.pdf"_s));
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(PakBytes::readFile(t.dir.filePath(u"ulamki.pdf"_s)).startsWith("%PDF"));
    EXPECT_EQ(prompts.clockPositions.size(), 1);
}

} // namespace
