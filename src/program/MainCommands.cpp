#include "program/MainCommands.h"

#include "core/Workspace.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

WindowPlacement computePlacement(int windowMode, const QRect &workArea)
{
    WindowPlacement p;
    if (windowMode != 0 && windowMode != 1)
        return p;
    // Centred in the work area, wherever it starts: a primary screen right of or below another one
    // does not start at (0, 0). Division truncates toward zero.
    p.known = true;
    p.mainTopLeft = workArea.topLeft() +
                    QPoint((workArea.width() - kMainWidth) / 2, (workArea.height() - kMainHeight) / 2);
    if (windowMode == 1) {
        p.background = workArea;
        p.backgroundPicture =
            QPoint((workArea.width() - kBackgroundWidth) / 2, (workArea.height() - kBackgroundHeight) / 2);
    }
    return p;
}

WindowPlacement MainCommands::startUp(const QRect &workArea, const QString &appDataRoot,
                                      const QString &programFolder)
{
    m_ws.setUpFoldersAndPaths(appDataRoot);
    LoadEditorSettings(m_ws);
    const WindowPlacement placement = placeWindows(workArea);
    m_ws.setProgramFolder(programFolder);
    m_ws.createWorkingArchives();
    return placement;
}

void MainCommands::openCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty() || openByExtension(arguments.first()))
        return;
    m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                     u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania lub listy."_s);
}

bool MainCommands::openByExtension(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString ext = dot < 0 ? QString() : name.mid(dot).toLower();
    static const QStringList known = {u".sku"_s, u".skg"_s, u".skt"_s, u".skq"_s, u".skz"_s};
    if (!known.contains(ext))
        return false;

    m_editors.resetMainMenu();
    m_editors.closeOtherWindows();
    if (ext == u".sku"_s)
        m_editors.openStudentListFile(path);
    else if (ext == u".skg"_s)
        m_editors.openTestListFile(path);
    else if (ext == u".skt"_s)
        m_editors.openTestFile(path);
    else if (ext == u".skq"_s)
        m_editors.openQuestionFile(path);
    else
        m_editors.openSetListFile(path);
    return true;
}

void MainCommands::dropFiles(const QStringList &paths, DropTarget target)
{
    if (paths.isEmpty())
        return;
    if (m_editors.anyDocumentModified()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                         u"\rMasz pootwierane dokumenty, nad którymi pracujesz.\rZamknij je wsześniej, nim otworzysz następne."_s);
        return;
    }
    if (openByExtension(paths.first()))
        return;
    // The two windows word the refusal slightly differently; both texts are the program's own.
    m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                     target == DropTarget::MainWindow
                         ? u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania, lub listy."_s
                         : u"\rModuł Edycja nie obsługuje plików tego typu.\rWskaż plik testu, pytania lub listy."_s);
}

WindowPlacement MainCommands::placeWindows(const QRect &workArea)
{
    const WindowPlacement p = computePlacement(m_ws.settings.wo, workArea);
    if (p.known) {
        m_ws.mainLeft = p.mainTopLeft.x();
        m_ws.mainTop = p.mainTopLeft.y();
    }
    if (UpdateEditorSetting(m_ws, u"wo"_s, m_ws.settings.wo))
        m_ws.logEvent(4, u"Odnotowano w ini wielkość okna."_s);
    else if (m_ws.log.filterLevel() >= 2)
        m_ws.logEvent(0, u"Problem z zapisem zmiany ustawień do ini."_s);
    return p;
}

WindowPlacement MainCommands::toggleWindowMode(const QRect &workArea)
{
    m_ws.settings.wo = m_ws.settings.wo == 0 ? 1 : 0;
    return placeWindows(workArea);
}
