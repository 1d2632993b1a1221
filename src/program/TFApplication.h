#pragma once

#include "program/MainCommands.h"
#include "program/ProgramEditors.h"
#include "core/Workspace.h"

#include <QObject>
#include <QRect>
#include <QStringList>

#include <memory>

class Prompts;
class TFGlowny;
class TFIniEdytor;
class TFGeneruj;
class TFPytanie;
class TFTest;
class TFIniTesty;
class TFListaTestow;
class TFListaUczniow;
class RecoveryKeeper;
class SkinnedWindow;
class TFTloBig;
class TFWinieta;
class TFZdarzenia;
class WindowPrompts;

// The program's life from launch to exit: it creates the windows hidden, runs the start-up when the
// background window is first shown (folders, settings, placement, working archives, the main window,
// the command-line document) and cleans up at exit. Tests run it in-process with their own data
// folder, work area and prompts.
class TFApplication : public QObject {
    Q_OBJECT

public:
    static const QString title; // "Zadanix - Edytor v. 4.0"

    struct Options {
        QString appDataRoot;        // empty: the platform's data folder
        QString programFolder;      // empty: the executable's folder
        QRect workArea;             // empty: the primary screen's available geometry
        int recoveryIntervalMs = 3000; // how soon after a change a recovery copy is written
        QStringList arguments;      // the command line without the program's name
        Prompts *prompts = nullptr; // null: the program's own message box, dialogs and clock
    };

    explicit TFApplication(const Options &options);
    ~TFApplication() override;

    // Shows the background window; the start-up follows as soon as events are processed.
    void show();
    bool isStarted() const { return m_started; }

    Workspace &workspace() { return m_ws; }
    MainCommands &commands() { return m_commands; }
    ProgramEditors &editors() { return m_editors; }
    RecoveryKeeper &recovery() { return *m_recovery; }
    TFTloBig &background() { return *m_background; }
    TFGlowny &mainWindow() { return *m_main; }
    TFWinieta &about() { return *m_about; }
    TFPytanie &questionEditor() { return *m_questionEditor; }
    TFTest &testEditor() { return *m_testEditor; }
    TFGeneruj &generationWindow() { return *m_generation; }
    TFListaTestow &testListEditor() { return *m_testListEditor; }
    TFListaUczniow &studentListEditor() { return *m_studentListEditor; }
    TFIniTesty &moduleSettings() { return *m_moduleSettings; }
    QRect workArea() const;

    // Ctrl+F4 and LBig: the other window mode, stored in Edycja.ini.
    void toggleWindowMode();
    // LClose: the main window goes and the background closes, which ends the program.
    void quit();
    void minimize();
    // Closes the working archives and deletes their files; the windows take no more drops. Runs once.
    void shutDown();

signals:
    void started();
    // The background window has closed: the event loop may end.
    void finished();

private:
    void startUp();
    void applyPlacement(const WindowPlacement &placement);
    bool closeOtherWindows();
    SkinnedWindow *nextWindowToClose() const;
    void registerEditors();
    // A drop on any program window: the same road as a drop on the main window.
    void dropFiles(const QStringList &paths);
    bool eventFilter(QObject *watched, QEvent *event) override;

    Options m_options;
    Workspace m_ws;
    ProgramEditors m_editors;
    MainCommands m_commands;
    std::unique_ptr<TFTloBig> m_background;
    std::unique_ptr<TFGlowny> m_main;
    std::unique_ptr<WindowPrompts> m_windowPrompts;
    std::unique_ptr<RecoveryKeeper> m_recovery;
    // Windows of the main window: they go before it.
    std::unique_ptr<TFPytanie> m_questionEditor;
    std::unique_ptr<TFTest> m_testEditor;
    std::unique_ptr<TFGeneruj> m_generation;
    std::unique_ptr<TFIniEdytor> m_editorSettings;
    std::unique_ptr<TFWinieta> m_about;
    std::unique_ptr<TFZdarzenia> m_logWindow;
    std::unique_ptr<TFListaTestow> m_testListEditor;
    std::unique_ptr<TFListaUczniow> m_studentListEditor;
    std::unique_ptr<TFIniTesty> m_moduleSettings;
    bool m_started = false;
    bool m_shutDown = false;
};
