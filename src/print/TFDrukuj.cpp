#include "print/TFDrukuj.h"

#include "core/Workspace.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

using namespace Qt::StringLiterals;

namespace {

// Where the controls stand over the skin FDrukuj (420 × 400, command bar from y = 348), which
// resources/art/make-art.sh draws with the same numbers: the options panel (46 to 205) and the
// answer sheets' panel (214 to 294).
constexpr QRect optionsPanel{16, 46, 388, 160};
constexpr int rowVersions = 60;
constexpr int rowKey = 98;
constexpr int rowKeyOnly = 128;
constexpr int rowSeed = 166;
constexpr int rowHeight = 24;
constexpr int fieldLeft = 190;
constexpr int rowSheets = 222;
constexpr int rowClass = 256;
constexpr int rowEditable = 304;
constexpr QRect noteArea{20, 330, 380, 16};
constexpr QPoint printButton{200, 358};
constexpr QPoint cancelButton{308, 358};

const QString fieldStyle = u"QLineEdit { border: 1px solid #b4c2cc; border-radius: 0; background: #f4f6f8;"
                           u" color: #2e2e2e; padding: 0 4px; }"_s;

QLabel *caption(const QString &name, const QString &text, const QRect &area, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(area);
    return label;
}

} // namespace

TFDrukuj::TFDrukuj(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FDrukuj"_s, u"drukuj.htm"_s, parent), m_ws(ws), m_form(ws)
{
    m_closeLabel = addStripWithCloseLabel();

    const int left = optionsPanel.left() + 14;
    caption(u"LWersje"_s, u"Liczba wersji:"_s, {left, rowVersions, 170, rowHeight}, this);
    m_versions = new QLineEdit(this);
    m_versions->setObjectName(u"EWersje"_s);
    m_versions->setGeometry(fieldLeft, rowVersions, 40, rowHeight);
    m_versions->setReadOnly(true);
    m_versions->setFocusPolicy(Qt::NoFocus);
    m_versions->setAlignment(Qt::AlignCenter);
    m_versions->setStyleSheet(fieldStyle);
    m_versionArrows = new UpDown(u"UpWersje"_s, {fieldLeft + 40, rowVersions, 16, rowHeight}, this);
    connect(m_versionArrows, &UpDown::stepped, this, [this](int direction) {
        m_form.stepVersions(direction);
        showValues();
    });

    m_key = new QCheckBox(u"Dołącz klucz odpowiedzi"_s, this);
    m_key->setObjectName(u"ChKlucz"_s);
    m_key->setGeometry(left, rowKey, 360, 26);
    m_keyOnly = new QCheckBox(u"Tylko klucz, bez testu"_s, this);
    m_keyOnly->setObjectName(u"ChSamKlucz"_s);
    m_keyOnly->setGeometry(left + 24, rowKeyOnly, 336, 26);
    m_editable = new QCheckBox(u"Dokument do edycji (ODT) zamiast PDF"_s, this);
    m_editable->setObjectName(u"ChDokument"_s);
    m_editable->setGeometry(left - 14, rowEditable, 360, 24);
    m_editable->setToolTip(u"Test otworzysz i poprawisz w programie Word lub Writer"_s);
    connect(m_editable, &QCheckBox::clicked, this, [this](bool on) {
        m_form.setEditable(on);
        showValues();
    });

    m_sheets = new QCheckBox(u"Karty odpowiedzi do sprawdzenia ze skanu"_s, this);
    m_sheets->setObjectName(u"ChKarty"_s);
    m_sheets->setGeometry(left, rowSheets, 360, 26);
    m_sheets->setToolTip(u"Po każdym teście karta z kratkami na odpowiedzi; wypełnione karty sprawdzisz skanem"_s);
    connect(m_sheets, &QCheckBox::clicked, this, [this](bool on) {
        m_form.setSheets(on);
        showValues();
    });
    caption(u"LKlasa"_s, u"Klasa:"_s, {left + 24, rowClass, 60, rowHeight}, this);
    m_class = new QComboBox(this);
    m_class->setObjectName(u"CbKlasa"_s);
    m_class->setGeometry(left + 84, rowClass, 196, rowHeight);
    m_class->setToolTip(u"Dla każdego ucznia klasy karta z imieniem i nazwiskiem"_s);
    connect(m_class, &QComboBox::activated, this, [this](int index) { m_form.chooseClass(index - 1); });
    // On the white panel a command label would vanish under the mouse: a small button like the fields.
    m_studentList = new QPushButton(u"Lista ..."_s, this);
    m_studentList->setObjectName(u"BtLista"_s);
    m_studentList->setGeometry(left + 290, rowClass, 74, rowHeight);
    m_studentList->setCursor(Qt::PointingHandCursor);
    m_studentList->setFocusPolicy(Qt::TabFocus);
    m_studentList->setStyleSheet(u"QPushButton { border: 1px solid #b4c2cc; background: #f4f6f8; color: #2e2e2e; }"
                                 u" QPushButton:hover { background: #e3eaf0; }"
                                 u" QPushButton:disabled { color: #9aa6ae; }"_s);
    m_studentList->setToolTip(u"Wybierz plik listy uczniów (.sku)"_s);
    connect(m_studentList, &QPushButton::clicked, this, [this] {
        m_form.chooseStudentList();
        showValues();
    });
    for (QCheckBox *box : {m_key, m_keyOnly, m_editable, m_sheets}) {
        box->setCursor(Qt::PointingHandCursor);
        box->setStyle(SkinStyle::instance());
    }
    connect(m_key, &QCheckBox::clicked, this, [this](bool on) {
        m_form.setKey(on);
        showValues();
    });
    connect(m_keyOnly, &QCheckBox::clicked, this, [this](bool on) {
        m_form.setKeyOnly(on);
        showValues();
    });

    caption(u"LZiarno"_s, u"Ziarno losowania:"_s, {left, rowSeed, 170, rowHeight}, this);
    m_seed = new QLineEdit(this);
    m_seed->setObjectName(u"EZiarno"_s);
    m_seed->setGeometry(fieldLeft, rowSeed, 110, rowHeight);
    m_seed->setPlaceholderText(u"losowe"_s);
    m_seed->setMaxLength(10);
    m_seed->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), m_seed));
    m_seed->setStyleSheet(fieldStyle);
    m_seed->setToolTip(u"To samo ziarno daje te same wersje; puste pole: wylosuj"_s);
    connect(m_seed, &QLineEdit::textEdited, this, [this](const QString &text) { m_form.seedText = text; });

    auto *note = caption(u"LUwaga"_s, u"Każda wersja ma inną kolejność pytań i odpowiedzi."_s, noteArea, this);
    QFont small = font();
    small.setPixelSize(11);
    note->setFont(small);
    QPalette muted = note->palette();
    muted.setColor(QPalette::WindowText, QColor(95, 114, 128));
    note->setPalette(muted);

    m_print = new PictureButton(u"ImDrukuj"_s, u"drukuj"_s, printButton, this);
    m_cancel = new PictureButton(u"ImAnuluj"_s, u"anuluj"_s, cancelButton, this);
    m_print->setHighlighted(true);
    connect(m_print, &PictureButton::clicked, this, &TFDrukuj::print);
    connect(m_cancel, &PictureButton::clicked, this, &TFDrukuj::reject);
    connect(m_closeLabel, &LabelButton::clicked, this, &TFDrukuj::reject);

    prepare();
}

void TFDrukuj::showPrintDialog(Workspace &ws, QWidget *editor)
{
    TFDrukuj dialog(ws, editor);
    dialog.m_clockAnchor = editor;
    dialog.prepare();
    if (editor)
        dialog.placeAt(editor->pos() + QPoint(120, 80));
    else
        dialog.centreOnScreen();
    dialog.exec();
}

void TFDrukuj::prepare()
{
    m_form.fill();
    showValues();
}

void TFDrukuj::showValues()
{
    m_versions->setText(QString::number(m_form.versions));
    m_key->setChecked(m_form.key);
    m_keyOnly->setChecked(m_form.keyOnly);
    m_keyOnly->setEnabled(m_form.key);
    m_editable->setChecked(m_form.editable);
    m_sheets->setChecked(m_form.sheets);
    const QStringList choices = m_form.classChoices();
    if (choices != m_shownChoices) {
        m_class->clear();
        m_class->addItems(choices);
        m_shownChoices = choices;
    }
    m_class->setCurrentIndex(m_form.classIndex + 1);
    m_class->setEnabled(m_form.sheets);
    m_studentList->setEnabled(m_form.sheets);
    if (m_seed->text() != m_form.seedText)
        m_seed->setText(m_form.seedText);
}

void TFDrukuj::print()
{
    const QPoint anchor = m_clockAnchor ? m_clockAnchor->geometry().topLeft() : geometry().topLeft();
    if (m_form.run(anchor.x() + 200, anchor.y() + 150) == PrintForm::Outcome::Close)
        accept();
}

bool TFDrukuj::acceptKey()
{
    print();
    return true;
}
