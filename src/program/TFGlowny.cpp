#include "program/TFGlowny.h"

#include "program/MainCommands.h"
#include "program/TFWinieta.h"
#include "core/Workspace.h"
#include "storage/Pictures.h"
#include "toolkit/DroppedFiles.h"
#include "toolkit/HelpPages.h"
#include "toolkit/LabelButton.h"
#include "toolkit/SkinGeometry.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Glowny;

namespace {
const QString helpContents = u"index.htm"_s;
const QString menuPictureNames[] = {u"MStart"_s, u"MTesty"_s,      u"MPytania"_s,
                                    u"MListy"_s, u"MUstawienia"_s, u"MPomoc"_s};
const QSize menuPictureSize{260, 480};
// The window buttons stand at the right end of the title strip, right to left: close, size, minimise.
constexpr int windowButtonWidth = 40;
} // namespace

TFGlowny::TFGlowny(Workspace &ws, MainCommands &commands, DocumentEditors &editors, QWidget *parent)
    : SkinnedWindow(u"FGlowny"_s, helpContents, parent), m_ws(ws), m_commands(commands), m_editors(editors)
{
    // The editors are modal; the main window itself leaves the background free to take drops.
    setWindowModality(Qt::NonModal);
    setFixedSize(kMainWidth, kMainHeight);
    cutCorners(4);
    setAcceptDrops(true);
    setMouseTracking(true);

    createMenu();
    createWindowButtons();
    addDragStrip({0, 0, width() - 3 * windowButtonWidth - 8, G::stripHeight});
    connect(this, &SkinnedWindow::dragFinished, this, [this](QPoint topLeft) {
        m_ws.mainLeft = topLeft.x();
        m_ws.mainTop = topLeft.y();
    });

    openGroup(NoGroup);
    windowModeChanged();
}

TFGlowny::~TFGlowny() = default;

void TFGlowny::createMenu()
{
    for (const QString &name : menuPictureNames) {
        QImage image;
        LoadSkinImage(name, image);
        m_menuPictures << QPixmap::fromImage(image);
    }
    m_menuPicture = new QLabel(this);
    m_menuPicture->setObjectName(u"ImMenu"_s);
    m_menuPicture->setGeometry(QRect(G::menuPicture, menuPictureSize));
    // Moving over the picture counts as moving over the window: the hints are cleared.
    m_menuPicture->setAttribute(Qt::WA_TransparentForMouseEvents);

    const char16_t *headerNames[] = {u"LTesty", u"LPytania", u"LListy", u"LUstawienia", u"LPomoc"};
    for (int g = GroupTesty; g <= GroupPomoc; ++g) {
        // The group names are part of the menu picture; the header is a captionless click area.
        auto *header = new LabelButton(QString::fromUtf16(headerNames[g - 1]), QString(), QRect(), this);
        connect(header, &LabelButton::clicked, this, [this, g] { openGroup(g); });
        connect(header, &LabelButton::hovered, this, &TFGlowny::clearHints);
        m_headers << header;
    }

    struct MenuEntry {
        const char16_t *name;
        const char16_t *caption;
        int group;
        int workMode;
        Action action;
        void (DocumentEditors::*run)();
        const char16_t *headline;
        const char16_t *paragraph;
    };
    using E = DocumentEditors;
    const MenuEntry entries[] = {
        {u"LNewTest", u"Nowy test", GroupTesty, WorkTest, Action::Editor, &E::newTest,
         u"Tworzy od podstaw nowy test.",
         u"Test możesz zbudować z materiałów przygotowanych wcześniej albo z gotowego zestawu pytań."},
        {u"LOpenTest", u"Otwórz test ...", GroupTesty, WorkTest, Action::Editor, &E::openTest,
         u"Otwiera do edycji istniejący test.",
         u"Zapisany test otwórz ponownie, gdy chcesz poprawić w nim błędy, dokończyć rozpoczętą wcześniej "
         u"pracę albo zapisać go pod inną nazwą."},
        {u"LNewPytanie", u"Nowe pytanie", GroupPytania, WorkSingleQuestion, Action::Editor, &E::newQuestion,
         u"Tworzy nowe pytanie.",
         u"Pojedyncze pytanie przyda się w module Nauka, a także przy układaniu testów. O budowie "
         u"dokumentów przeczytasz w pliku pomocy."},
        {u"LOpenPytanie", u"Otwórz pytanie ...", GroupPytania, WorkSingleQuestion, Action::Editor,
         &E::openQuestion, u"Otwiera do edycji istniejące pytanie.",
         u"Każda zmiana zapisanego wcześniej pytania zaczyna się od otwarcia go tym poleceniem."},
        {u"LKreska", u"__________________", GroupPytania, -1, Action::None, nullptr, nullptr, nullptr},
        {u"LGenerujZestaw", u"Generuj zestaw ...", GroupPytania, WorkTestList, Action::Editor,
         &E::generateSet, u"Generuje zestaw pytań na podstawie testu.",
         u"Pytania wybranego testu stają się zestawem pojedynczych pytań, na przykład do pracy w module "
         u"Nauka. Szczegóły znajdziesz w pliku pomocy."},
        {u"LNewListaUczniow", u"Nowa lista uczniów", GroupListy, WorkStudentList, Action::Editor,
         &E::newStudentList, u"Tworzy nową listę uczniów.",
         u"Nową listę uczniów wypełnisz na kilka sposobów i zapiszesz w pliku. Szczegóły znajdziesz "
         u"w pliku pomocy."},
        {u"LOpenListaUczniow", u"Otwórz listę uczniów ...", GroupListy, -1, Action::Editor,
         &E::openStudentList, u"Otwiera do edycji listę uczniów.",
         u"W zapisanej liście uczniów wprowadzisz zmiany i zachowasz je w pliku."},
        {u"LNewListaTestow", u"Nowa lista testów", GroupListy, WorkTestList, Action::Editor, &E::newTestList,
         u"Tworzy nową listę testów.",
         u"Nową listę testów wypełnisz i zapiszesz w pliku. Szczegóły znajdziesz w pliku pomocy."},
        {u"LOpenListaTestow", u"Otwórz listę testów ...", GroupListy, -1, Action::Editor, &E::openTestList,
         u"Otwiera do edycji listę testów.", u"Zapisaną listę testów możesz zmienić, rozszerzyć i zachować."},
        {u"LNewListaPytan", u"Nowa lista pytań", GroupListy, WorkSetList, Action::Editor, &E::newTestList,
         u"Tworzy nową listę zestawów pytań.",
         u"Nowa lista zestawów pytań przygotowuje materiał do pracy w module Nauka. Szczegóły znajdziesz "
         u"w pliku pomocy."},
        {u"LOpenListaPytan", u"Otwórz listę pytań", GroupListy, -1, Action::Editor, &E::openSetList,
         u"Otwiera do edycji listę zestawów pytań.",
         u"Zapisaną listę zestawów możesz zmienić, rozszerzyć i zachować."},
        {u"LNewIniTest", u"Nowy plik Test.ini", GroupUstawienia, WorkTestModuleSettings, Action::Editor,
         &E::newTestSettings, u"Tworzy nowy plik ustawień modułu Test.",
         u"Tutaj przygotujesz plik ustawień dla modułu Test, w którym uczniowie rozwiązują testy. "
         u"Szczegóły znajdziesz w pliku pomocy."},
        {u"LNewIniNauka", u"Nowy plik Nauka.ini", GroupUstawienia, WorkLearningModuleSettings, Action::Editor,
         &E::newLearningSettings, u"Tworzy nowy plik ustawień modułu Nauka.",
         u"Tutaj przygotujesz plik ustawień dla modułu Nauka, w którym uczniowie uczą się z zestawów "
         u"pytań. Szczegóły znajdziesz w pliku pomocy."},
        {u"LOpenIni", u"Otwórz plik ini ...", GroupUstawienia, WorkOpeningModuleSettings, Action::Editor,
         &E::openModuleSettings, u"Otwiera do edycji plik ini.",
         u"Zmienisz tu zapisany plik ustawień jednego z modułów. Edytor sam rozpozna, do którego modułu "
         u"należy plik."},
        {u"LOProgramie", u"O programie", GroupPomoc, -1, Action::About, nullptr,
         u"Krótka informacja o programie.", u"Kto, kiedy, wersja programu."},
        {u"LHelp", u"Pomoc                 F1          ", GroupPomoc, -1, Action::Help, nullptr,
         u"Pomoc do programu.",
         u"Gdy masz pytanie albo wątpliwość, zajrzyj najpierw do pomocy: tam znajdziesz odpowiedź."},
        {u"LOpenEdytorIni", u"Ustawienia Edytora", GroupPomoc, WorkEditorSettings, Action::Editor,
         &E::editEditorSettings, u"Zmienia ustawienia edytora testów.",
         u"Tutaj zmienisz opcje edytora, z którego właśnie korzystasz."},
    };

    QFont itemFont = font();
    itemFont.setPixelSize(14);
    itemFont.setBold(true);
    for (const MenuEntry &entry : entries) {
        Item item;
        item.label =
            new LabelButton(QString::fromUtf16(entry.name), QString::fromUtf16(entry.caption), QRect(), this);
        item.label->setFont(itemFont);
        item.label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        item.group = entry.group;
        item.workMode = entry.workMode;
        item.action = entry.action;
        item.run = entry.run;
        item.keepsColours = entry.group == GroupTesty;
        if (entry.headline) {
            item.headline = QString::fromUtf16(entry.headline);
            item.paragraph = QString::fromUtf16(entry.paragraph);
        }
        // The separator is an item in the normal colour like the others, but the mouse passes through
        // it: it never lights, shows no hand and no hint.
        if (entry.action == Action::None)
            item.label->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_items << item;
    }
    for (const Item &item : std::as_const(m_items)) {
        connect(item.label, &LabelButton::clicked, this, [this, item] { runItem(item); });
        connect(item.label, &LabelButton::hovered, this, [this, item] { itemHovered(item); });
    }

    m_descriptionLabel = new QLabel(this);
    m_descriptionLabel->setObjectName(u"LOpisMenu"_s);
    m_descriptionLabel->setGeometry(G::description);
    m_descriptionLabel->setTextFormat(Qt::RichText);
    m_descriptionLabel->setWordWrap(true);
    m_descriptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_descriptionLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont descriptionFont = font();
    descriptionFont.setPixelSize(15);
    m_descriptionLabel->setFont(descriptionFont);
}

void TFGlowny::createWindowButtons()
{
    auto make = [this](const QString &name, const QString &caption, int slot, const QString &tip) {
        const QRect area(width() - (slot + 1) * windowButtonWidth - 4, 0, windowButtonWidth, G::stripHeight);
        auto *button = new LabelButton(name, caption, area, this);
        button->setAlignment(Qt::AlignCenter);
        button->setToolTip(tip);
        QFont big = button->font();
        big.setPixelSize(22);
        button->setFont(big);
        return button;
    };
    m_closeButton = make(u"LClose"_s, u"×"_s, 0, u"Zamknij program"_s);
    m_bigButton = make(u"LBig"_s, QString(), 1, u"Wielkość okna (Ctrl+F4)"_s);
    m_minimizeButton = make(u"LMinimize"_s, u"▁"_s, 2, u"Minimalizuj"_s);
    m_minimizeButton->setContentsMargins(0, 0, 0, 8); // the bar sits on the baseline: lift it level
    connect(m_closeButton, &LabelButton::clicked, this, &TFGlowny::closeRequested);
    connect(m_bigButton, &LabelButton::clicked, this, &TFGlowny::windowModeToggleRequested);
    connect(m_minimizeButton, &LabelButton::clicked, this, &TFGlowny::minimizeRequested);
}

void TFGlowny::openGroup(int group)
{
    if (group < GroupTesty || group > GroupPomoc)
        group = NoGroup;
    m_group = group;
    // Cleared first: an item that appears under the mouse lights up and shows its hint at once.
    clearHints();
    m_menuPicture->setPixmap(m_menuPictures.value(group));

    // The headers stack down the picture; the open group's items stand under its header and push the
    // headers below it down, as the picture draws them.
    const QPoint origin = G::menuPicture;
    const int itemWidth = menuPictureSize.width() - G::itemTextLeft - 8;
    int y = 0;
    for (int g = GroupTesty; g <= GroupPomoc; ++g) {
        LabelButton *header = m_headers[g - 1];
        header->setGeometry(origin.x(), origin.y() + y, menuPictureSize.width(), G::headerHeight);
        header->setVisible(g != group);
        int row = 0;
        for (const Item &item : std::as_const(m_items)) {
            if (item.group != g)
                continue;
            const int top = origin.y() + y + G::headerHeight + G::itemItemsTop + row * G::itemPitch;
            item.label->setGeometry(origin.x() + G::itemTextLeft, top, itemWidth, G::itemPitch);
            item.label->setVisible(g == group);
            ++row;
        }
        y += g == group ? G::headerHeight + 20 + row * G::itemPitch + 6 : G::headerPitch;
    }
}

QString TFGlowny::menuPictureName() const
{
    return menuPictureNames[m_group];
}

void TFGlowny::showHelp()
{
    if (m_ws.prompts)
        m_ws.prompts->openHelpPage(helpContents);
    else
        openHelpPage(helpContents);
}

void TFGlowny::showAbout()
{
    if (m_about)
        m_about->showBy(this);
}

void TFGlowny::windowModeChanged()
{
    setDragEnabled(m_ws.settings.wo == 0);
    // The symbol of the size a click leads to: the whole screen from mode 0, the window alone back.
    m_bigButton->setText(m_ws.settings.wo == 0 ? u"□"_s : u"❐"_s);
}

void TFGlowny::showEvent(QShowEvent *event)
{
    openGroup(NoGroup);
    move(m_ws.mainLeft, m_ws.mainTop);
    windowModeChanged();
    // From the first showing on, dates are written as yyyy/MM/dd.
    m_ws.log.setShortDateForm(true);
    SkinnedWindow::showEvent(event);
}

void TFGlowny::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_F1 && mods == Qt::NoModifier)
        showHelp();
    else if (key == Qt::Key_F4 && mods == Qt::ControlModifier)
        emit windowModeToggleRequested();
    else if (key == Qt::Key_U && mods == Qt::AltModifier)
        m_editors.showLogWindow();
    // Alt+F4, every other Alt key and the rest are swallowed.
}

void TFGlowny::mouseMoveEvent(QMouseEvent *event)
{
    // Only moves over the window's own background (and the menu picture) arrive here.
    clearHints();
    SkinnedWindow::mouseMoveEvent(event);
}

void TFGlowny::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFilePaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFGlowny::dragMoveEvent(QDragMoveEvent *event)
{
    if (!droppedFilePaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFGlowny::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedFilePaths(event->mimeData());
    event->acceptProposedAction();
    // The drop is finished first; a message or an editor opened for it must not hold up the desktop.
    QTimer::singleShot(0, this, [this, paths] { m_commands.dropFiles(paths, DropTarget::MainWindow); });
}

void TFGlowny::helpRequested()
{
    showHelp();
}

void TFGlowny::runItem(const Item &item)
{
    if (item.action == Action::Help) {
        showHelp();
        return;
    }
    if (item.action == Action::None)
        return;
    if (item.workMode >= 0)
        m_ws.workMode = item.workMode;
    setDescription({}, {});
    if (item.action == Action::About)
        showAbout();
    else if (item.run)
        (m_editors.*item.run)();
    if (!item.keepsColours)
        paintItemsNormal();
}

void TFGlowny::itemHovered(const Item &item)
{
    for (const Item &other : std::as_const(m_items)) {
        if (other.label != item.label)
            other.label->setHot(false);
    }
    setDescription(item.headline, item.paragraph);
}

void TFGlowny::clearHints()
{
    paintItemsNormal();
    setDescription({}, {});
}

void TFGlowny::paintItemsNormal()
{
    for (const Item &item : std::as_const(m_items))
        item.label->setHot(false);
}

void TFGlowny::setDescription(const QString &headline, const QString &paragraph)
{
    const QString text = headline.isEmpty() ? QString() : headline + u"\n\n"_s + paragraph;
    if (text == m_description)
        return;
    m_description = text;
    if (text.isEmpty()) {
        m_descriptionLabel->clear();
        return;
    }
    m_descriptionLabel->setText(u"<p style=\"margin: 0 0 14px 0; font-weight: bold; color: #3e5566;\">%1</p>"
                                u"<p style=\"margin: 0; line-height: 135%;\">%2</p>"_s.arg(
                                    headline.toHtmlEscaped(), paragraph.toHtmlEscaped()));
}
