#include "settings/TFIniTesty.h"

#include "core/Workspace.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/UpDown.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::IniTesty;

namespace {

const QString fieldStyle = u"QLineEdit { border: 1px solid #b4c2cc; border-radius: 3px; background: #ffffff;"
                           u" color: #2e2e2e; padding: 0 4px; selection-background-color: #e8a93c; }"_s;
const QString numberStyle = u"QLineEdit { border: 1px solid #b4c2cc; border-right: none; background: #f4f6f8;"
                            u" color: #2e2e2e; padding: 0 2px; }"_s;
const QColor headingColour{62, 85, 102};

constexpr int optionsTop = 128;
constexpr int optionPitch = 27;

QLabel *caption(const QString &text, const QRect &area, QWidget *parent, bool heading = false)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(area);
    if (heading) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, headingColour);
        label->setPalette(p);
    }
    return label;
}

QLineEdit *pathField(const QString &name, int top, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(200, top, 344, 24);
    field->setStyleSheet(fieldStyle);
    return field;
}

LabelButton *pickLabel(const QString &name, int top, QWidget *parent)
{
    auto *label = new LabelButton(name, u"Wskaż"_s, {550, top - 2, 54, 28}, parent);
    label->setAlignment(Qt::AlignCenter);
    // On the panel's white the label stands on the bars' middle tone, where both its colours read.
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, QColor(110, 136, 152));
    label->setPalette(p);
    return label;
}

QLabel *helpLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(G::help.adjusted(12, 6, -10, -4));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont small = label->font();
    small.setPixelSize(12);
    label->setFont(small);
    return label;
}

} // namespace

TFIniTesty::TFIniTesty(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FIniTesty"_s, u"ustawienia_modulow.htm"_s, parent), m_ws(ws), m_form(ws)
{
    setHelpOpener(m_ws.helpOpener());
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});
    m_testingHelp = helpLabel(u"LPodpowiedz"_s, this);
    m_learningHelp = helpLabel(u"LPodpowiedzNauka"_s, this);
    m_testingPanel = createTestingPanel();
    m_learningPanel = createLearningPanel();

    m_save = new LabelButton(u"LZapiszIni"_s, u"Zapisz"_s, G::save, this);
    m_close = new LabelButton(u"LCloseIni"_s, u"Zamknij"_s, G::close, this);
    for (LabelButton *label : {m_save, m_close})
        label->setAlignment(Qt::AlignCenter);
    connect(m_save, &LabelButton::clicked, this, &TFIniTesty::save);
    connect(m_close, &LabelButton::clicked, this, &TFIniTesty::closeWindow);
    showValues();
}

QWidget *TFIniTesty::createTestingPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(u"PIniTesty"_s);
    panel->setGeometry(G::panel);
    panel->installEventFilter(this);
    caption(u"Moduł Test – plik ustawień Test.ini"_s, {14, 8, 560, 22}, panel, true);

    caption(u"Plik z listą testów:"_s, {14, 44, 180, 24}, panel);
    m_testList = pathField(u"EFolderTesty"_s, 44, panel);
    setHelp(m_testList,
            u"Tu możemy podać ścieżkę do pliku z listą testów.\rJeżeli przygotujemy zestaw testów "
            u"wraz z ich listą, możemy umieścić je\rw folderze dostępnym dla wszystkich "
            u"użytkowników.\rJeżeli nie podamy ścieżki, program szuka listy testów w folderze "
            u"lokalnym\ro nazwie \"Zestawy\".");
    connect(m_testList, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_filling)
            m_form.setTestingText(&TestingModuleSettings::sct, text);
    });
    connect(pickLabel(u"LFolderTesty"_s, 44, panel), &LabelButton::clicked, this, [this] {
        m_form.pickTestList();
        showValues();
    });

    caption(u"Plik z listą uczniów:"_s, {14, 80, 180, 24}, panel);
    m_studentList = pathField(u"EFolderListy"_s, 80, panel);
    setHelp(m_studentList,
            u"Tu możemy podać ścieżkę do pliku z listą uczniów.\rJeżeli przygotujemy listę "
            u"użytkowników programu, możemy umieścić ją\rw folderze dostępnym dla wszystkich "
            u"użytkowników.\rJeżeli nie podamy ścieżki, program szuka listy uczniów w folderze "
            u"lokalnym\ro nazwie \"Listy\".");
    connect(m_studentList, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_filling)
            m_form.setTestingText(&TestingModuleSettings::scl, text);
    });
    connect(pickLabel(u"LFolderListy"_s, 80, panel), &LabelButton::clicked, this, [this] {
        m_form.pickStudentList();
        showValues();
    });
    setFocusChain({m_testList, m_studentList});

    addTestingOption(
        panel, u"COstrzegaj"_s, u"Ostrzegaj, gdy uczeń zamyka test bez oceny pracy"_s,
        &TestingModuleSettings::al, 0,
        u"Zaznaczenie tej opcji spowoduje, że użytkownik przerywając pracę z tekstem\rzostanie o tym "
        u"fakcie ostrzeżony.\rAnalogicznie, gdy skończy pracę, ale nie zostanie ona "
        u"oceniona.\rOdznaczenie spowoduje, że ostrzeżenia takiego nie będzie.");
    addTestingOption(
        panel, u"CNajpierwImie"_s, u"Prezentując ucznia najpierw podawaj jego imię "_s,
        &TestingModuleSettings::fn, 1,
        u"Zaznaczenie tej opcji spowoduje, że wszędzie tam, gdzie wykorzystywane są\rdane ucznia, "
        u"najpierw podane będzie imię a następnie nazwisko.\rRównież w nazwie pliku "
        u"odpowiedzi.\rOdznaczenie spowoduje, że najpierw podane będzie nazwisko użytkownika.");
    addTestingOption(panel, u"CPokazLegende"_s, u"Po dokonaniu oceny pokazuj legendę"_s,
                     &TestingModuleSettings::opl, 2,
                     u"Zaznaczenie tej opcji spowoduje, że po dokonaniu oceny testu pokazywana\rjest legenda "
                     u"objaśniająca użyte oznaczenia.\r\rOdznaczenie spowoduje, że legenda nie będzie "
                     u"prezentowana.");
    addTestingOption(
        panel, u"CZmienLegende"_s, u"Pozwól użytkownikowi ukrywać legendę"_s, &TestingModuleSettings::chl, 3,
        u"Opcja ta jest istotna, gdy zaznaczymy opcję pokazywania legendy.\rZaznaczenie tej opcji "
        u"spowoduje, że użytkownik może samodzielnie \rzmienić ustawienia i ukryć pokazywanie "
        u"legendy na stałe.\r\rOdznaczenie spowoduje brak możliwości zmiany ustawień przez ucznia.");
    addTestingOption(panel, u"CWieleOcen"_s, u"Pozwól na powtórną ocenę testu"_s, &TestingModuleSettings::woc,
                     4,
                     u"Zaznaczenie tej opcji ukrywa przycisk \"Oceń\" po dokonaniu oceny testu.\rTym samym "
                     u"niemożliwe jest dokonanie powtórnej oceny testu.\rIstotne wówczas, gdy uczeń zamknie "
                     u"okienko podumowania, a nadzorujący\rchciałby zobaczyć wyniki.Powtórna ocena nie wiąże "
                     u"się z ponownym zapisem\rwyników.");
    addTestingOption(
        panel, u"CWymuszajZapisPoUplywieCzasu"_s, u"Wymuszaj zakończenie pracy po upływie czasu"_s,
        &TestingModuleSettings::wz, 5,
        u"Zaznaczenie tej opcji wymusza zakończenie rozwiązywanie testu po upływie czasu "
        u"pracy.\rCzas pracy może być określony dla danego testu lub danej klasy.\rJeżeli uczeń nie "
        u"pracuje anonimowo, następuje automatyczne zapisanie wyniku testu.");

    // The five thresholds, top grade first, under their grade names.
    const int top = optionsTop + 6 * optionPitch + 14;
    caption(u"Progi procentowe ocen:"_s, {14, top + 18, 180, 24}, panel);
    const char16_t *names[5][3] = {{u"ECel", u"UpCel", u"cel"},
                                   {u"EBdb", u"UpBdb", u"bdb"},
                                   {u"EDb", u"UpDb", u"db"},
                                   {u"EDst", u"UpDst", u"dst"},
                                   {u"EDp", u"UpDp", u"dop"}};
    const char16_t *thresholdHelp =
        u"Tu ustawimy progi procentowe na poszczególne oceny.\rOczywistym jest, że "
        u"muszą to być wielkości malejące.\rProgi te obowiązują wszystkich "
        u"użytkowników programu.\rWięcej przeczytasz w pomocy do programu.";
    QFont small = font();
    small.setPixelSize(11);
    for (int i = 0; i < 5; ++i) {
        const int x = 200 + i * 64;
        QLabel *grade = caption(QString::fromUtf16(names[i][2]), {x, top, 52, 16}, panel);
        grade->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        grade->setFont(small);
        auto *field = new QLineEdit(panel);
        field->setObjectName(QString::fromUtf16(names[i][0]));
        field->setGeometry(x, top + 18, 36, 24);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setAlignment(Qt::AlignCenter);
        field->setStyleSheet(numberStyle);
        auto *arrows = new UpDown(QString::fromUtf16(names[i][1]), {x + 36, top + 18, 16, 24}, panel);
        setHelp(arrows, thresholdHelp);
        setHelp(arrows->upArrow(), thresholdHelp);
        setHelp(arrows->downArrow(), thresholdHelp);
        connect(arrows, &UpDown::stepped, this, [this, i](int direction) {
            m_form.stepThreshold(i, direction);
            showValues();
        });
        m_thresholds[static_cast<size_t>(i)] = field;
    }
    return panel;
}

QWidget *TFIniTesty::createLearningPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(u"PIniNauka"_s);
    panel->setGeometry(G::panel);
    panel->installEventFilter(this);
    caption(u"Moduł Nauka – plik ustawień Nauka.ini"_s, {14, 8, 560, 22}, panel, true);

    caption(u"Plik z listą zestawów pytań:"_s, {14, 44, 186, 24}, panel);
    m_setList = pathField(u"ESciezkaListyZestawow"_s, 44, panel);
    setHelp(m_setList,
            u"Tu możemy podać ścieżkę do pliku z listą zestawów pytań.\rJeżeli przygotujemy własne "
            u"zestawy pytań (folderów) wraz z ich listą,\rmożemy umieścić je w folderze dostępnym dla "
            u"wszystkich użytkowników.\r\rJeżeli nie podamy ścieżki, program szuka listy "
            u"zestawów\rw folderze lokalnym o nazwie \"Zestawy\".\rO folderach programu przeczytasz w "
            u"pomocy do programu.");
    connect(m_setList, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_filling)
            m_form.setLearningPath(text);
    });
    connect(pickLabel(u"LScListaNauka"_s, 44, panel), &LabelButton::clicked, this, [this] {
        m_form.pickSetList();
        showValues();
    });

    addLearningOption(
        panel, u"ChOstrzegaj"_s, u"Ostrzegaj, gdy uczeń porzuca pracę z zestawem"_s,
        &LearningModuleSettings::al, 0,
        u"Zaznaczenie tej opcji spowoduje, że użytkownik\rprzerywając pracę z zestawem zostanie o tym "
        u"fakcie ostrzeżony.\r\rOdznaczenie spowoduje, że ostrzeżenia takiego nie będzie.");
    addLearningOption(
        panel, u"ChPowtarzajPytanie"_s, u"Zadaj jeszcze raz pytanie, na które padła błędna odpowiedź"_s,
        &LearningModuleSettings::rq, 1,
        u"Zaznaczenie tej opcji spowoduje, że program ponowi pytanie, \rna które rozwiązujący podał "
        u"błędną odpowiedź.\rPytanie jest ponawiane po zadaniu wszystkich pytań z "
        u"zestawu.\r\rOdznaczenie spowoduje, że pytanie to już nie padnie.");
    addLearningOption(
        panel, u"ChWczytujPonownie"_s, u"Wczytuj obrazy i teksty do każdego pytania"_s,
        &LearningModuleSettings::rr, 2,
        u"W zestawie pytań mogą wystąpić takie, które zawierają\rjednakowe dodatkowe elementy, np. "
        u"obrazy.\rMoże się również zdarzyć, że obrazy są inne, ale mają takie\rsame nazwy. "
        u"Zaznaczenie tej opcji spowoduje, że dodatkowy element będzie\rzawsze wczytywany, "
        u"odznaczenie zaś, że tylko wtedy, gdy nazwy są różne");
    addLearningOption(
        panel, u"ChDajDzwiek"_s, u"Włącz dźwięki towarzyszące pracy z zestawem"_s,
        &LearningModuleSettings::voi, 3,
        u"Pracy z zestawem pytań mogą towarzyszyć dźwięki kwitujące poprawną\rlub błędną odpowiedź. "
        u"Tu możemy włączyć lub wyłączyć te dźwięki.\r\r");
    return panel;
}

QCheckBox *TFIniTesty::addTestingOption(QWidget *panel, const QString &name, const QString &caption,
                                        bool TestingModuleSettings::*flag, int row, const char16_t *help)
{
    auto *box = new QCheckBox(caption, panel);
    box->setObjectName(name);
    box->setGeometry(14, optionsTop + row * optionPitch, G::panel.width() - 28, 24);
    box->setCursor(Qt::PointingHandCursor);
    box->setStyle(SkinStyle::instance());
    box->setFocusPolicy(Qt::NoFocus);
    setHelp(box, help);
    m_testingFlags.append({box, flag});
    connect(box, &QCheckBox::clicked, this, [this, flag](bool on) { m_form.setTestingFlag(flag, on); });
    return box;
}

QCheckBox *TFIniTesty::addLearningOption(QWidget *panel, const QString &name, const QString &caption,
                                         bool LearningModuleSettings::*flag, int row, const char16_t *help)
{
    auto *box = new QCheckBox(caption, panel);
    box->setObjectName(name);
    box->setGeometry(14, optionsTop - 36 + row * optionPitch, G::panel.width() - 28, 24);
    box->setCursor(Qt::PointingHandCursor);
    box->setStyle(SkinStyle::instance());
    box->setFocusPolicy(Qt::NoFocus);
    setHelp(box, help);
    m_learningFlags.append({box, flag});
    connect(box, &QCheckBox::clicked, this, [this, flag](bool on) { m_form.setLearningFlag(flag, on); });
    return box;
}

void TFIniTesty::setHelp(QWidget *control, const char16_t *text)
{
    m_helpTexts.insert(control, QString::fromUtf16(text).replace(u'\r', u'\n'));
    control->installEventFilter(this);
}

void TFIniTesty::showValues()
{
    m_filling = true;
    const bool testing = m_form.panel == ModuleSettingsForm::Panel::Testing;
    m_testingPanel->setVisible(testing);
    m_testingHelp->setVisible(testing);
    m_learningPanel->setVisible(!testing);
    m_learningHelp->setVisible(!testing);
    const TestingModuleSettings &t = m_form.testing;
    if (m_testList->text() != t.sct)
        m_testList->setText(t.sct);
    if (m_studentList->text() != t.scl)
        m_studentList->setText(t.scl);
    for (const auto &[box, flag] : m_testingFlags)
        box->setChecked(t.*flag);
    for (size_t i = 0; i < m_thresholds.size(); ++i)
        m_thresholds[i]->setText(QString::number(t.thresholds[i]));
    const LearningModuleSettings &l = m_form.learning;
    if (m_setList->text() != l.sct)
        m_setList->setText(l.sct);
    for (const auto &[box, flag] : m_learningFlags)
        box->setChecked(l.*flag);
    m_filling = false;
}

QString TFIniTesty::helpText() const
{
    return m_form.panel == ModuleSettingsForm::Panel::Testing ? m_testingHelp->text()
                                                              : m_learningHelp->text();
}

void TFIniTesty::newTestSettings()
{
    m_form.newTestSettings();
    runModal();
}

void TFIniTesty::newLearningSettings()
{
    m_form.newLearningSettings();
    runModal();
}

void TFIniTesty::openModuleSettings()
{
    if (m_form.openModuleSettings())
        runModal();
}

void TFIniTesty::openRecoveryCopy(const QString &copy, const QString &original)
{
    if (m_form.openRecoveryCopy(copy, original))
        runModal();
}

void TFIniTesty::runModal()
{
    m_testingHelp->clear();
    m_learningHelp->clear();
    showValues();
    placeAt({m_ws.mainLeft + 162, m_ws.mainTop + 38});
    exec();
    m_form.windowClosed();
}

void TFIniTesty::save()
{
    m_form.saveCommand(m_ws.mainLeft, m_ws.mainTop);
    showValues();
}

void TFIniTesty::closeWindow()
{
    if (m_form.close(m_ws.mainLeft, m_ws.mainTop) == ModuleSettingsForm::Outcome::Close)
        done(QDialog::Rejected);
    else
        showValues();
}

void TFIniTesty::enterEvent(QEnterEvent *event)
{
    SkinnedWindow::enterEvent(event);
    m_testingHelp->clear();
    m_learningHelp->clear();
}

bool TFIniTesty::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    QLabel *help = m_form.panel == ModuleSettingsForm::Panel::Testing ? m_testingHelp : m_learningHelp;
    if (type == QEvent::Enter) {
        if (watched == m_testingPanel || watched == m_learningPanel || watched == dragStrip())
            help->clear();
        else if (const auto text = m_helpTexts.constFind(watched); text != m_helpTexts.constEnd())
            help->setText(*text);
    }
    // Leaving a control empties the note; the next control's Enter, which comes after, sets its own.
    if (type == QEvent::Leave && m_helpTexts.contains(watched))
        help->clear();
    return SkinnedWindow::eventFilter(watched, event);
}

