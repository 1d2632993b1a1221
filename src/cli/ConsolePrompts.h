#pragma once

#include "core/Prompts.h"

#include <QStringList>

class QTextStream;

// Prompts for the command-line tool: nobody is there to answer. A message becomes one line on standard
// error ("\r" turned into blanks), or is held back while a command collects the messages of one
// operation to print them with its own reason. Questions answer No, file dialogs and the folder
// browser are cancelled, name clashes answer Cancel, the clock and the help pages do nothing.
class ConsolePrompts : public Prompts {
public:
    explicit ConsolePrompts(QTextStream &err);

    // While collecting, messages are kept instead of printed.
    void setCollecting(bool on) { m_collecting = on; }
    // The messages kept since the last call, each as its one-line text.
    QStringList takeMessages();

    // The message as one line: line breaks become blanks.
    static QString oneLine(const QString &text);

    MessageResult showMessage(MessageKind kind, MessageIcon icon, const QString &text) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    QString browseFolder(const QString &caption, const QString &prompt, const QString &startFolder) override;
    void showSavedClock(int x, int y) override;
    ClashAnswer resolveTextClash(const QString &name, const QString &inTest,
                                 const QString &incoming) override;
    ClashAnswer resolveImageClash(const QString &name, const QByteArray &inTest, const QString &inTestName,
                                  const QByteArray &incoming, const QString &incomingName) override;
    void openHelpPage(const QString &page) override;

private:
    QTextStream &m_err;
    bool m_collecting = false;
    QStringList m_kept;
};
