#pragma once

#include "app/MainCommands.h"

#include <functional>

// The editors as the running program has them. Each editor's window plugs itself in here when it is
// built; until then its commands do nothing. The windows that already exist outside this object are
// reached through the hooks, which the window layer fills at start-up.
class ProgramEditors : public DocumentEditors {
public:
    // Opens the editor settings dialog (FIniEdytor) modally.
    std::function<void()> editorSettingsWindow;
    // Opens the event log window (FZdarzenia) modally.
    std::function<void()> logWindow;
    // Closes every visible window of the program except the main and the background window.
    std::function<void()> closeWindows;
    // Closes the open group of the main menu and clears its description.
    std::function<void()> resetMenu;

    void editEditorSettings() override { call(editorSettingsWindow); }
    void showLogWindow() override { call(logWindow); }
    void resetMainMenu() override { call(resetMenu); }
    void closeOtherWindows() override { call(closeWindows); }

private:
    static void call(const std::function<void()> &hook)
    {
        if (hook)
            hook();
    }
};
