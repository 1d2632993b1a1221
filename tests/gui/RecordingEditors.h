#pragma once

#include "program/MainCommands.h"
#include "core/Workspace.h"

#include <QString>
#include <QStringList>

// Editors that only write down what they were asked, with the WorkMode in force at that moment
// ("newTest@1", "openTestFile /x/plan.skt"), and report unsaved work when told to.
class RecordingEditors : public DocumentEditors {
public:
    explicit RecordingEditors(const Workspace &ws) : m_ws(ws) {}

    QStringList calls;
    bool modified = false;

    void newTest() override { command(u"newTest"); }
    void openTest() override { command(u"openTest"); }
    void newQuestion() override { command(u"newQuestion"); }
    void openQuestion() override { command(u"openQuestion"); }
    void generateSet() override { command(u"generateSet"); }
    void newStudentList() override { command(u"newStudentList"); }
    void openStudentList() override { command(u"openStudentList"); }
    void newTestList() override { command(u"newTestList"); }
    void openTestList() override { command(u"openTestList"); }
    void openSetList() override { command(u"openSetList"); }
    void newTestSettings() override { command(u"newTestSettings"); }
    void newLearningSettings() override { command(u"newLearningSettings"); }
    void openModuleSettings() override { command(u"openModuleSettings"); }
    void editEditorSettings() override { command(u"editEditorSettings"); }
    void showLogWindow() override { command(u"showLogWindow"); }

    void resetMainMenu() override { calls << QStringLiteral("resetMainMenu"); }
    void closeOtherWindows() override { calls << QStringLiteral("closeOtherWindows"); }
    void openStudentListFile(const QString &path) override { file(u"openStudentListFile", path); }
    void openTestListFile(const QString &path) override { file(u"openTestListFile", path); }
    void openTestFile(const QString &path) override { file(u"openTestFile", path); }
    void openQuestionFile(const QString &path) override { file(u"openQuestionFile", path); }
    void openSetListFile(const QString &path) override { file(u"openSetListFile", path); }
    bool anyDocumentModified() const override { return modified; }

private:
    void command(QStringView name) { calls << name.toString() + u'@' + QString::number(m_ws.workMode); }
    void file(QStringView name, const QString &path) { calls << name.toString() + u' ' + path; }

    const Workspace &m_ws;
};
