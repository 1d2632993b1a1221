#include "question/TFWstaw.h"

#include "core/Workspace.h"
#include "question/QuestionEditor.h"
#include "storage/Pictures.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Wstaw;

namespace {
// Where the dialogs stand relative to the question editor.
constexpr QPoint kOffset{120, 20};
// The rows' colours in the skin: the middle tone, and the light grey of a command not to be had.
const QColor kRow{110, 136, 152};
const QColor kDisabledRow{211, 219, 225};
} // namespace

TFWstaw::TFWstaw(QuestionEditor &editor, AttachmentCommands::Kind kind, const QString &skinName,
                 const QString &helpPage, const Captions &captions, QWidget *parent)
    : SkinnedWindow(skinName, helpPage, parent), m_editor(editor), m_ws(editor.workspace()),
      m_commands(editor, kind)
{
    setHelpOpener(m_ws.helpOpener());
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});
    LoadSkinImage(QString::fromUtf16(captions.soloSkin), m_soloSkin);

    LabelButton **labels[] = {&m_new, &m_last, &m_list, &m_remove};
    QFont commandFont = font();
    commandFont.setPixelSize(14);
    commandFont.setBold(true);
    for (int row = 0; row < 4; ++row) {
        // The label fills its row inside the drawn outline, so a disabled row reads as greyed out.
        auto *label =
            new LabelButton(QString::fromUtf16(captions.names[row]), QString::fromUtf16(captions.texts[row]),
                            G::command(row).adjusted(2, 2, -2, -2), this);
        label->setFont(commandFont);
        label->setIndent(10);
        label->setAutoFillBackground(true);
        label->setToolTip(QString::fromUtf16(captions.tips[row]));
        *labels[row] = label;
    }
    m_cancel = new PictureButton(QString::fromUtf16(captions.cancelName), u"anuluj"_s, G::cancel, this);

    m_listPanel = new QWidget(this);
    m_listPanel->setGeometry(G::list);
    m_listPanel->setAutoFillBackground(true);
    m_listPanel->hide();

    connect(m_new, &LabelButton::clicked, this, [this] {
        m_listPanel->hide();
        finish(m_commands.newFile());
    });
    connect(m_last, &LabelButton::clicked, this, [this] { finish(m_commands.useLast()); });
    connect(m_list, &LabelButton::clicked, this, [this] {
        // The first showing of the picture strip decodes the test's photos: the cursor says so.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_commands.toggleList();
        QApplication::restoreOverrideCursor();
        showState();
    });
    connect(m_remove, &LabelButton::clicked, this, [this] { finish(m_commands.remove()); });
    connect(m_cancel, &PictureButton::clicked, this, &QDialog::reject);
}

void TFWstaw::prepare()
{
    m_solo = !m_commands.inTest();
    m_commands.open();
    showState();
    update();
}

void TFWstaw::run()
{
    prepare();
    placeAt(m_editor.position + kOffset);
    exec();
}

void TFWstaw::showState()
{
    m_last->setEnabled(m_commands.lastEnabled);
    m_list->setEnabled(m_commands.listEnabled);
    m_remove->setEnabled(m_commands.removeEnabled);
    for (LabelButton *label : {m_new, m_last, m_list, m_remove}) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::Window, label->isEnabled() ? kRow : kDisabledRow);
        label->setPalette(pal);
    }
    m_listPanel->setVisible(m_commands.listShown);
    if (m_commands.listShown)
        m_listPanel->raise();
    showKindState();
}

void TFWstaw::finish(AttachmentCommands::Outcome outcome)
{
    if (outcome == AttachmentCommands::Outcome::Close)
        accept();
    else
        showState();
}

void TFWstaw::paintEvent(QPaintEvent *event)
{
    if (!m_solo || m_soloSkin.isNull()) {
        SkinnedWindow::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_soloSkin);
}

bool TFWstaw::cancelKey()
{
    reject();
    return true;
}

// A click on the dialog's background closes an open list.
void TFWstaw::mousePressEvent(QMouseEvent *event)
{
    if (m_commands.listShown) {
        m_commands.hideList();
        showState();
    }
    SkinnedWindow::mousePressEvent(event);
}
