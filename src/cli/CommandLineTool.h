#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

// The `zadanix` tool: a list of commands ("pack", ...) behind the common options --help and
// --version. A command gets the arguments after its name and returns the exit code.
class CommandLineTool {
public:
    enum ExitCode { Success = 0, Failure = 1, WrongUsage = 2 };

    struct Command {
        QString name;
        QString summary; // one line for --help
        std::function<int(CommandLineTool &tool, const QStringList &arguments)> run;
    };

    CommandLineTool();

    void addCommand(Command command);
    // `arguments` as QCoreApplication gives them, the program first.
    int run(const QStringList &arguments);

    QTextStream &out() { return m_out; }
    QTextStream &err() { return m_err; }
    // Standard output for raw bytes; text written to out() so far is flushed first.
    bool writeBinary(QByteArrayView bytes);

    // "zadanix: <message>" on standard error, as one line; returns Failure.
    int fail(const QString &message);
    // The message and the usage text on standard error; returns WrongUsage.
    int wrongUsage(const QString &message, const QString &usage);

private:
    QString usage() const;

    QFile m_stdout;
    QFile m_stderr;
    QTextStream m_out;
    QTextStream m_err;
    QList<Command> m_commands;
};
