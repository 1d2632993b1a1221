#include "InterchangeCommands.h"

#include "CommandLineTool.h"
#include "DocumentLoading.h"
#include "ToolWorkspace.h"
#include "interchange/QuestionTransfer.h"
#include "storage/ArchiveAccess.h"
#include "storage/AtomicFile.h"
#include "documents/QuestionDocument.h"
#include "storage/TVfsPAK.h"
#include "documents/TestDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace InterchangeCommands {

namespace {

void warn(CommandLineTool &tool, const QString &file, const QString &problem)
{
    tool.out().flush();
    tool.err() << u"zadanix: warning: "_s << file << u": "_s << problem << u'\n';
    tool.err().flush();
}

void warnAll(CommandLineTool &tool, const QString &file, QList<InterchangeNote> notes)
{
    Interchange::sortByPlace(notes);
    for (const InterchangeNote &n : notes)
        warn(tool, file, n.englishText());
}

std::optional<QByteArray> readInput(const QString &path, QString &problem)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        problem = info.isDir() ? u"is a folder."_s : u"no such file."_s;
        return std::nullopt;
    }
    if (info.size() > Interchange::MaxFileBytes) {
        problem =
            u"larger than %1 MB; no question bank needs that much."_s.arg(Interchange::MaxFileBytes >> 20);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        problem = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

// The stem of the question files --split writes: the input's name in the letters, digits and "_"
// every file system takes.
QString splitStem(const QString &input)
{
    QString stem;
    for (QChar c : QFileInfo(input).completeBaseName()) {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_')
            stem += c;
    }
    return stem.isEmpty() ? u"pytanie"_s : stem;
}

// Runs a writer of the program and gives its reports as the reason when it fails.
template <typename Write> bool runWriter(ToolWorkspace &tw, Write write, QString &problem)
{
    tw.startCollecting();
    const bool written = write();
    const ToolWorkspace::Reports reports = tw.takeReports();
    if (!written)
        problem = reports.isEmpty() ? u"cannot be written."_s : reports.oneLine();
    return written;
}

int importSplit(CommandLineTool &tool, ToolWorkspace &tw, const QString &input, const QString &folder,
                const InterchangeContent &content, QList<InterchangeNote> &notes)
{
    // Nothing to write: no folder either.
    if (content.questions.isEmpty()) {
        warnAll(tool, input, notes);
        return tool.fail(input + u": no question could be read."_s);
    }
    const bool folderExisted = QFileInfo(folder).isDir();
    if (!QDir().mkpath(folder))
        return tool.fail(folder + u": cannot create the folder."_s);
    // A folder made here and left empty by a failure goes again.
    const auto failed = [&](const QString &reason) {
        if (!folderExisted && QDir(folder).isEmpty())
            QDir().rmdir(folder);
        return tool.fail(reason);
    };
    Workspace &ws = tw.ws();
    const QString stem = splitStem(input);
    int written = 0;
    for (const InterchangeQuestion &q : content.questions) {
        QString problem;
        const QString path = QDir(folder).filePath(stem + QString::number(written + 1) + u".skq"_s);
        if (!DeleteAllMembers(*ws.workingQuestion) ||
            !QuestionTransfer::toSingleQuestion(q, ws.question, *ws.workingQuestion, notes, problem)) {
            warnAll(tool, input, notes);
            return failed(ws.workingQuestion->errorString());
        }
        if (!runWriter(
                tw, [&] { return WriteQuestionDocument(ws, path, *ws.workingQuestion); }, problem)) {
            warnAll(tool, input, notes);
            return failed(path + u": "_s + problem);
        }
        ++written;
    }
    warnAll(tool, input, notes);
    tool.out() << written << (written == 1 ? u" question file"_s : u" question files"_s) << u" written to "_s
               << QDir::toNativeSeparators(folder) << u".\n"_s;
    return CommandLineTool::Success;
}

} // namespace

int exportQuestions(CommandLineTool &tool, const QStringList &args, InterchangeFormat format)
{
    const QString &file = args[0];
    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    const LoadedDocument loaded = loadDocument(tw, file);
    if (!loaded.read)
        return tool.fail(file + u": "_s + loaded.problem);
    if (!loaded.problem.isEmpty())
        warn(tool, file, loaded.problem);

    const DocumentSnapshot &d = loaded.document;
    QList<InterchangeNote> notes;
    QList<InterchangeQuestion> questions;
    QString category;
    if (d.kind == DocumentKind::Test) {
        questions = QuestionTransfer::fromTest(d.test, *tw.ws().workingTest, notes);
        category = d.test.header.testName;
        if (QuestionTransfer::headerHasMore(d.test.header))
            notes.prepend({0, 0, InterchangeNote::Issue::HeaderLeftOut, {}});
    } else if (d.kind == DocumentKind::Question) {
        questions = QuestionTransfer::fromSingleQuestion(d.question, *tw.ws().workingQuestion, notes);
    } else {
        return tool.fail(file + u": a "_s + documentKindName(d.kind) + u" holds no questions to export."_s);
    }
    const qsizetype before = notes.size();
    const QByteArray bytes = Interchange::write(format, category, questions, notes);
    const auto skippedByWriter = std::count_if(notes.begin() + before, notes.end(),
                                               [](const InterchangeNote &n) { return n.skipsQuestion(); });
    warnAll(tool, file, notes);
    if (questions.size() - skippedByWriter <= 0)
        return tool.fail(file + u": no question to export."_s);
    QString problem;
    if (args.size() > 1) {
        if (!AtomicFile::write(args[1], bytes, &problem))
            return tool.fail(args[1] + u": "_s + problem);
    } else if (!tool.writeBinary(bytes)) {
        return tool.fail(u"cannot write to standard output."_s);
    }
    return CommandLineTool::Success;
}

int importQuestions(CommandLineTool &tool, const QStringList &args, InterchangeFormat format, bool split)
{
    const QString &input = args[0];
    const QString &target = args[1];
    if (!split && !target.endsWith(u".skt"_s, Qt::CaseInsensitive))
        return tool.fail(target + u": questions are imported into a .skt test (or a folder with --split)."_s);
    QString problem;
    const std::optional<QByteArray> bytes = readInput(input, problem);
    if (!bytes)
        return tool.fail(input + u": "_s + problem);
    const InterchangeContent content = Interchange::read(format, *bytes);
    if (!content.error.isEmpty())
        return tool.fail(input + u": "_s + content.error);

    ToolWorkspace tw(tool);
    if (!tw.isReady())
        return tool.fail(tw.problem());
    QList<InterchangeNote> notes = content.notes;
    if (split)
        return importSplit(tool, tw, input, target, content, notes);

    Workspace &ws = tw.ws();
    ws.test.resetTest();
    if (!DeleteAllMembers(*ws.workingTest))
        return tool.fail(ws.workingTest->errorString());
    const QuestionTransfer::Appended appended =
        QuestionTransfer::appendToTest(ws.test, *ws.workingTest, content.questions, notes);
    warnAll(tool, input, notes);
    if (!appended.error.isEmpty())
        return tool.fail(appended.error);
    if (appended.count == 0)
        return tool.fail(input + u": no question could be read."_s);
    ws.test.header.testName =
        content.category.isEmpty() ? QFileInfo(input).completeBaseName() : content.category;
    if (!runWriter(
            tw, [&] { return WriteTestDocument(ws, target); }, problem))
        return tool.fail(target + u": "_s + problem);
    return CommandLineTool::Success;
}

} // namespace InterchangeCommands
