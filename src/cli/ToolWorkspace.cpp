#include "ToolWorkspace.h"

#include "CommandLineTool.h"
#include "storage/TVfsPAK.h"

#include <QDir>

using namespace Qt::StringLiterals;

ToolWorkspace::ToolWorkspace(CommandLineTool &tool)
    : m_dir(QDir::tempPath() + u"/zadanix-XXXXXX"_s), m_prompts(tool.err())
{
    m_ws.prompts = &m_prompts;
    if (!m_dir.isValid()) {
        m_problem = u"cannot create a temporary folder: "_s + m_dir.errorString();
        return;
    }
    m_ws.setUpFoldersAndPaths(m_dir.path());
    m_ws.setProgramFolder();
    m_ws.log.setShortDateForm(true);
    m_ws.log.setFilterLevel(0);
    m_ws.createWorkingArchives();
    for (const auto *archive : {&m_ws.workingTest, &m_ws.workingQuestion, &m_ws.workingQuestionAs}) {
        if (!*archive || !(*archive)->isWritable()) {
            m_problem = u"cannot create the working archives in "_s + m_dir.path() + u'.';
            return;
        }
    }
    m_ready = true;
}

ToolWorkspace::~ToolWorkspace()
{
    m_ws.shutDown();
}

QString ToolWorkspace::Reports::oneLine() const
{
    const QString details = logEntries.join(u"; "_s);
    if (messages.isEmpty())
        return details;
    const QString shown = messages.join(u' ');
    return details.isEmpty() ? shown : shown + u" ("_s + details + u')';
}

void ToolWorkspace::startCollecting()
{
    takeReports();
    m_prompts.setCollecting(true);
}

ToolWorkspace::Reports ToolWorkspace::takeReports()
{
    Reports reports;
    reports.messages = m_prompts.takeMessages();
    m_prompts.setCollecting(false);
    // Lines "date time - text"; only failures reach the log.
    const QString all = m_ws.log.readAll().value_or(QString());
    const QString fresh = all.size() >= m_logConsumed ? all.mid(m_logConsumed) : all;
    m_logConsumed = all.size();
    for (const QString &line : fresh.split(u"\r\n"_s, Qt::SkipEmptyParts)) {
        const qsizetype cut = line.indexOf(u" - "_s);
        reports.logEntries.append(cut < 0 ? line : line.mid(cut + 3));
    }
    return reports;
}
