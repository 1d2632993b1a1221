#include "settings/TFIniEdytor.h"

#include "core/Workspace.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::IniEdytor;

namespace {

const QString numberFieldStyle =
    u"QLineEdit { border: 1px solid #b4c2cc; border-right: none; border-radius: 0; background: #f4f6f8;"
    u" color: #2e2e2e; padding: 0 2px; }"_s;

// Where the time and scale controls stand, inside G::timeAndScale.
constexpr int timeRowTop = 284;
constexpr int scaleRowTop = 336;
constexpr int rowHeight = 24;
constexpr int fieldWidth = 36;
constexpr int arrowsWidth = 16;
constexpr int thresholdsLeft = 250;
constexpr int thresholdPitch = 54;
// Eight rows of options on the panel.
constexpr int optionHeight = 25;
constexpr int optionTop(int row)
{
    return 6 + row * 26;
}

QString shownHelp(const char16_t *text)
{
    return QString::fromUtf16(text).replace(u'\r', u'\n');
}

} // namespace

TFIniEdytor::TFIniEdytor(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FIniEdytor"_s, u"ustawienia_edytora.htm"_s, parent), m_ws(ws), m_form(ws)
{
    m_closeLabel = addStripWithCloseLabel();

    // The options stand on the white panel of the skin.
    m_options = new QWidget(this);
    m_options->setObjectName(u"POpcje"_s);
    m_options->setGeometry(G::options);
    m_options->installEventFilter(this);

    setHelp(
        addOption(u"CNaglowekZmienny"_s, u"Wstawiaj zmienny nagłówek pytania w teście"_s, &EditorSettings::ng,
                  0),
        shownHelp(u"Zaznaczenie tej opcji spowoduje, że podczas\redycji testu poszczególne pytania będą "
                  u"reprezentowane\rprzez fragment pytania, np. \"Małgosia ma koszyczek...\"\rOdznaczenie "
                  u"spowoduje, że pytanie będzie\roznaczone jako, np.: \"Pytanie 5\""));
    setHelp(addOption(u"CTrzyOdp"_s, u"Mój nowy test domyślnie z trzema odpowiedziami "_s,
                      &EditorSettings::dfto, 1),
            shownHelp(u"Zaznaczenie tej opcji spowoduje, że wybierając nowy test\rlub tworząc nowe pytanie "
                      u"domyślnie mamy zaznaczoną\ropcję \"Trzy odpowiedzi\"\rOdznaczenie spowoduje, że "
                      u"domyślnie tworzymy test\rzawierający cztery odpowiedzi."));
    setHelp(addOption(u"CPojedynczyWybor"_s, u"Mój nowy test domyślnie jako test pojedynczego wyboru"_s,
                      &EditorSettings::sw, 2),
            shownHelp(u"Zaznaczenie tej opcji spowoduje, że wybierając nowy test\rlub tworząc nowe pytanie "
                      u"domyślnie mamy zaznaczoną\ropcję \"Test jednokrotny\"\rOdznaczenie spowoduje, że "
                      u"domyślnie tworzymy test\rwielokrotnego wyboru"));
    setHelp(addOption(u"COstrzegaj"_s, u"Ostrzegaj, gdy usuwam pytanie lub osobę z listy"_s,
                      &EditorSettings::al, 3),
            shownHelp(u"Zaznaczenie tej opcji spowoduje, że usuwając pytanie\rprzy tworzeniu testu, usuwając "
                      u"osobę z listy uczniów,\rpozycję na liście testów, spotkamy się z ostrzeżeniem.\r"
                      u"Odznaczenie spowoduje, że ostrzeżenia w takich sytuacjach\rnie będą generowane."));
    setHelp(addOption(u"CZamknijPoGenerowaniu"_s, u"Zamknij okno po utworzeniu zestawu pytań"_s,
                      &EditorSettings::clg, 4),
            shownHelp(u"Zaznaczenie tej opcji spowoduje, że po wygenerowaniu\rzestawu pytań na podstawie "
                      u"testu, okno generowania\rzestawu zostanie automatycznie zamknięte.\rOdznaczenie "
                      u"spowoduje, że okno o którym mowa pozostanie\rnadal otwarte."));
    setHelp(
        addOption(u"CNajpierwImie"_s, u"Prezentując ucznia najpierw podawaj imię"_s, &EditorSettings::fn, 5),
        shownHelp(u"Zaznaczenie tej opcji spowoduje, że przy sporządzniu\rlisty uczniów najpierw podawane "
                  u"jest imię ucznia.\rOdznaczenie spowoduje, że najpierw podawane jest\rjego nazwisko."));
    setHelp(
        addOption(u"CEdytujNowePytanie"_s, u"Gdy wstawiam nowe pytanie przejdź do jego edycji"_s,
                  &EditorSettings::dfe, 6),
        shownHelp(u"Zaznaczenie tej opcji spowoduje, że po wstawieniu\rnowego pytania przejdziesz od razu "
                  u"do jego edycji.\rJeżeli opcja pozostanie nie zaznaczona, o tym,\rczy edytować pytanie "
                  u"musisz zdecydować samodzielnie\rnp. klikając na nim dwukrotnie."));

    // The eighth row: what happens to a large photo being attached.
    auto *shrinkCaption = new QLabel(u"Zmniejszaj duże zdjęcia"_s, m_options);
    shrinkCaption->setObjectName(u"LZmniejszajZdjecia"_s);
    shrinkCaption->setGeometry(14 + 24, optionTop(7), 190, optionHeight);
    m_shrinking = new QComboBox(m_options);
    m_shrinking->setObjectName(u"CbZmniejszajZdjecia"_s);
    m_shrinking->setGeometry(14 + 24 + 190, optionTop(7), 220, optionHeight);
    // In the order of the setting's values: ask, always, never.
    m_shrinking->addItems({u"pytaj przy każdym zdjęciu"_s, u"zawsze"_s, u"nigdy"_s});
    m_shrinking->setCursor(Qt::PointingHandCursor);
    const QString shrinkHelp =
        shownHelp(u"Zdjęcie JPEG dłuższe niż 1600 pikseli albo zapisane obrócone można\rdołączyć "
                  u"zmniejszone do 1600 pikseli i obrócone do właściwego położenia:\rtest jest wtedy "
                  u"wielokrotnie mniejszy. Plik na dysku się nie zmienia.\r\"pytaj\" – pytanie przy "
                  u"każdym takim zdjęciu, \"zawsze\" – bez pytania,\r\"nigdy\" – zdjęcia zostają takie, "
                  u"jakie są.");
    setHelp(shrinkCaption, shrinkHelp);
    setHelp(m_shrinking, shrinkHelp);
    connect(m_shrinking, &QComboBox::activated, this, [this](int index) { m_form.setShrinking(index); });

    // The default time: a read-only number with its arrows, then its caption.
    const int left = G::timeAndScale.left() + 14;
    m_time = addNumberField(u"ECzas"_s, {left, timeRowTop, fieldWidth + 6, rowHeight});
    m_timeArrows = new UpDown(u"UpCzas"_s, {left + fieldWidth + 6, timeRowTop, arrowsWidth, rowHeight}, this);
    auto *timeCaption = new QLabel(u" - dymyślny czas rozwiązywania testu"_s, this);
    timeCaption->setObjectName(u"LDomyslnyCzas"_s);
    timeCaption->setGeometry(left + fieldWidth + 6 + arrowsWidth + 4, timeRowTop, 300, rowHeight);
    setHelp(timeCaption,
            shownHelp(u"Tu ustawiasz domyślny maksymalny czas rozwiązywania\rtestu dla danej klasy. "
                      u"Wartość ta występuje przy\rdodawaniu nowej klasy w trakcie tworzenia listy "
                      u"uczniów."));
    connect(m_timeArrows, &UpDown::stepped, this, [this](int direction) {
        m_form.stepTime(direction);
        showValues();
    });

    // The default grading scale and its five thresholds, top grade first.
    m_scale = new QCheckBox(this);
    m_scale->setObjectName(u"ChJestPunktacja"_s);
    m_scale->setGeometry(left, scaleRowTop, 20, rowHeight);
    m_scale->setCursor(Qt::PointingHandCursor);
    m_scale->setStyle(SkinStyle::instance());
    auto *scaleCaption = new QLabel(u"Dymyślna punktacja"_s, this);
    scaleCaption->setObjectName(u"LDomPunktacja"_s);
    scaleCaption->setGeometry(left + 24, scaleRowTop, 170, rowHeight);
    setHelp(scaleCaption,
            shownHelp(u"Domyślna skala oceniania. \rDotyczy własności testu, klasy i pliku ini."));
    connect(m_scale, &QCheckBox::clicked, this, [this](bool on) { m_form.setScale(on); });

    const struct {
        const char16_t *name;
        const char16_t *arrows;
        const char16_t *grade;
        const char16_t *tip;
        int EditorSettings::*key;
    } thresholds[] = {
        {u"ECel", u"UpCel", u"cel", u"Próg oceny celującej (%)", &EditorSettings::cel},
        {u"EBdb", u"UpBdb", u"bdb", u"Próg oceny bardzo dobrej (%)", &EditorSettings::bdb},
        {u"EDb", u"UpDb", u"db", u"Próg oceny dobrej (%)", &EditorSettings::db},
        {u"EDst", u"UpDst", u"dst", u"Próg oceny dostatecznej (%)", &EditorSettings::dst},
        {u"EDp", u"UpDp", u"dop", u"Próg oceny dopuszczającej (%)", &EditorSettings::dp},
    };
    QFont small = font();
    small.setPixelSize(11);
    for (int i = 0; i < 5; ++i) {
        const auto &t = thresholds[i];
        const int x = thresholdsLeft + i * thresholdPitch;
        auto *grade = new QLabel(QString::fromUtf16(t.grade), this);
        grade->setGeometry(x, scaleRowTop - 18, fieldWidth + arrowsWidth, 16);
        grade->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        grade->setFont(small);
        QPalette muted = grade->palette();
        muted.setColor(QPalette::WindowText, QColor(95, 114, 128));
        grade->setPalette(muted);
        QLineEdit *field =
            addNumberField(QString::fromUtf16(t.name), {x, scaleRowTop, fieldWidth, rowHeight});
        auto *arrows = new UpDown(QString::fromUtf16(t.arrows),
                                  {x + fieldWidth, scaleRowTop, arrowsWidth, rowHeight}, this);
        for (QWidget *w : {static_cast<QWidget *>(grade), static_cast<QWidget *>(field)})
            w->setToolTip(QString::fromUtf16(t.tip));
        m_thresholds.append({t.key, field, arrows});
        connect(arrows, &UpDown::stepped, this, [this, key = t.key](int direction) {
            m_form.stepThreshold(key, direction);
            showValues();
        });
    }

    m_help = new QLabel(this);
    m_help->setObjectName(u"LPodpowiedz"_s);
    m_help->setGeometry(G::help.adjusted(12, 6, -10, -4));
    m_help->setTextFormat(Qt::PlainText);
    m_help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont helpFont = font();
    helpFont.setPixelSize(12);
    m_help->setFont(helpFont);

    m_save = new PictureButton(u"ImZapisz"_s, u"zapisz"_s, G::save, this);
    m_cancel = new PictureButton(u"ImAnuluj"_s, u"anuluj"_s, G::cancel, this);
    for (PictureButton *button : {m_save, m_cancel})
        button->installEventFilter(this);
    connect(m_save, &PictureButton::clicked, this, &TFIniEdytor::save);
    connect(m_cancel, &PictureButton::clicked, this, &TFIniEdytor::cancel);
    connect(m_closeLabel, &LabelButton::clicked, this, &TFIniEdytor::cancel);

    prepare();
}

QCheckBox *TFIniEdytor::addOption(const QString &name, const QString &caption, bool EditorSettings::*flag,
                                  int row)
{
    auto *box = new QCheckBox(caption, m_options);
    box->setObjectName(name);
    box->setGeometry(14, optionTop(row), G::options.width() - 28, optionHeight);
    box->setCursor(Qt::PointingHandCursor);
    box->setStyle(SkinStyle::instance());
    m_flags.append({box, flag});
    connect(box, &QCheckBox::clicked, this, [this, flag](bool on) { m_form.setFlag(flag, on); });
    return box;
}

QLineEdit *TFIniEdytor::addNumberField(const QString &name, const QRect &area)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(name);
    field->setGeometry(area);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(Qt::AlignCenter);
    field->setStyleSheet(numberFieldStyle);
    return field;
}

void TFIniEdytor::setHelp(QWidget *control, const QString &text)
{
    m_helpTexts.insert(control, text);
    control->installEventFilter(this);
}

void TFIniEdytor::prepare()
{
    m_form.fill();
    m_help->clear();
    showValues();
}

void TFIniEdytor::run()
{
    prepare();
    placeAt({m_ws.mainLeft + 162, m_ws.mainTop + 38});
    exec();
}

QString TFIniEdytor::helpText() const
{
    return m_help->text();
}

void TFIniEdytor::showValues()
{
    const EditorSettings &v = m_form.values;
    for (const auto &[box, flag] : m_flags)
        box->setChecked(v.*flag);
    m_shrinking->setCurrentIndex(v.zdz);
    m_time->setText(QString::number(v.dft));
    m_scale->setChecked(v.sk == 1);
    for (const Threshold &t : m_thresholds)
        t.field->setText(QString::number(v.*t.key));
}

void TFIniEdytor::save()
{
    if (m_form.save(m_ws.mainLeft, m_ws.mainTop) == EditorSettingsForm::Outcome::Close)
        accept();
}

void TFIniEdytor::cancel()
{
    if (m_form.cancel(m_ws.mainLeft, m_ws.mainTop) == EditorSettingsForm::Outcome::Close)
        reject();
}

// Over the window's background (and the title strip, and the options panel between the boxes) the note
// is emptied; see also the Leave of each control below.
void TFIniEdytor::enterEvent(QEnterEvent *event)
{
    SkinnedWindow::enterEvent(event);
    m_help->clear();
}

bool TFIniEdytor::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter) {
        if (watched == m_options || watched == dragStrip())
            m_help->clear();
        else if (const auto text = m_helpTexts.constFind(watched); text != m_helpTexts.constEnd())
            m_help->setText(*text);
    }
    // The parent a control sits on gets no Enter when the mouse comes back to it, so leaving a control
    // is what empties its note; the next control's Enter, which comes after, sets its own.
    if (type == QEvent::Leave && m_helpTexts.contains(watched))
        m_help->clear();
    if ((type == QEvent::Enter || type == QEvent::Leave) && (watched == m_save || watched == m_cancel))
        static_cast<PictureButton *>(watched)->setHighlighted(type == QEvent::Enter);
    return SkinnedWindow::eventFilter(watched, event);
}
