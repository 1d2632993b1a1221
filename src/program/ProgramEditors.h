#pragma once

#include "program/MainCommands.h"

#include <QString>

#include <functional>
#include <map>
#include <utility>
#include <vector>

// The editors as the running program has them. Each editor is one registration: the menu commands
// and document kinds it answers, and its modified flag. The main window's commands, opening by
// extension and the unsaved-work check all go through this table; a command nobody registered does
// nothing, and a later registration of a command takes it over (tests put fakes in this way).
class ProgramEditors : public DocumentEditors {
public:
    enum class Command {
        NewTest,
        OpenTest,
        NewQuestion,
        OpenQuestion,
        GenerateSet,
        NewStudentList,
        OpenStudentList,
        NewTestList,
        OpenTestList,
        OpenSetList,
        NewTestSettings,
        NewLearningSettings,
        OpenModuleSettings,
        EditEditorSettings,
        ShowLog,
    };
    // Documents opened by their extension.
    enum class Document { Test, Question, TestList, SetList, StudentList };

    struct Registration {
        QString name; // for the reader of the code and of failures
        std::map<Command, std::function<void()>> commands;
        std::map<Document, std::function<void(const QString &path)>> documents;
        // Unsaved changes in the editor's document; empty for windows that hold no document.
        std::function<bool()> modified;
    };

    void add(Registration registration) { m_registrations.push_back(std::move(registration)); }

    // Closes every visible window of the program except the main and the background window; true when
    // it closed one.
    std::function<bool()> closeWindows;
    // Closes the open group of the main menu and clears its description.
    std::function<void()> resetMenu;
    // Runs a step once the event loop is back at the main window. A document opened for a drop on an
    // editor waits for the closed editor to leave its modal loop first, or the new editor would run
    // inside the old one's.
    std::function<void(std::function<void()>)> later;

    void newTest() override { run(Command::NewTest); }
    void openTest() override { run(Command::OpenTest); }
    void newQuestion() override { run(Command::NewQuestion); }
    void openQuestion() override { run(Command::OpenQuestion); }
    void generateSet() override { run(Command::GenerateSet); }
    void newStudentList() override { run(Command::NewStudentList); }
    void openStudentList() override { run(Command::OpenStudentList); }
    void newTestList() override { run(Command::NewTestList); }
    void openTestList() override { run(Command::OpenTestList); }
    void openSetList() override { run(Command::OpenSetList); }
    void newTestSettings() override { run(Command::NewTestSettings); }
    void newLearningSettings() override { run(Command::NewLearningSettings); }
    void openModuleSettings() override { run(Command::OpenModuleSettings); }
    void editEditorSettings() override { run(Command::EditEditorSettings); }
    void showLogWindow() override { run(Command::ShowLog); }

    void resetMainMenu() override
    {
        if (resetMenu)
            resetMenu();
    }
    void closeOtherWindows() override { m_openLater = closeWindows && closeWindows(); }
    void openStudentListFile(const QString &path) override { open(Document::StudentList, path); }
    void openTestListFile(const QString &path) override { open(Document::TestList, path); }
    void openTestFile(const QString &path) override { open(Document::Test, path); }
    void openQuestionFile(const QString &path) override { open(Document::Question, path); }
    void openSetListFile(const QString &path) override { open(Document::SetList, path); }

    bool anyDocumentModified() const override
    {
        for (const Registration &r : m_registrations) {
            if (r.modified && r.modified())
                return true;
        }
        return false;
    }

private:
    void run(Command command)
    {
        for (auto r = m_registrations.rbegin(); r != m_registrations.rend(); ++r) {
            if (const auto it = r->commands.find(command); it != r->commands.end() && it->second) {
                it->second();
                return;
            }
        }
    }
    void open(Document kind, const QString &path)
    {
        const bool openLater = std::exchange(m_openLater, false);
        for (auto r = m_registrations.rbegin(); r != m_registrations.rend(); ++r) {
            const auto it = r->documents.find(kind);
            if (it == r->documents.end() || !it->second)
                continue;
            if (openLater && later)
                later([step = it->second, path] { step(path); });
            else
                it->second(path);
            return;
        }
    }

    std::vector<Registration> m_registrations;
    bool m_openLater = false;
};
