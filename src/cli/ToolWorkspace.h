#pragma once

#include "ConsolePrompts.h"
#include "core/Workspace.h"

#include <QStringList>
#include <QTemporaryDir>

class CommandLineTool;

// The program's workspace for one run of the tool, with its data folder (settings, log, working
// archives) in a private temporary folder: the tool never touches the editor's own files. The log
// admits failures only, so whatever it holds after an operation is that operation's trouble.
class ToolWorkspace {
public:
    explicit ToolWorkspace(CommandLineTool &tool);
    ~ToolWorkspace();
    ToolWorkspace(const ToolWorkspace &) = delete;
    ToolWorkspace &operator=(const ToolWorkspace &) = delete;

    // False when the temporary folder or the working archives could not be made; why is in problem().
    bool isReady() const { return m_ready; }
    const QString &problem() const { return m_problem; }

    Workspace &ws() { return m_ws; }
    ConsolePrompts &prompts() { return m_prompts; }

    // What the operations since the last call reported: message box texts, then log entries.
    struct Reports {
        QStringList messages;
        QStringList logEntries;
        bool isEmpty() const { return messages.isEmpty() && logEntries.isEmpty(); }
        // Messages first, the log entries after them in brackets; empty when there is nothing.
        QString oneLine() const;
    };
    // Starts holding back messages; takeReports() hands them over with the new log entries.
    void startCollecting();
    Reports takeReports();

private:
    QTemporaryDir m_dir;
    Workspace m_ws;
    ConsolePrompts m_prompts;
    qsizetype m_logConsumed = 0;
    bool m_ready = false;
    QString m_problem;
};
