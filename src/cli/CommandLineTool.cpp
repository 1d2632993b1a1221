#include "CommandLineTool.h"

#include "ConsolePrompts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

using namespace Qt::StringLiterals;

CommandLineTool::CommandLineTool()
{
    m_stdout.open(stdout, QIODevice::WriteOnly);
    m_stderr.open(stderr, QIODevice::WriteOnly);
    m_out.setDevice(&m_stdout);
    m_err.setDevice(&m_stderr);
}

void CommandLineTool::addCommand(Command command)
{
    m_commands.append(std::move(command));
}

QString CommandLineTool::usage() const
{
    QString text = u"Usage: zadanix [--help] [--version] <command> [arguments]\n\nCommands:\n"_s;
    for (const Command &c : m_commands)
        text += u"  "_s + c.name.leftJustified(10) + c.summary + u'\n';
    text += u"\nRun \"zadanix <command> --help\" for a command's arguments.\n"_s;
    return text;
}

int CommandLineTool::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Options after the command name belong to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Show the version."_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(u"command"_s, u"The command to run."_s);

    if (!parser.parse(arguments))
        return wrongUsage(parser.errorText(), usage());
    if (parser.isSet(help)) {
        m_out << u"zadanix "_s << QCoreApplication::applicationVersion()
              << u" - work on Zadanix Edytor files from the command line.\n\n"_s << usage();
        m_out.flush();
        return Success;
    }
    if (parser.isSet(version)) {
        m_out << u"zadanix "_s << QCoreApplication::applicationVersion() << u'\n';
        m_out.flush();
        return Success;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return wrongUsage(u"no command given."_s, usage());
    for (const Command &c : std::as_const(m_commands)) {
        if (c.name == positional.first()) {
            const int code = c.run(*this, positional.mid(1));
            m_out.flush();
            m_err.flush();
            // A summary lost on a full disk or a closed pipe is a failure, not a success.
            if (code == Success && (m_out.status() != QTextStream::Ok || !m_stdout.flush() ||
                                    m_stdout.error() != QFileDevice::NoError))
                return fail(u"cannot write to standard output."_s);
            return code;
        }
    }
    return wrongUsage(u"unknown command \""_s + positional.first() + u"\"."_s, usage());
}

bool CommandLineTool::writeBinary(QByteArrayView bytes)
{
    m_out.flush();
    return m_stdout.write(bytes.data(), bytes.size()) == bytes.size() && m_stdout.flush();
}

int CommandLineTool::fail(const QString &message)
{
    m_out.flush();
    // One line, whatever names or texts from the user's files the message carries.
    m_err << u"zadanix: "_s << ConsolePrompts::oneLine(message) << u'\n';
    m_err.flush();
    return Failure;
}

int CommandLineTool::wrongUsage(const QString &message, const QString &usage)
{
    m_out.flush();
    m_err << u"zadanix: "_s << message << u"\n\n"_s << usage;
    m_err.flush();
    return WrongUsage;
}
