#pragma once

#include "core/Prompts.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QQueue>
#include <QString>
#include <QStringList>

// Prompts for tests: answers come from queues filled beforehand, and every request is recorded.
//
// - A yes/no/cancel question takes the next queued answer; with none queued the test fails and the
//   question is answered Cancel (which changes nothing). A close-only message never takes an answer
//   from the queue: it is recorded and answered Close.
// - File names, folders and clash answers are taken from their queues; an empty queue fails the test
//   and answers "cancelled". Queue an empty name to cancel on purpose.
class ScriptedPrompts : public Prompts {
public:
    struct Message {
        MessageKind kind;
        MessageIcon icon;
        QString text;
    };
    struct FileRequest {
        bool save;
        FileDialogRequest request;
    };
    struct FolderRequest {
        QString caption;
        QString prompt;
        QString startFolder;
    };
    struct ClashRequest {
        bool image;
        QString name;
        QString inTestText;     // text clash
        QString incomingText;   // text clash
        QByteArray inTest;      // image clash
        QString inTestName;     // image clash
        QByteArray incoming;    // image clash
        QString incomingName;   // image clash
    };

    void queueAnswer(MessageResult answer) { m_answers.enqueue(answer); }
    void queueFileName(const QString &path) { m_fileNames.enqueue(path); }
    void queueFolder(const QString &folder) { m_folders.enqueue(folder); }
    void queueClash(ClashAnswer::Result result, const QString &newName = {});

    // What was asked, in order.
    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QList<FolderRequest> folderRequests;
    QList<ClashRequest> clashRequests;
    QList<QPoint> clockPositions;
    QStringList helpPages;

    QStringList messageTexts() const;
    QString lastMessageText() const { return messages.isEmpty() ? QString() : messages.constLast().text; }
    // Answers still waiting: a test usually expects none to be left.
    int unusedAnswers() const;

    MessageResult showMessage(MessageKind kind, MessageIcon icon, const QString &text) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    // Takes one queued name and splits it at line breaks: queue "a.pdf\nb.png" for two files.
    QStringList openFileNames(const FileDialogRequest &request) override;
    QString browseFolder(const QString &caption, const QString &prompt, const QString &startFolder) override;
    void showSavedClock(int x, int y) override;
    ClashAnswer resolveTextClash(const QString &name, const QString &inTest, const QString &incoming) override;
    ClashAnswer resolveImageClash(const QString &name, const QByteArray &inTest, const QString &inTestName,
                                  const QByteArray &incoming, const QString &incomingName) override;
    void openHelpPage(const QString &page) override;

private:
    QString nextFileName(const char *what);
    ClashAnswer nextClash();

    QQueue<MessageResult> m_answers;
    QQueue<QString> m_fileNames;
    QQueue<QString> m_folders;
    QQueue<ClashAnswer> m_clashes;
};
