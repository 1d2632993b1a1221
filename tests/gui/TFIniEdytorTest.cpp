#include "settings/TFIniEdytor.h"

#include "ModalDriver.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "support/WindowTestSupport.h"
#include "toolkit/LabelButton.h"
#include "toolkit/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct Named {
    const char16_t *control;
    const char16_t *text;
};

const Named kCaptions[] = {
    {u"CNaglowekZmienny", u"Wstawiaj zmienny nagłówek pytania w teście"},
    {u"CTrzyOdp", u"Mój nowy test domyślnie z trzema odpowiedziami "},
    {u"CPojedynczyWybor", u"Mój nowy test domyślnie jako test pojedynczego wyboru"},
    {u"COstrzegaj", u"Ostrzegaj, gdy usuwam pytanie lub osobę z listy"},
    {u"CZamknijPoGenerowaniu", u"Zamknij okno po utworzeniu zestawu pytań"},
    {u"CNajpierwImie", u"Prezentując ucznia najpierw podawaj imię"},
    {u"CEdytujNowePytanie", u"Gdy wstawiam nowe pytanie przejdź do jego edycji"},
    {u"LDomyslnyCzas", u" - dymyślny czas rozwiązywania testu"},
    {u"LDomPunktacja", u"Dymyślna punktacja"},
};

const Named kHelpTexts[] = {
    {u"CNaglowekZmienny",
     u"Zaznaczenie tej opcji spowoduje, że podczas\redycji testu poszczególne pytania będą "
     u"reprezentowane\rprzez fragment pytania, np. \"Małgosia ma koszyczek...\"\rOdznaczenie spowoduje, że "
     u"pytanie będzie\roznaczone jako, np.: \"Pytanie 5\""},
    {u"CTrzyOdp", u"Zaznaczenie tej opcji spowoduje, że wybierając nowy test\rlub tworząc nowe pytanie "
                  u"domyślnie mamy zaznaczoną\ropcję \"Trzy odpowiedzi\"\rOdznaczenie spowoduje, że "
                  u"domyślnie tworzymy test\rzawierający cztery odpowiedzi."},
    {u"CPojedynczyWybor", u"Zaznaczenie tej opcji spowoduje, że wybierając nowy test\rlub tworząc nowe "
                          u"pytanie domyślnie mamy zaznaczoną\ropcję \"Test jednokrotny\"\rOdznaczenie "
                          u"spowoduje, że domyślnie tworzymy test\rwielokrotnego wyboru"},
    {u"COstrzegaj",
     u"Zaznaczenie tej opcji spowoduje, że usuwając pytanie\rprzy tworzeniu testu, usuwając osobę z listy "
     u"uczniów,\rpozycję na liście testów, spotkamy się z ostrzeżeniem.\rOdznaczenie spowoduje, że "
     u"ostrzeżenia w takich sytuacjach\rnie będą generowane."},
    {u"CZamknijPoGenerowaniu",
     u"Zaznaczenie tej opcji spowoduje, że po wygenerowaniu\rzestawu pytań na podstawie testu, okno "
     u"generowania\rzestawu zostanie automatycznie zamknięte.\rOdznaczenie spowoduje, że okno o którym mowa "
     u"pozostanie\rnadal otwarte."},
    {u"CNajpierwImie",
     u"Zaznaczenie tej opcji spowoduje, że przy sporządzniu\rlisty uczniów najpierw podawane jest imię "
     u"ucznia.\rOdznaczenie spowoduje, że najpierw podawane jest\rjego nazwisko."},
    {u"LDomyslnyCzas", u"Tu ustawiasz domyślny maksymalny czas rozwiązywania\rtestu dla danej klasy. Wartość "
                       u"ta występuje przy\rdodawaniu nowej klasy w trakcie tworzenia listy uczniów."},
    {u"CEdytujNowePytanie",
     u"Zaznaczenie tej opcji spowoduje, że po wstawieniu\rnowego pytania przejdziesz od razu do jego "
     u"edycji.\rJeżeli opcja pozostanie nie zaznaczona, o tym,\rczy edytować pytanie musisz zdecydować "
     u"samodzielnie\rnp. klikając na nim dwukrotnie."},
    {u"LDomPunktacja", u"Domyślna skala oceniania. \rDotyczy własności testu, klasy i pliku ini."},
};

const char16_t *const kFlagBoxes[] = {
    u"CNaglowekZmienny",      u"CTrzyOdp",      u"CPojedynczyWybor",  u"COstrzegaj",
    u"CZamknijPoGenerowaniu", u"CNajpierwImie", u"CEdytujNowePytanie"};
const char16_t *const kThresholdFields[] = {u"ECel", u"EBdb", u"EDb", u"EDst", u"EDp"};

// A workspace with its settings file, in the dialog's work mode; the main window at (50, 40).
class TFIniEdytorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.ws.prompts = &prompts;
        t.ws.workMode = WorkEditorSettings;
        t.ws.mainLeft = 50;
        t.ws.mainTop = 40;
        ASSERT_TRUE(WriteDefaultEditorSettings(t.ws));
    }

    static QString text(const QWidget *window, const char16_t *field)
    {
        return control<QLineEdit>(window, field)->text();
    }
    static void click(const QWidget *window, const char16_t *name)
    {
        QTest::mouseClick(control(window, name), Qt::LeftButton);
    }
    static void step(const QWidget *window, const char16_t *arrows, int direction, int times = 1)
    {
        UpDown *updown = control<UpDown>(window, arrows);
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(direction > 0 ? updown->upArrow() : updown->downArrow(), Qt::LeftButton);
    }
    void runDialog()
    {
        TFIniEdytor dialog(t.ws);
        dialog.run();
    }
    EditorSettings fromFile() const
    {
        Workspace other;
        other.paths = t.ws.paths;
        LoadEditorSettings(other);
        return other.settings;
    }

    TempWorkspace t;
    ScriptedPrompts prompts;
    ModalWatchdog watchdog;
};

TEST_F(TFIniEdytorTest, CaptionsAreTheProductsOwn)
{
    TFIniEdytor dialog(t.ws);
    for (const Named &c : kCaptions) {
        QWidget *w = control(&dialog, c.control);
        const QString shown = qobject_cast<QCheckBox *>(w) ? qobject_cast<QCheckBox *>(w)->text()
                                                           : qobject_cast<QLabel *>(w)->text();
        EXPECT_EQ(shown, QString::fromUtf16(c.text));
    }
    EXPECT_TRUE(control<QCheckBox>(&dialog, u"ChJestPunktacja")->text().isEmpty());
}

TEST_F(TFIniEdytorTest, OpensWithTheDefaultsOfAFreshAccount)
{
    TFIniEdytor dialog(t.ws);
    dialog.prepare();
    const bool expected[] = {true, true, true, true, true, true, false}; // ng dfto sw al clg fn dfe
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(control<QCheckBox>(&dialog, kFlagBoxes[i])->isChecked(), expected[i]) << i;
    EXPECT_EQ(text(&dialog, u"ECzas"), u"0"_s);
    EXPECT_FALSE(control<QCheckBox>(&dialog, u"ChJestPunktacja")->isChecked());
    const QStringList thresholds = {u"95"_s, u"85"_s, u"70"_s, u"50"_s, u"30"_s};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(text(&dialog, kThresholdFields[i]), thresholds[i]);
    for (const char16_t *field : {u"ECzas", u"ECel", u"EDp"})
        EXPECT_TRUE(control<QLineEdit>(&dialog, field)->isReadOnly());
    EXPECT_TRUE(dialog.helpText().isEmpty());
    EXPECT_FALSE(dialog.form().modified);
}

TEST_F(TFIniEdytorTest, OpeningRefillsFromTheSettingsInForce)
{
    TFIniEdytor dialog(t.ws);
    t.ws.settings.ng = false;
    t.ws.settings.fn = false;
    t.ws.settings.dfe = true;
    t.ws.settings.dft = 120;
    t.ws.settings.sk = 1;
    t.ws.settings.cel = 91;
    t.ws.settings.dp = 41;
    dialog.prepare();
    EXPECT_FALSE(control<QCheckBox>(&dialog, u"CNaglowekZmienny")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(&dialog, u"CNajpierwImie")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(&dialog, u"CEdytujNowePytanie")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(&dialog, u"COstrzegaj")->isChecked());
    EXPECT_EQ(text(&dialog, u"ECzas"), u"120"_s);
    EXPECT_TRUE(control<QCheckBox>(&dialog, u"ChJestPunktacja")->isChecked());
    EXPECT_EQ(text(&dialog, u"ECel"), u"91"_s);
    EXPECT_EQ(text(&dialog, u"EDp"), u"41"_s);

    // The scale box is ticked only for exactly 1.
    t.ws.settings.sk = 2;
    dialog.prepare();
    EXPECT_FALSE(control<QCheckBox>(&dialog, u"ChJestPunktacja")->isChecked());
}

TEST_F(TFIniEdytorTest, TheNoteExplainsTheControlUnderTheMouse)
{
    TFIniEdytor dialog(t.ws);
    QWidget *options = control(&dialog, u"POpcje");
    const auto enter = [](QWidget *w) {
        QEnterEvent event(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(w, &event);
    };
    const auto leave = [](QWidget *w) {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(w, &event);
    };
    for (const Named &h : kHelpTexts) {
        QWidget *w = control(&dialog, h.control);
        enter(w);
        EXPECT_EQ(dialog.helpText(), QString::fromUtf16(h.text).replace(u'\r', u'\n'));
        // Moving off it onto the panel or the background, which get no Enter of their own, empties it.
        leave(w);
        EXPECT_TRUE(dialog.helpText().isEmpty()) << QString::fromUtf16(h.control).toStdString();
        enter(w);
        enter(w->parentWidget() == options ? options : &dialog);
        EXPECT_TRUE(dialog.helpText().isEmpty()) << QString::fromUtf16(h.control).toStdString();
    }
    // From one control straight onto the next: Leave comes first, then the new note.
    enter(control(&dialog, u"CNaglowekZmienny"));
    leave(control(&dialog, u"CNaglowekZmienny"));
    enter(control(&dialog, u"CTrzyOdp"));
    EXPECT_TRUE(dialog.helpText().startsWith(u"Zaznaczenie tej opcji spowoduje, że wybierając"_s));
    enter(dialog.dragStrip());
    EXPECT_TRUE(dialog.helpText().isEmpty());
}

TEST_F(TFIniEdytorTest, ClicksReachTheForm)
{
    TFIniEdytor dialog(t.ws);
    dialog.show();
    click(&dialog, u"CNajpierwImie"); // a click anywhere on the caption toggles the box
    EXPECT_FALSE(dialog.form().values.fn);
    EXPECT_TRUE(dialog.form().modified);

    step(&dialog, u"UpCzas", +1, 3);
    EXPECT_EQ(text(&dialog, u"ECzas"), u"15"_s);
    step(&dialog, u"UpCzas", -1, 5);
    EXPECT_EQ(text(&dialog, u"ECzas"), u"0"_s);
    EXPECT_EQ(dialog.form().values.dft, 0);

    step(&dialog, u"UpCel", +1, 10);
    EXPECT_EQ(text(&dialog, u"ECel"), u"99"_s);
    step(&dialog, u"UpDp", -1);
    EXPECT_EQ(text(&dialog, u"EDp"), u"29"_s);
    EXPECT_EQ(dialog.form().values.dp, 29);
    EXPECT_EQ(text(&dialog, u"EDst"), u"50"_s);

    QCheckBox *scale = control<QCheckBox>(&dialog, u"ChJestPunktacja");
    QTest::mouseClick(scale, Qt::LeftButton, {}, QPoint(8, scale->height() / 2));
    EXPECT_EQ(dialog.form().values.sk, 1);
    // Nothing is in force before a save.
    EXPECT_TRUE(t.ws.settings.fn);
    EXPECT_EQ(t.ws.settings.sk, 0);
    dialog.hide();
}

// The eighth row: what to do with a large photo, asking by default, chosen with the keyboard too.
TEST_F(TFIniEdytorTest, LargePhotoChoiceReachesTheForm)
{
    TFIniEdytor dialog(t.ws);
    dialog.prepare();
    QComboBox *choice = control<QComboBox>(&dialog, u"CbZmniejszajZdjecia");
    EXPECT_EQ(choice, dialog.shrinkingChoice());
    EXPECT_EQ(control<QLabel>(&dialog, u"LZmniejszajZdjecia")->text(), u"Zmniejszaj duże zdjęcia"_s);
    ASSERT_EQ(choice->count(), 3);
    EXPECT_EQ(choice->currentIndex(), EditorSettings::ShrinkAsk);
    dialog.show();
    choice->setFocus();
    QTest::keyClick(choice, Qt::Key_Down);
    EXPECT_EQ(dialog.form().values.zdz, EditorSettings::ShrinkAlways);
    EXPECT_TRUE(dialog.form().modified);
    dialog.hide();

    t.ws.settings.zdz = EditorSettings::ShrinkNever;
    dialog.prepare();
    EXPECT_EQ(choice->currentIndex(), EditorSettings::ShrinkNever);
}

TEST_F(TFIniEdytorTest, SaveClosesBesideTheMainWindowAndShowsTheClock)
{
    QPoint at;
    whenModal([&](QWidget *modal) {
        at = modal->pos();
        click(modal, u"CEdytujNowePytanie");
        step(modal, u"UpCzas", +1, 2);
        click(modal, u"ImZapisz");
    });
    runDialog();
    EXPECT_EQ(at, QPoint(50 + 162, 40 + 38));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(prompts.clockPositions, QList<QPoint>{QPoint(50 + 200, 40 + 150)});
    EXPECT_TRUE(t.ws.settings.dfe);
    EXPECT_TRUE(fromFile().dfe);
    EXPECT_EQ(fromFile().dft, 10);
}

TEST_F(TFIniEdytorTest, ThresholdsThatDoNotFallKeepTheDialogOpen)
{
    bool openAfterSave = false;
    whenModal([&](QWidget *modal) {
        step(modal, u"UpDst", +1, 20); // 50 -> 70, equal to dobry
        click(modal, u"ImZapisz");
        openAfterSave = modal->isVisible();
        prompts.queueAnswer(MessageResult::No);
        click(modal, u"ImAnuluj");
    });
    runDialog();
    EXPECT_TRUE(openAfterSave);
    EXPECT_EQ(prompts.messageTexts(), (QStringList{u"Ustaw poprawnie progi punktowe."_s,
                                                   u"Zmieniono ustawienia. Czy zapisać zmiany?"_s}));
    EXPECT_EQ(t.ws.settings.dst, 50);
    EXPECT_EQ(fromFile().dst, 50);
    EXPECT_TRUE(prompts.clockPositions.isEmpty());
}

TEST_F(TFIniEdytorTest, LeavingWithoutChangesAsksNothing)
{
    for (const char16_t *leave : {u"ImAnuluj", u"LClose"}) {
        whenModal([&](QWidget *modal) { click(modal, leave); });
        runDialog();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(TFIniEdytorTest, LeavingAfterAChangeAsksAndCancelStays)
{
    bool openAfterCancel = false;
    whenModal([&](QWidget *modal) {
        click(modal, u"COstrzegaj");
        prompts.queueAnswer(MessageResult::Cancel);
        click(modal, u"LClose");
        openAfterCancel = modal->isVisible();
        prompts.queueAnswer(MessageResult::Yes);
        click(modal, u"ImAnuluj");
    });
    runDialog();
    EXPECT_TRUE(openAfterCancel);
    EXPECT_EQ(prompts.messageTexts(), QStringList(2, u"Zmieniono ustawienia. Czy zapisać zmiany?"_s));
    EXPECT_FALSE(fromFile().al);
    EXPECT_EQ(prompts.clockPositions.size(), 1);
}

} // namespace
