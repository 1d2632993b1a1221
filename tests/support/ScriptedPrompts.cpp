#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

void ScriptedPrompts::queueClash(ClashAnswer::Result result, const QString &newName)
{
    ClashAnswer answer;
    answer.result = result;
    answer.newName = newName;
    m_clashes.enqueue(answer);
}

QStringList ScriptedPrompts::messageTexts() const
{
    QStringList texts;
    for (const Message &m : messages)
        texts << m.text;
    return texts;
}

int ScriptedPrompts::unusedAnswers() const
{
    return int(m_answers.size() + m_fileNames.size() + m_folders.size() + m_clashes.size());
}

MessageResult ScriptedPrompts::showMessage(MessageKind kind, MessageIcon icon, const QString &text)
{
    messages.append({kind, icon, text});
    if (kind == MessageKind::CloseOnly)
        return MessageResult::Close;
    if (m_answers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return MessageResult::Cancel;
    }
    return m_answers.dequeue();
}

QString ScriptedPrompts::openFileName(const FileDialogRequest &request)
{
    fileRequests.append({false, request});
    return nextFileName("open");
}

QStringList ScriptedPrompts::openFileNames(const FileDialogRequest &request)
{
    fileRequests.append({false, request});
    return nextFileName("open several").split(u'\n', Qt::SkipEmptyParts);
}

QString ScriptedPrompts::saveFileName(const FileDialogRequest &request)
{
    fileRequests.append({true, request});
    return nextFileName("save");
}

QString ScriptedPrompts::browseFolder(const QString &caption, const QString &prompt, const QString &startFolder)
{
    folderRequests.append({caption, prompt, startFolder});
    if (m_folders.isEmpty()) {
        ADD_FAILURE() << "unexpected folder browser: " << caption.toStdString();
        return {};
    }
    return m_folders.dequeue();
}

void ScriptedPrompts::showSavedClock(int x, int y)
{
    clockPositions.append({x, y});
}

ClashAnswer ScriptedPrompts::resolveTextClash(const QString &name, const QString &inTest, const QString &incoming)
{
    ClashRequest request{};
    request.image = false;
    request.name = name;
    request.inTestText = inTest;
    request.incomingText = incoming;
    clashRequests.append(request);
    return nextClash();
}

ClashAnswer ScriptedPrompts::resolveImageClash(const QString &name, const QByteArray &inTest,
                                               const QString &inTestName, const QByteArray &incoming,
                                               const QString &incomingName)
{
    ClashRequest request{};
    request.image = true;
    request.name = name;
    request.inTest = inTest;
    request.inTestName = inTestName;
    request.incoming = incoming;
    request.incomingName = incomingName;
    clashRequests.append(request);
    return nextClash();
}

void ScriptedPrompts::openHelpPage(const QString &page)
{
    helpPages.append(page);
}

QString ScriptedPrompts::nextFileName(const char *what)
{
    if (m_fileNames.isEmpty()) {
        ADD_FAILURE() << "unexpected " << what << " file dialog: "
                      << fileRequests.constLast().request.title.toStdString();
        return {};
    }
    return m_fileNames.dequeue();
}

ClashAnswer ScriptedPrompts::nextClash()
{
    if (m_clashes.isEmpty()) {
        ADD_FAILURE() << "unexpected clash dialog: " << clashRequests.constLast().name.toStdString();
        return {};
    }
    return m_clashes.dequeue();
}
