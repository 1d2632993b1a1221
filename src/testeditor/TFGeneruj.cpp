#include "testeditor/TFGeneruj.h"

#include "core/Workspace.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QTimer>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Generuj;

TFGeneruj::TFGeneruj(Workspace &ws, QWidget *parent)
    : SkinnedWindow(u"FGeneruj"_s, u"generuj_new.htm"_s, parent), m_ws(ws)
{
    setHelpOpener(m_ws.helpOpener());
    setObjectName(u"FGeneruj"_s);
    setStyleSheet(
        u"QLineEdit { border: none; background: transparent; color: #2e2e2e; padding: 0 4px;"
        u" selection-background-color: #e8a93c; } QLabel#LTest, QLabel#LFolder { color: #2e2e2e; }"_s);
    addDragStrip({0, 0, width(), SkinGeometry::dialogStripHeight});

    m_testLabel = new LabelButton(u"LPlikZTestem"_s, u"Plik z testem ..."_s, G::testLabel, this);
    m_folderLabel = new LabelButton(u"LFolderNaPytania"_s, u"Folder na pytania ..."_s, G::folderLabel, this);
    for (LabelButton *label : {m_testLabel, m_folderLabel})
        label->setContentsMargins(10, 0, 0, 0);
    connect(m_testLabel, &LabelButton::clicked, this, &TFGeneruj::chooseTest);
    connect(m_folderLabel, &LabelButton::clicked, this, &TFGeneruj::chooseFolder);
    m_testPath = new QLabel(this);
    m_testPath->setObjectName(u"LTest"_s);
    m_testPath->setGeometry(G::testPath);
    m_folderPath = new QLabel(this);
    m_folderPath->setObjectName(u"LFolder"_s);
    m_folderPath->setGeometry(G::folderPath);
    for (QLabel *path : {m_testPath, m_folderPath})
        path->setTextFormat(Qt::PlainText);

    m_prefix = new QLineEdit(this);
    m_prefix->setObjectName(u"EPrzedrostek"_s);
    m_prefix->setGeometry(G::prefix);
    m_prefix->installEventFilter(this);
    // Pasted text keeps only what could have been typed.
    connect(m_prefix, &QLineEdit::textEdited, this, [this](const QString &text) {
        const QString &kept = m_gen.editPrefix(text);
        if (kept != text)
            m_prefix->setText(kept);
        showChoices();
    });

    m_generatePanel = new QWidget(this);
    m_generatePanel->setObjectName(u"PPodGeneruj"_s);
    m_generatePanel->setGeometry(G::generatePanel);
    m_generate = new PictureButton(u"ImGeneruj"_s, u"generuj"_s, {0, 0}, m_generatePanel);
    m_cancel = new PictureButton(u"ImAnuluj"_s, u"anuluj"_s, G::cancel, this);
    for (PictureButton *button : {m_generate, m_cancel})
        button->installEventFilter(this);
    connect(m_generate, &PictureButton::clicked, this, &TFGeneruj::generate);
    connect(m_cancel, &PictureButton::clicked, this, [this] { done(QDialog::Rejected); });

    m_icon = new QLabel(this);
    m_icon->setObjectName(u"PZapisIkona"_s);
    m_icon->setGeometry(G::saveIcon);
    m_icon->setAlignment(Qt::AlignCenter);
    auto *movie = new QMovie(u":/anim/zapis.gif"_s, QByteArray(), this);
    m_icon->setMovie(movie);
    m_icon->hide();

    m_iconTimer = new QTimer(this);
    m_iconTimer->setSingleShot(true);
    m_iconTimer->setInterval(2000);
    connect(m_iconTimer, &QTimer::timeout, this, &TFGeneruj::iconTimedOut);
    setFocusChain({m_prefix});
}

void TFGeneruj::setIconDuration(int milliseconds)
{
    m_iconTimer->setInterval(milliseconds);
}

void TFGeneruj::prepare()
{
    m_iconTimer->stop();
    m_icon->hide();
    m_gen.clear();
    m_prefix->clear();
    showChoices();
}

void TFGeneruj::showGeneration()
{
    m_ws.workMode = WorkTestList;
    prepare();
    placeAt({m_ws.mainLeft + 110, m_ws.mainTop + 120});
    m_prefix->setFocus();
    exec();
    m_iconTimer->stop();
    m_icon->hide();
    m_ws.workMode = WorkNothing;
}

void TFGeneruj::showChoices()
{
    m_testPath->setText(m_gen.sourceTest);
    m_folderPath->setText(m_gen.targetFolder);
    m_generatePanel->setVisible(m_gen.canGenerate());
}

void TFGeneruj::chooseTest()
{
    if (!m_ws.prompts)
        return;
    FileDialogRequest r;
    r.title = u"Wskaż plik testu"_s;
    r.filter = u"Plik testu (*.skt)"_s;
    const QString path = m_ws.prompts->openFileName(r);
    if (!path.isEmpty())
        m_gen.sourceTest = path;
    showChoices();
}

void TFGeneruj::chooseFolder()
{
    if (!m_ws.prompts)
        return;
    const QString folder = m_ws.prompts->browseFolder(u"Wskaż folder docelowy"_s, u"Wybierz folder "_s, {});
    if (!folder.isEmpty())
        m_gen.targetFolder = folder;
    showChoices();
}

void TFGeneruj::generate()
{
    if (!m_gen.canGenerate())
        return;
    const SetGeneration::Result result = m_gen.generate(m_ws);
    // Shown whenever a question was written, also when the run stopped at a later one.
    if (result.written > 0) {
        m_icon->show();
        m_icon->movie()->start();
        m_iconTimer->start();
    }
}

bool TFGeneruj::iconShown() const
{
    // Shown in the window, also while the window itself is not on screen.
    return !m_icon->isHidden();
}

void TFGeneruj::iconTimedOut()
{
    m_icon->movie()->stop();
    m_icon->hide();
    if (m_ws.settings.clg && isVisible())
        done(QDialog::Accepted);
}

bool TFGeneruj::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_prefix && type == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (key->key() != Qt::Key_Backspace && !text.isEmpty() && text.at(0).isPrint()) {
            if (!SetGeneration::isPrefixCharacter(text.at(0)) || text.size() != 1)
                return true; // discarded
        }
    }
    if ((type == QEvent::Enter || type == QEvent::Leave) && (watched == m_generate || watched == m_cancel))
        static_cast<PictureButton *>(watched)->setHighlighted(type == QEvent::Enter);
    return SkinnedWindow::eventFilter(watched, event);
}

