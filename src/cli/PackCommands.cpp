#include "PackCommands.h"

#include "CommandLineTool.h"
#include "storage/ArchiveAccess.h"
#include "storage/AtomicFile.h"
#include "storage/DocumentLock.h"
#include "storage/TVfsPAK.h"

#include <QCommandLineParser>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

struct Action {
    QString name;
    QString arguments; // as shown in the usage text
    QString summary;
    int required;
    int optional;
    int (*run)(CommandLineTool &tool, const QStringList &arguments, bool force);
};

QString archiveProblem(const TVfsPAK &pak)
{
    return pak.errorString().isEmpty() ? pak.path() + u": cannot open the archive."_s : pak.errorString();
}

// One writer: an archive another program holds open is not changed under it. The lock is held
// until the command ends.
bool heldElsewhere(DocumentLock &lock, const QString &archive)
{
    return lock.lock(archive) == DocumentLock::Result::InUse;
}

int listMembers(CommandLineTool &tool, const QStringList &args, bool)
{
    TVfsPAK pak;
    if (!pak.Open(args[0], TVfsPAK::Mode::ReadOnly))
        return tool.fail(archiveProblem(pak));
    for (const TVfsPAK::Entry &e : pak.entries())
        tool.out() << e.name << u'\t' << e.offset << u'\t' << e.size << u'\n';
    return CommandLineTool::Success;
}

int addMember(CommandLineTool &tool, const QStringList &args, bool)
{
    const QString &archive = args[0];
    const QFileInfo file(args[1]);
    const QString name = args.size() > 2 ? args[2] : file.fileName();
    if (!file.isFile())
        return tool.fail(args[1] + u": no such file."_s);
    const QString problem = TVfsPAK::nameProblem(name);
    if (!problem.isEmpty())
        return tool.fail(archive + u": "_s + problem);
    DocumentLock lock;
    if (heldElsewhere(lock, archive))
        return tool.fail(archive + u": "_s + DocumentLock::inUseReason());
    TVfsPAK pak;
    if (!OpenArchive(archive, pak))
        return tool.fail(archiveProblem(pak));
    if (!PutFile(args[1], name, pak))
        return tool.fail(pak.errorString());
    return CommandLineTool::Success;
}

int extractMember(CommandLineTool &tool, const QStringList &args, bool)
{
    TVfsPAK pak;
    if (!pak.Open(args[0], TVfsPAK::Mode::ReadOnly))
        return tool.fail(archiveProblem(pak));
    if (!HasMember(args[1], pak))
        return tool.fail(args[0] + u": no member \""_s + args[1] + u"\"."_s);
    const std::optional<QByteArray> data = ExtractStream(args[1], pak);
    if (!data)
        return tool.fail(pak.errorString());
    if (args.size() < 3) {
        if (!tool.writeBinary(*data))
            return tool.fail(u"cannot write to standard output."_s);
        return CommandLineTool::Success;
    }
    // Written beside the target and renamed over it, so a failure leaves an old file as it was.
    QString problem;
    if (!AtomicFile::write(args[2], *data, &problem))
        return tool.fail(problem);
    return CommandLineTool::Success;
}

int deleteMember(CommandLineTool &tool, const QStringList &args, bool)
{
    DocumentLock lock;
    if (heldElsewhere(lock, args[0]))
        return tool.fail(args[0] + u": "_s + DocumentLock::inUseReason());
    TVfsPAK pak;
    if (!OpenArchive(args[0], pak))
        return tool.fail(archiveProblem(pak));
    if (!HasMember(args[1], pak))
        return tool.fail(args[0] + u": no member \""_s + args[1] + u"\"."_s);
    if (!DeleteMember(args[1], pak))
        return tool.fail(pak.errorString());
    return CommandLineTool::Success;
}

int createArchive(CommandLineTool &tool, const QStringList &args, bool force)
{
    const QFileInfo target(args[0]);
    if (target.exists() && !force)
        return tool.fail(args[0] + u": already exists (--force empties it)."_s);
    DocumentLock lock;
    if (heldElsewhere(lock, args[0]))
        return tool.fail(args[0] + u": "_s + DocumentLock::inUseReason());
    TVfsPAK pak;
    if (!CreateArchive(args[0], pak))
        return tool.fail(archiveProblem(pak));
    return CommandLineTool::Success;
}

const QList<Action> &actions()
{
    static const QList<Action> list = {
        {u"list"_s, u"ARCHIVE"_s, u"one line per member: name, data offset, size (tab-separated)"_s, 1, 0,
         listMembers},
        {u"add"_s, u"ARCHIVE FILE [NAME]"_s,
         u"add FILE as member NAME (default: the file's name), replacing a member of that name"_s, 2, 1,
         addMember},
        {u"extract"_s, u"ARCHIVE NAME [OUT]"_s, u"write the member to OUT, or to standard output"_s, 2, 1,
         extractMember},
        {u"delete"_s, u"ARCHIVE NAME"_s, u"remove the member"_s, 2, 0, deleteMember},
        {u"create"_s, u"[--force] ARCHIVE"_s, u"create an empty archive; --force empties an existing file"_s,
         1, 0, createArchive},
    };
    return list;
}

QString packUsage()
{
    QString text = u"Usage: zadanix pack <action> ARCHIVE [arguments]\n\nActions:\n"_s;
    for (const Action &a : actions()) {
        text += u"  "_s + (a.name + u' ' + a.arguments).leftJustified(29) + u' ' + a.summary + u'\n';
    }
    text += u"\nMember names are matched ignoring case. Exit status: 0 done, 1 failed (archive missing or "
            u"damaged, member missing), 2 wrong usage.\n"_s;
    return text;
}

int runPack(CommandLineTool &tool, const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help."_s);
    parser.addOption(help);
    if (!parser.parse(QStringList{u"zadanix pack"_s} + arguments))
        return tool.wrongUsage(parser.errorText(), packUsage());
    if (parser.isSet(help)) {
        tool.out() << packUsage();
        return CommandLineTool::Success;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return tool.wrongUsage(u"no action given."_s, packUsage());

    const auto &all = actions();
    const auto action =
        std::find_if(all.begin(), all.end(), [&](const Action &a) { return a.name == positional.first(); });
    if (action == all.end())
        return tool.wrongUsage(u"unknown pack action \""_s + positional.first() + u"\"."_s, packUsage());

    const QString usage = u"Usage: zadanix pack "_s + action->name + u' ' + action->arguments + u"\n  "_s +
                          action->summary + u'\n';
    QCommandLineParser actionParser;
    actionParser.addOption(help);
    const QCommandLineOption force(u"force"_s, u"Empty an existing file."_s);
    if (action->run == createArchive)
        actionParser.addOption(force);
    if (!actionParser.parse(QStringList{u"zadanix pack "_s + action->name} + positional.mid(1)))
        return tool.wrongUsage(actionParser.errorText(), usage);
    if (actionParser.isSet(help)) {
        tool.out() << usage;
        return CommandLineTool::Success;
    }
    const QStringList args = actionParser.positionalArguments();
    if (args.size() < action->required || args.size() > action->required + action->optional)
        return tool.wrongUsage(u"wrong number of arguments for \"pack "_s + action->name + u"\"."_s, usage);
    return action->run(tool, args, action->run == createArchive && actionParser.isSet(force));
}

} // namespace

void addPackCommands(CommandLineTool &tool)
{
    tool.addCommand(
        {u"pack"_s, u"list, add, extract, delete members of PACK archives (documents)"_s, runPack});
}
