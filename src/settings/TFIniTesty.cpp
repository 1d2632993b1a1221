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

// A path of the panel: its caption, field, "Wskaż" label, note and where it reads and writes.
using PathRow = TFIniTesty::PathRow;

const PathRow testingPaths[] = {
    {u"Plik z listą testów:", 180, u"EFolderTesty", u"LFolderTesty", 44,
     u"Tu możemy podać ścieżkę do pliku z listą testów.\rJeżeli przygotujemy zestaw testów "
     u"wraz z ich listą, możemy umieścić je\rw folderze dostępnym dla wszystkich "
     u"użytkowników.\rJeżeli nie podamy ścieżki, program szuka listy testów w folderze "
     u"lokalnym\ro nazwie \"Zestawy\".",
     [](ModuleSettingsForm &f, const QString &text) { f.setTestingText(&TestingModuleSettings::sct, text); },
     [](const ModuleSettingsForm &f) -> const QString & { return f.testing.sct; }, &ModuleSettingsForm::pickTestList},
    {u"Plik z listą uczniów:", 180, u"EFolderListy", u"LFolderListy", 80,
     u"Tu możemy podać ścieżkę do pliku z listą uczniów.\rJeżeli przygotujemy listę "
     u"użytkowników programu, możemy umieścić ją\rw folderze dostępnym dla wszystkich "
     u"użytkowników.\rJeżeli nie podamy ścieżki, program szuka listy uczniów w folderze "
     u"lokalnym\ro nazwie \"Listy\".",
     [](ModuleSettingsForm &f, const QString &text) { f.setTestingText(&TestingModuleSettings::scl, text); },
     [](const ModuleSettingsForm &f) -> const QString & { return f.testing.scl; },
     &ModuleSettingsForm::pickStudentList},
};

const PathRow learningPath = {
    u"Plik z listą zestawów pytań:", 186, u"ESciezkaListyZestawow", u"LScListaNauka", 44,
    u"Tu możemy podać ścieżkę do pliku z listą zestawów pytań.\rJeżeli przygotujemy własne "
    u"zestawy pytań (folderów) wraz z ich listą,\rmożemy umieścić je w folderze dostępnym dla "
    u"wszystkich użytkowników.\r\rJeżeli nie podamy ścieżki, program szuka listy "
    u"zestawów\rw folderze lokalnym o nazwie \"Zestawy\".\rO folderach programu przeczytasz w "
    u"pomocy do programu.",
    [](ModuleSettingsForm &f, const QString &text) { f.setLearningPath(text); },
    [](const ModuleSettingsForm &f) -> const QString & { return f.learning.sct; }, &ModuleSettingsForm::pickSetList};

const TFIniTesty::OptionRow<TestingModuleSettings> testingOptions[] = {
    {u"COstrzegaj", u"Ostrzegaj, gdy uczeń zamyka test bez oceny pracy", &TestingModuleSettings::al,
     u"Zaznaczenie tej opcji spowoduje, że użytkownik przerywając pracę z tekstem\rzostanie o tym "
     u"fakcie ostrzeżony.\rAnalogicznie, gdy skończy pracę, ale nie zostanie ona "
     u"oceniona.\rOdznaczenie spowoduje, że ostrzeżenia takiego nie będzie."},
    {u"CNajpierwImie", u"Prezentując ucznia najpierw podawaj jego imię ", &TestingModuleSettings::fn,
     u"Zaznaczenie tej opcji spowoduje, że wszędzie tam, gdzie wykorzystywane są\rdane ucznia, "
     u"najpierw podane będzie imię a następnie nazwisko.\rRównież w nazwie pliku "
     u"odpowiedzi.\rOdznaczenie spowoduje, że najpierw podane będzie nazwisko użytkownika."},
    {u"CPokazLegende", u"Po dokonaniu oceny pokazuj legendę", &TestingModuleSettings::opl,
     u"Zaznaczenie tej opcji spowoduje, że po dokonaniu oceny testu pokazywana\rjest legenda "
     u"objaśniająca użyte oznaczenia.\r\rOdznaczenie spowoduje, że legenda nie będzie "
     u"prezentowana."},
    {u"CZmienLegende", u"Pozwól użytkownikowi ukrywać legendę", &TestingModuleSettings::chl,
     u"Opcja ta jest istotna, gdy zaznaczymy opcję pokazywania legendy.\rZaznaczenie tej opcji "
     u"spowoduje, że użytkownik może samodzielnie \rzmienić ustawienia i ukryć pokazywanie "
     u"legendy na stałe.\r\rOdznaczenie spowoduje brak możliwości zmiany ustawień przez ucznia."},
    {u"CWieleOcen", u"Pozwól na powtórną ocenę testu", &TestingModuleSettings::woc,
     u"Zaznaczenie tej opcji ukrywa przycisk \"Oceń\" po dokonaniu oceny testu.\rTym samym "
     u"niemożliwe jest dokonanie powtórnej oceny testu.\rIstotne wówczas, gdy uczeń zamknie "
     u"okienko podumowania, a nadzorujący\rchciałby zobaczyć wyniki.Powtórna ocena nie wiąże "
     u"się z ponownym zapisem\rwyników."},
    {u"CWymuszajZapisPoUplywieCzasu", u"Wymuszaj zakończenie pracy po upływie czasu", &TestingModuleSettings::wz,
     u"Zaznaczenie tej opcji wymusza zakończenie rozwiązywanie testu po upływie czasu "
     u"pracy.\rCzas pracy może być określony dla danego testu lub danej klasy.\rJeżeli uczeń nie "
     u"pracuje anonimowo, następuje automatyczne zapisanie wyniku testu."},
};

const TFIniTesty::OptionRow<LearningModuleSettings> learningOptions[] = {
    {u"ChOstrzegaj", u"Ostrzegaj, gdy uczeń porzuca pracę z zestawem", &LearningModuleSettings::al,
     u"Zaznaczenie tej opcji spowoduje, że użytkownik\rprzerywając pracę z zestawem zostanie o tym "
     u"fakcie ostrzeżony.\r\rOdznaczenie spowoduje, że ostrzeżenia takiego nie będzie."},
    {u"ChPowtarzajPytanie", u"Zadaj jeszcze raz pytanie, na które padła błędna odpowiedź",
     &LearningModuleSettings::rq,
     u"Zaznaczenie tej opcji spowoduje, że program ponowi pytanie, \rna które rozwiązujący podał "
     u"błędną odpowiedź.\rPytanie jest ponawiane po zadaniu wszystkich pytań z "
     u"zestawu.\r\rOdznaczenie spowoduje, że pytanie to już nie padnie."},
    {u"ChWczytujPonownie", u"Wczytuj obrazy i teksty do każdego pytania", &LearningModuleSettings::rr,
     u"W zestawie pytań mogą wystąpić takie, które zawierają\rjednakowe dodatkowe elementy, np. "
     u"obrazy.\rMoże się również zdarzyć, że obrazy są inne, ale mają takie\rsame nazwy. "
     u"Zaznaczenie tej opcji spowoduje, że dodatkowy element będzie\rzawsze wczytywany, "
     u"odznaczenie zaś, że tylko wtedy, gdy nazwy są różne"},
    {u"ChDajDzwiek", u"Włącz dźwięki towarzyszące pracy z zestawem", &LearningModuleSettings::voi,
     u"Pracy z zestawem pytań mogą towarzyszyć dźwięki kwitujące poprawną\rlub błędną odpowiedź. "
     u"Tu możemy włączyć lub wyłączyć te dźwięki.\r\r"},
};

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

QWidget *TFIniTesty::createPanel(const QString &name, const QString &heading)
{
    auto *panel = new QWidget(this);
    panel->setObjectName(name);
    panel->setGeometry(G::panel);
    panel->installEventFilter(this);
    caption(heading, {14, 8, 560, 22}, panel, true);
    return panel;
}

void TFIniTesty::addPathRow(QWidget *panel, const PathRow &row)
{
    caption(QString::fromUtf16(row.caption), {14, row.top, row.captionWidth, 24}, panel);
    QLineEdit *field = pathField(QString::fromUtf16(row.field), row.top, panel);
    setHelp(field, row.help);
    connect(field, &QLineEdit::textChanged, this, [this, set = row.set](const QString &text) {
        if (!m_filling)
            set(m_form, text);
    });
    connect(pickLabel(QString::fromUtf16(row.pick), row.top, panel), &LabelButton::clicked, this,
            [this, pick = row.pickCommand] {
                (m_form.*pick)();
                showValues();
            });
    m_paths.append({field, row.value});
}

template <typename Settings>
void TFIniTesty::addOptions(QWidget *panel, int top, std::span<const OptionRow<Settings>> rows,
                            QList<std::pair<QCheckBox *, bool Settings::*>> &flags,
                            void (ModuleSettingsForm::*set)(bool Settings::*, bool))
{
    for (size_t i = 0; i < rows.size(); ++i) {
        const OptionRow<Settings> &row = rows[i];
        auto *box = new QCheckBox(QString::fromUtf16(row.caption), panel);
        box->setObjectName(QString::fromUtf16(row.name));
        box->setGeometry(14, top + static_cast<int>(i) * optionPitch, G::panel.width() - 28, 24);
        box->setCursor(Qt::PointingHandCursor);
        box->setStyle(SkinStyle::instance());
        box->setFocusPolicy(Qt::NoFocus);
        setHelp(box, row.help);
        flags.append({box, row.flag});
        connect(box, &QCheckBox::clicked, this,
                [this, set, flag = row.flag](bool on) { (m_form.*set)(flag, on); });
    }
}

QWidget *TFIniTesty::createTestingPanel()
{
    QWidget *panel = createPanel(u"PIniTesty"_s, u"Moduł Test – plik ustawień Test.ini"_s);
    for (const PathRow &row : testingPaths)
        addPathRow(panel, row);
    setFocusChain({m_paths[0].first, m_paths[1].first});
    addOptions<TestingModuleSettings>(panel, optionsTop, testingOptions, m_testingFlags,
                                      &ModuleSettingsForm::setTestingFlag);

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
    QWidget *panel = createPanel(u"PIniNauka"_s, u"Moduł Nauka – plik ustawień Nauka.ini"_s);
    addPathRow(panel, learningPath);
    addOptions<LearningModuleSettings>(panel, optionsTop - 36, learningOptions, m_learningFlags,
                                       &ModuleSettingsForm::setLearningFlag);
    return panel;
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
    for (const auto &[field, value] : m_paths) {
        if (field->text() != value(m_form))
            field->setText(value(m_form));
    }
    const TestingModuleSettings &t = m_form.testing;
    for (const auto &[box, flag] : m_testingFlags)
        box->setChecked(t.*flag);
    for (size_t i = 0; i < m_thresholds.size(); ++i)
        m_thresholds[i]->setText(QString::number(t.thresholds[i]));
    const LearningModuleSettings &l = m_form.learning;
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

