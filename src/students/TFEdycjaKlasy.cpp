#include "students/TFEdycjaKlasy.h"

#include "core/Workspace.h"
#include "students/StudentListEditor.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/UpDown.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::EdycjaKlasy;

namespace {

const QString fieldStyle =
    u"QLineEdit { border: none; background: transparent; color: #2e2e2e; padding: 0 4px;"
    u" selection-background-color: #e8a93c; }"_s;
const QString numberStyle = u"QLineEdit { border: 1px solid #b4c2cc; border-right: none; background: #f4f6f8;"
                            u" color: #2e2e2e; padding: 0 2px; }"_s;

QLineEdit *numberField(const QString &name, const QRect &area, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(area);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(Qt::AlignCenter);
    field->setStyleSheet(numberStyle);
    return field;
}

} // namespace

int TFEdycjaKlasy::steppedTime(int time, int direction)
{
    // From a time off the grid the first step lands on the nearest multiple in that direction.
    const int below = time - ((time % kTimeStep) + kTimeStep) % kTimeStep;
    const int next = direction > 0 ? below + kTimeStep : (below == time ? time - kTimeStep : below);
    return std::clamp(next, 0, kMaxTime);
}

int TFEdycjaKlasy::steppedThreshold(int value, int direction)
{
    return std::clamp(value + direction, kMinThreshold, kMaxThreshold);
}

TFEdycjaKlasy::TFEdycjaKlasy(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FEdycjaKlasy"_s, u"listaucz_new.htm"_s, parent), m_ws(ws)
{
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});

    m_name = new QLineEdit(this);
    m_name->setObjectName(u"ENazwaKlasy"_s);
    m_name->setGeometry(G::name);
    m_name->setStyleSheet(fieldStyle);
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(u"ESciezka"_s);
    m_folder->setGeometry(G::folder);
    m_folder->setStyleSheet(fieldStyle);
    setFocusChain({m_name, m_folder});

    m_time = numberField(u"ECzas"_s, G::time, this);
    m_timeArrows = new UpDown(u"UpDown"_s, G::timeArrows, this);
    connect(m_timeArrows, &UpDown::stepped, this, [this](int direction) {
        m_values.time = steppedTime(m_values.time, direction);
        showNumbers();
    });
    m_pickFolder = new LabelButton(u"LFolder"_s, u"Wskaż"_s, G::pickFolder, this);
    m_pickFolder->setAlignment(Qt::AlignCenter);
    m_pickFolder->setToolTip(u"Wskaż folder na wyniki testów (F10)"_s);
    connect(m_pickFolder, &LabelButton::clicked, this, &TFEdycjaKlasy::pickFolder);

    m_scale = new QCheckBox(u"Ocena według skali progów procentowych"_s, this);
    m_scale->setObjectName(u"ChJestSkala"_s);
    m_scale->setGeometry(G::scale);
    m_scale->setStyle(SkinStyle::instance());
    m_scale->setCursor(Qt::PointingHandCursor);
    m_scale->setFocusPolicy(Qt::NoFocus);
    connect(m_scale, &QCheckBox::clicked, this, [this](bool on) { m_values.gradingOn = on ? 1 : 0; });

    const char16_t *names[5][2] = {
        {u"ECel", u"UpCel"}, {u"EBdb", u"UpBdb"}, {u"EDb", u"UpDb"}, {u"EDst", u"UpDst"}, {u"EDp", u"UpDp"}};
    for (int i = 0; i < 5; ++i) {
        const int x = G::thresholdsLeft + i * G::thresholdPitch;
        QLineEdit *field = numberField(QString::fromUtf16(names[i][0]), {x, G::thresholdsTop, 36, 24}, this);
        auto *arrows = new UpDown(QString::fromUtf16(names[i][1]), {x + 36, G::thresholdsTop, 16, 24}, this);
        connect(arrows, &UpDown::stepped, this, [this, i](int direction) {
            int &value = m_values.thresholds[static_cast<size_t>(i)];
            value = steppedThreshold(value, direction);
            showNumbers();
        });
        m_thresholds[static_cast<size_t>(i)] = field;
    }

    addAcceptCancelLabels(u"LWprowadz"_s, G::accept, G::cancel);
}

void TFEdycjaKlasy::fill(const SchoolClass &data)
{
    // Shown as stored, however odd: only a value the user steps is brought into its range.
    m_values = data;
    m_name->setText(m_values.name);
    m_folder->setText(m_values.resultsFolder);
    m_scale->setChecked(m_values.gradingOn == 1);
    showNumbers();
}

void TFEdycjaKlasy::showNumbers()
{
    m_time->setText(QString::number(m_values.time));
    for (size_t i = 0; i < m_thresholds.size(); ++i)
        m_thresholds[i]->setText(QString::number(m_values.thresholds[i]));
}

bool TFEdycjaKlasy::run(SchoolClass &data, QPoint at)
{
    fill(data);
    m_name->selectAll();
    m_name->setFocus();
    placeAt(at);
    if (exec() != QDialog::Accepted)
        return false;
    // The students are not the dialog's business.
    const QList<Student> students = data.students;
    data = m_values;
    data.students = students;
    return true;
}

void TFEdycjaKlasy::pickFolder()
{
    if (!m_ws.prompts)
        return;
    const QString folder =
        m_ws.prompts->browseFolder(u"Wskaż folder ..."_s, u"Wskaż folder na wyniki testów"_s, QString());
    if (!folder.isEmpty())
        m_folder->setText(folder);
    m_name->setFocus();
}

bool TFEdycjaKlasy::acceptKey()
{
    m_values.name = m_name->text();
    m_values.resultsFolder = m_folder->text();
    if (!StudentListEditor::checkClassDialog(m_ws, m_values)) {
        m_name->setFocus();
        return true;
    }
    accept();
    return true;
}

bool TFEdycjaKlasy::cancelKey()
{
    reject();
    return true;
}

bool TFEdycjaKlasy::commandKey(const QKeyEvent *key)
{
    if (!isPlain(key, Qt::Key_F10))
        return false;
    pickFolder();
    return true;
}
