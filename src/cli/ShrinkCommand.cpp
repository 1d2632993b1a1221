#include "ShrinkCommand.h"

#include "CommandLineTool.h"
#include "DocumentLoading.h"
#include "ToolWorkspace.h"
#include "storage/ArchiveAccess.h"
#include "storage/DocumentLock.h"
#include "storage/PhotoShrinking.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString usageText =
    u"Usage: zadanix shrink [--dry-run] FILE [OUT]\n"
    u"  reduce the photos of a test (.skt) or question (.skq): every JPEG longer than 1600 pixels\n"
    u"  becomes 1600 pixels on its longer side (quality 85), and one stored turned is turned upright,\n"
    u"  its tags removed. Other pictures and the texts stay as they are.\n\n"
    u"OUT         where the reduced document goes (the same kind); without it FILE is replaced.\n"
    u"--dry-run   only list what would be reduced; nothing is written.\n\n"
    u"The document is written in version 40, whole or not at all; nothing is written when no picture\n"
    u"needs reducing.\n"
    u"Exit status: 0 done, 1 a document missing, damaged, in use or not written, 2 wrong usage.\n"_s;

bool isTest(const QString &path)
{
    return path.endsWith(u".skt"_s, Qt::CaseInsensitive);
}

bool isQuestion(const QString &path)
{
    return path.endsWith(u".skq"_s, Qt::CaseInsensitive);
}

int shrinkPictures(CommandLineTool &tool, const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption dryRun(u"dry-run"_s, u"Only list the pictures."_s);
    parser.addOptions({help, dryRun});
    if (!parser.parse(QStringList{u"zadanix shrink"_s} + arguments))
        return tool.wrongUsage(parser.errorText(), usageText);
    if (parser.isSet(help)) {
        tool.out() << usageText;
        return CommandLineTool::Success;
    }
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty() || args.size() > 2)
        return tool.wrongUsage(u"wrong number of arguments for \"shrink\"."_s, usageText);
    const QString &file = args[0];
    const QString out = args.value(1, file);
    if (!isTest(file) && !isQuestion(file))
        return tool.fail(file + u": not a test (.skt) or a question (.skq)."_s);
    if (isTest(file) != isTest(out) || isQuestion(file) != isQuestion(out))
        return tool.fail(out + u": not of the kind of "_s + file + u'.');
    if (QFileInfo(out).isDir())
        return tool.fail(out + u": is a folder."_s);

    // One writer: a document another program holds open is not written over, nor read half-saved.
    DocumentLock lock;
    if (!parser.isSet(dryRun) && lock.lock(out) == DocumentLock::Result::InUse)
        return tool.fail(out + u": "_s + DocumentLock::inUseReason());

    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    const LoadedDocument loaded = loadDocument(tw, file);
    if (!loaded.read)
        return tool.fail(file + u": "_s + loaded.problem);
    Workspace &ws = tw.ws();
    TVfsPAK &members = isTest(file) ? *ws.workingTest : *ws.workingQuestion;

    int reduced = 0;
    qint64 before = 0;
    qint64 after = 0;
    const QStringList names = members.Names();
    for (const QString &name : names) {
        const std::optional<QByteArray> bytes = ExtractStream(name, members);
        if (!bytes)
            return tool.fail(file + u": "_s + name + u": cannot be read."_s);
        const std::optional<PhotoShrinking::Shrunk> shrunk = PhotoShrinking::shrink(*bytes, name);
        if (!shrunk)
            continue;
        tool.out() << name << u": "_s << shrunk->from.width() << u" × "_s << shrunk->from.height() << u" ("_s
                   << PhotoShrinking::megabytes(bytes->size()) << u") → "_s << shrunk->to.width() << u" × "_s
                   << shrunk->to.height() << u" ("_s << PhotoShrinking::megabytes(shrunk->bytes.size())
                   << u")\n"_s;
        if (!parser.isSet(dryRun) && !PutStream(name, shrunk->bytes, members))
            return tool.fail(file + u": "_s + name + u": "_s + members.errorString());
        ++reduced;
        before += bytes->size();
        after += shrunk->bytes.size();
    }
    if (reduced == 0) {
        tool.out() << QDir::toNativeSeparators(file) << u": no picture needs reducing.\n"_s;
        return CommandLineTool::Success;
    }
    if (parser.isSet(dryRun))
        return CommandLineTool::Success;

    tw.startCollecting();
    bool written = false;
    if (isTest(file)) {
        ws.test = loaded.document.test;
        written = WriteTestDocument(ws, out);
    } else {
        ws.question = loaded.document.question;
        // Every attachment is in the question's working archive now, none on disk.
        ws.question.imageSource.clear();
        ws.question.textSource.clear();
        written = WriteQuestionDocument(ws, out, *ws.workingQuestion);
    }
    const ToolWorkspace::Reports reports = tw.takeReports();
    if (!written)
        return tool.fail(out + u": "_s + (reports.isEmpty() ? u"cannot be written."_s : reports.oneLine()));
    tool.out() << QDir::toNativeSeparators(out) << u": "_s << reduced
               << (reduced == 1 ? u" picture"_s : u" pictures"_s) << u" reduced, "_s
               << PhotoShrinking::megabytes(before) << u" → "_s << PhotoShrinking::megabytes(after) << u".\n"_s;
    return CommandLineTool::Success;
}

} // namespace

void addShrinkCommand(CommandLineTool &tool)
{
    tool.addCommand({u"shrink"_s, u"reduce the large and turned photos of a test or question"_s, shrinkPictures});
}
