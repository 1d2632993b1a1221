#include "question/AttachmentCommands.h"

#include "QuestionFixture.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/TVfsPAK.h"
#include "question/AttachmentFiles.h"
#include "support/DocumentFixtures.h"
#include "support/JpegFixture.h"
#include "storage/Pictures.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using Kind = AttachmentCommands::Kind;
using Outcome = AttachmentCommands::Outcome;

namespace {

class Attachments : public QuestionFixture {
protected:
    QStringList testMembers() const
    {
        QStringList names;
        ListMembers(names, *t.ws.workingTest);
        return names;
    }
    QByteArray testMember(const QString &name) const
    {
        return ExtractStream(name, *t.ws.workingTest).value_or(QByteArray("<absent>"));
    }
    void put(const QString &name, QByteArrayView bytes)
    {
        ASSERT_TRUE(PutStream(name, bytes, *t.ws.workingTest));
    }
    Question &q(int k = 1) { return t.ws.test.question(k); }
    LastAttachments &last() { return t.ws.lastAttachments; }
};

} // namespace

// --- A file from disk -----------------------------------------------------------------------------

TEST_F(Attachments, NewTextInATestIsCopiedIntoTheTestAndRemembered)
{
    editTestQuestion();
    const QString file = diskFile(u"Czytanka.txt"_s, "Dawno temu\r\nza górami");
    AttachmentCommands text(editor, Kind::Text);
    text.open();
    prompts.queueFileName(file);
    EXPECT_EQ(text.newFile(), Outcome::Close);

    EXPECT_EQ(testMember(u"Czytanka.txt"_s), "Dawno temu\r\nza górami");
    EXPECT_EQ(q().textName, u"Czytanka.txt"_s);
    EXPECT_EQ(q().textSource, QFileInfo(file).absoluteFilePath());
    EXPECT_EQ(last().textName, u"Czytanka.txt"_s);
    EXPECT_EQ(last().textSource, QFileInfo(file).absoluteFilePath());
    EXPECT_EQ(link.modifiedCalls, 1);

    // The chooser opens in the program's folder first, then where the last file was found.
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    const FileDialogRequest &r = prompts.fileRequests[0].request;
    EXPECT_EQ(r.title, u"Wskaż plik tekstowy"_s);
    EXPECT_EQ(r.filter, u"Pliki tekstowe (*.txt)"_s);
    EXPECT_EQ(r.startFolder, t.ws.paths.programFolder);
    prompts.queueFileName({});
    EXPECT_EQ(text.newFile(), Outcome::StayOpen);
    EXPECT_EQ(prompts.fileRequests[1].request.startFolder, QFileInfo(file).absolutePath());
}

TEST_F(Attachments, ImageChooserOffersThePictureKinds)
{
    const FileDialogRequest r = AttachmentCommands::chooserRequest(Kind::Image, u"/x"_s);
    EXPECT_EQ(r.title, u"Dokonaj wyboru pliku obrazka"_s);
    EXPECT_EQ(r.filter,
              u"All (*.jpg *.bmp *.gif);;Bitmaps (*.bmp);;JPEG Image File (*.jpg);;GIF Image File (*.gif)"_s);
    EXPECT_EQ(r.startFolder, u"/x"_s);
}

// A clash is found without regard to case, and each answer of the clash dialog leads to its own end.
TEST_F(Attachments, TextClashAnswers)
{
    const struct {
        ClashAnswer::Result answer;
        const char16_t *typed;
        const char16_t *name;       // textName afterwards
        bool sourceKept;            // textSource holds the disk path
        const char16_t *lastSource; // lastTextSource afterwards ("prev": as before)
        bool changed;
    } cases[] = {
        {ClashAnswer::SameFile, u"", u"Czytanka.TXT", false, u"prev", true},
        {ClashAnswer::OtherFile, u"nowy.dat", u"nowy.txt", false, u"", true},
        {ClashAnswer::OtherFile, u"C:\\teksty\\inny.tekst.txt", u"inny.txt", false, u"", true},
        {ClashAnswer::Cancel, u"", u"stary.txt", true, u"prev", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.typed).toStdString() + " " + std::to_string(c.answer));
        ASSERT_TRUE(DeleteAllMembers(*t.ws.workingTest));
        put(u"czytanka.txt"_s, Cp1250::fromUnicode(u"w teście"));
        editTestQuestion();
        q().textName = u"stary.txt"_s;
        q().textSource = u"/stary/stary.txt"_s;
        last().textName = u"czytanka.txt"_s;
        last().textSource = u"prev"_s;
        link.modifiedCalls = 0;
        const QString file = diskFile(u"Czytanka.TXT"_s, "z dysku\r\n");
        AttachmentCommands text(editor, Kind::Text);
        text.open();
        prompts.clashRequests.clear();
        prompts.queueFileName(file);
        prompts.queueClash(c.answer, QString::fromUtf16(c.typed));
        EXPECT_EQ(text.newFile(), Outcome::Close);

        ASSERT_EQ(prompts.clashRequests.size(), 1);
        EXPECT_FALSE(prompts.clashRequests[0].image);
        EXPECT_EQ(prompts.clashRequests[0].inTestText, u"w teście"_s);
        EXPECT_EQ(prompts.clashRequests[0].incomingText, u"z dysku\r\n"_s);
        EXPECT_EQ(q().textName, QString::fromUtf16(c.name));
        EXPECT_EQ(q().textSource, c.sourceKept ? u"/stary/stary.txt"_s : QString());
        if (c.changed) {
            EXPECT_EQ(last().textName, QString::fromUtf16(c.name));
        }
        EXPECT_EQ(last().textSource, QString::fromUtf16(c.lastSource));
        EXPECT_EQ(link.modifiedCalls, c.changed ? 1 : 0);
        // The test's own file is never touched; another file arrives under its new name.
        EXPECT_EQ(testMember(u"czytanka.txt"_s), Cp1250::fromUnicode(u"w teście"));
        if (c.answer == ClashAnswer::OtherFile) {
            EXPECT_EQ(testMember(QString::fromUtf16(c.name)), "z dysku\r\n");
        } else {
            EXPECT_EQ(testMembers().size(), 1);
        }
    }
}

TEST_F(Attachments, ImageClashKeepsTheChosenExtensionAndRefusesATypedNameInUse)
{
    put(u"foto.jpg"_s, "w teście");
    put(u"nowy.jpg"_s, "stary nowy");
    q(2).imageName = u"nowy.jpg"_s;
    editTestQuestion();
    const QString file = diskFile(u"Foto.JPG"_s, bmp(4, 4));
    AttachmentCommands image(editor, Kind::Image);
    image.open();
    // nowy.JPG is taken (ignoring case): refused, nothing changes and the dialog stays open.
    prompts.queueFileName(file);
    prompts.queueClash(ClashAnswer::OtherFile, u"obrazy/nowy"_s);
    EXPECT_EQ(image.newFile(), Outcome::StayOpen);
    EXPECT_EQ(prompts.messageTexts(),
              QStringList{u"W teście jest już plik o nazwie „nowy.JPG”.\rWpisz inną nazwę pliku."_s});
    EXPECT_EQ(q().imageName, QString());
    EXPECT_EQ(link.modifiedCalls, 0);
    EXPECT_EQ(testMembers(), (QStringList{u"foto.jpg"_s, u"nowy.jpg"_s}));
    prompts.queueFileName(file);
    prompts.queueClash(ClashAnswer::OtherFile, u"obrazy/nowy2"_s);
    EXPECT_EQ(image.newFile(), Outcome::Close);
    EXPECT_EQ(q().imageName, u"nowy2.JPG"_s);
    EXPECT_EQ(q().imageSource, QString());
    EXPECT_EQ(testMember(u"nowy2.JPG"_s), bmp(4, 4));
    EXPECT_EQ(testMember(u"nowy.jpg"_s), "stary nowy"); // question 2 keeps its picture
    EXPECT_EQ(testMembers(), (QStringList{u"foto.jpg"_s, u"nowy.jpg"_s, u"nowy2.JPG"_s}));
    ASSERT_EQ(prompts.clashRequests.size(), 2); // asked again after the refusal
    EXPECT_TRUE(prompts.clashRequests[0].image);
    EXPECT_EQ(prompts.clashRequests[0].inTestName, u"foto.jpg"_s);
    EXPECT_EQ(prompts.clashRequests[0].incoming, bmp(4, 4));

    // The same file: the picture keeps the path it was chosen at, the last-used path stays.
    last().imageSource = u"prev"_s;
    prompts.queueFileName(file);
    prompts.queueClash(ClashAnswer::SameFile);
    EXPECT_EQ(image.newFile(), Outcome::Close);
    EXPECT_EQ(q().imageName, u"Foto.JPG"_s);
    EXPECT_EQ(q().imageSource, QFileInfo(file).absoluteFilePath());
    EXPECT_EQ(last().imageName, u"Foto.JPG"_s);
    EXPECT_EQ(last().imageSource, u"prev"_s);
}

TEST_F(Attachments, SingleQuestionKeepsTheFileOnDiskWithoutAClashCheck)
{
    editNewSingle();
    const QString file = diskFile(u"foto.jpg"_s, bmp(3, 3));
    ASSERT_TRUE(PutStream(u"foto.jpg"_s, "inny", *t.ws.workingQuestion));
    put(u"foto.jpg"_s, "w teście");
    AttachmentCommands image(editor, Kind::Image);
    image.open();
    EXPECT_FALSE(image.listEnabled);
    prompts.queueFileName(file);
    EXPECT_EQ(image.newFile(), Outcome::Close);
    EXPECT_TRUE(prompts.clashRequests.isEmpty());
    EXPECT_EQ(t.ws.question.imageName, u"foto.jpg"_s);
    EXPECT_EQ(t.ws.question.imageSource, QFileInfo(file).absoluteFilePath());
    EXPECT_EQ(last().imageSource, QFileInfo(file).absoluteFilePath());
    EXPECT_TRUE(editor.questionModified);
    EXPECT_EQ(link.modifiedCalls, 0);
    EXPECT_EQ(ExtractStream(u"foto.jpg"_s, *t.ws.workingQuestion), QByteArray("inny"));
}

// Names the archive cannot store are refused before anything changes, in both modes.
TEST_F(Attachments, UnstorableNamesAreRefusedWithTheFileNamed)
{
    const QString longName = QString(116, u'a') + u".txt"_s; // 120 bytes
    const QString longestName = QString(115, u'a') + u".txt"_s;
    for (const bool test : {true, false}) {
        for (const QString &name : {u"Чтение.txt"_s, longName}) {
            SCOPED_TRACE(name.toStdString());
            test ? editTestQuestion() : editNewSingle();
            editor.attachments().textName = u"stary.txt"_s;
            editor.questionModified = false;
            link.modifiedCalls = 0;
            prompts.messages.clear();
            AttachmentCommands text(editor, Kind::Text);
            text.open();
            prompts.queueFileName(diskFile(name, "treść"));
            EXPECT_EQ(text.newFile(), Outcome::StayOpen);
            ASSERT_EQ(prompts.messages.size(), 1);
            EXPECT_TRUE(prompts.lastMessageText().contains(name));
            EXPECT_EQ(editor.attachments().textName, u"stary.txt"_s);
            EXPECT_EQ(link.modifiedCalls, 0);
            EXPECT_FALSE(editor.questionModified);
            EXPECT_TRUE(testMembers().isEmpty());
        }
    }
    editTestQuestion();
    AttachmentCommands text(editor, Kind::Text);
    prompts.queueFileName(diskFile(longestName, "treść"));
    EXPECT_EQ(text.newFile(), Outcome::Close);
    EXPECT_EQ(testMembers(), QStringList{longestName});
}

TEST_F(Attachments, TypedNameTheArchiveCannotStoreIsRefused)
{
    put(u"opis.txt"_s, "w teście");
    editTestQuestion();
    AttachmentCommands text(editor, Kind::Text);
    prompts.queueFileName(diskFile(u"opis.txt"_s, "z dysku"));
    prompts.queueClash(ClashAnswer::OtherFile, u"Описание"_s);
    EXPECT_EQ(text.newFile(), Outcome::StayOpen);
    EXPECT_TRUE(prompts.lastMessageText().contains(u"Описание.txt"_s));
    EXPECT_EQ(q().textName, QString());
    EXPECT_EQ(testMembers(), QStringList{u"opis.txt"_s});
}

// A copy that fails is reported and the question keeps what it had.
TEST_F(Attachments, FailedCopyKeepsThePreviousAttachment)
{
    editTestQuestion();
    q().imageName = u"stary.gif"_s;
    q().imageSource = u"/dysk/stary.gif"_s;
    const QString file = diskFile(u"nowy.bmp"_s, bmp(2, 2));
    // An archive whose file is gone cannot take the copy.
    t.ws.workingTest = NewArchive();
    AttachmentCommands image(editor, Kind::Image);
    image.open();
    prompts.queueFileName(file);
    EXPECT_EQ(image.newFile(), Outcome::StayOpen);
    EXPECT_EQ(prompts.lastMessageText(),
              u"Nie udało się skopiować pliku „nowy.bmp” do testu.\rPytanie zachowuje poprzedni plik."_s);
    EXPECT_EQ(q().imageName, u"stary.gif"_s);
    EXPECT_EQ(q().imageSource, u"/dysk/stary.gif"_s);
    EXPECT_EQ(last().imageName, QString());
    EXPECT_EQ(link.modifiedCalls, 0);
}

TEST_F(Attachments, DiskFileThatCannotBeReadChangesNothing)
{
    for (const bool test : {true, false}) {
        test ? editTestQuestion() : editNewSingle();
        AttachmentCommands text(editor, Kind::Text);
        prompts.queueFileName(path(u"zniknął.txt"_s));
        EXPECT_EQ(text.newFile(), Outcome::StayOpen);
        EXPECT_TRUE(prompts.lastMessageText().startsWith(u"Nie można odczytać pliku\r"_s));
        EXPECT_EQ(editor.attachments().textName, QString());
        EXPECT_EQ(last().textName, QString());
    }
}

// --- Opening, last-used file, lists -----------------------------------------------------------------

TEST_F(Attachments, OpeningTheTextDialogInATest)
{
    editTestQuestion();
    AttachmentCommands text(editor, Kind::Text);
    text.open();
    EXPECT_FALSE(text.lastEnabled);
    EXPECT_FALSE(text.listEnabled);
    EXPECT_FALSE(text.removeEnabled);
    EXPECT_EQ(text.textPreview, u"Test nie zawiera jeszcze dodatkowych\rplików tekstowych"_s);

    // Without a last-used name the test's latest text is offered, normalised.
    put(u"a.txt"_s, "pierwszy");
    put(u"obraz.gif"_s, "GIF");
    put(u"b.TXT"_s, "Ala\r\nma   kota\r\n");
    q().textName = u"a.txt"_s;
    text.open();
    EXPECT_EQ(last().textName, u"b.TXT"_s);
    EXPECT_TRUE(text.lastEnabled);
    EXPECT_TRUE(text.listEnabled);
    EXPECT_TRUE(text.removeEnabled);
    EXPECT_FALSE(text.listShown);
    EXPECT_EQ(text.testNames, (QStringList{u"a.txt"_s, u"b.TXT"_s}));
    EXPECT_EQ(text.textPreview, u"Ala ma kota "_s);

    // A last-used file the test no longer holds is logged and the preview says so.
    last().textName = u"zgubiony.txt"_s;
    text.open();
    EXPECT_TRUE(t.logTexts().contains(u"Problem z wczytaniem pliku tekstowego z PakTemp"_s));
    EXPECT_TRUE(text.textPreview.contains(u"zgubiony.txt"_s));
}

TEST_F(Attachments, OpeningTheTextDialogForASingleQuestion)
{
    editNewSingle();
    AttachmentCommands text(editor, Kind::Text);
    text.open();
    EXPECT_EQ(text.textPreview, u"Nie wstawiano jeszcze dodatkowych plików tekstowych"_s);
    EXPECT_FALSE(text.lastEnabled);
    EXPECT_FALSE(text.listEnabled);

    last().textName = u"opis.txt"_s;
    last().textSource = diskFile(u"opis.txt"_s, "Jeden\rdwa");
    text.open();
    EXPECT_TRUE(text.lastEnabled);
    EXPECT_EQ(text.textPreview, u"Jeden dwa "_s);

    last().textSource = path(u"brak.txt"_s);
    text.open();
    EXPECT_TRUE(t.logTexts().contains(u"Problem z wczytaniem pliku tekstowego z dysku"_s));
}

TEST_F(Attachments, LastUsedFileInBothModes)
{
    const QString disk = diskFile(u"mapa.gif"_s, bmp(2, 2));
    put(u"mapa.gif"_s, bmp(2, 2));
    for (const bool test : {true, false}) {
        test ? editTestQuestion() : editNewSingle();
        last().imageName = u"mapa.gif"_s;
        last().imageSource = disk;
        AttachmentCommands image(editor, Kind::Image);
        image.open();
        EXPECT_TRUE(image.lastEnabled);
        EXPECT_EQ(image.useLast(), Outcome::Close);
        EXPECT_EQ(editor.attachments().imageName, u"mapa.gif"_s);
        EXPECT_EQ(editor.attachments().imageSource, disk);
    }
    EXPECT_EQ(link.modifiedCalls, 1);
    EXPECT_TRUE(editor.questionModified);
}

// The last file has gone (removed from the test, deleted on disk): the question would name a file that
// no save can hold, so it is refused with the file named and nothing changes.
TEST_F(Attachments, LastUsedFileThatHasGoneIsRefused)
{
    for (const bool test : {true, false}) {
        SCOPED_TRACE(test ? "test" : "single");
        test ? editTestQuestion() : editNewSingle();
        last().textName = u"czytanka.txt"_s;
        last().textSource = path(u"usunięta.txt"_s);
        editor.questionModified = false;
        link.modifiedCalls = 0;
        prompts.messages.clear();
        AttachmentCommands text(editor, Kind::Text);
        text.open();
        EXPECT_EQ(text.useLast(), Outcome::StayOpen);
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_TRUE(prompts.lastMessageText().contains(test ? u"czytanka.txt"_s : path(u"usunięta.txt"_s)));
        EXPECT_TRUE(editor.attachments().textName.isEmpty());
        EXPECT_FALSE(editor.questionModified);
        EXPECT_EQ(link.modifiedCalls, 0);
    }
}

TEST_F(Attachments, TextListLinesAndPickingOne)
{
    put(u"dlugi.txt"_s, QByteArray(100, 'x'));
    put(u"krotki.txt"_s, Cp1250::fromUnicode(u"Krótki\r\ntekst"));
    put(u"zdanie.txt"_s, Cp1250::fromUnicode(u"To jest dość długie zdanie, które trzeba uciąć, bo ma "
                                             u"znacznie więcej niż siedemdziesiąt znaków."));
    editTestQuestion(2, 3);
    q(1).textName = u"krotki.txt"_s;
    q(1).textSource = u"/dysk/krotki.txt"_s;
    AttachmentCommands text(editor, Kind::Text);
    text.open();
    text.toggleList();
    EXPECT_TRUE(text.listShown);
    EXPECT_EQ(text.listLines,
              (QStringList{QString(), u"Krótki tekst "_s,
                           u"To jest dość długie zdanie, które trzeba uciąć, bo ma znacznie więcej "_s}));
    text.toggleList();
    EXPECT_FALSE(text.listShown);

    text.toggleList();
    EXPECT_EQ(text.pickFromList(1), Outcome::Close);
    EXPECT_FALSE(text.listShown);
    EXPECT_EQ(q(2).textName, u"krotki.txt"_s);
    EXPECT_EQ(q(2).textSource, u"/dysk/krotki.txt"_s);
    EXPECT_EQ(last().textName, u"krotki.txt"_s);
    EXPECT_EQ(last().textSource, u"/dysk/krotki.txt"_s);
    EXPECT_EQ(link.modifiedCalls, 1);
}

// --- Removing -------------------------------------------------------------------------------------

TEST_F(Attachments, RemovingASharedTextKeepsTheFileUntilTheLastQuestionLetsGo)
{
    put(u"wspolny.txt"_s, "tekst");
    q(1).textName = u"wspolny.txt"_s;
    q(2).textName = u"WSPOLNY.txt"_s;
    editTestQuestion(1, 2);
    AttachmentCommands text(editor, Kind::Text);
    text.open();
    EXPECT_EQ(text.remove(), Outcome::Close);
    EXPECT_EQ(q(1).textName, QString());
    EXPECT_EQ(testMembers(), QStringList{u"wspolny.txt"_s});

    editTestQuestion(2, 2);
    EXPECT_EQ(text.remove(), Outcome::Close);
    EXPECT_TRUE(testMembers().isEmpty());
    EXPECT_EQ(link.modifiedCalls, 2);

    // Nothing to remove: a message, the dialog stays.
    EXPECT_EQ(text.remove(), Outcome::StayOpen);
    EXPECT_EQ(prompts.lastMessageText(), u"To pytanie nie zawiera dołączonego tekstu."_s);
    EXPECT_EQ(link.modifiedCalls, 2);
}

TEST_F(Attachments, RemovingTheSingleQuestionsImage)
{
    editNewSingle();
    AttachmentCommands image(editor, Kind::Image);
    EXPECT_EQ(image.remove(), Outcome::StayOpen);
    EXPECT_EQ(prompts.lastMessageText(), u"To pytanie nie zawiera dołączonego obrazu."_s);
    EXPECT_FALSE(editor.questionModified);

    ASSERT_TRUE(PutStream(u"foto.jpg"_s, "x", *t.ws.workingQuestion));
    t.ws.question.imageName = u"foto.jpg"_s;
    t.ws.question.imageSource = u"/dysk/foto.jpg"_s;
    EXPECT_EQ(image.remove(), Outcome::Close);
    EXPECT_EQ(t.ws.question.imageName, QString());
    EXPECT_EQ(t.ws.question.imageSource, QString());
    EXPECT_FALSE(HasMember(u"foto.jpg"_s, *t.ws.workingQuestion));
    EXPECT_TRUE(editor.questionModified);
}

// --- Pictures ---------------------------------------------------------------------------------------

TEST_F(Attachments, ImageDialogBuildsTheStripAndPicksByClick)
{
    put(u"a.bmp"_s, bmp(220, 110, Qt::blue));
    put(u"zepsuty.jpg"_s, "to nie jest JPEG");
    put(u"c.BMP"_s, bmp(50, 100, Qt::green));
    put(u"d.bmp"_s, bmp(10, 10));
    q(3).imageName = u"c.BMP"_s;
    q(3).imageSource = u"/dysk/c.BMP"_s;
    editTestQuestion(1, 3);
    AttachmentCommands image(editor, Kind::Image);
    image.open();
    // The cells stand at once; the pictures are decoded when the strip is first shown.
    EXPECT_EQ(image.strip.count(), 4);
    EXPECT_EQ(image.thumbnailCache().decodedLastTime(), 0);
    image.toggleList();
    EXPECT_TRUE(image.listShown);
    image.toggleList();

    // The damaged picture leaves its cell white and is logged; the dialog works on.
    EXPECT_TRUE(t.logTexts().contains(u"Problem z wczytaniem pliku obrazu z PakTemp"_s));
    EXPECT_EQ(image.strip.count(), 4);
    EXPECT_EQ(image.strip.width(), 490);
    EXPECT_TRUE(image.listEnabled);
    EXPECT_EQ(last().imageName, u"d.bmp"_s);
    EXPECT_TRUE(image.picturePreviewShown);
    EXPECT_EQ(image.picturePreview.size(), QSize(10, 10));
    const QImage strip = image.strip.render();
    EXPECT_EQ(strip.pixelColor(5 + 50, 5 + 20), QColor(Qt::blue));
    EXPECT_EQ(strip.pixelColor(120 + 60, 60), QColor(Qt::white));
    EXPECT_EQ(strip.pixelColor(240 + 5 + 20, 5 + 100), QColor(Qt::green));

    image.toggleList();
    EXPECT_TRUE(image.listShown);
    EXPECT_EQ(image.pickThumbnailAt(245), Outcome::Close);
    EXPECT_FALSE(image.listShown);
    EXPECT_EQ(q(1).imageName, u"c.BMP"_s);
    EXPECT_EQ(q(1).imageSource, u"/dysk/c.BMP"_s);
    EXPECT_EQ(last().imageSource, u"/dysk/c.BMP"_s);

    EXPECT_EQ(image.pickThumbnailAt(3), Outcome::Close);
    EXPECT_EQ(q(1).imageName, u"a.bmp"_s);
    EXPECT_EQ(q(1).imageSource, QString());
    // Right of the last cell still picks the last picture.
    image.pickThumbnailAt(489);
    EXPECT_EQ(q(1).imageName, u"d.bmp"_s);
}

TEST_F(Attachments, ImagePreviewOfAMissingOrDamagedFileSaysSo)
{
    editNewSingle();
    last().imageName = u"zepsuty.gif"_s;
    last().imageSource = diskFile(u"zepsuty.gif"_s, "GIF89a i nic więcej");
    AttachmentCommands image(editor, Kind::Image);
    image.open();
    EXPECT_TRUE(image.picturePreviewShown);
    EXPECT_TRUE(image.picturePreview.isNull());
    EXPECT_TRUE(image.pictureNote.contains(u"zepsuty.gif"_s));
    EXPECT_TRUE(image.lastEnabled);
    EXPECT_TRUE(t.logTexts().contains(u"Problem z wczytaniem pliku obrazu z PakTemp"_s));

    last().imageName.clear();
    image.open();
    EXPECT_FALSE(image.picturePreviewShown);
    EXPECT_FALSE(image.lastEnabled);
}

// Thumbnails are made once: a second opening decodes nothing, a member replaced under the same name
// is decoded again, and a turned photo's thumbnail stands upright.
TEST_F(Attachments, StripDecodesOnlyPicturesThatChanged)
{
    put(u"a.bmp"_s, bmp(220, 110, Qt::blue));
    // Stored 160 × 120, shown 120 × 160.
    put(u"pion.jpg"_s, JpegFixture::withApp1(JpegFixture::gradientJpeg(160, 120), JpegFixture::exifBody(6)));
    put(u"c.bmp"_s, bmp(50, 100, Qt::green));
    editTestQuestion();
    AttachmentCommands image(editor, Kind::Image);
    // Shown means decoded: the strip's pictures are made when it is first shown after an opening.
    const auto openAndShow = [&image] {
        image.open();
        image.toggleList();
        image.toggleList();
    };
    openAndShow();
    ASSERT_EQ(image.strip.count(), 3);
    EXPECT_EQ(image.thumbnailCache().decodedLastTime(), 3);
    EXPECT_EQ(image.strip.thumbnails()[1].size(), QSize(82, 110));

    openAndShow();
    EXPECT_EQ(image.thumbnailCache().decodedLastTime(), 0);
    EXPECT_EQ(image.strip.count(), 3);
    EXPECT_EQ(image.strip.thumbnails()[0].size(), QSize(110, 55));
    EXPECT_EQ(image.strip.render().pixelColor(5 + 50, 5 + 20), QColor(Qt::blue));

    // Same name, same size, other pixels (now last in the archive); and a picture gone.
    put(u"a.bmp"_s, bmp(220, 110, Qt::red));
    ASSERT_TRUE(DeleteMember(u"c.bmp"_s, *t.ws.workingTest));
    openAndShow();
    EXPECT_EQ(image.thumbnailCache().decodedLastTime(), 1);
    ASSERT_EQ(image.testNames, QStringList({u"pion.jpg"_s, u"a.bmp"_s}));
    EXPECT_EQ(image.strip.render().pixelColor(120 + 5 + 50, 5 + 20), QColor(Qt::red));
}

// --- Large photos ---------------------------------------------------------------------------------

namespace {

class LargePhotos : public Attachments {
protected:
    // A 2000 × 1500 photo on disk.
    QString photo()
    {
        file = diskFile(u"Zdjęcie.jpg"_s, JpegFixture::gradientJpeg(2000, 1500));
        original = AttachmentFiles::diskBytes(file).value_or(QByteArray());
        return file;
    }
    QString file;
    QByteArray original;
};

QSize shownSize(const QByteArray &jpeg)
{
    return pictureSize(jpeg, u"x.jpg");
}

} // namespace

// Each answer and each setting ends as it should; the teacher's file is never changed.
TEST_F(LargePhotos, AttachingOffersToShrinkAsTheSettingSays)
{
    const struct {
        int setting;
        std::optional<MessageResult> answer; // none: no question asked
        bool attached;
        bool shrunk;
    } cases[] = {
        {EditorSettings::ShrinkAsk, MessageResult::Yes, true, true},
        {EditorSettings::ShrinkAsk, MessageResult::No, true, false},
        {EditorSettings::ShrinkAsk, MessageResult::Cancel, false, false},
        {EditorSettings::ShrinkAlways, std::nullopt, true, true},
        {EditorSettings::ShrinkNever, std::nullopt, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.setting * 10 + (c.answer ? static_cast<int>(*c.answer) : 0));
        ASSERT_TRUE(DeleteAllMembers(*t.ws.workingTest));
        editTestQuestion();
        q().imageName.clear();
        t.ws.settings.zdz = c.setting;
        prompts.messages.clear();
        AttachmentCommands image(editor, Kind::Image);
        image.open();
        prompts.queueFileName(photo());
        if (c.answer)
            prompts.queueAnswer(*c.answer);
        EXPECT_EQ(image.newFile(), c.attached ? Outcome::Close : Outcome::StayOpen);
        ASSERT_EQ(prompts.messages.size(), c.answer ? 1 : 0);
        if (c.answer) {
            EXPECT_TRUE(prompts.messages[0].text.startsWith(u"Obraz ma 2000 × 1500 pikseli ("_s));
            EXPECT_TRUE(prompts.messages[0].text.contains(u"Zmniejszyć go do 1600 × 1200 (około "_s));
        }
        EXPECT_EQ(AttachmentFiles::diskBytes(file), original);
        if (!c.attached) {
            EXPECT_TRUE(q().imageName.isEmpty());
            EXPECT_TRUE(testMembers().isEmpty());
            continue;
        }
        EXPECT_EQ(q().imageName, u"Zdjęcie.jpg"_s);
        const QByteArray stored = testMember(u"Zdjęcie.jpg"_s);
        EXPECT_EQ(shownSize(stored), c.shrunk ? QSize(1600, 1200) : QSize(2000, 1500));
        EXPECT_EQ(stored == original, !c.shrunk);
        // A reduced photo is no longer the disk file: it keeps no source.
        EXPECT_EQ(q().imageSource, c.shrunk ? QString() : QFileInfo(file).absoluteFilePath());
    }
}

// A single question keeps its files on disk until it is saved; a reduced photo has none, so it waits
// in the question's own archive, and the question is saved from there.
TEST_F(LargePhotos, ASingleQuestionKeepsTheReducedPhotoInItsArchive)
{
    editNewSingle();
    t.ws.settings.zdz = EditorSettings::ShrinkAsk;
    AttachmentCommands image(editor, Kind::Image);
    image.open();
    prompts.queueFileName(photo());
    prompts.queueAnswer(MessageResult::Yes);
    EXPECT_EQ(image.newFile(), Outcome::Close);
    EXPECT_EQ(t.ws.question.imageName, u"Zdjęcie.jpg"_s);
    EXPECT_TRUE(t.ws.question.imageSource.isEmpty());
    EXPECT_EQ(shownSize(ExtractStream(u"Zdjęcie.jpg"_s, *t.ws.workingQuestion).value_or(QByteArray())),
              QSize(1600, 1200));
    EXPECT_EQ(AttachmentFiles::diskBytes(file), original);

    // The last-used preview finds it there.
    image.open();
    EXPECT_TRUE(image.lastEnabled);
    EXPECT_FALSE(image.picturePreview.isNull());
    EXPECT_TRUE(image.pictureNote.isEmpty());
}

// --- The strip's arithmetic ---------------------------------------------------------------------------

TEST(ThumbnailStripTest, ScalesTheLongerSideTo110RoundingHalvesToEven)
{
    const struct {
        QSize picture;
        QSize thumbnail;
    } cases[] = {
        {{300, 300}, {110, 110}}, {{220, 110}, {110, 55}}, {{110, 220}, {55, 110}},
        {{300, 200}, {110, 73}},  {{4, 1}, {110, 28}}, // 27.5 → 28
        {{220, 5}, {110, 2}},                          // 2.5 → 2
        {{44, 10}, {110, 25}},                         // 25 exactly
        {{20, 7}, {110, 38}},                          // 38.5 → 38
        {{1, 500}, {1, 110}},     {{55, 11}, {110, 22}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ThumbnailStrip::thumbnailSize(c.picture), c.thumbnail)
            << c.picture.width() << "x" << c.picture.height();
}

TEST(ThumbnailStripTest, WidthArrowsAndClicks)
{
    ThumbnailStrip strip;
    EXPECT_EQ(strip.width(), 0);
    EXPECT_EQ(strip.indexAt(3), -1);

    strip.build(QList<QImage>(2, QImage(10, 10, QImage::Format_RGB32)));
    EXPECT_EQ(strip.width(), 370);
    EXPECT_EQ(strip.position(), 0);
    EXPECT_FALSE(strip.nextEnabled());
    EXPECT_FALSE(strip.previousEnabled());
    EXPECT_EQ(strip.indexAt(3), 0);
    EXPECT_EQ(strip.indexAt(300), 1);

    strip.build(QList<QImage>(4, QImage(10, 10, QImage::Format_RGB32)));
    EXPECT_EQ(strip.width(), 490);
    EXPECT_EQ(strip.position(), 3);
    EXPECT_TRUE(strip.nextEnabled());
    strip.next();
    EXPECT_EQ(strip.offset(), -120);
    EXPECT_FALSE(strip.nextEnabled());
    EXPECT_TRUE(strip.previousEnabled());
    strip.next(); // disabled: nothing moves
    EXPECT_EQ(strip.offset(), -120);
    strip.previous();
    EXPECT_EQ(strip.offset(), 0);
    EXPECT_TRUE(strip.nextEnabled());
    EXPECT_FALSE(strip.previousEnabled());

    strip.build(QList<QImage>(6, QImage(10, 10, QImage::Format_RGB32)));
    EXPECT_EQ(strip.width(), 730);
    strip.next();
    strip.next();
    EXPECT_EQ(strip.position(), 5);
    EXPECT_TRUE(strip.nextEnabled());
    strip.next();
    EXPECT_FALSE(strip.nextEnabled());
    EXPECT_EQ(strip.offset(), -360);
    EXPECT_EQ(strip.indexAt(124), 0);
    EXPECT_EQ(strip.indexAt(125), 1);
}
