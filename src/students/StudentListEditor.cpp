#include "students/StudentListEditor.h"

#include "core/Workspace.h"
#include "documents/ListDocuments.h"
#include "students/StudentImport.h"

#include <QFileInfo>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString kFilter = u"Plik listy uczniów (*.sku)"_s;
const QString kExtension = u"sku"_s;
const QString kRequired = u"Wpisz poprawnie wymagane dane."_s;

} // namespace

StudentListEditor::StudentListEditor(Workspace &ws) : m_ws(ws)
{
    list.reset();
}

void StudentListEditor::newStudentList()
{
    list.reset();
    studentView.close();
    view = View::Classes;
    path.clear();
}

bool StudentListEditor::openStudentList()
{
    if (!m_ws.prompts)
        return false;
    FileDialogRequest request;
    request.title = u"Otwórz plik listy uczniów"_s;
    request.filter = kFilter;
    request.defaultExtension = kExtension;
    request.startFolder = startFolder();
    const QString chosen = m_ws.prompts->openFileName(request);
    if (chosen.isEmpty())
        return false;
    rememberFolder(chosen);
    return openStudentListFile(chosen);
}

bool StudentListEditor::openStudentListFile(const QString &filePath)
{
    studentView.close();
    view = View::Classes;
    if (!ReadStudentList(m_ws, filePath, list)) {
        list.reset();
        path.clear();
        return false;
    }
    path = filePath;
    list.modified = false;
    list.currentClass = list.classes.isEmpty() ? -1 : 0;
    return true;
}

void StudentListEditor::windowClosed()
{
    list.reset();
    studentView.close();
    view = View::Classes;
    m_ws.workMode = WorkStudentList;
}

QStringList StudentListEditor::lines() const
{
    return view == View::Classes ? list.classLines() : studentView.lines;
}

int StudentListEditor::currentLine() const
{
    return view == View::Classes ? list.currentClass : studentView.current;
}

void StudentListEditor::selectLine(int index)
{
    if (view == View::Classes)
        list.setCurrentClass(index);
    else
        studentView.setCurrent(index);
}

ListEnabling StudentListEditor::enabling() const
{
    return view == View::Classes ? list.classViewEnabling() : studentView.enabling();
}

SchoolClass StudentListEditor::newClassDefaults() const
{
    return newClass(m_ws.settings);
}

void StudentListEditor::addClass(const SchoolClass &fromDialog)
{
    list.addClass(fromDialog);
}

bool StudentListEditor::editClass(const SchoolClass &fromDialog)
{
    return list.editCurrentClass(fromDialog);
}

bool StudentListEditor::confirmDeletion()
{
    if (!m_ws.settings.al)
        return true;
    return m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon,
                            u"Czy rzeczywiście usunąć?\rTej operacji nie można cofnąć."_s) ==
           MessageResult::Yes;
}

bool StudentListEditor::deleteClass()
{
    if (!list.canDelete() || !confirmDeletion())
        return false;
    if (!list.deleteCurrentClass()) {
        m_ws.logEvent(0, u"Usuwanie klasy. Błąd przetwarzania."_s);
        return false;
    }
    return true;
}

bool StudentListEditor::moveClassUp()
{
    if (!list.canMoveUp())
        return false;
    if (!list.moveCurrentClassUp()) {
        m_ws.logEvent(0, u"Zamiana klas. Błąd przetwarzania."_s);
        return false;
    }
    return true;
}

bool StudentListEditor::moveClassDown()
{
    if (!list.canMoveDown())
        return false;
    if (!list.moveCurrentClassDown()) {
        m_ws.logEvent(0, u"Zamiana klas. Błąd przetwarzania."_s);
        return false;
    }
    return true;
}

bool StudentListEditor::showStudentView()
{
    if (!list.hasCurrentClass() || !studentView.open(list, list.currentClass, m_ws.settings.fn)) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"Wybierz klasę do której chcesz przygotować listę uczniów."_s);
        return false;
    }
    view = View::Students;
    return true;
}

QString StudentListEditor::startFolder() const
{
    return lastFolder.isEmpty() ? m_ws.paths.programFolder : lastFolder;
}

void StudentListEditor::rememberFolder(const QString &filePath)
{
    lastFolder = QFileInfo(filePath).absolutePath();
}

QString StudentListEditor::askSavePath()
{
    if (!m_ws.prompts)
        return {};
    FileDialogRequest request;
    request.title = u"Zapisz listę uczniów jako..."_s;
    request.filter = kFilter;
    request.defaultExtension = kExtension;
    request.startFolder = startFolder();
    request.fileName = path.isEmpty() ? QString() : QFileInfo(path).fileName();
    const QString chosen = m_ws.prompts->saveFileName(request);
    if (!chosen.isEmpty())
        rememberFolder(chosen);
    return chosen;
}

bool StudentListEditor::writeTo(const QString &filePath)
{
    if (!WriteStudentList(m_ws, filePath, list))
        return false;
    path = filePath;
    list.modified = false;
    if (m_ws.prompts)
        m_ws.prompts->showSavedClock(m_ws.mainLeft + 240, m_ws.mainTop + 240);
    return true;
}

bool StudentListEditor::save()
{
    if (list.author.isEmpty()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Wprowadź informacje o liście.\rTo jest konieczne."_s);
        return false;
    }
    const QString target = path.isEmpty() ? askSavePath() : path;
    return !target.isEmpty() && writeTo(target);
}

bool StudentListEditor::saveAs()
{
    if (list.author.isEmpty()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Wprowadź informacje o liście.\rTo jest konieczne."_s);
        return false;
    }
    const QString target = askSavePath();
    return !target.isEmpty() && writeTo(target);
}

bool StudentListEditor::requestClose()
{
    if (list.modified) {
        const MessageResult answer = m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon,
                                                      u"Zawartość listy uległa zmianie.\rZapisać zmiany?"_s);
        // A save that did not happen (no author, a cancelled name, a failed write) keeps the window
        // open with its changes instead of dropping them.
        if (answer == MessageResult::Yes) {
            if (!save())
                return false;
        } else if (answer != MessageResult::No) {
            return false;
        }
    }
    windowClosed();
    return true;
}

void StudentListEditor::addStudent(const QString &firstName, const QString &surname)
{
    studentView.addStudent(firstName, surname);
}

bool StudentListEditor::editStudent(const QString &firstName, const QString &surname)
{
    return studentView.editCurrent(firstName, surname);
}

bool StudentListEditor::deleteStudent()
{
    if (!studentView.hasCurrent() || !confirmDeletion())
        return false;
    return studentView.deleteCurrent();
}

bool StudentListEditor::importStudents()
{
    if (view != View::Students)
        return false;
    return ::importStudents(m_ws, studentView);
}

bool StudentListEditor::moveStudentUp()
{
    return studentView.moveCurrentUp();
}

bool StudentListEditor::moveStudentDown()
{
    return studentView.moveCurrentDown();
}

void StudentListEditor::applyStudentView()
{
    studentView.applyTo(list);
    studentView.close();
    view = View::Classes;
}

bool StudentListEditor::leaveStudentView()
{
    if (studentView.pending) {
        const MessageResult answer =
            m_ws.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon,
                             u"Zawartość listy uległa zmianie.\rWprowadzić zmiany?"_s);
        if (answer == MessageResult::Yes) {
            applyStudentView();
            return true;
        }
        if (answer != MessageResult::No)
            return false;
    }
    studentView.close();
    view = View::Classes;
    return true;
}

bool StudentListEditor::checkClassDialog(Workspace &ws, const SchoolClass &data)
{
    if (!data.name.isEmpty())
        return true;
    ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, kRequired);
    return false;
}

bool StudentListEditor::checkStudentDialog(Workspace &ws, const QString &firstName, const QString &surname)
{
    if (!firstName.isEmpty() && !surname.isEmpty())
        return true;
    ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, kRequired);
    return false;
}

// A real change marks the list modified, so closing asks before dropping it.
bool StudentListEditor::acceptListInfo(const QString &author, const QString &remarks)
{
    if (author.isEmpty()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         u"Wprowadź dane autora listy.\rTo jest konieczne."_s);
        return false;
    }
    if (list.author != author || list.remarks != remarks) {
        list.author = author;
        list.remarks = remarks;
        list.modified = true;
    }
    return true;
}

bool StudentListEditor::writeRecoveryCopy(const QString &copy)
{
    Prompts *prompts = std::exchange(m_ws.prompts, nullptr);
    const bool written = WriteStudentList(m_ws, copy, list);
    m_ws.prompts = prompts;
    return written;
}

bool StudentListEditor::openRecoveryCopy(const QString &copy, const QString &original)
{
    if (!openStudentListFile(copy))
        return false;
    path = original;
    list.modified = true;
    return true;
}
