#include "ModalDriver.h"
#include "question/TFZbieznoscObrazy.h"
#include "question/TFZbieznoscTeksty.h"
#include "support/GifFixture.h"
#include "support/JpegFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/WindowTestSupport.h"
#include "program/WindowPrompts.h"

#include <QBuffer>
#include <QLabel>
#include <QLineEdit>
#include <QSpontaneKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray bmp(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage filled(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void clickOn(QWidget *window, const char16_t *name)
{
    QWidget *widget = control(window, name);
    ASSERT_NE(widget, nullptr);
    click(widget);
}

QLineEdit *newNameField(QWidget *window)
{
    return window->findChild<QLineEdit *>(u"ENowaNazwa"_s);
}

class TFZbieznoscTekstyTest : public ::testing::Test {
protected:
    ScriptedPrompts messages;
    TFZbieznoscTeksty dialog{messages};
    ModalWatchdog watchdog;

    void prepare() { dialog.prepare(u"opis.txt"_s, u"Ala ma kota.\r\nDrugi wiersz"_s, u"<b>Nowy</b> tekst"_s); }
    QString preview(const char16_t *name) const
    {
        return dialog.findChild<QLabel *>(QString::fromUtf16(name))->text();
    }
};

TEST_F(TFZbieznoscTekstyTest, OtherFileWithoutANameAsksForOneAndStaysOpen)
{
    prepare();
    whenModal([&](QWidget *modal) {
        clickOn(modal, u"LInnyPlik");
        EXPECT_TRUE(modal->isVisible());
        ASSERT_EQ(messages.messages.size(), 1);
        EXPECT_EQ(messages.messages[0].text, u"\rWpisz nową nazwę pliku."_s);
        EXPECT_EQ(messages.messages[0].kind, MessageKind::CloseOnly);
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::InfoIcon);
        // Both previews are still there.
        EXPECT_EQ(preview(u"LTekstWTescie"), u"Ala ma kota.\nDrugi wiersz"_s);
        EXPECT_EQ(preview(u"LTekstWPliku"), u"<b>Nowy</b> tekst"_s);

        typeText(newNameField(modal), u" zażółć 2.txt"_s);
        clickOn(modal, u"LInnyPlik");
    });
    const ClashAnswer answer = dialog.ask();
    EXPECT_EQ(answer.result, ClashAnswer::OtherFile);
    EXPECT_EQ(answer.newName, u" zażółć 2.txt"_s); // as typed
    EXPECT_EQ(dialog.clashResult(), 2);
    EXPECT_EQ(dialog.clashNewName(), u" zażółć 2.txt"_s);
}

TEST_F(TFZbieznoscTekstyTest, ANameTheCheckRefusesIsToldAndTheDialogStaysOpen)
{
    QStringList judged;
    dialog.prepare(u"opis.txt"_s, u"a"_s, u"b"_s, [&judged](const QString &typed) {
        judged << typed;
        return typed == u"Opis"_s ? u"W teście jest już plik o nazwie „Opis.txt”."_s : QString();
    });
    whenModal([&](QWidget *modal) {
        QLineEdit *field = newNameField(modal);
        QTest::keyClicks(field, u"Opis"_s);
        clickOn(modal, u"LInnyPlik");
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(messages.messageTexts(), QStringList{u"W teście jest już plik o nazwie „Opis.txt”."_s});
        EXPECT_EQ(field->text(), u"Opis"_s); // kept, to be mended
        QTest::keyClicks(field, u"2"_s);
        clickOn(modal, u"LInnyPlik");
    });
    const ClashAnswer answer = dialog.ask();
    EXPECT_EQ(answer.result, ClashAnswer::OtherFile);
    EXPECT_EQ(answer.newName, u"Opis2"_s);
    EXPECT_EQ(judged, (QStringList{u"Opis"_s, u"Opis2"_s}));
}

TEST_F(TFZbieznoscTekstyTest, SameFileForgetsATypedName)
{
    prepare();
    whenModal([&](QWidget *modal) {
        QTest::keyClicks(newNameField(modal), u"inny.txt"_s);
        clickOn(modal, u"LTenSamPlik");
    });
    const ClashAnswer answer = dialog.ask();
    EXPECT_EQ(answer.result, ClashAnswer::SameFile);
    EXPECT_TRUE(answer.newName.isEmpty());
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(TFZbieznoscTekstyTest, CancelAndTheCloseLabelGiveNothing)
{
    for (const char16_t *control : {u"ImAnuluj", u"LClose"}) {
        prepare();
        whenModal([&](QWidget *modal) {
            QTest::keyClicks(newNameField(modal), u"inny.txt"_s);
            clickOn(modal, control);
        });
        const ClashAnswer answer = dialog.ask();
        EXPECT_EQ(answer.result, ClashAnswer::Cancel);
        EXPECT_TRUE(answer.newName.isEmpty());
    }
}

TEST_F(TFZbieznoscTekstyTest, EnterEscAndAltF4DoNothing)
{
    prepare();
    whenModal([&](QWidget *modal) {
        QLineEdit *field = newNameField(modal);
        QTest::keyClicks(field, u"x.txt"_s);
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Escape);
        QTest::keyClick(modal, Qt::Key_Escape);
        QTest::keyClick(modal, Qt::Key_F4, Qt::AltModifier);
        QCloseEvent request;
        QSpontaneKeyEvent::setSpontaneous(&request);
        QCoreApplication::instance()->notify(modal, &request); // sendEvent would clear the spontaneous mark
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(field->text(), u"x.txt"_s);
        clickOn(modal, u"LInnyPlik");
    });
    EXPECT_EQ(dialog.ask().newName, u"x.txt"_s);
}

TEST_F(TFZbieznoscTekstyTest, ShowingAgainStartsEmpty)
{
    prepare();
    whenModal([&](QWidget *modal) {
        QTest::keyClicks(newNameField(modal), u"pierwszy.txt"_s);
        clickOn(modal, u"LInnyPlik");
    });
    dialog.ask();
    dialog.prepare(u"b.txt"_s, u"a"_s, u"b"_s);
    EXPECT_TRUE(newNameField(&dialog)->text().isEmpty());
    EXPECT_EQ(dialog.clashResult(), 0);
    EXPECT_TRUE(dialog.clashNewName().isEmpty());
    EXPECT_EQ(preview(u"LTekstWTescie"), u"a"_s);
}

TEST(TFZbieznoscObrazy, ShowsBothPicturesFittedAndSaysWhenOneCannotBeRead)
{
    ScriptedPrompts messages;
    TFZbieznoscObrazy dialog(messages);
    auto *left = dialog.findChild<QLabel *>(u"ImObrazWTescie"_s);
    auto *right = dialog.findChild<QLabel *>(u"ImObrazWPliku"_s);

    dialog.prepare(u"mapa.jpg"_s, JpegFixture::gradientJpeg(1200, 300), u"mapa.jpg"_s,
                   GifFixture::encode(filled(40, 30, Qt::red)), u"mapa.gif"_s);
    ASSERT_FALSE(left->pixmap().isNull());
    EXPECT_LE(left->pixmap().width(), left->width());
    EXPECT_LE(left->pixmap().height(), left->height());
    EXPECT_NEAR(double(left->pixmap().width()) / left->pixmap().height(), 4.0, 0.1); // shape kept
    EXPECT_EQ(right->pixmap().size(), QSize(40, 30)); // small pictures are not enlarged

    dialog.prepare(u"mapa.bmp"_s, QByteArray("BM not really"), u"mapa.bmp"_s, bmp(filled(10, 10, Qt::blue)),
                   u"mapa.bmp"_s);
    EXPECT_TRUE(left->pixmap().isNull());
    EXPECT_FALSE(left->text().isEmpty());
    EXPECT_FALSE(right->pixmap().isNull());
    EXPECT_TRUE(right->text().isEmpty());
}

TEST(TFZbieznoscObrazy, OtherFileNeedsANameToo)
{
    ScriptedPrompts messages;
    TFZbieznoscObrazy dialog(messages);
    ModalWatchdog watchdog;
    dialog.prepare(u"a.bmp"_s, bmp(filled(8, 8, Qt::red)), u"a.bmp"_s, bmp(filled(8, 8, Qt::green)), u"a.bmp"_s);
    whenModal([&](QWidget *modal) {
        clickOn(modal, u"LInnyPlik");
        EXPECT_TRUE(modal->isVisible());
        QTest::keyClicks(newNameField(modal), u"b"_s);
        clickOn(modal, u"LInnyPlik");
    });
    const ClashAnswer answer = dialog.ask();
    EXPECT_EQ(messages.messageTexts(), QStringList{u"\rWpisz nową nazwę pliku."_s});
    EXPECT_EQ(answer.result, ClashAnswer::OtherFile);
    EXPECT_EQ(answer.newName, u"b"_s);
}

TEST(WindowPromptsClash, DialogStandsByTheTestEditorAndAnswers)
{
    WindowPrompts prompts;
    QWidget editor;
    editor.move(100, 50);
    prompts.setClashAnchor(&editor);
    ModalWatchdog watchdog;
    QPoint place;
    QString empty;
    whenModal([&](QWidget *modal) {
        place = modal->pos();
        // The empty-name message comes through the program's own message box.
        whenModal([&](QWidget *box) {
            empty = box->objectName();
            QTest::keyClick(box, Qt::Key_Return);
        });
        clickOn(modal, u"LInnyPlik");
        QTest::keyClicks(newNameField(modal), u"nowy.txt"_s);
        clickOn(modal, u"LInnyPlik");
    });
    const ClashAnswer answer = prompts.resolveTextClash(u"a.txt"_s, u"a"_s, u"b"_s);
    EXPECT_EQ(place, QPoint(290, 130));
    EXPECT_EQ(empty, u"FWarning"_s);
    EXPECT_EQ(answer.result, ClashAnswer::OtherFile);
    EXPECT_EQ(answer.newName, u"nowy.txt"_s);
}

} // namespace
