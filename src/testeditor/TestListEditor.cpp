#include "testeditor/TestListEditor.h"

#include "core/TextHelpers.h"
#include "core/Workspace.h"
#include "documents/ListDocuments.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString kTestListFilter = u"Plik listy testów (*.skg)"_s;
const QString kSetListFilter = u"Plik listy zestawów pytań (*.skz)"_s;
const QString kAddFailed = u"Problem ze wstawieniem elementu.\rNapisz list do autora z opisem błędu."_s;

QString folderOf(const QString &file)
{
    QString folder = QFileInfo(file).absolutePath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace

TestListEditor::TestListEditor(Workspace &ws) : m_ws(ws) {}

QString TestListEditor::noLinkText() const
{
    return listKind == Kind::TestList ? u"Brak pliku testu"_s : u"Brak folderu z pytaniami"_s;
}

void TestListEditor::resetHeader()
{
    listFile.clear();
    listFolder.clear();
    listSaved = false;
    modified = false;
    listAuthor.clear();
    listRemarks.clear();
    listDate = todayText();
    entry = {};
}

void TestListEditor::newList(Kind kind, int viewportHeight)
{
    listKind = kind;
    m_ws.workMode = kind == Kind::TestList ? WorkTestList : WorkSetList;
    resetHeader();
    tree.reset(viewportHeight);
}

bool TestListEditor::openList(Kind kind, int viewportHeight)
{
    if (!m_ws.prompts)
        return false;
    FileDialogRequest request;
    request.title =
        kind == Kind::TestList ? u"Otwórz plik listy testów"_s : u"Otwórz plik listy zestawów pytań"_s;
    request.filter = kind == Kind::TestList ? kTestListFilter : kSetListFilter;
    request.defaultExtension = kind == Kind::TestList ? u"skg"_s : u"skz"_s;
    const QString chosen = m_ws.prompts->openFileName(request);
    if (chosen.isEmpty())
        return false;
    return openListFile(kind, chosen, viewportHeight);
}

bool TestListEditor::openListFile(Kind kind, const QString &path, int viewportHeight)
{
    m_ws.workMode = kind == Kind::TestList ? WorkTestList : WorkSetList;
    ListInfo info;
    QStringList lines;
    const bool read =
        kind == Kind::TestList ? ReadTestList(m_ws, path, info, lines) : ReadSetList(m_ws, path, info, lines);
    if (!read) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Problem z otwarciem pliku listy.\rPrawdopodobnie plik jest uszkodzony."_s);
        return false;
    }
    EntryTree loaded;
    loaded.reset(viewportHeight);
    if (!loaded.loadLines(lines)) {
        // The list's lines do not parse: the window stays closed and the tree it would show is kept.
        m_ws.logEvent(0, u"Odczyt listy. Błędny wpis listy."_s);
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Problem z otwarciem pliku listy.\rPrawdopodobnie plik jest uszkodzony."_s);
        return false;
    }
    listKind = kind;
    resetHeader();
    tree.reset(viewportHeight);
    tree.loadLines(lines);
    listFile = path;
    listFolder = folderOf(path);
    listSaved = true;
    listAuthor = info.author;
    listDate = info.date;
    listRemarks = info.remarks;
    return true;
}

void TestListEditor::changedByUser()
{
    modified = true;
}

void TestListEditor::addBelow()
{
    if (!tree.addBelow()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, kAddFailed);
        return;
    }
    changedByUser();
}

void TestListEditor::addAbove()
{
    if (!tree.addAbove()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, kAddFailed);
        return;
    }
    changedByUser();
}

void TestListEditor::addAtEnd()
{
    if (!tree.addAtEnd()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, kAddFailed);
        return;
    }
    changedByUser();
}

void TestListEditor::addBranch()
{
    if (!tree.hasSelection()) {
        addBelow();
        return;
    }
    const int added = tree.addChild();
    if (added == -2) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Problem ze wstawieniem elementu.\rNie można wstawić gałęzi, jeśli element jest "
                         u"odnośnikiem do pliku testu."_s);
        return;
    }
    if (added < 0) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, kAddFailed);
        return;
    }
    changedByUser();
}

bool TestListEditor::deleteEntry()
{
    if (!tree.hasSelection())
        return false;
    if (m_ws.settings.al &&
        m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon,
                         u"Czy rzeczywiście usunąć?\rTej operacji nie można cofnąć."_s) != MessageResult::Yes)
        return false;
    if (!tree.deleteSelected()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Problem z usunięciem elementu.\rNapisz list do autora z opisem błędu."_s);
        return false;
    }
    changedByUser();
    return true;
}

bool TestListEditor::moveUpEnabled() const
{
    return tree.selected() >= 1 && tree.canMoveUp();
}

bool TestListEditor::moveDownEnabled() const
{
    if (tree.selected() >= 1)
        return tree.canMoveDown();
    return tree.selected() == 0 && tree.entries().size() >= 2 && tree.canMoveDown();
}

void TestListEditor::moveUp()
{
    if (moveUpEnabled() && tree.moveUp() >= 0)
        changedByUser();
}

void TestListEditor::moveDown()
{
    if (moveDownEnabled() && tree.moveDown() >= 0)
        changedByUser();
}

void TestListEditor::setAuthor(const QString &text)
{
    if (text != listAuthor) {
        listAuthor = text;
        changedByUser();
    }
}

void TestListEditor::setRemarks(const QString &text)
{
    if (text != listRemarks) {
        listRemarks = text;
        changedByUser();
    }
}

QString TestListEditor::askListName()
{
    if (!m_ws.prompts)
        return {};
    FileDialogRequest request;
    request.title = u"Zapisz listę jako..."_s;
    request.filter = listKind == Kind::TestList ? kTestListFilter : kSetListFilter;
    request.defaultExtension = listKind == Kind::TestList ? u"skg"_s : u"skz"_s;
    request.fileName = listFile.isEmpty() ? QString() : QFileInfo(listFile).fileName();
    return m_ws.prompts->saveFileName(request);
}

bool TestListEditor::writeList(const QString &path)
{
    QStringList lines;
    tree.saveLines(lines);
    const ListInfo info{listAuthor, listDate, listRemarks};
    const bool written = listKind == Kind::TestList ? WriteTestList(m_ws, path, info, lines)
                                                    : WriteSetList(m_ws, path, info, lines);
    if (!written)
        return false;
    listFile = path;
    listFolder = folderOf(path);
    listSaved = true;
    modified = false;
    if (m_ws.prompts)
        m_ws.prompts->showSavedClock(position.x() + 60, position.y() + 200);
    return true;
}

bool TestListEditor::save()
{
    if (listAuthor.isEmpty()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Wpisz autora listy. To jest konieczne."_s);
        return false;
    }
    if (!modified)
        return true;
    QString path = listFile;
    if (path.isEmpty()) {
        path = askListName();
        if (path.isEmpty())
            return false;
    }
    return writeList(path);
}

bool TestListEditor::saveAs()
{
    if (listAuthor.isEmpty()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Wpisz autora listy. To jest konieczne."_s);
        return false;
    }
    const QString path = askListName();
    return !path.isEmpty() && writeList(path);
}

TestListEditor::Outcome TestListEditor::close()
{
    if (!modified)
        return Outcome::Close;
    switch (m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon,
                             u"Zawartość listy uległa zmianie.\rZapisać zmiany?"_s)) {
    case MessageResult::Yes:
        // A save that did not happen (no author, a cancelled name, a failed write) keeps the changes.
        return save() ? Outcome::Close : Outcome::StayOpen;
    case MessageResult::No:
        return Outcome::Close;
    default:
        return Outcome::StayOpen;
    }
}

bool TestListEditor::beginEditEntry()
{
    if (!listSaved || !tree.hasSelection()) {
        m_ws.showMessage(
            MessageKind::CloseOnly, MessageIcon::InfoIcon,
            u"Aby edytować wpisy musisz najpierw zapisać listę.\rZapoznaj się z pomocą do programu."_s);
        return false;
    }
    const EntryTree::NameAndLink current = tree.selectedNameAndLink();
    entry.name = current.name;
    entry.shownLink = current.link.isEmpty() ? noLinkText() : current.link;
    return true;
}

QString TestListEditor::relativeLink(const QString &folder, const QString &chosen)
{
    if (folder.isEmpty() || chosen.isEmpty())
        return {};
    // The top of a file system ("/", "C:/") keeps its separator when cleaned.
    QString cleanFolder = QDir::cleanPath(folder);
    if (!cleanFolder.endsWith(u'/'))
        cleanFolder += u'/';
    const QString cleanChosen = QDir::cleanPath(QFileInfo(chosen).absoluteFilePath());
    if (!cleanChosen.startsWith(cleanFolder) || cleanChosen.size() == cleanFolder.size())
        return {};
    return cleanChosen.mid(cleanFolder.size());
}

void TestListEditor::pickLink()
{
    if (!m_ws.prompts)
        return;
    QString chosen;
    if (listKind == Kind::TestList) {
        FileDialogRequest request;
        request.title = u"Wskaż plik testu"_s;
        request.filter = u"Plik testu (*.skt)"_s;
        request.defaultExtension = u"skt"_s;
        chosen = m_ws.prompts->openFileName(request);
    } else {
        chosen = m_ws.prompts->browseFolder(u"Wskaż folder z zestawem pytań"_s, {}, {});
    }
    if (chosen.isEmpty()) {
        entry.shownLink = noLinkText();
        return;
    }
    const QString link = relativeLink(listFolder, chosen);
    if (link.isEmpty()) {
        // A link outside the list's folder could not be made relative; the field keeps its link.
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         (listKind == Kind::TestList ? u"Wskazany plik testu"_s : u"Wskazany folder"_s) +
                             u" nie leży w folderze listy ani w jego podfolderach.\rOdnośniki są względne, "
                             u"więc wskaż plik w folderze:\r"_s +
                             QDir::toNativeSeparators(listFolder));
        return;
    }
    if (link.size() > kMaxLinkLength) {
        // Cut short it would lead nowhere.
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Ścieżka jest za długa (ponad 300 znaków).\rPrzenieś plik bliżej folderu listy."_s);
        return;
    }
    // Written with "\\" as the student-side modules read these lists on their platform.
    entry.shownLink = QString(link).replace(u'/', u'\\');
}

void TestListEditor::acceptEntry()
{
    const QString name = entry.name.left(kMaxNameLength);
    if (name.isEmpty())
        return;
    const bool noLink =
        entry.shownLink == u"Brak pliku testu"_s || entry.shownLink == u"Brak folderu z pytaniami"_s;
    tree.setSelectedNameAndLink(name, noLink ? QString() : entry.shownLink);
    changedByUser();
}

bool TestListEditor::writeRecoveryCopy(const QString &copy) const
{
    QStringList lines;
    tree.saveLines(lines);
    const ListInfo info{listAuthor, listDate, listRemarks};
    Prompts *prompts = std::exchange(m_ws.prompts, nullptr);
    const bool written = listKind == Kind::TestList ? WriteTestList(m_ws, copy, info, lines)
                                                    : WriteSetList(m_ws, copy, info, lines);
    m_ws.prompts = prompts;
    return written;
}

bool TestListEditor::openRecoveryCopy(Kind kind, const QString &copy, const QString &original,
                                      int viewportHeight)
{
    if (!openListFile(kind, copy, viewportHeight))
        return false;
    listFile = original;
    listFolder = original.isEmpty() ? QString() : folderOf(original);
    listSaved = !original.isEmpty();
    modified = true;
    return true;
}
