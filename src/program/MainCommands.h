#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class Workspace;

// The editors as the main window sees them: the menu's commands, open a document of a kind, close
// every open window, and whether any document has unsaved changes. Editors not built yet answer with
// empty operations. The main window sets WorkMode before it calls a command.
class DocumentEditors {
public:
    virtual ~DocumentEditors() = default;

    // The menu's commands, each showing its editor modally.
    virtual void newTest() {}
    virtual void openTest() {}
    virtual void newQuestion() {}
    virtual void openQuestion() {}
    virtual void generateSet() {}
    virtual void newStudentList() {}
    virtual void openStudentList() {}
    // Also a new list of question sets: WorkMode tells the two apart.
    virtual void newTestList() {}
    virtual void openTestList() {}
    virtual void openSetList() {}
    virtual void newTestSettings() {}
    virtual void newLearningSettings() {}
    virtual void openModuleSettings() {}
    virtual void editEditorSettings() {}
    // Alt+U in the main window.
    virtual void showLogWindow() {}

    // Before a document opens by its extension: the main menu goes back to its closed state.
    virtual void resetMainMenu() {}
    virtual void closeOtherWindows() {}
    virtual void openStudentListFile(const QString &) {}
    virtual void openTestListFile(const QString &) {}
    virtual void openTestFile(const QString &) {}
    virtual void openQuestionFile(const QString &) {}
    virtual void openSetListFile(const QString &) {}
    // The modified flags of the test, question, student list and test list editors.
    virtual bool anyDocumentModified() const { return false; }
};

// Where the two top-level windows go for a window mode and a work area.
struct WindowPlacement {
    bool known = false;          // false for a stored mode other than 0 and 1: nothing moves
    QPoint mainTopLeft;          // the 788 × 580 main window, centred in the work area
    QRect background;            // mode 1: the work area; mode 0: empty
    QPoint backgroundPicture;    // the 1920 × 1200 picture in the background's coordinates, centred (may be negative)
};

inline constexpr int kMainWidth = 788;
inline constexpr int kMainHeight = 580;
inline constexpr int kBackgroundWidth = 1920;
inline constexpr int kBackgroundHeight = 1200;

WindowPlacement computePlacement(int windowMode, const QRect &workArea);

enum class DropTarget { MainWindow, BackgroundWindow };

// The headless half of the main window: opening by extension, drops, the window mode.
class MainCommands {
public:
    MainCommands(Workspace &ws, DocumentEditors &editors) : m_ws(ws), m_editors(editors) {}

    // Start-up up to showing the main window: folders and paths, settings (which set the log filter
    // and the window mode), placement, the program folder and the three empty working archives.
    // Empty arguments mean the platform's data folder and the executable's folder.
    WindowPlacement startUp(const QRect &workArea, const QString &appDataRoot = {},
                            const QString &programFolder = {});
    // After the main window is shown: the first argument, if any, is opened by its extension.
    void openCommandLine(const QStringList &arguments);

    // True when the extension is one of the program's, even if the document then fails to open.
    bool openByExtension(const QString &path);
    // Only the first path is used; refusals go through the message box.
    void dropFiles(const QStringList &paths, DropTarget target);
    // Places the windows for the current mode and stores the mode in Edycja.ini.
    WindowPlacement placeWindows(const QRect &workArea);
    WindowPlacement toggleWindowMode(const QRect &workArea);

private:
    Workspace &m_ws;
    DocumentEditors &m_editors;
};
