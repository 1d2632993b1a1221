// gallery OUTDIR: renders every window in its main states to OUTDIR/<window>-<state>.png, offscreen,
// so that the artwork and the layout can be looked at without a display.

#include "program/MainCommands.h"
#include "program/TFGlowny.h"
#include "program/TFTloBig.h"
#include "program/TFWarning.h"
#include "program/TFWinieta.h"
#include "program/TFZdarzenia.h"
#include "core/Workspace.h"
#include "question/TFPytanie.h"
#include "testeditor/TFGeneruj.h"
#include "testeditor/TFInfoOTescie.h"
#include "testeditor/TFMenu.h"
#include "testeditor/TFTest.h"
#include "question/TFZbieznoscObrazy.h"
#include "question/TFZbieznoscTeksty.h"
#include "question/TFZegar.h"
#include "print/AnswerSheet.h"
#include "grading/TFKarty.h"
#include "print/TFDrukuj.h"
#include "settings/TFIniEdytor.h"
#include "settings/TFIniTesty.h"
#include "students/TFAutorListyKlas.h"
#include "students/TFEdycjaKlasy.h"
#include "students/TFEdycjaUcznia.h"
#include "students/TFListaUczniow.h"
#include "testeditor/TFEdycjaWpisu.h"
#include "testeditor/TFListaTestow.h"
#include "toolkit/VScrollBar.h"
#include "question/QuestionEditor.h"
#include "question/TFInfoOPytaniu.h"
#include "question/TFWlasnosciPytania.h"
#include "question/TFWstawObraz.h"
#include "question/TFWstawTekst.h"
#include "question/TFZbieznoscObrazy.h"
#include "question/TFZbieznoscTeksty.h"
#include "question/TFZegar.h"
#include "question/TestEditorLink.h"
#include "settings/TFIniEdytor.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/Pictures.h"
#include "toolkit/InterfaceColours.h"
#include "toolkit/LabelButton.h"
#include "toolkit/Resources.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/SkinnedWindow.h"

#include <QPainter>
#include <QAbstractItemView>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

QString outDir;
int written = 0;

void save(QWidget &window, const QString &name)
{
    window.show();
    QCoreApplication::processEvents();
    const QString path = outDir + u'/' + name + u".png"_s;
    if (!window.grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        ++written;
    window.hide();
}

void saveImage(const QImage &image, const QString &name)
{
    if (image.save(outDir + u'/' + name + u".png"_s))
        ++written;
}

void press(QWidget &window, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

// Stand-in prompts for the clash dialogs: the gallery never clicks.
class SilentPrompts : public Prompts {
public:
    MessageResult showMessage(MessageKind, MessageIcon, const QString &) override { return MessageResult::Close; }
    QString openFileName(const FileDialogRequest &) override { return {}; }
    QString saveFileName(const FileDialogRequest &) override { return {}; }
    QString browseFolder(const QString &, const QString &, const QString &) override { return {}; }
    void showSavedClock(int, int) override {}
    ClashAnswer resolveTextClash(const QString &, const QString &, const QString &) override { return {}; }
    ClashAnswer resolveImageClash(const QString &, const QByteArray &, const QString &, const QByteArray &,
                                  const QString &) override
    {
        return {};
    }
    void openHelpPage(const QString &) override {}
};

void warningBoxes()
{
    TFWarning box;
    const struct {
        MessageKind kind;
        MessageIcon icon;
        const char16_t *name;
        const char16_t *text;
    } states[] = {
        {MessageKind::CloseOnly, MessageIcon::InfoIcon, u"closeonly-info", u"\rWpisz nową nazwę pliku."},
        {MessageKind::CloseOnly, MessageIcon::QuestionIcon, u"closeonly-question",
         u"\rCzy wiesz, że pytania można przeciągać?"},
        {MessageKind::CloseOnly, MessageIcon::WarningIcon, u"closeonly-warning",
         u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania lub listy."},
        {MessageKind::YesNoCancel, MessageIcon::InfoIcon, u"yesnocancel-info",
         u"Zmieniono ustawienia. Czy zapisać zmiany?"},
        {MessageKind::YesNoCancel, MessageIcon::QuestionIcon, u"yesnocancel-question",
         u"Czy rzeczywiście usunąć?\rTej operacji nie można cofnąć."},
    };
    for (const auto &s : states) {
        box.prepare(s.kind, s.icon, QString::fromUtf16(s.text));
        save(box, u"FWarning-"_s + QString::fromUtf16(s.name));
    }
    box.prepare(MessageKind::YesNoCancel, MessageIcon::QuestionIcon,
                u"Czy rzeczywiście usunąć?\rTej operacji nie można cofnąć."_s);
    press(box, Qt::Key_Right);
    save(box, u"FWarning-yesnocancel-question-nie"_s);
    press(box, Qt::Key_Right);
    save(box, u"FWarning-yesnocancel-question-anuluj"_s);

    QString longText = u"\rTen komunikat jest celowo bardzo długi, żeby pokazać, jak pole tekstu zawija "
                       u"wiersze i gdzie je ucina."_s;
    for (int i = 1; i <= 8; ++i)
        longText += u"\rWiersz %1: zażółć gęślą jaźń."_s.arg(i);
    box.prepare(MessageKind::CloseOnly, MessageIcon::InfoIcon, longText);
    save(box, u"FWarning-closeonly-long"_s);
}

void clockWindow()
{
    TFZegar zegar;
    for (int frame : {0, 3, 7}) {
        zegar.animation()->jumpToFrame(frame);
        save(zegar, u"FZegar-frame%1"_s.arg(frame));
    }
}

QByteArray pictureBytes(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage samplePicture(int w, int h, const QColor &sky)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, sky.lighter(130));
    g.setColorAt(1, sky);
    p.fillRect(image.rect(), g);
    p.setBrush(QColor(240, 200, 80));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(w * 0.78, h * 0.25), h * 0.12, h * 0.12);
    p.setBrush(QColor(90, 140, 80));
    p.drawRect(0, h * 2 / 3, w, h / 3);
    p.setBrush(QColor(180, 90, 70));
    p.drawRect(w / 4, h / 2, w / 4, h / 4);
    p.setBrush(QColor(120, 60, 50));
    p.drawPolygon(QPolygonF({QPointF(w / 4.0 - 8, h / 2.0), QPointF(w * 3 / 8.0, h / 3.0),
                             QPointF(w / 2.0 + 8, h / 2.0)}));
    return image;
}

void clashDialogs()
{
    SilentPrompts prompts;
    TFZbieznoscTeksty texts(prompts);
    texts.prepare(u"opis.txt"_s,
                  u"Ala ma kota, a kot ma Alę.\r\nTo jest tekst dołączony do pytania 3.\r\n\r\n"
                  u"Źdźbło trawy, gęś i łabędź nad stawem."_s,
                  u"Ala ma kota, a kot ma Alę.\r\nTo jest poprawiony tekst z dysku, trochę dłuższy "
                  u"niż ten w teście, żeby było widać zawijanie wierszy w panelu."_s);
    save(texts, u"FZbieznoscTeksty-prepared"_s);
    texts.findChild<QLineEdit *>(u"ENowaNazwa"_s)->setText(u"opis_nowy.txt"_s);
    save(texts, u"FZbieznoscTeksty-newname"_s);

    TFZbieznoscObrazy images(prompts);
    images.prepare(u"mapa.bmp"_s, pictureBytes(samplePicture(480, 320, QColor(90, 140, 200)), "BMP"),
                   u"mapa.bmp"_s, pictureBytes(samplePicture(160, 120, QColor(200, 120, 90)), "BMP"),
                   u"mapa.bmp"_s);
    save(images, u"FZbieznoscObrazy-prepared"_s);
    images.prepare(u"zdjęcie.jpg"_s, QByteArray("not a picture"), u"zdjęcie.jpg"_s,
                   pictureBytes(samplePicture(300, 300, QColor(120, 120, 160)), "BMP"), u"zdjęcie.bmp"_s);
    save(images, u"FZbieznoscObrazy-damaged"_s);
}

// A test editor standing still, for the windows placed by it.
class StillTestEditor : public TestEditorLink {
public:
    void setNodeLabel(int, const QString &) override {}
    void setNodeMark(int) override {}
    bool saveQuestionAs(int) override { return false; }
    void setTestModified() override {}
    void questionAppended(int) override {}
    QPoint position() const override { return {}; }
};

// A test with three pictures, two texts and question 1 referring to one of each, in a fresh workspace.
struct SampleTest {
    QTemporaryDir dir;
    Workspace ws;
    SilentPrompts prompts;
    StillTestEditor link;
    QuestionEditor editor{ws};

    SampleTest()
    {
        ws.prompts = &prompts;
        ws.setUpFoldersAndPaths(dir.path());
        ws.createWorkingArchives();
        editor.setTestEditor(&link);
    }
    ~SampleTest() { ws.shutDown(); }

    void fill(int pictures)
    {
        TVfsPAK &t = *ws.workingTest;
        PutStream(
            u"wisla.txt"_s,
            Cp1250::fromUnicode(u"Wisła – najdłuższa rzeka Polski. Płynie z Beskidu Śląskiego przez Kraków, "
                                u"Warszawę i Toruń do Zatoki Gdańskiej.\r\nJej długość to 1022 km."),
            t);
        PutStream(
            u"odra.txt"_s,
            Cp1250::fromUnicode(u"Odra wypływa w Czechach, a na długim odcinku wyznacza granicę z Niemcami."),
            t);
        const QColor skies[] = {QColor(90, 140, 200), QColor(200, 120, 90), QColor(120, 160, 110),
                                QColor(150, 110, 170), QColor(90, 170, 180)};
        const QSize sizes[] = {{320, 200}, {160, 240}, {300, 300}, {400, 120}, {200, 150}};
        for (int i = 0; i < pictures; ++i)
            PutStream(u"obraz%1.bmp"_s.arg(i + 1),
                      pictureBytes(samplePicture(sizes[i].width(), sizes[i].height(), skies[i]), "BMP"), t);
        ws.workMode = WorkTest;
        ws.test.header.questionCount = 2;
        ws.test.header.answerCount = 4;
        ws.test.header.multipleChoice = 1;
        Question &q = ws.test.question(1);
        q.text = u"Przez które miasta przepływa Wisła?"_s;
        q.answers = {u"Kraków"_s, u"Poznań"_s, u"Toruń"_s,
                     u"Wrocław – stolica Dolnego Śląska, przez którą płynie Odra, a nie Wisła"_s, QString()};
        q.correct = u"10100"_s;
        q.textName = u"wisla.txt"_s;
        q.imageName = pictures > 0 ? u"obraz1.bmp"_s : QString();
        editor.fillFromTest(1);
    }
};

void attachmentDialogs()
{
    {
        SampleTest s;
        s.fill(5);
        TFWstawTekst text(s.editor);
        text.prepare();
        save(text, u"FWstawTekst-test"_s);
        text.findChild<LabelButton *>(u"LListaTekstow"_s)->clicked();
        save(text, u"FWstawTekst-test-list"_s);

        TFWstawObraz image(s.editor);
        image.prepare();
        save(image, u"FWstawObraz-test"_s);
        image.findChild<LabelButton *>(u"LListaObrazow"_s)->clicked();
        save(image, u"FWstawObraz-test-strip"_s);
        image.nextArrow()->clicked();
        image.nextArrow()->clicked();
        save(image, u"FWstawObraz-test-strip-end"_s);
    }
    {
        SampleTest s;
        s.fill(0);
        s.ws.lastAttachments.clear();
        PutStream(u"zepsuty.jpg"_s, QByteArray("nie obraz"), *s.ws.workingTest);
        s.ws.lastAttachments.imageName = u"zepsuty.jpg"_s;
        TFWstawObraz image(s.editor);
        image.prepare();
        save(image, u"FWstawObraz-test-damaged"_s);
    }
    {
        SampleTest s;
        s.ws.workMode = WorkSingleQuestion;
        s.editor.newSingleQuestion();
        TFWstawTekst text(s.editor);
        text.prepare();
        save(text, u"FWstawTekst-single-empty"_s);
        const QString file = s.dir.filePath(u"czytanka.txt"_s);
        QFile f(file);
        if (f.open(QIODevice::WriteOnly))
            f.write(
                Cp1250::fromUnicode(u"Dawno, dawno temu, za siedmioma górami i siedmioma lasami, żył sobie "
                                    u"szewczyk Dratewka.\r\nPewnego dnia wyruszył w świat."));
        f.close();
        s.ws.lastAttachments.textName = u"czytanka.txt"_s;
        s.ws.lastAttachments.textSource = file;
        s.ws.question.textName = u"czytanka.txt"_s;
        text.prepare();
        save(text, u"FWstawTekst-single-last"_s);

        const QString picture = s.dir.filePath(u"mapa.bmp"_s);
        samplePicture(480, 320, QColor(90, 140, 200)).save(picture, "BMP");
        s.ws.lastAttachments.imageName = u"mapa.bmp"_s;
        s.ws.lastAttachments.imageSource = picture;
        TFWstawObraz image(s.editor);
        image.prepare();
        save(image, u"FWstawObraz-single-last"_s);
    }
}

void questionInfoWindows()
{
    SampleTest s;
    s.fill(3);
    SingleQuestion &q = s.ws.question;
    q.fileName = u"zadanie_geografia_07.skq"_s;
    q.multipleChoice = 1;
    q.answerCount = 4;
    q.text = u"Które z wymienionych rzek należą do zlewiska Morza Bałtyckiego? Zaznacz wszystkie poprawne "
             u"odpowiedzi."_s;
    q.answers = {u"Wisła"_s, u"Dunaj"_s, u"Odra"_s, u"Łaba"_s, QString()};
    q.correct = u"10100"_s;
    q.textName = u"rzeki.txt"_s;
    q.comment = u"Dunaj uchodzi do Morza Czarnego, Łaba do Północnego."_s;
    TFInfoOPytaniu info(s.ws);
    info.prepare(&s.link);
    save(info, u"FInfoOPytaniu-fits"_s);
    q.answerCount = 5;
    q.answers[4] = u"Niemen"_s;
    q.correct = u"10101"_s;
    q.textName.clear();
    q.comment.clear();
    info.prepare(&s.link);
    save(info, u"FInfoOPytaniu-five-misfit"_s);

    TFWlasnosciPytania properties(s.ws);
    properties.fill(QuestionProperties::fromTestQuestion(s.ws, 1));
    save(properties, u"FWlasnosciPytania-test"_s);
    s.ws.workMode = WorkSingleQuestion;
    s.editor.newSingleQuestion();
    properties.fill(QuestionProperties::fromSingle(s.editor));
    save(properties, u"FWlasnosciPytania-single-empty"_s);
}

// The log window scrolled to its newest entries, then with its level list dropped down (the list is a window of
// its own, laid over the picture where it stands).
void logWindow()
{
    QTemporaryDir dir;
    Workspace ws;
    SilentPrompts prompts;
    ws.prompts = &prompts;
    ws.setUpFoldersAndPaths(dir.path());
    ws.log.setShortDateForm(true);
    ws.log.setFilterLevel(4);
    // Enough entries to scroll: the view opens at the newest.
    for (int run = 0; run < 5; ++run) {
        for (const char16_t *line : {u"Utworzono foldery i ustawiono ścieżki.", u"Poprawnie wczytano plik ini.",
                                     u"Zapisano plik testu.", u"Uszkodzony plik pytania: zadanie_źródło.skq",
                                     u"Import listy uczniów. Błąd przetwarzania listy.",
                                     u"Zapisano plik listy uczniów."})
            ws.logEvent(0, QString::fromUtf16(line));
    }
    TFZdarzenia window(ws);
    window.prepare();
    save(window, u"FZdarzenia-log"_s);

    window.show();
    window.toggleLevelList();
    QCoreApplication::processEvents();
    QImage sheet = window.grab().toImage();
    auto *levels = window.findChild<QComboBox *>(u"CListaPlikow"_s);
    QWidget *popup = levels->view()->window();
    QPainter p(&sheet);
    p.drawPixmap(window.mapFromGlobal(popup->pos()), popup->grab());
    p.end();
    window.toggleLevelList();
    window.hide();
    saveImage(sheet, u"FZdarzenia-levels-open"_s);
}

// The editor settings dialog as on a fresh account, and with the note of the option under the mouse.
void editorSettingsDialog()
{
    QTemporaryDir dir;
    Workspace ws;
    ws.setUpFoldersAndPaths(dir.path());
    TFIniEdytor dialog(ws);
    save(dialog, u"FIniEdytor-defaults"_s);
    dialog.show();
    QWidget *option = dialog.findChild<QCheckBox *>(u"CTrzyOdp"_s);
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), option->mapToGlobal(QPointF(4, 4)));
    QCoreApplication::sendEvent(option, &enter);
    save(dialog, u"FIniEdytor-help"_s);
}

void click(QWidget *widget)
{
    const QPointF at(4, 4);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

// The question editor: a new single question being written, its count list open, five answers of a
// multiple-choice question, and a question of a four-answer test.
void questionEditor()
{
    QTemporaryDir dir;
    Workspace ws;
    SilentPrompts prompts;
    ws.prompts = &prompts;
    ws.setUpFoldersAndPaths(dir.path());
    ws.createWorkingArchives();
    TFPytanie window(ws, nullptr);
    QuestionEditor &editor = window.editor();

    ws.workMode = WorkSingleQuestion;
    window.prepareNewSingleQuestion();
    editor.fields.text = u"Które z miast leży nad Wisłą? Zaznacz jedną odpowiedź."_s;
    editor.fields.answers = {u"Kraków"_s, u"Poznań"_s, u"Łódź"_s, {}, {}};
    editor.selectRadio(1);
    window.refresh();
    save(window, u"FPytanie-single"_s);

    window.show();
    click(window.findChild<QWidget *>(u"LIleOdpowiedzi"_s));
    save(window, u"FPytanie-count-list"_s);

    editor.closePopup();
    editor.togglePopup(QuestionEditor::PopupKind::Count);
    editor.choosePopupItem(2);
    editor.togglePopup(QuestionEditor::PopupKind::Type);
    editor.choosePopupItem(1);
    editor.fields.text = u"Które liczby są pierwsze?"_s;
    editor.fields.answers = {u"2"_s, u"4"_s, u"7"_s, u"9"_s, u"11"_s};
    editor.fields.comment = u"Liczba pierwsza ma dokładnie dwa dzielniki."_s;
    editor.setChecked(1, true);
    editor.setChecked(3, true);
    editor.setChecked(5, true);
    window.refresh();
    save(window, u"FPytanie-five-multiple"_s);

    ws.test.resetTest();
    ws.test.header.answerCount = 4;
    ws.test.header.questionCount = 1;
    Question &q = ws.test.question(1);
    q.text = u"Ile nóg ma pająk?"_s;
    q.answers = {u"sześć"_s, u"osiem"_s, u"dziesięć"_s, u"cztery"_s, {}};
    q.correct = u"01000"_s;
    ws.workMode = WorkTest;
    window.prepareTestQuestion(1);
    save(window, u"FPytanie-in-test"_s);
    ws.shutDown();
}

// The test editor for a new test and with questions (some done, some to do, the context menu open),
// a long test with its scroll bar; the header window for a new test and locked by questions; set
// generation empty and ready with its save icon.
void testEditor()
{
    QTemporaryDir dir;
    Workspace ws;
    SilentPrompts prompts;
    ws.prompts = &prompts;
    ws.setUpFoldersAndPaths(dir.path());
    ws.createWorkingArchives();
    ws.settings.ng = true;
    TFTest window(ws, nullptr);
    TestEditor &editor = window.editor();

    window.prepareNewTest();
    save(window, u"FTest-new"_s);

    TFInfoOTescie *info = window.testInfoWindow();
    info->prepare();
    save(*info, u"FInfoOTescie-new"_s);

    editor.headerAccepted();
    TestHeader &h = ws.test.header;
    h.testName = u"Ułamki zwykłe"_s;
    h.author = u"Anna Nowak"_s;
    h.remarks = u"Sprawdzian po dziale o ułamkach."_s;
    h.time = 45;
    h.answerCount = 4;
    h.gradingOn = 1;
    h.thresholds = {95, 85, 70, 55, 35};
    const QString texts[] = {u"Ile to 1/2 + 1/4?"_s, u"Który ułamek jest największy?"_s, {},
                             u"Skróć ułamek 6/8."_s, {}};
    for (const QString &text : texts) {
        editor.newQuestion();
        Question &q = ws.test.question(h.questionCount);
        q.text = text;
        q.unfinished = text.isEmpty() ? 1 : 0;
        q.imageName = h.questionCount == 2 ? u"RYS.JPG"_s : QString();
    }
    editor.modified = true;
    editor.rebuildOutline();
    editor.select(2);
    window.refresh();
    save(window, u"FTest-questions"_s);

    window.show();
    window.contextMenu()->showContextMenu({150, 110});
    save(window, u"FTest-context-menu"_s);
    window.contextMenu()->hide();

    info->prepare();
    save(*info, u"FInfoOTescie-locked"_s);

    while (h.questionCount < 30)
        editor.newQuestion();
    editor.select(30);
    window.refresh();
    save(window, u"FTest-long"_s);

    TFGeneruj generation(ws);
    generation.prepare();
    save(generation, u"FGeneruj-empty"_s);
    generation.generation().sourceTest = u"/home/nauczyciel/Testy/ułamki.skt"_s;
    generation.generation().targetFolder = u"/home/nauczyciel/Zestawy"_s;
    generation.show();
    auto *prefix = generation.findChild<QLineEdit *>(u"EPrzedrostek"_s);
    prefix->setText(u"ulamki"_s);
    Q_EMIT prefix->textEdited(prefix->text());
    save(generation, u"FGeneruj-ready"_s);
    ws.shutDown();
}

// The print dialog as it opens, with four versions, the key and a seed, for an editable document, and
// with answer sheets for a class.
void printDialog()
{
    QTemporaryDir dir;
    Workspace ws;
    ws.setUpFoldersAndPaths(dir.path());
    TFDrukuj dialog(ws);
    save(dialog, u"FDrukuj-defaults"_s);
    for (int i = 0; i < 3; ++i)
        dialog.form().stepVersions(+1);
    dialog.form().setKey(true);
    dialog.form().seedText = u"2026"_s;
    dialog.showValues();
    save(dialog, u"FDrukuj-versions-key"_s);
    dialog.form().setEditable(true);
    dialog.showValues();
    save(dialog, u"FDrukuj-editable"_s);
    SchoolClass pupils;
    pupils.name = u"2c"_s;
    pupils.students = {{u"Zofia"_s, u"Żółć"_s}, {u"Jan"_s, u"Kowal"_s}};
    dialog.form().classes = {pupils};
    dialog.form().classIndex = 0;
    dialog.form().setSheets(true);
    dialog.showValues();
    save(dialog, u"FDrukuj-sheets-class"_s);
}

// The grading window with two pupils' sheets read, one row still to settle.
void gradingWindow()
{
    QTemporaryDir dir;
    Workspace ws;
    ws.setUpFoldersAndPaths(dir.path());
    TestModel &m = ws.test;
    m.resetTest();
    m.header.questionCount = 8;
    m.header.answerCount = 4;
    m.header.testName = u"Geografia – mapa Polski"_s;
    for (int k = 1; k <= 8; ++k) {
        m.question(k).text = u"Pytanie %1"_s.arg(k);
        m.question(k).answers = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, {}};
        m.question(k).correct = k % 2 ? u"10000"_s : u"00100"_s;
    }
    TFKarty window(ws);
    save(window, u"FKarty-empty"_s);
    const SheetGeometry g = sheetGeometry(8, 4);
    const QStringList pupils{u"Łucja Wąs"_s, u"Jerzy Żuk"_s};
    for (int i = 0; i < pupils.size(); ++i) {
        SheetContent c;
        c.testName = m.header.testName;
        c.code.fingerprint = testFingerprint(m);
        c.code.questions = 8;
        c.code.answers = 4;
        c.code.pupil = i + 1;
        c.code.className = u"2b"_s;
        c.code.firstName = pupils[i].section(u' ', 0, 0);
        c.code.surname = pupils[i].section(u' ', 1);
        const qreal k = 150 / 72.0;
        QImage page(qRound(SheetGeometry::kPageWidth * k), qRound(SheetGeometry::kPageHeight * k), QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter p(&page);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        paintAnswerSheet(p, g, c);
        for (int q = 1; q <= 8; ++q) {
            const int answer = (q + i) % 3 ? (q % 2 ? 0 : 2) : 1;
            const bool faint = i == 1 && q == 5;
            p.setPen(QPen(faint ? QColor(210, 210, 210) : QColor(20, 30, 90), 1.4));
            const QPointF at = g.box(q, answer).centre;
            const qreal r = g.boxHalf * 0.9;
            p.drawLine(at + QPointF(-r, -r), at + QPointF(r, r));
            p.drawLine(at + QPointF(r, -r), at + QPointF(-r, r));
        }
        p.end();
        const QString path = dir.filePath(u"skan%1.png"_s.arg(i + 1));
        page.save(path);
        window.session().addScan(path);
        window.session().wait();
    }
    window.showValues();
    save(window, u"FKarty-results"_s);
    ws.shutDown();
}

// The label colours on the middle tone of the bars and on a light panel.
void labels()
{
    QWidget sheet;
    sheet.setFixedSize(520, 100);
    QPalette pal = sheet.palette();
    pal.setColor(QPalette::Window, QColor(110, 136, 152));
    sheet.setPalette(pal);
    sheet.setAutoFillBackground(true);
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(14);
    sheet.setFont(font);
    const char16_t *captions[] = {u"Zwykły", u"Pod myszą", u"Wyłączony", u"Edytor pytań"};
    for (int i = 0; i < 4; ++i) {
        auto *label = new LabelButton(QString::fromUtf16(captions[i]), &sheet);
        label->setGeometry(16 + i * 126, 20, 120, 24);
        if (i == 1)
            label->setHot(true);
        if (i == 2)
            label->setEnabled(false);
        if (i == 3)
            label->setNormalColour(InterfaceColours::questionEditor);
    }
    auto *light = new QLabel(&sheet);
    light->setGeometry(0, 56, 520, 44);
    light->setAutoFillBackground(true);
    QPalette lightPal = light->palette();
    lightPal.setColor(QPalette::Window, QColor(233, 237, 240));
    light->setPalette(lightPal);
    for (int i = 0; i < 4; ++i) {
        auto *label = new LabelButton(QString::fromUtf16(captions[i]), light);
        label->setGeometry(16 + i * 126, 10, 120, 24);
        if (i == 1)
            label->setHot(true);
        if (i == 2)
            label->setEnabled(false);
        if (i == 3)
            label->setNormalColour(InterfaceColours::questionEditor);
    }
    save(sheet, u"toolkit-labels"_s);
}

// A window's picture as the screen shows it: what its mask cuts off is transparent.
QImage masked(QWidget &window)
{
    QImage image = window.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!window.mask().isEmpty()) {
        QPainter p(&image);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.setClipRegion(QRegion(image.rect()).subtracted(window.mask()));
        p.fillRect(image.rect(), Qt::transparent);
    }
    return image;
}

// The main window in each menu state and with a command's hint, the about window, and the program on
// a 1280 × 800 desktop in both window modes.
void mainWindows()
{
    Workspace ws;
    SilentPrompts prompts;
    ws.prompts = &prompts;
    DocumentEditors editors;
    MainCommands commands(ws, editors);
    TFGlowny main(ws, commands, editors);

    const char16_t *groups[] = {u"start", u"testy", u"pytania", u"listy", u"ustawienia", u"pomoc"};
    for (int g = TFGlowny::NoGroup; g <= TFGlowny::GroupPomoc; ++g) {
        main.openGroup(g);
        saveImage(masked(main), u"FGlowny-"_s + QString::fromUtf16(groups[g]));
    }
    for (const auto &[group, item, name] :
         {std::tuple{TFGlowny::GroupListy, u"LNewListaUczniow", u"listy-hint"},
          std::tuple{TFGlowny::GroupPomoc, u"LOpenEdytorIni", u"pomoc-hint"}}) {
        main.openGroup(group);
        auto *label = main.findChild<LabelButton *>(QString::fromUtf16(item));
        QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), label->mapToGlobal(QPointF(4, 4)));
        QCoreApplication::sendEvent(label, &enter);
        saveImage(masked(main), u"FGlowny-"_s + QString::fromUtf16(name));
    }

    TFWinieta about;
    save(about, u"FWinieta"_s);

    const QRect desktop(0, 0, 1280, 800);
    main.openGroup(TFGlowny::GroupTesty);
    TFTloBig background(commands);
    for (const int mode : {0, 1}) {
        ws.settings.wo = mode;
        main.windowModeChanged();
        const QImage mainPicture = masked(main);
        const WindowPlacement placement = computePlacement(mode, desktop);
        QImage sheet(desktop.size(), QImage::Format_RGB32);
        sheet.fill(QColor(36, 40, 46));
        QPainter p(&sheet);
        if (mode == 1) {
            background.applyPlacement(placement);
            p.drawPixmap(0, 0, background.grab());
        }
        p.drawImage(placement.mainTopLeft, mainPicture);
        p.end();
        saveImage(sheet, u"program-mode%1"_s.arg(mode));
    }
}

// The test list editor: empty, a list of tests with branches, links and the scroll bar (its thumb
// dragged, with the position hint), the entry window, and a list of question sets.
void testListEditor()
{
    QTemporaryDir dir;
    Workspace ws;
    ws.setUpFoldersAndPaths(dir.path());
    SilentPrompts prompts;
    ws.prompts = &prompts;
    TFListaTestow window(ws);
    save(window, u"FListaTestow-empty"_s);

    TestListEditor &e = window.editor();
    const QStringList lines{
        u"0*0*2*-1*1*0*Klasa 4*"_s,
        u"1*1*0*0*1*0*Ułamki zwykłe*klasa4/ulamki.skt*"_s,
        u"2*1*0*0*1*0*Figury na płaszczyźnie*klasa4/figury.skt*"_s,
        u"3*0*1*-1*1*0*Klasa 5*"_s,
        u"4*1*0*3*0*0*Liczby całkowite*klasa5/liczby.skt*"_s,
        u"5*0*0*-1*1*0*Powtórka przed egzaminem*powtorka.skt*"_s,
    };
    e.newList(TestListEditor::Kind::TestList, SkinGeometry::ListaTestow::tree.height());
    e.tree.loadLines(lines);
    e.tree.mouseDown(5);
    e.tree.expandSelected();
    e.tree.keyDown(Qt::Key_Down);
    e.listAuthor = u"Anna Nowak"_s;
    e.listRemarks = u"Testy z matematyki dla klas 4–6."_s;
    e.modified = true;
    window.refresh();
    save(window, u"FListaTestow-branches"_s);

    for (int i = 0; i < 30; ++i)
        e.addAtEnd();
    e.tree.keyDown(Qt::Key_Down);
    window.refresh();
    window.show();
    QCoreApplication::processEvents();
    VScrollBar *bar = window.scrollBar();
    const QPoint thumb = bar->thumbRect().center();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(thumb), bar->mapToGlobal(QPointF(thumb)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(thumb + QPoint(0, 120)), bar->mapToGlobal(QPointF(thumb)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &move);
    save(window, u"FListaTestow-scrolled"_s);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(thumb), bar->mapToGlobal(QPointF(thumb)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &release);

    e.entry = {u"Ułamki zwykłe"_s, u"klasa4/ulamki.skt"_s};
    TFEdycjaWpisu &entry = window.entryWindow();
    QTimer::singleShot(0, &entry, [&entry] {
        entry.grab().save(outDir + u"/FEdycjaWpisu-test.png"_s);
        ++written;
        entry.reject();
    });
    e.listSaved = true;
    entry.run(e, {0, 0});

    e.newList(TestListEditor::Kind::SetList, SkinGeometry::ListaTestow::tree.height());
    e.tree.loadLines({u"0*0*0*-1*1*0*Zestaw powtórkowy*zestawy/powtorka*"_s, u"1*0*0*-1*1*0*Nowy wpis 1*"_s});
    e.entry = {u"Nowy wpis 1"_s, e.noLinkText()};
    window.refresh();
    save(window, u"FListaTestow-sets"_s);
    QTimer::singleShot(0, &entry, [&entry] {
        entry.grab().save(outDir + u"/FEdycjaWpisu-set.png"_s);
        ++written;
        entry.reject();
    });
    entry.run(e, {0, 0});
}

// The student list editor in both views, with its three dialogs.
void studentListEditor()
{
    QTemporaryDir dir;
    Workspace ws;
    ws.setUpFoldersAndPaths(dir.path());
    SilentPrompts prompts;
    ws.prompts = &prompts;
    TFListaUczniow window(ws);
    save(window, u"FListaUczniow-empty"_s);

    StudentListEditor &e = window.editor();
    const QStringList names{u"Anna Nowak"_s, u"Jan Kowalski"_s, u"Łucja Żak"_s, u"Piotr Wiśniewski"_s,
                            u"Maria Nowak-Wiśniewska"_s};
    for (const QString &name : {u"1a"_s, u"1b"_s, u"2a"_s, u"3c"_s}) {
        SchoolClass c = e.newClassDefaults();
        c.name = name;
        e.addClass(c);
        for (const QString &line : names)
            e.list.classes.last().students.append(studentFromLine(line, true));
    }
    e.list.author = u"Anna Nowak"_s;
    e.selectLine(1);
    window.refresh();
    save(window, u"FListaUczniow-classes"_s);
    e.showStudentView();
    for (int i = 0; i < 22; ++i)
        e.addStudent(u"Uczeń"_s, u"Numer "_s + QString::number(i + 6));
    e.selectLine(2);
    window.refresh();
    save(window, u"FListaUczniow-students"_s);

    TFEdycjaKlasy &classDialog = window.classDialog();
    SchoolClass c = e.list.classes.at(1);
    c.resultsFolder = u"/home/nauczyciel/wyniki/1b"_s;
    c.time = 45;
    c.gradingOn = 1;
    classDialog.fill(c);
    save(classDialog, u"FEdycjaKlasy"_s);
    TFEdycjaUcznia &studentDialog = window.studentDialog();
    studentDialog.fill(u"Łucja"_s, u"Żak"_s);
    save(studentDialog, u"FEdycjaUcznia"_s);
    TFAutorListyKlas &info = window.infoDialog();
    info.fill(u"Anna Nowak"_s, u"Klasy pierwsze i drugie.\nWyniki w folderze wspólnym."_s);
    save(info, u"FAutorListyKlas"_s);
}

// The module settings window on each panel, with the note of the control under the mouse.
void moduleSettingsWindow()
{
    QTemporaryDir dir;
    Workspace ws;
    ws.setUpFoldersAndPaths(dir.path());
    TFIniTesty window(ws);
    window.form().newTestSettings();
    window.showValues();
    save(window, u"FIniTesty-testing"_s);
    window.show();
    QWidget *option = window.findChild<QCheckBox *>(u"CZmienLegende"_s);
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), option->mapToGlobal(QPointF(4, 4)));
    QCoreApplication::sendEvent(option, &enter);
    save(window, u"FIniTesty-testing-help"_s);
    window.form().newLearningSettings();
    window.form().learning.sct = u"/srv/zadanix/Zestawy/zestawy.skz"_s;
    window.showValues();
    window.show();
    QWidget *learning = window.findChild<QCheckBox *>(u"ChWczytujPonownie"_s);
    QEnterEvent over(QPointF(4, 4), QPointF(4, 4), learning->mapToGlobal(QPointF(4, 4)));
    QCoreApplication::sendEvent(learning, &over);
    save(window, u"FIniTesty-learning-help"_s);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gallery OUTDIR\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    ensureResources();
    warningBoxes();
    clockWindow();
    clashDialogs();
    attachmentDialogs();
    questionInfoWindows();
    logWindow();
    editorSettingsDialog();
    questionEditor();
    testEditor();
    printDialog();
    gradingWindow();
    testListEditor();
    studentListEditor();
    moduleSettingsWindow();
    labels();
    mainWindows();
    std::printf("%d pictures in %s\n", written, qPrintable(outDir));
    return 0;
}
